#include "ide/QzxLangScan.h"

#include "ide/QzxPasLexer.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

namespace {

const char* const IgnoreMarker = "{TZX:IGNORE}";
const char* const IgnoreOn = "{TZX:IGNORE ON}";
const char* const IgnoreOff = "{TZX:IGNORE OFF}";
const char* const IgnoreNext = "{TZX:IGNORE NEXT}";
const char* const TranslateNext = "{TZX:TRANSLATE NEXT}";
constexpr std::size_t DisplayLength = 15;

constexpr std::array<const char*, 4> TextCalls = {"GetText", "GetTextC", "GetTextOrDefault",
                                                  "GetTextOrDefaultC"};

bool Contains(const AnsiString& Text, const AnsiString& Part) {
    return Text.find(Part) != AnsiString::npos;
}

// The lines of Text, each with its line end.
std::vector<AnsiString> SplitKeepingEnds(const AnsiString& Text) {
    std::vector<AnsiString> lines;
    std::size_t start = 0;
    while (start < Text.size()) {
        const std::size_t feed = Text.find('\n', start);
        const std::size_t end = feed == AnsiString::npos ? Text.size() : feed + 1;
        lines.push_back(Text.substr(start, end - start));
        start = end;
    }
    return lines;
}

} // namespace

std::size_t CharacterCount(const AnsiString& Value) {
    return static_cast<std::size_t>(std::count_if(Value.begin(), Value.end(), [](char Ch) {
        return (static_cast<unsigned char>(Ch) & 0xC0) != 0x80;
    }));
}

namespace {

// Which lines after the start line the markers leave to be scanned. An
// IGNORE NEXT inside an IGNORE ON block skips a line without ending the
// block.
class TMarkerState {
public:
    // The nearest block marker above the start line decides how it starts.
    TMarkerState(const std::vector<AnsiString>& Lines, std::size_t StartLine) {
        for (std::size_t index = StartLine + 1; index-- > 0;) {
            const AnsiString marker = Marker(Lines[index]);
            if (marker == IgnoreOn || marker == IgnoreOff) {
                FIgnoring = marker == IgnoreOn;
                break;
            }
        }
    }

    // Whether Line is scanned, moving the state past it.
    bool Scans(const AnsiString& Line) {
        const AnsiString marker = Marker(Line);
        if (marker == IgnoreOff) {
            FIgnoring = FIgnoreNext = FTranslateNext = false;
            return false;
        }
        if (std::exchange(FIgnoreNext, false))
            return false;
        if (marker == IgnoreNext) {
            FIgnoreNext = true;
            return false;
        }
        if (FIgnoring) {
            if (marker == TranslateNext)
                FTranslateNext = true;
            else
                return std::exchange(FTranslateNext, false);
            return false;
        }
        FIgnoring = marker == IgnoreOn;
        return !FIgnoring;
    }

private:
    static AnsiString Marker(const AnsiString& Line) { return AnsiUpperCase(Trim(Line)); }

    bool FIgnoring = false;
    bool FIgnoreNext = false;
    bool FTranslateNext = false;
};

// Walks the tokens keeping what a literal's place needs: whether it stands
// in statements (not declarations, not assembler), and in which routine.
class TPlaces {
public:
    enum TBlock { None, Routine, MainBlock };

    TPlaces(const AnsiString& Text, const std::vector<TPasToken>& Tokens)
        : FText(Text), FTokens(Tokens) {}

    // Moves past token Index; call for every token in order.
    void Step(std::size_t Index) {
        const TPasToken& token = FTokens[Index];
        if (token.Kind != TPasTokenKind::Keyword && !IsDirectiveWord(token))
            return;
        if (FDepth == 0)
            StepDeclarations(Index);
        else
            StepStatements(token);
    }

