// One translation line of the component's lists: a key and a value per
// language.
#pragma once

#include "rtl/System.h"

#include <vector>

// The line is read positionally: value k is the text between the k-th and
// the (k+1)-th delimiter (to the end of the line when that one is missing),
// and an empty value keeps its place. The line keeps its fields as they
// are, so Text gives back every line byte for byte, also one without a
// delimiter (a key alone) or with more delimiters than languages.
class TzxTranslationLine {
public:
    TzxTranslationLine(const AnsiString& Line, char Delim);
    // A new line: Key and Count empty values, each followed by a delimiter.
    TzxTranslationLine(const AnsiString& Key, Integer Count, char Delim);

    const AnsiString& Key() const { return FFields.front(); }
    void SetKey(const AnsiString& Key) { FFields.front() = Key; }
    // Whether the line holds a delimiter at all.
    bool HasValues() const { return FFields.size() > 1; }
    // Value Language (0: the key); empty beyond the line's delimiters.
    const AnsiString& Value(Integer Language) const;
    // A short line is padded with delimiters first, so that the value
    // lands in its own language's place and is followed by a delimiter.
    void SetValue(Integer Language, const AnsiString& Value);
    AnsiString Text() const;

private:
    std::vector<AnsiString> FFields;
    char FDelim;
};

// Field Index of Line: its key for 0, else value Index.
AnsiString GetLineField(const AnsiString& Line, Integer Index, char Delim);
