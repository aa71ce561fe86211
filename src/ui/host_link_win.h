// The link to the host's running automation object, on the window thread.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <objidl.h>

#include <atomic>

#include "ui/ui_state.h"

namespace stats {

class Win32HostLink final : public IHostLink {
public:
    // While `cancel` is set, a call waiting for the host is given up as soon
    // as a message reaches the thread (a stop posts one): the host may be
    // the very thread that waits for this one to end.
    explicit Win32HostLink(const std::atomic<bool>& cancel) : filter_(cancel) {}
    ~Win32HostLink() override;
    // Looks up the host's class, initialises COM for this thread (single-threaded
    // apartment) and takes the running instance, if any.
    void Connect() override;
    // Drops the link and undoes this thread's COM initialisation.
    void Disconnect();
    // Forgets the link without a call: releasing a proxy and uninitialising COM
    // both wait for the host's thread, which is blocked while it unloads the
    // library. True when a reference to the host was left behind, which the
    // thread must then never give back (see Win32WindowThread::Run).
    bool Abandon();
    bool Connected() const override { return dispatch_ != nullptr; }
    void SendMacro(const std::string& macro) override;
    double GetFrequency() override;
    std::string GetEntryField(int field) override;

private:
    // The apartment's message filter; it lives as long as the link and is
    // withdrawn before the link goes.
    class CancelFilter final : public IMessageFilter {
    public:
        explicit CancelFilter(const std::atomic<bool>& cancel) : cancel_(cancel) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
        DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override;
        DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override;

    private:
        const std::atomic<bool>& cancel_;
    };

    VARIANT Invoke(DISPID id, WORD flags, VARIANT* args, UINT count);
    void WithdrawFilter();

    CancelFilter filter_;
    IDispatch* dispatch_ = nullptr;
    bool comInitialised_ = false;
    bool filterRegistered_ = false;
};

}  // namespace stats
