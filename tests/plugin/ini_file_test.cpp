// Our initialisation-file code against the behaviour of the profile API.
#include "plugin/ini_file.h"

#include <filesystem>

#include "test_support.h"

using namespace stats;
using namespace stats::test;

namespace {

TEST(IniRead, SectionsAndKeysIgnoreCaseAndValuesLoseTheirBlanks) {
    const std::string content =
        "; a comment\r\nStart=9\r\n[Other]\r\nStart=7\r\n[ settings ]\r\n  START =  1 \r\nName=\"Quoted Name\"\r\n"
        "Club='x'\r\nEmpty=\r\nBare\r\n[Settings]\r\nCW=1\r\n";
    EXPECT_EQ(ini::FindValue(content, "Settings", "Start"), "1");
    EXPECT_EQ(ini::FindValue(content, "SETTINGS", "name"), "Quoted Name");
    EXPECT_EQ(ini::FindValue(content, "Settings", "Club"), "x");
    EXPECT_EQ(ini::FindValue(content, "Settings", "Empty"), "");
    EXPECT_EQ(ini::FindValue(content, "Settings", "Bare"), "");
    EXPECT_EQ(ini::FindValue(content, "Other", "Start"), "7");
    EXPECT_FALSE(ini::FindValue(content, "Settings", "CW")) << "only the first section of a name is read";
    EXPECT_FALSE(ini::FindValue(content, "Missing", "Start"));
}

TEST(IniRead, ValuesComeBackWhole) {
    const std::string value(40000, 'x');
    EXPECT_EQ(ini::FindValue("[S]\nk=" + value + "\n", "S", "k"), value);
}

TEST(IniWrite, ChangesOrAddsOneLineAndKeepsTheRest) {
    const std::string content = "; kept\r\n[Other]\r\nx=1\r\n\r\n[Settings]\nStart=0\n; note\n\n[Last]\r\ny=2";
    EXPECT_EQ(ini::WithValue(content, "settings", "START", "1"),
              "; kept\r\n[Other]\r\nx=1\r\n\r\n[Settings]\nStart=1\n; note\n\n[Last]\r\ny=2");
    EXPECT_EQ(ini::WithValue(content, "Settings", "CW", "1"),
              "; kept\r\n[Other]\r\nx=1\r\n\r\n[Settings]\nStart=0\n; note\nCW=1\r\n\n[Last]\r\ny=2");
    EXPECT_EQ(ini::WithValue(content, "New", "k", "v"), content + "\r\n[New]\r\nk=v\r\n");
    EXPECT_EQ(ini::WithValue("", "Settings", "Start", "1"), "[Settings]\r\nStart=1\r\n");
}

TEST(IniFile, RoundTripThroughTheFileSystem) {
    ScratchDir dir;
    std::filesystem::create_directory("Plugins");
    const std::string path = "Plugins/x.ini";
    EXPECT_EQ(ini::ReadString(path, "Settings", "Start"), "");
    EXPECT_EQ(ini::ReadString(path, "Settings", "Operators", "K1ABC  "), "K1ABC") << "a default loses trailing blanks";
    EXPECT_TRUE(ini::WriteString(path, "Settings", "Start", "1"));
    EXPECT_TRUE(ini::WriteString(path, "Settings", "Claimed", "24"));
    EXPECT_TRUE(ini::WriteString(path, "Settings", "start", "0"));
    EXPECT_EQ(ReadFile(path), "[Settings]\r\nStart=0\r\nClaimed=24\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    EXPECT_FALSE(ini::WriteString("NoFolder/x.ini", "Settings", "Start", "1")) << "folders are not created";
    EXPECT_FALSE(std::filesystem::exists("NoFolder"));
}

TEST(IniFile, HostPathsUseTheBackslash) {
    ScratchDir dir;
    std::filesystem::create_directory("Plugins");
    PortableSettingsFile settings;
    EXPECT_TRUE(settings.Write("Plugins\\CQ-WPX-CW-SSB.ini", "Settings", "CW", "1"));
    EXPECT_TRUE(std::filesystem::exists("Plugins/CQ-WPX-CW-SSB.ini"));
    EXPECT_EQ(settings.Read("Plugins\\CQ-WPX-CW-SSB.ini", "Settings", "cw"), "1");
}

TEST(FileSearch, PatternsMatchIgnoringCase) {
    EXPECT_TRUE(WildcardMatch("*.ini", "Zelk2.INI"));
    EXPECT_TRUE(WildcardMatch("Ze?k*.ini", "zelk2.ini"));
    EXPECT_FALSE(WildcardMatch("*.ini", "Zelk2.ini.bak"));
    ScratchDir dir;
    WriteFile("Zelk2.ini", "");
    WriteFile("notes.txt", "");
    PortableFileSearch search;
    EXPECT_EQ(search.FindNames("*.ini"), std::vector<std::string>{"Zelk2.ini"});
    EXPECT_EQ(search.FindNames((dir.Path() / "*.ini").string()), std::vector<std::string>{"Zelk2.ini"});
    EXPECT_TRUE(search.FindNames("missing-folder/*.ini").empty());
}

}  // namespace
