// Kinds of translatable text and the text and property routines the
// translation engine and the tools use everywhere.
#pragma once

#include "rtl/Classes.h"
#include "rtl/TypInfo.h"
#include "runtime/QzxTranslationLine.h"

#include <array>
#include <initializer_list>

// ---------------------------------------------------------------------------
// Kinds of translatable text, in the order every per-kind loop follows.

ZX_ENUM(TStringsType, stCaptions, stHints, stDisplayLabels, stFonts, stMultiLines, stDlgsCaptions,
        stStrings, stOtherStrings, stLocales, stCollections, stCharSets, stListView_TreeView_Items);
using TStringsTypes = TSet<TStringsType>;
inline constexpr Integer StringsTypeCount = 12;

// Section names of the kinds in text translation files.
extern const std::array<WideString, StringsTypeCount> IniNames;

// Whether a file name means the binary translation format: its extension,
// upper-cased, is ".ZXB".
bool zxIsBinaryFile(const AnsiString& FileName);

// ---------------------------------------------------------------------------
// Text and property routines

// Position (1-based) of the first character of word N of S, where words are
// runs of characters outside WordDelims and a run of delimiters is one
// separator; the length of S when S has fewer than N words.
Integer WordPosition(Integer N, const AnsiString& S, const TSysCharSet& WordDelims);
// Word N of S under the same rule, or an empty string.
AnsiString ExtractWord(Integer N, const AnsiString& S, const TSysCharSet& WordDelims);
// Result := word 2 of S with D as the only delimiter, upper-cased; Result
// stays as it was when S has no word 2.
void ExtractUpperWord2(const AnsiString& S, char D, AnsiString& Result);
Integer CountDelimChars(const AnsiString& S, const TSysCharSet& Delims);
// S with Old replaced by New, found whatever its case; only the first
// occurrence unless ReplaceAll.
WideString ReplaceStr(const WideString& S, const WideString& Old, const WideString& New,
                      bool ReplaceAll);
AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Old, const AnsiString& New,
                      bool ReplaceAll);
// Index of the first entry equal to S ignoring case (AnsiCompareText), or -1.
Integer AnsiIndexText(const AnsiString& S, std::initializer_list<AnsiString> Values);

// Append the value names of the property's enumeration (or of its set's
// element type), from the lowest value to the highest.
void GetEnumMembers(PPropInfo PropInfo, TStrings& List);
void GetSetMembers(PPropInfo PropInfo, TStrings& List);
// Overwrites Target's lines in place by the lines of the comma text Value,
// so that the objects attached to them stay; lines are added or deleted at
// the end.
void UpdateStringsFromCommaText(TStrings& Target, const AnsiString& Value);
// Clears List and adds the section names of the kinds, in kind order.
void GetIniNames(TStrings& List);

void zxSetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value);
TObject* zxGetObjectProp(TObject* Instance, PPropInfo PropInfo);

// Layout-testing transformations: upper case <-> lower case for every
// character; S with Percent per cent more characters, FillChar spread evenly
// after its characters.
AnsiString zxFlipCase(const AnsiString& S);
AnsiString zxExpandStringByChars(const AnsiString& S, double Percent, char FillChar);

// The tabular Islamic calendar.
TDateTime Hijri2Gregorian(Integer Day, Integer Month, Integer Year);
void Gregorian2Hijri(TDateTime Date, Integer& Day, Integer& Month, Integer& Year);

// The published properties of an object whose kind lies in a set, sorted by
// name.
class TzxPropInfoList : public TObject {
    ZX_CLASS(TzxPropInfoList, TObject)
public:
    TzxPropInfoList(TObject* AObject, const TTypeKinds& Filter);

    // An entry with P's type and P's name (ignoring case).
    bool Contains(PPropInfo P) const;
    // The first entry of that name ignoring case, or nullptr.
    PPropInfo Find(const WideString& AName) const;
    void Delete(Integer Index);
    PPropInfo Get(Integer Index) const { return FList[static_cast<std::size_t>(Index)]; }
    Integer Count() const { return static_cast<Integer>(FList.size()); }
    // Keeps only the entries that List contains too.
    void Intersect(const TzxPropInfoList& List);

private:
    TPropList FList;
};

// ---------------------------------------------------------------------------
// Translation lines

// Translation lines in line-based stores (the form-file property, ini text).
// A line break inside a line has always travelled as the characters 25 26.
// A line that needs more -- a carriage return, the character 25 itself, a
// leading ";" or "[", or a text equal to a kind's header name ("stCaptions",
// any case) -- travels escaped: 25 26 line feed, 25 'r' carriage return,
// 25 25 the character 25, and a leading 25 '-' that reads as nothing.
bool TranslationLineNeedsEscape(const AnsiString& Line);
AnsiString EscapeTranslationLine(const AnsiString& Line);
// Reverses EscapeTranslationLine; an unknown pair after 25 stays as it is.
AnsiString UnescapeTranslationLine(const AnsiString& Line);
// Whether Line names a kind ("stCaptions" .. "stListView_TreeView_Items",
// case ignored); Kind receives it.
bool IsKindHeader(const AnsiString& Line, TStringsType& Kind);
