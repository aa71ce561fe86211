#include "contest_log.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>

#include "contest/ole_date.h"
#include "log_source.h"

namespace tools {

std::string ContestLog::Where(std::size_t qso) const {
    return (cabrillo ? "line " : "record ") + std::to_string(numbers[qso]);
}

std::vector<std::size_t> ContestLog::LogOrder() const {
    std::vector<std::size_t> order(qsos.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return numbers[a] < numbers[b]; });
    return order;
}

std::size_t ContestLog::Count(QsoStatus s) const {
    return static_cast<std::size_t>(std::count(status.begin(), status.end(), s));
}

ContestLog ReadContestLog(const std::string& file, const CountryFile* countries) {
    ContestLog log;
    log.file = file;
    log.path = std::filesystem::absolute(file).string();
    LogSurvey& s = log.survey;
    std::vector<HostQso> qsos;
    std::vector<std::size_t> numbers;
    std::vector<std::string> transmitters;
    LogSource source(log.path, countries);
    log.cabrillo = source.IsCabrillo();
    for (LogSource::Entry entry; source.Next(entry);) {
        ++s.records;
        if (!entry.note.empty()) std::fprintf(stderr, "%s\n", entry.note.c_str());
        if (!entry.qso) continue;
        ++s.mappable;
        if (entry.qso->mode == "CW") ++s.cw;
        if (entry.qso->mode == "SSB") ++s.ssb;
        const double t = entry.qso->time.m_dt;
        if (!s.first || t < *s.first) s.first = t;
        if (!s.last || t > *s.last) s.last = t;
        qsos.push_back(std::move(*entry.qso));
        numbers.push_back(entry.number);
        transmitters.push_back(std::move(entry.transmitter));
    }
    s.stationCall = source.StationCall();
    s.stationDxcc = source.StationDxcc();
    s.contest = source.Contest();
    for (const auto& [tag, value] : source.HeaderLines()) stats::AddHeaderLine(log.header, tag, value);

    // Each QSO moved once, to its place in time.
    std::vector<std::size_t> order(qsos.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return qsos[a].time.m_dt < qsos[b].time.m_dt; });
    log.qsos.reserve(order.size());
    log.numbers.reserve(order.size());
    log.transmitters.reserve(order.size());
    log.minutes.reserve(order.size());
    for (const std::size_t i : order) {
        log.minutes.push_back(stats::OleDateMinute(qsos[i].time).value_or(0));
        log.qsos.push_back(std::move(qsos[i]));
        log.numbers.push_back(numbers[i]);
        log.transmitters.push_back(std::move(transmitters[i]));
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

void Replay(HostSession& session, ContestLog& log, const std::function<void(std::size_t)>& before) {
    log.status.assign(log.qsos.size(), QsoStatus::kRejected);
    unsigned number = 0;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        if (before) before(i);
        const bool dupe = session.Check(CheckOf(log.qsos[i])) == 0;
        const bool accepted = session.Add(log.qsos[i], ++number) == 1;
        log.status[i] = !accepted ? QsoStatus::kRejected : dupe ? QsoStatus::kDupe : QsoStatus::kCounted;
    }
    log.result = ParseTextResult(session.Result());
}

void AddAll(HostSession& session, const ContestLog& log) {
    unsigned number = 0;
    for (const HostQso& q : log.qsos) session.Add(q, ++number);
}

}  // namespace tools
