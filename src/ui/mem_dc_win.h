// An off-screen drawing context: everything drawn into it reaches the target
// in one copy when it is destroyed, so a repaint never flickers. It covers the
// target's clip box and draws in the target's coordinates.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/info_panel.h"

namespace stats {

class CMemDC {
public:
    explicit CMemDC(HDC target);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    HDC Handle() const { return memory_; }
    // Paints drawing operations: fills, and text in its colour on a transparent
    // background, in `font` (the context's own when null). Cyrillic texts are
    // code page 1251 bytes, whatever the system's own code page.
    void Paint(const std::vector<DrawOp>& ops, HFONT font = nullptr, bool cyrillic = false);

private:
    HBITMAP bitmap_ = nullptr;
    HBITMAP oldBitmap_ = nullptr;
    HDC target_;
    RECT area_{};
    HDC memory_ = nullptr;
};

// Paints a panel's picture into an owner-draw request's context.
void PaintPanel(HDC target, const std::vector<DrawOp>& ops, HFONT font = nullptr, bool cyrillic = false);

}  // namespace stats
