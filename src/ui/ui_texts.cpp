#include "ui/ui_texts.h"

#include "contest/contest_name.h"
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
constexpr const char kRuTimeAndPace[] = "\xC2\xF0\xE5\xEC\xFF \xE8 \xF2\xE5\xEC\xEF";  // "Time and pace"

}  // namespace

std::string SetupTitle(const UiLanguage& lang) {
    return Format("%s %s %s", lang.cyrillic ? kRuSetup : "Setup", ContestName(lang.cw), lang.year.c_str());
}

std::string PrefixTitle(const UiLanguage& lang, std::optional<std::size_t> count) {
    std::string title = Format("%s-%s %s", ContestName(lang.cw), lang.year.c_str(), lang.cyrillic ? kRuPrefixes : "Working prefix");
    if (count) title += " " + std::to_string(*count);
    return title;
}

std::string PrevQsoTitle(const UiLanguage& lang) {
    return Format("%s-%s %s", ContestName(lang.cw), lang.year.c_str(), lang.cyrillic ? kRuPrevQso : "Previous QSO");
}

std::string ContestTitle(const UiLanguage& lang) {
    return Format("%s-%s %s", ContestName(lang.cw), lang.year.c_str(), lang.cyrillic ? kRuTimeAndPace : "Time and pace");
}

std::string ViewTitle(View view, const UiLanguage& lang) {
    switch (view) {
        case View::kPrefixes:
            return PrefixTitle(lang);
        case View::kPrevQso:
            return PrevQsoTitle(lang);
        case View::kContest:
            break;
    }
    return ContestTitle(lang);
}

std::vector<SetupCaption> SetupCaptions(bool cyrillic) {
    if (!cyrillic) return {{1025, "Display", 160, 5, 200, 20}, {1026, "Choice of mode", 15, 5, 90, 20}};
    return {{1025, kRuDisplay, 150, 5, 200, 20},
            {1026, kRuMode, 20, 5, 90, 20},
            {1014, kRuPrefixes, 0, 0, 0, 0},
            {1015, kRuPrevQso, 0, 0, 0, 0},
            {1016, kRuOnTop, 0, 0, 0, 0},
            {1027, kRuTimeAndPace, 0, 0, 0, 0}};
}

