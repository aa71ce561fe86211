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
std::string ContestTitle(const UiLanguage& lang);
std::string ViewTitle(View view, const UiLanguage& lang);

// Setup captions that change with the language.
struct SetupCaption {
    int control;
    std::string text;
    int x, y, width, height;  // pixels; width 0 keeps the template's place
};
std::vector<SetupCaption> SetupCaptions(bool cyrillic);

// The words of the contest view. Formats take their figures in the order the
// comments give.
struct ContestWords {
    const char* operating;         // used, limit, left
    const char* operatingOver;     // used, limit
    const char* operatingNoLimit;  // used
    const char* pause;             // pause, clock time it becomes an off-time
    const char* stopped;           // clock time of the last QSO
    const char* offTimes;          // count (long long), total
    const char* contestLeft;       // time left
    const char* outside;
    const char* warning;           // operating time left
    const char* reached;           // clock time, QSO number
    const char* after;             // QSOs
    const char* at;                // elapsed contest time
    const char* run;
    const char* reference;
    const char* difference;
    const char* score;
    const char* qsos;
    const char* prefixes;
    const char* referenceFinal;  // reference's final
    const char* projected;       // projected final, when its range is one figure
    const char* projectedRange;  // low, high
    const char* referenceLabel;
    const char* unreadable;
    const char* notHeader;
    const char* badRow;     // line (size_t)
    const char* backwards;  // line
    const char* mixed;      // line
    const char* noRows;
    const char* tooLarge;
    const char* otherMode;  // curve's mode, run's mode
    const char* categories[3];
    char thousands;
};
const ContestWords& ContestTexts(bool cyrillic);

// The words of the scoreboard window and its status line. Formats take their
// figures in the order the comments give.
struct ScoreboardWords {
    const char* title;
    const char* enable;
    const char* board;
    const char* user;
    const char* password;
    const char* postNow;
    const char* ok;
    const char* cancel;
    const char* open;
    const char* off;
    const char* waiting;
    const char* sending;  // host
    const char* posted;  // clock time, status and answer
    const char* noPassword;  // appended to a line
    const char* refused;  // status
    const char* refusedPlain;  // status
    const char* httpError;  // clock time, status and answer
    const char* noAnswer;  // host
    const char* noConnection;  // host
    const char* redirect;  // status
    const char* failed;  // error (unsigned long)
    const char* empty;
    const char* scheme;
    const char* noHost;
    const char* badPort;
    const char* badCharacter;
};
const ScoreboardWords& ScoreboardTexts(bool cyrillic);

}  // namespace stats
