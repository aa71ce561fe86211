// The scoreboard document from a run through the plug-in, as the window
// thread makes it: the live figures, the header's settings, the view's category.
#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "reports/scoreboard_document.h"
#include "test_support.h"

namespace stats::test {
namespace {

using ScoreboardDocumentTest = PluginTest;

constexpr char kCountryFile[] =
    "European Russia:          16:  29:  EU:   53.65:   -41.37:    -4.0:  UA:\n"
    "    R,U,=UA3ABC(17)[30],UA9F(17)[30];\n"
    "United States:            05:  08:  NA:   37.53:    91.67:     5.0:  K:\n"
    "    AA,K,N,W;\n";

TEST_F(ScoreboardDocumentTest, HoldsTheRunAndTheStationEscaped) {
    struct Case {
        const char* name;
        bool cw;
        bool worked;  // the worked example, else an empty log
        std::map<std::string, std::string> settings;
        EntryCategory view;
        std::vector<std::string> expected;  // lines of the document
    };
    const std::map<std::string, std::string> confirmed{
        {"Operators", " ua3abc, RK3A  R3XY\r\n"},
        {"Club", "Club & <Friends> \"A\" 'B'"},
        {"Category-Operator", "MULTI-OP"},
        {"Category-Assisted", "ASSISTED"},
        {"Category-Band", "ALL"},
        {"Category-Power", "LOW"},
        {"Category-Transmitter", "TWO"},
        {"Category-Overlay", ""}};
    const std::vector<Case> cases{
        {"CW, the worked example, a confirmed multi-op header", true, true, confirmed, EntryCategory::kSingleOp,
         {"  <contest>CQ-WPX-CW</contest>", "  <call>UA3ABC</call>", "  <ops>UA3ABC,RK3A,R3XY</ops>",
          "  <class power=\"LOW\" assisted=\"ASSISTED\" transmitter=\"TWO\" ops=\"MULTI-OP\" bands=\"ALL\" "
          "mode=\"CW\"/>",
          "  <club>Club &amp; &lt;Friends&gt; &quot;A&quot; &apos;B&apos;</club>", "    <dxcccountry>UA</dxcccountry>",
          "    <cqzone>17</cqzone>", "    <iaruzone>30</iaruzone>", "    <qso band=\"40\" mode=\"CW\">1</qso>",
          "    <point band=\"40\" mode=\"CW\">2</point>", "    <qso band=\"20\" mode=\"CW\">2</qso>",
          "    <point band=\"20\" mode=\"CW\">4</point>", "    <qso band=\"160\" mode=\"CW\">0</qso>",
          "    <qso band=\"total\" mode=\"ALL\">3</qso>", "    <point band=\"total\" mode=\"ALL\">6</point>",
          "    <mult band=\"total\" mode=\"ALL\" type=\"wpxprefix\">3</mult>", "  <score>18</score>",
          "  <optime>00:58</optime>", "  <timestamp>2021-05-29 11:02:03</timestamp>"}},
        {"SSB, an empty log, a header never filled in, the view's Classic", false, false, {}, EntryCategory::kClassic,
         {"  <contest>CQ-WPX-SSB</contest>", "  <ops>UA3ABC</ops>",
          "  <class power=\"HIGH\" assisted=\"NON-ASSISTED\" transmitter=\"ONE\" ops=\"SINGLE-OP\" bands=\"ALL\" "
          "mode=\"SSB\" overlay=\"CLASSIC\"/>",
          "  <club></club>", "    <qso band=\"20\" mode=\"PH\">0</qso>", "    <qso band=\"total\" mode=\"ALL\">0</qso>",
          "    <mult band=\"total\" mode=\"ALL\" type=\"wpxprefix\">0</mult>", "  <score>0</score>",
          "  <optime>00:00</optime>"}},
        {"a header never filled in follows the view's multi-op; the Russian code page's texts become UTF-8",
         false, true,
         {{"Club", "\xD0\xE0\xE4\xE8\xEE \xB9" "1"}, {"Operators", ""}}, EntryCategory::kMultiOp,
         {"  <ops></ops>", "ops=\"MULTI-OP\" bands=\"ALL\" mode=\"SSB\"/>",
          "  <club>\xD0\xA0\xD0\xB0\xD0\xB4\xD0\xB8\xD0\xBE \xE2\x84\x96" "1</club>",
          "  <score>18</score>"}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plugin.WriteSetting("CW", c.cw ? "1" : "0");
        Reset();
        if (c.worked)
            for (Qso q : WorkedExample()) {
                if (!c.cw && q.mode == "CW") q.mode = "SSB";
                Add(q);
            }
        LiveFigures live;
        ScoreboardRun run;
        {
            std::lock_guard<std::mutex> lock(plugin.State().guard);
            live.Collect(plugin.State());
            run = ScoreboardRunOf(plugin.State());
        }
        live.Digest();
        const SettingsKeys settings{[&](const std::string& key, const std::string& fallback) {
                                        const auto it = c.settings.find(key);
                                        return it == c.settings.end() ? fallback : it->second;
                                    },
                                    [](const std::string&, const std::string&) {}};
        const ScoreboardStation station =
            ScoreboardStationOf(settings, run, c.view, ZonesFromCountryFile(kCountryFile, run.ownCountry, run.ownCall));
        const std::string document = ScoreboardDocument(station, live, At(2021, 5, 29, 11, 2, 3));

        // The score is the result's, whatever the run.

        const std::string result = Result();
        EXPECT_NE(document.find("<score>" + std::to_string(live.Totals().Score()) + "</score>"), std::string::npos);
        EXPECT_NE(Result().find("= " + std::to_string(live.Totals().Score()) + " "), std::string::npos);
        EXPECT_EQ(document.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<dynamicresults>\n", 0), 0u);
        for (const std::string& line : c.expected)
            EXPECT_NE(document.find(line + "\n"), std::string::npos) << line << "\nin\n" << document;
    }
}

}  // namespace
}  // namespace stats::test
