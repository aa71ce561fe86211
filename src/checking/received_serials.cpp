#include "checking/received_serials.h"

#include <algorithm>
#include <unordered_map>

namespace stats {

namespace {

struct Judged {
    std::vector<std::size_t> order;  // the QSOs judged together, in time order
    std::vector<char> kept;          // by place in `order`
    std::size_t left = 0;            // how many are not kept
};

class Judge {
public:
    Judge(const std::vector<ReceivedSerial>& qsos, std::int64_t start) : q_(qsos), start_(start) {}

    bool FitsStart(std::size_t i) const {
        // A QSO timed before the start says the start is not known: no bound.
        const std::int64_t minutes = q_[i].minute - start_;
        return minutes < 0 || q_[i].serial <= MaxSerialsIn(minutes);
    }
    bool Rises(std::size_t a, std::size_t b) const { return q_[b].serial > q_[a].serial; }
    bool Reachable(std::size_t a, std::size_t b) const {
        return q_[b].serial - q_[a].serial <= MaxSerialsIn(q_[b].minute - q_[a].minute);
    }

    // The longest chain of QSOs whose serials can be one sequence (quadratic
    // in the QSOs of one station: a handful, one a band).
    Judged Keep(std::vector<std::size_t> order) const {
        Judged j;
        j.order = std::move(order);
        const std::size_t n = j.order.size();
        std::vector<std::size_t> best(n, 0), before(n, n);
        for (std::size_t b = 0; b < n; ++b) {
            if (!FitsStart(j.order[b])) continue;
            best[b] = 1;
            for (std::size_t a = 0; a < b; ++a)
                if (best[a] > 0 && best[a] + 1 > best[b] && Rises(j.order[a], j.order[b]) &&
                    Reachable(j.order[a], j.order[b])) {
                    best[b] = best[a] + 1;
                    before[b] = a;
                }
        }
        j.kept.assign(n, 0);
        std::size_t end = n;
        for (std::size_t b = 0; b < n; ++b)
            if (best[b] > 0 && (end == n || best[b] > best[end])) end = b;
        for (std::size_t b = end; b < n; b = before[b]) j.kept[b] = 1;
        j.left = static_cast<std::size_t>(std::count(j.kept.begin(), j.kept.end(), 0));
        return j;
    }

    SerialFlag Why(const Judged& j, std::size_t place) const {
        const std::size_t k = j.order[place];
        std::optional<std::size_t> previous, next;
        for (std::size_t p = place; p-- > 0;)
            if (j.kept[p]) {
                previous = j.order[p];
                break;
            }
        for (std::size_t p = place + 1; p < j.order.size(); ++p)
            if (j.kept[p]) {
                next = j.order[p];
                break;
            }
        using R = SerialFlag::Reason;
        SerialFlag f;
        f.qso = k;
        // Too high since the start is wrong however the station numbers.
        if (!FitsStart(k)) {
            f.reason = R::kTooHighSinceStart;
        } else if (previous && !Rises(*previous, k)) {
            f.reason = R::kNotAboveEarlier;
            f.against = previous;
        } else if (next && !Rises(k, *next)) {
            f.reason = R::kAboveLater;
            f.against = next;
        } else if (previous && !Reachable(*previous, k)) {
            f.reason = R::kTooFastAfter;
            f.against = previous;
        } else {
            // Fits after the one before, so it cannot fit before the next.
            f.reason = R::kTooFastBefore;
            f.against = next;
        }
        return f;
    }

private:
    const std::vector<ReceivedSerial>& q_;
    std::int64_t start_;
};

}  // namespace

std::int64_t MaxSerialsIn(std::int64_t minutes) {
    const std::int64_t span = std::max<std::int64_t>(minutes, 0) + 1;
    return span <= 60 ? 10 * span : 600 + 4 * (span - 60);
}

std::optional<std::int64_t> SerialNumberOf(std::string_view exchange) {
    if (exchange.empty() || exchange.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    const std::size_t from = std::min(exchange.find_first_not_of('0'), exchange.size());
    if (exchange.size() - from > 9) return std::nullopt;
    std::int64_t n = 0;
    for (std::size_t i = from; i < exchange.size(); ++i) n = n * 10 + (exchange[i] - '0');
    return n;
}

std::vector<SerialFlag> CheckReceivedSerials(const std::vector<ReceivedSerial>& qsos, std::int64_t startMinute) {
    std::unordered_map<std::string, std::vector<std::size_t>> byCall;
    for (std::size_t i = 0; i < qsos.size(); ++i) byCall[qsos[i].call].push_back(i);

    const Judge judge(qsos, startMinute);
    std::vector<SerialFlag> flags;
    for (auto& [call, order] : byCall) {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return qsos[a].minute < qsos[b].minute; });
        const Judged whole = judge.Keep(order);
        std::vector<Judged> bands;
        std::size_t leftByBand = 0;
        if (whole.left > 0) {
            std::vector<std::string> seen;
            for (const std::size_t i : order)
                if (std::find(seen.begin(), seen.end(), qsos[i].band) == seen.end()) seen.push_back(qsos[i].band);
            for (const std::string& band : seen) {
                std::vector<std::size_t> on;
                for (const std::size_t i : order)
                    if (qsos[i].band == band) on.push_back(i);
                bands.push_back(judge.Keep(std::move(on)));
                leftByBand += bands.back().left;
            }
        }
        const bool perBand = leftByBand < whole.left;
        if (!perBand) bands.assign(1, whole);
        for (const Judged& j : bands)
            for (std::size_t p = 0; p < j.order.size(); ++p)
                if (!j.kept[p]) {
                    flags.push_back(judge.Why(j, p));
                    flags.back().perBand = perBand;
                }
    }
    std::sort(flags.begin(), flags.end(), [](const SerialFlag& a, const SerialFlag& b) { return a.qso < b.qso; });
    return flags;
}

}  // namespace stats
