// The header dialog's decisions: its drop-down lists as the resources hold
// them, and the entry a drop-down selects for a value.
#include <regex>

#include "reports/cabrillo_dialog_model.h"
#include "test_support.h"

using namespace stats;
using namespace stats::test;

namespace {

// The text of the lists resource, as the DLL carries it.
std::string ListsInResourceScript() {
    const std::string rc = ReadFile(std::string(STATS_TEST_DATA) + "/../../resources/stats.rc");
    const std::size_t start = rc.find("IDR_CABRILLO_LISTS RCDATA");
    const std::string block = rc.substr(start, rc.find("END", start) - start);
    std::string text;
    const std::regex quoted("\"((?:[^\"\\\\]|\\\\.)*)\"");
    for (std::sregex_iterator it(block.begin(), block.end(), quoted), end; it != end; ++it)
        text += std::regex_replace((*it)[1].str(), std::regex("\\\\n"), "\n");
    return text.substr(0, text.find("\\0"));
}

TEST(HeaderDialogLists, EveryDropDownHasItsEntriesInOrder) {
    const auto lists = ParseDropDownLists(ListsInResourceScript());
    for (const HeaderControl& c : HeaderControls()) EXPECT_EQ(lists.count(c.id), c.dropDown ? 1u : 0u) << c.id;
    EXPECT_EQ(lists.at(1013), (std::vector<std::string>{"SINGLE-OP", "MULTI-OP", "CHECKLOG"}));
    EXPECT_EQ(lists.at(1019), (std::vector<std::string>{"ALL", "80M", "40M", "20M", "15M", "10M"}));
    EXPECT_EQ(lists.at(1018), std::vector<std::string>{"RTTY"});
    const std::vector<std::string>& location = lists.at(1022);
    ASSERT_EQ(location.size(), 64u);
    EXPECT_EQ(location[0], "DX");
    EXPECT_EQ(location[1], "-/-");
    EXPECT_EQ(location[58], "NWT");
    EXPECT_EQ(location[63], "PEI");
    EXPECT_EQ(HeaderControls().size(), 22u);
}

TEST(HeaderDialogLists, ADropDownSelectsTheFirstEntryBeginningWithTheValue) {
    const std::vector<std::string> power = {"HIGH", "LOW", "QRP"};
    EXPECT_EQ(DropDownSelection(power, "low"), 1);
    EXPECT_EQ(DropDownSelection(power, "H"), 0);
    EXPECT_EQ(DropDownSelection(power, "HIGHER"), -1);
    EXPECT_EQ(DropDownSelection(power, ""), -1);
    const std::vector<std::string> assisted = {"ASSISTED", "NON-ASSISTED"};
    EXPECT_EQ(DropDownSelection(assisted, "NON"), 1);
    EXPECT_EQ(DropDownSelection({"RTTY"}, "CW"), -1) << "shown as typed";
}

}  // namespace
