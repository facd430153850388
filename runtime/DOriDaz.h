// The package's own ini engine, which reads and writes every text
// translation file, and the substring search of the translation lookups.
#pragma once

#include "rtl/Classes.h"

#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

// A section name, key or value that the engine could not read back as written.
class EIniFileException : public Exception {
    using Exception::Exception;
};

// ---------------------------------------------------------------------------
// TCustomIniFile: the typed reads and writes, built on ReadString,
// WriteString and ReadSection of a descendant.

class TCustomIniFile : public TObject {
    ZX_CLASS(TCustomIniFile, TObject)
public:
    explicit TCustomIniFile(const AnsiString& FileName) : FFileName(FileName) {}

    const AnsiString& FileName() const { return FFileName; }

    virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                                  const AnsiString& Default) = 0;
    virtual void WriteString(const AnsiString& Section, const AnsiString& Ident,
                             const AnsiString& Value) = 0;
    // "0x" or "0X" followed by hexadecimal digits reads as a hexadecimal number.
    virtual Integer ReadInteger(const AnsiString& Section, const AnsiString& Ident,
                                Integer Default);
    virtual void WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value);
    virtual bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
    virtual void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
    // An empty or unconvertible value gives Default.
    virtual TDateTime ReadDate(const AnsiString& Section, const AnsiString& Ident,
                               TDateTime Default);
    virtual TDateTime ReadDateTime(const AnsiString& Section, const AnsiString& Ident,
                                   TDateTime Default);
    virtual double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default);
    virtual TDateTime ReadTime(const AnsiString& Section, const AnsiString& Ident,
                               TDateTime Default);
    virtual void WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    virtual void WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    virtual void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);
    virtual void WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    virtual void ReadSection(const AnsiString& Section, TStrings& Strings) = 0;
    virtual void ReadSections(TStrings& Strings) = 0;
    virtual void ReadSectionValues(const AnsiString& Section, TStrings& Strings) = 0;
    virtual void EraseSection(const AnsiString& Section) = 0;
    virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
    virtual void UpdateFile() = 0;

    // A section without keys counts as missing.
    bool SectionExists(const AnsiString& Section);
    bool ValueExists(const AnsiString& Section, const AnsiString& Ident);

protected:
    AnsiString FFileName;
};

// ---------------------------------------------------------------------------
// The value of one entry, kept exactly as written.

class TMemIniValue : public TObject {
    ZX_CLASS(TMemIniValue, TObject)
public:
    explicit TMemIniValue(AnsiString Value) : FValue(std::move(Value)) {}
    const AnsiString& Value() const { return FValue; }
    void SetValue(AnsiString Value) { FValue = std::move(Value); }

private:
    AnsiString FValue;
};

// ---------------------------------------------------------------------------
// One section: its keys sorted without regard to case, equal keys accepted
// (a new one goes in front of those equal to it), each with its owned value.

class TMemIniEntry : public TPersistent {
    ZX_CLASS(TMemIniEntry, TPersistent)
public:
    TMemIniEntry() = default;
    TMemIniEntry(const TMemIniEntry&) = delete;
    TMemIniEntry& operator=(const TMemIniEntry&) = delete;

    // What WriteStrings writes: a key and its value.
    using TKeyValue = std::pair<AnsiString, AnsiString>;

    Integer GetStringCount() const { return static_cast<Integer>(FEntries.size()); }
    const AnsiString& getKey(Integer I) const { return At(I).Key; }
    const AnsiString& GetValue(Integer I) const { return ValueHolder(I)->Value(); }
    void SetValue(Integer I, const AnsiString& S) { ValueHolder(I)->SetValue(S); }
    AnsiString getEntry(Integer I) const { return getKey(I) + "=" + GetValue(I); }
    TMemIniValue* ValueHolder(Integer I) const { return At(I).Value.get(); }

    // Splits S at its first "="; without one, S is the key and the value is empty.
    static void divideKeyValue(const AnsiString& S, AnsiString& Key, AnsiString& Value);
    Integer Add(AnsiString Key, AnsiString Value);
    Integer Add(const AnsiString& S);
    // A TStrings source replaces the entries by its "key=value" lines.
    void Assign(const TPersistent* Source) override;
    void Clear() { FEntries.clear(); }
    void Delete(Integer I);
    // Binary search; among equal keys the first in list order.
    bool Find(const AnsiString& Key, Integer& Index) const;
    // The same as writing each entry in turn -- an entry of a key that is
    // there already replaces the first of its equals, key spelling included,
    // else it goes in front of them -- in one pass over the section.
    void WriteStrings(std::vector<TKeyValue> Entries);

private:
    struct TItem {
        AnsiString Key;
        std::unique_ptr<TMemIniValue> Value;
    };
    const TItem& At(Integer I) const;

