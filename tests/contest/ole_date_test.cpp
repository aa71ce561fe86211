#include "contest/ole_date.h"

#include <gtest/gtest.h>

using stats::FormatOleDate;
using stats::OleDateFromFields;
using stats::OleDateTime;
using stats::OleDateToFields;
using stats::SpanWholeMinutes;

namespace {
std::string Text(double dt, const char* format = "%Y-%m-%d %H:%M:%S") {
    return FormatOleDate(OleDateTime::Valid(dt), format);
}
}  // namespace

TEST(OleDateConversion, KnownDatesAndTheEpoch) {
    EXPECT_EQ(Text(0.0), "1899-12-30 00:00:00");
    EXPECT_EQ(Text(1.0), "1899-12-31 00:00:00");
    EXPECT_EQ(Text(2.5), "1900-01-01 12:00:00");
    EXPECT_EQ(Text(36526.0), "2000-01-01 00:00:00");
    EXPECT_EQ(Text(OleDateFromFields(2021, 5, 30, 23, 59, 59)), "2021-05-30 23:59:59");
    EXPECT_EQ(Text(OleDateFromFields(2024, 2, 29, 6, 7, 8)), "2024-02-29 06:07:08");
}

TEST(OleDateConversion, NegativeDatesKeepTheFractionAsTimeOfDay) {
    EXPECT_EQ(Text(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(Text(-0.5), "1899-12-30 12:00:00");
    EXPECT_EQ(Text(-1.0), "1899-12-29 00:00:00");
    EXPECT_DOUBLE_EQ(OleDateFromFields(1899, 12, 29, 6), -1.25);
    EXPECT_DOUBLE_EQ(OleDateFromFields(1899, 12, 30, 12), 0.5);
}

TEST(OleDateConversion, RoundsToTheNearestSecondAndCarriesIntoTheDate) {
    const double second = 1.0 / 86400.0;
    const double midnight = OleDateFromFields(2021, 12, 31);
    EXPECT_EQ(Text(midnight - 0.6 * second), "2021-12-30 23:59:59");
    EXPECT_EQ(Text(midnight - 0.4 * second), "2021-12-31 00:00:00");
    EXPECT_EQ(Text(midnight + 1.0 - 0.4 * second), "2022-01-01 00:00:00");
    EXPECT_EQ(Text(midnight + 1.0 - 0.6 * second), "2021-12-31 23:59:59");
    EXPECT_EQ(Text(OleDateFromFields(2021, 5, 30, 10, 59, 59.7)), "2021-05-30 11:00:00");
    EXPECT_EQ(Text(OleDateFromFields(2021, 5, 30, 10, 59, 59.3)), "2021-05-30 10:59:59");
}

TEST(OleDateConversion, YearsOneHundredToNineNineNineNine) {
    const auto first = OleDateToFields(-657434.0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->year * 10000 + first->month * 100 + first->day, 1000101);
    EXPECT_EQ(Text(2958465.0 + 86399.0 / 86400.0), "9999-12-31 23:59:59");
    EXPECT_FALSE(OleDateToFields(-657435.0));
    EXPECT_FALSE(OleDateToFields(2958466.0));
    EXPECT_EQ(Text(2958465.9999999), "Invalid DateTime") << "rounds into the year 10000";
    EXPECT_EQ(Text(2958466.0), "Invalid DateTime");
    EXPECT_FALSE(OleDateToFields(std::numeric_limits<double>::quiet_NaN()));
}

TEST(OleDateConversion, WeekdayAndDayOfYear) {
    const auto f = OleDateToFields(OleDateFromFields(2021, 5, 30, 12));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->dayOfWeek, 0);  // a Sunday
    EXPECT_EQ(f->dayOfYear, 150);
    EXPECT_EQ(Text(OleDateFromFields(2021, 5, 30), "%a %j"), "Sun 150");
}

TEST(OleDateFormatting, StatusDecidesBeforeTheValue) {
    EXPECT_EQ(FormatOleDate(OleDateTime::Null(), "%Y"), "");
    EXPECT_EQ(FormatOleDate(OleDateTime{44346.0, OleDateTime::kInvalid}, "%Y"), "Invalid DateTime");
    EXPECT_EQ(FormatOleDate(OleDateTime{44346.0, 7}, "%Y"), "Invalid DateTime");
    EXPECT_EQ(FormatOleDate(OleDateTime::Valid(44346.0), "%d_%m_%Y"), "30_05_2021");
    EXPECT_EQ(FormatOleDate(OleDateTime::Valid(44346.0), "%d.%m"), "30.05");
}

TEST(OleDateEquality, ValidByValueNullWithNull) {
    EXPECT_TRUE(stats::OleDatesEqual(OleDateTime::Valid(1.5), OleDateTime::Valid(1.5)));
    EXPECT_FALSE(stats::OleDatesEqual(OleDateTime::Valid(1.5), OleDateTime::Valid(1.50001)));
    EXPECT_TRUE(stats::OleDatesEqual(OleDateTime::Null(), OleDateTime{3.0, OleDateTime::kNull}));
    EXPECT_FALSE(stats::OleDatesEqual(OleDateTime{1.0, OleDateTime::kInvalid}, OleDateTime{1.0, OleDateTime::kInvalid}));
    EXPECT_FALSE(stats::OleDatesEqual(OleDateTime::Null(), OleDateTime::Valid(0.0)));
}

TEST(OleDateSpan, WholeMinutesRoundedByHalfASecond) {
    const double t = OleDateFromFields(2021, 5, 30, 11, 0);
    auto before = [&](double seconds) {
        return SpanWholeMinutes(OleDateTime::Valid(t - seconds / 86400.0), OleDateTime::Valid(t));
    };
    EXPECT_EQ(before(59 * 60 + 59.4), 59);
    EXPECT_EQ(before(59 * 60 + 59.6), 60);
    // Exactly half a second short of a minute makes that minute, although the
    // date values themselves are off by about a microsecond.
    for (const double end : {t, OleDateFromFields(2023, 11, 26, 23, 59), OleDateFromFields(1999, 3, 1, 0, 7)}) {
        const auto before = [&](double seconds) {
            return SpanWholeMinutes(OleDateTime::Valid(end - seconds / 86400.0), OleDateTime::Valid(end));
        };
        EXPECT_EQ(before(59 * 60 + 59.5), 60) << end;
        EXPECT_EQ(before(9 * 60 + 59.5), 10) << end;
        EXPECT_EQ(before(9 * 60 + 59.4), 9) << end;
        EXPECT_EQ(before(-59.5), -1) << end;
    }
    EXPECT_EQ(before(0), 0);
    EXPECT_EQ(before(-30), 0);
    EXPECT_EQ(before(-61), -1);
    EXPECT_FALSE(SpanWholeMinutes(OleDateTime::Null(), OleDateTime::Valid(t)));
    // A span across the epoch counts the negative side's fraction forwards.
    EXPECT_EQ(SpanWholeMinutes(OleDateTime::Valid(-1.25), OleDateTime::Valid(0.0)), 18 * 60);
}
