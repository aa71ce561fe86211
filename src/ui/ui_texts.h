// Window titles and captions. The Russian texts are code page 1251 bytes, as
// the windows show them to operators in the countries that read them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "ui/ui_state.h"

namespace stats {

struct UiLanguage {
    bool cw;        // contest mode
    bool cyrillic;  // Russian texts
    std::string year;  // contest start year
};

std::string SetupTitle(const UiLanguage& lang);
// The prefix title carries the number of prefixes once a band is known.
std::string PrefixTitle(const UiLanguage& lang, std::optional<std::size_t> count = std::nullopt);
std::string PrevQsoTitle(const UiLanguage& lang);
std::string ViewTitle(View view, const UiLanguage& lang);

// Setup captions that change with the language.
struct SetupCaption {
    int control;
    std::string text;
    int x, y, width, height;  // pixels; width 0 keeps the template's place
};
std::vector<SetupCaption> SetupCaptions(bool cyrillic);

}  // namespace stats
