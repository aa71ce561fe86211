#include "reports/cabrillo_dialog_model.h"

#include "contest/text_util.h"

namespace stats {

const std::vector<HeaderControl>& HeaderControls() {
    using F = CabrilloHeaderFields;
    static const std::vector<HeaderControl> controls = {
        {1010, &F::m_strCallsign, false},
        {1008, &F::m_strClaimed, false},
        {1005, &F::m_strClub, false},
        {1013, &F::m_strCategoryOperator, true},
        {1009, &F::m_strContest, false},
        {1004, &F::m_strEmail, false},
        {1007, &F::m_strName, false},
        {1006, &F::m_strOperators, false},
        {1001, &F::m_strSoapbox, false},
        {1002, &F::m_strAddress, false},
        {1020, &F::m_strCategoryAssisted, true},
        {1019, &F::m_strCategoryBand, true},
        {1018, &F::m_strCategoryMode, true},
        {1017, &F::m_strCategoryPower, true},
        {1015, &F::m_strCategoryTransmitter, true},
        {1014, &F::m_strAddressCity, false},
        {1003, &F::m_strAddressCountry, false},
        {1016, &F::m_strCategoryStation, true},
        {1011, &F::m_strAddressPostalCode, false},
        {1012, &F::m_strAddressState, false},
        {1021, &F::m_strCategoryOverlay, true},
        {1022, &F::m_strLocation, true},
    };
    return controls;
}

std::map<int, std::vector<std::string>> ParseDropDownLists(std::string_view text) {
    std::map<int, std::vector<std::string>> lists;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::vector<std::string> words;
        while (!line.empty()) {
            const std::size_t blank = line.find(' ');
            if (blank != 0) words.emplace_back(line.substr(0, blank));
            line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
        }
        if (words.size() < 2) continue;
        const int id = ParseDecimal(words.front());
        lists[id].assign(words.begin() + 1, words.end());
    }
    return lists;
}

int DropDownSelection(const std::vector<std::string>& entries, std::string_view value) {
    if (value.empty()) return -1;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].size() >= value.size() && EqualsNoCase(std::string_view(entries[i]).substr(0, value.size()), value))
            return static_cast<int>(i);
    return -1;
}

}  // namespace stats