const ContestWords& ContestTexts(bool cyrillic) {
    static const ContestWords english{
        "Operating %s of %s, %s left",
        "Operating %s of %s, the limit is passed",
        "Operating %s, no limit (multi-op)",
        "Pause %s, an off-time from %s",
        "Clock stopped: off since %s",
        "Off-times: %lld, %s in all",
        "Contest left: %s",
        "Outside the contest: the log's figures",
        "Under an hour to the limit: %s left",
        "Limit reached at %s, after QSO %s:",
        "%s QSOs after it will not count",
        "At %s",
        "run",
        "reference",
        "+/-",
        "Score",
        "QSOs",
        "Prefixes",
        "Reference final %s",
        "Projected final: %s",
        "Projected final: %s to %s",
        "Reference",
        "reference: the file cannot be read",
        "reference: line 1 is not the curve's header",
        "reference: line %zu is not a curve row",
        "reference: line %zu goes back in time",
        "reference: line %zu is of another contest",
        "reference: the file has no rows",
        "reference: larger than any curve",
        "reference: a %s curve, the run is %s",
        {"Single-op, 36 h", "Classic, 24 h", "Multi-op"},
        ',',
    };
    // Code page 1251; each text's reading in the comment beside it.
    static const ContestWords russian{
        "\xD0\xE0\xE1\xEE\xF2\xE0 %s \xE8\xE7 %s, \xEE\xF1\xF2\xE0\xEB\xEE\xF1\xFC %s",  // Работа %s из %s, осталось %s
        "\xD0\xE0\xE1\xEE\xF2\xE0 %s \xE8\xE7 %s, \xEF\xF0\xE5\xE4\xE5\xEB \xEF\xF0\xEE\xE9\xE4\xE5\xED",  // Работа %s из %s, предел пройден
        "\xD0\xE0\xE1\xEE\xF2\xE0 %s, \xE1\xE5\xE7 \xEF\xF0\xE5\xE4\xE5\xEB\xE0 (\xEC\xF3\xEB\xFC\xF2\xE8-\xEE\xEF)",  // Работа %s, без предела (мульти-оп)
        "\xCF\xE0\xF3\xE7\xE0 %s, \xEF\xE5\xF0\xE5\xF0\xFB\xE2 \xF1 %s",  // Пауза %s, перерыв с %s
        "\xD7\xE0\xF1\xFB \xF1\xF2\xEE\xFF\xF2: \xEF\xE5\xF0\xE5\xF0\xFB\xE2 \xF1 %s",  // Часы стоят: перерыв с %s
        "\xCF\xE5\xF0\xE5\xF0\xFB\xE2\xFB: %lld, \xE2\xF1\xE5\xE3\xEE %s",  // Перерывы: %lld, всего %s
        "\xC4\xEE \xEA\xEE\xED\xF6\xE0 \xF2\xE5\xF1\xF2\xE0: %s",  // До конца теста: %s
        "\xC2\xED\xE5 \xE2\xF0\xE5\xEC\xE5\xED\xE8 \xF2\xE5\xF1\xF2\xE0: \xF6\xE8\xF4\xF0\xFB \xEB\xEE\xE3\xE0",  // Вне времени теста: цифры лога
        "\xCC\xE5\xED\xFC\xF8\xE5 \xF7\xE0\xF1\xE0 \xE4\xEE \xEF\xF0\xE5\xE4\xE5\xEB\xE0: %s",  // Меньше часа до предела: %s
        "\xCF\xF0\xE5\xE4\xE5\xEB \xEF\xF0\xEE\xE9\xE4\xE5\xED \xE2 %s, \xEF\xEE\xF1\xEB\xE5 QSO %s:",  // Предел пройден в %s, после QSO %s:
        "%s QSO \xEF\xEE\xF1\xEB\xE5 \xED\xE5\xE3\xEE \xED\xE5 \xE7\xE0\xF1\xF7\xE8\xF2\xE0\xFE\xF2",  // %s QSO после него не засчитают
        "\xCD\xE0 %s",  // На %s
        "\xF1\xE5\xE9\xF7\xE0\xF1",  // сейчас
        "\xFD\xF2\xE0\xEB\xEE\xED",  // эталон
        "+/-",
        "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2",  // Результат
        "QSO",
        "\xCF\xF0\xE5\xF4\xE8\xEA\xF1\xFB",  // Префиксы
        "\xC8\xF2\xEE\xE3 \xFD\xF2\xE0\xEB\xEE\xED\xE0 %s",  // Итог эталона %s
        "\xCF\xF0\xEE\xE3\xED\xEE\xE7 \xE8\xF2\xEE\xE3\xE0: %s",  // Прогноз итога: %s
        "\xCF\xF0\xEE\xE3\xED\xEE\xE7 \xE8\xF2\xEE\xE3\xE0: \xEE\xF2 %s \xE4\xEE %s",  // Прогноз итога: от %s до %s
        "\xDD\xF2\xE0\xEB\xEE\xED",  // Эталон
        "\xFD\xF2\xE0\xEB\xEE\xED: \xF4\xE0\xE9\xEB \xED\xE5 \xF7\xE8\xF2\xE0\xE5\xF2\xF1\xFF",  // эталон: файл не читается
        "\xFD\xF2\xE0\xEB\xEE\xED: \xF1\xF2\xF0\xEE\xEA\xE0 1 \xED\xE5 \xE7\xE0\xE3\xEE\xEB\xEE\xE2\xEE\xEA \xEA\xF0\xE8\xE2\xEE\xE9",  // эталон: строка 1 не заголовок кривой
        "\xFD\xF2\xE0\xEB\xEE\xED: \xF1\xF2\xF0\xEE\xEA\xE0 %zu \xED\xE5 \xF1\xF2\xF0\xEE\xEA\xE0 \xEA\xF0\xE8\xE2\xEE\xE9",  // эталон: строка %zu не строка кривой
        "\xFD\xF2\xE0\xEB\xEE\xED: \xF1\xF2\xF0\xEE\xEA\xE0 %zu \xE8\xE4\xB8\xF2 \xED\xE0\xE7\xE0\xE4 \xE2\xEE \xE2\xF0\xE5\xEC\xE5\xED\xE8",  // эталон: строка %zu идёт назад во времени
        "\xFD\xF2\xE0\xEB\xEE\xED: \xF1\xF2\xF0\xEE\xEA\xE0 %zu \xE4\xF0\xF3\xE3\xEE\xE3\xEE \xF2\xE5\xF1\xF2\xE0",  // эталон: строка %zu другого теста
        "\xFD\xF2\xE0\xEB\xEE\xED: \xE2 \xF4\xE0\xE9\xEB\xE5 \xED\xE5\xF2 \xF1\xF2\xF0\xEE\xEA",  // эталон: в файле нет строк
        "\xFD\xF2\xE0\xEB\xEE\xED: \xF4\xE0\xE9\xEB \xE1\xEE\xEB\xFC\xF8\xE5 \xEB\xFE\xE1\xEE\xE9 \xEA\xF0\xE8\xE2\xEE\xE9",  // эталон: файл больше любой кривой
        "\xFD\xF2\xE0\xEB\xEE\xED: \xEA\xF0\xE8\xE2\xE0\xFF %s, \xE0 \xF2\xE5\xF1\xF2 %s",  // эталон: кривая %s, а тест %s
        {"\xCE\xE4\xE8\xED \xEE\xEF\xE5\xF0\xE0\xF2\xEE\xF0, 36 \xF7",  // Один оператор, 36 ч
         "Classic, 24 \xF7",                                                  // Classic, 24 ч
         "\xCC\xF3\xEB\xFC\xF2\xE8-\xEE\xEF"},                             // Мульти-оп
        ' ',
    };
    return cyrillic ? russian : english;
}

