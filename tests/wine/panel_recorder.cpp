#include "panel_recorder.h"

#include <cstring>
#include <map>
#include <mutex>

namespace wine_tests {

namespace {

struct Recording {
    std::mutex guard;
    std::map<HDC, Picture> painting;  // by off-screen context, until its copy to the screen
    std::vector<Picture> shown;
};

// Never destroyed: the window thread may paint while the process ends.
Recording& TheRecording() {
    static auto* recording = new Recording;
    return *recording;
}

int WINAPI RecordFillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    LOGBRUSH logBrush{};
    GetObjectW(brush, sizeof logBrush, &logBrush);
    const Rgb colour{GetRValue(logBrush.lbColor), GetGValue(logBrush.lbColor), GetBValue(logBrush.lbColor)};
    if (rect != nullptr) {
        Recording& r = TheRecording();
        std::lock_guard<std::mutex> lock(r.guard);
        if (rect->left == 0 && rect->top == 0)
            r.painting[dc] = Picture{colour, *rect, {}, {}};
        else
            r.painting[dc].fills.push_back(DrawnFill{*rect, colour});
    }
    return FillRect(dc, rect, brush);
}

BOOL WINAPI RecordTextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    {
        Recording& r = TheRecording();
        std::lock_guard<std::mutex> lock(r.guard);
        r.painting[dc].texts.push_back(DrawnText{x, y, std::string(text ? text : "", text ? length : 0)});
    }
    return TextOutA(dc, x, y, text, length);
}

BOOL WINAPI RecordBitBlt(HDC target, int x, int y, int width, int height, HDC source, int x1, int y1, DWORD rop) {
    const BOOL result = BitBlt(target, x, y, width, height, source, x1, y1, rop);
    Recording& r = TheRecording();
    std::lock_guard<std::mutex> lock(r.guard);
    const auto found = r.painting.find(source);
    if (found != r.painting.end()) {
        r.shown.push_back(std::move(found->second));
        r.painting.erase(found);
    }
    return result;
}

bool Redirect(HMODULE module, const char* library, const char* name, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name != 0;
         ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), library) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD protection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection))
                return false;
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

}  // namespace

std::string RecordPanels(HMODULE library) {
    {
        Recording& r = TheRecording();
        std::lock_guard<std::mutex> lock(r.guard);
        r.painting.clear();
        r.shown.clear();
    }
    std::string missing;
    if (!Redirect(library, "user32.dll", "FillRect", reinterpret_cast<void*>(&RecordFillRect))) missing += " FillRect";
    if (!Redirect(library, "gdi32.dll", "TextOutA", reinterpret_cast<void*>(&RecordTextOutA))) missing += " TextOutA";
    if (!Redirect(library, "gdi32.dll", "BitBlt", reinterpret_cast<void*>(&RecordBitBlt))) missing += " BitBlt";
    return missing.empty() ? std::string() : "imports not found in the library:" + missing;
}

std::optional<Picture> LastPicture(Rgb background) {
    Recording& r = TheRecording();
    std::lock_guard<std::mutex> lock(r.guard);
    for (auto p = r.shown.rbegin(); p != r.shown.rend(); ++p)
        if (p->background == background) return *p;
    return std::nullopt;
}

}  // namespace wine_tests
