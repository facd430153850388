// The text form format: its layout, the parser, the converters both ways,
// form resources and format detection.
#include "StreamBytes.h"

#include <gtest/gtest.h>

namespace {

std::string Form(const std::string& Properties) {
    return "object Form1: TForm1\n" + Properties + "end\n";
}

std::string FormBytes(const std::string& Properties) {
    return Bytes({"TPF0", 6, "TForm1", 5, "Form1", Properties, 0x00, 0x00});
}

// ---------------------------------------------------------------------------
// Layout of printed values

TEST(FormTextLayout, SampleFormReadsAndPrintsTheSame) {
    const std::string text = "object Form1: TForm1\n"
                             "  Left = 10\n"
                             "  Caption = 'It''s'#13#10'two lines'\n"
                             "  Font.Name = 'Sans'\n"
                             "  Items.Strings = (\n"
                             "    'a'\n"
                             "    'b')\n"
                             "  Options = [opA, opB]\n"
                             "  Columns = <\n"
                             "    item\n"
                             "      Caption = 'x'\n"
                             "    end\n"
                             "    item [3]\n"
                             "      Width = 5\n"
                             "    end>\n"
                             "  OnClick = Button1Click\n"
                             "  Data = {\n"
                             "    0A0B0C}\n"
                             "  object Button1: TButton\n"
                             "    Caption = 'OK'\n"
                             "  end\n"
                             "end\n";
    EXPECT_EQ(BinaryToText(TextToBinary(text)), text);
}

TEST(FormTextLayout, LongStringsContinueInPiecesOf64) {
    const std::string value = std::string(64, 'x') + "yy";
    EXPECT_EQ(BinaryToText(FormBytes(Bytes({4, "Text", 0x06, 66, value}))),
              Form("  Text = '" + std::string(64, 'x') + "' +\n    'yy'\n"));
}

TEST(FormTextLayout, ControlBytesBecomeCodesAndUtf8StaysReadable) {
    EXPECT_EQ(
        BinaryToText(FormBytes(Bytes({1, "S", 0x06, 8, "\x01\xC3\xA9'\x7F\xFF", 0xE2, 0x82}))),
        Form("  S = #1'\xC3\xA9'''#127#255#226#130\n"));
}

TEST(FormTextLayout, WideStringsShowCharactersAbove255AsCodes) {
    EXPECT_EQ(BinaryToText(FormBytes(Bytes({1, "S", 0x12, 6, 0, 0, 0, "A", 0, 0xE9, 0, " ", 0, 0x16,
                                            0x04, 0x3D, 0xD8, 0x00, 0xDE}))),
              Form("  S = 'A\xC3\xA9 '#1046#55357#56832\n"));
}

TEST(FormTextLayout, EmptyValues) {
    EXPECT_EQ(
        BinaryToText(FormBytes(Bytes({1, "S", 0x06, 0, 1, "L", 0x01, 0x00, 1,   "C",  0x0E, 0x00,
                                      1, "B", 0x0A, 0, 0, 0,   0,    1,    "E", 0x0B, 0}))),
        Form("  S = ''\n  L = ()\n  C = <>\n  B = {}\n  E = []\n"));
}

TEST(FormTextLayout, BinaryDataIn32ByteLines) {
    std::string data;
    for (int i = 0; i < 40; ++i)
        data += static_cast<char>(i);
    EXPECT_EQ(BinaryToText(FormBytes(Bytes({4, "Data", 0x0A, 40, 0, 0, 0, data}))),
              Form("  Data = {\n"
                   "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
                   "    2021222324252627}\n"));
}

TEST(FormTextLayout, NumbersOfEveryKind) {
    EXPECT_EQ(BinaryToText(FormBytes(Bytes(
                  {1, "A", 0x02, 0xFB,                                                       //
                   1, "B", 0x13, 0,    0,    0,    0,    0,    0,    0,    0x80,             //
                   1, "C", 0x05, 0,    0,    0,    0,    0,    0,    0,    0x80, 0x00, 0x40, //
                   1, "D", 0x05, 0,    0,    0,    0,    0,    0,    0,    0x00, 0x00, 0x80, //
                   1, "E", 0x0F, 0x00, 0x00, 0xC0, 0x3F,                                     //
                   1, "F", 0x10, 0xB8, 0x17, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,             //
                   1, "G", 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80,             //
                   1, "H", 0x11, 0,    0,    0,    0,    0,    0,    0xF8, 0x3F}))),
              Form("  A = -5\n"
                   "  B = -9223372036854775808\n"
                   "  C = 2.0\n"
                   "  D = -0.0\n"
                   "  E = 1.5s\n"
                   "  F = -12.5c\n"
                   "  G = -922337203685477.5808c\n"
                   "  H = 1.5d\n"));
}

TEST(FormTextLayout, PrefixesAndNamelessObjects) {
    const std::string text = "inherited Form1: TForm1 [2]\n"
                             "  inline Frame1: TFrame1\n"
                             "  end\n"
                             "  object TLabel\n"
                             "  end\n"
                             "end\n";
    EXPECT_EQ(
        TextToBinary(text),
        Bytes({"TPF0", 0xF3,     0x02, 0x02, 6, "TForm1", 5, "Form1", 0x00, 0xF4, 7, "TFrame1",
               6,      "Frame1", 0x00, 0x00, 6, "TLabel", 0, 0x00,    0x00, 0x00}));
    EXPECT_EQ(BinaryToText(TextToBinary(text)), text);
}

// ---------------------------------------------------------------------------
// Round trips

TEST(FormTextRoundTrip, BinaryToTextToBinaryKeepsEveryByte) {
    const std::string binary = EveryKindStream();
    EXPECT_EQ(TextToBinary(BinaryToText(binary)), binary);
}

TEST(FormTextRoundTrip, TextToBinaryToTextKeepsTheText) {
    const std::string text = BinaryToText(EveryKindStream());
    EXPECT_EQ(BinaryToText(TextToBinary(text)), text);
}

TEST(FormTextRoundTrip, FloatsComeBackBitExact) {
    struct TFloats {
        long double Extended;
        float Single;
        double Date;
    };
    const TFloats cases[] = {
        {0.1L, 0.1f, 0.1},
        {1.0L / 3, 1.0f / 3, 1.0 / 3},
        {1.18973149535723176502e+4932L, 3.40282347e+38f, 1.7976931348623157e308},
        {3.6e-4951L, 1.4e-45f, 4.9e-324},
        {-7e-300L, -2.5e-40f, -45000.000001},
    };
    for (const TFloats& value : cases) {
        TMemoryStream stream;
        TWriter writer(stream);
        writer.WriteSignature();
        writer.WriteStr("T");
        writer.WriteStr("");
        writer.WriteStr("X");
        writer.WriteFloat(value.Extended);
        writer.WriteStr("Y");
        writer.WriteSingle(value.Single);
        writer.WriteStr("Z");
        writer.WriteDate(value.Date);
        writer.WriteListEnd();
        writer.WriteListEnd();
        const std::string binary = ContentOf(stream);
        EXPECT_EQ(TextToBinary(BinaryToText(binary)), binary) << BinaryToText(binary);
    }
}

// ---------------------------------------------------------------------------
// Reading text

TEST(FormTextReading, AcceptsCrLfHexAndNameVariants) {
    EXPECT_EQ(TextToBinary("OBJECT Form1 : TForm1\r\n  A = $1F\r\n  B = -$10\r\nEND"),
              FormBytes(Bytes({1, "A", 0x02, 0x1F, 1, "B", 0x02, 0xF0})));
    const std::string nameless = Bytes({"TPF0", 2, "TA", 0, 0x00, 0x00});
    EXPECT_EQ(TextToBinary("object TA end"), nameless);
    EXPECT_EQ(TextToBinary("object : TA end"), nameless);
}

TEST(FormTextReading, StringKindFollowsTheContent) {
    EXPECT_EQ(TextToBinary(Form("  S = 'ab'#200\n")),
              FormBytes(Bytes({1, "S", 0x06, 3, "ab", 0xC8})));
    EXPECT_EQ(TextToBinary(Form("  S = '\xC3\xA9'#$41#300\n")),
              FormBytes(Bytes({1, "S", 0x12, 3, 0, 0, 0, 0xE9, 0, 0x41, 0, 0x2C, 0x01})));
    for (const char* emoji : {"#128512", "#55357#56832", "#$D83D#$DE00"})
        EXPECT_EQ(TextToBinary(Form("  S = " + std::string(emoji) + "\n")),
                  FormBytes(Bytes({1, "S", 0x12, 2, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE})))
            << emoji;
    EXPECT_EQ(TextToBinary(Form("  S = '" + std::string(200, 'a') + "' +\n '" +
                                std::string(100, 'a') + "'\n")),
              FormBytes(Bytes({1, "S", 0x0C, 0x2C, 0x01, 0, 0, std::string(300, 'a')})));
}

TEST(FormTextReading, FloatSuffixesSelectTheKind) {
    EXPECT_EQ(
        TextToBinary(Form("  A = 1.5\n  B = 1.5s\n  C = 2c\n  D = 1.5D\n  E = 1e3\n")),
        FormBytes(Bytes({1, "A", 0x05, 0,    0,    0,    0,    0, 0, 0,    0xC0, 0xFF, 0x3F, //
                         1, "B", 0x0F, 0x00, 0x00, 0xC0, 0x3F,                               //
                         1, "C", 0x10, 0x20, 0x4E, 0,    0,    0, 0, 0,    0,                //
                         1, "D", 0x11, 0,    0,    0,    0,    0, 0, 0xF8, 0x3F,             //
                         1, "E", 0x05, 0,    0,    0,    0,    0, 0, 0,    0xFA, 0x08, 0x40})));
}

TEST(FormTextReading, FloatsMayEndAtTheirPoint) {
    EXPECT_EQ(TextToBinary(Form("  A = 1.\n  B = 1.e5\n  C = -2.E-1s\n  D = 3.c\n")),
              TextToBinary(Form("  A = 1.0\n  B = 1.0e5\n  C = -2.0E-1s\n  D = 3.0c\n")));
}

TEST(FormTextReading, CurrencyRoundsHalfAwayFromZeroAfterFourDecimals) {
    EXPECT_EQ(TextToBinary(Form("  A = 0.00005c\n  B = -0.00005c\n  C = 0.000049999c\n")),
              FormBytes(Bytes({1, "A", 0x10, 1,    0,    0,    0,    0,    0,    0,    0,    //
                               1, "B", 0x10, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, //
                               1, "C", 0x10, 0,    0,    0,    0,    0,    0,    0,    0})));
}

TEST(FormTextReading, IdentifiersMapToTheirTags) {
    EXPECT_EQ(TextToBinary(Form("  A = true\n  B = Nil\n  C = NULL\n  D = Form2.Action1\n")),
              FormBytes(Bytes(
                  {1, "A", 0x09, 1, "B", 0x0D, 1, "C", 0x00, 1, "D", 0x07, 13, "Form2.Action1"})));
}

TEST(FormTextReading, NullInAListStaysAnIdentifier) {
    EXPECT_EQ(TextToBinary(Form("  L = (\n    Null\n    False)\n")),
              FormBytes(Bytes({1, "L", 0x01, 0x07, 4, "Null", 0x08, 0x00})));
}

TEST(FormTextReading, ConvertersLeaveTheInputAfterTheObject) {
    TStringStream text("object A: TA\nend\nobject B: TB\nend\n");
    TMemoryStream first;
    TMemoryStream second;
    ObjectTextToBinary(text, first);
    ObjectTextToBinary(text, second);
    EXPECT_EQ(ContentOf(second), Bytes({"TPF0", 2, "TB", 1, "B", 0x00, 0x00}));

    TMemoryStream binary;
    Load(binary, ContentOf(first) + ContentOf(second));
    TStringStream out1;
    TStringStream out2;
    ObjectBinaryToText(binary, out1);
    ObjectBinaryToText(binary, out2);
    EXPECT_EQ(out2.DataString(), "object B: TB\nend\n");
}

// ---------------------------------------------------------------------------
// The parser

TEST(FormTextParser, TokensAndLines) {
    TStringStream text("Name.Sub = -12\r\n  'a'#66 3.5c $FF\n  #300 [");
    TParser parser(text);
    EXPECT_EQ(parser.TokenComponentIdent(), "Name.Sub");
    EXPECT_EQ(parser.NextToken(), '=');
    EXPECT_EQ(parser.NextToken(), toInteger);
    EXPECT_EQ(parser.TokenInt(), -12);
    EXPECT_EQ(parser.NextToken(), toString);
    EXPECT_EQ(parser.TokenString(), "aB");
    EXPECT_EQ(parser.SourceLine(), 2);
    EXPECT_EQ(parser.NextToken(), toFloat);
    EXPECT_EQ(parser.FloatType(), 'c');
    EXPECT_EQ(parser.TokenFloat(), 3.5L);
    EXPECT_EQ(parser.NextToken(), toInteger);
    EXPECT_EQ(parser.TokenInt(), 255);
    EXPECT_EQ(parser.NextToken(), toWString);
    EXPECT_EQ(parser.TokenWideString(), u"\u012C");
    EXPECT_EQ(parser.SourceLine(), 3);
    EXPECT_EQ(parser.NextToken(), '[');
    EXPECT_EQ(parser.NextToken(), toEOF);
}

TEST(FormTextParser, ErrorsNameTheLine) {
    TStringStream text("a\nb\n  'open");
    TParser parser(text);
    parser.NextToken();
    try {
        parser.NextToken();
        FAIL() << "no error";
    } catch (const EParserError& error) {
        EXPECT_EQ(error.Message(), "Unterminated string on line 3");
    }
    try {
        TStringStream form("object A: TA\n  X = 1\n  Y 2\nend");
        TMemoryStream binary;
        ObjectTextToBinary(form, binary);
        FAIL() << "no error";
    } catch (const EParserError& error) {
        EXPECT_EQ(error.Message(), "'=' expected on line 3");
    }
}

// ---------------------------------------------------------------------------
// Form resources and format detection

TEST(FormResource, ResourceToTextSkipsTheHeader) {
    const std::string component = FormBytes(Bytes({4, "Left", 0x02, 10}));
    TMemoryStream resource;
    Load(resource, Bytes({0xFF, 0x0A, 0x00, "TFORM1", 0x00, 0x30, 0x10,
                          static_cast<int>(component.size()), 0, 0, 0, component}));
    TStringStream text;
    ObjectResourceToText(resource, text);
    EXPECT_EQ(text.DataString(), Form("  Left = 10\n"));
}

TEST(FormResource, HeaderWithFixupAndReadBack) {
    TMemoryStream stream;
    Int64 fixup;
    WriteResourceHeader(stream, "TMainForm", fixup);
    stream.WriteBuffer("12345", 5);
    FixupResourceHeader(stream, fixup);
    EXPECT_EQ(stream.Position(), 24);
    EXPECT_EQ(ContentOf(stream),
              Bytes({0xFF, 0x0A, 0x00, "TMAINFORM", 0x00, 0x30, 0x10, 5, 0, 0, 0, "12345"}));
    stream.SetPosition(0);
    TResourceHeader header = ReadResourceHeader(stream);
    EXPECT_EQ(header.Name, "TMAINFORM");
    EXPECT_EQ(header.DataSize, 5u);
    EXPECT_EQ(stream.Position(), 19);
}

TEST(FormResource, MalformedHeadersAreRefused) {
    for (const std::string& bad :
         {Bytes({0xFE, 0x0A, 0x00, "T", 0, 0x30, 0x10, 0, 0, 0, 0}),
          Bytes({0xFF, 0x05, 0x00, "T", 0, 0x30, 0x10, 0, 0, 0, 0}),
          Bytes({0xFF, 0x0A, 0x00, "TFORM"}), Bytes({0xFF, 0x0A, 0x00, std::string(300, 'N'), 0}),
          Bytes({0xFF, 0x0A, 0x00, "T", 0, 0x30, 0x10, 9, 0, 0, 0, "x"})}) {
        TMemoryStream stream;
        Load(stream, bad);
        EXPECT_THROW(ReadResourceHeader(stream), EReadError);
    }
}

TEST(FormResource, StreamFormatIsDetectedWithoutMovingTheStream) {
    const std::pair<std::string, TStreamOriginalFormat> cases[] = {
        {"TPF0\x06TForm1", sofBinary},
        {Bytes({0xFF, 0x0A, 0x00, "TFORM1"}), sofBinary},
        {"  \r\n\tObject Form1: TForm1", sofText},
        {"INHERITED Form1: TForm1", sofText},
        {"inline F: TF", sofText},
        {"objective", sofUnknown},
        {"object", sofUnknown},
        {"TPF", sofUnknown},
        {"", sofUnknown},
    };
    for (const auto& [content, format] : cases) {
        TMemoryStream stream;
        Load(stream, "xx" + content);
        stream.SetPosition(2);
        EXPECT_EQ(TestStreamFormat(stream), format) << content;
        EXPECT_EQ(stream.Position(), 2);
    }
}

} // namespace