const ScoreboardWords& ScoreboardTexts(bool cyrillic) {
    static const ScoreboardWords english{
        "Scoreboard",
        "Post the score to the board",
        "Board",
        "User",
        "Password",
        "Post now",
        "OK",
        "Cancel",
        "Scoreboard...",
        "off",
        "on, nothing posted yet",
        "posting to %s...",
        "posted %s UTC: %s",
        ", without the password (plain HTTP)",
        "the board refused the call or password (%d)",
        "the board wants the call and password, which go over HTTPS only (%d)",
        "%s UTC: the board answered %s",
        "no answer from %s in 15 s",
        "cannot reach %s",
        "the board sent the post elsewhere (%d): not followed",
        "the post failed (system error %lu)",
        "no board address",
        "the address must begin with http:// or https://",
        "the address names no host",
        "the address's port is not a number from 1 to 65535",
        "the address holds a blank or a control character",
    };
    // Code page 1251; each text's reading in the comment beside it.
    static const ScoreboardWords russian{
        "\xCE\xED\xEB\xE0\xE9\xED-\xF2\xE0\xE1\xEB\xEE",  // Онлайн-табло
        "\xCE\xF2\xEF\xF0\xE0\xE2\xEB\xFF\xF2\xFC \xF1\xF7\xB8\xF2 \xED\xE0 \xF2\xE0\xE1\xEB\xEE",  // Отправлять счёт на табло
        "\xD2\xE0\xE1\xEB\xEE",  // Табло
        "\xCF\xEE\xE7\xFB\xE2\xED\xEE\xE9",  // Позывной
        "\xCF\xE0\xF0\xEE\xEB\xFC",  // Пароль
        "\xCE\xF2\xEF\xF0\xE0\xE2\xE8\xF2\xFC",  // Отправить
        "OK",  // OK
        "\xCE\xF2\xEC\xE5\xED\xE0",  // Отмена
        "\xD2\xE0\xE1\xEB\xEE...",  // Табло...
        "\xE2\xFB\xEA\xEB.",  // выкл.
        "\xE2\xEA\xEB., \xE5\xF9\xB8 \xED\xE8\xF7\xE5\xE3\xEE \xED\xE5 \xEE\xF2\xEF\xF0\xE0\xE2\xEB\xE5\xED\xEE",  // вкл., ещё ничего не отправлено
        "\xEE\xF2\xEF\xF0\xE0\xE2\xEA\xE0 \xED\xE0 %s...",  // отправка на %s...
        "\xEE\xF2\xEF\xF0\xE0\xE2\xEB\xE5\xED\xEE %s UTC: %s",  // отправлено %s UTC: %s
        ", \xE1\xE5\xE7 \xEF\xE0\xF0\xEE\xEB\xFF (\xEF\xF0\xEE\xF1\xF2\xEE\xE9 HTTP)",  // , без пароля (простой HTTP)
        "\xF2\xE0\xE1\xEB\xEE \xEE\xF2\xE2\xE5\xF0\xE3\xEB\xEE \xEF\xEE\xE7\xFB\xE2\xED\xEE\xE9 \xE8\xEB\xE8 \xEF\xE0\xF0\xEE\xEB\xFC (%d)",  // табло отвергло позывной или пароль (%d)
        "\xF2\xE0\xE1\xEB\xEE \xF2\xF0\xE5\xE1\xF3\xE5\xF2 \xEF\xEE\xE7\xFB\xE2\xED\xEE\xE9 \xE8 \xEF\xE0\xF0\xEE\xEB\xFC, \xEE\xED\xE8 \xE8\xE4\xF3\xF2 \xF2\xEE\xEB\xFC\xEA\xEE \xEF\xEE HTTPS (%d)",  // табло требует позывной и пароль, они идут только по HTTPS (%d)
        "%s UTC: \xF2\xE0\xE1\xEB\xEE \xEE\xF2\xE2\xE5\xF2\xE8\xEB\xEE %s",  // %s UTC: табло ответило %s
        "\xED\xE5\xF2 \xEE\xF2\xE2\xE5\xF2\xE0 \xEE\xF2 %s \xE7\xE0 15 \xF1",  // нет ответа от %s за 15 с
        "\xED\xE5\xF2 \xF1\xE2\xFF\xE7\xE8 \xF1 %s",  // нет связи с %s
        "\xF2\xE0\xE1\xEB\xEE \xEF\xE5\xF0\xE5\xED\xE0\xEF\xF0\xE0\xE2\xE8\xEB\xEE \xEE\xF2\xEF\xF0\xE0\xE2\xEA\xF3 (%d): \xED\xE5 \xE2\xFB\xEF\xEE\xEB\xED\xE5\xED\xEE",  // табло перенаправило отправку (%d): не выполнено
        "\xEE\xF2\xEF\xF0\xE0\xE2\xEA\xE0 \xED\xE5 \xF3\xE4\xE0\xEB\xE0\xF1\xFC (\xEE\xF8\xE8\xE1\xEA\xE0 \xF1\xE8\xF1\xF2\xE5\xEC\xFB %lu)",  // отправка не удалась (ошибка системы %lu)
        "\xE0\xE4\xF0\xE5\xF1 \xF2\xE0\xE1\xEB\xEE \xED\xE5 \xF3\xEA\xE0\xE7\xE0\xED",  // адрес табло не указан
        "\xE0\xE4\xF0\xE5\xF1 \xE4\xEE\xEB\xE6\xE5\xED \xED\xE0\xF7\xE8\xED\xE0\xF2\xFC\xF1\xFF \xF1 http:// \xE8\xEB\xE8 https://",  // адрес должен начинаться с http:// или https://
        "\xE2 \xE0\xE4\xF0\xE5\xF1\xE5 \xED\xE5\xF2 \xE8\xEC\xE5\xED\xE8 \xF5\xEE\xF1\xF2\xE0",  // в адресе нет имени хоста
        "\xEF\xEE\xF0\xF2 \xE2 \xE0\xE4\xF0\xE5\xF1\xE5 \xED\xE5 \xF7\xE8\xF1\xEB\xEE \xEE\xF2 1 \xE4\xEE 65535",  // порт в адресе не число от 1 до 65535
        "\xE2 \xE0\xE4\xF0\xE5\xF1\xE5 \xEF\xF0\xEE\xE1\xE5\xEB \xE8\xEB\xE8 \xF3\xEF\xF0\xE0\xE2\xEB\xFF\xFE\xF9\xE8\xE9 \xF1\xE8\xEC\xE2\xEE\xEB",  // в адресе пробел или управляющий символ
    };
    return cyrillic ? russian : english;
}

}  // namespace stats
