#include "engine/clock.h"
#include "engine/datenumber.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using namespace std::chrono;

TEST(DateNumberTest, CalendarArithmetic) {
    EXPECT_EQ(PreviousDay(20050301), 20050228);
    EXPECT_EQ(PreviousDay(20040301), 20040229);
    EXPECT_EQ(PreviousDay(20050101), 20041231);
    EXPECT_EQ(NextDay(20041231), 20050101);
    EXPECT_EQ(AddDays(20261211, 21), 20270101);
    EXPECT_EQ(DaysBetween(20050101, 20050201), 31);
    EXPECT_EQ(DaysBetween(20050201, 20050101), -31);
    EXPECT_EQ(DaysBetween(0, 20050101), 0);
    EXPECT_EQ(WeekdayOf(20261211), Friday);
    EXPECT_TRUE(IsWeekend(20261212));
    EXPECT_FALSE(IsWeekend(20261211));
}

TEST(DateNumberTest, YearsEarlierRollsLeapDayToMarch) {
    EXPECT_EQ(YearsEarlier(20261211, 2), 20241211);
    EXPECT_EQ(YearsEarlier(20240229, 2), 20220301);
    EXPECT_EQ(YearsEarlier(20280229, 4), 20240229);
}

TEST(DateNumberTest, InvalidDatesGiveNoDate) {
    EXPECT_FALSE(ToCalendarDate(0));
    EXPECT_FALSE(ToCalendarDate(20050230));
    EXPECT_FALSE(ToCalendarDate(20051305));
    EXPECT_EQ(PreviousDay(20050230), 0);
    EXPECT_EQ(DateNumberToStored(0), "");
}

TEST(DateNumberTest, StoredAndIsoForms) {
    EXPECT_EQ(DateNumberToStored(20050105), "5-Jan-05");
    EXPECT_EQ(DateNumberToStored(20261210), "10-Dec-26");
    EXPECT_EQ(DateNumberToStored(19991231), "31-Dec-99");
    EXPECT_EQ(DateNumberToIso(20050105), "2005-01-05");
}

TEST(DateNumberTest, TodayComesFromTheClock) {
    ScopedClock clock{std::make_shared<FixedClock>(2026y / December / 11d)};
    EXPECT_EQ(TodayDateNumber(), 20261211);
}

} // namespace
} // namespace tessaly
