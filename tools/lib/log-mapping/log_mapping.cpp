#include "log_mapping.h"

#include <algorithm>
#include <cmath>

#include "text.h"
#include "wpx_prefix.h"

namespace tools {

namespace {

std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

constexpr std::int64_t kHostEpoch = -25569;  // 30 December 1899, in days from 1 January 1970

bool AllDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

int Number(std::string_view s) {
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

std::string ValueOr(const adif::Record& r, std::string_view name, std::string_view fallbackName = {}) {
    if (const std::string* v = r.Find(name)) return *v;
    if (!fallbackName.empty())
        if (const std::string* v = r.Find(fallbackName)) return *v;
    return {};
}

// A present field with nothing but blanks counts as absent: blanks as the
// values are trimmed, or a CALL of a form feed would pass a QSO without a call.
const std::string* Present(const adif::Record& r, std::string_view name) {
    const std::string* v = r.Find(name);
    return v != nullptr && !TrimBlanks(*v).empty() ? v : nullptr;
}

std::string Trimmed(std::string_view s) { return std::string(TrimBlanks(s)); }

}  // namespace

double HostDateOf(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<double>(DaysFromCivil(year, month, day) - kHostEpoch) +
           (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

void CalendarOf(double hostDate, int& year, int& month, int& day, int& hour, int& minute, int& second) {
    const std::int64_t totalSeconds = std::llround(hostDate * 86400.0);
    std::int64_t days = totalSeconds / 86400 + kHostEpoch;
    std::int64_t rest = totalSeconds % 86400;
    hour = static_cast<int>(rest / 3600);
    minute = static_cast<int>(rest / 60 % 60);
    second = static_cast<int>(rest % 60);
    days += 719468;
    const std::int64_t era = days / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::optional<double> ParseAdifDate(std::string_view date) {
    if (date.size() != 8 || !AllDigits(date)) return std::nullopt;
    const int y = Number(date.substr(0, 4)), m = Number(date.substr(4, 2)), d = Number(date.substr(6, 2));
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1930 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return std::nullopt;
    if (m == 2 && d == 29 && !(y % 4 == 0 && (y % 100 != 0 || y % 400 == 0))) return std::nullopt;
    return HostDateOf(y, m, d);
}

std::optional<double> ParseAdifTime(std::string_view time) {
    if ((time.size() != 4 && time.size() != 6) || !AllDigits(time)) return std::nullopt;
    const int h = Number(time.substr(0, 2)), m = Number(time.substr(2, 2));
    const int s = time.size() == 6 ? Number(time.substr(4, 2)) : 0;
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return (h * 3600.0 + m * 60.0 + s) / 86400.0;
}

std::optional<std::uint64_t> ParseMegahertz(std::string_view text) {
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    if ((whole.empty() && fraction.empty()) || (!whole.empty() && !AllDigits(whole)) ||
        (!fraction.empty() && !AllDigits(fraction)) || whole.size() > 9)
        return std::nullopt;
    std::uint64_t hz = 0;
    for (char c : whole) hz = hz * 10 + static_cast<std::uint64_t>(c - '0');
    for (std::size_t i = 0; i < 6; ++i) hz = hz * 10 + (i < fraction.size() ? static_cast<std::uint64_t>(fraction[i] - '0') : 0);
    return hz;
}

std::string BandOfFrequency(std::uint64_t hz) {
    struct Band {
        std::uint64_t low, high;  // kilohertz
        const char* name;
    };
    static constexpr Band kBands[] = {
        {1800, 2000, "160m"},     {3500, 4000, "80m"},       {5060, 5450, "60m"},      {7000, 7300, "40m"},
        {10100, 10150, "30m"},    {14000, 14350, "20m"},     {18068, 18168, "17m"},    {21000, 21450, "15m"},
        {24890, 24990, "12m"},    {28000, 29700, "10m"},     {50000, 54000, "6m"},     {70000, 71000, "4m"},
        {144000, 148000, "2m"},   {420000, 450000, "70cm"},
    };
    for (const Band& b : kBands)
        if (hz >= b.low * 1000 && hz <= b.high * 1000) return b.name;
    return {};
}

Location Locate(const CountryFile* countries, std::string_view call, std::optional<int> dxcc,
                std::string_view countryName) {
    Location where;
    if (countries == nullptr) {
        where.country = dxcc ? std::to_string(*dxcc) : std::string(countryName);
        where.found = !where.country.empty();
        return where;
    }
    const auto byCall = countries->ByCall(call);
    const CountryEntity* entity = nullptr;
    if (dxcc && countries->HasEntityNumbers()) entity = countries->ByDxcc(*dxcc);
    // A log names DXCC entities ("ITALY" for IT9ABC), never the list's
    // countries of cty.dat: a call the file places in one of those stays there,
    // as it does when the log gives an entity number the file cannot use.
    const bool inListCountry = byCall && byCall->entity->listCountry;
    if (entity == nullptr && !countryName.empty() && !inListCountry) entity = countries->ByName(countryName);
    if (entity == nullptr && byCall) entity = byCall->entity;
    if (entity == nullptr) return where;
    where.country = entity->prefix;
    where.continent = byCall && byCall->entity == entity ? byCall->continent : entity->continent;
    where.found = true;
    return where;
}

namespace {

std::string UnknownCountry(const std::string& call) {
    return "no country for " + call + " in the country file: passed without one";
}

}  // namespace

std::optional<HostQso> MapRecord(const adif::Record& r, const std::string& file, const CountryFile* countries,
                                 std::string* skipped, StationFields* station, std::string* warning) {
    auto fail = [&](const char* field, const std::string& problem) {
        throw adif::FormatError(file, r.number, field, problem);
    };
    auto skip = [&](const std::string& why) -> std::optional<HostQso> {
        if (skipped != nullptr) *skipped = why;
        return std::nullopt;
    };

    // Malformed values are faults in the file, found wherever they are.
    std::optional<double> date, time;
    if (const std::string* v = Present(r, "QSO_DATE"))
        if (!(date = ParseAdifDate(Trimmed(*v)))) fail("QSO_DATE", "\"" + *v + "\" is not a date YYYYMMDD");
    if (const std::string* v = Present(r, "TIME_ON"))
        if (!(time = ParseAdifTime(Trimmed(*v)))) fail("TIME_ON", "\"" + *v + "\" is not a time HHMM or HHMMSS");
    std::optional<std::uint64_t> hz;
    if (const std::string* v = Present(r, "FREQ"))
        if (!(hz = ParseMegahertz(Trimmed(*v)))) fail("FREQ", "\"" + *v + "\" is not a frequency in MHz");
    std::optional<int> dxcc;
    if (const std::string* v = Present(r, "DXCC")) {
        const std::string t = Trimmed(*v);
        if (!AllDigits(t) || t.size() > 4) fail("DXCC", "\"" + *v + "\" is not an entity number");
        dxcc = Number(t);
    }
    if (station != nullptr) {
        station->call = Trimmed(ValueOr(r, "STATION_CALLSIGN", "OPERATOR"));
        station->dxcc.reset();
        if (const std::string* v = Present(r, "MY_DXCC")) {
            const std::string t = Trimmed(*v);
            if (!AllDigits(t) || t.size() > 4) fail("MY_DXCC", "\"" + *v + "\" is not an entity number");
            station->dxcc = Number(t);
        }
        station->contest = UpperAscii(Trimmed(ValueOr(r, "CONTEST_ID")));
    }

    const std::string* call = Present(r, "CALL");
    if (call == nullptr) return skip("no CALL");
    if (!date) return skip("no QSO_DATE");
    if (!time) return skip("no TIME_ON");
    if (hz && *hz > 0xFFFFFFFFull) return skip("FREQ " + ValueOr(r, "FREQ") + " MHz is beyond what the host can pass");

    HostQso q;
    q.call = Trimmed(*call);
    q.time = stats::OleDateTime::Valid(*date + *time);
    q.frequencyHz = hz ? static_cast<std::uint32_t>(*hz) : 0;
    q.band = Present(r, "BAND") ? LowerAscii(Trimmed(*r.Find("BAND"))) : (hz ? BandOfFrequency(*hz) : std::string());
    q.mode = UpperAscii(Trimmed(ValueOr(r, "MODE")));
    q.rstSent = Trimmed(ValueOr(r, "RST_SENT"));
    q.rstReceived = Trimmed(ValueOr(r, "RST_RCVD"));
    q.exchangeSent = Trimmed(Present(r, "STX_STRING") ? ValueOr(r, "STX_STRING") : ValueOr(r, "STX"));
    q.exchangeReceived = Trimmed(Present(r, "SRX_STRING") ? ValueOr(r, "SRX_STRING") : ValueOr(r, "SRX"));
    q.wpxPrefix = Present(r, "PFX") ? UpperAscii(Trimmed(*r.Find("PFX"))) : WpxPrefix(q.call);

    const Location where = Locate(countries, q.call, dxcc, Present(r, "COUNTRY") ? Trimmed(*r.Find("COUNTRY")) : "");
    if (!where.found && countries != nullptr && warning != nullptr && !IsMaritimeOrAeronautical(q.call))
        *warning = UnknownCountry(q.call);
    q.countryPrefix = where.country;
    q.continent = Present(r, "CONT") ? UpperAscii(Trimmed(*r.Find("CONT"))) : where.continent;
    return q;
}

std::optional<std::uint64_t> ParseKilohertz(std::string_view text) {
    // The digits of kilohertz read as megahertz give millihertz.
    const auto millihertz = ParseMegahertz(text);
    if (!millihertz) return std::nullopt;
    return *millihertz / 1000;
}

std::string HostModeOfCabrillo(std::string_view token) {
    const std::string mode = UpperAscii(std::string(token));
    if (mode == "PH") return "SSB";
    if (mode == "RY") return "RTTY";
    return mode;
}

std::optional<HostQso> MapCabrilloQso(const cabrillo::QsoLine& line, const CountryFile* countries,
                                      std::string* problem, std::string* warning) {
    auto fail = [&](const std::string& why) -> std::optional<HostQso> {
        if (problem != nullptr) *problem = why;
        return std::nullopt;
    };
    // Above 30 MHz a log may name the band instead of the frequency.
    struct Designator {
        const char* token;
        const char* band;
        std::uint32_t megahertz;
    };
    static constexpr Designator kDesignators[] = {
        {"50", "6m", 50},     {"70", "4m", 70},        {"144", "2m", 144},     {"222", "1.25m", 222},
        {"432", "70cm", 432}, {"902", "33cm", 902},    {"1.2G", "23cm", 1240}, {"2.3G", "13cm", 2300},
        {"3.4G", "9cm", 3400},
    };
    HostQso q;
    const std::string frequency = UpperAscii(line.frequency);
    const auto designator = std::find_if(std::begin(kDesignators), std::end(kDesignators),
                                         [&](const Designator& d) { return frequency == d.token; });
    if (designator != std::end(kDesignators)) {
        q.frequencyHz = designator->megahertz * 1000000u;
        q.band = designator->band;
    } else {
        const auto hz = ParseKilohertz(line.frequency);
        if (!hz) return fail("\"" + line.frequency + "\" is not a frequency in kHz");
        if (*hz > 0xFFFFFFFFull) return fail(line.frequency + " kHz is beyond what the host can pass");
        q.frequencyHz = static_cast<std::uint32_t>(*hz);
        q.band = BandOfFrequency(*hz);
    }
    std::string digits;
    for (char c : line.date)
        if (c != '-') digits.push_back(c);
    const auto date = line.date.size() == 10 && line.date[4] == '-' && line.date[7] == '-' ? ParseAdifDate(digits)
                                                                                          : std::nullopt;
    if (!date) return fail("\"" + line.date + "\" is not a date YYYY-MM-DD");
    const auto time = line.time.size() == 4 ? ParseAdifTime(line.time) : std::nullopt;
    if (!time) return fail("\"" + line.time + "\" is not a time HHMM");

    q.call = line.call;
    q.time = stats::OleDateTime::Valid(*date + *time);
    q.mode = HostModeOfCabrillo(line.mode);
    q.rstSent = line.rstSent;
    q.rstReceived = line.rstReceived;
    q.exchangeSent = line.exchangeSent;
    q.exchangeReceived = line.exchangeReceived;
    q.wpxPrefix = WpxPrefix(q.call);
    const Location where = Locate(countries, q.call, std::nullopt, "");
    if (!where.found && countries != nullptr && warning != nullptr && !IsMaritimeOrAeronautical(q.call))
        *warning = UnknownCountry(q.call);
    q.countryPrefix = where.country;
    q.continent = where.continent;
    return q;
}

}  // namespace tools
