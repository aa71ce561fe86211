#include "ui/host_link_win.h"

#include <objbase.h>
#include <oleauto.h>

#include <string>

namespace stats {

namespace {

constexpr DISPID kSendMacro = 16;
constexpr DISPID kFrequency = 2;
constexpr DISPID kEntryField = 8;

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const wchar_t* text, UINT length) {
    const int n = WideCharToMultiByte(CP_THREAD_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text, static_cast<int>(length), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

}  // namespace

HRESULT Win32HostLink::CancelFilter::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
        *object = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

DWORD Win32HostLink::CancelFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
    return SERVERCALL_ISHANDLED;
}

// A rejected call is not retried, as without a filter.
DWORD Win32HostLink::CancelFilter::RetryRejectedCall(HTASK, DWORD, DWORD) { return static_cast<DWORD>(-1); }

DWORD Win32HostLink::CancelFilter::MessagePending(HTASK, DWORD, DWORD) {
    return cancel_.load() ? PENDINGMSG_CANCELCALL : PENDINGMSG_WAITDEFPROCESS;
}

Win32HostLink::~Win32HostLink() { Disconnect(); }

void Win32HostLink::WithdrawFilter() {
    // The apartment would otherwise keep a pointer to this link's filter, and
    // release it when the thread ends, maybe after the library is gone.
    if (filterRegistered_) CoRegisterMessageFilter(nullptr, nullptr);
    filterRegistered_ = false;
}

void Win32HostLink::Connect() {
    Disconnect();
    CLSID clsid;
    const bool registered = SUCCEEDED(CLSIDFromProgID(L"Zelk2.Application", &clsid));
    comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!registered) return;
    filterRegistered_ = SUCCEEDED(CoRegisterMessageFilter(&filter_, nullptr));
    IUnknown* running = nullptr;
    if (FAILED(GetActiveObject(clsid, nullptr, &running)) || running == nullptr) return;
    void* dispatch = nullptr;
    if (SUCCEEDED(running->QueryInterface(IID_IDispatch, &dispatch))) dispatch_ = static_cast<IDispatch*>(dispatch);
    running->Release();
}

bool Win32HostLink::Abandon() {
    WithdrawFilter();  // a call into the apartment only, never into the host
    const bool left = dispatch_ != nullptr;
    dispatch_ = nullptr;
    comInitialised_ = false;
    return left;
}

void Win32HostLink::Disconnect() {
    if (dispatch_ != nullptr) dispatch_->Release();
    dispatch_ = nullptr;
    WithdrawFilter();
    if (comInitialised_) CoUninitialize();
    comInitialised_ = false;
}

VARIANT Win32HostLink::Invoke(DISPID id, WORD flags, VARIANT* args, UINT count) {
    DISPPARAMS params{args, nullptr, count, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO error{};
    const HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &error, nullptr);
    if (FAILED(hr)) {
        if (error.bstrSource) SysFreeString(error.bstrSource);
        if (error.bstrDescription) SysFreeString(error.bstrDescription);
        if (error.bstrHelpFile) SysFreeString(error.bstrHelpFile);
        VariantClear(&result);
        throw HostLinkError("The logging program did not answer (error 0x" + [&] {
            char text[16];
            wsprintfA(text, "%08lX", static_cast<unsigned long>(hr));
            return std::string(text);
        }() + ").");
    }
    return result;
}

void Win32HostLink::SendMacro(const std::string& macro) {
    if (dispatch_ == nullptr) return;
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocString(Wide(macro).c_str());
    try {
        VARIANT result = Invoke(kSendMacro, DISPATCH_METHOD, &arg, 1);
        VariantClear(&result);
    } catch (...) {
        VariantClear(&arg);
        throw;
    }
    VariantClear(&arg);
}

double Win32HostLink::GetFrequency() {
    if (dispatch_ == nullptr) return 0.0;
    VARIANT result = Invoke(kFrequency, DISPATCH_PROPERTYGET, nullptr, 0);
    double hertz = 0.0;
    if (SUCCEEDED(VariantChangeType(&result, &result, 0, VT_R8))) hertz = result.dblVal;
    VariantClear(&result);
    return hertz;
}

std::string Win32HostLink::GetEntryField(int field) {
    if (dispatch_ == nullptr) return std::string();
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = field;
    VARIANT result = Invoke(kEntryField, DISPATCH_METHOD, &arg, 1);
    std::string text;
    if (SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR)) && result.bstrVal != nullptr)
        text = Narrow(result.bstrVal, SysStringLen(result.bstrVal));
    VariantClear(&result);
    return text;
}

}  // namespace stats
