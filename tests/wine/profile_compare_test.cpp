// The core's initialisation-file code (used where there is no Windows profile
// API) against GetPrivateProfileStringA / WritePrivateProfileStringA on the
// same files: every read gives the same value, and after the same writes
// both files read the same, key by key. The byte layout of a write may differ
// in blanks; such differences are printed, not failed.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/ini_file.h"
#include "stats_dll.h"

namespace wine_tests {
namespace {

std::string ApiRead(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& fallback = "") {
    // Room for every value of these files: the plug-in reads values whole.
    std::vector<char> buffer(1 << 16);
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                             static_cast<DWORD>(buffer.size()), path.c_str());
    return buffer.data();
}

std::vector<std::string> SplitNulList(const char* p) {
    std::vector<std::string> items;
    for (; *p != '\0'; p += std::strlen(p) + 1) items.emplace_back(p);
    return items;
}

std::vector<std::string> ApiSections(const std::string& path) {
    std::vector<char> buffer(1 << 16);
    GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
    return SplitNulList(buffer.data());
}

std::vector<std::string> ApiKeys(const std::string& path, const std::string& section) {
    std::vector<char> buffer(1 << 16);
    GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                             path.c_str());
    return SplitNulList(buffer.data());
}

std::string Visible(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n\n";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out;
}

std::vector<std::string> Upper(std::vector<std::string> names) {
    for (auto& name : names)
        for (auto& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return names;
}

struct Query {
    const char* section;
    const char* key;
};

// Reads of each query on a file with both, as "section/key: api [..] core [..]" lines where they differ.
std::string ReadDifferences(const std::string& path, const std::vector<Query>& queries) {
    std::string out;
    for (const Query& q : queries) {
        const std::string api = ApiRead(path, q.section, q.key);
        const std::string core = stats::ini::ReadString(path, q.section, q.key);
        if (api != core) out += std::string(q.section) + "/" + q.key + ": api [" + api + "] core [" + core + "]\n";
    }
    return out;
}

const std::string kLong(120, 'L');

const char kMixedFile[] =
    "; comment line\r\n"
    "[Settings]\r\n"
    "Start=1\r\n"
    "claimed = 10\r\n"
    "  Spaced Key  =   value with  inner blanks \t \r\n"
    "Tabbed\t=\tx\t\r\n"
    "Quoted=\"quoted value\"\r\n"
    "Single='single quoted'\r\n"
    "QuotedBlanks=  \" inside \"  \r\n"
    "Half=\"half quoted\r\n"
    "Mixed=\"mixed'\r\n"
    "Inner=a \"b\" c\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "Equals=a=b=c\r\n"
    "Semicolon=a ; not a comment\r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    "\r\n"
    "[ Spaced Section ]\r\n"
    "k=spaced section\r\n"
    "[Other]\r\n"
    "Start=other\r\n"
    "[settings]\r\n"
    "Late=in the second section of that name\r\n";

const std::vector<Query> kMixedQueries = {
    {"Settings", "Start"},      {"SETTINGS", "CLAIMED"},       {"settings", "spaced key"},
    {"Settings", "Tabbed"},     {"Settings", "Quoted"},        {"Settings", "Single"},
    {"Settings", "QuotedBlanks"}, {"Settings", "Half"},        {"Settings", "Mixed"},
    {"Settings", "Inner"},      {"Settings", "Empty"},         {"Settings", "NoEquals"},
    {"Settings", "Equals"},     {"Settings", "Semicolon"},     {"Settings", "Dup"},
    {"Spaced Section", "k"},    {"Other", "Start"},            {"Settings", "Late"},
    {"Settings", "Missing"},    {"Missing", "Start"},          {"Settings", "Long"},
    {"Settings", "QuotedLong"}, {"Settings", "Exactly99"},     {"Settings", "Exactly100"},
};

class ProfileCompare : public testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return dir.Path() + "\\" + name; }
    ScratchDir dir;
};

TEST_F(ProfileCompare, ReadsOfOneFile) {
    const std::string path = PathOf("mixed.ini");
    ASSERT_TRUE(WriteBytes(path, kMixedFile));
    EXPECT_EQ(ReadDifferences(path, kMixedQueries), "");

    const std::string longPath = PathOf("long.ini");
    ASSERT_TRUE(WriteBytes(longPath, "[Settings]\r\nLong=" + kLong + "\r\nQuotedLong=\"" + kLong +
                                         "\"\r\nExactly99=" + std::string(99, '9') +
                                         "\r\nExactly100=" + std::string(100, '0') + "\r\n"));
    EXPECT_EQ(ReadDifferences(longPath, kMixedQueries), "");
    EXPECT_EQ(stats::ini::ReadString(longPath, "Settings", "Long"), kLong);
}

