#include "country_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "text.h"
#include "wpx_prefix.h"

namespace tools {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

bool ToInt(std::string_view text, int& value) {
    try {
        std::size_t used = 0;
        const std::string t(TrimBlanks(text));
        value = std::stoi(t, &used);
        return used == t.size();
    } catch (...) {
        return false;
    }
}

bool ToDouble(std::string_view text, double& value) {
    try {
        std::size_t used = 0;
        const std::string t(TrimBlanks(text));
        value = std::stod(t, &used);
        return used == t.size();
    } catch (...) {
        return false;
    }
}

// The text between `open` and `close` in an alias ("K1AB(4)[7]{NA}"), if any.
std::optional<std::string_view> Override(std::string_view alias, char open, char close) {
    const std::size_t from = alias.find(open);
    if (from == std::string_view::npos) return std::nullopt;
    const std::size_t to = alias.find(close, from + 1);
    if (to == std::string_view::npos) return std::nullopt;
    return alias.substr(from + 1, to - from - 1);
}

}  // namespace

std::string LocationPart(std::string_view text) {
    const PortableCall call = ReadPortableCall(text);
    return call.designator.empty() || call.DesignatesCallArea() ? call.home : call.designator;
}

bool IsMaritimeOrAeronautical(std::string_view text) {
    const std::string call = UpperAscii(text);
    const std::vector<std::string_view> parts = Split(call, '/');
    return parts.size() > 1 && std::any_of(parts.begin() + 1, parts.end(),
                                           [](std::string_view p) { return p == "MM" || p == "AM"; });
}

std::optional<CountryFile> CountryFile::Load(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr) *error = path + ": cannot open the country file";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    CountryFile file = Parse(text.str());
    if (file.entities_.empty()) {
        if (error != nullptr) *error = path + ": no countries in the file";
        return std::nullopt;
    }
    return file;
}

CountryFile CountryFile::Parse(std::string_view text) {
    // cty.dat's first line is an entity line, which ends in ":"; cty.csv's ends in ";".
    std::string_view first = TrimBlanks(text);
    first = TrimBlanks(first.substr(0, first.find('\n')));
    CountryFile file = !first.empty() && first.back() == ':' ? ParseDat(text) : ParseCsv(text);
    // The first entity of a name or prefix answers for it, as a search from the top would.
    for (std::size_t i = 0; i < file.entities_.size(); ++i) {
        file.byName_.try_emplace(UpperAscii(file.entities_[i].name), i);
        file.byPrefix_.try_emplace(UpperAscii(file.entities_[i].prefix), i);
    }
    return file;
}

void CountryFile::AddAliases(std::string_view list, char separator, std::size_t entity, bool listEntry,
                             const std::string& continent, int cqZone, int ituZone) {
    for (std::string_view alias : Split(list, separator)) {
        alias = TrimBlanks(alias);
        if (alias.empty()) continue;
        // Overrides for this prefix or call: (CQ zone), [ITU zone], {continent};
        // <position> and ~time zone~ are of no use to the plug-in.
        Hit hit{entity, continent, cqZone, ituZone, listEntry};
        if (const auto v = Override(alias, '{', '}')) hit.continent = UpperAscii(*v);
        if (const auto v = Override(alias, '(', ')')) ToInt(*v, hit.cqZone);
        if (const auto v = Override(alias, '[', ']')) ToInt(*v, hit.ituZone);
        std::string_view key = alias.substr(0, alias.find_first_of("([<{~"));
        const bool wholeCall = !key.empty() && key[0] == '=';
        if (wholeCall) key.remove_prefix(1);
        if (key.empty()) continue;
        auto& map = wholeCall ? calls_ : prefixes_;
        // A call listed under a "*" entry and again under its DXCC entity
        // (for programs that skip the lists) belongs to the "*" entry.
        const auto [it, added] = map.try_emplace(UpperAscii(key), hit);
        if (!added && (listEntry || !it->second.fromListEntry)) it->second = std::move(hit);
        if (!wholeCall) longestPrefix_ = std::max(longestPrefix_, key.size());
    }
}

