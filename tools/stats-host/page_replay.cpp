#include "page_replay.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <fstream>
#include <map>

#include "cabrillo.h"
#include "contest/ole_date.h"
#include "log_source.h"
#include "text.h"
#include "wpx_prefix.h"

namespace tools {

PageLog ReadPageLog(const std::string& path, const CountryFile* countries) {
    PageLog read;
    LogSource source(path, countries);
    read.cabrillo = source.IsCabrillo();
    for (LogSource::Entry entry; source.Next(entry);) {
        ++read.records;
        if (!entry.qso) continue;
        read.qsos.push_back(std::move(*entry.qso));
        read.numbers.push_back(entry.number);
        read.transmitters.push_back(std::move(entry.transmitter));
    }
    // Each QSO moved once, to its place in time.
    std::vector<std::size_t> order(read.qsos.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return read.qsos[a].time.m_dt < read.qsos[b].time.m_dt; });
    PageLog log;
    log.records = read.records;
    log.cabrillo = read.cabrillo;
    log.qsos.reserve(order.size());
    log.numbers.reserve(order.size());
    log.transmitters.reserve(order.size());
    for (const std::size_t i : order) {
        log.qsos.push_back(std::move(read.qsos[i]));
        log.numbers.push_back(read.numbers[i]);
        log.transmitters.push_back(std::move(read.transmitters[i]));
    }
    return log;
}

HostCheck CheckOf(const HostQso& q) {
    HostCheck check;
    check.call = q.call;
    check.band = check.otherBand = q.band;
    check.mode = q.mode;
    check.wpxPrefix = q.wpxPrefix;
    check.countryPrefix = q.countryPrefix;
    check.continent = q.continent;
    return check;
}

namespace {

page::HourEnd HourEndOf(HostSession& session) {
    const page::TextResult r = page::ParseTextResult(session.Result());
    return page::HourEnd{r.score, r.points, r.multipliers, r.qsos};
}

}  // namespace

stats::MinuteCounts ActivityOf(const PageLog& log) {
    std::vector<std::int64_t> minutes;
    minutes.reserve(log.qsos.size());
    for (const HostQso& q : log.qsos)
        if (const auto minute = stats::OleDateMinute(q.time)) minutes.push_back(*minute);
    return stats::CountMinutes(std::move(minutes));
}

void ReplayForPage(HostSession& session, const PageLog& log, double gridStart, page::LogFigures& figures) {
    figures.start = gridStart;
    figures.hourEnds.clear();
    figures.counted.clear();
    figures.loggedTimes.clear();
    figures.dupes = figures.rejected = 0;
    figures.operating = stats::ComputeOperatingTime(ActivityOf(log), figures.category);
    figures.withinLimit.reset();
    unsigned number = 0;
    for (const HostQso& q : log.qsos) {
        // Every hour before this QSO's is over: the plug-in's figures then.
        const int hour = page::HourIndex(gridStart, q.time.m_dt);
        while (static_cast<int>(figures.hourEnds.size()) < hour) figures.hourEnds.push_back(HourEndOf(session));
        // The QSOs come in time order: before the first past the limit, the
        // plug-in's figures are those of the QSOs within it.
        if (figures.operating.limitPassed && !figures.withinLimit) {
            const auto minute = stats::OleDateMinute(q.time);
            if (minute && figures.operating.PastLimit(*minute)) figures.withinLimit = HourEndOf(session);
        }
        const bool dupe = session.Check(CheckOf(q)) == 0;
        const bool accepted = session.Add(q, ++number) == 1;
        figures.loggedTimes.push_back(q.time.m_dt);
        if (!accepted) {
            ++figures.rejected;
        } else if (dupe) {
            ++figures.dupes;
        } else {
            figures.counted.push_back(
                page::CountedQso{q.time.m_dt, q.call, q.band, q.continent, q.wpxPrefix, number - 1});
        }
    }
    // The hour of the last QSO ends too.
    if (!log.qsos.empty()) {
        const int last = page::HourIndex(gridStart, log.qsos.back().time.m_dt);
        while (static_cast<int>(figures.hourEnds.size()) <= last) figures.hourEnds.push_back(HourEndOf(session));
    }
    figures.result = page::ParseTextResult(session.Result());
}

