#include "ui/ui_texts.h"

#include "contest/text_util.h"

namespace stats {

namespace {
// Code page 1251.
constexpr const char kRuSetup[] = "\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8";                         // "Settings"
constexpr const char kRuDisplay[] = "\xCE\xF2\xEE\xE1\xF0\xE0\xE6\xE0\xF2\xFC";                   // "Display"
constexpr const char kRuMode[] = "\xC2\xE8\xE4 \xF1\xE2\xFF\xE7\xE8";                              // "Choice of mode"
constexpr const char kRuPrefixes[] = "\xCE\xF2\xF0\xE0\xE1\xEE\xF2\xE0\xED\xED\xFB\xE5 \xEF\xF0\xE5\xF4\xE8\xEA\xF1\xFB";
constexpr const char kRuPrevQso[] = "\xCF\xF0\xE5\xE4\xFB\xE4\xF3\xF9\xE8\xE5 QSO";
constexpr const char kRuOnTop[] = "\xCF\xEE\xE2\xE5\xF0\xF5 \xEE\xEA\xEE\xED";

const char* Contest(bool cw) { return cw ? "CQ-WPX-CW" : "CQ-WPX-SSB"; }
}  // namespace

std::string SetupTitle(const UiLanguage& lang) {
    return Format("%s %s %s", lang.cyrillic ? kRuSetup : "Setup", Contest(lang.cw), lang.year.c_str());
}

std::string PrefixTitle(const UiLanguage& lang, std::optional<std::size_t> count) {
    std::string title = Format("%s-%s %s", Contest(lang.cw), lang.year.c_str(), lang.cyrillic ? kRuPrefixes : "Working prefix");
    if (count) title += " " + std::to_string(*count);
    return title;
}

std::string PrevQsoTitle(const UiLanguage& lang) {
    return Format("%s-%s %s", Contest(lang.cw), lang.year.c_str(), lang.cyrillic ? kRuPrevQso : "Previous QSO");
}

std::string ViewTitle(View view, const UiLanguage& lang) {
    return view == View::kPrefixes ? PrefixTitle(lang) : PrevQsoTitle(lang);
}

std::vector<SetupCaption> SetupCaptions(bool cyrillic) {
    if (!cyrillic) return {{1025, "Display", 160, 5, 200, 20}, {1026, "Choice of mode", 15, 5, 90, 20}};
    return {{1025, kRuDisplay, 150, 5, 200, 20},
            {1026, kRuMode, 20, 5, 90, 20},
            {1014, kRuPrefixes, 0, 0, 0, 0},
            {1015, kRuPrevQso, 0, 0, 0, 0},
            {1016, kRuOnTop, 0, 0, 0, 0}};
}

}  // namespace stats
