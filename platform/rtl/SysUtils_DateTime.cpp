// Dates and times. A TDateTime counts days since 30 December 1899; before
// that day the value is negative but its fraction still runs forward through
// the day (-1.25 is 29 December 1899, 06:00), as in Pascal.
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

constexpr Int64 kMSecsPerDay = 24 * 60 * 60 * 1000;
// Days from 1 January 0001 to 30 December 1899.
constexpr Int64 kDaysToDelphiEpoch = 693593;
constexpr Int64 kDaysIn400Years = 146097;
constexpr Int64 kDaysIn100Years = 36524;
constexpr Int64 kDaysIn4Years = 1461;
constexpr Integer kTwoDigitYearCenturyWindow = 50;

constexpr Word kDaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                      {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// The serial numbers of 1 January 0001 and 31 December 9999.
constexpr Int64 kFirstDay = -kDaysToDelphiEpoch;
constexpr Int64 kLastDay = 2958465;

// A TDateTime split into whole days (truncated toward zero) and the
// milliseconds of the day, rounded once so date and time always agree.
struct TDayAndTime {
    bool Valid = false;
    Int64 Day = 0;
    Int64 MSec = 0;
};

TDayAndTime SplitDateTime(TDateTime DateTime) {
    TDayAndTime split;
    if (!std::isfinite(DateTime) || std::fabs(DateTime) > static_cast<double>(kLastDay + 1))
        return split;
    auto total = static_cast<Int64>(std::llround(std::fabs(DateTime) * kMSecsPerDay));
    split.Valid = true;
    split.Day = total / kMSecsPerDay * (DateTime < 0 ? -1 : 1);
    split.MSec = total % kMSecsPerDay;
    return split;
}

TDateTime CombineDateAndTime(TDateTime Date, TDateTime Time) {
    return Date < 0 ? Date - Time : Date + Time;
}

struct TDateParts {
    Word Year = 0, Month = 0, Day = 0;
};

// Year, month and day of a serial day number; zeros outside years 1..9999.
TDateParts DayToDate(Int64 SerialDay) {
    TDateParts parts;
    if (SerialDay < kFirstDay || SerialDay > kLastDay)
        return parts;
    Int64 days = SerialDay + kDaysToDelphiEpoch; // days since 1 January 0001
    Int64 year = days / kDaysIn400Years * 400;
    days %= kDaysIn400Years;
    Int64 centuries = std::min<Int64>(days / kDaysIn100Years, 3); // the 400th year is long
    year += centuries * 100;
    days -= centuries * kDaysIn100Years;
    year += days / kDaysIn4Years * 4;
    days %= kDaysIn4Years;
    Int64 years = std::min<Int64>(days / 365, 3); // the 4th year is long
    year += years + 1;
    days -= years * 365;
    parts.Year = static_cast<Word>(year);
    const Word* monthLengths = kDaysInMonth[IsLeapYear(parts.Year)];
    Word month = 0;
    for (; days >= monthLengths[month]; ++month)
        days -= monthLengths[month];
    parts.Month = month + 1;
    parts.Day = static_cast<Word>(days + 1);
    return parts;
}

struct TTimeParts {
    Word Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

TTimeParts MSecToTime(Int64 MSec) {
    TTimeParts parts;
    parts.Hour = static_cast<Word>(MSec / 3600000);
    parts.Min = static_cast<Word>(MSec / 60000 % 60);
    parts.Sec = static_cast<Word>(MSec / 1000 % 60);
    parts.MSec = static_cast<Word>(MSec % 1000);
    return parts;
}

Integer DayOfWeekOfSerial(Int64 SerialDay) {
    // 30 December 1899 was a Saturday.
    Int64 fromSaturday = (SerialDay % 7 + 7) % 7;
    return static_cast<Integer>((fromSaturday + 6) % 7 + 1);
}

// ---------------------------------------------------------------------------
// FormatDateTime

// Nested formats (c, ddddd, t...) may name each other; this bounds the depth.
constexpr int kMaxFormatNesting = 2;

bool IsLetter(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

char UpCase(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

bool StartsWithNoCase(std::string_view Text, std::string_view Prefix) {
    if (Text.size() < Prefix.size())
        return false;
    for (std::size_t i = 0; i < Prefix.size(); ++i)
        if (UpCase(Text[i]) != UpCase(Prefix[i]))
            return false;
    return true;
}

// Whether Format has an am/pm, a/p or ampm specifier outside quoted text.
bool HasAmPmSpecifier(std::string_view Format) {
    char quote = 0;
    for (std::size_t at = 0; at < Format.size(); ++at) {
        char C = Format[at];
        if (quote)
            quote = C == quote ? 0 : quote;
        else if (C == '"' || C == '\'')
            quote = C;
        else if ((C == 'a' || C == 'A') && (StartsWithNoCase(Format.substr(at), "am/pm") ||
                                            StartsWithNoCase(Format.substr(at), "a/p") ||
                                            StartsWithNoCase(Format.substr(at), "ampm")))
            return true;
    }
    return false;
}

void AppendNumber(AnsiString& Out, Integer Value, std::size_t MinDigits) {
    AnsiString digits = IntToStr(Value);
    if (digits.size() < MinDigits)
        Out.append(MinDigits - digits.size(), '0');
    Out += digits;
}

template <std::size_t N>
const AnsiString& NameAt(const std::array<AnsiString, N>& Names, Integer OneBasedIndex) {
    static const AnsiString none;
    return OneBasedIndex >= 1 && static_cast<std::size_t>(OneBasedIndex) <= N
               ? Names[static_cast<std::size_t>(OneBasedIndex) - 1]
               : none;
}

class TDateTimeFormatter {
public:
    explicit TDateTimeFormatter(TDateTime DateTime) {
        TDayAndTime split = SplitDateTime(DateTime);
        if (split.Valid) {
            FDate = DayToDate(split.Day);
            FTime = MSecToTime(split.MSec);
            FDayOfWeek = DayOfWeekOfSerial(split.Day);
        }
    }

    AnsiString Run(const AnsiString& Format) {
        Append(Format.empty() ? std::string_view("c") : std::string_view(Format), 0);
        return std::move(FResult);
    }

private:
    static std::size_t RunLength(std::string_view Format, std::size_t At) {
        std::size_t end = At + 1;
        while (end < Format.size() && UpCase(Format[end]) == UpCase(Format[At]))
            ++end;
        return end - At;
    }

    void AppendNested(const AnsiString& Format, int Depth) {
        if (Depth < kMaxFormatNesting)
            Append(Format, Depth + 1);
    }

    void AppendHour(std::size_t Count, std::string_view Rest) {
        Integer hour = FTime.Hour;
        if (HasAmPmSpecifier(Rest)) {
            hour %= 12;
            if (hour == 0)
                hour = 12;
        }
        AppendNumber(FResult, hour, Count > 1 ? 2 : 1);
    }

    void AppendDay(std::size_t Count, int Depth) {
        switch (Count) {
        case 1:
        case 2:
            return AppendNumber(FResult, FDate.Day, Count);
        case 3:
            FResult += NameAt(ShortDayNames, FDayOfWeek);
            return;
        case 4:
            FResult += NameAt(LongDayNames, FDayOfWeek);
            return;
        case 5:
            return AppendNested(ShortDateFormat, Depth);
        default:
            return AppendNested(LongDateFormat, Depth);
        }
    }

    void AppendMonth(std::size_t Count) {
        if (Count <= 2)
            AppendNumber(FResult, FDate.Month, Count);
        else
            FResult += NameAt(Count == 3 ? ShortMonthNames : LongMonthNames, FDate.Month);
    }

    void AppendDateAndTime(int Depth) {
        AppendNested(ShortDateFormat, Depth);
        if (FTime.Hour || FTime.Min || FTime.Sec || FTime.MSec) {
            FResult += ' ';
            AppendNested(LongTimeFormat, Depth);
        }
    }

    // am/pm and a/p keep the letters as written; ampm uses the locale's text.
    // Returns the length consumed, 0 when no such specifier starts here.
    std::size_t AppendAmPm(std::string_view Format, std::size_t At) {
        std::string_view rest = Format.substr(At);
        bool afternoon = FTime.Hour >= 12;
        if (StartsWithNoCase(rest, "am/pm")) {
            FResult += rest.substr(afternoon ? 3 : 0, 2);
            return 5;
        }
        if (StartsWithNoCase(rest, "a/p")) {
            FResult += rest[afternoon ? 2 : 0];
            return 3;
        }
        if (StartsWithNoCase(rest, "ampm")) {
            FResult += afternoon ? TimePMString : TimeAMString;
            return 4;
        }
        return 0;
    }

    void Append(std::string_view Format, int Depth) {
        char lastToken = 0;
        std::size_t at = 0;
        while (at < Format.size()) {
            char C = Format[at];
            char token = UpCase(C);
            if (IsLetter(C)) {
                // m right after an hour means minutes.
                if (token == 'M' && lastToken == 'H')
                    token = 'N';
                lastToken = token;
            }
            std::size_t count = IsLetter(C) ? RunLength(Format, at) : 1;
            switch (token) {
            case 'Y':
                if (count <= 2)
                    AppendNumber(FResult, FDate.Year % 100, 2);
                else
                    AppendNumber(FResult, FDate.Year, 4);
                break;
            case 'M':
                AppendMonth(count);
                break;
            case 'D':
                AppendDay(count, Depth);
                break;
            case 'H':
                AppendHour(count, Format.substr(at + count));
                break;
            case 'N':
                AppendNumber(FResult, FTime.Min, count > 1 ? 2 : 1);
                break;
            case 'S':
                AppendNumber(FResult, FTime.Sec, count > 1 ? 2 : 1);
                break;
            case 'Z':
                AppendNumber(FResult, FTime.MSec, count > 2 ? 3 : 1);
                break;
            case 'T':
                AppendNested(count == 1 ? ShortTimeFormat : LongTimeFormat, Depth);
                break;
            case 'C':
                AppendDateAndTime(Depth);
                break;
            case 'A':
                count = AppendAmPm(Format, at);
                if (count == 0) {
                    FResult += C;
                    count = 1;
                }
                break;
            case '/':
                FResult += DateSeparator;
                break;
            case ':':
                FResult += TimeSeparator;
                break;
            case '"':
            case '\'': {
                std::size_t close = Format.find(C, at + 1);
                std::size_t end = close == std::string_view::npos ? Format.size() : close;
                FResult += Format.substr(at + 1, end - at - 1);
                count = end - at + 1;
                break;
            }
            default:
                FResult.append(Format.substr(at, count));
                break;
            }
            at += count;
        }
    }

    TDateParts FDate;
    TTimeParts FTime;
    Integer FDayOfWeek = 0;
    AnsiString FResult;
};

// ---------------------------------------------------------------------------
// StrToDate and friends

enum class TDateOrder { MDY, DMY, YMD };

TDateOrder ShortDateOrder() {
    for (char C : ShortDateFormat) {
        switch (UpCase(C)) {
        case 'D':
            return TDateOrder::DMY;
        case 'Y':
            return TDateOrder::YMD;
        case 'M':
            return TDateOrder::MDY;
        default:
            break;
        }
    }
    return TDateOrder::MDY;
}

Integer CurrentYear() {
    Word year, month, day;
    DecodeDate(Date(), year, month, day);
    return year;
}

// A year typed with at most two digits lies within 50 years of this one.
Integer ExpandTwoDigitYear(Integer Year) {
    Integer centuryBase = CurrentYear() - kTwoDigitYearCenturyWindow;
    Year += centuryBase / 100 * 100;
    if (Year < centuryBase)
        Year += 100;
    return Year;
}

class TDateTimeScanner {
public:
    explicit TDateTimeScanner(std::string_view Text) : FText(Text) {}

    bool AtEnd() {
        SkipBlanks();
        return FPos == FText.size();
    }

    bool ScanDate(TDateTime& Value) {
        Integer first, second, third = 0;
        std::size_t firstDigits, secondDigits, thirdDigits = 0;
        if (!ScanNumber(first, firstDigits) || !ScanChar(DateSeparator) ||
            !ScanNumber(second, secondDigits))
            return false;
        bool hasThird = ScanChar(DateSeparator);
        if (hasThird && !ScanNumber(third, thirdDigits))
            return false;

        Integer year, month, day;
        std::size_t yearDigits = 4;
        TDateOrder order = ShortDateOrder();
        if (!hasThird) {
            year = CurrentYear();
            month = order == TDateOrder::DMY ? second : first;
            day = order == TDateOrder::DMY ? first : second;
        } else if (order == TDateOrder::YMD) {
            year = first, yearDigits = firstDigits, month = second, day = third;
        } else {
            year = third, yearDigits = thirdDigits;
            month = order == TDateOrder::DMY ? second : first;
            day = order == TDateOrder::DMY ? first : second;
        }
        if (yearDigits <= 2)
            year = ExpandTwoDigitYear(year);
        return TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month),
                             static_cast<Word>(day), Value);
    }

    // h:n[:s] with an optional AM or PM after it.
    bool ScanTime(TDateTime& Value) {
        Integer hour, min, sec = 0;
        std::size_t digits;
        if (!ScanNumber(hour, digits) || !ScanChar(TimeSeparator) || !ScanNumber(min, digits))
            return false;
        if (ScanChar(TimeSeparator) && !ScanNumber(sec, digits))
            return false;
        int halfOfDay = ScanAmPm();
        if (halfOfDay >= 0) {
            if (hour == 0 || hour > 12)
                return false;
            hour = hour % 12 + halfOfDay * 12;
        }
        return TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(min),
                             static_cast<Word>(sec), 0, Value);
    }

private:
    // Parts are at most four digits long, which also keeps them in range.
    static constexpr std::size_t kMaxDigits = 4;

    void SkipBlanks() {
        while (FPos < FText.size() && FText[FPos] == ' ')
            ++FPos;
    }

    bool ScanNumber(Integer& Value, std::size_t& Digits) {
        SkipBlanks();
        std::size_t start = FPos;
        Value = 0;
        Digits = 0;
        while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') {
            Value = Value * 10 + (FText[FPos++] - '0');
            if (FPos - start > kMaxDigits)
                return false;
        }
        Digits = FPos - start;
        return Digits > 0;
    }

    // Blanks around a separator are allowed; a blank separator needs one.
    bool ScanChar(char Separator) {
        std::size_t start = FPos;
        SkipBlanks();
        if (Separator == ' ' && FPos > start)
            return true;
        if (FPos < FText.size() && FText[FPos] == Separator) {
            ++FPos;
            return true;
        }
        FPos = start;
        return false;
    }

    // 0 for AM, 1 for PM, -1 when neither follows.
    int ScanAmPm() {
        std::size_t start = FPos;
        SkipBlanks();
        std::string_view rest = FText.substr(FPos);
        const AnsiString* candidates[] = {&TimeAMString, &TimePMString};
        for (int half = 0; half < 2; ++half) {
            for (std::string_view text :
                 {std::string_view(*candidates[half]), std::string_view(half ? "PM" : "AM")}) {
                if (!text.empty() && StartsWithNoCase(rest, text)) {
                    FPos += text.size();
                    return half;
                }
            }
        }
        FPos = start;
        return -1;
    }

    std::string_view FText;
    std::size_t FPos = 0;
};