    bool InStatements() const { return FDepth > 0 && !FAssembler; }
    // In no routine, statement block or type body: where a unit's own
    // constants and variables are declared.
    bool AtUnitLevel() const { return FDepth == 0 && FTypeDepth == 0 && FRoutines.empty(); }
    bool InInterface() const { return FInInterface; }
    // The routines whose block is still to come or open.
    std::size_t RoutineDepth() const { return FRoutines.size(); }
    bool InBlock() const { return FDepth > 0; }
    TBlock Block() const { return FBlock; }
    AnsiString RoutineClass() const { return FRoutines.empty() ? AnsiString() : FRoutines.back(); }

private:
    bool Is(const TPasToken& Token, const char* Word) const { return IsKeyword(FText, Token, Word); }
    bool IsDirectiveWord(const TPasToken& Token) const {
        const AnsiString word = LowerCase(TokenText(FText, Token));
        return Token.Kind == TPasTokenKind::Identifier && (word == "forward" || word == "external");
    }
    bool IsRoutineWord(const TPasToken& Token) const {
        return Is(Token, "procedure") || Is(Token, "function") || Is(Token, "constructor") ||
               Is(Token, "destructor");
    }
    AnsiString TextAt(std::size_t Index) const {
        return Index < FTokens.size() ? TokenText(FText, FTokens[Index]) : AnsiString();
    }

    void StepDeclarations(std::size_t Index) {
        const TPasToken& token = FTokens[Index];
        if (OpensTypeBody(Index))
            ++FTypeDepth;
        else if (Is(token, "end") && FTypeDepth > 0)
            --FTypeDepth;
        else if (FTypeDepth > 0)
            return;
        else if (IsRoutineWord(token) && !FInInterface)
            FRoutines.push_back(QualifierAfter(Index));
        else if (Is(token, "interface"))
            FInInterface = true;
        else if (Is(token, "begin") || Is(token, "asm"))
            OpenBlock(FRoutines.empty() ? MainBlock : Routine, Is(token, "asm"));
        else if (Is(token, "initialization") || Is(token, "finalization"))
            OpenBlock(MainBlock, false);
        else if (Is(token, "implementation")) {
            FRoutines.clear();
            FInInterface = false;
        }
        else if (IsDirectiveWord(token) && !FRoutines.empty())
            FRoutines.pop_back();
    }

    // class, object, record or interface that a declaration's end closes.
    bool OpensTypeBody(std::size_t Index) const {
        const TPasToken& token = FTokens[Index];
        if (Is(token, "record"))
            return true;
        if (!Is(token, "class") && !Is(token, "object") && !Is(token, "interface") &&
            !Is(token, "dispinterface"))
            return false;
        if (Is(token, "interface") && (Index == 0 || TextAt(Index - 1) != "="))
            return false;
        const AnsiString next = LowerCase(TextAt(Index + 1));
        return next != ";" && next != "of" && next != "procedure" && next != "function" &&
               next != "var" && next != "property" && next != "constructor" &&
               next != "destructor" && next != "operator";
    }

    void OpenBlock(TBlock Kind, bool Assembler) {
        FDepth = 1;
        FBlock = Kind;
        FAssembler = Assembler;
    }

    void StepStatements(const TPasToken& Token) {
        if (Is(Token, "begin") || Is(Token, "try") || Is(Token, "case") || Is(Token, "asm")) {
            ++FDepth;
            FAssembler = FAssembler || Is(Token, "asm");
        } else if (Is(Token, "end") && --FDepth <= 1) {
            FAssembler = false;
            if (FDepth == 0)
                CloseBlock();
        } else if (Is(Token, "finalization") && FDepth == 1) {
            FBlock = MainBlock;
        }
    }

    void CloseBlock() {
        if (FBlock == Routine && !FRoutines.empty())
            FRoutines.pop_back();
        FBlock = None;
    }

    // "T" of "procedure T.Name"; empty for a plain routine.
    AnsiString QualifierAfter(std::size_t Index) const {
        if (Index + 3 < FTokens.size() && FTokens[Index + 1].Kind == TPasTokenKind::Identifier &&
            TextAt(Index + 2) == ".")
            return TextAt(Index + 1);
        return AnsiString();
    }

