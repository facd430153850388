// The process-wide locale settings. They are filled from the process locale
// by this file's static initialiser. The locale is opened with newlocale and
// queried with nl_langinfo_l, leaving the C library's global locale alone.
#include "rtl/SysUtils.h"

#include <langinfo.h>
#include <locale.h>

AnsiString CurrencyString;
char ThousandSeparator = ',';
char DecimalSeparator = '.';
char DateSeparator = '/';
AnsiString ShortDateFormat;
AnsiString LongDateFormat;
char TimeSeparator = ':';
AnsiString TimeAMString;
AnsiString TimePMString;
AnsiString ShortTimeFormat;
AnsiString LongTimeFormat;
std::array<AnsiString, 12> ShortMonthNames;
std::array<AnsiString, 12> LongMonthNames;
std::array<AnsiString, 7> ShortDayNames;
std::array<AnsiString, 7> LongDayNames;

namespace {

// The locale named by the LC_* environment, or "C" when that one is not
// installed.
class TProcessLocale {
public:
    TProcessLocale() : FLocale(newlocale(LC_ALL_MASK, "", nullptr)) {
        if (!FLocale)
            FLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    }
    ~TProcessLocale() {
        if (FLocale)
            freelocale(FLocale);
    }
    TProcessLocale(const TProcessLocale&) = delete;
    TProcessLocale& operator=(const TProcessLocale&) = delete;