CountryFile CountryFile::ParseCsv(std::string_view text) {
    CountryFile file;
    for (std::string_view line : Split(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> cols = Split(line, ',');
        if (cols.size() < 10) continue;
        CountryEntity e{std::string(cols[0]), std::string(cols[1]), 0, std::string(cols[3]), 0.0, 0, 0};
        double hoursWest = 0.0;
        if (!ToInt(cols[2], e.dxcc) || !ToDouble(cols[8], hoursWest)) continue;
        e.utcOffset = -hoursWest;
        ToInt(cols[4], e.cqZone);
        ToInt(cols[5], e.ituZone);
        // A "*" entry is a part of the entity with the same number; it names
        // the entity only until the entity's own line comes.
        const bool part = !e.prefix.empty() && e.prefix[0] == '*';
        if (part) e.prefix.clear();
        std::size_t index;
        if (const auto it = file.byDxcc_.find(e.dxcc); it != file.byDxcc_.end()) {
            index = it->second;
            if (!part && file.entities_[index].prefix.empty()) file.entities_[index] = e;
        } else {
            index = file.entities_.size();
            file.byDxcc_.emplace(e.dxcc, index);
            file.entities_.push_back(e);
        }

        std::string_view list = cols[9];
        if (!list.empty() && list.back() == ';') list.remove_suffix(1);
        file.AddAliases(list, ' ', index, part, e.continent, e.cqZone, e.ituZone);
    }
    // An entity known only from its parts goes by its number.
    for (CountryEntity& e : file.entities_)
        if (e.prefix.empty()) e.prefix = std::to_string(e.dxcc);
    return file;
}

CountryFile CountryFile::ParseDat(std::string_view text) {
    CountryFile file;
    std::size_t at = 0;
    while (at < text.size()) {
        // An entity line: eight fields, each ended by ":".
        std::vector<std::string_view> fields;
        std::size_t from = at;
        while (fields.size() < 8) {
            const std::size_t colon = text.find(':', from);
            const std::size_t newline = text.find('\n', from);
            if (colon == std::string_view::npos || (newline != std::string_view::npos && newline < colon)) break;
            fields.push_back(TrimBlanks(text.substr(from, colon - from)));
            from = colon + 1;
        }
        // Its prefixes and calls, up to the ";".
        const std::size_t end = text.find(';', from);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (fields.size() < 8 || end == std::string_view::npos) {
            // Not an entry: go on from the next line.
            const std::size_t newline = text.find('\n', at);
            at = newline == std::string_view::npos ? text.size() : newline + 1;
            continue;
        }
        at = next;

        CountryEntity e{std::string(fields[7]), std::string(fields[0]), 0, UpperAscii(fields[3]), 0.0, 0, 0};
        double hoursWest = 0.0;
        if (!ToInt(fields[1], e.cqZone) || !ToInt(fields[2], e.ituZone) || !ToDouble(fields[6], hoursWest) ||
            e.prefix.empty())
            continue;
        e.utcOffset = -hoursWest;
        const bool listEntry = e.prefix[0] == '*';
        if (listEntry) e.prefix.erase(0, 1);
        e.listCountry = listEntry;
        const std::size_t index = file.entities_.size();
        file.entities_.push_back(e);
        file.AddAliases(text.substr(from, end - from), ',', index, listEntry, e.continent, e.cqZone, e.ituZone);
    }
    return file;
}

const CountryEntity* CountryFile::ByDxcc(int dxcc) const {
    const auto it = byDxcc_.find(dxcc);
    return it == byDxcc_.end() ? nullptr : &entities_[it->second];
}

const CountryEntity* CountryFile::ByName(std::string_view name) const {
    const auto it = byName_.find(UpperAscii(TrimBlanks(name)));
    return it == byName_.end() ? nullptr : &entities_[it->second];
}

const CountryEntity* CountryFile::ByPrefix(std::string_view prefix) const {
    std::string wanted = UpperAscii(TrimBlanks(prefix));
    if (!wanted.empty() && wanted[0] == '*') wanted.erase(0, 1);
    const auto it = byPrefix_.find(wanted);
    return it == byPrefix_.end() ? nullptr : &entities_[it->second];
}

CountryMatch CountryFile::Match(const Hit& hit) const {
    return CountryMatch{&entities_[hit.entity], hit.continent, hit.cqZone, hit.ituZone};
}

std::optional<CountryMatch> CountryFile::ByCall(std::string_view text) const {
    const std::string call = UpperAscii(TrimBlanks(text));
    if (const auto it = calls_.find(call); it != calls_.end()) return Match(it->second);
    if (IsMaritimeOrAeronautical(call)) return std::nullopt;
    const std::string where = LocationPart(call);
    if (const auto it = calls_.find(where); it != calls_.end()) return Match(it->second);
    for (std::size_t n = std::min(where.size(), longestPrefix_); n > 0; --n)
        if (const auto it = prefixes_.find(where.substr(0, n)); it != prefixes_.end()) return Match(it->second);
    return std::nullopt;
}

}  // namespace tools
