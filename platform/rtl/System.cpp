#include "rtl/System.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

AnsiString StringOfChar(char Ch, Integer Count) {
    return Count > 0 ? AnsiString(static_cast<std::size_t>(Count), Ch) : AnsiString();
}

void* AllocMem(Cardinal Size) {
    void* block = std::calloc(Size == 0 ? 1 : Size, 1);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void FreeMem(void* P) {
    std::free(P);
}

namespace {

AnsiString& ProgramPath() {
    static AnsiString path;
    return path;
}

AnsiString ExecutablePath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? AnsiString() : path.string();
}

// Argument Index of the command line, whose arguments the system keeps
// NUL-terminated one after another.
AnsiString CommandLineArgument(Integer Index) {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const AnsiString line{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::size_t start = 0;
    for (Integer argument = 0; start < line.size(); ++argument) {
        std::size_t end = line.find('\0', start);
        if (end == AnsiString::npos)
            end = line.size();
        if (argument == Index)
            return line.substr(start, end - start);
        start = end + 1;
    }
    return AnsiString();
}

} // namespace

AnsiString ParamStr(Integer Index) {
    if (Index < 0)
        return AnsiString();
    if (Index > 0)
        return CommandLineArgument(Index);
    return ProgramPath().empty() ? ExecutablePath() : ProgramPath();
}

void SetProgramPath(const AnsiString& Path) {
    ProgramPath() = Path;
}

namespace {

constexpr char32_t kInvalidByteBase = 0xDC00;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one well-formed UTF-8 sequence at S[at]; returns its length, or 0
// when the bytes there are not a valid, shortest-form encoding.
std::size_t DecodeSequence(std::string_view S, std::size_t at, char32_t& code) {
    auto lead = static_cast<unsigned char>(S[at]);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > S.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        auto next = static_cast<unsigned char>(S[at + i]);
        if (!IsContinuation(next))
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void AppendUTF8(AnsiString& out, char32_t code) {
    if (code >= kInvalidByteBase + 0x80 && code <= kInvalidByteBase + 0xFF) {
        out += static_cast<char>(code - kInvalidByteBase);
    } else if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::u32string UTF8ToCodePoints(std::string_view S) {
    std::u32string result;
    result.reserve(S.size());
    for (std::size_t at = 0; at < S.size();) {
        char32_t code;
        std::size_t length = DecodeSequence(S, at, code);
        if (length == 0) {
            code = kInvalidByteBase + static_cast<unsigned char>(S[at]);
            length = 1;
        }
        result += code;
        at += length;
    }
    return result;
}

AnsiString CodePointsToUTF8(std::u32string_view S) {
    AnsiString result;
    result.reserve(S.size());
    for (char32_t code : S)
        AppendUTF8(result, code);
    return result;
}

WideString UTF8Decode(std::string_view S) {
    WideString result;
    result.reserve(S.size());
    for (char32_t code : UTF8ToCodePoints(S)) {
        if (code >= 0x10000) {
            code -= 0x10000;
            result += static_cast<char16_t>(0xD800 + (code >> 10));
            result += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            result += static_cast<char16_t>(code);
        }
    }
    return result;
}

AnsiString UTF8Encode(std::u16string_view S) {
    std::u32string codes;
    codes.reserve(S.size());
    for (std::size_t i = 0; i < S.size(); ++i) {
        char32_t unit = S[i];
        bool highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
        if (highSurrogate && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] <= 0xDFFF) {
            codes += 0x10000 + ((unit - 0xD800) << 10) + (S[i + 1] - 0xDC00);
            ++i;
        } else {
            codes += unit;
        }
    }
    return CodePointsToUTF8(codes);
}

TClass TObject::StaticClass() {
    static const TClassInfo info{"TObject", nullptr, nullptr};
    return &info;
}

AnsiString TObject::ClassName() const { return ClassType()->Name; }

bool TObject::InheritsFrom(TClass Ancestor) const { return ClassInheritsFrom(ClassType(), Ancestor); }

bool ClassInheritsFrom(TClass Class, TClass Ancestor) {
    for (; Class; Class = Class->Parent)
        if (Class == Ancestor)
            return true;
    return false;
}
