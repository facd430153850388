// The source converter's scan of a Pascal unit: which string literals of
// its statements can become calls of a translation component, what each
// becomes, and the CONST-mode reading of string constants. No IDE here:
// the expert window reads the unit, reviews the result and writes it back.
#pragma once

#include "rtl/Classes.h"

#include <functional>
#include <vector>

// What the scan needs of the expert's settings.
struct TScanSettings {
    AnsiString HCPrefix = "IDS_";
    AnsiString ReplaceMethod = "GetTextOrDefault(";
    Integer IgnorableLength = 1;
    const TStrings* SkipLines = nullptr;
    // IsExcludeString of the expert.
    std::function<bool(const AnsiString&)> IsExcluded;
};

// Where the component lives, to choose how a place in the unit names it.
struct TScanTarget {
    AnsiString FormName;      // also the name of the unit's form variable
    AnsiString FormClassName; // the form's class
    AnsiString FormUnitName;  // the unit that declares the form
    AnsiString ComponentName;
    bool AddFormName = false;
};

struct TFoundLiteral {
    std::size_t Start = 0;  // byte offset of the opening quote
    std::size_t Length = 0; // bytes through the closing quote
    AnsiString Value;
    // How the place names the component; empty when it cannot reach it.
    AnsiString Prefix;
    bool ControlCharBefore = false;
    bool ControlCharAfter = false;
    AnsiString Line; // the whole source line with its line end

    bool Skipped() const { return Prefix.empty(); }
};

// The literals of the unit's statements that qualify, in text order;
// literals whose place cannot reach the component come with an empty
// Prefix.
std::vector<TFoundLiteral> ScanLiterals(const AnsiString& Text, const TScanSettings& Settings,
                                        const TScanTarget& Target);

// Whether the line may hold literals to translate: a quote not after a
// "//", no "{TZX:IGNORE}", none of the SkipLines phrases (an empty phrase
// is in no line) and, in CONST mode, an "=".
bool FindValidDelimitor(const AnsiString& Line, bool ConstMode, const TStrings* SkipLines);

// The number of characters (UTF-8 sequences) of Value.
std::size_t CharacterCount(const AnsiString& Value);

// The first 15 characters of Value (whole UTF-8 sequences), "..." when
// there are more, made safe inside a quoted text in a (* *) comment.
AnsiString DisplayText(const AnsiString& Value);

// The call that replaces Literal under the identifier ID.
AnsiString ReplacementText(const TFoundLiteral& Literal, const AnsiString& ID,
                           const TScanSettings& Settings);

// Replacement with the text between its first two quotes made ID.
AnsiString WithIdentifier(const AnsiString& Replacement, const AnsiString& ID);

// Replacement wrapped in a PChar typecast, the " + " separators and a
// final semicolon left outside; unchanged when it is already cast.
AnsiString TypecastToPChar(const AnsiString& Replacement);

// Whether ID is a Pascal identifier that can stand in a quoted call
// argument and a strings line: letters, digits and "_".
bool IsValidStringID(const AnsiString& ID);

// The first identifier HCPrefix + n, n counting up from Counter + 1, that
// Used does not hold (case ignored); Counter moves to its n and Used gets
// it.
AnsiString NextStringID(const AnsiString& Prefix, Integer& Counter, TStringList& Used);

// --- CONST mode

// The value of a string expression made of quoted pieces, control
// characters (#nn, #$hh, ^M) and "+" only; False for anything else, or a
// code above 127, whose character depends on a code page.
bool EvalStringLiteral(const AnsiString& Expression, AnsiString& Value);

// One declaration of a unit-level const section before the unit's first
// "begin".
struct TConstDeclaration {
    AnsiString Name;
    std::size_t Start = 0;  // the name
    std::size_t Length = 0; // through the closing ";"
    // "Name [: string] = <string expression>;" whose value is known.
    bool IsString = false;
    AnsiString Value;
    bool InInterface = false;
    // The name stands in another declaration (a constant expression, a
    // default parameter): a variable would not compile there.
    bool UsedInDeclarations = false;
    AnsiString Line; // the source line of the name
};

// A unit-level const section: its keyword and its declarations in order.
struct TConstSection {
    std::size_t KeywordStart = 0;
    std::vector<TConstDeclaration> Declarations;
};

std::vector<TConstSection> ScanConstSections(const AnsiString& Text);

// A replacement of Length bytes at Start; positions refer to the text as
// read.
struct TSpanEdit {
    std::size_t Start;
    std::size_t Length;
    AnsiString Text;
};

// The edits that turn the declarations Convert names (by section, then
// declaration) into string variables with their value in a comment,
// splitting the sections so that the rest stay constants.
std::vector<TSpanEdit> ConstantEdits(const std::vector<TConstSection>& Sections,
                                     const std::vector<std::vector<bool>>& Convert);
// Text with the edits applied (in increasing order of Start).
AnsiString ApplyEdits(const AnsiString& Text, std::vector<TSpanEdit> Edits);

// Where a method of the unit's class has its statements.
struct TMethodBlock {
    bool Found = false;
    std::size_t AfterBegin = 0; // just after its "begin"
    std::size_t EndStart = 0;   // its final "end"
    bool CallsUpdateStrings = false;
};
TMethodBlock FindMethodBlock(const AnsiString& Text, const AnsiString& ClassName,
                             const AnsiString& MethodName);
// Whether a uses clause of the unit names UnitName.
bool UnitUses(const AnsiString& Text, const AnsiString& UnitName);
// The unit's own line end: CR LF when it has one, else LF.
AnsiString LineEndOf(const AnsiString& Text);
// Value made fit for a (* *) comment on one line.
AnsiString CommentText(const AnsiString& Value);

// --- Calls that fetch a translated string by identifier

// One call of GetText, GetTextOrDefault, GetTextC or GetTextOrDefaultC
// (any letter case) whose first argument is a quoted identifier, as the
// lexer reads the unit: nothing inside a comment or another string counts.
struct TTextCall {
    std::size_t Line = 0;     // 0-based line of the quoted identifier
    std::size_t IDStart = 0;  // byte offset of its opening quote
    std::size_t IDLength = 0; // bytes through its closing quote
    AnsiString ID;
    // "Owner.Component.GetText(": each empty when the call does not name it.
    AnsiString Component;
    AnsiString Owner;
};

// The calls of the unit, in text order.
std::vector<TTextCall> FindTextCalls(const AnsiString& Text);

// The component whose identifier is renamed, and whether the unit being
// changed is its form's own unit (where calls without owner reach it).
struct TRenamedComponent {
    AnsiString FormName;
    AnsiString ComponentName;
    bool OwnUnit = false;
};

// A source line whose calls of the renamed component quote the old
// identifier: its span without the line end, and the line with each of
// those quoted identifiers made the new one.
struct TRenamedLine {
    std::size_t Line = 0; // 0-based
    std::size_t Start = 0;
    std::size_t Length = 0;
    AnsiString Text;
    AnsiString Result;
};

std::vector<TRenamedLine> RenamedLines(const AnsiString& Text, const AnsiString& OldID,
                                       const AnsiString& NewID, const TRenamedComponent& Component);