TEST_F(ProfileCompare, ReadsOfOtherLineEndsAndMissingFiles) {
    const std::string lf = PathOf("lf.ini");
    ASSERT_TRUE(WriteBytes(lf, "[Settings]\nStart=1\nCW = 1\n[Other]\nx=2"));  // no line end at the end
    EXPECT_EQ(ReadDifferences(lf, {{"Settings", "Start"}, {"Settings", "cw"}, {"Other", "x"}}), "");
    EXPECT_EQ(ReadDifferences(PathOf("missing.ini"), {{"Settings", "Start"}}), "");
    EXPECT_EQ(ReadDifferences(PathOf("no folder\\missing.ini"), {{"Settings", "Start"}}), "");
    const std::string empty = PathOf("empty.ini");
    ASSERT_TRUE(WriteBytes(empty, ""));
    EXPECT_EQ(ReadDifferences(empty, {{"Settings", "Start"}}), "");

    // Defaults of a missing key, trailing blanks and over-long ones included.
    for (const std::string& fallback : std::vector<std::string>{"K1ABC", "K1ABC  ", " K1ABC \t ", "   ", std::string(120, 'D') + " "}) {
        EXPECT_EQ(stats::ini::ReadString(empty, "Settings", "Operators", fallback),
                  ApiRead(empty, "Settings", "Operators", fallback))
            << "[" << fallback << "]";
    }
}

struct Write {
    const char* section;
    const char* key;
    const char* value;
};

// Applies the same writes to two copies of `initial` (or to no file), one
// with each implementation, and compares what can be read back.
void CompareWrites(const std::string& apiPath, const std::string& corePath, const std::optional<std::string>& initial,
                   const std::vector<Write>& writes) {
    if (initial) {
        ASSERT_TRUE(WriteBytes(apiPath, *initial));
        ASSERT_TRUE(WriteBytes(corePath, *initial));
    }
    for (const Write& w : writes) {
        const bool api = WritePrivateProfileStringA(w.section, w.key, w.value, apiPath.c_str()) != 0;
        const bool core = stats::ini::WriteString(corePath, w.section, w.key, w.value);
        EXPECT_EQ(api, core) << w.section << "/" << w.key;
    }
    const auto apiBytes = ReadBytes(apiPath);
    const auto coreBytes = ReadBytes(corePath);
    ASSERT_EQ(apiBytes.has_value(), coreBytes.has_value());
    if (!apiBytes) return;

    const auto sections = ApiSections(apiPath);
    EXPECT_EQ(ApiSections(corePath), sections);
    for (const std::string& section : sections) {
        // A changed key keeps its spelling with the API; the core writes the
        // caller's. Names compare without regard to case either way.
        const auto keys = ApiKeys(apiPath, section);
        EXPECT_EQ(Upper(ApiKeys(corePath, section)), Upper(keys)) << "keys of [" << section << "]";
        for (const std::string& key : keys) {
            const std::string value = ApiRead(apiPath, section, key);
            EXPECT_EQ(ApiRead(corePath, section, key), value) << section << "/" << key;
            EXPECT_EQ(stats::ini::ReadString(corePath, section, key), value) << section << "/" << key;
        }
    }
    if (*apiBytes != *coreBytes) {
        std::printf("layout differs (%s):\n--- profile API\n%s\n--- core\n%s\n---\n", apiPath.c_str(),
                    Visible(*apiBytes).c_str(), Visible(*coreBytes).c_str());
    }
}

TEST_F(ProfileCompare, WritesKeepEverythingElse) {
    const std::string withComments =
        "; top comment\r\n"
        "[Other]\r\n"
        "a=1\r\n"
        "\r\n"
        "[Settings]\r\n"
        "; inside comment\r\n"
        "Start=0\r\n"
        "\r\n"
        "[Third]\r\n"
        "b = 2\r\n";
    {
        SCOPED_TRACE("change a key written in other letter case");
        CompareWrites(PathOf("api1.ini"), PathOf("core1.ini"), withComments, {{"settings", "START", "1"}});
    }
    {
        SCOPED_TRACE("add a key to an existing section");
        CompareWrites(PathOf("api2.ini"), PathOf("core2.ini"), withComments, {{"Settings", "Claimed", "1234"}});
    }
    {
        SCOPED_TRACE("add a new section");
        CompareWrites(PathOf("api3.ini"), PathOf("core3.ini"), withComments, {{"New Section", "k", "v"}});
    }
    {
        SCOPED_TRACE("several writes, blanks in the value");
        CompareWrites(PathOf("api4.ini"), PathOf("core4.ini"), withComments,
                      {{"Settings", "Start", "1"}, {"Settings", "Claimed", " 42 "}, {"Third", "c", "3"},
                       {"Settings", "Start", "0"}});
    }
    {
        SCOPED_TRACE("LF line ends, no line end at the end");
        CompareWrites(PathOf("api5.ini"), PathOf("core5.ini"), std::string("[Settings]\nStart=1\n[Other]\nx=2"),
                      {{"Settings", "Claimed", "7"}, {"Other", "y", "3"}});
    }
    {
        SCOPED_TRACE("the plug-in's own file from nothing");
        CompareWrites(PathOf("api6.ini"), PathOf("core6.ini"), std::nullopt,
                      {{"Settings", "Start", "1"}, {"Settings", "Claimed", "0"}, {"Settings", "Start", "0"}});
    }
    {
        SCOPED_TRACE("a folder that does not exist");
        CompareWrites(PathOf("none\\api7.ini"), PathOf("none\\core7.ini"), std::nullopt, {{"Settings", "Start", "1"}});
        EXPECT_FALSE(FileExists(PathOf("none")));
    }
}

}  // namespace
}  // namespace wine_tests
