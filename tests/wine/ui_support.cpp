#include "ui_support.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <thread>

namespace wine_tests {

namespace {

// Messages to another thread's window: never wait forever for a hung thread.
constexpr UINT kSendTimeoutMs = 5000;

std::string& ArtifactsFolder() {
    static std::string folder;
    return folder;
}

std::string Utf8(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
    return text;
}

// ---- PNG: 8-bit RGB, deflate with fixed codes and a small match finder. ----

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Bits(std::uint32_t value, int count) {  // least significant bit first
        acc_ |= static_cast<std::uint64_t>(value) << n_;
        n_ += count;
        while (n_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(acc_));
            acc_ >>= 8;
            n_ -= 8;
        }
    }
    void Code(std::uint32_t code, int length) {  // Huffman codes go most significant bit first
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Bits(reversed, length);
    }
    void Flush() {
        if (n_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_));
        acc_ = 0;
        n_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t acc_ = 0;
    int n_ = 0;
};

void Symbol(BitWriter& w, int symbol) {
    if (symbol <= 143)
        w.Code(0x30 + symbol, 8);
    else if (symbol <= 255)
        w.Code(0x190 + symbol - 144, 9);
    else if (symbol <= 279)
        w.Code(symbol - 256, 7);
    else
        w.Code(0xC0 + symbol - 280, 8);
}

void Match(BitWriter& w, int length, int distance) {
    // The length and distance codes' bases and extra bits.
    static const int lengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10,  11,  13,  15,  17,  19,  23, 27,
                                     31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int lengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static const int distanceBase[] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                       33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                       1025, 1537, 2049, 3073, 4097, 6145,  8193,  12289, 16385, 24577};
    static const int distanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    int l = 28;
    while (lengthBase[l] > length) --l;
    Symbol(w, 257 + l);
    w.Bits(static_cast<std::uint32_t>(length - lengthBase[l]), lengthExtra[l]);
    int d = 29;
    while (distanceBase[d] > distance) --d;
    w.Code(static_cast<std::uint32_t>(d), 5);
    w.Bits(static_cast<std::uint32_t>(distance - distanceBase[d]), distanceExtra[d]);
}

// A zlib stream of `data`. Screenshots are mostly flat colour, so trying the
// previous pixel, the row above and the last place of the same three bytes
// finds nearly every repeat.
std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& data, int rowBytes) {
    std::vector<std::uint8_t> out{0x78, 0x01};
    BitWriter w(out);
    w.Bits(1, 1);  // final block
    w.Bits(1, 2);  // fixed codes
    const int size = static_cast<int>(data.size());
    std::vector<int> last(1 << 16, -1);
    auto hash = [&](int i) { return ((data[i] << 8) ^ (data[i + 1] << 4) ^ data[i + 2]) & 0xFFFF; };
    auto matchLength = [&](int from, int at) {
        int n = 0;
        while (n < 258 && at + n < size && data[from + n] == data[at + n]) ++n;
        return n;
    };
    int i = 0;
    while (i < size) {
        int bestLength = 0, bestDistance = 0;
        if (i + 2 < size) {
            const int candidates[] = {i - 3, i - rowBytes, last[hash(i)]};
            for (int from : candidates) {
                if (from < 0 || from >= i || i - from > 32768) continue;
                const int n = matchLength(from, i);
                if (n > bestLength) {
                    bestLength = n;
                    bestDistance = i - from;
                }
            }
        }
        const int step = bestLength >= 3 ? bestLength : 1;
        for (int k = i; k < i + step && k + 2 < size; ++k) last[hash(k)] = k;
        if (bestLength >= 3)
            Match(w, bestLength, bestDistance);
        else
            Symbol(w, data[i]);
        i += step;
    }
    Symbol(w, 256);
    w.Flush();
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const std::uint32_t adler = (b << 16) | a;
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
    return out;
}

void Chunk(std::string& png, const char* type, const std::vector<std::uint8_t>& data) {
    auto be32 = [&](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<char>(v >> shift));
    };
    be32(static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.append(reinterpret_cast<const char*>(typed.data()), typed.size());
    be32(Crc32(typed.data(), typed.size()));
}

std::string Png(const Image& image) {
    const int rowBytes = 1 + 3 * image.width;
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(rowBytes) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.At(x, y);
            raw.insert(raw.end(), {c.r, c.g, c.b});
        }
    }
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::vector<std::uint8_t> header;
    for (std::uint32_t v : {static_cast<std::uint32_t>(image.width), static_cast<std::uint32_t>(image.height)})
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<std::uint8_t>(v >> shift));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits per sample, RGB
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", Zlib(raw, rowBytes));
    Chunk(png, "IEND", {});
    return png;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        Sleep(10);
    }
}

