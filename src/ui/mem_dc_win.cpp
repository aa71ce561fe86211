#include "ui/mem_dc_win.h"

#include <string>

namespace stats {

CMemDC::CMemDC(HDC target) : target_(target) {
    memory_ = CreateCompatibleDC(target);
    GetClipBox(target, &area_);
    bitmap_ = CreateCompatibleBitmap(target, area_.right - area_.left, area_.bottom - area_.top);
    oldBitmap_ = static_cast<HBITMAP>(SelectObject(memory_, bitmap_));
    SetWindowOrgEx(memory_, area_.left, area_.top, nullptr);
}

CMemDC::~CMemDC() {
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memory_, area_.left,
           area_.top, SRCCOPY);
    SelectObject(memory_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
}

void CMemDC::Paint(const std::vector<DrawOp>& ops, HFONT font, bool cyrillic) {
    HGDIOBJ oldFont = font != nullptr ? SelectObject(memory_, font) : nullptr;
    for (const DrawOp& op : ops) {
        if (op.kind == DrawOp::kFill) {
            const RECT r{op.rect.left, op.rect.top, op.rect.right, op.rect.bottom};
            HBRUSH brush = CreateSolidBrush(RGB(op.color.r, op.color.g, op.color.b));
            FillRect(memory_, &r, brush);
            DeleteObject(brush);
        } else {
            SetBkMode(memory_, TRANSPARENT);
            SetTextColor(memory_, RGB(op.color.r, op.color.g, op.color.b));
            SetTextAlign(memory_, op.alignRight ? TA_RIGHT | TA_TOP : TA_LEFT | TA_TOP);
            if (cyrillic) {
                const int size = static_cast<int>(op.text.size());
                const int n = MultiByteToWideChar(1251, 0, op.text.data(), size, nullptr, 0);
                std::wstring wide(static_cast<std::size_t>(n), L'\0');
                MultiByteToWideChar(1251, 0, op.text.data(), size, wide.data(), n);
                TextOutW(memory_, op.x, op.y, wide.c_str(), n);
            } else {
                TextOutA(memory_, op.x, op.y, op.text.c_str(), static_cast<int>(op.text.size()));
            }
        }
    }
    if (oldFont != nullptr) SelectObject(memory_, oldFont);
}

void PaintPanel(HDC target, const std::vector<DrawOp>& ops, HFONT font, bool cyrillic) {
    CMemDC memory(target);
    memory.Paint(ops, font, cyrillic);
}

}  // namespace stats
