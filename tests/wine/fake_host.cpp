#include "fake_host.h"

#include <objbase.h>
#include <oleauto.h>

#include <atomic>
#include <mutex>

namespace wine_tests {

namespace {

// The stand-in's own class id; only this test host registers it.
constexpr CLSID kHostClsid = {0x6c2b7f1e, 0x3a5d, 0x4e8b, {0x9f, 0x21, 0x5a, 0x7c, 0x0d, 0x4e, 0x1b, 0x93}};
constexpr wchar_t kHostClsidText[] = L"{6C2B7F1E-3A5D-4E8B-9F21-5A7C0D4E1B93}";
constexpr wchar_t kProgIdKey[] = L"Zelk2.Application";

constexpr DISPID kSendMacro = 16;
constexpr DISPID kFrequency = 2;
constexpr DISPID kEntryField = 8;

std::string Narrow(BSTR text) {
    const int length = static_cast<int>(SysStringLen(text));
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

}  // namespace

struct FakeHost::State {
    mutable std::mutex guard;
    double frequency = 0.0;
    std::wstring entryField;
    std::vector<std::string> macros;
    int frequencyReads = 0;
    std::vector<int> entryFieldArguments;
    std::vector<std::string> unexpected;
    bool failing = false;
    HANDLE answering = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // never closed: calls may outlive the host
    std::atomic<int> waiting{0};
};

namespace {

// The automation object. Its references may outlive the FakeHost (a proxy the
// plug-in never released), so it owns a share of the state and deletes itself.
class HostObject final : public IDispatch {
public:
    explicit HostObject(std::shared_ptr<FakeHost::State> state) : state_(std::move(state)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        ++state_->waiting;
        WaitForSingleObject(state_->answering, 60000);
        --state_->waiting;
        std::lock_guard<std::mutex> lock(state_->guard);
        if (state_->failing) return E_FAIL;
        const UINT count = params ? params->cArgs : 0;
        auto unexpected = [&] {
            state_->unexpected.push_back("dispatch id " + std::to_string(id) + ", flags " + std::to_string(flags) +
                                         ", " + std::to_string(count) + " arguments");
            return DISP_E_MEMBERNOTFOUND;
        };
        if (id == kSendMacro && (flags & DISPATCH_METHOD) && count == 1) {
            VARIANT text;
            VariantInit(&text);
            if (FAILED(VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR))) return unexpected();
            state_->macros.push_back(Narrow(text.bstrVal));
            VariantClear(&text);
            return S_OK;
        }
        if (id == kFrequency && (flags & DISPATCH_PROPERTYGET) && count == 0 && result != nullptr) {
            ++state_->frequencyReads;
            VariantInit(result);
            result->vt = VT_R8;
            result->dblVal = state_->frequency;
            return S_OK;
        }
        if (id == kEntryField && (flags & DISPATCH_METHOD) && count == 1 && result != nullptr) {
            VARIANT field;
            VariantInit(&field);
            if (FAILED(VariantChangeType(&field, &params->rgvarg[0], 0, VT_I4))) return unexpected();
            state_->entryFieldArguments.push_back(field.lVal);
            VariantInit(result);
            result->vt = VT_BSTR;
            const std::wstring& call = state_->entryField;
            result->bstrVal = SysAllocStringLen(call.data(), static_cast<UINT>(call.size()));
            return S_OK;
        }
        return unexpected();
    }

private:
    std::atomic<ULONG> references_{1};
    std::shared_ptr<FakeHost::State> state_;
};

}  // namespace

bool RegisterHostProgId() {
    const DWORD bytes = sizeof kHostClsidText;
    return RegSetValueW(HKEY_CLASSES_ROOT, (std::wstring(kProgIdKey) + L"\\CLSID").c_str(), REG_SZ, kHostClsidText,
                        bytes) == ERROR_SUCCESS;
}

void UnregisterHostProgId() {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (std::wstring(kProgIdKey) + L"\\CLSID").c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, kProgIdKey);
}

FakeHost::FakeHost() : state_(std::make_shared<State>()) {
    // The multithreaded apartment lives for the whole run. Wine tears an
    // apartment down only once every call into its objects has ended; after
    // the plug-in has dropped its link without a release (at unload), that
    // teardown was seen to wait for good, about once in twenty runs.
    static const HRESULT kept = [] {
        // Looked up at run time: the 32-bit MinGW import library lacks it.
        using IncrementMtaUsage = HRESULT(WINAPI*)(CO_MTA_USAGE_COOKIE*);
        const auto increment = reinterpret_cast<IncrementMtaUsage>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ole32.dll"), "CoIncrementMTAUsage")));
        CO_MTA_USAGE_COOKIE cookie = nullptr;
        return increment != nullptr ? increment(&cookie) : E_NOTIMPL;
    }();
    if (FAILED(kept)) {
        error_ = "CoIncrementMTAUsage failed";
        return;
    }
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    if (thread_ == nullptr) {
        error_ = "cannot start the host object's thread";
        return;
    }
    HANDLE waits[] = {ready_, thread_};
    if (WaitForMultipleObjects(2, waits, FALSE, 10000) != WAIT_OBJECT_0 && error_.empty())
        error_ = "the host object's thread did not get ready";
}

FakeHost::~FakeHost() {
    if (thread_ != nullptr) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    CloseHandle(ready_);
    CloseHandle(stop_);
}

DWORD WINAPI FakeHost::ThreadProc(LPVOID p) {
    auto* self = static_cast<FakeHost*>(p);
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
        self->error_ = "CoInitializeEx failed";
        return 1;
    }
    auto* object = new HostObject(self->state_);
    DWORD cookie = 0;
    const HRESULT hr = RegisterActiveObject(object, kHostClsid, ACTIVEOBJECT_STRONG, &cookie);
    if (FAILED(hr)) {
        char text[64];
        wsprintfA(text, "RegisterActiveObject failed: 0x%08lX", static_cast<unsigned long>(hr));
        self->error_ = text;
        object->Release();
        CoUninitialize();
        return 1;
    }
    SetEvent(self->ready_);
    // Calls from other apartments are served by COM's own threads meanwhile.
    WaitForSingleObject(self->stop_, INFINITE);
    RevokeActiveObject(cookie, nullptr);
    object->Release();
    CoUninitialize();
    return 0;
}

void FakeHost::SetFrequency(double hertz) {
    std::lock_guard<std::mutex> lock(state_->guard);
    state_->frequency = hertz;
}

void FakeHost::SetEntryField(const std::wstring& call) {
    std::lock_guard<std::mutex> lock(state_->guard);
    state_->entryField = call;
}

void FakeHost::SetFailing(bool failing) {
    std::lock_guard<std::mutex> lock(state_->guard);
    state_->failing = failing;
}

void FakeHost::HoldAnswers() { ResetEvent(state_->answering); }
void FakeHost::AnswerAgain() { SetEvent(state_->answering); }
int FakeHost::CallsWaiting() const { return state_->waiting.load(); }

std::vector<std::string> FakeHost::Macros() const {
    std::lock_guard<std::mutex> lock(state_->guard);
    return state_->macros;
}

int FakeHost::FrequencyReads() const {
    std::lock_guard<std::mutex> lock(state_->guard);
    return state_->frequencyReads;
}

std::vector<int> FakeHost::EntryFieldArguments() const {
    std::lock_guard<std::mutex> lock(state_->guard);
    return state_->entryFieldArguments;
}

std::vector<std::string> FakeHost::UnexpectedCalls() const {
    std::lock_guard<std::mutex> lock(state_->guard);
    return state_->unexpected;
}

}  // namespace wine_tests
