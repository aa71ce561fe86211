#include "forecast.h"

#include <optional>

namespace forecast {

namespace {

constexpr std::int64_t kContestHours = 48;

}  // namespace

std::string ForecastCsv(const stats::PaceCurve& run, stats::EntryCategory category,
                        const stats::ContestReference& reference) {
    const stats::PaceCurve* curve =
        reference.state == stats::ContestReference::kRead && !reference.curve.rows.empty() ? &reference.curve : nullptr;
    const std::optional<std::int64_t> limit = stats::OperatingLimit(category);
    std::string out = std::string(kHeader) + "\n";
    stats::PaceCurve own;
    own.cw = run.cw;
    std::size_t next = 0;
    for (std::int64_t hour = 1; hour <= kContestHours; ++hour) {
        const std::int64_t elapsed = hour * 60;
        // The run's own course as the view has it then: nothing after now.
        while (next < run.rows.size() && run.rows[next].elapsed <= elapsed) own.rows.push_back(run.rows[next++]);
        out += std::to_string(hour) + ",";
        if (run.rows.empty()) {
            out += "0,,,\n";
            continue;
        }
        const stats::PaceRow now = stats::PaceAt(run, elapsed);
        const std::int64_t left = stats::OperatingLeft(now.operating, limit, (kContestHours - hour) * 60);
        const auto p = stats::ProjectFinalScore(now, curve, own, left);
        out += std::to_string(now.score) + ",";
        if (p)
            out += std::to_string(p->low) + "," + std::to_string(p->projected) + "," + std::to_string(p->high);
        else
            out += ",,";
        out += "\n";
    }
    return out;
}

}  // namespace forecast
