// The binary component format pinned byte by byte: every expected sequence
// below is derived by hand from the format, not captured from the writer.
#include "StreamBytes.h"

#include <gtest/gtest.h>

namespace {

class WriterGolden : public ::testing::Test {
protected:
    std::string Written() { return ContentOf(Stream); }

    TMemoryStream Stream;
    TWriter Writer{Stream};
};

TEST_F(WriterGolden, IntegersTakeTheSmallestTag) {
    Writer.WriteInteger(5);
    Writer.WriteInteger(300);
    Writer.WriteInteger(-70000);
    Writer.WriteInteger(-128);
    Writer.WriteInteger(128);
    Writer.WriteInteger(-129);
    Writer.WriteInteger(32768);
    EXPECT_EQ(Written(), Bytes({0x02, 0x05,                   //
                                0x03, 0x2C, 0x01,             //
                                0x04, 0x90, 0xEE, 0xFE, 0xFF, //
                                0x02, 0x80,                   //
                                0x03, 0x80, 0x00,             //
                                0x03, 0x7F, 0xFF,             //
                                0x04, 0x00, 0x80, 0x00, 0x00}));
}

TEST_F(WriterGolden, Int64UsesVaInt64OnlyBeyond32Bits) {
    Writer.WriteInteger(Int64(7));
    Writer.WriteInteger(Int64(2147483647));
    Writer.WriteInteger(Int64(0x100000000));
    Writer.WriteInteger(Int64(-2147483649));
    EXPECT_EQ(Written(), Bytes({0x02, 0x07,                                           //
                                0x04, 0xFF, 0xFF, 0xFF, 0x7F,                         //
                                0x13, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, //
                                0x13, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(WriterGolden, BooleansCharsAndIdentifiers) {
    Writer.WriteBoolean(true);
    Writer.WriteBoolean(false);
    Writer.WriteChar('x');
    Writer.WriteIdent("alLeft");
    Writer.WriteIdent("TRUE");
    Writer.WriteIdent("false");
    Writer.WriteIdent("NIL");
    Writer.WriteIdent("null");
    EXPECT_EQ(Written(),
              Bytes({0x09, 0x08, 0x06, 0x01, "x", 0x07, 0x06, "alLeft", 0x09, 0x08, 0x0D, 0x00}));
}

TEST_F(WriterGolden, StringsSwitchToVaLStringBeyond255Bytes) {
    Writer.WriteString("ab");
    Writer.WriteString("");
    Writer.WriteString(std::string(255, 'x'));
    Writer.WriteString(std::string(256, 'y'));
    EXPECT_EQ(Written(), Bytes({0x06, 0x02, "ab", 0x06, 0x00, 0x06, 0xFF, std::string(255, 'x'),
                                0x0C, 0x00, 0x01, 0x00, 0x00, std::string(256, 'y')}));
}

TEST_F(WriterGolden, Utf8StringsKeepTheirBytes) {
    Writer.WriteString("\xC3\xA9");
    EXPECT_EQ(Written(), Bytes({0x06, 0x02, 0xC3, 0xA9}));
}

TEST_F(WriterGolden, WideStringsAreUtf16UnitsLittleEndian) {
    Writer.WriteWideString(u"A\u0436");
    Writer.WriteWideChar(u'\u20AC');
    EXPECT_EQ(Written(), Bytes({0x12, 0x02, 0x00, 0x00, 0x00, 0x41, 0x00, 0x36, 0x04, //
                                0x12, 0x01, 0x00, 0x00, 0x00, 0xAC, 0x20}));
}

TEST_F(WriterGolden, FloatingPointKinds) {
    Writer.WriteFloat(1.5L);
    Writer.WriteFloat(-2.0L);
    Writer.WriteSingle(1.5f);
    Writer.WriteCurrency(Currency{125000});
    Writer.WriteDate(1.5);
    EXPECT_EQ(Written(), Bytes({0x05, 0,    0,    0,    0,    0, 0, 0,    0xC0, 0xFF, 0x3F, //
                                0x05, 0,    0,    0,    0,    0, 0, 0,    0x80, 0x00, 0xC0, //
                                0x0F, 0x00, 0x00, 0xC0, 0x3F,                               //
                                0x10, 0x48, 0xE8, 0x01, 0x00, 0, 0, 0,    0,                //
                                0x11, 0,    0,    0,    0,    0, 0, 0xF8, 0x3F}));
}

TEST_F(WriterGolden, SetsEndWithAnEmptyName) {
    Writer.WriteSet({"opA", "opB"});
    Writer.WriteSet({});
    EXPECT_EQ(Written(), Bytes({0x0B, 0x03, "opA", 0x03, "opB", 0x00, 0x0B, 0x00}));
}

TEST_F(WriterGolden, ListsEndWithVaNull) {
    Writer.WriteListBegin();
    Writer.WriteInteger(1);
    Writer.WriteString("a");
    Writer.WriteListEnd();
    EXPECT_EQ(Written(), Bytes({0x01, 0x02, 0x01, 0x06, 0x01, "a", 0x00}));
}

TEST_F(WriterGolden, CollectionItemsWithAndWithoutOrderIndex) {
    Writer.WriteValue(vaCollection);
    Writer.WriteInteger(3);
    Writer.WriteListBegin();
    Writer.WriteStr("Width");
    Writer.WriteInteger(5);
    Writer.WriteListEnd();
    Writer.WriteListBegin();
    Writer.WriteListEnd();
    Writer.WriteListEnd();
    EXPECT_EQ(Written(),
              Bytes({0x0E, 0x02, 0x03, 0x01, 0x05, "Width", 0x02, 0x05, 0x00, 0x01, 0x00, 0x00}));
}

TEST_F(WriterGolden, BinaryIsLengthAndBytes) {
    const Byte data[] = {0x0A, 0x0B};
    Writer.WriteBinary(data, 2);
    EXPECT_EQ(Written(), Bytes({0x0A, 0x02, 0x00, 0x00, 0x00, 0x0A, 0x0B}));
}

TEST_F(WriterGolden, PrefixesCarryFlagsAndChildPosition) {
    Writer.WritePrefix({ffInherited}, 0);
    Writer.WritePrefix({ffChildPos}, 2);
    Writer.WritePrefix({ffInline, ffChildPos}, 300);
    Writer.WritePrefix({}, 5);
    EXPECT_EQ(Written(), Bytes({0xF1, 0xF2, 0x02, 0x02, 0xF6, 0x03, 0x2C, 0x01}));
}

TEST_F(WriterGolden, NamesLongerThan255BytesAreRefused) {
    Writer.WriteStr(std::string(255, 'n'));
    EXPECT_THROW(Writer.WriteStr(std::string(256, 'n')), EWriteError);
    EXPECT_THROW(Writer.WriteIdent(std::string(256, 'n')), EWriteError);
    EXPECT_THROW(Writer.WriteSet({"a", ""}), EWriteError);
}

// A form with a property of each common kind and one child, written through
// the primitives as the component writer will, then printed as form text.
std::string WriteSmallForm() {
    TMemoryStream stream;
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WritePrefix({}, 0);
    writer.WriteStr("TForm1");
    writer.WriteStr("Form1");
    writer.WriteStr("Left");
    writer.WriteInteger(10);
    writer.WriteStr("Caption");
    writer.WriteString("It's\r\ntwo lines");
    writer.WriteStr("Options");
    writer.WriteSet({"opA", "opB"});
    writer.WriteListEnd();
    writer.WriteStr("TButton");
    writer.WriteStr("Button1");
    writer.WriteStr("Caption");
    writer.WriteString("OK");
    writer.WriteListEnd();
    writer.WriteListEnd();
    writer.WriteListEnd();
    return ContentOf(stream);
}

const std::string SmallFormBytes =
    Bytes({"TPF0", 6,         "TForm1", 5,         "Form1",                         //
           4,      "Left",    0x02,     10,                                         //
           7,      "Caption", 0x06,     15,        "It's",  13, 10,    "two lines", //
           7,      "Options", 0x0B,     3,         "opA",   3,  "opB", 0,           //
           0x00,                                                                    //
           7,      "TButton", 7,        "Button1",                                  //
           7,      "Caption", 0x06,     2,         "OK",                            //
           0x00,   0x00,                                                            //
           0x00});

const std::string SmallFormText = "object Form1: TForm1\n"
                                  "  Left = 10\n"
                                  "  Caption = 'It''s'#13#10'two lines'\n"
                                  "  Options = [opA, opB]\n"
                                  "  object Button1: TButton\n"
                                  "    Caption = 'OK'\n"
                                  "  end\n"
                                  "end\n";

TEST(ObjectTreeGolden, WriterPrimitivesGiveTheExpectedBytes) {
    EXPECT_EQ(WriteSmallForm(), SmallFormBytes);
}

TEST(ObjectTreeGolden, BinaryPrintsAsTheExpectedText) {
    EXPECT_EQ(BinaryToText(SmallFormBytes), SmallFormText);
}

TEST(ObjectTreeGolden, TextConvertsToTheExpectedBytes) {
    EXPECT_EQ(TextToBinary(SmallFormText), SmallFormBytes);
}

TEST(ObjectTreeGolden, ResourceHeaderFramesTheStream) {
    TStringStream text(SmallFormText);
    TMemoryStream resource;
    ObjectTextToResource(text, resource);
    const std::string length = Bytes({static_cast<int>(SmallFormBytes.size()), 0, 0, 0});
    EXPECT_EQ(ContentOf(resource),
              Bytes({0xFF, 0x0A, 0x00, "TFORM1", 0x00, 0x30, 0x10, length, SmallFormBytes}));
}

} // namespace
