#include "log_generator.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <unordered_set>

#include "log_mapping.h"
#include "wpx_prefix.h"

namespace tools {

namespace {

// splitmix64: the same numbers on every platform and standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Real() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }  // [0, 1)
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Real() * static_cast<double>(n)); }
    bool Chance(double p) { return Real() < p; }

private:
    std::uint64_t state_;
};

// Picks an index with probability proportional to its weight.
class WeightedPick {
public:
    explicit WeightedPick(const std::vector<double>& weights) : cumulative_(weights.size()) {
        double sum = 0.0;
        for (std::size_t i = 0; i < weights.size(); ++i) cumulative_[i] = sum += weights[i];
    }
    std::size_t Pick(Random& random) const {
        const double x = random.Real() * cumulative_.back();
        return std::min(static_cast<std::size_t>(std::upper_bound(cumulative_.begin(), cumulative_.end(), x) -
                                                 cumulative_.begin()),
                        cumulative_.size() - 1);
    }

private:
    std::vector<double> cumulative_;
};

struct BandPlan {
    const char* name;
    double cwLow, cwHigh, ssbLow, ssbHigh;  // kilohertz
};
constexpr BandPlan kContestBands[] = {
    {"160m", 1800, 1840, 1840, 1900},    {"80m", 3500, 3570, 3600, 3800},     {"40m", 7000, 7040, 7050, 7200},
    {"20m", 14000, 14070, 14150, 14350}, {"15m", 21000, 21070, 21200, 21450}, {"10m", 28000, 28070, 28300, 28700},
};
constexpr BandPlan kOffBandCw = {"30m", 10100, 10130, 10100, 10130};
constexpr BandPlan kOffBandSsb = {"17m", 18068, 18110, 18110, 18168};

// How open a band is at a local hour, roughly: low bands at night, high bands by day.
double BandWeight(std::size_t band, double localHour) {
    const double daylight = std::max(0.0, std::sin((localHour - 6.0) / 12.0 * 3.14159265358979));  // 0 at night
    switch (band) {
        case 0: return 0.02 + 0.35 * (1.0 - daylight) * (1.0 - daylight);
        case 1: return 0.08 + 0.9 * (1.0 - daylight);
        case 2: return 0.45 + 0.7 * (1.0 - daylight);
        case 3: return 0.35 + 1.0 * daylight;
        case 4: return 0.05 + 0.9 * daylight * daylight;
        default: return 0.02 + 0.7 * daylight * daylight * daylight;
    }
}

std::string Padded(unsigned serial) {
    std::string s = std::to_string(serial);
    return s.size() < 3 ? std::string(3 - s.size(), '0') + s : s;
}

std::string FrequencyText(std::uint64_t hz) {
    // Megahertz with four decimals: the radio's 100 Hz steps.
    std::string whole = std::to_string(hz / 1000000);
    std::string fraction = std::to_string(hz % 1000000 / 100);
    return whole + "." + std::string(4 - fraction.size(), '0') + fraction;
}

void AddField(std::string& out, const char* name, const std::string& value) {
    if (value.empty()) return;
    out += '<';
    out += name;
    out += ':';
    out += std::to_string(value.size());
    out += '>';
    out += value;
    out += ' ';
}

}  // namespace

std::vector<std::string> ReadCallList(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::invalid_argument(path + ": cannot open the call list");
    std::vector<std::string> calls;
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        calls.push_back(line);
    }
    return calls;
}

