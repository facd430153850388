#include "runtime/QzxTranslationLine.h"

#include <algorithm>

TzxTranslationLine::TzxTranslationLine(const AnsiString& Line, char Delim) : FDelim(Delim) {
    std::size_t start = 0;
    for (std::size_t at = Line.find(Delim); at != AnsiString::npos; at = Line.find(Delim, start)) {
        FFields.push_back(Line.substr(start, at - start));
        start = at + 1;
    }
    FFields.push_back(Line.substr(start));
}

TzxTranslationLine::TzxTranslationLine(const AnsiString& Key, Integer Count, char Delim)
    : FFields(static_cast<std::size_t>(std::max(Count, 0)) + 2), FDelim(Delim) {
    FFields.front() = Key;
}

const AnsiString& TzxTranslationLine::Value(Integer Language) const {
    static const AnsiString none;
    if (Language < 0 || static_cast<std::size_t>(Language) >= FFields.size())
        return none;
    return FFields[static_cast<std::size_t>(Language)];
}

void TzxTranslationLine::SetValue(Integer Language, const AnsiString& Value) {
    if (Language < 0)
        return;
    const auto index = static_cast<std::size_t>(Language);
    if (FFields.size() < index + 2)
        FFields.resize(index + 2);
    FFields[index] = Value;
}

AnsiString TzxTranslationLine::Text() const {
    AnsiString text = FFields.front();
    for (std::size_t index = 1; index < FFields.size(); ++index)
        text += FDelim + FFields[index];
    return text;
}

// Found by skipping Index delimiters, without splitting the rest of the line.
AnsiString GetLineField(const AnsiString& Line, Integer Index, char Delim) {
    if (Index < 0)
        return AnsiString();
    std::size_t start = 0;
    for (Integer skipped = 0; skipped < Index; ++skipped) {
        const std::size_t at = Line.find(Delim, start);
        if (at == AnsiString::npos)
            return AnsiString();
        start = at + 1;
    }
    return Line.substr(start, Line.find(Delim, start) - start);
}
