#include "ui/scoreboard_win.h"

#include <dpapi.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "contest/text_util.h"
#include "plugin/plugin.h"
#include "reports/scoreboard_document.h"
#include "resource.h"
#include "ui/refresh_cycle.h"
#include "ui/ui_thread_win.h"
#include "ui/window_text_win.h"

namespace stats {

namespace {

constexpr DWORD kNetworkTimeoutMs = 15000;  // each of resolve, connect, send and receive
constexpr std::size_t kLongestAnswer = 4096;  // read of the board's answer
// How long an unload waits for a post to give up, from the cancel on; the
// window thread's stop runs meanwhile, and the whole unload stays under a
// second. Where the system cancels the call (closing its handle) the thread
// ends in a few milliseconds; where it does not (wine), the thread is frozen.
constexpr auto kStopTimeout = std::chrono::milliseconds(400);

constexpr const char kEnabledKey[] = "scoreboard_post";
constexpr const char kAddressKey[] = "scoreboard_address";
constexpr const char kUserKey[] = "scoreboard_user";
constexpr const char kPasswordKey[] = "scoreboard_password";
constexpr const char kCategoryKey[] = "contest_category";  // the contest view's choice
constexpr const char kCountryFile[] = "cty.dat";

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), n, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(n - 1));
    return narrow;
}

// A password's plain text does not outlive its use.
void Wipe(std::string& text) {
    if (!text.empty()) SecureZeroMemory(text.data(), text.size());
    text.clear();
}

std::int64_t ClockSeconds() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    const double date = OleDateFromFields(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, 0);
    return OleDateMinute(OleDateTime::Valid(date)).value_or(0) * 60 + now.wSecond;
}

PostOutcome FailureOf(DWORD error, const std::string& host) {
    PostOutcome o;
    o.host = host;
    o.systemError = error;
    switch (error) {
        case ERROR_WINHTTP_TIMEOUT:
            o.kind = PostOutcome::kNoAnswer;
            break;
        case ERROR_WINHTTP_CANNOT_CONNECT:
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        case ERROR_WINHTTP_CONNECTION_ERROR:
            o.kind = PostOutcome::kNoConnection;
            break;
        default:
            o.kind = PostOutcome::kFailed;
            break;
    }
    return o;
}

}  // namespace

// ---- The posting thread ----

Win32ScorePoster::Win32ScorePoster() : wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

Win32ScorePoster::~Win32ScorePoster() {
    if (thread_ != nullptr) CloseHandle(thread_);
    if (wake_ != nullptr) CloseHandle(wake_);
}

bool Win32ScorePoster::Send(PostRequest request, HWND notify, UINT message) {
    if (stopping_.load() || wake_ == nullptr || busy_.exchange(true)) return false;
    {
        std::lock_guard<std::mutex> lock(guard_);
        job_ = std::move(request);
        outcome_.reset();
        notify_ = notify;
        message_ = message;
    }
    if (thread_ == nullptr) {
        // Started on the window thread, never in a call of the host's.
        running_.store(true);
        thread_ = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
        if (thread_ == nullptr) {
            running_.store(false);
            std::lock_guard<std::mutex> lock(guard_);
            job_.reset();
            busy_.store(false);
            return false;
        }
    }
    SetEvent(wake_);
    return true;
}

std::optional<PostOutcome> Win32ScorePoster::TakeOutcome() {
    std::lock_guard<std::mutex> lock(guard_);
    std::optional<PostOutcome> taken = std::move(outcome_);
    outcome_.reset();
    return taken;
}

DWORD WINAPI Win32ScorePoster::ThreadProc(LPVOID self) {
    static_cast<Win32ScorePoster*>(self)->Run();
    return 0;
}

void Win32ScorePoster::Run() {
    try {
        while (!stopping_.load()) {
            WaitForSingleObject(wake_, INFINITE);
            std::optional<PostRequest> job;
            {
                std::lock_guard<std::mutex> lock(guard_);
                job.swap(job_);
            }
            if (stopping_.load()) break;
            if (!job) continue;
            PostOutcome outcome = Post(*job);
            Wipe(job->password);
            if (stopping_.load()) break;  // given up for the unload: nobody reads it
            HWND notify = nullptr;
            UINT message = 0;
            {
                std::lock_guard<std::mutex> lock(guard_);
                outcome_ = std::move(outcome);
                notify = notify_;
                message = message_;
            }
            busy_.store(false);
            // A window that has gone meanwhile is no window: the post fails quietly.
            if (notify != nullptr) PostMessageA(notify, message, 0, 0);
        }
    } catch (...) {
        // Nothing may escape a thread of the host's process.
    }
    busy_.store(false);
    running_.store(false);  // after this the unload may let the library go
}