    AnsiString Item(nl_item Item) const {
        const char* text = FLocale ? nl_langinfo_l(Item, FLocale) : nullptr;
        return text ? text : "";
    }

private:
    locale_t FLocale;
};

bool IsAsciiLetter(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

bool IsQuote(char C) {
    return C == '"' || C == '\'';
}

// The FormatDateTime text for one strftime conversion character; Unpadded
// for glibc's "%-d" style flag.
std::string_view PascalSpecifier(char Conversion, bool Unpadded) {
    switch (Conversion) {
    case 'd':
        return Unpadded ? "d" : "dd";
    case 'e':
        return "d";
    case 'm':
        return Unpadded ? "m" : "mm";
    case 'y':
        return "yy";
    case 'Y':
        return "yyyy";
    case 'H':
        return Unpadded ? "h" : "hh";
    case 'I':
    case 'k':
    case 'l':
        return "h";
    case 'M':
        return Unpadded ? "n" : "nn";
    case 'S':
        return Unpadded ? "s" : "ss";
    case 'p':
    case 'P':
        return "AMPM";
    case 'b':
    case 'h':
        return "mmm";
    case 'B':
        return "mmmm";
    case 'a':
        return "ddd";
    case 'A':
        return "dddd";
    case 'D':
        return "mm/dd/yy";
    case 'F':
        return "yyyy-mm-dd";
    case 'T':
        return "hh:nn:ss";
    case 'R':
        return "hh:nn";
    case 'r':
        return "h:nn:ss AMPM";
    case 'n':
    case 't':
        return " ";
    case '%':
        return "%";
    default:
        return "";
    }
}

// The first character outside quotes that is not a letter: the separator a
// converted short date or time format uses.
char FirstSeparator(const AnsiString& Format) {
    char quote = 0;
    for (char C : Format) {
        if (quote)
            quote = C == quote ? 0 : quote;
        else if (IsQuote(C))
            quote = C;
        else if (!IsAsciiLetter(C))
            return C;
    }
    return 0;
}

// Turns every unquoted From into the placeholder To ('/' or ':'), so that
// FormatDateTime prints the current DateSeparator or TimeSeparator there.
void ReplaceSeparator(AnsiString& Format, char From, char To) {
    char quote = 0;
    for (char& C : Format) {
        if (quote)
            quote = C == quote ? 0 : quote;
        else if (IsQuote(C))
            quote = C;
        else if (C == From)
            C = To;
    }
}

// Separators are single bytes. A locale whose separator is a multi-byte UTF-8
// character (French groups digits with a narrow no-break space) gets a plain
// blank, the nearest single-byte stand-in.
bool IsSingleByte(std::string_view Text) {
    return Text.size() == 1 && static_cast<unsigned char>(Text[0]) < 0x80;
}

// Converts a short date or time format and takes its separator out of it. A
// multi-byte separator stays in the format as literal text, so dates still
// print with it; only parsing falls back to the blank.
AnsiString ConvertShortFormat(const AnsiString& Strftime, char Placeholder, char& Separator) {
    AnsiString format = StrftimeToDateTimeFormat(Strftime);
    char found = FirstSeparator(format);
    if (found == 0)
        return format;
    Separator = IsSingleByte(std::string_view(&found, 1)) ? found : ' ';
    if (Separator != ' ')
        ReplaceSeparator(format, found, Placeholder);
    return format;
}

// The long time format without its seconds and the separator before them.
AnsiString WithoutSeconds(AnsiString LongTime) {
    char quote = 0;
    for (std::size_t at = 0; at < LongTime.size(); ++at) {
        char C = LongTime[at];
        if (quote) {
            quote = C == quote ? 0 : quote;
        } else if (IsQuote(C)) {
            quote = C;
        } else if (C == 's' || C == 'S') {
            std::size_t end = LongTime.find_first_not_of("sS", at);
            std::size_t start = at > 0 && LongTime[at - 1] == ':' ? at - 1 : at;
            LongTime.erase(start, (end == AnsiString::npos ? LongTime.size() : end) - start);
            return LongTime;
        }
    }
    return LongTime;
}

// POSIX has no long date format: build one in the order of the short one.
AnsiString LongDateFormatLike(const AnsiString& ShortDate) {
    for (char C : ShortDate) {
        switch (C | 0x20) {
        case 'd':
            return "dddd, d mmmm yyyy";
        case 'y':
            return "dddd, yyyy mmmm d";
        case 'm':
            return "dddd, mmmm d, yyyy";
        default:
            break;
        }
    }
    return "dddd, mmmm d, yyyy";
}

AnsiString OrDefault(AnsiString Text, const char* Default) {
    return Text.empty() ? AnsiString(Default) : Text;
}

// The currency symbol without the marker glibc puts in front of it ('-'
// before the amount, '+' after it, '.' in place of the decimal point).
AnsiString CurrencySymbol(AnsiString Marked) {
    if (!Marked.empty() && (Marked[0] == '-' || Marked[0] == '+' || Marked[0] == '.'))
        Marked.erase(0, 1);
    return OrDefault(Marked, "$");
}

void ReadNumberSettings(const TProcessLocale& Locale) {
    CurrencyString = CurrencySymbol(Locale.Item(CRNCYSTR));
    AnsiString radix = Locale.Item(RADIXCHAR);
    DecimalSeparator = IsSingleByte(radix) ? radix[0] : '.';
    AnsiString thousands = Locale.Item(THOUSEP);
    if (thousands.empty())
        ThousandSeparator = DecimalSeparator == ',' ? '.' : ',';
    else
        ThousandSeparator = IsSingleByte(thousands) ? thousands[0] : ' ';
}

void ReadDateTimeFormats(const TProcessLocale& Locale) {
    DateSeparator = '/';
    ShortDateFormat =
        ConvertShortFormat(OrDefault(Locale.Item(D_FMT), "%m/%d/%y"), '/', DateSeparator);
    LongDateFormat = LongDateFormatLike(ShortDateFormat);

    // Locales with a 12-hour clock spell their time format as "%r".
    AnsiString timeFormat = OrDefault(Locale.Item(T_FMT), "%H:%M:%S");
    AnsiString twelveHourFormat = Locale.Item(T_FMT_AMPM);
    if (timeFormat == "%r" && !twelveHourFormat.empty())
        timeFormat = twelveHourFormat;
    TimeSeparator = ':';
    LongTimeFormat = ConvertShortFormat(timeFormat, ':', TimeSeparator);
    ShortTimeFormat = WithoutSeconds(LongTimeFormat);
    TimeAMString = OrDefault(Locale.Item(AM_STR), "AM");
    TimePMString = OrDefault(Locale.Item(PM_STR), "PM");
}

void ReadNames(const TProcessLocale& Locale) {
    static constexpr nl_item kShortMonths[12] = {ABMON_1, ABMON_2,  ABMON_3,  ABMON_4,
                                                 ABMON_5, ABMON_6,  ABMON_7,  ABMON_8,
                                                 ABMON_9, ABMON_10, ABMON_11, ABMON_12};
    static constexpr nl_item kLongMonths[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                                MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
    static constexpr nl_item kShortDays[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4,
                                              ABDAY_5, ABDAY_6, ABDAY_7};
    static constexpr nl_item kLongDays[7] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
    for (std::size_t month = 0; month < 12; ++month) {
        ShortMonthNames[month] = Locale.Item(kShortMonths[month]);
        LongMonthNames[month] = Locale.Item(kLongMonths[month]);
    }
    for (std::size_t day = 0; day < 7; ++day) {
        ShortDayNames[day] = Locale.Item(kShortDays[day]);
        LongDayNames[day] = Locale.Item(kLongDays[day]);
    }
}

} // namespace

AnsiString StrftimeToDateTimeFormat(const AnsiString& StrftimeFormat) {
    AnsiString result;
    AnsiString letters; // literal letters, quoted when the run ends
    auto flushLetters = [&] {
        if (!letters.empty())
            result += '"' + letters + '"';
        letters.clear();
    };
    const std::size_t size = StrftimeFormat.size();
    for (std::size_t at = 0; at < size; ++at) {
        char C = StrftimeFormat[at];
        if (C != '%') {
            if (IsAsciiLetter(C)) {
                letters += C;
                continue;
            }
            flushLetters();
            if (IsQuote(C))
                result += C == '"' ? "'\"'" : "\"'\"";
            else
                result += C;
            continue;
        }
        flushLetters();
        bool unpadded = false;
        for (++at; at < size && AnsiString("_-0^#").find(StrftimeFormat[at]) != AnsiString::npos;
             ++at)
            unpadded = unpadded || StrftimeFormat[at] == '-';
        while (at < size && StrftimeFormat[at] >= '0' && StrftimeFormat[at] <= '9')
            ++at;
        if (at < size && (StrftimeFormat[at] == 'E' || StrftimeFormat[at] == 'O'))
            ++at;
        if (at < size)
            result += PascalSpecifier(StrftimeFormat[at], unpadded);
    }
    flushLetters();
    return result;
}

void GetFormatSettings() {
    TProcessLocale locale;
    ReadNumberSettings(locale);
    ReadDateTimeFormats(locale);
    ReadNames(locale);
}

namespace {

[[maybe_unused]] const bool SettingsLoaded = (GetFormatSettings(), true);

} // namespace
