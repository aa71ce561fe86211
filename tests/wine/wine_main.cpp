// The Windows test host: takes the path of the Stats.dll under test from its
// command line (after GoogleTest's own options) or from STATS_DLL, and exits
// nonzero when a test fails.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "stats_dll.h"
#include "ui_support.h"
#include "unload_host.h"

int main(int argc, char** argv) {
    // stats_wine_tests --unload-host <window|bare|board> <times> <Stats.dll>: a bare
    // host process, before anything of the test program has run.
    if (argc == 5 && std::string(argv[1]) == "--unload-host") {
        char full[MAX_PATH + 1] = {};
        GetFullPathNameA(argv[4], sizeof full, full, nullptr);
        const std::string kind = argv[2];
        return wine_tests::RunUnloadHost({full, kind == "window", std::atoi(argv[3]), kind == "board"});
    }
    testing::InitGoogleTest(&argc, argv);

    std::string path;
    if (argc > 1) {
        path = argv[1];
    } else if (const char* env = std::getenv("STATS_DLL")) {
        path = env;
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: stats_wine_tests [gtest options] <path of Stats.dll> (or set STATS_DLL)\n");
        return 2;
    }
    // The tests change the current directory: fix the path first. Under wine a
    // Unix path resolves on the drive of the current directory (Z:).
    char full[MAX_PATH + 1] = {};
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n > MAX_PATH || GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "Stats.dll not found: %s\n", path.c_str());
        return 2;
    }
    wine_tests::SetDllPath(full);
    std::printf("Stats.dll under test: %s\n", full);
    // Where the window tests keep their screenshots; a Unix path, resolved
    // like the library's before the tests change the current directory.
    if (const char* artifacts = std::getenv("STATS_ARTIFACTS")) {
        char folder[MAX_PATH + 1] = {};
        const DWORD length = GetFullPathNameA(artifacts, sizeof folder, folder, nullptr);
        if (length > 0 && length <= MAX_PATH) wine_tests::SetArtifactsFolder(folder);
    }
    const int result = RUN_ALL_TESTS();
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "no test matches the filter\n");
        return 1;
    }
    return result;
}
