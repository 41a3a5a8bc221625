#include "app/caption.h"

#include <gtest/gtest.h>

using namespace pellion;

namespace {
const std::string kHead = " Pellion Clipboard" + std::string(10, ' ');
DateTime at(int hour, int minute) { return {2026, 12, 5, 6, hour, minute}; }  // a Saturday
}  // namespace

TEST(Caption, EarlierCaptionStepsBackAcrossTheHour) {
    const std::string date = "Saturday  5th Dec 26   ";
    struct Case {
        int hour, minute;
        const char *now, *earlier;
    } cases[] = {
        {10, 0, "10:00", "9:59"}, {1, 0, "1:00", "12:59"},  {0, 0, "00:00", "11:59"}, {0, 5, "00:05", "00:04"},
        {12, 0, "12:00", "11:59"}, {13, 0, "1:00", "12:59"}, {23, 10, "11:10", "11:09"}, {17, 7, "5:07", "5:06"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MainCaption(at(c.hour, c.minute)), kHead + date + c.now) << c.hour << ":" << c.minute;
        EXPECT_EQ(EarlierCaption(at(c.hour, c.minute)), kHead + date + c.earlier) << c.hour << ":" << c.minute;
    }
}

TEST(Caption, DaySuffixesMonthsAndYears) {
    EXPECT_EQ(DateTimeText(at(17, 7)), "Saturday  5th Dec 26   5:07");
    EXPECT_EQ(DateTimeText({2026, 1, 1, 4, 9, 30}), "Thursday  1st Jan 26   9:30");
    EXPECT_EQ(DateTimeText({2005, 2, 2, 3, 9, 30}), "Wednesday  2nd Feb 05   9:30");
    EXPECT_EQ(DateTimeText({2026, 3, 3, 2, 9, 30}), "Tuesday  3rd Mar 26   9:30");
    EXPECT_EQ(DateTimeText({2026, 10, 12, 1, 9, 30}), "Monday  12th Oct 26   9:30");
    EXPECT_EQ(DateTimeText({2026, 6, 21, 0, 9, 30}), "Sunday  21th Jun 26   9:30");
}