    const AnsiString& FText;
    const std::vector<TPasToken>& FTokens;
    Integer FDepth = 0;
    Integer FTypeDepth = 0;
    bool FAssembler = false;
    bool FInInterface = false;
    TBlock FBlock = None;
    // The class of each routine whose header is read and whose block has
    // not ended, innermost last.
    std::vector<AnsiString> FRoutines;
};

class TLiteralScan {
public:
    TLiteralScan(const AnsiString& Text, const TScanSettings& Settings, const TScanTarget& Target)
        : FText(Text), FSettings(Settings), FTarget(Target), FTokens(TokenizePascal(Text)),
          FLines(SplitKeepingEnds(Text)) {}

    std::vector<TFoundLiteral> Run() {
        const std::size_t begin = FirstBegin();
        if (begin == FTokens.size())
            return {};
        FFormReachable = DeclaresFormVariable() || UnitUses(FText, FTarget.FormUnitName);
        const std::size_t startLine = FTokens[begin].Line;
        TMarkerState markers(FLines, startLine);
        std::vector<bool> scanned(FLines.size(), false);
        scanned[startLine] = true;
        for (std::size_t line = startLine + 1; line < FLines.size(); ++line)
            scanned[line] = markers.Scans(FLines[line]);
        TPlaces places(FText, FTokens);
        std::vector<TFoundLiteral> found;
        for (std::size_t index = 0; index < FTokens.size(); ++index) {
            places.Step(index);
            const TPasToken& token = FTokens[index];
            if (index > begin && token.Kind == TPasTokenKind::QuotedString &&
                scanned[token.Line] && places.InStatements() && Qualifies(index))
                found.push_back(Found(index, places));
        }
        return found;
    }

private:
    std::size_t FirstBegin() const {
        std::size_t index = 0;
        while (index < FTokens.size() && !IsKeyword(FText, FTokens[index], "begin"))
            ++index;
        return index;
    }

    bool IdentifierIs(std::size_t Index, const AnsiString& Name) const {
        return Index < FTokens.size() && FTokens[Index].Kind == TPasTokenKind::Identifier &&
               AnsiSameText(TokenText(FText, FTokens[Index]), Name);
    }
    bool SymbolIs(std::size_t Index, const char* Symbol) const {
        return Index < FTokens.size() && FTokens[Index].Kind == TPasTokenKind::Symbol &&
               TokenText(FText, FTokens[Index]) == Symbol;
    }

    // "FormName: TFormClass" somewhere in the unit.
    bool DeclaresFormVariable() const {
        for (std::size_t index = 0; index + 2 < FTokens.size(); ++index)
            if (IdentifierIs(index, FTarget.FormName) && SymbolIs(index + 1, ":") &&
                IdentifierIs(index + 2, FTarget.FormClassName))
                return true;
        return false;
    }

    // The rest of the line from the token on passes the line test, the
    // literal is long enough, not excluded and not already the argument of
    // a text call.
    bool Qualifies(std::size_t Index) {
        const TPasToken& token = FTokens[Index];
        const AnsiString& line = FLines[token.Line];
        if (token.Line != FRestLine) {
            FRestLine = token.Line;
            FRestFrom = LineStart(token.Line);
            FLineStopped = false;
        }
        FLineStopped = FLineStopped ||
                       !FindValidDelimitor(line.substr(FRestFrom - LineStart(token.Line)), false,
                                           FSettings.SkipLines);
        FRestFrom = token.End();
        if (FLineStopped || Contains(AnsiUpperCase(line), IgnoreMarker))
            return false;
        const AnsiString value = QuotedValue(FText, token);
        if (static_cast<Integer>(token.Length - 2) <= FSettings.IgnorableLength ||
            CharacterCount(value) <= 1 || (FSettings.IsExcluded && FSettings.IsExcluded(value)))
            return false;
        return !(Index >= 2 && SymbolIs(Index - 1, "(") && IsTextCall(Index - 2));
    }

