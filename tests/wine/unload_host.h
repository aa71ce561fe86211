// The unload host: this test program started again as a bare host process
// (see unload_host.cpp); the window suite runs it and reads its exit code.
#pragma once

#include <string>

namespace wine_tests {

struct UnloadHostOptions {
    std::string dllPath;
    bool ownWindow = false;
    int times = 1;
    // Posting on, to a board on this machine that accepts and never answers;
    // each unload waits for the post to be in flight first.
    bool silentBoard = false;
};

// 0 when every unload took under 1 s, 1 when one did not, 2 when the run failed.
int RunUnloadHost(const UnloadHostOptions& options);

}  // namespace wine_tests
