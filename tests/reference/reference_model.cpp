#include "reference_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace reference {

namespace {

const char* const kBands[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
const char* const kModes[] = {"CW", "SSB"};
const char kWrongBand[] = "   WRONG BAND !!!";
const char kWrongMode[] = "   WRONG MODE !!!";
const char kNoNumber[] = "   NO RX NUMBER !!!";
const char kDupe[] = "   DUPE !!!";

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

template <std::size_t N>
bool Listed(const std::string& text, const char* const (&list)[N]) {
    for (const char* item : list)
        if (SameIgnoringCase(text, item)) return true;
    return false;
}

std::string Printf(const char* format, long long a, long long b = 0, long long c = 0) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return buffer;
}

// A date on the time line: dates before 1900 count their fraction forward
// within the day.
double Linear(double d) { return d >= 0.0 ? d : std::ceil(d) - (d - std::ceil(d)); }

// Whole minutes from a QSO to the reference time: the span rounded by half a
// second away from zero, then cut toward zero.
std::optional<long long> MinutesBefore(const OleDateTime& qso, const OleDateTime& reference) {
    if (!qso.IsValid() || !reference.IsValid()) return std::nullopt;
    const double span = Linear(reference.m_dt) - Linear(qso.m_dt);
    // In whole milliseconds, so that the error of a date near today cannot
    // move a span of exactly a half second across the minute.
    const double ms = std::round(span * 86400000.0);
    if (!(std::fabs(ms) < 9.0e15)) return std::nullopt;
    const long long whole = static_cast<long long>(ms);
    return (whole + (whole < 0 ? -500 : 500)) / 60000;
}

// A host text with a line break would split its line of the file or summary.
std::string Flat(std::string s) {
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

}  // namespace

void Model::Reset(const Run& run) {
    run_ = run;
    log_.clear();
    lines_.clear();
    workedBands_.clear();
}

std::string Model::LineText(const Qso& q, const char* reason) {
    const std::string sep = "  ";
    return Flat("QSO:  " + std::to_string(q.frequencyHz / 1000) + sep + q.mode + sep +
           stats::FormatOleDate(q.time, "%Y-%m-%d %H%M") + sep + q.ownCall + sep + q.rstSent + sep + q.exchangeSent +
           sep + q.call + sep + q.rstReceived + sep + q.exchangeReceived) + reason;
}

void Model::Reject(const Qso& q, const char* reason) {
    lines_.push_back(Line{LineText(q, reason), true, q.call, q.mode, stats::FormatOleDate(q.time, "%Y-%m-%d %H%M")});
}

int Model::Add(const Qso& q) {
    if (!Listed(q.band, kBands)) {
        Reject(q, kWrongBand);
        return 0;
    }
    if (std::find(workedBands_.begin(), workedBands_.end(), q.band) == workedBands_.end()) workedBands_.push_back(q.band);
    if (!Listed(q.mode, kModes)) {
        Reject(q, kWrongMode);
        return 0;
    }
    if (q.exchangeReceived.empty() || q.exchangeSent.empty()) {
        Reject(q, kNoNumber);
        return 0;
    }
    bool dupe = false;
    for (const Stored& earlier : log_) {
        if (!SameKey(earlier.qso, q)) continue;
        lines_.push_back(Line{LineText(q, kDupe), false, "", "", ""});
        dupe = true;
    }
    log_.push_back(Stored{q, dupe});
    return 1;
}

int Model::Remove(const Qso& q) {
    // The first stored QSO with this call, band, mode and time.
    std::size_t found = log_.size();
    for (std::size_t i = 0; i < log_.size() && found == log_.size(); ++i)
        if (SameKey(log_[i].qso, q) && stats::OleDatesEqual(log_[i].qso.time, q.time)) found = i;

    // Its dupe lines go, and one dupe line of each later QSO it made a dupe;
    // of equal lines the first ones in the file go.
    std::multiset<std::string> dropping;
    if (found != log_.size()) {
        for (std::size_t i = 0; i < log_.size(); ++i) {
            if (!SameKey(log_[i].qso, q)) continue;
            if (i < found) dropping.insert(LineText(log_[found].qso, kDupe));
            if (i > found) dropping.insert(LineText(log_[i].qso, kDupe));
        }
        log_.erase(log_.begin() + static_cast<std::ptrdiff_t>(found));
        // As if it had never been added: a QSO is a dupe when an earlier one matches it.
        bool earlier = false;
        for (Stored& s : log_) {
            if (!SameKey(s.qso, q)) continue;
            s.dupe = earlier;
            earlier = true;
        }
    }
    const std::string dateTime = stats::FormatOleDate(q.time, "%Y-%m-%d %H%M");
    std::vector<Line> kept;
    for (Line& line : lines_) {
        if (const auto it = dropping.find(line.text); !line.rejection && it != dropping.end()) {
            dropping.erase(it);
            continue;
        }
        if (line.rejection && line.call == q.call && line.mode == q.mode && line.dateTime == dateTime) continue;
        kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
    return 1;
}

int Model::CheckCall(const Check& c) const {
    const int invalid = run_.hostVersion == "2.19" || run_.hostVersion == "2.20" ? 1 : 4;
    if (c.band && c.otherBand && !SameIgnoringCase(*c.band, *c.otherBand)) return invalid;
    if (!Listed(c.band.value_or(""), kBands)) return invalid;
    if (!Listed(c.mode.value_or(""), kModes)) return invalid;
    if (c.countryPrefix.value_or("").empty()) return 1;
    if (c.call)
        for (const Stored& s : log_)
            if (s.qso.call == *c.call && s.qso.band == *c.band) return 0;
    for (const Stored& s : log_)
        if (s.qso.wpxPrefix == c.wpxPrefix.value_or("")) return 1;
    return 2;
}

std::string Model::Result() {
    std::string out = "  CQ-WPX-" + std::string(run_.cwContest ? "CW" : "SSB") + " Contest " +
                      stats::FormatOleDate(run_.start, "%d.%m") + "-" + stats::FormatOleDate(run_.end, "%d.%m.%Y") +
                      " \r\n     Contestant: " + Flat(run_.ownCall) + "\r\nBand\tQSOs\tPoints\tNew Prefix\r\n";

    // Bands in display order: descending by the text padded with zeros to 20.
    auto padded = [](const std::string& b) { return b.size() >= 20 ? b : std::string(20 - b.size(), '0') + b; };
    std::vector<std::string> bands = workedBands_;
    std::sort(bands.begin(), bands.end(), [&](const std::string& a, const std::string& b) { return padded(a) > padded(b); });

    const std::string lastBand = log_.empty() ? std::string() : log_.back().qso.band;
    // Rates count back from the latest QSO time in the log, whatever the
    // order in which the QSOs came.
    OleDateTime reference = OleDateTime::Valid(0.0);
    if (!run_.reportRequest && log_.size() > 1) {
        reference = log_.back().qso.time;
        bool found = false;
        for (const Stored& s : log_) {
            const OleDateTime& t = s.qso.time;
            if (!t.IsValid() || std::isnan(t.m_dt)) continue;
            if (!found || Linear(t.m_dt) > Linear(reference.m_dt)) reference = t;
            found = true;
        }
    }

    long long totalQsos = 0, totalPoints = 0, multipliers = 0, dupes = 0, lastPoints = 0;
    long long hourQsos = 0, hourPoints = 0, tenQsos = 0, tenPoints = 0;
    std::set<std::string> prefixes;
    for (const std::string& band : bands) {
        long long qsos = 0, points = 0;
        const bool low = band == "160m" || band == "80m" || band == "40m";
        for (const Stored& s : log_) {
            const Qso& r = s.qso;
            if (r.band != band || r.call.empty()) continue;
            if (s.dupe) {
                ++dupes;
                continue;
            }
            int p = 1;  // same country: 1 on every band
            if (r.countryPrefix != run_.ownCountry) {
                if (r.continent != run_.ownContinent) p = 3;
                else if (run_.ownContinent == "NA") p = 2;
                if (low) p *= 2;
            }
            ++qsos;
            points += p;
            if (r.band == lastBand) lastPoints = p;
            if (!run_.reportRequest) {
                const auto minutes = MinutesBefore(r.time, reference);
                if (minutes && *minutes < 60) {
                    ++hourQsos;
                    hourPoints += p;
                }
                if (minutes && *minutes < 10) {
                    ++tenQsos;
                    tenPoints += p;
                }
            }
            if (prefixes.insert(r.wpxPrefix).second) ++multipliers;
        }
        out += band + Printf("\t %lld\t  %lld\r\n", qsos, points);
        totalQsos += qsos;
        totalPoints += points;
    }
    // One rejection line per rejected QSO; dupe lines are not bad QSOs.
    const long long bad = std::count_if(lines_.begin(), lines_.end(), [](const Line& l) { return l.rejection; });
    out += Printf("Total\t %lld\t  %lld\t    %lld\r\n", totalQsos, totalPoints, multipliers);
    out += Printf("Dupe\t %lld\r\nBad QSO\t %lld\r\n", dupes, bad);
    out += Printf("Score = %lld * %lld  = %lld \r\n", totalPoints, multipliers, totalPoints * multipliers);
    if (!run_.reportRequest && !log_.empty()) {
        out += Printf("\t\t\tRate\r\nHourly (10min) QSO rate: %5lld (%lld) QSOs/hour\r\n", hourQsos, tenQsos * 6);
        out += Printf("Hourly (10min) pts rate: %5lld (%lld) points/hour\r\n\r\n", hourPoints, tenPoints * 6);
        out += Printf("Last QSO: %lld points\r\n", lastPoints);
    }
    return out;
}

std::string Model::BadQsoFileName() const {
    return std::string(run_.cwContest ? "BadQSO_StatsWPXCW_" : "BadQSO_StatsWPXSSB_") +
           stats::FormatOleDate(run_.end, "%d_%m_%Y") + ".txt";
}

std::string Model::BadQsoFile() const {
    std::string out = run_.cwContest ? "CQ-WPX-CW TEST UBN file \r\n" : "CQ-WPX-SSB TEST UBN file \r\n";
    for (const Line& line : lines_) out += line.text + "\r\n";
    return out;
}

}  // namespace reference
