// The core's date conversion against the system's own (oleaut32), which the
// host's date class uses: calendar fields, rounding to the second, the range,
// and the formatted text on the Windows C runtime.
#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "contest/ole_date.h"

namespace wine_tests {
namespace {

struct Fields {
    int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
    bool operator==(const Fields&) const = default;
};

std::optional<Fields> System(double dt) {
    UDATE u{};
    if (FAILED(VarUdateFromDate(dt, 0, &u))) return std::nullopt;
    return Fields{u.st.wYear, u.st.wMonth, u.st.wDay, u.st.wHour, u.st.wMinute, u.st.wSecond, u.st.wDayOfWeek,
                  u.wDayOfYear};
}

std::optional<Fields> Core(double dt) {
    const auto f = stats::OleDateToFields(dt);
    if (!f) return std::nullopt;
    return Fields{f->year, f->month, f->day, f->hour, f->minute, f->second, f->dayOfWeek, f->dayOfYear};
}

std::string Show(const std::optional<Fields>& f) {
    if (!f) return "rejected";
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d wday %d yday %d", f->year, f->month, f->day,
                  f->hour, f->minute, f->second, f->dayOfWeek, f->dayOfYear);
    return text;
}

// The value with the seconds of its time of day, exactly (long double holds
// every double), to tell which side of a rounding boundary it lies on.
std::string Exact(double dt) {
    const long double day = dt < 0 ? std::ceil(static_cast<long double>(dt)) : std::floor(static_cast<long double>(dt));
    const long double seconds = std::fabs(static_cast<long double>(dt) - day) * 86400.0L;
    char text[96];
    std::snprintf(text, sizeof text, "%.17g (day %.0Lf, %.9Lf s into it)", dt, day, seconds);
    return text;
}

// True when rounding to the second carried the value into the next day.
bool RoundedIntoNextDay(double dt, const Fields& f) {
    const double day = dt < 0 ? std::ceil(dt) : std::floor(dt);
    return f.hour == 0 && f.minute == 0 && f.second == 0 && std::fabs(dt - day) > 0.5;
}

// Each value both convert differently, with both answers; at most `limit`.
//
// When rounding carries a value into the next day, oleaut32 (as wine has it)
// leaves the weekday and day of the year at those of the day before; the
// core gives those of the date it returns. There, the reference for these
// two is oleaut32's answer for midnight of the returned date.
std::vector<std::string> Disagreements(const std::vector<double>& values, std::size_t limit = 20) {
    std::vector<std::string> found;
    std::size_t count = 0;
    for (const double dt : values) {
        auto system = System(dt);
        const auto core = Core(dt);
        // oleaut32 (as wine has it) rounds the last half second of 9999 into
        // 1 January 10000, a date outside the range that the host's date
        // class formats; the core rejects such a value.
        if (system && system->year > 9999) system.reset();
        if (system && RoundedIntoNextDay(dt, *system)) {
            const auto midnight =
                System(stats::OleDateFromFields(system->year, system->month, system->day));
            if (midnight) {
                system->dayOfWeek = midnight->dayOfWeek;
                system->dayOfYear = midnight->dayOfYear;
            }
        }
        bool same = system == core;
        // The formatted text must hold the same fields as well (the C
        // runtime formats no year after 9999).
        std::string text, expectedText;
        if (same && core && core->year <= 9999) {
            text = stats::FormatOleDate(stats::OleDateTime::Valid(dt), "%Y-%m-%d %H:%M:%S %w %j");
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d %d %03d", system->year,
                          system->month, system->day, system->hour, system->minute, system->second,
                          system->dayOfWeek, system->dayOfYear);
            expectedText = buffer;
            same = text == expectedText;
        }
        if (same) continue;
        if (++count > limit) continue;
        found.push_back(Exact(dt) + ": oleaut32 " + Show(system) + ", core " + Show(core) +
                        (text != expectedText ? ", core text \"" + text + "\"" : ""));
    }
    if (count > limit) found.push_back("... " + std::to_string(count - limit) + " more");
    return found;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& line : lines) s += line + "\n";
    return s;
}

// dt for a whole day number and a time of day in seconds, the fraction
// counted forward within the day as the format has it before the epoch too.
double DateOf(double dayNumber, double seconds) {
    const double fraction = seconds / 86400.0;
    return dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction;
}

TEST(OleDateCompare, ChosenValues) {
    std::vector<double> values = {0.0, 1.0, -1.0, -1.25, -0.5, 0.5, 2.5, -2.5, 36526.999994, 44346.5,
                                  36525.0, 36585.0, 36586.0, 2.0, 60.0, 61.0, -365.0, -366.0, 73050.0};
    // The year limits.
    for (double dt : {-657434.0, -657434.5, -657434.99998, -657433.999994, 2958465.0, 2958465.5, 2958465.99998,
                      2958465.999994, 2958465.9999999})
        values.push_back(dt);
    // Within half a second of midnight and of a minute boundary, both ways,
    // on days before and after the epoch.
    for (double day : {0.0, 1.0, 59.0, 44346.0, 2958464.0, -1.0, -2.0, -365.0, -657433.0}) {
        for (double seconds : {0.0, 0.25, 0.4999, 0.5, 0.5001, 0.75, 59.4999, 59.5, 59.5001, 60.0, 3599.5001,
                               86399.0, 86399.4999, 86399.5, 86399.5001, 86399.75, 86399.9999})
            values.push_back(DateOf(day, seconds));
    }
    EXPECT_EQ(Join(Disagreements(values)), "");
}

TEST(OleDateCompare, OutsideTheRangeBothReject) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double dt : {-657435.0, -657435.5, -1.0e7, -inf, 2958466.0, 2958466.5, 1.0e7, inf}) {
        EXPECT_FALSE(System(dt)) << Exact(dt) << ": " << Show(System(dt));
        EXPECT_FALSE(Core(dt)) << Exact(dt) << ": " << Show(Core(dt));
        EXPECT_EQ(stats::FormatOleDate(stats::OleDateTime::Valid(dt), "%Y"), "Invalid DateTime");
    }
    EXPECT_FALSE(Core(std::numeric_limits<double>::quiet_NaN()));
}

TEST(OleDateCompare, PseudoRandomValues) {
    std::mt19937_64 random(20210530);  // fixed: the same values every run
    std::uniform_real_distribution<double> anywhere(-657434.999999, 2958465.999999);
    std::uniform_int_distribution<int> day(-657434, 2958465);
    std::uniform_int_distribution<int> second(0, 86399);
    std::vector<double> values;
    for (int i = 0; i < 4000; ++i) values.push_back(anywhere(random));
    // Close to a rounding boundary: a tenth of a millisecond either side of
    // the half second.
    for (int i = 0; i < 2000; ++i) {
        const double seconds = second(random) + (i % 2 == 0 ? 0.4999 : 0.5001);
        values.push_back(DateOf(day(random), seconds));
    }
    EXPECT_EQ(Join(Disagreements(values)), "");
}

}  // namespace
}  // namespace wine_tests
