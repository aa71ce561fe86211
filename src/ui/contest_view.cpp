#include "ui/contest_view.h"

#include <algorithm>

#include "contest/file_util.h"
#include "contest/text_util.h"

namespace stats {

namespace {

constexpr int kMargin = 8;
constexpr int kLineHeight = 16;

// The time of day of a minute, UTC as the log keeps it.
std::string Clock(std::int64_t minute) {
    const std::int64_t ofDay = ((minute % 1440) + 1440) % 1440;
    return Format("%02lld:%02lld", static_cast<long long>(ofDay / 60), static_cast<long long>(ofDay % 60));
}

std::string Grouped(std::int64_t value, char separator) {
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -(value + 1) + 1ULL : static_cast<unsigned long long>(value));
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, separator);
    return negative ? "-" + digits : digits;
}

// A range's end to three figures, outward, so that the range still holds
// what it held and claims no more precision than it has.
std::int64_t ThreeFigures(std::int64_t value, bool up) {
    std::int64_t unit = 1;
    while (value / unit >= 1000) unit *= 10;
    const std::int64_t down = value / unit * unit;
    return up && down < value ? down + unit : down;
}

std::string Signed(std::int64_t value, char separator) {
    return value > 0 ? "+" + Grouped(value, separator) : Grouped(value, separator);
}

DrawOp Line(int x, int y, std::string text, Rgb color = kTextColor, bool right = false) {
    return DrawOp{DrawOp::kText, {}, color, x, y, std::move(text), right};
}

}  // namespace

std::string ReferenceProblem(const ContestReference& r, const ContestWords& w) {
    switch (r.state) {
        case ContestReference::kUnreadable:
            return w.unreadable;
        case ContestReference::kOtherMode:
            return Format(w.otherMode, r.curve.cw ? "CW" : "SSB", r.curve.cw ? "SSB" : "CW");
        case ContestReference::kMalformed:
            switch (r.error.kind) {
                case PaceReadError::kTooLarge:
                    return w.tooLarge;
                case PaceReadError::kNoHeader:
                    return w.notHeader;
                case PaceReadError::kBadRow:
                    return Format(w.badRow, r.error.line);
                case PaceReadError::kBackwards:
                    return Format(w.backwards, r.error.line);
                case PaceReadError::kMixed:
                    return Format(w.mixed, r.error.line);
                case PaceReadError::kNoRows:
                    return w.noRows;
            }
            break;
        default:
            break;
    }
    return std::string();
}

ContestReference ReadContestReference(const std::string& path, bool runIsCw) {
    ContestReference r;
    if (path.find_first_not_of(" \t") == std::string::npos) return r;
    const auto content = ReadWholeFile(path, kMaxPaceFileBytes);
    if (!content) {
        r.state = ContestReference::kUnreadable;
        return r;
    }
    PaceReadResult read = ReadPaceCurve(*content);
    if (!read.curve) {
        r.state = ContestReference::kMalformed;
        r.error = read.error;
        return r;
    }
    r.curve = std::move(*read.curve);
    r.state = r.curve.cw == runIsCw ? ContestReference::kRead : ContestReference::kOtherMode;
    return r;
}

ContestFigures ComputeContestFigures(const LiveFigures& live, EntryCategory category, std::int64_t now,
                                     const ContestReference& reference) {
    ContestFigures f;
    f.time = ComputeOperatingTime(live.Activity(), category);
    const auto start = live.StartMinute();
    const auto end = live.EndMinute();
    f.live = start && end && *start <= now && now < *end;
    f.now = now;
    const bool anyQso = f.time.qsos > 0;
    if (f.live && anyQso) f.pause = std::max<std::int64_t>(0, now - f.time.lastMinute);

    // The contest minute the run's figures belong to: now, or, looking back
    // at a log, the minute after its last QSO.
    std::optional<std::int64_t> at;
    if (f.live)
        at = now;
    else if (anyQso)
        at = f.time.lastMinute + 1;
    if (end && at) f.contestLeft = std::max<std::int64_t>(0, *end - *at);

    f.operatingLeft = OperatingLeft(f.time.operatingMinutes, f.time.limit, f.contestLeft);

    if (!start || !at) return f;
    PaceRow run;
    run.elapsed = std::max<std::int64_t>(0, *at - *start);
    run.qsos = live.Totals().qsos;
    run.points = live.Totals().points;
    run.prefixes = live.Totals().prefixes;
    run.score = live.Totals().Score();
    run.operating = f.time.operatingMinutes;
    f.run = run;
    const PaceCurve* curve = nullptr;
    if (reference.state == ContestReference::kRead && !reference.curve.rows.empty()) {
        curve = &reference.curve;
        f.reference = PaceAt(*curve, run.elapsed);
        f.referenceFinal = curve->rows.back().score;
    }
    f.projected = ProjectFinalScore(run, curve, live.OwnCurve(run.elapsed), f.operatingLeft);
    return f;
}

