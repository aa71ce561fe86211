#include "contest/ole_date.h"

#include <cmath>
#include <cstring>
#include <ctime>

namespace stats {

const char kInvalidDateTimeText[] = "Invalid DateTime";

namespace {

// 1 January 100 and 31 December 9999 as date values.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958465.0;

// Days from 1 March of year 0 based arithmetic (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Days between 1970-01-01 and the date epoch 1899-12-30.
constexpr std::int64_t kEpochOffset = -25569;


// A date value on a linear scale (negative values have their fraction counted
// as time of day, not backwards).
double Linear(double dt) {
    if (dt >= 0.0) return dt;
    const double day = std::ceil(dt);
    return day - (dt - day);
}

}  // namespace

std::optional<CalendarFields> OleDateToFields(double dt) {
    if (!(dt > kMinDate - 1.0 && dt < kMaxDate + 1.0)) return std::nullopt;  // NaN too

    // Whole days count toward zero; the fraction is the time of day either way.
    const double dayPart = dt < 0.0 ? std::ceil(dt) : std::floor(dt);
    double time = std::fabs(dt - dayPart) + 0.00000000001;  // guard against truncation
    if (time >= 1.0) time -= 0.00000000001;

    std::int64_t days = static_cast<std::int64_t>(dayPart);
    CalendarFields f;
    time *= 24.0;
    f.hour = static_cast<int>(time);
    time -= f.hour;
    time *= 60.0;
    f.minute = static_cast<int>(time);
    time -= f.minute;
    time *= 60.0;
    f.second = static_cast<int>(time);
    time -= f.second;
    if (time > 0.5) {  // round to the nearest second, carrying into the date
        if (++f.second == 60) {
            f.second = 0;
            if (++f.minute == 60) {
                f.minute = 0;
                if (++f.hour == 24) {
                    f.hour = 0;
                    ++days;
                }
            }
        }
    }

    CivilFromDays(days + kEpochOffset, f.year, f.month, f.day);
    if (f.year > 9999) return std::nullopt;  // the last half second of 9999 rounds past the range
    const std::int64_t unixDays = days + kEpochOffset;
    f.dayOfWeek = static_cast<int>(((unixDays % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    f.dayOfYear = static_cast<int>(unixDays - DaysFromCivil(f.year, 1, 1) + 1);
    return f;
}

double OleDateFromFields(int year, int month, int day, int hour, int minute, double second) {
    const double days = static_cast<double>(DaysFromCivil(year, month, day) - kEpochOffset);
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before the epoch the fraction still runs forward within the day.
    return days >= 0.0 ? days + time : days - time;
}

std::string FormatOleDate(const OleDateTime& value, const char* format) {
    if (value.m_status == OleDateTime::kNull) return std::string();
    if (value.m_status != OleDateTime::kValid) return kInvalidDateTimeText;
    const auto f = OleDateToFields(value.m_dt);
    if (!f) return kInvalidDateTimeText;
    if (format == nullptr || *format == '\0') return std::string();

    // The bad-QSO file's date and time, made for every rejected QSO and dupe
    // of a replay: put together by hand, since the C runtime's strftime is
    // slow under some Windows runtimes. Years of other than four digits take
    // the general way.
    if (std::strcmp(format, "%Y-%m-%d %H%M") == 0 && f->year >= 1000 && f->year <= 9999) {
        std::string text = "0000-00-00 0000";
        auto put = [&](std::size_t at, int value, int digits) {
            for (int i = digits - 1; i >= 0; --i, value /= 10) text[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        };
        put(0, f->year, 4);
        put(5, f->month, 2);
        put(8, f->day, 2);
        put(11, f->hour, 2);
        put(13, f->minute, 2);
        return text;
    }

    std::tm tm{};
    tm.tm_sec = f->second;
    tm.tm_min = f->minute;
    tm.tm_hour = f->hour;
    tm.tm_mday = f->day;
    tm.tm_mon = f->month - 1;
    tm.tm_year = f->year - 1900;
    tm.tm_wday = f->dayOfWeek;
    tm.tm_yday = f->dayOfYear - 1;
    tm.tm_isdst = 0;
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, n);
}

std::optional<std::int64_t> OleDateMinute(const OleDateTime& value) {
    if (!value.IsValid()) return std::nullopt;
    const auto f = OleDateToFields(value.m_dt);
    if (!f) return std::nullopt;
    return DaysFromCivil(f->year, f->month, f->day) * 1440 + f->hour * 60 + f->minute;
}

OleDateTime OleDateOfMinute(std::int64_t minute) {
    const std::int64_t unixDays = minute >= 0 ? minute / 1440 : -((-minute + 1439) / 1440);
    const std::int64_t ofDay = minute - unixDays * 1440;
    const double days = static_cast<double>(unixDays - kEpochOffset);
    const double time = static_cast<double>(ofDay) / 1440.0;
    return OleDateTime::Valid(days >= 0.0 ? days + time : days - time);
}

bool OleDatesEqual(const OleDateTime& a, const OleDateTime& b) {
    if (a.m_status == OleDateTime::kValid && b.m_status == OleDateTime::kValid)
        return a.m_dt == b.m_dt;
    return a.m_status == OleDateTime::kNull && b.m_status == OleDateTime::kNull;
}

bool OleDateIsLater(const OleDateTime& a, const OleDateTime& b) {
    if (!a.IsValid() || std::isnan(a.m_dt)) return false;
    return !b.IsValid() || std::isnan(b.m_dt) || Linear(a.m_dt) > Linear(b.m_dt);
}

std::optional<std::int64_t> SpanWholeMinutes(const OleDateTime& from, const OleDateTime& to) {
    if (!from.IsValid() || !to.IsValid()) return std::nullopt;
    // The span goes to whole milliseconds before the half second is added: a
    // date value near today carries about a microsecond of rounding error,
    // which would otherwise put a span of exactly 59:59.5 just below the half
    // second that makes it 60 minutes.
    constexpr double kMsPerDay = 24.0 * 60.0 * 60.0 * 1000.0;
    const double span = Linear(to.m_dt) - Linear(from.m_dt);
    const double spanMs = std::round(span * kMsPerDay);
    if (std::fabs(spanMs) < 9.0e15) {
        const std::int64_t ms = static_cast<std::int64_t>(spanMs);
        return (ms + (ms < 0 ? -500 : 500)) / 60000;  // truncates toward zero
    }
    // Far beyond any calendar date the half second no longer matters.
    const double minutes = span * (24.0 * 60.0);
    if (!(std::fabs(minutes) < 9.0e18)) return std::nullopt;  // NaN too
    return static_cast<std::int64_t>(minutes);
}

}  // namespace stats