GeneratedLog GenerateLog(const GeneratorOptions& options, const std::vector<std::string>& calls,
                         const CountryFile& countries) {
    GeneratedLog log;
    log.options = options;
    GeneratorOptions& o = log.options;
    if (o.ownCall.empty()) o.ownCall = o.cw ? "DL5CW" : "K3SB";
    if (o.year == 0) {
        // The 2023 weekends: SSB in March, CW in May.
        o.year = 2023;
        o.month = o.cw ? 5 : 3;
        o.day = o.cw ? 27 : 25;
    }
    const auto own = countries.ByCall(o.ownCall);
    if (!own) throw std::invalid_argument("the country file does not know the own call " + o.ownCall);
    log.ownCountry = own->entity;
    log.start = HostDateOf(o.year, o.month, o.day);
    log.end = log.start + 2.0 - 1.0 / 1440.0;  // 48 hours, to 23:59 of the second day

    Random random(o.seed);

    // The stations on the air: each with its country, an activity that makes
    // a few of them work everybody on every band, and its own QSO rate for the
    // serials it gives.
    struct Station {
        std::string call;
        const CountryEntity* country;
        std::string continent;
        double rate;  // QSOs per hour
    };
    std::vector<Station> stations;
    std::vector<double> activity;
    {
        std::vector<std::size_t> order(calls.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random.Below(i)]);
        for (std::size_t i : order) {
            if (calls[i] == o.ownCall) continue;
            const auto where = countries.ByCall(calls[i]);
            if (!where) continue;
            const double rank = static_cast<double>(stations.size()) + 20.0;
            activity.push_back(std::pow(rank, -0.75));
            stations.push_back(Station{calls[i], where->entity, where->continent, 8.0 + 4000.0 / std::sqrt(rank)});
        }
    }
    if (stations.empty()) throw std::invalid_argument("no usable call in the call list");
    const WeightedPick pickStation(activity);

    // Minutes of the 48 hours, weighted: the opening rush, day and night,
    // the operator's two off-times, fatigue, the last hours' sprint, and runs
    // and lulls ten minutes at a time.
    const double ownOffset = log.ownCountry->utcOffset;
    const double offStart1 = 2.0 + random.Real() * 3.0, offLength1 = 4.0 + random.Real() * 2.0;
    const double offStart2 = 26.0 + random.Real() * 3.0, offLength2 = 5.0 + random.Real() * 2.0;
    std::vector<double> minuteWeight(48 * 60);
    double lull = 1.0;
    for (std::size_t m = 0; m < minuteWeight.size(); ++m) {
        const double hour = static_cast<double>(m) / 60.0;
        if (m % 10 == 0) lull = 0.45 + random.Real() * 1.1;
        const double local = std::fmod(hour + ownOffset + 48.0, 24.0);
        double w = 0.55 + 0.45 * std::sin((local - 9.0) / 24.0 * 2.0 * 3.14159265358979);
        w *= 1.0 + 1.4 * std::exp(-hour / 1.5);              // the opening
        w *= 1.0 - 0.25 * hour / 48.0;                       // fatigue
        if (hour > 45.0) w *= 1.35;                          // the sprint to the end
        if ((hour >= offStart1 && hour < offStart1 + offLength1) || (hour >= offStart2 && hour < offStart2 + offLength2))
            w = 0.0;
        minuteWeight[m] = w * lull;
    }
    const WeightedPick pickMinute(minuteWeight);
    std::vector<std::uint32_t> seconds(o.qsos);
    for (std::uint32_t& s : seconds) s = static_cast<std::uint32_t>(pickMinute.Pick(random) * 60 + random.Below(60));
    std::sort(seconds.begin(), seconds.end());

    std::unordered_set<std::string> worked;  // call, band and mode already in the log
    std::size_t band = 3;
    double frequencyKHz = 0.0;
    std::size_t offBandLeft = 0;
    log.qsos.reserve(o.qsos);
    std::vector<std::size_t> stationOf;  // by QSO
    stationOf.reserve(o.qsos);
    for (std::size_t n = 0; n < o.qsos; ++n) {
        const double hour = seconds[n] / 3600.0;
        const double local = std::fmod(hour + ownOffset + 48.0, 24.0);

        // The operator stays on a band for a while, and leaves one that closes.
        const bool bandClosing = BandWeight(band, local) < 0.2 && random.Chance(0.3);
        if (n == 0 || random.Chance(0.04) || bandClosing) {
            std::vector<double> weights(6);
            for (std::size_t b = 0; b < 6; ++b) weights[b] = BandWeight(b, local);
            const std::size_t next = WeightedPick(weights).Pick(random);
            if (next != band || n == 0) frequencyKHz = 0.0;
            band = next;
        }
        if (offBandLeft == 0 && random.Chance(o.offBandRate)) offBandLeft = 1 + random.Below(3);
        const BandPlan& plan = offBandLeft > 0 ? (o.cw ? kOffBandCw : kOffBandSsb) : kContestBands[band];
        // Running on one frequency, or tuning across the band.
        double low = o.cw ? plan.cwLow : plan.ssbLow, high = o.cw ? plan.cwHigh : plan.ssbHigh;
        if (offBandLeft > 0 || frequencyKHz < low || frequencyKHz > high || random.Chance(0.35))
            frequencyKHz = low + random.Real() * (high - low);

        GeneratedQso q;
        q.time = log.start + seconds[n] / 86400.0;
        q.frequencyHz = static_cast<std::uint64_t>(frequencyKHz * 10.0) * 100;
        q.band = plan.name;
        q.mode = o.cw ? "CW" : "SSB";
        q.rstSent = q.rstReceived = o.cw ? "599" : "59";
        q.serialSent = static_cast<unsigned>(n + 1);

        // A dupe: a station worked on this band before, logged again.
        const GeneratedQso* again = nullptr;
        if (offBandLeft == 0 && random.Chance(o.dupeRate)) {
            for (std::size_t back = log.qsos.size(); back > 0 && log.qsos.size() - back < 400; --back)
                if (log.qsos[back - 1].band == q.band && log.qsos[back - 1].mode == q.mode &&
                    random.Chance(0.15)) {
                    again = &log.qsos[back - 1];
                    break;
                }
        }
        const Station* station = again != nullptr ? &stations[stationOf[again - log.qsos.data()]] : nullptr;
        for (int tries = 0; station == nullptr; ++tries) {
            const Station& s = stations[pickStation.Pick(random)];
            if (tries < 50 && worked.count(s.call + ' ' + q.band + ' ' + q.mode) != 0) continue;
            station = &s;
        }
        stationOf.push_back(static_cast<std::size_t>(station - stations.data()));
        worked.insert(station->call + ' ' + q.band + ' ' + q.mode);
        q.call = station->call;
        q.country = station->country;
        q.continent = station->continent;
        q.prefix = WpxPrefix(q.call);
        q.serialReceived = 1 + static_cast<unsigned>(station->rate * hour * (0.8 + 0.3 * random.Real()));

        if (random.Chance(o.wrongModeRate)) q.mode = o.cw ? "RTTY" : "FM";
        if (random.Chance(o.missingSerialRate)) q.serialReceived = 0;
        if (offBandLeft > 0) --offBandLeft;
        log.qsos.push_back(std::move(q));
    }
    return log;
}