std::string DisplayProblem() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr)
        return "no window can be created (error " + std::to_string(GetLastError()) +
               "): the window tests need an X display (DISPLAY), which the wine.xvfb test provides";
    DestroyWindow(probe);
    HDC screen = GetDC(nullptr);
    const int width = screen ? GetDeviceCaps(screen, HORZRES) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    if (width <= 0) return "the screen cannot be read";
    return std::string();
}

namespace {
struct WindowSearch {
    const std::function<bool(HWND)>* match;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwnWindow(HWND window, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && (*s->match)(window)) s->found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> OwnWindows(const std::function<bool(HWND)>& match) {
    WindowSearch search{&match, {}};
    EnumWindows(CollectOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOwnDialog(const std::string& titleStart) {
    const auto found = OwnWindows([&](HWND w) {
        return IsWindowVisible(w) && ClassOf(w) == "#32770" && Text(w).rfind(titleStart, 0) == 0;
    });
    return found.empty() ? nullptr : found.front();
}

std::string Text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &length))
        return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                             kSendTimeoutMs, &copied))
        return "<no answer>";
    text.resize(copied);
    return Utf8(text);
}

std::string ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? Text(item) : "<no control " + std::to_string(id) + ">";
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

POINT TopLeft(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{r.left, r.top};
}

RECT RectInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool IsTopMost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

bool IsChecked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &state);
    return state == BST_CHECKED;
}

void Click(HWND dialog, int id) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored);
}

void PressKey(HWND window, UINT virtualKey) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | scan);
    PostMessageW(window, WM_KEYUP, virtualKey, static_cast<LPARAM>(1 | scan | (1u << 30) | (1u << 31)));
}

bool Type(HWND edit, const std::string& text) {
    for (const char c : text) {
        if (c == '\n') {
            const std::size_t before = Text(edit).size();
            PressKey(edit, VK_RETURN);
            if (!WaitUntil([&] { return Text(edit).size() == before + 2; })) return false;
            continue;
        }
        DWORD_PTR ignored = 0;
        const WPARAM character = static_cast<unsigned char>(c);
        if (!SendMessageTimeoutW(edit, WM_CHAR, character, 1, SMTO_NORMAL, kSendTimeoutMs, &ignored)) return false;
    }
    return true;
}

std::string Show(Rgb c) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

Image CaptureScreen(const RECT& area) {
    Image image;
    image.width = std::max(0L, area.right - area.left);
    image.height = std::max(0L, area.bottom - area.top);
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, Rgb{0, 0, 0});
    if (image.pixels.empty()) return image;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, image.width, image.height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint8_t*>(bits);
        for (std::size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = Rgb{p[4 * i + 2], p[4 * i + 1], p[4 * i]};
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

void ShowNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine copies the windows' pictures to the X display when a thread of the
    // process finds its message queue empty.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
}

Image CaptureWindow(HWND window) {
    ShowNow(window);
    RECT r{};
    GetWindowRect(window, &r);
    return CaptureScreen(r);
}

Rgb ClientPixel(HWND window, int x, int y) {
    ShowNow(window);
    POINT p{x, y};
    ClientToScreen(window, &p);
    return CaptureScreen(RECT{p.x, p.y, p.x + 1, p.y + 1}).At(0, 0);
}

Image CaptureWindows(const std::vector<HWND>& windows, int margin) {
    std::vector<RECT> rects;
    RECT all{};
    for (HWND w : windows) {
        ShowNow(w);
        RECT r{};
        GetWindowRect(w, &r);
        rects.push_back(r);
        UnionRect(&all, &all, &r);
    }
    InflateRect(&all, margin, margin);
    Image image = CaptureScreen(all);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const POINT p{all.left + x, all.top + y};
            if (std::none_of(rects.begin(), rects.end(), [&](const RECT& r) { return PtInRect(&r, p); }))
                image.pixels[static_cast<std::size_t>(y) * image.width + x] = Rgb{255, 255, 255};
        }
    return image;
}

void SetArtifactsFolder(const std::string& folder) { ArtifactsFolder() = folder; }

std::string SaveArtifact(const Image& image, const std::string& name) {
    const std::string& folder = ArtifactsFolder();
    if (folder.empty() || image.pixels.empty()) return std::string();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".png";
    const std::string png = Png(image);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return std::string();
    const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok ? path : std::string();
}

HANDLE OpenThreadOf(HWND window) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return thread != 0 ? OpenThread(SYNCHRONIZE, FALSE, thread) : nullptr;
}

}  // namespace wine_tests
