#include "RegionalSettings.h"

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(ParseShortDate, FollowsTheOrderAndSeparatorOfTheFormat) {
    EXPECT_EQ(ParseShortDate("06.05.2002", "dd.MM.yyyy"), (TDate{2002, 5, 6}));
    EXPECT_EQ(ParseShortDate("6.5.02", "dd.MM.yyyy"), (TDate{2002, 5, 6}));
    EXPECT_EQ(ParseShortDate(" 6.5.2002 ", "dd.MM.yyyy"), (TDate{2002, 5, 6}));
    EXPECT_EQ(ParseShortDate("5/6/02", "M/d/yy"), (TDate{2002, 5, 6}));
    EXPECT_EQ(ParseShortDate("2002-05-06", "yyyy-MM-dd"), (TDate{2002, 5, 6}));
    EXPECT_EQ(ParseShortDate("06.05.99", "dd.MM.yy"), (TDate{1999, 5, 6}));
    EXPECT_FALSE(ParseShortDate("2002-05-06", "dd.MM.yyyy"));
    EXPECT_FALSE(ParseShortDate("06/05/2002", "dd.MM.yyyy"));
}

TEST(ParseShortDate, RejectsMalformedAndImpossibleDates) {
    for (const char* bad : {"", "06.05", "06.05.2002.", "006.05.2002", "06.005.2002", "06.05.202",
                            "06.05.20022", "a6.05.2002", "6 .5.2002", "00.05.2002", "06.13.2002",
                            "31.04.2002", "29.02.2001", "+6.05.2002", "06.05.-002",
                            "9999999999.05.2002", "06.99999999999.2002", "06.05.9999999999"})
        EXPECT_FALSE(ParseShortDate(bad, "dd.MM.yyyy")) << bad;
    EXPECT_TRUE(ParseShortDate("29.02.2000", "dd.MM.yyyy"));
    EXPECT_TRUE(ParseShortDate("29.02.00", "dd.MM.yy"));
}

TEST(FormatDateTime, ExpandsThePatternLetters) {
    EXPECT_EQ(FormatDate({2002, 5, 6}, "dd.MM.yyyy"), "06.05.2002");
    EXPECT_EQ(FormatDate({2002, 5, 6}, "d/M/yy"), "6/5/02");
    EXPECT_EQ(FormatDate({2002, 5, 6}, "yyyy-MM-dd"), "2002-05-06");
    EXPECT_EQ(FormatTime({10, 5, 0}, "HH:mm:ss"), "10:05:00");
    EXPECT_EQ(FormatTime({0, 5, 9}, "h:mm:ss AP"), "12:05:09 AM");
    EXPECT_EQ(FormatTime({13, 5, 9}, "h:mm:ss ap"), "1:05:09 pm");
    EXPECT_EQ(FormatTime({9, 5, 9}, "H'h'mm"), "9h05");
}