bool TryStrToDate(const AnsiString& S, TDateTime& Value) {
    TDateTimeScanner scanner(S);
    return scanner.ScanDate(Value) && scanner.AtEnd();
}

bool TryStrToTime(const AnsiString& S, TDateTime& Value) {
    TDateTimeScanner scanner(S);
    return scanner.ScanTime(Value) && scanner.AtEnd();
}

// A date, a date followed by a time, or a time alone.
bool TryStrToDateTime(const AnsiString& S, TDateTime& Value) {
    TDateTimeScanner scanner(S);
    TDateTime date, time = 0;
    if (scanner.ScanDate(date) &&
        (scanner.AtEnd() || (scanner.ScanTime(time) && scanner.AtEnd()))) {
        Value = CombineDateAndTime(date, time);
        return true;
    }
    return TryStrToTime(S, Value);
}

} // namespace

bool IsLeapYear(Word Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > kDaysInMonth[IsLeapYear(Year)][Month - 1])
        return false;
    Int64 daysBefore = 0;
    for (Word month = 1; month < Month; ++month)
        daysBefore += kDaysInMonth[IsLeapYear(Year)][month - 1];
    Int64 yearsBefore = Year - 1;
    Int64 days = yearsBefore * 365 + yearsBefore / 4 - yearsBefore / 100 + yearsBefore / 400 +
                 daysBefore + Day - 1;
    Date = static_cast<TDateTime>(days - kDaysToDelphiEpoch);
    return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
    TDateTime date;
    if (!TryEncodeDate(Year, Month, Day, date))
        throw EConvertError("Invalid argument to date encode");
    return date;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
    TDayAndTime split = SplitDateTime(Date);
    TDateParts parts = split.Valid ? DayToDate(split.Day) : TDateParts();
    Year = parts.Year;
    Month = parts.Month;
    Day = parts.Day;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time) {
    if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000)
        return false;
    Int64 msecs = ((Hour * 60 + Min) * 60 + Sec) * Int64(1000) + MSec;
    Time = static_cast<TDateTime>(msecs) / kMSecsPerDay;
    return true;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
    TDateTime time;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, time))
        throw EConvertError("Invalid argument to time encode");
    return time;
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
    TDayAndTime split = SplitDateTime(Time);
    TTimeParts parts = split.Valid ? MSecToTime(split.MSec) : TTimeParts();
    Hour = parts.Hour;
    Min = parts.Min;
    Sec = parts.Sec;
    MSec = parts.MSec;
}