std::vector<DrawOp> ContestPicture(const PanelRect& item, const ContestFigures& f, const ContestReference& reference,
                                   const UiLanguage& lang) {
    const ContestWords& w = ContestTexts(lang.cyrillic);
    std::vector<DrawOp> ops{DrawOp{DrawOp::kFill, item, kContestBackground, 0, 0, {}, false}};
    int y = 4;
    auto line = [&](std::string text, Rgb color = kTextColor) {
        ops.push_back(Line(kMargin, y, std::move(text), color));
        y += kLineHeight;
    };
    const OperatingTime& t = f.time;

    const std::string used = HoursMinutes(t.operatingMinutes);
    if (!t.limit)
        line(Format(w.operatingNoLimit, used.c_str()));
    else if (t.operatingMinutes > *t.limit)
        line(Format(w.operatingOver, used.c_str(), HoursMinutes(*t.limit).c_str()), kBehindColor);
    else
        line(Format(w.operating, used.c_str(), HoursMinutes(*t.limit).c_str(),
                    HoursMinutes(*t.limit - t.operatingMinutes).c_str()));

    long long offTimes = static_cast<long long>(t.offTimes.size());
    std::int64_t offMinutes = t.offMinutes;
    if (!f.live) {
        line(w.outside);
    } else if (f.pause) {
        if (*f.pause < kOffTimeMinutes) {
            line(Format(w.pause, HoursMinutes(*f.pause).c_str(), Clock(t.lastMinute + kOffTimeMinutes).c_str()));
        } else {
            // An off-time already, whenever the next QSO comes.
            line(Format(w.stopped, Clock(t.lastMinute).c_str()));
            ++offTimes;
            offMinutes += *f.pause;
        }
    }
    line(Format(w.offTimes, offTimes, HoursMinutes(offMinutes).c_str()));
    if (f.live && f.contestLeft) line(Format(w.contestLeft, HoursMinutes(*f.contestLeft).c_str()));

    if (t.limitPassed) {
        line(Format(w.reached, Clock(t.limitReachedMinute).c_str(),
                    Grouped(static_cast<std::int64_t>(t.qsosWithin), w.thousands).c_str()),
             kBehindColor);
        line(Format(w.after, Grouped(static_cast<std::int64_t>(t.qsosPast), w.thousands).c_str()), kBehindColor);
    } else if (t.limit && *t.limit - t.operatingMinutes <= 60 && t.qsos > 0) {
        line(Format(w.warning, HoursMinutes(*t.limit - t.operatingMinutes).c_str()), kWarningColor);
    }

    y += kLineHeight / 2;
    const std::string problem = ReferenceProblem(reference, w);
    if (!problem.empty()) line(problem, kBehindColor);
    std::string projected;
    if (f.projected) {
        // A range closed on one figure (the contest is over, or the run
        // cannot operate any more) is that figure as it is.
        if (f.projected->low == f.projected->high)
            projected = Format(w.projected, Grouped(f.projected->projected, w.thousands).c_str());
        else
            projected = Format(w.projectedRange, Grouped(ThreeFigures(f.projected->low, false), w.thousands).c_str(),
                               Grouped(ThreeFigures(f.projected->high, true), w.thousands).c_str());
    }
    if (f.run && f.reference && f.referenceFinal) {
        const int runRight = item.left + (item.right - item.left) * 52 / 100;
        const int referenceRight = item.left + (item.right - item.left) * 77 / 100;
        const int differenceRight = item.right - kMargin;
        ops.push_back(Line(kMargin, y, Format(w.at, HoursMinutes(f.run->elapsed).c_str())));
        ops.push_back(Line(runRight, y, w.run, kTextColor, true));
        ops.push_back(Line(referenceRight, y, w.reference, kTextColor, true));
        ops.push_back(Line(differenceRight, y, w.difference, kTextColor, true));
        y += kLineHeight;
        const std::pair<const char*, std::pair<std::int64_t, std::int64_t>> rows[] = {
            {w.score, {f.run->score, f.reference->score}},
            {w.qsos, {f.run->qsos, f.reference->qsos}},
            {w.prefixes, {f.run->prefixes, f.reference->prefixes}},
        };
        for (const auto& [label, values] : rows) {
            const std::int64_t difference = values.first - values.second;
            const Rgb color = difference > 0 ? kAheadColor : difference < 0 ? kBehindColor : kTextColor;
            ops.push_back(Line(kMargin, y, label));
            ops.push_back(Line(runRight, y, Grouped(values.first, w.thousands), kTextColor, true));
            ops.push_back(Line(referenceRight, y, Grouped(values.second, w.thousands), kTextColor, true));
            ops.push_back(Line(differenceRight, y, Signed(difference, w.thousands), color, true));
            y += kLineHeight;
        }
        line(Format(w.referenceFinal, Grouped(*f.referenceFinal, w.thousands).c_str()));
    }
    if (!projected.empty()) line(projected);
    return ops;
}

std::vector<std::string> CategoryChoices(bool cyrillic) {
    const ContestWords& w = ContestTexts(cyrillic);
    return {w.categories[0], w.categories[1], w.categories[2]};
}

}  // namespace stats
