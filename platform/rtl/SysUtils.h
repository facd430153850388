// Exceptions, string utilities, case rules, Format, conversions, dates and
// times, the process-wide locale settings, and file-name utilities.
#pragma once

#include "rtl/System.h"

#include <array>
#include <exception>
#include <initializer_list>
#include <span>

// ---------------------------------------------------------------------------
// Exceptions

class Exception : public std::exception {
public:
    explicit Exception(AnsiString Msg) : FMessage(std::move(Msg)) {}
    const AnsiString& Message() const { return FMessage; }
    void SetMessage(AnsiString Msg) { FMessage = std::move(Msg); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    AnsiString FMessage;
};

// Silent exception: aborts an operation without an error message.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
    using Exception::Exception;
};
class EConvertError : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EInvalidCast : public Exception { using Exception::Exception; };
class EInOutError : public Exception { using Exception::Exception; };
class EListError : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EFilerError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EFilerError { using EFilerError::EFilerError; };
class EWriteError : public EFilerError { using EFilerError::EFilerError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EResNotFound : public Exception { using Exception::Exception; };

[[noreturn]] void Abort();

// ---------------------------------------------------------------------------
// Strings

// Trimming removes spaces and control characters (every byte <= ' ').
AnsiString Trim(const AnsiString& S);
AnsiString TrimLeft(const AnsiString& S);
AnsiString TrimRight(const AnsiString& S);

enum class TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
inline constexpr TReplaceFlag rfReplaceAll = TReplaceFlag::rfReplaceAll;
inline constexpr TReplaceFlag rfIgnoreCase = TReplaceFlag::rfIgnoreCase;

// Replaces the first (or, with rfReplaceAll, every) occurrence of OldPattern;
// rfIgnoreCase matches under the case folding of AnsiSameText, and S keeps its
// own spelling outside the replaced parts. An empty OldPattern replaces nothing.
AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern,
                         const AnsiString& NewPattern, TReplaceFlags Flags);
WideString WideStringReplace(const WideString& S, const WideString& OldPattern,
                             const WideString& NewPattern, TReplaceFlags Flags);

// ASCII-only case rules.
AnsiString UpperCase(const AnsiString& S);
AnsiString LowerCase(const AnsiString& S);
Integer CompareStr(const AnsiString& S1, const AnsiString& S2);
Integer CompareText(const AnsiString& S1, const AnsiString& S2);
bool SameText(const AnsiString& S1, const AnsiString& S2);

// Unicode case rules: simple case mapping and folding, code-point order,
// independent of the machine's locale.
AnsiString AnsiUpperCase(const AnsiString& S);
AnsiString AnsiLowerCase(const AnsiString& S);
Integer AnsiCompareText(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2);
// Case-sensitive: byte order, which is code-point order for UTF-8.
Integer AnsiCompareStr(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2);
Integer AnsiPos(const AnsiString& Sub, const AnsiString& S);

WideString WideUpperCase(const WideString& S);
WideString WideLowerCase(const WideString& S);
Integer WideCompareText(const WideString& S1, const WideString& S2);
Integer WideCompareStr(const WideString& S1, const WideString& S2);
bool WideSameText(const WideString& S1, const WideString& S2);

// Single code points under the same rules.
char32_t UnicodeUpper(char32_t C);
char32_t UnicodeLower(char32_t C);
char32_t UnicodeFold(char32_t C);

inline constexpr char cHotkeyPrefix = '&';
// Removes accelerator markers: "&File" -> "File", "A&&B" -> "A&B".
AnsiString StripHotkey(const AnsiString& Text);

// Breaks Line into lines of at most MaxCol characters at one of BreakChars,
// inserting BreakStr; text in single or double quotes is never broken.
AnsiString WrapText(const AnsiString& Line, const AnsiString& BreakStr,
                    const TSysCharSet& BreakChars, Integer MaxCol);
AnsiString WrapText(const AnsiString& Line, Integer MaxCol = 45);

