#include "rtl/SysUtils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <optional>

namespace {

// Saves every locale setting, gives the tests one fixed English set, and
// restores the saved values afterwards.
class FixedSettings {
public:
    FixedSettings() {
        CurrencyString = "$";
        DecimalSeparator = '.';
        ThousandSeparator = ',';
        DateSeparator = '.';
        TimeSeparator = ':';
        ShortDateFormat = "dd/mm/yyyy";
        LongDateFormat = "dddd, d mmmm yyyy";
        ShortTimeFormat = "hh:nn";
        LongTimeFormat = "hh:nn:ss";
        TimeAMString = "am";
        TimePMString = "pm";
        ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                          "July",    "August",   "September", "October", "November", "December"};
        ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                        "Thursday", "Friday", "Saturday"};
    }
    FixedSettings(const FixedSettings&) = delete;
    FixedSettings& operator=(const FixedSettings&) = delete;
    ~FixedSettings() {
        CurrencyString = FSaved.Currency;
        DecimalSeparator = FSaved.Decimal;
        ThousandSeparator = FSaved.Thousand;
        DateSeparator = FSaved.Date;
        TimeSeparator = FSaved.Time;
        ShortDateFormat = FSaved.ShortDate;
        LongDateFormat = FSaved.LongDate;
        ShortTimeFormat = FSaved.ShortTime;
        LongTimeFormat = FSaved.LongTime;
        TimeAMString = FSaved.AM;
        TimePMString = FSaved.PM;
        ShortMonthNames = FSaved.ShortMonths;
        LongMonthNames = FSaved.LongMonths;
        ShortDayNames = FSaved.ShortDays;
        LongDayNames = FSaved.LongDays;
    }

private:
    struct Saved {
        AnsiString Currency = CurrencyString;
        char Decimal = DecimalSeparator, Thousand = ThousandSeparator;
        char Date = DateSeparator, Time = TimeSeparator;
        AnsiString ShortDate = ShortDateFormat, LongDate = LongDateFormat;
        AnsiString ShortTime = ShortTimeFormat, LongTime = LongTimeFormat;
        AnsiString AM = TimeAMString, PM = TimePMString;
        std::array<AnsiString, 12> ShortMonths = ShortMonthNames, LongMonths = LongMonthNames;
        std::array<AnsiString, 7> ShortDays = ShortDayNames, LongDays = LongDayNames;
    } FSaved;
};

// Points LC_ALL at another locale for one test and reloads the settings.
class LocaleEnvironment {
public:
    explicit LocaleEnvironment(const char* Name) {
        if (const char* previous = std::getenv("LC_ALL"))
            FPrevious = previous;
        setenv("LC_ALL", Name, 1);
        GetFormatSettings();
    }
    ~LocaleEnvironment() {
        if (FPrevious)
            setenv("LC_ALL", FPrevious->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }

private:
    std::optional<std::string> FPrevious;
};

bool LocaleInstalled(const char* Name) {
    locale_t locale = newlocale(LC_ALL_MASK, Name, nullptr);
    if (locale)
        freelocale(locale);
    return locale != nullptr;
}

struct Ymd {
    Word Year, Month, Day;
    bool operator==(const Ymd&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const Ymd& Date) {
    return Out << Date.Year << '-' << Date.Month << '-' << Date.Day;
}

Ymd Decoded(TDateTime Date) {
    Ymd result{};
    DecodeDate(Date, result.Year, result.Month, result.Day);
    return result;
}

TDateTime At(Word Year, Word Month, Word Day, Word Hour = 0, Word Min = 0, Word Sec = 0) {
    return EncodeDate(Year, Month, Day) + EncodeTime(Hour, Min, Sec, 0);
}

template <typename Call> void ExpectConvertError(Call call, const AnsiString& Message) {
    EXPECT_EQ(zxtest::MessageOf<EConvertError>(call), Message);
}

Integer YearNow() {
    return Decoded(Date()).Year;
}

} // namespace

TEST(EncodeDate, CountsDaysFromTheEpoch) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61); // 1900 was no leap year
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
}

