#include "contest/pace_curve.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "contest/contest_name.h"
#include "contest/text_util.h"

namespace stats {

namespace {

// A curve of a whole contest has 289 rows; a reference of a longer log may
// have more, but never this many.
constexpr std::size_t kMaxRows = 100000;

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A whole number of at most 15 digits: far beyond any figure of a contest,
// and far from the limits of the arithmetic done with it.
std::optional<std::int64_t> Number(std::string_view field) {
    field = Trimmed(field);
    if (field.empty() || field.size() > 15) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos) return fields;
        line.remove_prefix(comma + 1);
    }
}

std::int64_t Clamped(long double value) {
    constexpr long double kMax = static_cast<long double>(std::numeric_limits<std::int64_t>::max() / 2);
    if (!(value > 0.0L)) return 0;  // NaN too
    return value >= kMax ? static_cast<std::int64_t>(kMax) : static_cast<std::int64_t>(std::llround(value));
}

}  // namespace

std::string WritePaceCurve(const PaceCurve& curve) {
    std::string text = std::string(kPaceHeader) + "\r\n";
    const char* contest = ContestName(curve.cw);
    for (const PaceRow& r : curve.rows)
        text += Format("%lld,%lld,%lld,%lld,%lld,%lld,%s\r\n", static_cast<long long>(r.elapsed),
                       static_cast<long long>(r.qsos), static_cast<long long>(r.points),
                       static_cast<long long>(r.prefixes), static_cast<long long>(r.score),
                       static_cast<long long>(r.operating), contest);
    return text;
}

PaceReadResult ReadPaceCurve(std::string_view content) {
    PaceReadResult result;
    auto fail = [&](PaceReadError::Kind kind, std::size_t line) {
        result.error = PaceReadError{kind, line};
        return result;
    };
    if (content.size() > kMaxPaceFileBytes) return fail(PaceReadError::kTooLarge, 0);
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);  // a spreadsheet's byte-order mark

    PaceCurve curve;
    std::optional<bool> cw;
    std::size_t lineNumber = 0;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNumber == 1) {
            if (!EqualsNoCase(Trimmed(line), kPaceHeader)) return fail(PaceReadError::kNoHeader, 1);
            continue;
        }
        if (Trimmed(line).empty()) continue;

        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() != 7) return fail(PaceReadError::kBadRow, lineNumber);
        PaceRow row;
        std::int64_t* const targets[] = {&row.elapsed, &row.qsos, &row.points, &row.prefixes, &row.score, &row.operating};
        for (std::size_t i = 0; i < 6; ++i) {
            const auto value = Number(fields[i]);
            if (!value) return fail(PaceReadError::kBadRow, lineNumber);
            *targets[i] = *value;
        }
        const std::string_view contest = Trimmed(fields[6]);
        bool rowCw = false;
        if (EqualsNoCase(contest, kCwContestName))
            rowCw = true;
        else if (!EqualsNoCase(contest, kSsbContestName))
            return fail(PaceReadError::kBadRow, lineNumber);
        if (cw && *cw != rowCw) return fail(PaceReadError::kMixed, lineNumber);
        cw = rowCw;
        if (!curve.rows.empty() && row.elapsed <= curve.rows.back().elapsed)
            return fail(PaceReadError::kBackwards, lineNumber);
        if (curve.rows.size() == kMaxRows) return fail(PaceReadError::kTooLarge, lineNumber);
        curve.rows.push_back(row);
    }
    if (lineNumber == 0) return fail(PaceReadError::kNoHeader, 1);
    if (curve.rows.empty()) return fail(PaceReadError::kNoRows, lineNumber);
    curve.cw = *cw;
    result.curve = std::move(curve);
    return result;
}

PaceRow PaceAt(const PaceCurve& curve, std::int64_t elapsed) {
    const std::vector<PaceRow>& rows = curve.rows;
    if (elapsed <= rows.front().elapsed) return rows.front();
    if (elapsed >= rows.back().elapsed) return rows.back();
    std::size_t i = 1;
    while (rows[i].elapsed < elapsed) ++i;
    const PaceRow& a = rows[i - 1];
    const PaceRow& b = rows[i];
    const long double share =
        static_cast<long double>(elapsed - a.elapsed) / static_cast<long double>(b.elapsed - a.elapsed);
    auto between = [&](std::int64_t PaceRow::*field) {
        return static_cast<std::int64_t>(
            std::llround(a.*field + share * static_cast<long double>(b.*field - a.*field)));
    };
    PaceRow row;
    row.elapsed = elapsed;
    row.qsos = between(&PaceRow::qsos);
    row.points = between(&PaceRow::points);
    row.prefixes = between(&PaceRow::prefixes);
    row.score = between(&PaceRow::score);
    row.operating = between(&PaceRow::operating);
    return row;
}

