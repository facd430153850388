// Arbitrary bytes as the text of an ini file, and as entries written into
// it. Whatever the engine reads it renders so that reading the rendering
// gives the same rendering again; an entry it accepts reads back exactly,
// one it refuses (EIniFileException) changes nothing.
#include "runtime/DOriDaz.h"

#include <cstdint>
#include <cstdlib>

namespace {

AnsiString Rendered(const TMemIniFile& Ini) {
    TStringList lines;
    Ini.GetStrings(lines);
    return lines.Text();
}

void LoadText(TMemIniFile& Ini, const AnsiString& Text) {
    TStringList lines;
    lines.SetText(Text);
    Ini.SetStrings(lines);
}

// The next piece of Rest up to a NUL byte, which separates the pieces.
AnsiString NextPiece(std::string_view& Rest) {
    const auto end = Rest.find('\0');
    AnsiString piece(Rest.substr(0, end));
    Rest.remove_prefix(end == std::string_view::npos ? Rest.size() : end + 1);
    return piece;
}

void CheckWrite(TMemIniFile& Ini, const AnsiString& Section, const AnsiString& Key,
                const AnsiString& Value) {
    const AnsiString before = Rendered(Ini);
    try {
        Ini.WriteString(Section, Key, Value);
    } catch (const EIniFileException&) {
        if (Rendered(Ini) != before)
            std::abort();
        return;
    }
    TMemIniFile reread("");
    LoadText(reread, Rendered(Ini));
    if (reread.ReadString(Section, Key, Value + "?") != Value)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    std::string_view input(reinterpret_cast<const char*>(Data), Size);
    TMemIniFile ini("");
    LoadText(ini, NextPiece(input));
    const AnsiString once = Rendered(ini);
    TMemIniFile again("");
    LoadText(again, once);
    if (Rendered(again) != once)
        std::abort();

    while (!input.empty()) {
        const AnsiString section = NextPiece(input);
        const AnsiString key = NextPiece(input);
        CheckWrite(ini, section, key, NextPiece(input));
    }
    (void)ini.ReadInteger("S", "k", 0);
    (void)ini.ReadFloat("S", "k", 0);
    (void)ini.ReadDateTime("S", "k", 0);
    return 0;
}