TEST(EncodeDate, LeapYears) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_TRUE(IsLeapYear(1600));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_EQ(EncodeDate(2024, 3, 1) - EncodeDate(2024, 2, 28), 2);
    EXPECT_EQ(EncodeDate(2023, 3, 1) - EncodeDate(2023, 2, 28), 1);
}

TEST(EncodeDate, ImpossibleDatesRaise) {
    struct Case {
        Word Year, Month, Day;
    };
    for (Case bad : {Case{2023, 2, 29}, Case{1900, 2, 29}, Case{2024, 13, 1}, Case{2024, 0, 1},
                     Case{2024, 4, 31}, Case{2024, 1, 0}, Case{0, 1, 1}, Case{10000, 1, 1}}) {
        TDateTime date = 123;
        EXPECT_FALSE(TryEncodeDate(bad.Year, bad.Month, bad.Day, date));
        ExpectConvertError([&] { EncodeDate(bad.Year, bad.Month, bad.Day); },
                           "Invalid argument to date encode");
    }
}

// Every day of years 1 to 9999 decodes to the date that encodes to it, and
// consecutive days are consecutive dates.
TEST(DecodeDate, RoundTripsEveryDay) {
    Ymd previous{0, 12, 31};
    int failures = 0;
    for (int day = -693593; day <= 2958465 && failures < 5; ++day) {
        Ymd date = Decoded(day);
        bool nextDay = date.Day == previous.Day + 1 && date.Month == previous.Month &&
                       date.Year == previous.Year;
        bool nextMonth =
            date.Day == 1 && date.Month == previous.Month + 1 && date.Year == previous.Year;
        bool nextYear = date.Day == 1 && date.Month == 1 && previous.Month == 12 &&
                        date.Year == previous.Year + 1;
        if (!(nextDay || nextMonth || nextYear) ||
            EncodeDate(date.Year, date.Month, date.Day) != day) {
            ADD_FAILURE() << "day " << day << " decodes to " << date << " after " << previous;
            ++failures;
        }
        previous = date;
    }
    EXPECT_EQ(previous, (Ymd{9999, 12, 31}));
}

TEST(DecodeDate, NegativeValuesTruncateTowardZero) {
    EXPECT_EQ(Decoded(-1), (Ymd{1899, 12, 29}));
    EXPECT_EQ(Decoded(-1.25), (Ymd{1899, 12, 29}));
    EXPECT_EQ(Decoded(-0.5), (Ymd{1899, 12, 30}));
    EXPECT_EQ(Decoded(EncodeDate(1800, 1, 1)), (Ymd{1800, 1, 1}));
    Word hour, min, sec, msec;
    DecodeTime(-1.25, hour, min, sec, msec);
    EXPECT_EQ(hour, 6);
    EXPECT_EQ(min, 0);
}

TEST(DecodeDate, OutOfRangeGivesZeros) {
    EXPECT_EQ(Decoded(-693594), (Ymd{0, 0, 0}));
    EXPECT_EQ(Decoded(2958466), (Ymd{0, 0, 0}));
    EXPECT_EQ(Decoded(NAN), (Ymd{0, 0, 0}));
    EXPECT_EQ(Decoded(1e300), (Ymd{0, 0, 0}));
}

TEST(EncodeTime, FractionOfTheDay) {
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 30, 15, 500), (6 * 3600 + 30 * 60 + 15.5) / 86400);
    for (Word hour = 0; hour < 24; ++hour)
        for (Word min = 0; min < 60; ++min)
            for (Word sec = 0; sec < 60; ++sec) {
                Word msec = static_cast<Word>((hour * 7 + min * 13 + sec) % 1000);
                Word h, m, s, ms;
                DecodeTime(EncodeTime(hour, min, sec, msec), h, m, s, ms);
                ASSERT_TRUE(h == hour && m == min && s == sec && ms == msec)
                    << hour << ':' << min << ':' << sec << '.' << msec;
            }
}

