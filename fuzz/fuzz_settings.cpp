// Arbitrary bytes as a settings file. The store reads it, writes it back
// and reads back what it wrote; a colour in it is one or is refused; the
// default fonts read from it have a known character set each and, written
// to the store and read again, come back the same.
#include "editor/Q_deffonts.h"
#include "runtime/QRegistry.h"

#include "rtl/SysUtils.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

const char* const FontsKey = "\\Software\\Talvenko\\TzxLang\\EditorForm";
const char* const EditorKey = "\\Software\\Borland\\TzxLang\\EditorForm";

AnsiString Rendered(const TMemIniFile& Ini) {
    TStringList lines;
    Ini.GetStrings(lines);
    return lines.Text();
}

// The settings of TDefFontsList, kept in a directory of this run in
// memory, where writing a file back costs no disk flush; it goes when the
// run ends.
const AnsiString& SettingsFile() {
    static char directory[] = "/dev/shm/fuzz_settings.XXXXXX";
    static const AnsiString file = [] {
        mkdtemp(directory);
        std::atexit([] { std::filesystem::remove_all(directory); });
        SetProgramPath(AnsiString(directory) + "/program");
        return AnsiString(directory) + "/TDefFontsList.ini";
    }();
    return file;
}

void CheckStoreRewrite(const TObject& Owner) {
    AnsiString first;
    {
        TRegistry store(&Owner);
        store.OpenKey(FontsKey, true);
        (void)store.ReadInteger("FontInfoCount");
        (void)store.ReadBool("FontInfoLang0");
        // The Translation Editor's highlight colour, which it reads so.
        try {
            (void)StringToColor(store.ReadString(EditorKey, "HighlightColor", ""));
        } catch (const EConvertError&) {
        }
        first = Rendered(store);
    }
    TRegistry again(&Owner);
    if (Rendered(again) != first)
        std::abort();
}

void CheckFontsRewrite(TDefFontsList& Fonts) {
    for (Integer index = 0; index < Fonts.Count(); ++index)
        if (Fonts.Items(index)->Charset < 0 || Fonts.Items(index)->Charset >= FontCharSetCount)
            std::abort();
    try {
        Fonts.WriteToRegistry(FontsKey);
    } catch (const EIniFileException&) {
        return;
    }
    TDefFontsList again;
    if (again.Count() != Fonts.Count())
        std::abort();
    for (Integer index = 0; index < Fonts.Count(); ++index) {
        const TDefFontListItem& read = *again.Items(index);
        const TDefFontListItem& written = *Fonts.Items(index);
        if (read.LangName != written.LangName || read.FontName != written.FontName ||
            read.Charset != written.Charset)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    std::ofstream(SettingsFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    auto fonts = std::make_unique<TDefFontsList>();
    CheckStoreRewrite(*fonts);
    CheckFontsRewrite(*fonts);
    return 0;
}