bool Win32ScorePoster::Keep(HINTERNET& slot, HINTERNET handle) {
    {
        std::lock_guard<std::mutex> lock(guard_);
        if (!stopping_.load()) {
            slot = handle;
            return true;
        }
    }
    WinHttpCloseHandle(handle);  // not under the guard, which the unload takes
    return false;
}

void Win32ScorePoster::CloseKept(HINTERNET& slot) {
    HINTERNET handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(guard_);
        handle = slot;
        slot = nullptr;
    }
    // Closed once: by this thread, or by Stop from another, which also
    // cancels a call waiting on it.
    if (handle != nullptr) WinHttpCloseHandle(handle);
}

PostOutcome Win32ScorePoster::Post(const PostRequest& r) {
    PostOutcome outcome;
    outcome.minute = r.minute;
    outcome.host = r.address.host;
    const bool credentials = r.address.CredentialsAllowed();
    outcome.withoutCredentials = !credentials && !r.user.empty();
    struct Closer {
        Win32ScorePoster& poster;
        ~Closer() {
            poster.CloseKept(poster.request_);
            poster.CloseKept(poster.connection_);
            poster.CloseKept(poster.session_);
        }
    } closer{*this};

    HINTERNET session = WinHttpOpen(L"Stats.dll", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    if (session == nullptr) return FailureOf(GetLastError(), r.address.host);
    if (!Keep(session_, session)) return outcome;
    WinHttpSetTimeouts(session, kNetworkTimeoutMs, kNetworkTimeoutMs, kNetworkTimeoutMs, kNetworkTimeoutMs);
    HINTERNET connection = WinHttpConnect(session, Wide(r.address.host).c_str(),
                                          static_cast<INTERNET_PORT>(r.address.port), 0);
    if (connection == nullptr) return FailureOf(GetLastError(), r.address.host);
    if (!Keep(connection_, connection)) return outcome;
    HINTERNET request =
        WinHttpOpenRequest(connection, L"POST", Wide(r.address.path).c_str(), nullptr, WINHTTP_NO_REFERER,
                           WINHTTP_DEFAULT_ACCEPT_TYPES, r.address.https ? WINHTTP_FLAG_SECURE : 0);
    if (request == nullptr) return FailureOf(GetLastError(), r.address.host);
    if (!Keep(request_, request)) return outcome;
    // No redirect is followed: the credentials would go with the post to
    // wherever it leads, over plain HTTP too; the status line names the
    // redirect and the operator corrects the address.
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);

    std::string headers = "Content-Type: text/xml; charset=utf-8\r\n";
    if (credentials && !r.user.empty()) headers += "Authorization: " + BasicAuthorization(r.user, r.password) + "\r\n";
    std::wstring wideHeaders = Wide(headers);
    Wipe(headers);
    const DWORD length = static_cast<DWORD>(r.body.size());
    const BOOL sent = WinHttpSendRequest(request, wideHeaders.c_str(), static_cast<DWORD>(wideHeaders.size()),
                                         const_cast<char*>(r.body.data()), length, length, 0);
    SecureZeroMemory(wideHeaders.data(), wideHeaders.size() * sizeof(wchar_t));
    if (!sent || !WinHttpReceiveResponse(request, nullptr)) return FailureOf(GetLastError(), r.address.host);

    DWORD status = 0, size = sizeof status;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                        &status, &size, WINHTTP_NO_HEADER_INDEX);
    wchar_t reason[128] = {};
    size = sizeof reason - sizeof(wchar_t);
    if (WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_TEXT, WINHTTP_HEADER_NAME_BY_INDEX, reason, &size,
                            WINHTTP_NO_HEADER_INDEX))
        outcome.reason = Narrow(reason);
    char buffer[1024];
    while (outcome.answer.size() < kLongestAnswer) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min(sizeof buffer, kLongestAnswer - outcome.answer.size()));
        if (!WinHttpReadData(request, buffer, want, &read) || read == 0) break;
        outcome.answer.append(buffer, read);
    }
    outcome.status = static_cast<int>(status);
    if (status >= 200 && status < 300)
        outcome.kind = PostOutcome::kPosted;
    else if (status == 401 || status == 403)
        outcome.kind = PostOutcome::kRefused;
    else if (status >= 300 && status < 400)
        outcome.kind = PostOutcome::kRedirect;
    else
        outcome.kind = PostOutcome::kHttpError;
    return outcome;
}

