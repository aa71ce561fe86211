#include "ui/mem_dc_win.h"

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

void CMemDC::Paint(const std::vector<DrawOp>& ops) {
    for (const DrawOp& op : ops) {
        if (op.kind == DrawOp::kFill) {
            const RECT r{op.rect.left, op.rect.top, op.rect.right, op.rect.bottom};
            HBRUSH brush = CreateSolidBrush(RGB(op.color.r, op.color.g, op.color.b));
            FillRect(memory_, &r, brush);
            DeleteObject(brush);
        } else {
            SetBkMode(memory_, TRANSPARENT);
            TextOutA(memory_, op.x, op.y, op.text.c_str(), static_cast<int>(op.text.size()));
        }
    }
}

void PaintPanel(HDC target, const std::vector<DrawOp>& ops) {
    CMemDC memory(target);
    memory.Paint(ops);
}

}  // namespace stats
