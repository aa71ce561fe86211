// The host's date-time value and the calendar arithmetic the plug-in needs.
//
// The host passes dates as OLE automation dates: a double counting days since
// 30 December 1899 00:00, plus a status. For a negative value the integer part
// counts days backwards and the fraction is still the time of day, so -1.25 is
// 29 December 1899 06:00. Conversions round to the nearest second, accept the
// years 100 to 9999 and format with strftime codes, as the host's platform does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace stats {

// Same layout as the host's 16-byte structure on every build: the date, then a
// 32-bit status, padded to 8-byte alignment.
struct alignas(8) OleDateTime {
    enum Status : std::int32_t { kValid = 0, kInvalid = 1, kNull = 2 };

    double m_dt = 0.0;
    std::int32_t m_status = kValid;

    static OleDateTime Null() { return OleDateTime{0.0, kNull}; }
    static OleDateTime Valid(double dt) { return OleDateTime{dt, kValid}; }

    bool IsValid() const { return m_status == kValid; }
    bool IsNull() const { return m_status == kNull; }
};
static_assert(sizeof(OleDateTime) == 16, "the host passes a 16-byte date-time");

struct CalendarFields {
    int year = 0;
    int month = 0;      // 1..12
    int day = 0;        // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 0;  // 0 = Sunday
    int dayOfYear = 0;  // 1..366
};

// Converts a date value to calendar fields, rounded to the nearest second.
// Returns nothing for values outside 1 January 100 .. 31 December 9999.
std::optional<CalendarFields> OleDateToFields(double dt);

// Builds the date value of a calendar date and time (no range check). For
// tests and tools that need to make host dates.
double OleDateFromFields(int year, int month, int day, int hour = 0, int minute = 0,
                         double second = 0.0);

// strftime-style text of a date: empty for a null date, "Invalid DateTime" for
// an invalid status or a value out of range. Any status other than valid and
// null counts as invalid.
std::string FormatOleDate(const OleDateTime& value, const char* format);

extern const char kInvalidDateTimeText[];

// The minute a date shows once formatted to the minute (the seconds rounded
// first, as the formatting does), counted from 1970-01-01 00:00: the minute of
// a QSO's line in a Cabrillo log. Nothing for a date that is not valid or lies
// outside the calendar.
std::optional<std::int64_t> OleDateMinute(const OleDateTime& value);

// The date value of such a minute.
OleDateTime OleDateOfMinute(std::int64_t minute);

// Equality of two host dates: both valid with the same value, or both null.
bool OleDatesEqual(const OleDateTime& a, const OleDateTime& b);

// True when `a` is a valid date after `b` on the time line, or a valid date
// (not NaN) while `b` is not valid.
bool OleDateIsLater(const OleDateTime& a, const OleDateTime& b);

// Whole minutes from `from` to `to` (to minus from), the span rounded by half a
// second away from zero and then truncated toward zero, so 59:59.5 is 60
// minutes. Nothing when either date is not valid.
std::optional<std::int64_t> SpanWholeMinutes(const OleDateTime& from, const OleDateTime& to);

}  // namespace stats