    bool IsTextCall(std::size_t Index) const {
        for (const char* name : TextCalls)
            if (IdentifierIs(Index, name))
                return true;
        const AnsiString own = Trim(StringReplace(FSettings.ReplaceMethod, "(", "", {rfReplaceAll}));
        return !own.empty() && IdentifierIs(Index, own);
    }

    std::size_t LineStart(std::size_t Line) const {
        std::size_t start = 0;
        for (std::size_t index = 0; index < Line; ++index)
            start += FLines[index].size();
        return start;
    }

    bool IsControlChar(std::size_t Index) const {
        return Index < FTokens.size() && FTokens[Index].Kind == TPasTokenKind::ControlChar;
    }

    TFoundLiteral Found(std::size_t Index, const TPlaces& Places) const {
        const TPasToken& token = FTokens[Index];
        TFoundLiteral literal;
        literal.Start = token.Start;
        literal.Length = token.Length;
        literal.Value = QuotedValue(FText, token);
        literal.Line = FLines[token.Line];
        literal.ControlCharBefore =
            Index > 0 && IsControlChar(Index - 1) && FTokens[Index - 1].End() == token.Start;
        literal.ControlCharAfter = IsControlChar(Index + 1) && FTokens[Index + 1].Start == token.End();
        literal.Prefix = PrefixFor(Places);
        return literal;
    }

    // Inside the form class's methods the component is a field; elsewhere
    // only the form variable reaches it, and the unit's main block runs
    // before any form exists.
    AnsiString PrefixFor(const TPlaces& Places) const {
        if (Places.Block() != TPlaces::Routine)
            return AnsiString();
        const AnsiString qualified = FTarget.FormName + "." + FTarget.ComponentName;
        if (AnsiSameText(Places.RoutineClass(), FTarget.FormClassName))
            return FTarget.AddFormName && FFormReachable ? qualified : FTarget.ComponentName;
        return FFormReachable ? qualified : AnsiString();
    }

    const AnsiString& FText;
    const TScanSettings& FSettings;
    const TScanTarget& FTarget;
    std::vector<TPasToken> FTokens;
    std::vector<AnsiString> FLines;
    bool FFormReachable = false;
    // The line being scanned, where its rest starts after the last
    // literal, and whether that rest stopped passing the line test.
    std::size_t FRestLine = std::size_t(-1);
    std::size_t FRestFrom = 0;
    bool FLineStopped = false;
};

} // namespace

std::vector<TFoundLiteral> ScanLiterals(const AnsiString& Text, const TScanSettings& Settings,
                                        const TScanTarget& Target) {
    return TLiteralScan(Text, Settings, Target).Run();
}

bool FindValidDelimitor(const AnsiString& Line, bool ConstMode, const TStrings* SkipLines) {
    const std::size_t quote = Line.find('\'');
    const std::size_t slashes = Line.find("//");
    if (quote == AnsiString::npos || (slashes != AnsiString::npos && slashes < quote))
        return false;
    const AnsiString upper = AnsiUpperCase(Line);
    if (Contains(upper, IgnoreMarker))
        return false;
    for (Integer index = 0; SkipLines && index < SkipLines->Count(); ++index) {
        const AnsiString phrase = AnsiUpperCase(SkipLines->Get(index));
        if (!phrase.empty() && Contains(upper, phrase))
            return false;
    }
    return !ConstMode || Contains(Line, "=");
}

AnsiString DisplayText(const AnsiString& Value) {
    std::size_t cut = 0;
    for (std::size_t characters = 0; cut < Value.size(); ++cut) {
        if ((static_cast<unsigned char>(Value[cut]) & 0xC0) == 0x80)
            continue;
        if (characters++ == DisplayLength)
            break;
    }
    AnsiString display = Value.substr(0, cut);
    if (cut < Value.size())
        display += "...";
    // A lone quote would leave the quoted text open for the next reader.
    return StringReplace(CommentText(display), "'", "''", {rfReplaceAll});
}