    std::vector<TItem> FEntries;
};

// ---------------------------------------------------------------------------
// TMemIniFile: a whole ini text in memory, sections sorted without regard to
// case. Nothing reaches the disk before UpdateFile.

class TMemIniFile : public TCustomIniFile {
    ZX_CLASS(TMemIniFile, TCustomIniFile)
public:
    // Reads FileName when it names an existing file; else the engine is empty.
    explicit TMemIniFile(const AnsiString& FileName);
    ~TMemIniFile() override;
    TMemIniFile(const TMemIniFile&) = delete;
    TMemIniFile& operator=(const TMemIniFile&) = delete;

    AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                          const AnsiString& Default) override;
    // Raises EIniFileException, storing nothing, when the line written for
    // the entry would read back otherwise: a line break anywhere, a key
    // holding "=" or starting with ";", or an entry that reads as a section
    // header.
    void WriteString(const AnsiString& Section, const AnsiString& Ident,
                     const AnsiString& Value) override;
    void ReadSection(const AnsiString& Section, TStrings& Strings) override;
    void ReadSections(TStrings& Strings) override;
    // The keys of Section, each carrying its TMemIniValue as object.
    void ReadSectionValues(const AnsiString& Section, TStrings& Strings) override;
    // The same for the keys that begin with Prefix (case ignored), found
    // without walking the rest of the section.
    void ReadSectionValues(const AnsiString& Section, const AnsiString& Prefix, TStrings& Strings);
    // Visit(key, value holder) for the same keys, in the section's order,
    // without copying them into a list.
    void ForEachValueOf(const AnsiString& Section, const AnsiString& Prefix,
                        const std::function<void(const AnsiString&, TMemIniValue&)>& Visit) const;
    // TMemIniEntry::WriteStrings into Section, made when missing.
    void WriteStrings(const AnsiString& Section, std::vector<TMemIniEntry::TKeyValue> Entries);
    void EraseSection(const AnsiString& Section) override;
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
    // Renders the whole text and replaces the file atomically.
    void UpdateFile() override;

    void LoadValues();
    // Replaces the content by the parsed lines of List; a UTF-8 byte-order
    // mark before the first line is skipped.
    void SetStrings(const TStrings& List);
    // The same for the lines of a whole text, split as TStrings::SetText
    // splits them, without making a list of them first.
    void SetText(std::string_view Text);
    // Appends the rendered lines to List.
    void GetStrings(TStrings& List) const;
    // The rendered lines, each ended by a line feed: the text of GetStrings.
    AnsiString Text() const;
    // The same text handed to Write in pieces of whole lines, so that a text
    // of many megabytes is never held at once.
    void WriteText(const std::function<void(std::string_view Lines)>& Write) const;
    TMemIniEntry* AddSection(const AnsiString& Name);
    void Clear();
    void Rename(const AnsiString& FileName, bool Reload);

private:
    TMemIniEntry* FindSection(const AnsiString& Name) const;
    TMemIniEntry* SectionAt(Integer I) const;
    // Reads one line into the section being read.
    void ParseLine(std::string_view Line, bool First, TMemIniEntry*& Section);
    // Each rendered line, in the order of the text.
    template <typename AddLine> void RenderLines(AddLine Add) const;

    TStringList FSections;
};

// ---------------------------------------------------------------------------
// Where the line that starts at Pos ends: at the first CR or LF, or at the
// end of Text.
std::size_t LineEndOf(std::string_view Text, std::size_t Pos);

// Calls Line(text, number from 1) for each line of Text, split at CR, LF
// or CR LF as TStrings::SetText splits it.
template <typename LineCall> void ForEachTextLine(std::string_view Text, LineCall Line) {
    Integer number = 0;
    std::size_t pos = 0;
    while (pos < Text.size()) {
        const std::size_t lineEnd = LineEndOf(Text, pos);
        Line(Text.substr(pos, lineEnd - pos), ++number);
        pos = lineEnd;
        if (pos < Text.size() && Text[pos] == '\r')
            ++pos;
        if (pos < Text.size() && Text[pos] == '\n')
            ++pos;
    }
}

// Whether S begins with Prefix, case ignored as AnsiSameText ignores it;
// compared in place while both are ASCII, the usual case.
bool StartsWithText(std::string_view S, std::string_view Prefix);

// Whether Text holds any of the few bytes Chars, each byte of Text compared
// in place (the library's search calls a search of Chars for every byte).
bool HoldsAnyOf(std::string_view Text, std::string_view Chars);

// Boyer-Moore-Horspool search over bytes, case-sensitive: 1-based position of
// the first occurrence of SubStr in S, 0 when there is none, 1 for an empty
// SubStr.
Integer SearchBM(const AnsiString& SubStr, const AnsiString& S);