TEST(EncodeTime, ImpossibleTimesRaise) {
    TDateTime time;
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, time));
    EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, time));
    EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, time));
    EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, time));
    ExpectConvertError([] { EncodeTime(25, 0, 0, 0); }, "Invalid argument to time encode");
}

TEST(DecodeTime, RoundsToTheMillisecondAndCarriesIntoTheDate) {
    TDateTime almostMidnight = 1 - 1e-10;
    Word hour, min, sec, msec;
    DecodeTime(almostMidnight, hour, min, sec, msec);
    EXPECT_EQ(hour + min + sec + msec, 0);
    EXPECT_EQ(Decoded(almostMidnight), (Ymd{1899, 12, 31}));
}

TEST(DayOfWeek, SundayIsOne) {
    EXPECT_EQ(DayOfWeek(0), 7); // 30 December 1899 was a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1) + 0.9), 2);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 10)), 1);
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);
}

TEST(Now, AgreesWithTheSystemClock) {
    std::time_t before = std::time(nullptr);
    TDateTime now = Now();
    TDateTime today = Date();
    TDateTime time = Time();
    std::time_t after = std::time(nullptr);
    std::tm local{};
    localtime_r(&before, &local);
    Ymd expectedBefore{static_cast<Word>(local.tm_year + 1900), static_cast<Word>(local.tm_mon + 1),
                       static_cast<Word>(local.tm_mday)};
    localtime_r(&after, &local);
    Ymd expectedAfter{static_cast<Word>(local.tm_year + 1900), static_cast<Word>(local.tm_mon + 1),
                      static_cast<Word>(local.tm_mday)};
    EXPECT_TRUE(Decoded(now) == expectedBefore || Decoded(now) == expectedAfter);
    EXPECT_EQ(today, std::trunc(today));
    EXPECT_LE(std::fabs(today - std::trunc(now)), 1.0);
    EXPECT_GE(time, 0.0);
    EXPECT_LT(time, 1.0);
}

TEST(FormatDateTime, DateSpecifiers) {
    FixedSettings settings;
    TDateTime tuesday = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", tuesday), "2024-03-05");
    EXPECT_EQ(FormatDateTime("yy/m/d", tuesday), "24.3.5");
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", tuesday), "Tue Tuesday Mar March");
    EXPECT_EQ(FormatDateTime("YYYY MM DD", tuesday), "2024 03 05");
    EXPECT_EQ(FormatDateTime("ddddd", tuesday), "05.03.2024");
    EXPECT_EQ(FormatDateTime("dddddd", tuesday), "Tuesday, 5 March 2024");
    EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(987, 6, 1)), "0987");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", -1.25), "1899-12-29");
}

TEST(FormatDateTime, TimeSpecifiers) {
    FixedSettings settings;
    TDateTime afternoon = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", afternoon), "14:07:09.045");
    EXPECT_EQ(FormatDateTime("h:n:s.z", afternoon), "14:7:9.45");
    EXPECT_EQ(FormatDateTime("hh:mm", afternoon), "14:07"); // m after h is minutes
    EXPECT_EQ(FormatDateTime("mm", afternoon), "03");
    EXPECT_EQ(FormatDateTime("t|tt", afternoon), "14:07|14:07:09");
    EXPECT_EQ(FormatDateTime("hh:nn", -1.25), "06:00");
    TimeSeparator = '.';
    EXPECT_EQ(FormatDateTime("hh:nn", afternoon), "14.07");
}

