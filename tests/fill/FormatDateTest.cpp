#include "FormatCases.h"

namespace slidesmith::fill {
namespace {

using namespace testing;

const odbc::FieldValue kAfternoon = Stamp(2009, 3, 15, 14, 5, 9); // a Sunday

TEST(FormatDate, DayMonthYearAndTimeTokens) {
    ExpectFormats({
        {kAfternoon, "yyyy-mm-dd hh:nn:ss", "2009-03-15 14:05:09"},
        {kAfternoon, "dddd, mmmm d, yyyy", "Sunday, March 15, 2009"},
        {kAfternoon, "ddd dd mmm yy", "Sun 15 Mar 09"},
        {kAfternoon, "m/d/yy", "3/15/09"},
        {kAfternoon, "d.m.yyyy", "15.3.2009"},
        {kAfternoon, "w ww q y", "1 12 1 74"},
        {Stamp(2009, 1, 1, 0, 0, 0), "ww", "1"},
        {Stamp(2009, 1, 4, 0, 0, 0), "ww w", "2 1"}, // the first Sunday starts week 2
        {Stamp(2009, 12, 31, 0, 0, 0), "y", "365"},
        {Stamp(2008, 12, 31, 0, 0, 0), "y", "366"},
        {Stamp(2009, 11, 5, 0, 0, 0), "q", "4"},
        {kAfternoon, "\"Q\"q yyyy", "Q1 2009"},
        {kAfternoon, "\\d\\a\\y d", "day 15"},
        {Stamp(5, 1, 2, 0, 0, 0), "yyyy yy", "0005 05"},
    });
}

TEST(FormatDate, MinutesAfterAnHourAndTwelveHourClocks) {
    ExpectFormats({
        {kAfternoon, "h:mm AM/PM", "2:05 PM"},
        {kAfternoon, "hh:mm am/pm", "02:05 pm"},
        {kAfternoon, "h A/P", "2 P"},
        {kAfternoon, "h a/p", "2 p"},
        {kAfternoon, "h:nn AMPM", "2:05 PM"},
        {kAfternoon, "h:nn Am/Pm", "2:05 Pm"},
        {kAfternoon, "hh mm", "14 05"},
        {kAfternoon, "mm hh", "03 14"}, // m before the hour stays the month
        {kAfternoon, "h mmm", "14 Mar"},
        {Stamp(2009, 3, 15, 0, 30, 0), "h:nn AM/PM", "12:30 AM"},
        {Stamp(2009, 3, 15, 12, 0, 0), "h:nn AM/PM", "12:00 PM"},
        {Stamp(2009, 3, 15, 23, 59, 59), "hh:nn:ss a/p", "11:59:59 p"},
    });
}

TEST(FormatDate, HostPatternsAndNamedFormats) {
    ExpectFormats({
        {kAfternoon, "ddddd", "3/15/2009"},
        {kAfternoon, "dddddd", "Sunday, March 15, 2009"},
        {kAfternoon, "ttttt", "2:05:09 PM"},
        {kAfternoon, "c", "3/15/2009 2:05:09 PM"},
        {kAfternoon, "General Date", "3/15/2009 2:05:09 PM"},
        {kAfternoon, "long date", "Sunday, March 15, 2009"},
        {kAfternoon, "Medium Date", "15-Mar-09"},
        {kAfternoon, "Short Date", "3/15/2009"},
        {kAfternoon, "Long Time", "2:05:09 PM"},
        {kAfternoon, "Medium Time", "02:05 PM"},
        {kAfternoon, "SHORT TIME", "14:05"},
        {Stamp(2009, 3, 15, 0, 0, 0), "General Date", "3/15/2009"},
        {odbc::FieldValue::FromTime({14, 5, 9}), "General Date", "2:05:09 PM"},
    });
}

TEST(FormatDate, FractionsOfASecondAreDroppedNotRounded) {
    ExpectFormats({
        {Stamp(2009, 12, 31, 23, 59, 59, 999'999'999), "yyyy-mm-dd hh:nn:ss",
         "2009-12-31 23:59:59"},
    });
}

TEST(FormatDate, NumbersAreDateSerialsAndDatesAreNumbers) {
    const double serial = 39887.0 + (14 * 3600 + 5 * 60 + 9) / 86400.0;
    ExpectFormats({
        {Real(serial), "yyyy-mm-dd hh:nn:ss", "2009-03-15 14:05:09"},
        {Real(39887.5), "yyyy-mm-dd hh:nn", "2009-03-15 12:00"},
        {Int(0), "yyyy-mm-dd", "1899-12-30"},
        {Int(2), "yyyy-mm-dd", "1900-01-01"},
        {Real(-1.5), "yyyy-mm-dd hh:nn", "1899-12-29 12:00"},
        {Real(39887.9999999), "yyyy-mm-dd hh:nn:ss", "2009-03-16 00:00:00"},
        {Real(-1.9999999), "yyyy-mm-dd hh:nn:ss", "1899-12-30 00:00:00"},
        {Real(serial), "General Date", "3/15/2009 2:05:09 PM"},
        {Int(1), "Short Time", "00:00"},
        {odbc::FieldValue::FromDate({2009, 3, 15}), "0.00", "39887.00"},
        {odbc::FieldValue::FromDate({1899, 12, 29}), "0;(0)", "(1)"},
        {Real(3e6), "yyyy", "3000000"}, // beyond 9999: no date, the plain number instead
        {Text("2009-03-15"), "dd/mm/yyyy", "15/03/2009"},
        {Text("2009-03-15T14:05:09.25"), "hh:nn:ss", "14:05:09"},
        {Text("14:05"), "h:nn AM/PM", "2:05 PM"},
        {Text("15/03/2009"), "yyyy", "15/03/2009"},
        {Text("2009-02-30"), "yyyy", "2009-02-30"},
        {Text("25:00"), "hh", "25:00"},
    });
}

TEST(FormatDate, DefaultTextIsTheHostsShortDateAndLongTime) {
    const LocaleConventions en = LocaleConventions::EnUs();
    EXPECT_EQ(DefaultText(odbc::FieldValue::FromDate({2009, 3, 15}), en), "3/15/2009");
    EXPECT_EQ(DefaultText(odbc::FieldValue::FromTime({14, 5, 9}), en), "2:05:09 PM");
    EXPECT_EQ(DefaultText(odbc::FieldValue::FromTime({0, 0, 0}), en), "12:00:00 AM");
    EXPECT_EQ(DefaultText(kAfternoon, en), "3/15/2009 2:05:09 PM");
    EXPECT_EQ(DefaultText(Stamp(2009, 3, 15, 0, 0, 0), en), "3/15/2009");
    // A date the driver could not have meant still gives text, not a crash.
    EXPECT_EQ(Format(odbc::FieldValue::FromDate({2009, 13, 40}), "mmmm dddd", en), " ");
}

TEST(FormatDate, FollowsTheHostNamesSeparatorsAndPatterns) {
    LocaleConventions german;
    german.dateSeparator = ".";
    german.monthNames[2] = "März";
    german.dayNames[0] = "Sonntag";
    german.shortDatePattern = "dd\\.mm\\.yyyy";
    german.longDatePattern = "dddd d mmmm yyyy";
    german.longTimePattern = "hh:nn:ss";
    german.amText.clear();
    german.pmText.clear();
    ExpectFormats(
        {
            {kAfternoon, "dd/mm/yyyy", "15.03.2009"},
            {kAfternoon, "Long Date", "Sonntag 15 März 2009"},
            {kAfternoon, "", "15.03.2009 14:05:09"},
            {kAfternoon, "h:nn AMPM", "2:05 "},
        },
        german);
}

TEST(FormatDate, LongRunsOfTokensStayLinear) {
    const LocaleConventions en = LocaleConventions::EnUs();
    EXPECT_EQ(Format(kAfternoon, std::string(10000, 'd'), en), "Sunday, March 15, 2009");
    EXPECT_EQ(Format(kAfternoon, std::string(10000, 'q'), en), std::string(10000, '1'));
    std::string manyTimes;
    for (int i = 0; i < 2000; ++i) {
        manyTimes += "ttttt";
    }
    EXPECT_EQ(Format(kAfternoon, manyTimes, en).size(), 2000U * 10U);
}

} // namespace
} // namespace slidesmith::fill