// A comment closer would end the comment early, a line end would split
// it.
AnsiString CommentText(const AnsiString& Value) {
    AnsiString text = Value;
    std::replace_if(text.begin(), text.end(),
                    [](char Ch) { return static_cast<unsigned char>(Ch) < ' '; }, ' ');
    text = StringReplace(text, "*)", "* )", {rfReplaceAll});
    return StringReplace(text, "(*", "( *", {rfReplaceAll});
}

AnsiString ReplacementText(const TFoundLiteral& Literal, const AnsiString& ID,
                           const TScanSettings& Settings) {
    return AnsiString(Literal.ControlCharBefore ? " + " : "") + Literal.Prefix + "." +
           Settings.ReplaceMethod + "'" + ID + "'" + " (* '" + DisplayText(Literal.Value) +
           "' *) )" + (Literal.ControlCharAfter ? " + " : "");
}

AnsiString WithIdentifier(const AnsiString& Replacement, const AnsiString& ID) {
    const std::size_t open = Replacement.find('\'');
    const std::size_t close = open == AnsiString::npos ? open : Replacement.find('\'', open + 1);
    if (close == AnsiString::npos)
        return Replacement;
    return Replacement.substr(0, open + 1) + ID + Replacement.substr(close);
}

AnsiString TypecastToPChar(const AnsiString& Replacement) {
    const AnsiString separator = " + ";
    std::size_t begin = 0;
    std::size_t end = Replacement.size();
    if (Replacement.compare(0, separator.size(), separator) == 0)
        begin = separator.size();
    if (end >= begin + separator.size() &&
        Replacement.compare(end - separator.size(), separator.size(), separator) == 0)
        end -= separator.size();
    else if (end > begin && Replacement[end - 1] == ';')
        --end;
    const AnsiString call = Replacement.substr(begin, end - begin);
    if (call.rfind("PChar(", 0) == 0)
        return Replacement;
    return Replacement.substr(0, begin) + "PChar(" + call + ")" + Replacement.substr(end);
}

bool IsValidStringID(const AnsiString& ID) {
    return !ID.empty() && std::all_of(ID.begin(), ID.end(), [](char Ch) {
        return std::isalnum(static_cast<unsigned char>(Ch)) || Ch == '_';
    });
}

AnsiString NextStringID(const AnsiString& Prefix, Integer& Counter, TStringList& Used) {
    AnsiString id;
    Integer found = 0;
    do
        id = Prefix + IntToStr(++Counter);
    while (Used.Find(id, found));
    Used.Add(id);
    return id;
}

// ---------------------------------------------------------------------------
// CONST mode

bool EvalStringLiteral(const AnsiString& Expression, AnsiString& Value) {
    const std::vector<TPasToken> tokens = TokenizePascal(Expression);
    AnsiString value;
    bool operand = true; // an operand is due, not a "+"
    bool quoted = false;
    std::size_t previousEnd = std::size_t(-1);
    for (const TPasToken& token : tokens) {
        if (token.Kind == TPasTokenKind::Comment)
            continue;
        const bool plus = token.Kind == TPasTokenKind::Symbol && TokenText(Expression, token) == "+";
        // Pieces written together ('a'#13'b') make one operand.
        const bool continues = !plus && !operand && token.Start == previousEnd;
        if (plus == operand && !continues)
            return false;
        previousEnd = token.End();
        if (token.Kind == TPasTokenKind::QuotedString) {
            value += QuotedValue(Expression, token);
            quoted = true;
        } else if (token.Kind == TPasTokenKind::ControlChar) {
            const Integer code = ControlCharCode(Expression, token);
            if (code < 0 || code > 127)
                return false;
            value += static_cast<char>(code);
        } else if (!plus) {
            return false;
        }
        operand = plus;
    }
    if (operand || !quoted)
        return false;
    Value = value;
    return true;
}

namespace {

class TConstScan {
public:
    explicit TConstScan(const AnsiString& Text)
        : FText(Text), FTokens(TokenizePascal(Text)), FLines(SplitKeepingEnds(Text)) {}

