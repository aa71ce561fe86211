// libStats.so driven through its exported functions only, as a host drives it.
#include <dlfcn.h>

#include <filesystem>

#include "plugin/exports.h"
#include "test_support.h"

using namespace stats::test;

namespace {

class SharedLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(STATS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    void TearDown() override {
        if (handle) dlclose(handle);
    }
    template <typename F>
    F* Get(const char* name) {
        void* f = dlsym(handle, name);
        EXPECT_NE(f, nullptr) << name;
        return reinterpret_cast<F*>(f);
    }

    ScratchDir dir;
    void* handle = nullptr;
};

TEST_F(SharedLibrary, SmallEntryPoints) {
    EXPECT_EQ(Get<decltype(GetNumberOfSets)>("GetNumberOfSets")(), 1);
    auto name = Get<decltype(GetSetName)>("GetSetName");
    EXPECT_STREQ(name(0), "CQ-WPX-CW/SSB (C)");
    EXPECT_STREQ(name(1), "");
    EXPECT_STREQ(name(-1), "");
    EXPECT_EQ(Get<decltype(GetExchgCount0)>("GetExchgCount0")(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(Get<decltype(setVersion)>("setVersion")(nullptr), 0ul);

    auto valid = Get<decltype(IsValidExchg0)>("IsValidExchg0");
    for (const char* ok : {"01", "123", "0599", "9999", "1599"}) EXPECT_EQ(valid(ok, nullptr, nullptr, nullptr, 0, 0, 0), 1) << ok;
    for (const char* bad : {"599", "1", "12345", "1a", "", "\xb9\xb9", " 12"})
        EXPECT_EQ(valid(bad, nullptr, nullptr, nullptr, 0, 0, 0), 0) << bad;
    EXPECT_EQ(valid(nullptr, nullptr, nullptr, nullptr, 0, 0, 0), 0);
}

TEST_F(SharedLibrary, NullPointersNeverCrashIt) {
    auto reset = Get<decltype(ResetStats0)>("ResetStats0");
    auto add = Get<decltype(AddData0)>("AddData0");
    auto remove = Get<decltype(RemoveData0)>("RemoveData0");
    auto check = Get<decltype(CheckCall0)>("CheckCall0");
    auto result = Get<decltype(GetResult0)>("GetResult0");

    EXPECT_NE(result(nullptr), nullptr) << "a result before any reset";
    EXPECT_EQ(reset(nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr),
              1);
    EXPECT_EQ(add(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr,
                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(remove(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr, nullptr, nullptr),
              1);
    EXPECT_EQ(check(nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    nullptr, nullptr, nullptr),
              4);
    int out = 0;
    const std::string text = result(&out);
    EXPECT_EQ(out, -1);
    EXPECT_EQ(text.substr(0, 25), "  CQ-WPX-SSB Contest - \r\n");
    EXPECT_EQ(ReadFile("BadQSO_StatsWPXSSB_.txt"), "CQ-WPX-SSB TEST UBN file \r\n");
}

TEST_F(SharedLibrary, AWholeRunWithTheHostsArgumentLists) {
    std::filesystem::create_directory("Plugins");
    auto reset = Get<decltype(ResetStats0)>("ResetStats0");
    auto add = Get<decltype(AddData0)>("AddData0");
    auto check = Get<decltype(CheckCall0)>("CheckCall0");
    auto result = Get<decltype(GetResult0)>("GetResult0");

    HostDateTime start = At(2021, 5, 29), end = At(2021, 5, 30);
    reset("", 0, "UA3ABC", &start, &end, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
          nullptr, "UA", 0, 0, 0, 0.0, 0.0, nullptr, "EU", nullptr);
    auto qso = [&](const char* call, const char* band, int minute, const char* prefix, const char* country,
                   const char* continent) {
        HostDateTime t = At(2021, 5, 29, 10, minute);
        return add("UA3ABC", call, &t, nullptr, nullptr, nullptr, 0, 14025000, "CW", "599", "599", "001", "002",
                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, prefix, country, 0, 0, 0,
                   0.0, 0.0, nullptr, continent, nullptr, band, nullptr);
    };
    EXPECT_EQ(qso("DL1AAA", "40m", 0, "DL1", "DL", "EU"), 1);
    EXPECT_EQ(qso("K1ZZ", "20m", 30, "K1", "K", "NA"), 1);
    EXPECT_EQ(qso("K1ZZ", "30m", 31, "K1", "K", "NA"), 0);
    EXPECT_EQ(check("K1ZZ", 0, 0, "CW", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "K1",
                    "K", 0, 0, 0, 0.0, 0.0, nullptr, "NA", nullptr, nullptr, nullptr, "20m", "20m", nullptr, nullptr),
              0);
    const std::string text = result(nullptr);
    EXPECT_NE(text.find("40m\t 1\t  2\r\n20m\t 1\t  3\r\nTotal\t 2\t  5\t    2\r\nDupe\t 0\r\nBad QSO\t 1\r\n"
                        "Score = 5 * 2  = 10 \r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(ReadFile("Plugins/CQ-WPX-CW-SSB.ini"), "[Settings]\r\nStart=1\r\nClaimed=10\r\n");
}

}  // namespace
