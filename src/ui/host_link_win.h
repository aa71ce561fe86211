// The link to the host's running automation object, on the window thread.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "ui/ui_state.h"

namespace stats {

class Win32HostLink final : public IHostLink {
public:
    ~Win32HostLink() override;
    // Looks up the host's class, initialises COM for this thread (single-threaded
    // apartment) and takes the running instance, if any.
    void Connect() override;
    // Drops the link and undoes this thread's COM initialisation.
    void Disconnect();
    // Forgets the link without a call: releasing a proxy and uninitialising COM
    // both wait for the host's thread, which is blocked while it unloads the
    // library. The references go when the thread ends.
    void Abandon();
    bool Connected() const override { return dispatch_ != nullptr; }
    void SendMacro(const std::string& macro) override;
    double GetFrequency() override;
    std::string GetEntryField(int field) override;

private:
    VARIANT Invoke(DISPID id, WORD flags, VARIANT* args, UINT count);

    IDispatch* dispatch_ = nullptr;
    bool comInitialised_ = false;
};

}  // namespace stats