stats::PaceCurve ReplayForPace(HostSession& session, const PageLog& log, double gridStart, bool cw) {
    stats::PaceCurve curve;
    curve.cw = cw;
    const std::int64_t start = stats::OleDateMinute(stats::OleDateTime::Valid(gridStart)).value_or(0);
    const stats::MinuteCounts activity = ActivityOf(log);
    const std::vector<std::int64_t> clock = stats::OperatingClock(activity);
    // The 48 hours, and on to the first row after the last QSO.
    std::int64_t end = 48 * 60;
    if (!activity.empty()) {
        const std::int64_t past = activity.back().first - start + 1;
        end = std::max(end, (past + stats::kPaceStepMinutes - 1) / stats::kPaceStepMinutes * stats::kPaceStepMinutes);
    }

    std::size_t active = 0;  // activity minutes before the next row's
    bool added = true;       // QSOs added since the plug-in was last asked
    page::HourEnd figures;
    auto rowsBefore = [&](std::int64_t minute) {
        for (std::int64_t elapsed = static_cast<std::int64_t>(curve.rows.size()) * stats::kPaceStepMinutes;
             elapsed <= end && start + elapsed <= minute; elapsed += stats::kPaceStepMinutes) {
            while (active < activity.size() && activity[active].first < start + elapsed) ++active;
            if (added) figures = HourEndOf(session);
            added = false;
            curve.rows.push_back(stats::PaceRow{elapsed, figures.qsos, figures.points, figures.multipliers,
                                                figures.score, active == 0 ? 0 : clock[active - 1]});
        }
    };
    unsigned number = 0;
    for (const HostQso& q : log.qsos) {
        // The rows up to this QSO's minute hold the QSOs before it. A QSO
        // without a minute goes where its time puts it, between the rows.
        if (const auto minute = stats::OleDateMinute(q.time)) rowsBefore(*minute);
        session.Add(q, ++number);
        added = true;
    }
    rowsBefore(start + end);
    return curve;
}

void ReplayByContinent(HostSession& session, const PageLog& log, const HostStation& station,
                       page::LogFigures& figures) {
    // A QSO's points depend on it alone, never on the others, so the
    // plug-in's points of one continent's QSOs, added by themselves, are the
    // share of its total that continent brought. Only counted QSOs go in:
    // none of them can be a dupe of another.
    std::map<std::string, std::vector<std::size_t>> by;
    for (const page::CountedQso& q : figures.counted) by[q.continent].push_back(q.index);
    figures.continents.clear();
    for (const auto& [continent, indexes] : by) {
        session.Reset(station, false);
        unsigned number = 0;
        for (const std::size_t i : indexes) session.Add(log.qsos[i], ++number);
        const page::TextResult r = page::ParseTextResult(session.Result());
        figures.continents.push_back(page::ContinentFigures{continent, r.qsos, r.points});
    }
    // QSOs without a known continent close the list.
    if (!figures.continents.empty() && figures.continents.front().continent.empty())
        std::rotate(figures.continents.begin(), figures.continents.begin() + 1, figures.continents.end());
}

void AddAll(HostSession& session, const PageLog& log) {
    unsigned number = 0;
    for (const HostQso& q : log.qsos) session.Add(q, ++number);
}

LogHeader ReadLogHeader(const std::string& path) {
    LogHeader header;
    if (!cabrillo::LooksLikeCabrillo(path)) return header;
    std::ifstream in(path, std::ios::binary);
    std::optional<stats::EntryCategory> operators;
    bool classic = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("QSO:", 0) == 0 || line.rfind("END-OF-LOG:", 0) == 0) break;
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(0, colon);
        std::string value = line.substr(colon + 1);
        const auto a = value.find_first_not_of(" \t"), b = value.find_last_not_of(" \t");
        value = a == std::string::npos ? std::string() : value.substr(a, b - a + 1);
        if (key.rfind("CATEGORY-", 0) == 0) header.categories.emplace_back(key, value);
        const std::string word = Upper(value);
        // A check log is held to a single operator's limit: it is the
        // stricter reading, and nothing in the log says more.
        if (key == "CATEGORY-OPERATOR") {
            if (word == "SINGLE-OP" || word == "CHECKLOG") operators = stats::EntryCategory::kSingleOp;
            else if (word == "MULTI-OP") operators = stats::EntryCategory::kMultiOp;
        }
        if (key == "CATEGORY-OVERLAY") classic = word == "CLASSIC";
        if (key == "OPERATORS") header.operators = header.operators ? *header.operators + " " + value : value;
        if (key == "CLUB") header.club = value;
        if (key == "CLAIMED-SCORE" && !value.empty() &&
            value.find_first_not_of("0123456789") == std::string::npos && value.size() < 16)
            header.claimed = std::stoll(value);
    }
    // The Classic overlay is one of single operators.
    header.category = operators == stats::EntryCategory::kSingleOp && classic ? stats::EntryCategory::kClassic
                                                                               : operators;
    return header;
}

stats::EntryCategory CategoryOfRun(const std::optional<stats::EntryCategory>& asked, const LogHeader& header) {
    return asked.value_or(header.category.value_or(stats::EntryCategory::kSingleOp));
}

std::optional<std::unordered_set<std::string>> ReadActiveCalls(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = path + ": cannot open the file";
        return std::nullopt;
    }
    std::unordered_set<std::string> calls;
    for (std::string line; std::getline(in, line);) {
        std::string call;
        for (char c : line) {
            if (c == ' ' || c == '\t' || c == '\r') break;
            call += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (!call.empty() && call[0] != '#') calls.insert(std::move(call));
    }
    return calls;
}

bool IsActiveCall(const std::unordered_set<std::string>& active, const std::string& call) {
    return active.count(call) > 0 || active.count(ReadPortableCall(call).home) > 0;
}

}  // namespace tools