AnsiString QuotedStr(const AnsiString& S);
AnsiString AnsiQuotedStr(const AnsiString& S, char Quote);
// Reads a quoted string starting at Src[Pos] (0-based), advancing Pos past it;
// returns an empty string and leaves Pos when Src[Pos] is not Quote.
AnsiString AnsiExtractQuotedStr(const AnsiString& Src, std::size_t& Pos, char Quote);

// ---------------------------------------------------------------------------
// Format and its argument list (the Pascal "array of const")

class TVarRec {
public:
    enum TVType { vtInteger, vtInt64, vtExtended, vtString, vtWideString, vtChar, vtWideChar, vtBoolean, vtPointer };

    TVarRec(int V) : VType(vtInteger), VInteger(V) {}
    TVarRec(unsigned V) : VType(vtInt64), VInt64(V) {}
    TVarRec(long V) : VType(vtInt64), VInt64(V) {}
    TVarRec(long long V) : VType(vtInt64), VInt64(V) {}
    TVarRec(unsigned long V) : VType(vtInt64), VInt64(static_cast<Int64>(V)) {}
    TVarRec(unsigned long long V) : VType(vtInt64), VInt64(static_cast<Int64>(V)) {}
    TVarRec(double V) : VType(vtExtended), VExtended(V) {}
    TVarRec(long double V) : VType(vtExtended), VExtended(V) {}
    TVarRec(const char* V) : VType(vtString), VString(V ? V : "") {}
    TVarRec(AnsiString V) : VType(vtString), VString(std::move(V)) {}
    TVarRec(const WideString& V) : VType(vtWideString), VString(UTF8Encode(V)) {}
    TVarRec(char V) : VType(vtChar), VString(1, V) {}
    TVarRec(char16_t V) : VType(vtWideChar), VString(UTF8Encode(std::u16string_view(&V, 1))) {}
    TVarRec(bool V) : VType(vtBoolean), VInteger(V) {}
    TVarRec(const void* V) : VType(vtPointer), VPointer(V) {}

    TVType VType;
    Integer VInteger = 0;
    Int64 VInt64 = 0;
    Extended VExtended = 0;
    AnsiString VString; // vtString, vtWideString (as UTF-8), vtChar, vtWideChar
    const void* VPointer = nullptr;
};

using TVarRecs = std::span<const TVarRec>;

// Pascal Format: %[index:][-][width][.precision]type with the types
// d u x e f g n m p s, '*' for width or precision taken from the arguments,
// and %% for a percent sign. A mismatch raises EConvertError; no argument is
// ever read past the end of Args.
AnsiString Format(const AnsiString& Fmt, TVarRecs Args);
inline AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
    return Format(Fmt, TVarRecs(Args.begin(), Args.size()));
}
WideString WideFormat(const WideString& Fmt, std::initializer_list<TVarRec> Args);

// ---------------------------------------------------------------------------
// Numeric conversions

AnsiString IntToStr(Int64 Value);
AnsiString IntToHex(Int64 Value, Integer Digits);
// Integer text: optional sign, decimal digits or "$"/"0x" with hex digits,
// leading blanks allowed. StrToInt raises EConvertError on anything else.
Integer StrToInt(const AnsiString& S);
Integer StrToIntDef(const AnsiString& S, Integer Default);
Int64 StrToInt64(const AnsiString& S);
Int64 StrToInt64Def(const AnsiString& S, Int64 Default);
bool TryStrToInt(const AnsiString& S, Integer& Value);
bool TryStrToInt64(const AnsiString& S, Int64& Value);

// Floats use DecimalSeparator; FloatToStr gives at most 15 significant digits.
AnsiString FloatToStr(Extended Value);

