#include "checking/contest.h"

#include <cmath>

namespace stats {

double ContestStartDay(double firstQso) {
    const double firstDay = std::floor(firstQso);
    const bool sunday = static_cast<long long>(firstDay) % 7 == 1;
    return sunday ? firstDay - 1 : firstDay;
}

std::optional<OtherContest> FindOtherContest(const std::vector<ContestOfLog>& logs) {
    using R = OtherContest::Reason;
    for (std::size_t i = 1; i < logs.size(); ++i) {
        const ContestOfLog &lead = logs.front(), &other = logs[i];
        if (other.cw != lead.cw) return OtherContest{R::kMode, i};
        if (!other.named.empty() && !lead.named.empty() && other.named != lead.named) return OtherContest{R::kNamed, i};
        if (std::fabs(std::floor(other.first) - std::floor(lead.first)) > kSameWeekendDays)
            return OtherContest{R::kWeekend, i};
    }
    return std::nullopt;
}

}  // namespace stats