    std::vector<TConstSection> Run() {
        TPlaces places(FText, FTokens);
        std::size_t index = 0;
        while (index < FTokens.size() && !IsKeyword(FText, FTokens[index], "begin")) {
            places.Step(index);
            if (IsKeyword(FText, FTokens[index], "const") && places.AtUnitLevel() && FParens == 0)
                index = ReadSection(index, places.InInterface());
            else
                CountParens(index++);
        }
        MarkUsesInDeclarations();
        return std::move(FSections);
    }

private:
    AnsiString Text(std::size_t Index) const {
        return Index < FTokens.size() ? TokenText(FText, FTokens[Index]) : AnsiString();
    }
    void CountParens(std::size_t Index) {
        if (FTokens[Index].Kind != TPasTokenKind::Symbol)
            return;
        FParens += Text(Index) == "(" ? 1 : Text(Index) == ")" ? -1 : 0;
    }

    // The declarations after the keyword at Index; the index after them.
    std::size_t ReadSection(std::size_t Index, bool InInterface) {
        TConstSection section;
        section.KeywordStart = FTokens[Index].Start;
        ++Index;
        while (Index < FTokens.size() && FTokens[Index].Kind == TPasTokenKind::Identifier) {
            const std::size_t semicolon = DeclarationEnd(Index);
            if (semicolon >= FTokens.size())
                break;
            section.Declarations.push_back(Declaration(Index, semicolon, InInterface));
            Index = semicolon + 1;
        }
        if (!section.Declarations.empty())
            FSections.push_back(std::move(section));
        return Index;
    }

    std::size_t DeclarationEnd(std::size_t Index) const {
        Integer parens = 0;
        for (; Index < FTokens.size(); ++Index) {
            const AnsiString text = Text(Index);
            if (FTokens[Index].Kind != TPasTokenKind::Symbol)
                continue;
            if (text == "(" || text == "[")
                ++parens;
            else if (text == ")" || text == "]")
                --parens;
            else if (text == ";" && parens == 0)
                return Index;
        }
        return Index;
    }

    TConstDeclaration Declaration(std::size_t Name, std::size_t Semicolon, bool InInterface) const {
        TConstDeclaration declaration;
        declaration.Name = Text(Name);
        declaration.Start = FTokens[Name].Start;
        declaration.Length = FTokens[Semicolon].End() - declaration.Start;
        declaration.InInterface = InInterface;
        declaration.Line = FLines[FTokens[Name].Line];
        std::size_t equals = Name + 1;
        if (Text(equals) == ":" && IsKeyword(FText, FTokens[equals + 1], "string"))
            equals += 2;
        if (Text(equals) != "=" || equals + 1 >= Semicolon)
            return declaration;
        const std::size_t from = FTokens[equals + 1].Start;
        declaration.IsString = EvalStringLiteral(
            FText.substr(from, FTokens[Semicolon].Start - from), declaration.Value);
        return declaration;
    }

    // A name used outside statements other than where it is declared.
    void MarkUsesInDeclarations() {
        TPlaces places(FText, FTokens);
        std::map<AnsiString, std::size_t> uses;
        for (std::size_t index = 0; index < FTokens.size(); ++index) {
            places.Step(index);
            if (FTokens[index].Kind == TPasTokenKind::Identifier && !places.InStatements())
                ++uses[UpperCase(Text(index))];
        }
        for (TConstSection& section : FSections)
            for (TConstDeclaration& declaration : section.Declarations)
                declaration.UsedInDeclarations = uses[UpperCase(declaration.Name)] > 1;
    }

    const AnsiString& FText;
    std::vector<TPasToken> FTokens;
    std::vector<AnsiString> FLines;
    Integer FParens = 0;
    std::vector<TConstSection> FSections;
};

} // namespace

std::vector<TConstSection> ScanConstSections(const AnsiString& Text) { return TConstScan(Text).Run(); }

