// The platform's locale settings a translation switches: each one's key in
// the Locales list, how its text is read and how a text is written back.
#include "runtime/QzxComp_Engine.h"

namespace {

// Names travel as comma text.
template <std::size_t N> AnsiString JoinNames(const std::array<AnsiString, N>& Names) {
    AnsiString joined;
    for (std::size_t index = 0; index < N; ++index)
        joined += (index ? "," : "") + Names[index];
    return joined;
}

// The names of the comma text Value replace the first names, in order.
template <std::size_t N> void SetNames(std::array<AnsiString, N>& Names, const AnsiString& Value) {
    TStringList items;
    items.SetCommaText(Value);
    for (Integer index = 0; index < items.Count() && index < Integer(N); ++index)
        Names[static_cast<std::size_t>(index)] = items.Get(index);
}

} // namespace

// A separator is written as the first character of a value; values reach
// Write only when they are not empty.
const std::array<TLocaleSetting, LocaleSettingCount> LocaleSettings = {{
    {"Currency String", [] { return CurrencyString; },
     [](const AnsiString& Value) { CurrencyString = Value; }},
    {"Thousand Separator", [] { return AnsiString(1, ThousandSeparator); },
     [](const AnsiString& Value) { ThousandSeparator = Value[0]; }},
    {"Decimal Separator", [] { return AnsiString(1, DecimalSeparator); },
     [](const AnsiString& Value) { DecimalSeparator = Value[0]; }},
    {"Date Separator", [] { return AnsiString(1, DateSeparator); },
     [](const AnsiString& Value) { DateSeparator = Value[0]; }},
    {"Short Date Format", [] { return ShortDateFormat; },
     [](const AnsiString& Value) { ShortDateFormat = Value; }},
    {"Long Date Format", [] { return LongDateFormat; },
     [](const AnsiString& Value) { LongDateFormat = Value; }},
    {"Time Separator", [] { return AnsiString(1, TimeSeparator); },
     [](const AnsiString& Value) { TimeSeparator = Value[0]; }},
    {"Time AM String", [] { return TimeAMString; },
     [](const AnsiString& Value) { TimeAMString = Value; }},
    {"Time PM String", [] { return TimePMString; },
     [](const AnsiString& Value) { TimePMString = Value; }},
    {"Short Time Format", [] { return ShortTimeFormat; },
     [](const AnsiString& Value) { ShortTimeFormat = Value; }},
    {"Long Time Format", [] { return LongTimeFormat; },
     [](const AnsiString& Value) { LongTimeFormat = Value; }},
    {"Short Month Names", [] { return JoinNames(ShortMonthNames); },
     [](const AnsiString& Value) { SetNames(ShortMonthNames, Value); }},
    {"Long Month Names", [] { return JoinNames(LongMonthNames); },
     [](const AnsiString& Value) { SetNames(LongMonthNames, Value); }},
    {"Short Day Names", [] { return JoinNames(ShortDayNames); },
     [](const AnsiString& Value) { SetNames(ShortDayNames, Value); }},
    {"Long Day Names", [] { return JoinNames(LongDayNames); },
     [](const AnsiString& Value) { SetNames(LongDayNames, Value); }},
}};

const std::array<AnsiString, LocaleSettingCount> LocaleKeys = [] {
    std::array<AnsiString, LocaleSettingCount> keys;
    for (std::size_t index = 0; index < keys.size(); ++index)
        keys[index] = LocaleSettings[index].Key;
    return keys;
}();
