#include "ui/info_panel.h"

#include <algorithm>

namespace stats {

namespace {
DrawOp Fill(const PanelRect& r, Rgb color) { return DrawOp{DrawOp::kFill, r, color, 0, 0, {}}; }
DrawOp Text(int x, int y, std::string text) { return DrawOp{DrawOp::kText, {}, {0, 0, 0}, x, y, std::move(text)}; }
}  // namespace

std::vector<DrawOp> PrefixGridPicture(const PanelRect& item, std::vector<std::string> prefixes, int currentBand) {
    std::vector<DrawOp> ops{Fill(item, kWindowBackground)};
    if (currentBand < 0) return ops;  // nothing to show before the radio's band is known

    // Byte order, as unsigned characters.
    std::sort(prefixes.begin(), prefixes.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
    });
    int x = 5, y = 0;
    for (std::string& prefix : prefixes) {
        ops.push_back(Text(x, y, std::move(prefix)));
        x += 40;
        if (x > item.right - 40) {
            y += 15;
            x = 5;
        }
    }
    return ops;
}

std::vector<DrawOp> PrevQsoPicture(const PanelRect& item, const std::vector<std::vector<std::string>>& rows,
                                   const std::string& entryCall, int currentBand) {
    std::vector<DrawOp> ops{Fill(item, kTableBackground)};
    const int h = item.bottom / 7;
    if (currentBand >= 0)
        ops.push_back(Fill(PanelRect{0, (currentBand + 1) * h + 10, item.right, (currentBand + 2) * h}, kCurrentBandRow));
    ops.push_back(Text(20, 14, "Band"));
    ops.push_back(Text(100, 14, "Mode"));
    ops.push_back(Text(160, 0, entryCall.empty() ? "CALL" : entryCall));
    ops.push_back(Text(178, 14, "Time"));
    ops.push_back(Text(263, 14, "NR"));
    static const std::string kNone;
    for (int k = 1; k <= 6 && k <= static_cast<int>(rows.size()); ++k) {
        const std::vector<std::string>& row = rows[static_cast<std::size_t>(k - 1)];
        auto cell = [&](std::size_t i) -> const std::string& { return i < row.size() ? row[i] : kNone; };
        const int y = 10 + k * h;
        ops.push_back(Text(20, y, cell(0)));
        ops.push_back(Text(100, y, cell(1)));
        ops.push_back(Text(180, y, cell(2)));
        ops.push_back(Text(260, y, cell(3)));
    }
    return ops;
}

}  // namespace stats
