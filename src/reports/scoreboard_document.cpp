#include "reports/scoreboard_document.h"

#include <cctype>
#include <cstdint>
#include <vector>

#include "contest/contest_name.h"
#include "contest/file_util.h"
#include "contest/text_util.h"
#include "stats_version.h"

namespace stats {

namespace {

constexpr const char kSoftName[] = "Stats.dll";  // the version resource's product name
constexpr std::size_t kMostOpsLength = 250;       // the boards keep no more
constexpr std::size_t kMostCountryFileBytes = 8u << 20;

// Windows-1252 and Windows-1251 above 0x7F, as Unicode. 1252 is Latin-1 from
// 0xA0 on; 1251 has the Cyrillic alphabet in order from 0xC0 on.
constexpr char16_t k1252[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
constexpr char16_t k1251[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t FromCodePage(unsigned char c, bool cyrillic) {
    if (c < 0x80) return c;
    if (cyrillic) return c >= 0xC0 ? char32_t{0x0410} + (c - 0xC0) : k1251[c - 0x80];
    return c >= 0xA0 ? c : k1252[c - 0x80];
}

void AppendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// A host text as XML character data or an attribute value in double quotes.
// Controls have no place in XML 1.0: a line break or tab in a settings value
// becomes a blank, as the text would read on one line.
std::string Escaped(std::string_view text, bool cyrillic) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                if (c < 0x20 || c == 0x7F) out += ' ';
                else AppendUtf8(out, FromCodePage(c, cyrillic));
        }
    }
    return out;
}

std::string Trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The operators as the boards want them: calls separated by commas, whole
// calls only up to the length they keep.
std::string OperatorList(std::string_view written) {
    std::string out;
    std::string call;
    auto flush = [&] {
        if (call.empty()) return;
        const std::size_t grown = out.size() + (out.empty() ? 0 : 1) + call.size();
        if (grown <= kMostOpsLength) out += (out.empty() ? "" : ",") + call;
        call.clear();
    };
    for (const char c : written) {
        if (c == ',' || c == ';' || std::isspace(static_cast<unsigned char>(c))) flush();
        else call += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    flush();
    return out;
}

// Zones written behind a cty.dat alias: "(cq)" and "[itu]".
void TakeZoneOverrides(std::string_view alias, CountryZones& zones) {
    const auto number = [&](char open, char close, int& into) {
        const auto from = alias.find(open);
        const auto to = alias.find(close, from == std::string_view::npos ? 0 : from);
        if (from == std::string_view::npos || to == std::string_view::npos) return;
        const int n = ParseDecimal(alias.substr(from + 1, to - from - 1));
        if (n > 0) into = n;
    };
    number('(', ')', zones.cq);
    number('[', ']', zones.itu);
}

// The alias without its overrides ("=K1ABC(4)[7]" is "=K1ABC").
std::string_view AliasText(std::string_view alias) {
    const auto end = alias.find_first_of("([<{~");
    return alias.substr(0, end);
}

}  // namespace

ScoreboardRun ScoreboardRunOf(const RunState& state) {
    return ScoreboardRun{state.g_OwnCall, state.g_OwnCountry, state.g_bCwContest != 0, state.g_bCyrillicUi != 0};
}

std::optional<CountryZones> ZonesFromCountryFile(std::string_view ctyText, std::string_view country,
                                                 std::string_view ownCall) {
    const std::string wanted = Upper(Trimmed(country));
    const std::string call = Upper(Trimmed(ownCall));
    if (wanted.empty()) return std::nullopt;
    // Each entity: a head line "Name: CQ: ITU: Cont: Lat: Long: TZ: Prefix:"
    // then its aliases, separated by commas, up to a ";".
    std::size_t at = 0;
    while (at < ctyText.size()) {
        const std::size_t headEnd = std::min(ctyText.find('\n', at), ctyText.size());
        const std::string_view head = ctyText.substr(at, headEnd - at);
        const std::size_t aliasesEnd = std::min(ctyText.find(';', headEnd), ctyText.size());
        const std::string_view aliases =
            headEnd < aliasesEnd ? ctyText.substr(headEnd, aliasesEnd - headEnd) : std::string_view();
        at = aliasesEnd == ctyText.size() ? aliasesEnd : aliasesEnd + 1;
        while (at < ctyText.size() && (ctyText[at] == '\r' || ctyText[at] == '\n')) ++at;

        std::vector<std::string> fields;
        for (std::size_t from = 0; from < head.size();) {
            const std::size_t colon = head.find(':', from);
            if (colon == std::string_view::npos) break;
            fields.push_back(Trimmed(head.substr(from, colon - from)));
            from = colon + 1;
        }
        if (fields.size() < 8) continue;
        std::string prefix = fields[7];
        if (!prefix.empty() && prefix.front() == '*') prefix.erase(0, 1);  // a WAE-only entity
        if (Upper(prefix) != wanted) continue;
        CountryZones zones{ParseDecimal(fields[1]), ParseDecimal(fields[2])};
        if (zones.cq <= 0 || zones.itu <= 0) return std::nullopt;
        // The own call's zones where the file gives them: its exact entry, else
        // the longest prefix it starts with.
        std::size_t longest = 0;
        bool exact = false;
        std::size_t from = 0;
        while (from < aliases.size() && !exact) {
            const std::size_t comma = std::min(aliases.find(',', from), aliases.size());
            const std::string alias = Upper(Trimmed(aliases.substr(from, comma - from)));
            from = comma + 1;
            const std::string_view text = AliasText(alias);
            if (text.empty() || call.empty()) continue;
            if (text.front() == '=') {
                if (text.substr(1) != call) continue;
                exact = true;
            } else if (call.compare(0, text.size(), text) != 0 || text.size() <= longest) {
                continue;
            } else {
                longest = text.size();
            }
            CountryZones own{ParseDecimal(fields[1]), ParseDecimal(fields[2])};
            TakeZoneOverrides(alias.substr(text.size()), own);
            zones = own;
        }
        return zones;
    }
    return std::nullopt;
}

std::optional<CountryZones> ReadCountryZones(const std::vector<std::string>& paths, std::string_view country,
                                             std::string_view ownCall) {
    for (const std::string& path : paths) {
        const auto text = ReadWholeFile(path, kMostCountryFileBytes);
        if (!text || text->size() > kMostCountryFileBytes) continue;
        if (auto zones = ZonesFromCountryFile(*text, country, ownCall)) return zones;
    }
    return std::nullopt;
}

ScoreboardStation ScoreboardStationOf(const SettingsKeys& settings, const ScoreboardRun& run,
                                      EntryCategory viewCategory, std::optional<CountryZones> zones) {
    namespace keys = scoreboard_keys;
    ScoreboardStation s;
    s.cw = run.cw;
    s.cyrillic = run.cyrillic;
    s.call = Upper(Trimmed(run.ownCall));
    // As the header dialog shows them: the operators default to the own call.
    s.ops = OperatorList(settings.read(keys::kOperators, s.call));
    s.club = Trimmed(settings.Read(keys::kClub));
    s.soft = kSoftName;
    s.version = STATS_VERSION_TEXT;
    s.country = Trimmed(run.ownCountry);
    if (zones) {
        s.cqZone = zones->cq;
        s.ituZone = zones->itu;
    }

    ScoreboardClass& c = s.category;
    c.mode = run.cw ? "CW" : "SSB";
    const std::string confirmedOperator = Upper(Trimmed(settings.Read(keys::kOperator)));
    if (!confirmedOperator.empty()) {
        auto read = [&](const char* key, const char* preset) {
            const std::string v = Upper(Trimmed(settings.Read(key)));
            return v.empty() ? std::string(preset) : v;
        };
        c.ops = confirmedOperator;
        c.assisted = read(keys::kAssisted, "NON-ASSISTED");
        c.bands = read(keys::kBand, "ALL");
        c.power = read(keys::kPower, "HIGH");
        c.transmitter = read(keys::kTransmitter, "ONE");
        c.overlay = Upper(Trimmed(settings.Read(keys::kOverlay)));
    } else {
        // Never confirmed: the dialog's presets, and what the operator chose
        // in the contest view, which the boards should show as well.
        c.assisted = "NON-ASSISTED";
        c.bands = "ALL";
        c.power = "HIGH";
        c.transmitter = "ONE";
        c.ops = viewCategory == EntryCategory::kMultiOp ? "MULTI-OP" : "SINGLE-OP";
        c.overlay = viewCategory == EntryCategory::kClassic ? "CLASSIC" : "";
    }
    return s;
}

ScoreboardFigures ScoreboardFiguresOf(const LiveFigures& live) {
    ScoreboardFigures f;
    for (std::size_t b = 0; b < kBandCount; ++b) f.bands[b] = {live.Bands()[b].qsos, live.Bands()[b].points};
    f.totals = live.Totals();
    f.operatingMinutes = ComputeOperatingTime(live.Activity(), EntryCategory::kMultiOp).operatingMinutes;
    return f;
}

std::string ScoreboardOpTime(std::int64_t minutes) {
    if (minutes < 0) minutes = 0;
    return Format("%02lld:%02lld", static_cast<long long>(minutes / 60), static_cast<long long>(minutes % 60));
}

std::string ScoreboardDocument(const ScoreboardStation& station, const ScoreboardFigures& figures,
                               OleDateTime utcNow) {
    const bool cy = station.cyrillic;
    auto text = [&](std::string_view v) { return Escaped(v, cy); };
    const ScoreboardClass& c = station.category;
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<dynamicresults>\n";
    x += "  <contest>" + std::string(ContestName(station.cw)) + "</contest>\n";
    x += "  <call>" + text(station.call) + "</call>\n";
    x += "  <ops>" + text(station.ops) + "</ops>\n";
    x += "  <class power=\"" + text(c.power) + "\" assisted=\"" + text(c.assisted) + "\" transmitter=\"" +
         text(c.transmitter) + "\" ops=\"" + text(c.ops) + "\" bands=\"" + text(c.bands) + "\" mode=\"" +
         text(c.mode) + "\"" + (c.overlay.empty() ? "" : " overlay=\"" + text(c.overlay) + "\"") + "/>\n";
    x += "  <club>" + text(station.club) + "</club>\n";
    x += "  <soft>" + text(station.soft) + "</soft>\n";
    x += "  <version>" + text(station.version) + "</version>\n";
    x += "  <qth>\n";
    x += "    <dxcccountry>" + text(station.country) + "</dxcccountry>\n";
    if (station.cqZone) x += "    <cqzone>" + std::to_string(*station.cqZone) + "</cqzone>\n";
    if (station.ituZone) x += "    <iaruzone>" + std::to_string(*station.ituZone) + "</iaruzone>\n";
    x += "  </qth>\n";
    x += "  <breakdown>\n";
    // The boards name a band by its metres and phone by "PH".
    const char* mode = station.cw ? "CW" : "PH";
    for (std::size_t b = 0; b < kBandCount; ++b) {
        const std::string band(kBandNames[b], std::string_view(kBandNames[b]).size() - 1);
        AppendFormat(x, "    <qso band=\"%s\" mode=\"%s\">%lld</qso>\n", band.c_str(), mode,
                     static_cast<long long>(figures.bands[b].qsos));
        AppendFormat(x, "    <point band=\"%s\" mode=\"%s\">%lld</point>\n", band.c_str(), mode,
                     static_cast<long long>(figures.bands[b].points));
    }
    AppendFormat(x, "    <qso band=\"total\" mode=\"ALL\">%lld</qso>\n", static_cast<long long>(figures.totals.qsos));
    AppendFormat(x, "    <point band=\"total\" mode=\"ALL\">%lld</point>\n",
                 static_cast<long long>(figures.totals.points));
    AppendFormat(x, "    <mult band=\"total\" mode=\"ALL\" type=\"wpxprefix\">%lld</mult>\n",
                 static_cast<long long>(figures.totals.prefixes));
    x += "  </breakdown>\n";
    AppendFormat(x, "  <score>%lld</score>\n", static_cast<long long>(figures.totals.Score()));
    x += "  <optime>" + ScoreboardOpTime(figures.operatingMinutes) + "</optime>\n";
    x += "  <timestamp>" + FormatOleDate(utcNow, "%Y-%m-%d %H:%M:%S") + "</timestamp>\n";
    x += "</dynamicresults>\n";
    return x;
}

std::string ScoreboardDocument(const ScoreboardStation& station, const LiveFigures& live, OleDateTime utcNow) {
    return ScoreboardDocument(station, ScoreboardFiguresOf(live), utcNow);
}

}  // namespace stats