std::string ToAdif(const GeneratedLog& log) {
    const GeneratorOptions& o = log.options;
    std::string out = "CQ WPX " + std::string(o.cw ? "CW" : "SSB") + " contest log of " + o.ownCall +
                      ", generated (seed " + std::to_string(o.seed) + ")\n";
    AddField(out, "ADIF_VER", "3.1.4");
    AddField(out, "PROGRAMID", "wpx-genlog");
    out += "<EOH>\n";
    const std::string ownDxcc = std::to_string(log.ownCountry->dxcc);
    for (const GeneratedQso& q : log.qsos) {
        int y, mo, d, h, mi, s;
        CalendarOf(q.time, y, mo, d, h, mi, s);
        char date[16], time[16];
        std::snprintf(date, sizeof date, "%04d%02d%02d", y, mo, d);
        std::snprintf(time, sizeof time, "%02d%02d%02d", h, mi, s);
        AddField(out, "CALL", q.call);
        AddField(out, "QSO_DATE", date);
        AddField(out, "TIME_ON", time);
        AddField(out, "FREQ", FrequencyText(q.frequencyHz));
        AddField(out, "BAND", q.band);
        AddField(out, "MODE", q.mode);
        AddField(out, "RST_SENT", q.rstSent);
        AddField(out, "RST_RCVD", q.rstReceived);
        AddField(out, "STX", std::to_string(q.serialSent));
        AddField(out, "STX_STRING", Padded(q.serialSent));
        if (q.serialReceived != 0) {
            AddField(out, "SRX", std::to_string(q.serialReceived));
            AddField(out, "SRX_STRING", Padded(q.serialReceived));
        }
        if (o.writePrefix) AddField(out, "PFX", q.prefix);
        AddField(out, "DXCC", std::to_string(q.country->dxcc));
        AddField(out, "COUNTRY", q.country->name);
        AddField(out, "CONT", q.continent);
        AddField(out, "STATION_CALLSIGN", o.ownCall);
        AddField(out, "MY_DXCC", ownDxcc);
        out += "<EOR>\n";
    }
    return out;
}

}  // namespace tools
