#include "contest/intake.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "contest/bad_qso_file.h"

namespace stats {

namespace {

std::string DupeLineOf(const QsoLog& log, const QsoRecord& r) {
    const std::string dateTime = FormatOleDate(r.time, badqso::kDateTimeFormat);
    badqso::LineFields f;
    f.freqKHz = r.freqKHz;
    f.mode = log.Text(r.mode);
    f.dateTime = dateTime;
    f.ownCall = log.Text(r.ownCall);
    f.rstSent = log.Text(r.rstSent);
    f.exchSent = log.Text(r.exchSent);
    f.call = log.Text(r.call);
    f.rstRcvd = log.Text(r.rstRcvd);
    f.exchRcvd = log.Text(r.exchRcvd);
    return badqso::ReportLine(f, badqso::kReasonDupe);
}

// The fields of the QSO's report lines; they view `dateTime`, which gets the QSO's time.
badqso::LineFields LineFieldsOf(const QsoInput& qso, std::string& dateTime) {
    dateTime = FormatOleDate(qso.qsoTime, badqso::kDateTimeFormat);
    badqso::LineFields f;
    f.freqKHz = qso.frequencyHz / 1000;
    f.mode = qso.mode;
    f.dateTime = dateTime;
    f.ownCall = qso.ownCall;
    f.rstSent = qso.rstSent;
    f.exchSent = qso.exchangeSent;
    f.call = qso.call;
    f.rstRcvd = qso.rstReceived;
    f.exchRcvd = qso.exchangeReceived;
    return f;
}

}  // namespace

std::string ReportLineFor(const QsoInput& qso, const char* reason) {
    std::string dateTime;
    return badqso::ReportLine(LineFieldsOf(qso, dateTime), reason);
}

int AddQso(RunState& state, const QsoInput& qso) {
    const std::uint32_t freqKHz = qso.frequencyHz / 1000;
    // Only rejected QSOs and dupes are written, so the line is made on demand.
    auto report = [&](const char* reason, std::size_t count = 1) {
        state.g_BadQsoFile.Report([&] { return ReportLineFor(qso, reason); }, count);
    };
    // A rejected QSO stays in the host's log, and its time counts as activity.
    auto reject = [&](const char* reason) {
        report(reason);
        state.g_RejectedQsos.Add(qso.call, qso.band, qso.mode, qso.qsoTime);
        return 0;
    };

    if (!state.g_ValidBands.Contains(qso.band)) return reject(badqso::kReasonWrongBand);
    // A band counts as worked even when a later check rejects the QSO.
    if (std::find(state.g_WorkedBands.begin(), state.g_WorkedBands.end(), qso.band) == state.g_WorkedBands.end())
        state.g_WorkedBands.emplace_back(qso.band);

    if (!state.g_ValidModes.Contains(qso.mode)) return reject(badqso::kReasonWrongMode);
    if (qso.exchangeReceived.empty() || qso.exchangeSent.empty()) return reject(badqso::kReasonNoNumber);

    QsoFields record;
    record.call = qso.call;
    record.country = qso.countryPrefix;
    record.continent = qso.continent;
    record.band = qso.band;
    record.mode = qso.mode;
    record.rstRcvd = qso.rstReceived;
    record.rstSent = qso.rstSent;
    record.exchRcvd = qso.exchangeReceived;
    record.exchSent = qso.exchangeSent;
    record.prefix = qso.wpxPrefix;
    record.ownCall = qso.ownCall;
    record.freqKHz = freqKHz;
    record.time = qso.qsoTime;
    std::size_t matches = 0;
    const std::size_t index = state.g_QsoLog.Append(record, &matches);
    QsoRecord& stored = state.g_QsoLog.MutableRecord(index);
    // A dupe stays in the log but earns nothing; one line per earlier QSO with
    // the same call, band and mode.
    if (matches > 0) {
        stored.dupe = 1;
        stored.excluded = 1;
        report(badqso::kReasonDupe, matches);
    }
    state.g_Score.Enter(state.g_QsoLog, stored, OwnStation{state.g_OwnCountry, state.g_OwnContinent});
    return 1;
}

int RemoveQso(RunState& state, const QsoInput& qso) {
    QsoLog& log = state.g_QsoLog;

    // Dupe lines to take out, by their exact text: the removed QSO's own, and
    // one for each later QSO of the same call, band and mode.
    badqso::LineCounts dupeLinesToDrop;
    const std::vector<std::size_t> same = log.IndexesOfSame(qso.call, qso.band, qso.mode);
    const auto match = std::find_if(same.begin(), same.end(), [&](std::size_t i) {
        return OleDatesEqual(log.Record(i).time, qso.qsoTime);
    });
    if (match != same.end()) {
        const std::size_t earlier = static_cast<std::size_t>(match - same.begin());
        if (earlier > 0) dupeLinesToDrop[DupeLineOf(log, log.Record(*match))] += earlier;
        for (auto later = match + 1; later != same.end(); ++later) ++dupeLinesToDrop[DupeLineOf(log, log.Record(*later))];

        const OwnStation own{state.g_OwnCountry, state.g_OwnContinent};
        const std::size_t removed = *match;
        state.g_Score.Leave(log, log.Record(removed), own);
        log.RemoveAt(removed);
        // The first QSO of the group, if it was a dupe only of the removed one, counts again.
        if (earlier == 0 && same.size() > 1) {
            QsoRecord& first = log.MutableRecord(same[1] - 1);
            state.g_Score.Leave(log, first, own);
            first.dupe = 0;
            first.excluded = 0;
            state.g_Score.Enter(log, first, own);
        }
    } else {
        state.g_RejectedQsos.Remove(qso.call, qso.band, qso.mode, qso.qsoTime);
    }
    ++state.g_LogGeneration;

    if (log.IsEmpty()) state.g_WorkedPrefixes.Clear();
    std::string dateTime;
    state.g_BadQsoFile.RewriteAfterRemoval(LineFieldsOf(qso, dateTime), std::move(dupeLinesToDrop));
    return 1;
}

}  // namespace stats