TEST(FormatDateTime, TwelveHourClock) {
    FixedSettings settings;
    TDateTime afternoon = EncodeTime(14, 7, 0, 0);
    TDateTime afterMidnight = EncodeTime(0, 30, 0, 0);
    EXPECT_EQ(FormatDateTime("h:mm am/pm", afternoon), "2:07 pm");
    EXPECT_EQ(FormatDateTime("h:mm AM/PM", afternoon), "2:07 PM");
    EXPECT_EQ(FormatDateTime("h a/p", afternoon), "2 p");
    EXPECT_EQ(FormatDateTime("hh ampm", afternoon), "02 pm");
    EXPECT_EQ(FormatDateTime("h am/pm", afterMidnight), "12 am");
    EXPECT_EQ(FormatDateTime("h AMPM", EncodeTime(12, 0, 0, 0)), "12 pm");
    // am/pm only switches the hours it follows; a lone 'a' is text.
    EXPECT_EQ(FormatDateTime("am/pm h", afternoon), "pm 14");
    EXPECT_EQ(FormatDateTime("h a", afternoon), "14 a");
}

TEST(FormatDateTime, CombinedLiteralAndQuotedText) {
    FixedSettings settings;
    TDateTime tuesday = EncodeDate(2024, 3, 5);
    EXPECT_EQ(FormatDateTime("c", tuesday + EncodeTime(14, 7, 9, 0)), "05.03.2024 14:07:09");
    EXPECT_EQ(FormatDateTime("c", tuesday), "05.03.2024");
    EXPECT_EQ(FormatDateTime("", tuesday + 0.5), "05.03.2024 12:00:00");
    EXPECT_EQ(FormatDateTime("\"day\" d 'of' mmmm", tuesday), "day 5 of March");
    EXPECT_EQ(FormatDateTime("yyyy\"/\"mm", tuesday), "2024/03");
    EXPECT_EQ(FormatDateTime("[d] 'open", tuesday), "[5] open");
    EXPECT_EQ(FormatDateTime("d x", tuesday), "5 x");
}

TEST(FormatDateTime, SelfReferringFormatsStop) {
    FixedSettings settings;
    ShortDateFormat = "ddddd|c";
    LongTimeFormat = "tt";
    AnsiString text = FormatDateTime("c", EncodeDate(2024, 3, 5) + 0.25);
    EXPECT_LT(text.size(), 64u);
    EXPECT_EQ(text.find_first_not_of("| "), AnsiString::npos) << text;
}

TEST(DateToStr, UsesTheShortAndLongFormats) {
    FixedSettings settings;
    TDateTime moment = EncodeDate(2024, 3, 5) + EncodeTime(8, 9, 10, 0);
    EXPECT_EQ(DateToStr(moment), "05.03.2024");
    EXPECT_EQ(TimeToStr(moment), "08:09:10");
    EXPECT_EQ(DateTimeToStr(moment), "05.03.2024 08:09:10");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "05.03.2024");
}