Integer DayOfWeek(TDateTime Date) {
    TDayAndTime split = SplitDateTime(Date);
    return split.Valid ? DayOfWeekOfSerial(split.Day) : 0;
}

TDateTime Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    TDateTime date =
        EncodeDate(static_cast<Word>(local.tm_year + 1900), static_cast<Word>(local.tm_mon + 1),
                   static_cast<Word>(local.tm_mday));
    // A leap second shows as the last second of its minute.
    TDateTime time = EncodeTime(static_cast<Word>(local.tm_hour), static_cast<Word>(local.tm_min),
                                static_cast<Word>(std::min(local.tm_sec, 59)),
                                static_cast<Word>(now.tv_nsec / 1000000));
    return CombineDateAndTime(date, time);
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    TDateTime now = Now();
    return now - std::trunc(now);
}

AnsiString FormatDateTime(const AnsiString& Format, TDateTime DateTime) {
    return TDateTimeFormatter(DateTime).Run(Format);
}

AnsiString DateToStr(TDateTime Date) {
    return FormatDateTime("ddddd", Date);
}

AnsiString TimeToStr(TDateTime Time) {
    return FormatDateTime("tt", Time);
}

AnsiString DateTimeToStr(TDateTime DateTime) {
    return FormatDateTime("c", DateTime);
}

TDateTime StrToDate(const AnsiString& S) {
    TDateTime value;
    if (!TryStrToDate(S, value))
        throw EConvertError("'" + S + "' is not a valid date");
    return value;
}

TDateTime StrToTime(const AnsiString& S) {
    TDateTime value;
    if (!TryStrToTime(S, value))
        throw EConvertError("'" + S + "' is not a valid time");
    return value;
}

TDateTime StrToDateTime(const AnsiString& S) {
    TDateTime value;
    if (!TryStrToDateTime(S, value))
        throw EConvertError("'" + S + "' is not a valid date and time");
    return value;
}
