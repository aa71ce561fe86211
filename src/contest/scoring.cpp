#include "contest/scoring.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <utility>

namespace stats {

namespace {

std::string Padded(const std::string& band) {
    return band.size() >= 20 ? band : std::string(20 - band.size(), '0') + band;
}

void SortBandsForDisplay(std::vector<std::string>& bands) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(bands.size());
    for (auto& b : bands) keyed.emplace_back(Padded(b), std::move(b));
    // Byte-wise comparison, as strcmp does it.
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return std::string_view(b.first).compare(a.first) < 0;
    });
    for (std::size_t i = 0; i < bands.size(); ++i) bands[i] = std::move(keyed[i].second);
}

constexpr std::uint32_t kNoId = std::numeric_limits<std::uint32_t>::max();

}  // namespace

int QsoPoints(bool sameCountry, bool sameContinent, bool ownInNorthAmerica, bool lowBand) {
    if (sameCountry) return 1;
    const int points = !sameContinent ? 3 : ownInNorthAmerica ? 2 : 1;
    return lowBand ? 2 * points : points;
}

bool IsLowBand(const std::string& band) { return band == "160m" || band == "80m" || band == "40m"; }

CScoreSummary ComputeStatistics(RunState& state) {
    CScoreSummary summary;
    const QsoLog& log = state.g_QsoLog;

    SortBandsForDisplay(state.g_WorkedBands);
    state.g_WorkedPrefixes.clear();

    const std::int64_t rejectionLines = state.g_BadQsoFile.CountRejectedQsos();

    // Band texts of the records map to their display row.
    std::unordered_map<std::uint32_t, std::size_t> rowOfBand;
    summary.bands.resize(state.g_WorkedBands.size());
    std::vector<char> lowBand(state.g_WorkedBands.size());
    for (std::size_t row = 0; row < state.g_WorkedBands.size(); ++row) {
        summary.bands[row].band = state.g_WorkedBands[row];
        lowBand[row] = IsLowBand(state.g_WorkedBands[row]);
        if (const auto id = log.FindId(state.g_WorkedBands[row])) rowOfBand.emplace(*id, row);
    }
    const std::uint32_t ownCountry = log.FindId(state.g_OwnCountry).value_or(kNoId);
    const std::uint32_t ownContinent = log.FindId(state.g_OwnContinent).value_or(kNoId);
    const bool ownInNorthAmerica = state.g_OwnContinent == "NA";

    const std::size_t count = log.GetCount();
    const bool rates = state.g_bReportRequest == 0;
    OleDateTime reference = OleDateTime::Valid(0.0);
    std::uint32_t lastBand = kNoId;
    if (count > 0) {
        lastBand = log.Record(count - 1).band;
        // The latest QSO, not the last record: the host passes an edit as a
        // removal and an addition, so an edited old QSO becomes the last
        // record and would put every later QSO into both windows.
        if (rates && count > 1) reference = log.LatestValidTime().value_or(log.Record(count - 1).time);
    }

    // A prefix is credited to the first row in display order with a counted
    // QSO for it, and listed in the order the band-by-band walk meets it.
    constexpr std::uint64_t kUnseen = std::numeric_limits<std::uint64_t>::max();
    std::vector<std::uint64_t> firstMeeting;  // by prefix id: row << 32 | log index
    std::vector<std::uint32_t> prefixesSeen;

    for (std::size_t i = 0; i < count; ++i) {
        const QsoRecord& r = log.Record(i);
        if (r.call == StringPool::kEmpty) continue;
        const auto rowIt = rowOfBand.find(r.band);
        if (rowIt == rowOfBand.end()) continue;  // not a listed band: never visited
        const std::size_t row = rowIt->second;
        CBandScore& band = summary.bands[row];

        if (r.dupe) ++summary.dupes;
        if (r.excluded) continue;

        const int points =
            QsoPoints(r.country == ownCountry, r.continent == ownContinent, ownInNorthAmerica, lowBand[row]);
        ++band.qsos;
        band.points += points;
        if (r.band == lastBand) summary.lastQsoPoints = points;

        if (rates) {
            const auto minutes = SpanWholeMinutes(r.time, reference);
            if (minutes && *minutes < 60) {
                ++summary.hourQsos;
                summary.hourPoints += points;
            }
            if (minutes && *minutes < 10) {
                ++summary.tenMinuteQsos;
                summary.tenMinutePoints += points;
            }
        }

        if (firstMeeting.size() <= r.prefix) firstMeeting.resize(r.prefix + 1, kUnseen);
        const std::uint64_t meeting = static_cast<std::uint64_t>(row) << 32 | i;
        if (firstMeeting[r.prefix] == kUnseen) prefixesSeen.push_back(r.prefix);
        firstMeeting[r.prefix] = std::min(firstMeeting[r.prefix], meeting);
    }

    std::sort(prefixesSeen.begin(), prefixesSeen.end(),
              [&](std::uint32_t a, std::uint32_t b) { return firstMeeting[a] < firstMeeting[b]; });
    state.g_WorkedPrefixes.reserve(prefixesSeen.size());
    for (const std::uint32_t prefix : prefixesSeen) {
        ++summary.bands[firstMeeting[prefix] >> 32].newPrefixes;
        state.g_WorkedPrefixes.push_back(log.Text(prefix));
    }

    for (const CBandScore& band : summary.bands) {
        summary.totalQsos += band.qsos;
        summary.totalPoints += band.points;
        summary.multipliers += band.newPrefixes;
    }
    summary.badQsos = rejectionLines;
    summary.score = summary.totalPoints * summary.multipliers;
    return summary;
}

}  // namespace stats
