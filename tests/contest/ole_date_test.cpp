#include "contest/ole_date.h"

#include <gtest/gtest.h>

using namespace stats;

TEST(OleDate, Smoke) {
    EXPECT_EQ(FormatOleDate(OleDateTime::Valid(OleDateFromFields(2021, 5, 30, 12, 34)), "%Y-%m-%d %H%M"),
              "2021-05-30 1234");
}
