// The form-file property "TranslationData": the component's translation
// lists inside the form file of its owner, and the escape that lets any line
// travel in a line-based store.
#include "runtime/DOriDaz.h"
#include "runtime/QzxComp_Engine.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char EscapeChar = '\x19';
constexpr char LineFeedCode = '\x1A';
constexpr char CarriageReturnCode = 'r';
constexpr char GuardCode = '-';
const AnsiString OldLineBreak{EscapeChar, LineFeedCode};
// The bytes of a line that only the escape lets through.
constexpr char EscapedChars[] = {'\r', EscapeChar, '\0'};
const char* const LineEnd = "\r\n";
// The first line of content written with the escape. Content without it
// starts with a kind header and reads the way it always has.
const char* const EscapedContentMark = "EscapedLines";

AnsiString KindHeader(TStringsType Kind) {
    return GetEnumName(TypeInfoOf(Kind), Kind);
}

bool StartsLikeIniMarkup(const AnsiString& Line) {
    return !Line.empty() && (Line.front() == ';' || Line.front() == '[');
}

} // namespace

bool IsKindHeader(const AnsiString& Line, TStringsType& Kind) {
    static const std::vector<AnsiString> headers = [] {
        std::vector<AnsiString> names;
        for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
            names.push_back(KindHeader(static_cast<TStringsType>(kind)));
        return names;
    }();
    // Every line of the data is asked: an ASCII line of another length is
    // none, whereas folding beyond ASCII may change the length.
    const bool ascii = std::all_of(Line.begin(), Line.end(),
                                   [](char C) { return static_cast<unsigned char>(C) < 0x80; });
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        if ((!ascii || Line.size() == headers[static_cast<std::size_t>(kind)].size()) &&
            AnsiSameText(Line, headers[static_cast<std::size_t>(kind)])) {
            Kind = static_cast<TStringsType>(kind);
            return true;
        }
    return false;
}

bool TranslationLineNeedsEscape(const AnsiString& Line) {
    TStringsType kind;
    return HoldsAnyOf(Line, EscapedChars) || StartsLikeIniMarkup(Line) || IsKindHeader(Line, kind);
}

AnsiString EscapeTranslationLine(const AnsiString& Line) {
    AnsiString escaped;
    escaped.reserve(Line.size() + 2);
    TStringsType kind;
    if (StartsLikeIniMarkup(Line) || IsKindHeader(Line, kind))
        escaped += {EscapeChar, GuardCode};
    for (char ch : Line)
        switch (ch) {
        case '\n':
            escaped += {EscapeChar, LineFeedCode};
            break;
        case '\r':
            escaped += {EscapeChar, CarriageReturnCode};
            break;
        case EscapeChar:
            escaped += {EscapeChar, EscapeChar};
            break;
        default:
            escaped += ch;
        }
    return escaped;
}

AnsiString UnescapeTranslationLine(const AnsiString& Line) {
    AnsiString line;
    line.reserve(Line.size());
    for (std::size_t index = 0; index < Line.size(); ++index) {
        char code = index + 1 < Line.size() ? Line[index + 1] : '\0';
        if (Line[index] != EscapeChar) {
            line += Line[index];
            continue;
        }
        switch (code) {
        case LineFeedCode:
            line += '\n';
            break;
        case CarriageReturnCode:
            line += '\r';
            break;
        case EscapeChar:
            line += EscapeChar;
            break;
        case GuardCode:
            break;
        default:
            line += EscapeChar;
            continue;
        }
        ++index;
    }
    return line;
}

// ---------------------------------------------------------------------------
// The property

void TzxCustomLang::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    bool hasData = true;
    if (TPersistent* ancestor = Filer->Ancestor()) {
        auto* ancestorLang = dynamic_cast<TzxCustomLang*>(ancestor);
        hasData = !UseInheritedData &&
                  (!ancestorLang || TEngine::TranslationDataDiffers(*this, *ancestorLang));
    }
    Filer->DefineBinaryProperty(
        "TranslationData", [this](TStream& Stream) { ReadOurStrProps(Stream); },
        [this](TStream& Stream) { WriteOurStrProps(Stream); }, hasData);
}

// Whether a list that both components keep holds other text (case-sensitive).
bool TzxCustomLang::TEngine::TranslationDataDiffers(const TzxCustomLang& L,
                                                    const TzxCustomLang& Ancestor) {
    bool differs = false;
    L.ForEachKeptList([&](TStringsType Kind, TStrings& List) {
        if (TStrings* ancestorList = Ancestor.GetPropListByType(Kind))
            differs = differs || AnsiCompareStr(List.Text(), ancestorList->Text()) != 0;
    });
    return differs;
}

void TzxCustomLang::WriteOurStrProps(TStream& Stream) const {
    bool escaped = false;
    ForEachKeptList([&](TStringsType, TStrings& List) {
        for (Integer index = 0; index < List.Count() && !escaped; ++index)
            escaped = TranslationLineNeedsEscape(List.Get(index));
    });
    AnsiString content = escaped ? AnsiString(EscapedContentMark) + LineEnd : AnsiString();
    ForEachKeptList([&](TStringsType Kind, TStrings& List) {
        content += KindHeader(Kind) + LineEnd;
        for (Integer index = 0; index < List.Count(); ++index) {
            const AnsiString line = List.Get(index);
            content += (escaped ? EscapeTranslationLine(line)
                                : StringReplace(line, "\n", OldLineBreak, {rfReplaceAll})) +
                       LineEnd;
        }
    });
    Stream.WriteBuffer(content.data(), static_cast<Integer>(content.size()));
}

// Lists of kinds the content does not mention keep their lines; lines of a
// kind the class keeps no list for are skipped.
void TzxCustomLang::ReadOurStrProps(TStream& Stream) {
    AnsiString content(static_cast<std::size_t>(Stream.Size() - Stream.Position()), '\0');
    Stream.ReadBuffer(content.data(), static_cast<Integer>(content.size()));
    bool escaped = false;
    TStrings* target = nullptr;
    ForEachTextLine(content, [&](std::string_view Text, Integer Number) {
        if (Number == 1 && Text == EscapedContentMark) {
            escaped = true;
            return;
        }
        const AnsiString line(Text);
        TStringsType kind;
        if (IsKindHeader(line, kind)) {
            target = GetPropListByType(kind);
            if (target)
                target->Clear();
        } else if (target) {
            target->Add(escaped ? UnescapeTranslationLine(line)
                                : StringReplace(line, OldLineBreak, "\n", {rfReplaceAll}));
        }
    });
}
