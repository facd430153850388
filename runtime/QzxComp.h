// The translation engine: the translation component and the text and
// property routines it and the tools use everywhere.
#pragma once

#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

// ---------------------------------------------------------------------------
// Kinds of translatable text, in the order every per-kind loop follows.

ZX_ENUM(TStringsType, stCaptions, stHints, stDisplayLabels, stFonts, stMultiLines, stDlgsCaptions,
        stStrings, stOtherStrings, stLocales, stCollections, stCharSets, stListView_TreeView_Items);
using TStringsTypes = TSet<TStringsType>;
inline constexpr Integer StringsTypeCount = 12;

// Section names of the kinds in text translation files.
extern const std::array<WideString, StringsTypeCount> IniNames;

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