TEST(StrToDate, DayMonthYearOrder) {
    FixedSettings settings;
    EXPECT_EQ(StrToDate("05.03.2024"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate(" 5 . 3 . 2024 "), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("29.2.2024"), EncodeDate(2024, 2, 29));
    EXPECT_EQ(StrToDate("5.3"), EncodeDate(static_cast<Word>(YearNow()), 3, 5));
    ExpectConvertError([] { StrToDate("31.02.2024"); }, "'31.02.2024' is not a valid date");
}

TEST(StrToDate, MonthDayYearOrder) {
    FixedSettings settings;
    ShortDateFormat = "mm/dd/yy";
    DateSeparator = '/';
    EXPECT_EQ(StrToDate("3/5/2024"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("12/31/2024"), EncodeDate(2024, 12, 31));
    EXPECT_EQ(StrToDate("3/5"), EncodeDate(static_cast<Word>(YearNow()), 3, 5));
    EXPECT_EQ(StrToDate("1/2/0030"), EncodeDate(30, 1, 2)); // four digits typed: no window
    ExpectConvertError([] { StrToDate("31/12/2024"); }, "'31/12/2024' is not a valid date");
}

TEST(StrToDate, YearMonthDayOrder) {
    FixedSettings settings;
    ShortDateFormat = "yyyy-mm-dd";
    DateSeparator = '-';
    EXPECT_EQ(StrToDate("2024-03-05"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("03-05"), EncodeDate(static_cast<Word>(YearNow()), 3, 5));
}

TEST(StrToDate, TwoDigitYearsLieWithinFiftyYearsOfNow) {
    FixedSettings settings;
    Integer now = YearNow();
    for (int typed = 0; typed < 100; ++typed) {
        AnsiString text = "1.1." + IntToStr(typed);
        Integer year = Decoded(StrToDate(text)).Year;
        EXPECT_EQ(year % 100, typed) << text;
        EXPECT_GE(year, now - 50) << text;
        EXPECT_LT(year, now + 50) << text;
    }
}

TEST(StrToDate, RejectsMalformedText) {
    FixedSettings settings;
    for (const char* text : {"", "abc", "5", "5.", "5.3.", "1.2.3.4", "12345.1.1", "5/3/2024",
                             "5.3.2024x", "-5.3.2024", "0.3.2024"})
        ExpectConvertError([&] { StrToDate(text); },
                           "'" + AnsiString(text) + "' is not a valid date");
}

TEST(StrToTime, HoursMinutesSecondsAndAmPm) {
    FixedSettings settings;
    EXPECT_EQ(StrToTime("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToTime("14:07:09"), EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(StrToTime(" 2:07 pm"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToTime("2:07PM"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToTime("12:00 AM"), 0);
    EXPECT_EQ(StrToTime("12:00 pm"), 0.5);
    for (const char* text :
         {"", "14", "14:", "25:00", "13:00 pm", "0:10 am", "14:07 xyz", "14:60", "1:2:3:4"})
        ExpectConvertError([&] { StrToTime(text); },
                           "'" + AnsiString(text) + "' is not a valid time");
}

TEST(StrToDateTime, DateTimeOrEither) {
    FixedSettings settings;
    EXPECT_EQ(StrToDateTime("05.03.2024 14:07:09"), At(2024, 3, 5, 14, 7, 9));
    EXPECT_EQ(StrToDateTime("05.03.2024"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDateTime("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToDateTime("29.12.1899 06:00"), -1.25);
    ExpectConvertError([] { StrToDateTime("05.03.2024 25:00"); },
                       "'05.03.2024 25:00' is not a valid date and time");
    TDateTime moment = At(1987, 11, 30, 23, 59, 58);
    EXPECT_EQ(StrToDateTime(DateTimeToStr(moment)), moment);
}

TEST(StrftimeToDateTimeFormat, ConvertsSpecifiersAndQuotesLetters) {
    EXPECT_EQ(StrftimeToDateTimeFormat("%d.%m.%Y"), "dd.mm.yyyy");
    EXPECT_EQ(StrftimeToDateTimeFormat("%m/%d/%y"), "mm/dd/yy");
    EXPECT_EQ(StrftimeToDateTimeFormat("%I:%M:%S %p"), "h:nn:ss AMPM");
    EXPECT_EQ(StrftimeToDateTimeFormat("%a %A %b %B %e"), "ddd dddd mmm mmmm d");
    EXPECT_EQ(StrftimeToDateTimeFormat("%D|%F|%T|%R"), "mm/dd/yy|yyyy-mm-dd|hh:nn:ss|hh:nn");
    EXPECT_EQ(StrftimeToDateTimeFormat("%-d/%-m/%Ey %OH"), "d/m/yy hh");
    EXPECT_EQ(StrftimeToDateTimeFormat("%H:%M %Z%%"), "hh:nn %");
    EXPECT_EQ(StrftimeToDateTimeFormat("%d de %B de %Y"), "dd \"de\" mmmm \"de\" yyyy");
    EXPECT_EQ(StrftimeToDateTimeFormat("%Hh%M'"), "hh\"h\"nn\"'\"");
    EXPECT_EQ(StrftimeToDateTimeFormat("%Y%"), "yyyy");

    FixedSettings settings;
    EXPECT_EQ(FormatDateTime(StrftimeToDateTimeFormat("%d de %B, %Hh%M"), At(2024, 3, 5, 14, 7)),
              "05 de March, 14h07");
}

TEST(GetFormatSettings, PosixLocaleGivesEnglishDefaults) {
    FixedSettings restore;
    for (const char* name : {"C", "POSIX", "no_SUCH.locale"}) {
        LocaleEnvironment environment(name);
        EXPECT_EQ(CurrencyString, "$") << name;
        EXPECT_EQ(DecimalSeparator, '.');
        EXPECT_EQ(ThousandSeparator, ',');
        EXPECT_EQ(ShortDateFormat, "mm/dd/yy");
        EXPECT_EQ(DateSeparator, '/');
        EXPECT_EQ(LongDateFormat, "dddd, mmmm d, yyyy");
        EXPECT_EQ(LongTimeFormat, "hh:nn:ss");
        EXPECT_EQ(ShortTimeFormat, "hh:nn");
        EXPECT_EQ(TimeSeparator, ':');
        EXPECT_EQ(TimeAMString, "AM");
        EXPECT_EQ(TimePMString, "PM");
        EXPECT_EQ(ShortMonthNames[0], "Jan");
        EXPECT_EQ(LongMonthNames[11], "December");
        EXPECT_EQ(ShortDayNames[0], "Sun");
        EXPECT_EQ(LongDayNames[6], "Saturday");
    }
}

// Locales other than C are tried only where the machine has them installed.
TEST(GetFormatSettings, GermanLocale) {
    if (!LocaleInstalled("de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    FixedSettings restore;
    LocaleEnvironment environment("de_DE.UTF-8");
    EXPECT_EQ(DecimalSeparator, ',');
    EXPECT_EQ(ThousandSeparator, '.');
    EXPECT_EQ(CurrencyString, "\xE2\x82\xAC");
    EXPECT_EQ(ShortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(DateSeparator, '.');
    EXPECT_EQ(LongDateFormat, "dddd, d mmmm yyyy");
    EXPECT_EQ(LongMonthNames[2], "M\xC3\xA4rz");
    EXPECT_EQ(FormatDateTime("ddddd", EncodeDate(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(StrToDate("5.3.2024"), EncodeDate(2024, 3, 5));
}

TEST(GetFormatSettings, FrenchLocaleGroupsWithABlank) {
    if (!LocaleInstalled("fr_FR.UTF-8"))
        GTEST_SKIP() << "fr_FR.UTF-8 is not installed";
    FixedSettings restore;
    LocaleEnvironment environment("fr_FR.UTF-8");
    EXPECT_EQ(DecimalSeparator, ',');
    EXPECT_EQ(ThousandSeparator, ' ');
    EXPECT_EQ(Format("%n", {1234.5}), "1 234,50");
}

TEST(GetFormatSettings, AmericanLocaleUsesTwelveHours) {
    if (!LocaleInstalled("en_US.UTF-8"))
        GTEST_SKIP() << "en_US.UTF-8 is not installed";
    FixedSettings restore;
    LocaleEnvironment environment("en_US.UTF-8");
    EXPECT_EQ(LongTimeFormat, "h:nn:ss AMPM");
    EXPECT_EQ(ShortTimeFormat, "h:nn AMPM");
    EXPECT_EQ(TimeToStr(EncodeTime(15, 4, 5, 0)), "3:04:05 PM");
    EXPECT_EQ(StrToTime("3:04:05 PM"), EncodeTime(15, 4, 5, 0));
}