void Win32ScorePoster::Cancel() {
    if (stopping_.exchange(true)) return;
    cancelled_ = std::chrono::steady_clock::now();
    // Closing the handles from here cancels the call that waits on them.
    CloseKept(request_);
    CloseKept(connection_);
    CloseKept(session_);
    if (wake_ != nullptr) SetEvent(wake_);
}

bool Win32ScorePoster::Stop() {
    Cancel();
    // The thread's own end needs the loader's lock, which an unloading host
    // holds: its flag says when it has left the library's code.
    const auto deadline = cancelled_ + kStopTimeout;
    while (running_.load() && std::chrono::steady_clock::now() < deadline) Sleep(10);
    return !running_.load();
}

void Win32ScorePoster::Freeze() {
    // A call the system could not cancel in time: suspended, the thread never
    // returns into the library's code once the image is gone; the system ends
    // it with the process.
    if (thread_ == nullptr || !running_.load()) return;
    if (SuspendThread(thread_) == static_cast<DWORD>(-1)) return;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread_, &context);
}

// ---- The password in the settings file ----

std::string ProtectPassword(const std::string& password) {
    if (password.empty()) return std::string();
    DATA_BLOB in{static_cast<DWORD>(password.size()), reinterpret_cast<BYTE*>(const_cast<char*>(password.data()))};
    DATA_BLOB out{};
    if (!CryptProtectData(&in, L"Stats.dll scoreboard", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::string();
    std::string hex;
    hex.reserve(out.cbData * 2);
    for (DWORD i = 0; i < out.cbData; ++i) hex += Format("%02X", out.pbData[i]);
    LocalFree(out.pbData);
    return hex;
}

std::string UnprotectPassword(const std::string& stored) {
    if (stored.empty() || stored.size() % 2 != 0) return std::string();
    std::vector<BYTE> bytes;
    bytes.reserve(stored.size() / 2);
    for (std::size_t i = 0; i < stored.size(); i += 2) {
        const std::string pair = stored.substr(i, 2);
        if (pair.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos) return std::string();
        bytes.push_back(static_cast<BYTE>(std::stoi(pair, nullptr, 16)));
    }
    DATA_BLOB in{static_cast<DWORD>(bytes.size()), bytes.data()};
    DATA_BLOB out{};
    // Another user's or another computer's value cannot be read: no password.
    if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::string();
    std::string password(reinterpret_cast<const char*>(out.pbData), out.cbData);
    SecureZeroMemory(out.pbData, out.cbData);
    LocalFree(out.pbData);
    return password;
}

// ---- The window thread's side ----

ScoreboardPosting::ScoreboardPosting(UiContext& context) : context_(context) {
    const SettingsKeys settings = context_.plugin.Settings();
    address_ = settings.Read(kAddressKey);
    if (address_.empty()) address_ = KnownBoards().front();
    user_ = settings.Read(kUserKey);
    password_ = UnprotectPassword(settings.Read(kPasswordKey));
    const bool enabled = settings.ReadInt(kEnabledKey) != 0 && ParseBoardAddress(address_).has_value();
    schedule_.SetEnabled(enabled);
    outcome_.kind = enabled ? PostOutcome::kWaiting : PostOutcome::kOff;
}

std::string ScoreboardPosting::StatusLine() const {
    return ScoreboardStatusLine(outcome_, CurrentLanguage(context_.plugin.State()).cyrillic);
}

void ScoreboardPosting::ShowStatus() {
    const std::string line = StatusLine();
    const bool cyrillic = CurrentLanguage(context_.plugin.State()).cyrillic;
    if (statusWindow != nullptr) SetWindowTextFrom(statusWindow, line, cyrillic);
    if (boardWindow != nullptr) SetWindowTextFrom(GetDlgItem(boardWindow, IDC_SCOREBOARD_STATUS), line, cyrillic);
}

bool ScoreboardPosting::Apply(bool enabled, const std::string& address, const std::string& user,
                              const std::string& password, std::string& problem) {
    AddressProblem why = AddressProblem::kNone;
    const bool valid = ParseBoardAddress(address, &why).has_value();
    // Turning it off is never refused; the address it was last on with stays.
    if (!valid && enabled) {
        problem = AddressProblemLine(why, CurrentLanguage(context_.plugin.State()).cyrillic);
        return false;
    }
    const SettingsKeys settings = context_.plugin.Settings();
    const std::string& board = valid ? address : address_;
    const bool changed = board != address_ || user != user_ || password != password_;
    if (board != address_) schedule_.NewBoard();
    address_ = board;
    user_ = user;
    password_ = password;
    settings.Write(kAddressKey, address_);
    settings.Write(kUserKey, user_);
    settings.Write(kPasswordKey, ProtectPassword(password_));
    settings.WriteInt(kEnabledKey, enabled ? 1 : 0);
    const bool was = schedule_.Enabled();
    schedule_.SetEnabled(enabled);
    // Corrected settings are tried as soon as the board allows.
    if (enabled && changed) schedule_.PostNow();
    if (!enabled) outcome_ = PostOutcome{};
    else if (!was) outcome_.kind = PostOutcome::kWaiting;
    ShowStatus();
    Tick();
    return true;
}

void ScoreboardPosting::PostNow() {
    schedule_.PostNow();
    Tick();
}

void ScoreboardPosting::Tick() {
    Win32ScorePoster& poster = context_.thread.poster;
    if (std::optional<PostOutcome> done = poster.TakeOutcome()) {
        outcome_ = std::move(*done);
        if (!schedule_.Enabled()) outcome_ = PostOutcome{};
        ShowStatus();
    }
    if (!schedule_.Enabled()) return;
    RunState& state = context_.plugin.State();
    {
        std::lock_guard<std::mutex> lock(state.guard);
        figures_.Collect(state);
    }
    schedule_.SetPeriod(figures_.StartMinute(), figures_.EndMinute());
    const std::int64_t now = ClockSeconds();
    if (!schedule_.Due(now, poster.Busy())) return;
    const std::optional<BoardAddress> address = ParseBoardAddress(address_);
    if (!address) return;
    figures_.Digest();
    PostRequest request;
    request.address = *address;
    request.user = user_;
    if (request.user.empty()) {
        std::lock_guard<std::mutex> lock(state.guard);
        request.user = state.g_OwnCall;
    }
    request.password = password_;
    request.minute = now / 60;
    request.body = Document();
    if (!poster.Send(std::move(request), context_.setupWindow, kScoreboardDoneMessage)) return;
    outcome_ = PostOutcome{};
    outcome_.kind = PostOutcome::kSending;
    outcome_.host = address->host;
    ShowStatus();
}

std::string ScoreboardPosting::Document() {
    ScoreboardRun run;
    {
        std::lock_guard<std::mutex> lock(context_.plugin.State().guard);
        run = ScoreboardRunOf(context_.plugin.State());
    }
    // The host's country file, in its folder (the current directory), read
    // once for each own country.
    if (!zonesRead_ || zonesCountry_ != run.ownCountry) {
        zones_ = ReadCountryZones({kCountryFile}, run.ownCountry, run.ownCall);
        zonesCountry_ = run.ownCountry;
        zonesRead_ = true;
    }
    const SettingsKeys settings = context_.plugin.Settings();
    const ScoreboardStation station =
        ScoreboardStationOf(settings, run, CategoryFromNumber(settings.ReadInt(kCategoryKey)), zones_);
    SYSTEMTIME now;
    GetSystemTime(&now);
    const double date = OleDateFromFields(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    return ScoreboardDocument(station, figures_, OleDateTime::Valid(date));
}

// ---- The scoreboard window ----

namespace {

struct BoardWindow {
    UiContext& context;
    ScoreboardPosting& posting;
};

std::string ItemText(HWND window, int id) {
    HWND item = GetDlgItem(window, id);
    const int length = GetWindowTextLengthW(item);
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(item, wide.data(), length + 1);
    std::string text = Narrow(wide.c_str());
    SecureZeroMemory(wide.data(), wide.size() * sizeof(wchar_t));
    return text;
}

bool TakeSettings(HWND window, BoardWindow& b) {
    std::string password = ItemText(window, IDC_SCOREBOARD_PASSWORD);
    std::string problem;
    const bool taken = b.posting.Apply(IsDlgButtonChecked(window, IDC_SCOREBOARD_ENABLE) == BST_CHECKED,
                                       ItemText(window, IDC_SCOREBOARD_ADDRESS), ItemText(window, IDC_SCOREBOARD_USER),
                                       password, problem);
    Wipe(password);
    if (!taken)
        SetWindowTextFrom(GetDlgItem(window, IDC_SCOREBOARD_STATUS), problem,
                          CurrentLanguage(b.context.plugin.State()).cyrillic);
    return taken;
}

// Below the contest view, or above it where the screen ends, so that the view's
// figures and status line stay in sight.
void PlaceBelowOwner(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    RECT own{}, self{};
    if (owner == nullptr || !GetWindowRect(owner, &own) || !GetWindowRect(window, &self)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& area = monitor.rcWork;
    const int width = self.right - self.left, height = self.bottom - self.top;
    int y = own.bottom + 2;
    if (y + height > area.bottom) y = std::max<int>(area.top, own.top - height - 2);
    const int x = std::max<int>(area.left, std::min<int>(own.left, area.right - width));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InitialiseBoardWindow(HWND window, BoardWindow& b) {
    PlaceBelowOwner(window);
    const bool cyrillic = CurrentLanguage(b.context.plugin.State()).cyrillic;
    const ScoreboardWords& w = ScoreboardTexts(cyrillic);
    SetWindowTextFrom(window, w.title, cyrillic);
    const std::pair<int, const char*> captions[] = {
        {IDC_SCOREBOARD_ENABLE, w.enable}, {IDC_SCOREBOARD_ADDRESS_LABEL, w.board},
        {IDC_SCOREBOARD_USER_LABEL, w.user}, {IDC_SCOREBOARD_PASSWORD_LABEL, w.password},
        {IDC_SCOREBOARD_POST_NOW, w.postNow}, {IDOK, w.ok}, {IDCANCEL, w.cancel}};
    for (const auto& [id, text] : captions) SetWindowTextFrom(GetDlgItem(window, id), text, cyrillic);
    CheckDlgButton(window, IDC_SCOREBOARD_ENABLE, b.posting.Enabled() ? BST_CHECKED : BST_UNCHECKED);
    HWND boards = GetDlgItem(window, IDC_SCOREBOARD_ADDRESS);
    for (const std::string& board : KnownBoards())
        SendMessageW(boards, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(board).c_str()));
    SetWindowTextW(boards, Wide(b.posting.Address()).c_str());
    std::string user = b.posting.User();
    if (user.empty()) {
        std::lock_guard<std::mutex> lock(b.context.plugin.State().guard);
        user = b.context.plugin.State().g_OwnCall;
    }
    SetWindowTextW(GetDlgItem(window, IDC_SCOREBOARD_USER), Wide(user).c_str());
    std::wstring password = Wide(b.posting.Password());
    SetWindowTextW(GetDlgItem(window, IDC_SCOREBOARD_PASSWORD), password.c_str());
    SecureZeroMemory(password.data(), password.size() * sizeof(wchar_t));
    b.posting.boardWindow = window;
    SetWindowTextFrom(GetDlgItem(window, IDC_SCOREBOARD_STATUS), b.posting.StatusLine(), cyrillic);
    if (b.context.icon != nullptr) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(b.context.icon));
}

INT_PTR CALLBACK BoardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* b = reinterpret_cast<BoardWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    try {
        switch (message) {
            case WM_INITDIALOG:
                SetWindowLongPtrA(window, DWLP_USER, lParam);
                InitialiseBoardWindow(window, *reinterpret_cast<BoardWindow*>(lParam));
                return TRUE;
            case WM_COMMAND:
                if (b == nullptr) return TRUE;
                switch (LOWORD(wParam)) {
                    case IDOK:
                        // The stop of an unload presses OK on every box it finds:
                        // nothing is taken then.
                        if (b->context.thread.Stopping().load() || TakeSettings(window, *b)) EndDialog(window, IDOK);
                        break;
                    case IDCANCEL:
                        EndDialog(window, IDCANCEL);
                        break;
                    case IDC_SCOREBOARD_POST_NOW:
                        if (HIWORD(wParam) == BN_CLICKED && TakeSettings(window, *b)) b->posting.PostNow();
                        break;
                    default:
                        break;
                }
                return TRUE;
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                if (b != nullptr && b->context.brush != nullptr) {
                    HDC dc = reinterpret_cast<HDC>(wParam);
                    SetTextColor(dc, RGB(0, 0, 0));
                    SetBkColor(dc, RGB(kWindowBackground.r, kWindowBackground.g, kWindowBackground.b));
                    return reinterpret_cast<INT_PTR>(b->context.brush);
                }
                return FALSE;
            case WM_DESTROY:
                if (b != nullptr) b->posting.boardWindow = nullptr;
                return FALSE;
            default:
                return FALSE;
        }
    } catch (...) {
    }
    return TRUE;
}

}  // namespace

void RunScoreboardWindow(HWND owner, UiContext& context) {
    if (context.scoreboard == nullptr || context.scoreboard->boardWindow != nullptr) return;
    BoardWindow b{context, *context.scoreboard};
    DialogBoxParamW(context.module, MAKEINTRESOURCEW(IDD_SCOREBOARD), owner, BoardProc, reinterpret_cast<LPARAM>(&b));
}

}  // namespace stats
