// Fuzz target: the reader of a pace curve, the reference file the contest
// view reads on the operator's word. The whole input is the file.
//
// Checked on every input, beside the sanitizers' own checks:
//   - a curve read has rows, their minutes rise and no figure is negative;
//     written out again it reads back the same;
//   - the figures between two rows lie between theirs, and a projection from
//     any of its rows is never negative;
//   - a file that is no curve is refused for a line the file has.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "contest/pace_curve.h"
#include "fuzz_support.h"

namespace {

using fuzz::Fail;

bool SameRows(const stats::PaceCurve& a, const stats::PaceCurve& b) {
    if (a.cw != b.cw || a.rows.size() != b.rows.size()) return false;
    for (std::size_t i = 0; i < a.rows.size(); ++i) {
        const stats::PaceRow &x = a.rows[i], &y = b.rows[i];
        if (x.elapsed != y.elapsed || x.qsos != y.qsos || x.points != y.points || x.prefixes != y.prefixes ||
            x.score != y.score || x.operating != y.operating)
            return false;
    }
    return true;
}

bool Between(std::int64_t v, std::int64_t a, std::int64_t b) { return v >= std::min(a, b) && v <= std::max(a, b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const std::string text(content);
    const stats::PaceReadResult read = stats::ReadPaceCurve(content);
    if (!read.curve) {
        const std::size_t lines = static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) + 1;
        if (read.error.line > lines) Fail("an error names a line the file does not have", text);
        return 0;
    }
    const stats::PaceCurve& curve = *read.curve;
    if (curve.rows.empty()) Fail("a curve without rows", text);
    for (std::size_t i = 0; i < curve.rows.size(); ++i) {
        const stats::PaceRow& r = curve.rows[i];
        if (r.elapsed < 0 || r.qsos < 0 || r.points < 0 || r.prefixes < 0 || r.score < 0 || r.operating < 0)
            Fail("a negative figure", text);
        if (i > 0 && r.elapsed <= curve.rows[i - 1].elapsed) Fail("minutes that do not rise", text);
    }
    const stats::PaceReadResult again = stats::ReadPaceCurve(stats::WritePaceCurve(curve));
    if (!again.curve || !SameRows(curve, *again.curve)) Fail("the curve written out reads back otherwise", text);

    for (std::size_t i = 0; i < curve.rows.size() && i < 64; ++i) {
        const stats::PaceRow& a = curve.rows[i];
        const stats::PaceRow& b = curve.rows[std::min(i + 1, curve.rows.size() - 1)];
        const stats::PaceRow at = stats::PaceAt(curve, a.elapsed + (b.elapsed - a.elapsed) / 2);
        if (!Between(at.score, a.score, b.score) || !Between(at.qsos, a.qsos, b.qsos) ||
            !Between(at.prefixes, a.prefixes, b.prefixes) || !Between(at.operating, a.operating, b.operating))
            Fail("figures between two rows outside theirs", text);
        const auto projected = stats::ProjectFinalScore(a, i % 2 ? &curve : nullptr, curve, b.operating);
        if (projected && (projected->low < 0 || projected->projected < 0 || projected->high < 0))
            Fail("a negative projection", text);
        if (projected && !(projected->low <= projected->projected && projected->projected <= projected->high))
            Fail("a projection outside its range", text);
    }
    return 0;
}
