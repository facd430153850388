#include "designide/PascalSource.h"

#include "rtl/FormText.h"

#include <algorithm>

namespace PascalSource {

namespace {

bool IsIdentStart(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_';
}
bool IsIdentChar(char C) { return IsIdentStart(C) || (C >= '0' && C <= '9'); }

std::size_t SkipTo(const AnsiString& S, std::size_t From, std::string_view Closer) {
    std::size_t at = S.find(Closer, From);
    return at == AnsiString::npos ? S.size() : at + Closer.size();
}

// A string literal with its doubled quotes and #nn characters.
std::size_t SkipString(const AnsiString& S, std::size_t At) {
    while (At < S.size() && (S[At] == '\'' || S[At] == '#')) {
        if (S[At] == '#') {
            for (++At; At < S.size() && (IsIdentChar(S[At]) || S[At] == '$'); ++At) {}
            continue;
        }
        At = S.find('\'', At + 1);
        if (At == AnsiString::npos)
            return S.size();
        ++At;
    }
    return At;
}

bool Is(const TToken& Token, std::string_view Text) {
    return Token.Kind != TTokenKind::Comment && Token.Kind != TTokenKind::String &&
           SameText(Token.Text, AnsiString(Text));
}

// Tokens without comments: the code a parser looks at.
std::vector<TToken> CodeTokens(const AnsiString& Source) {
    std::vector<TToken> tokens = Tokenize(Source);
    std::erase_if(tokens, [](const TToken& T) { return T.Kind == TTokenKind::Comment; });
    return tokens;
}

std::size_t LineStart(const AnsiString& S, std::size_t At) {
    std::size_t newline = At == 0 ? AnsiString::npos : S.rfind('\n', At - 1);
    return newline == AnsiString::npos ? 0 : newline + 1;
}
std::size_t NextLineStart(const AnsiString& S, std::size_t At) {
    std::size_t newline = S.find('\n', At);
    return newline == AnsiString::npos ? S.size() : newline + 1;
}
AnsiString InsertLine(const AnsiString& S, std::size_t At, const AnsiString& Line) {
    AnsiString result = S;
    AnsiString text = Line + "\n";
    if (At == S.size() && !S.empty() && S.back() != '\n')
        text = "\n" + Line;
    result.insert(At, text);
    return result;
}

struct TClassParts {
    // Index of the class's ')' token, of the first token after the
    // published part and of the class's "end".
    std::size_t Open;
    std::size_t PublishedEnd;
    std::size_t End;
};

std::optional<TClassParts> FindClassParts(const std::vector<TToken>& T, const AnsiString& ClassName) {
    for (std::size_t i = 0; i + 5 < T.size(); ++i) {
        if (!(Is(T[i], ClassName) && Is(T[i + 1], "=") && Is(T[i + 2], "class") && Is(T[i + 3], "(")))
            continue;
        std::size_t close = i + 4;
        while (close < T.size() && !Is(T[close], ")"))
            ++close;
        TClassParts parts{close, 0, 0};
        for (std::size_t j = close + 1; j < T.size(); ++j) {
            bool section = Is(T[j], "private") || Is(T[j], "protected") || Is(T[j], "public") ||
                           Is(T[j], "published");
            if (!parts.PublishedEnd && (section || Is(T[j], "end")))
                parts.PublishedEnd = j;
            if (Is(T[j], "end")) {
                parts.End = j;
                return parts;
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

TClassParts ClassParts(const std::vector<TToken>& T, const AnsiString& ClassName) {
    auto parts = FindClassParts(T, ClassName);
    if (!parts)
        throw EParserError("The unit declares no class " + ClassName);
    return *parts;
}

// The index of the field's name token in the published part, or npos.
std::size_t FindField(const std::vector<TToken>& T, const TClassParts& Parts, const AnsiString& Name) {
    for (std::size_t j = Parts.Open + 1; j + 1 < Parts.PublishedEnd; ++j)
        if (Is(T[j], Name) && Is(T[j + 1], ":") && (j == Parts.Open + 1 || Is(T[j - 1], ";")))
            return j;
    return AnsiString::npos;
}

// The uses clause's tokens: the index of "uses" and of its ";".
std::optional<std::pair<std::size_t, std::size_t>> FindUses(const std::vector<TToken>& T) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < T.size(); ++i)
        if (Is(T[i], "interface")) {
            from = i + 1;
            break;
        }
    for (std::size_t i = from; i < T.size(); ++i) {
        if (Is(T[i], "implementation") || Is(T[i], "type") || Is(T[i], "begin"))
            return std::nullopt;
        if (Is(T[i], "uses")) {
            std::size_t end = i + 1;
            while (end < T.size() && !Is(T[end], ";"))
                ++end;
            if (end == T.size())
                return std::nullopt;
            return std::make_pair(i, end);
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> FindMethodBody(const std::vector<TToken>& T, const AnsiString& ClassName,
                                          const AnsiString& MethodName) {
    for (std::size_t i = 0; i + 3 < T.size(); ++i)
        if ((Is(T[i], "procedure") || Is(T[i], "function")) && Is(T[i + 1], ClassName) &&
            Is(T[i + 2], ".") && Is(T[i + 3], MethodName))
            return i;
    return std::nullopt;
}

} // namespace

std::vector<TToken> Tokenize(const AnsiString& S) {
    std::vector<TToken> tokens;
    for (std::size_t at = 0; at < S.size();) {
        char c = S[at];
        std::size_t begin = at;
        TTokenKind kind;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
            continue;
        } else if (c == '{') {
            at = SkipTo(S, at + 1, "}"), kind = TTokenKind::Comment;
        } else if (c == '(' && at + 1 < S.size() && S[at + 1] == '*') {
            at = SkipTo(S, at + 2, "*)"), kind = TTokenKind::Comment;
        } else if (c == '/' && at + 1 < S.size() && S[at + 1] == '/') {
            at = S.find('\n', at);
            at = at == AnsiString::npos ? S.size() : at;
            kind = TTokenKind::Comment;
        } else if (c == '\'' || c == '#') {
            at = SkipString(S, at), kind = TTokenKind::String;
        } else if (IsIdentStart(c)) {
            while (at < S.size() && IsIdentChar(S[at]))
                ++at;
            kind = TTokenKind::Identifier;
        } else if ((c >= '0' && c <= '9') || c == '$') {
            for (++at; at < S.size() && (IsIdentChar(S[at]) || S[at] == '.'); ++at) {}
            kind = TTokenKind::Number;
        } else {
            ++at;
            kind = TTokenKind::Symbol;
        }
        tokens.push_back(TToken{kind, S.substr(begin, at - begin), begin, at});
    }
    return tokens;
}

std::optional<TClassDeclaration> FindFormClass(const AnsiString& Source) {
    std::vector<TToken> T = CodeTokens(Source);
    for (std::size_t i = 0; i + 5 < T.size(); ++i)
        if (T[i].Kind == TTokenKind::Identifier && Is(T[i + 1], "=") && Is(T[i + 2], "class") &&
            Is(T[i + 3], "(") && T[i + 4].Kind == TTokenKind::Identifier && Is(T[i + 5], ")"))
            return TClassDeclaration{T[i].Text, T[i + 4].Text};
    return std::nullopt;
}

AnsiString AddField(const AnsiString& Source, const AnsiString& ClassName,
                    const AnsiString& FieldName, const AnsiString& TypeName) {
    std::vector<TToken> T = CodeTokens(Source);
    TClassParts parts = ClassParts(T, ClassName);
    // After the last field, before the first handler of the published part.
    std::size_t at = NextLineStart(Source, T[parts.Open].End);
    for (std::size_t j = parts.Open + 1; j < parts.PublishedEnd; ++j) {
        if (Is(T[j], "procedure") || Is(T[j], "function") || Is(T[j], "property"))
            break;
        if (Is(T[j], ";"))
            at = NextLineStart(Source, T[j].End);
    }
    return InsertLine(Source, at, "    " + FieldName + ": " + TypeName + ";");
}

AnsiString RenameField(const AnsiString& Source, const AnsiString& ClassName,
                       const AnsiString& OldName, const AnsiString& NewName) {
    std::vector<TToken> T = CodeTokens(Source);
    std::size_t field = FindField(T, ClassParts(T, ClassName), OldName);
    if (field == AnsiString::npos)
        return Source;
    AnsiString result = Source;
    result.replace(T[field].Begin, T[field].End - T[field].Begin, NewName);
    return result;
}

AnsiString RemoveField(const AnsiString& Source, const AnsiString& ClassName,
                       const AnsiString& FieldName) {
    std::vector<TToken> T = CodeTokens(Source);
    std::size_t field = FindField(T, ClassParts(T, ClassName), FieldName);
    if (field == AnsiString::npos)
        return Source;
    std::size_t semicolon = field;
    while (semicolon < T.size() && !Is(T[semicolon], ";"))
        ++semicolon;
    std::size_t begin = LineStart(Source, T[field].Begin);
    std::size_t end = NextLineStart(Source, T[semicolon].End);
    // A field that shares its line with other code loses only its own text.
    if (Source.find_first_not_of(" \t", begin) != T[field].Begin ||
        Source.find_first_not_of(" \t\r", T[semicolon].End) < end - 1) {
        begin = T[field].Begin;
        end = T[semicolon].End;
    }
    AnsiString result = Source;
    result.erase(begin, end - begin);
    return result;
}

bool UsesUnit(const AnsiString& Source, const AnsiString& UnitName) {
    std::vector<TToken> T = CodeTokens(Source);
    auto uses = FindUses(T);
    if (!uses)
        return false;
    for (std::size_t i = uses->first + 1; i < uses->second; ++i)
        if (Is(T[i], UnitName) && (Is(T[i - 1], "uses") || Is(T[i - 1], ",")))
            return true;
    return false;
}

AnsiString AddUsedUnit(const AnsiString& Source, const AnsiString& UnitName) {
    if (UsesUnit(Source, UnitName))
        return Source;
    std::vector<TToken> T = CodeTokens(Source);
    AnsiString result = Source;
    if (auto uses = FindUses(T)) {
        result.insert(T[uses->second].Begin, ", " + UnitName);
        return result;
    }
    for (const TToken& token : T)
        if (Is(token, "interface"))
            return InsertLine(Source, NextLineStart(Source, token.End),
                              "\nuses\n  " + UnitName + ";");
    throw EParserError("The unit has no interface section");
}

AnsiString MethodHeader(const AnsiString& ClassName, const AnsiString& MethodName,
                        const AnsiString& Params) {
    AnsiString header = "procedure " + ClassName + "." + MethodName;
    if (!Params.empty())
        header += "(" + Params + ")";
    return header + ";";
}

bool MethodExists(const AnsiString& Source, const AnsiString& ClassName,
                  const AnsiString& MethodName) {
    return FindMethodBody(CodeTokens(Source), ClassName, MethodName).has_value();
}

AnsiString AddMethod(const AnsiString& Source, const AnsiString& ClassName,
                     const AnsiString& MethodName, const AnsiString& Params) {
    std::vector<TToken> T = CodeTokens(Source);
    TClassParts parts = ClassParts(T, ClassName);
    std::size_t finalEnd = AnsiString::npos;
    for (std::size_t i = T.size(); i-- > 1;)
        if (Is(T[i], ".") && Is(T[i - 1], "end")) {
            finalEnd = i - 1;
            break;
        }
    if (finalEnd == AnsiString::npos)
        throw EParserError("The unit has no final end.");
    AnsiString declaration = "    procedure " + MethodName;
    if (!Params.empty())
        declaration += "(" + Params + ")";
    declaration += ";";
    AnsiString body = MethodHeader(ClassName, MethodName, Params) + "\nbegin\n\nend;\n";
    // The body first: it lies behind the declaration, whose insertion would
    // move it.
    AnsiString result = InsertLine(Source, LineStart(Source, T[finalEnd].Begin), body);
    return InsertLine(result, LineStart(result, T[parts.PublishedEnd].Begin), declaration);
}

Integer MethodLine(const AnsiString& Source, const AnsiString& ClassName,
                   const AnsiString& MethodName) {
    std::vector<TToken> T = CodeTokens(Source);
    auto body = FindMethodBody(T, ClassName, MethodName);
    if (!body)
        return 0;
    return static_cast<Integer>(std::count(Source.begin(), Source.begin() + T[*body].Begin, '\n')) + 1;
}

AnsiString ProgramName(const AnsiString& Source) {
    std::vector<TToken> T = CodeTokens(Source);
    for (std::size_t i = 0; i + 1 < T.size(); ++i)
        if (Is(T[i], "program") || Is(T[i], "library"))
            return T[i + 1].Text;
    return AnsiString();
}

namespace {

struct TEntrySpan {
    TProjectUnit Unit;
    std::size_t Begin;
    std::size_t End;
};

AnsiString Unquote(const AnsiString& Literal) {
    AnsiString inner = Literal.size() >= 2 ? Literal.substr(1, Literal.size() - 2) : AnsiString();
    return StringReplace(inner, "''", "'", TReplaceFlags{rfReplaceAll});
}

// "{Form1}" or "{DataModule1: TDataModule}".
void ReadFormComment(const AnsiString& Comment, TProjectUnit& Unit) {
    AnsiString inner = Trim(Comment.substr(1, Comment.size() - 2));
    std::size_t colon = inner.find(':');
    Unit.FormName = Trim(inner.substr(0, colon));
    if (colon != AnsiString::npos)
        Unit.FormBase = Trim(inner.substr(colon + 1));
}

std::vector<TEntrySpan> ProjectEntries(const AnsiString& Source, std::size_t& Semicolon) {
    std::vector<TToken> T = Tokenize(Source);
    std::vector<TEntrySpan> entries;
    std::size_t i = 0;
    while (i < T.size() && !Is(T[i], "uses"))
        ++i;
    if (i == T.size())
        throw EParserError("The project has no uses clause");
    for (++i; i < T.size() && !Is(T[i], ";"); ++i) {
        if (T[i].Kind != TTokenKind::Identifier)
            continue;
        TEntrySpan entry{TProjectUnit{T[i].Text, {}, {}, {}}, T[i].Begin, T[i].End};
        if (i + 2 < T.size() && Is(T[i + 1], "in") && T[i + 2].Kind == TTokenKind::String) {
            entry.Unit.FileName = Unquote(T[i + 2].Text);
            entry.End = T[i + 2].End;
            i += 2;
            if (i + 1 < T.size() && T[i + 1].Kind == TTokenKind::Comment && T[i + 1].Text[0] == '{') {
                ReadFormComment(T[i + 1].Text, entry.Unit);
                entry.End = T[i + 1].End;
                ++i;
            }
        }
        entries.push_back(entry);
    }
    if (i == T.size())
        throw EParserError("The project's uses clause has no end");
    Semicolon = T[i].Begin;
    return entries;
}

} // namespace

std::vector<TProjectUnit> ProjectUnits(const AnsiString& Source, bool FilesOnly) {
    std::size_t semicolon;
    std::vector<TProjectUnit> units;
    for (const TEntrySpan& entry : ProjectEntries(Source, semicolon))
        if (!FilesOnly || !entry.Unit.FileName.empty())
            units.push_back(entry.Unit);
    return units;
}

AnsiString AddProjectUnit(const AnsiString& Source, const TProjectUnit& Unit) {
    std::size_t semicolon;
    std::vector<TEntrySpan> entries = ProjectEntries(Source, semicolon);
    AnsiString text = Unit.UnitName;
    if (!Unit.FileName.empty())
        text += " in '" + StringReplace(Unit.FileName, "'", "''", TReplaceFlags{rfReplaceAll}) + "'";
    if (!Unit.FormName.empty())
        text += " {" + Unit.FormName + (Unit.FormBase.empty() ? "" : ": " + Unit.FormBase) + "}";
    AnsiString result = Source;
    result.insert(entries.empty() ? semicolon : entries.back().End,
                  entries.empty() ? "\n  " + text : ",\n  " + text);
    return result;
}

AnsiString RemoveProjectUnit(const AnsiString& Source, const AnsiString& UnitName) {
    std::size_t semicolon;
    std::vector<TEntrySpan> entries = ProjectEntries(Source, semicolon);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (!SameText(entries[k].Unit.UnitName, UnitName))
            continue;
        // With the separator before it (after it for the first entry).
        std::size_t begin = k > 0 ? entries[k - 1].End : entries[k].Begin;
        std::size_t end = k > 0 ? entries[k].End
                                : (entries.size() > 1 ? entries[1].Begin : entries[k].End);
        AnsiString result = Source;
        result.erase(begin, end - begin);
        return result;
    }
    return Source;
}

} // namespace PascalSource
