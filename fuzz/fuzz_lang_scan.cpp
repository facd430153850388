// Arbitrary bytes as a Pascal unit for the source converter. The literals
// it finds and the edits of a CONST conversion lie inside the text without
// overlapping, so that applying them keeps every other byte; a string
// expression it evaluates evaluates the same once written out again.
#include "ide/QzxLangScan.h"

#include "rtl/SysUtils.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// Value as a sum of one quoted piece or #nn control character per byte.
AnsiString PascalExpression(const AnsiString& Value) {
    AnsiString text = "''";
    for (const char ch : Value) {
        text += " + ";
        if (static_cast<unsigned char>(ch) < ' ' || ch == 127)
            text += "#" + IntToStr(static_cast<unsigned char>(ch));
        else
            text += ch == '\'' ? AnsiString("''''") : "'" + AnsiString(1, ch) + "'";
    }
    return text;
}

void CheckSpans(const AnsiString& Text, const std::vector<TSpanEdit>& Edits) {
    std::size_t end = 0;
    for (const TSpanEdit& edit : Edits) {
        if (edit.Start < end || edit.Start + edit.Length > Text.size())
            std::abort();
        end = edit.Start + edit.Length;
    }
}

void CheckLiterals(const AnsiString& Text) {
    TScanSettings settings;
    settings.IsExcluded = [](const AnsiString& Value) { return Value == "skip"; };
    const TScanTarget target{"Form1", "TForm1", "Unit1", "zxLang1", true};
    std::vector<TSpanEdit> edits;
    Integer counter = 0;
    TStringList used;
    for (const TFoundLiteral& literal : ScanLiterals(Text, settings, target)) {
        if (literal.Skipped())
            continue;
        if (Text[literal.Start] != '\'')
            std::abort();
        const AnsiString id = NextStringID(settings.HCPrefix, counter, used);
        edits.push_back({literal.Start, literal.Length, ReplacementText(literal, id, settings)});
    }
    CheckSpans(Text, edits);
    (void)ApplyEdits(Text, edits);
}

void CheckConstants(const AnsiString& Text) {
    const std::vector<TConstSection> sections = ScanConstSections(Text);
    std::vector<std::vector<bool>> convert;
    for (const TConstSection& section : sections) {
        convert.emplace_back();
        for (const TConstDeclaration& declaration : section.Declarations)
            convert.back().push_back(declaration.IsString);
    }
    std::vector<TSpanEdit> edits = ConstantEdits(sections, convert);
    std::stable_sort(edits.begin(), edits.end(),
                     [](const TSpanEdit& A, const TSpanEdit& B) { return A.Start < B.Start; });
    CheckSpans(Text, edits);
    (void)ApplyEdits(Text, edits);
}

void CheckExpression(const AnsiString& Text) {
    AnsiString value;
    if (!EvalStringLiteral(Text, value))
        return;
    AnsiString again;
    if (!EvalStringLiteral(PascalExpression(value), again) || again != value)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const AnsiString text(reinterpret_cast<const char*>(Data), Size);
    CheckLiterals(text);
    CheckConstants(text);
    CheckExpression(text);
    (void)FindMethodBlock(text, "TForm1", "FormCreate");
    (void)UnitUses(text, "QzxComp");
    return 0;
}
