// The Cabrillo header dialog on Windows: template 101 of the DLL's resources.
#pragma once

#include <windows.h>

#include "plugin/platform.h"

namespace stats {

class Win32HeaderDialog final : public IHeaderDialog {
public:
    explicit Win32HeaderDialog(HINSTANCE module) : module_(module) {}
    bool Run(CabrilloHeaderFields& fields) override;

private:
    HINSTANCE module_;
};

}  // namespace stats