std::int64_t OperatingLeft(std::int64_t operated, std::optional<std::int64_t> limit,
                           std::optional<std::int64_t> contestLeft) {
    std::int64_t left = std::numeric_limits<std::int64_t>::max();
    if (limit) left = std::max<std::int64_t>(0, *limit - operated);
    if (contestLeft) left = std::min(left, std::max<std::int64_t>(0, *contestLeft));
    return left == std::numeric_limits<std::int64_t>::max() ? 0 : left;
}

ScoreProjection ProjectionRange(std::int64_t score, std::int64_t projected, double width) {
    ScoreProjection r;
    r.projected = std::max<std::int64_t>(0, projected);
    r.low = r.high = r.projected;
    if (score <= 0 || r.projected <= 0) return r;
    // The spread is of the growth still to come, in proportion: it is wide
    // early, when most of the score is still ahead, and closes on the score
    // as the contest ends.
    const long double growth = std::log(static_cast<long double>(r.projected) / static_cast<long double>(score));
    const long double a = score * std::exp(growth * (1 - static_cast<long double>(width)));
    const long double b = score * std::exp(growth * (1 + static_cast<long double>(width)));
    r.low = std::min(Clamped(std::min(a, b)), r.projected);
    r.high = std::max(Clamped(std::max(a, b)), r.projected);
    return r;
}

std::optional<ScoreProjection> ProjectFinalScore(const PaceRow& now, const PaceCurve* reference,
                                                 const PaceCurve& ownCurve, std::int64_t operatingLeft) {
    if (reference != nullptr && !reference->rows.empty()) {
        const PaceRow then = PaceAt(*reference, now.elapsed);
        // A run with no score yet has nothing to grow: its own course says
        // more, or nothing.
        if (then.score > 0 && now.score > 0)
            return ProjectionRange(
                now.score, Clamped(static_cast<long double>(now.score) * reference->rows.back().score / then.score),
                kReferenceRangeWidth);
    }
    if (now.qsos <= 0 || now.operating <= 0) {
        if (now.score <= 0) return std::nullopt;
        return ScoreProjection{now.score, now.score, now.score};
    }
    // The recent part of the run: its last half of QSOs, however long the
    // run paused, so that one slow night hour, one opening or an off-time
    // does not set the rest of the weekend.
    PaceRow then;
    for (const PaceRow& row : ownCurve.rows) {
        if (row.elapsed > now.elapsed || row.qsos > now.qsos / 2) break;
        then = row;
    }
    const long double qsos = static_cast<long double>(now.qsos);
    const long double operated = static_cast<long double>(now.operating);
    const long double growth = std::pow(
        (operated + static_cast<long double>(std::max<std::int64_t>(0, operatingLeft))) / operated, kQsoGrowthPower);
    long double worth = static_cast<long double>(now.points) / qsos;
    if (then.qsos > 0 && now.qsos > then.qsos && now.points >= then.points)
        worth = static_cast<long double>(now.points - then.points) / static_cast<long double>(now.qsos - then.qsos);
    long double power = 1;
    if (then.qsos > 0 && then.prefixes > 0 && now.qsos > then.qsos && now.prefixes >= then.prefixes)
        power = std::log(static_cast<long double>(now.prefixes) / then.prefixes) / std::log(qsos / then.qsos);
    else if (now.qsos > 1 && now.prefixes > 0)
        power = std::log(static_cast<long double>(now.prefixes)) / std::log(qsos);
    power = std::clamp(power, 0.0L, 1.0L);
    const long double points = now.points + qsos * (growth - 1) * worth;
    return ProjectionRange(now.score, Clamped(points * now.prefixes * std::pow(growth, power)), kOwnRangeWidth);
}

}  // namespace stats