std::vector<TSpanEdit> ConstantEdits(const std::vector<TConstSection>& Sections,
                                     const std::vector<std::vector<bool>>& Convert) {
    std::vector<TSpanEdit> edits;
    for (std::size_t sectionIndex = 0; sectionIndex < Sections.size(); ++sectionIndex) {
        const auto& declarations = Sections[sectionIndex].Declarations;
        const auto& convert = Convert[sectionIndex];
        for (std::size_t index = 0; index < declarations.size(); ++index) {
            if (!convert[index])
                continue;
            const TConstDeclaration& declaration = declarations[index];
            if (index == 0)
                edits.push_back({Sections[sectionIndex].KeywordStart, 5, "var"});
            else if (!convert[index - 1])
                edits.push_back({declaration.Start, 0, "var "});
            edits.push_back({declaration.Start, declaration.Length,
                             declaration.Name + ": string; (* " + CommentText(declaration.Value) + " *)"});
            if (index + 1 < declarations.size() && !convert[index + 1])
                edits.push_back({declarations[index + 1].Start, 0, "const "});
        }
    }
    return edits;
}

AnsiString ApplyEdits(const AnsiString& Text, std::vector<TSpanEdit> Edits) {
    std::stable_sort(Edits.begin(), Edits.end(),
                     [](const TSpanEdit& A, const TSpanEdit& B) { return A.Start < B.Start; });
    AnsiString result;
    std::size_t copied = 0;
    for (const TSpanEdit& edit : Edits) {
        result += Text.substr(copied, edit.Start - copied) + edit.Text;
        copied = edit.Start + edit.Length;
    }
    return result + Text.substr(copied);
}

TMethodBlock FindMethodBlock(const AnsiString& Text, const AnsiString& ClassName,
                             const AnsiString& MethodName) {
    const std::vector<TPasToken> tokens = TokenizePascal(Text);
    TPlaces places(Text, tokens);
    TMethodBlock block;
    std::size_t headerDepth = 0;
    bool inHeader = false;
    for (std::size_t index = 0; index < tokens.size(); ++index) {
        const bool wasInBlock = places.InBlock();
        const std::size_t depthBefore = places.RoutineDepth();
        places.Step(index);
        const AnsiString text = TokenText(Text, tokens[index]);
        if (!inHeader && !block.Found && index + 3 < tokens.size() && !wasInBlock &&
            (IsKeyword(Text, tokens[index], "procedure")) &&
            AnsiSameText(TokenText(Text, tokens[index + 1]), ClassName) &&
            TokenText(Text, tokens[index + 2]) == "." &&
            AnsiSameText(TokenText(Text, tokens[index + 3]), MethodName) &&
            places.RoutineDepth() > depthBefore) {
            inHeader = true;
            headerDepth = places.RoutineDepth();
        } else if (inHeader && !block.Found && !wasInBlock && places.InBlock() &&
                   depthBefore == headerDepth && IsKeyword(Text, tokens[index], "begin")) {
            block.Found = true;
            block.AfterBegin = tokens[index].End();
        } else if (block.Found && inHeader) {
            if (wasInBlock && !places.InBlock()) {
                block.EndStart = tokens[index].Start;
                return block;
            }
            block.CallsUpdateStrings =
                block.CallsUpdateStrings || (tokens[index].Kind == TPasTokenKind::Identifier &&
                                             AnsiSameText(text, "UpdateStrings"));
        }
    }
    return TMethodBlock{};
}

bool UnitUses(const AnsiString& Text, const AnsiString& UnitName) {
    const std::vector<TPasToken> tokens = TokenizePascal(Text);
    bool inUses = false;
    for (const TPasToken& token : tokens) {
        const AnsiString text = TokenText(Text, token);
        if (IsKeyword(Text, token, "uses"))
            inUses = true;
        else if (text == ";")
            inUses = false;
        else if (inUses && token.Kind == TPasTokenKind::Identifier && AnsiSameText(text, UnitName))
            return true;
    }
    return false;
}

AnsiString LineEndOf(const AnsiString& Text) {
    return Text.find("\r\n") != AnsiString::npos ? "\r\n" : "\n";
}

// ---------------------------------------------------------------------------
// Calls by identifier