// ffGeneral: the shorter of fixed and scientific, Precision significant digits,
//            no trailing zeros, Digits = minimum exponent digits.
// ffExponent: d.ddd...E+ddd with Precision digits, Digits = minimum exponent digits.
// ffFixed, ffNumber (thousands grouped), ffCurrency (CurrencyString prefix,
//            grouped): Digits decimals; values with more than Precision integer
//            digits fall back to ffGeneral.
// Precision is clamped to 1..18, Digits to 0..18 (0..4 for exponents).
enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
inline constexpr TFloatFormat ffGeneral = TFloatFormat::ffGeneral;
inline constexpr TFloatFormat ffExponent = TFloatFormat::ffExponent;
inline constexpr TFloatFormat ffFixed = TFloatFormat::ffFixed;
inline constexpr TFloatFormat ffNumber = TFloatFormat::ffNumber;
inline constexpr TFloatFormat ffCurrency = TFloatFormat::ffCurrency;
AnsiString FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits);
Extended StrToFloat(const AnsiString& S);
Extended StrToFloatDef(const AnsiString& S, Extended Default);
bool TryStrToFloat(const AnsiString& S, Extended& Value);

// ---------------------------------------------------------------------------
// Process-wide locale settings, read from the process locale at start-up and
// writable by the application (the translation components switch them).

extern AnsiString CurrencyString;
extern char ThousandSeparator;
extern char DecimalSeparator;
extern char DateSeparator;
extern AnsiString ShortDateFormat;
extern AnsiString LongDateFormat;
extern char TimeSeparator;
extern AnsiString TimeAMString;
extern AnsiString TimePMString;
extern AnsiString ShortTimeFormat;
extern AnsiString LongTimeFormat;
// Index 0 is January / Sunday.
extern std::array<AnsiString, 12> ShortMonthNames;
extern std::array<AnsiString, 12> LongMonthNames;
extern std::array<AnsiString, 7> ShortDayNames;
extern std::array<AnsiString, 7> LongDayNames;

// Reloads every setting above from the process locale (the LC_* environment).
void GetFormatSettings();

// Turns a strftime date or time format into a FormatDateTime one ("%d.%m.%Y"
// -> "dd.mm.yyyy"); literal letters are quoted, unknown specifiers dropped.
AnsiString StrftimeToDateTimeFormat(const AnsiString& StrftimeFormat);

// ---------------------------------------------------------------------------
// Dates and times: a TDateTime counts days since 30 December 1899, the time of
// day being the fraction.

TDateTime EncodeDate(Word Year, Word Month, Word Day);
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
bool IsLeapYear(Word Year);
// 1 = Sunday .. 7 = Saturday.
Integer DayOfWeek(TDateTime Date);
TDateTime Date();
TDateTime Time();
TDateTime Now();

// Pascal date-time format specifiers (c d dd ddd dddd ddddd dddddd m mm mmm
// mmmm yy yyyy h hh n nn s ss z zzz t tt am/pm a/p ampm / : "quoted" 'quoted').
AnsiString FormatDateTime(const AnsiString& Format, TDateTime DateTime);
AnsiString DateToStr(TDateTime Date);
AnsiString TimeToStr(TDateTime Time);
AnsiString DateTimeToStr(TDateTime DateTime);
// Parse by the order of ShortDateFormat and the separators; raise EConvertError.
TDateTime StrToDate(const AnsiString& S);
TDateTime StrToTime(const AnsiString& S);
TDateTime StrToDateTime(const AnsiString& S);

// ---------------------------------------------------------------------------
// Files and file names

bool FileExists(const AnsiString& FileName);
bool DirectoryExists(const AnsiString& Directory);
bool DeleteFile(const AnsiString& FileName);
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);
bool ForceDirectories(const AnsiString& Dir);
AnsiString GetCurrentDir();
// Path with its trailing delimiter ("/a/b.txt" -> "/a/").
AnsiString ExtractFilePath(const AnsiString& FileName);
// Path without its trailing delimiter ("/a/b.txt" -> "/a").
AnsiString ExtractFileDir(const AnsiString& FileName);
AnsiString ExtractFileName(const AnsiString& FileName);
// Extension with its dot, or empty ("/a.b/c" -> "").
AnsiString ExtractFileExt(const AnsiString& FileName);
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);
// Absolute, with "." and ".." resolved; the file need not exist.
AnsiString ExpandFileName(const AnsiString& FileName);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& S);
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S);
// File names on Linux compare case-sensitively.
bool SameFileName(const AnsiString& S1, const AnsiString& S2);
// The system's text for an errno value ("No such file or directory").
AnsiString SysErrorMessage(Integer ErrorCode);
