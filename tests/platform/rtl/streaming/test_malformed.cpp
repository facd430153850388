// Untrusted input: truncated, corrupted and hostile streams and texts must
// raise the filer's errors, never crash, hang or allocate what the data
// does not hold.
#include "StreamBytes.h"

#include <gtest/gtest.h>

namespace {

struct TBadInput {
    const char* What;
    std::string Content;
    const char* Message;
};

std::string Form(const std::string& Properties) {
    return Bytes({"TPF0", 6, "TForm1", 5, "Form1", Properties, 0x00, 0x00});
}

std::string Property(const std::string& Name, const std::string& Value) {
    return Bytes({static_cast<int>(Name.size()), Name, Value});
}

AnsiString BinaryError(const std::string& Binary) {
    TMemoryStream input;
    Load(input, Binary);
    TStringStream output;
    try {
        ObjectBinaryToText(input, output);
    } catch (const EReadError& error) {
        EXPECT_TRUE(output.DataString().empty()) << "output written before the error";
        return error.Message();
    }
    return "no error";
}

AnsiString TextError(const std::string& Text) {
    TStringStream input(Text);
    TMemoryStream output;
    try {
        ObjectTextToBinary(input, output);
    } catch (const EParserError& error) {
        EXPECT_EQ(output.Size(), 0) << "output written before the error";
        return error.Message();
    }
    return "no error";
}

std::string Repeat(const std::string& Piece, int Count) {
    std::string result;
    for (int i = 0; i < Count; ++i)
        result += Piece;
    return result;
}

TEST(MalformedBinary, EveryTruncationRaisesAReadError) {
    const std::string binary = EveryKindStream();
    for (std::size_t length = 0; length < binary.size(); ++length)
        EXPECT_EQ(BinaryError(binary.substr(0, length)).rfind("Stream read error", 0), 0u)
            << "cut at " << length;
    EXPECT_EQ(BinaryError(binary), "no error");
}

TEST(MalformedBinary, CorruptedStreams) {
    const TBadInput cases[] = {
        {"bad signature", Bytes({"TPF1", 1, "T", 0, 0, 0}), "Invalid stream format"},
        {"empty stream", "", "Stream read error"},
        {"unknown tag", Form(Property("X", Bytes({0x14}))), "Invalid stream format"},
        {"tag 0xEE", Form(Property("X", Bytes({0xEE}))), "Invalid stream format"},
        {"short string past the end", Form(Property("X", Bytes({0x06, 200, "abc"}))),
         "Stream read error"},
        {"long string of 2 GB", Form(Property("X", Bytes({0x0C, 0xFF, 0xFF, 0xFF, 0x7F, "a"}))),
         "Stream read error"},
        {"wide string of 4 G units",
         Form(Property("X", Bytes({0x12, 0xFF, 0xFF, 0xFF, 0xFF, "ab"}))), "Stream read error"},
        {"binary of 4 GB", Form(Property("X", Bytes({0x0A, 0xFF, 0xFF, 0xFF, 0xFF}))),
         "Stream read error"},
        {"ident past the end", Form(Property("X", Bytes({0x07, 0xFF}))), "Stream read error"},
        {"property name past the end", Bytes({"TPF0", 1, "T", 0, 50, "Name"}), "Stream read error"},
        {"set without its end", Bytes({"TPF0", 1, "T", 0, 1, "X", 0x0B, 1, "a", 1, "b"}),
         "Stream read error"},
        {"list without its end",
         Bytes({"TPF0", 1, "T", 0, 1, "X", 0x01, Repeat(Bytes({0x02, 0x01}), 10000)}),
         "Stream read error"},
        {"collection item that is no list", Form(Property("X", Bytes({0x0E, 0x06, 0x01, "a"}))),
         "Invalid property value"},
        {"collection order index of 64 bits",
         Form(Property("X", Bytes({0x0E, 0x13, 1, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00, 0x00}))),
         "Invalid property value"},
        {"lists nested 300 deep",
         Form(Property("X", Repeat(Bytes({0x01}), 300) + Repeat(Bytes({0x00}), 300))),
         "Invalid stream format"},
        {"collections nested 300 deep",
         Form(Property("X", Repeat(Bytes({0x0E, 0x01, 1, "C"}), 300))), "Invalid stream format"},
        {"objects nested 300 deep", Bytes({"TPF0", Repeat(Bytes({1, "T", 0, 0x00}), 300)}),
         "Invalid stream format"},
        {"child position that is no integer", Bytes({"TPF0", 0xF2, 0x06, 1, "x"}),
         "Invalid property value"},
        {"property name that is no identifier", Form(Property("1X", Bytes({0x02, 1}))),
         "Invalid stream format"},
        {"property named like the end of an object", Form(Property("End", Bytes({0x02, 1}))),
         "Invalid stream format"},
        {"property named like a child object", Form(Property("inline.X", Bytes({0x02, 1}))),
         "Invalid stream format"},
        {"empty class name", Bytes({"TPF0", 0, 0, 0x00, 0x00}), "Invalid stream format"},
        {"class name with a blank", Bytes({"TPF0", 3, "T A", 0, 0x00, 0x00}),
         "Invalid stream format"},
        {"object name with a quote", Bytes({"TPF0", 1, "T", 2, "a'", 0x00, 0x00}),
         "Invalid stream format"},
        {"identifier value with a blank", Form(Property("X", Bytes({0x07, 3, "a b"}))),
         "Invalid stream format"},
        {"empty identifier value", Form(Property("X", Bytes({0x07, 0}))), "Invalid stream format"},
        {"set element with a comma", Form(Property("X", Bytes({0x0B, 3, "a,b", 0}))),
         "Invalid stream format"},
        {"extended NaN", Form(Property("X", Bytes({0x05, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}))),
         "Invalid property value"},
        {"extended pseudo-denormal",
         Form(Property("X", Bytes({0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00}))),
         "Invalid property value"},
        {"single infinity", Form(Property("X", Bytes({0x0F, 0, 0, 0x80, 0x7F}))),
         "Invalid property value"},
        {"date NaN", Form(Property("X", Bytes({0x11, 0, 0, 0, 0, 0, 0, 0xF8, 0x7F}))),
         "Invalid property value"},
    };
    for (const TBadInput& bad : cases)
        EXPECT_EQ(BinaryError(bad.Content), bad.Message) << bad.What;
}

TEST(MalformedBinary, SkipValueStopsDeepNestingAndTruncation) {
    TMemoryStream stream;
    TReader reader(stream);
    Load(stream, Repeat(Bytes({0x01}), 100000));
    EXPECT_THROW(reader.SkipValue(), EReadError);
    Load(stream, Bytes({0x0E, 0x01, 0x05, "Width"}));
    EXPECT_THROW(reader.SkipValue(), EReadError);
    Load(stream, Bytes({0x12, 0x00, 0x00, 0x00, 0x80}));
    EXPECT_THROW(reader.SkipValue(), EReadError);
}

// Whatever a single corrupted byte turns the stream into, conversion either
// fails with EReadError or gives text that converts back and forth stably.
TEST(MalformedBinary, SingleByteCorruptionsNeverEscapeTheFilerErrors) {
    const std::string binary = EveryKindStream();
    for (std::size_t at = 0; at < binary.size(); ++at) {
        for (int value : {0x00, 0x01, 0x07, 0x0E, 0x13, 0x7F, 0xF3, 0xFF}) {
            std::string corrupted = binary;
            corrupted[at] = static_cast<char>(value);
            std::string text;
            try {
                text = BinaryToText(corrupted);
            } catch (const EReadError&) {
                continue;
            }
            std::string normalized = TextToBinary(text);
            EXPECT_EQ(TextToBinary(BinaryToText(normalized)), normalized)
                << "byte " << at << " set to " << value;
        }
    }
}

TEST(MalformedText, EveryTruncationRaisesAParserError) {
    const std::string text = BinaryToText(EveryKindStream());
    const std::size_t lastEnd = text.rfind("end");
    for (std::size_t length = 0; length < lastEnd + 3; ++length)
        EXPECT_NE(TextError(text.substr(0, length)), "no error") << "cut at " << length;
    EXPECT_EQ(TextError(text.substr(0, lastEnd + 3)), "no error");
}

TEST(MalformedText, SyntaxErrors) {
    const auto form = [](const std::string& Properties) {
        return "object Form1: TForm1\n" + Properties + "\nend\n";
    };
    const TBadInput cases[] = {
        {"empty text", "", "'object' expected on line 1"},
        {"wrong keyword", "objekt A: TA\nend", "'object' expected on line 1"},
        {"no class", "object\n", "Identifier expected on line 2"},
        {"missing end", "object A: TA\n  X = 1\n", "Identifier expected on line 3"},
        {"missing equals", form("  X 1"), "'=' expected on line 2"},
        {"unterminated string", form("  X = 'abc\n"), "Unterminated string on line 2"},
        {"character code without digits", form("  X = #"), "Invalid character code on line 2"},
        {"character code beyond Unicode", form("  X = #1114112"),
         "Invalid character code on line 2"},
        {"integer beyond 64 bits", form("  X = 9223372036854775808"),
         "Invalid integer value on line 2"},
        {"hex integer beyond 64 bits", form("  X = $10000000000000000"),
         "Invalid integer value on line 2"},
        {"extended overflow", form("  X = 1e99999"), "Invalid floating point value on line 2"},
        {"single overflow", form("  X = 1e39s"), "Invalid floating point value on line 2"},
        {"currency overflow", form("  X = 922337203685478.0c"),
         "Invalid floating point value on line 2"},
        {"currency with exponent", form("  X = 1e3c"), "Invalid floating point value on line 2"},
        {"odd hex digits", form("  X = {\n    ABC}"), "Invalid binary value on line 3"},
        {"no hex digits", form("  X = {GG}"), "Invalid binary value on line 2"},
        {"unclosed binary", "object A: TA\n  X = {AB", "Invalid binary value on line 2"},
        {"set without comma", form("  X = [a b]"), "']' expected on line 2"},
        {"set with empty element", form("  X = [a,]"), "Identifier expected on line 2"},
        {"plus without string", form("  X = 'a' + 5"), "String expected on line 2"},
        {"stray token", form("  X = )"), "Invalid property value on line 2"},
        {"collection without items", form("  X = <foo>"), "'item' expected on line 2"},
        {"item index that is no integer", form("  X = <item [1.5] end>"),
         "Number expected on line 2"},
        {"child position beyond 32 bits", "object A: TA [3000000000]\nend",
         "Invalid integer value on line 1"},
        {"lists nested 300 deep", form("  X = " + Repeat("(", 300)), "Nesting too deep on line 2"},
        {"objects nested 300 deep", Repeat("object A: TA\n", 300), "Nesting too deep on line 257"},
        {"property name too long", form("  " + std::string(256, 'P') + " = 1"),
         "Identifier too long on line 2"},
        {"class name too long", "object A: " + std::string(240, 'T') + "\nend",
         "Identifier too long on line 1"},
        {"dot without a name", form("  X. = 1"), "Identifier expected on line 2"},
    };
    for (const TBadInput& bad : cases)
        EXPECT_EQ(TextError(bad.Content), bad.Message) << bad.What;
}

} // namespace