namespace {

bool IsTextCallName(const AnsiString& Source, const TPasToken& Token) {
    return Token.Kind == TPasTokenKind::Identifier &&
           std::any_of(TextCalls.begin(), TextCalls.end(), [&](const char* Name) {
               return AnsiSameText(TokenText(Source, Token), Name);
           });
}

bool IsSymbol(const AnsiString& Source, const std::vector<TPasToken>& Tokens, std::size_t Index,
              const char* Symbol) {
    return Index < Tokens.size() && Tokens[Index].Kind == TPasTokenKind::Symbol &&
           TokenText(Source, Tokens[Index]) == Symbol;
}

// The identifier before the dot that precedes token Index, empty when there
// is none.
AnsiString NameBeforeDot(const AnsiString& Source, const std::vector<TPasToken>& Tokens,
                         std::size_t Index) {
    if (Index < 2 || !IsSymbol(Source, Tokens, Index - 1, ".") ||
        Tokens[Index - 2].Kind != TPasTokenKind::Identifier)
        return AnsiString();
    return TokenText(Source, Tokens[Index - 2]);
}

} // namespace

std::vector<TTextCall> FindTextCalls(const AnsiString& Text) {
    const std::vector<TPasToken> tokens = TokenizePascal(Text);
    std::vector<TTextCall> calls;
    for (std::size_t index = 0; index + 2 < tokens.size(); ++index) {
        const TPasToken& quoted = tokens[index + 2];
        if (!IsTextCallName(Text, tokens[index]) || !IsSymbol(Text, tokens, index + 1, "(") ||
            quoted.Kind != TPasTokenKind::QuotedString)
            continue;
        TTextCall call;
        call.Line = quoted.Line;
        call.IDStart = quoted.Start;
        call.IDLength = quoted.Length;
        call.ID = QuotedValue(Text, quoted);
        call.Component = NameBeforeDot(Text, tokens, index);
        if (!call.Component.empty())
            call.Owner = NameBeforeDot(Text, tokens, index - 2);
        calls.push_back(call);
    }
    return calls;
}

namespace {

// A call without owner (or through Self) reaches the unit's own form only;
// the component part, when given, must name the component.
bool CallsComponent(const TTextCall& Call, const TRenamedComponent& Component) {
    const bool ownForm = Call.Owner.empty() || AnsiSameText(Call.Owner, "Self");
    if (ownForm ? !Component.OwnUnit : !AnsiSameText(Call.Owner, Component.FormName))
        return false;
    return Call.Component.empty() || AnsiSameText(Call.Component, Component.ComponentName);
}

AnsiString Quoted(const AnsiString& Value) { return "'" + StringReplace(Value, "'", "''", {rfReplaceAll}) + "'"; }

} // namespace

std::vector<TRenamedLine> RenamedLines(const AnsiString& Text, const AnsiString& OldID,
                                       const AnsiString& NewID, const TRenamedComponent& Component) {
    std::vector<TRenamedLine> lines;
    std::size_t lineStart = 0;
    std::size_t lineIndex = 0;
    for (const TTextCall& call : FindTextCalls(Text)) {
        if (call.ID != OldID || !CallsComponent(call, Component))
            continue;
        for (; lineIndex < call.Line; ++lineIndex)
            lineStart = Text.find('\n', lineStart) + 1;
        if (lines.empty() || lines.back().Line != call.Line) {
            std::size_t end = Text.find('\n', lineStart);
            end = end == AnsiString::npos ? Text.size() : end;
            if (end > lineStart && Text[end - 1] == '\r')
                --end;
            const AnsiString line = Text.substr(lineStart, end - lineStart);
            lines.push_back({call.Line, lineStart, line.size(), line, line});
        }
        TRenamedLine& renamed = lines.back();
        // Spans of earlier calls in the line changed its length by this much.
        const auto shift = std::ptrdiff_t(renamed.Result.size()) - std::ptrdiff_t(renamed.Text.size());
        renamed.Result.replace(std::size_t(std::ptrdiff_t(call.IDStart - lineStart) + shift),
                               call.IDLength, Quoted(NewID));
    }
    return lines;
}
