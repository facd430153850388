// TReader on well-formed streams: which tags each reader accepts, the
// conversions between kinds, and where the stream is left.
#include "StreamBytes.h"

#include <gtest/gtest.h>

namespace {

class ReaderTest : public ::testing::Test {
protected:
    TReader& Over(const std::string& Content) {
        Load(Stream, Content);
        return Reader;
    }

    TMemoryStream Stream;
    TReader Reader{Stream};
};

TEST_F(ReaderTest, IntegersOfEverySize) {
    TReader& reader = Over(Bytes({0x02, 0xFB, 0x03, 0x2C, 0x01, 0x04, 0x90, 0xEE, 0xFE, 0xFF, 0x13,
                                  0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(reader.ReadInteger(), -5);
    EXPECT_EQ(reader.ReadInteger(), 300);
    EXPECT_EQ(reader.ReadInt64(), -70000);
    EXPECT_EQ(reader.ReadInt64(), Int64(0x100000000));
}

TEST_F(ReaderTest, ReadIntegerRefusesVaInt64AndOtherKinds) {
    EXPECT_THROW(Over(Bytes({0x13, 1, 0, 0, 0, 0, 0, 0, 0})).ReadInteger(), EReadError);
    EXPECT_THROW(Over(Bytes({0x06, 0x01, "5"})).ReadInteger(), EReadError);
    EXPECT_THROW(Over(Bytes({0x09})).ReadInt64(), EReadError);
}

TEST_F(ReaderTest, FloatReadersAlsoTakeIntegers) {
    TReader& reader = Over(Bytes({0x05, 0,    0,    0,    0,    0,    0,    0,    0xC0, 0xFF,
                                  0x3F, 0x03, 0x2C, 0x01, 0x02, 0x07, 0x02, 0xFE, 0x02, 0x03}));
    EXPECT_EQ(reader.ReadFloat(), 1.5L);
    EXPECT_EQ(reader.ReadFloat(), 300.0L);
    EXPECT_EQ(reader.ReadSingle(), 7.0f);
    EXPECT_EQ(reader.ReadCurrency(), Currency{-20000});
    EXPECT_EQ(reader.ReadDate(), 3.0);
}

TEST_F(ReaderTest, FloatReadersRefuseOtherKindsAndBrokenEncodings) {
    EXPECT_THROW(Over(Bytes({0x0F, 0, 0, 0xC0, 0x3F})).ReadFloat(), EReadError);
    EXPECT_THROW(Over(Bytes({0x06, 0x00})).ReadDate(), EReadError);
    // An x87 "unnormal": exponent set, integer bit clear.
    EXPECT_THROW(Over(Bytes({0x05, 0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F})).ReadFloat(),
                 EReadError);
    // A whole number too large to scale by 10000.
    EXPECT_THROW(Over(Bytes({0x13, 0, 0, 0, 0, 0, 0, 0, 0x40})).ReadCurrency(), EReadError);
}

TEST_F(ReaderTest, StringsConvertBetweenWidths) {
    TReader& reader = Over(Bytes({0x12, 0x02, 0,   0,    0,    0x41, 0x00, 0x36, 0x04, //
                                  0x06, 0x03, "A", 0xD0, 0xB6,                         //
                                  0x0C, 0x02, 0,   0,    0,    "hi"}));
    EXPECT_EQ(reader.ReadString(), "A\xD0\xB6");
    EXPECT_EQ(reader.ReadWideString(), u"A\u0436");
    EXPECT_EQ(reader.ReadString(), "hi");
}

TEST_F(ReaderTest, CharsAreOneCharacterStrings) {
    TReader& reader =
        Over(Bytes({0x06, 0x01, "x", 0x12, 0x01, 0, 0, 0, 0xAC, 0x20, 0x06, 0x02, "xy"}));
    EXPECT_EQ(reader.ReadChar(), 'x');
    EXPECT_EQ(reader.ReadWideChar(), u'\u20AC');
    EXPECT_THROW(reader.ReadChar(), EReadError);
}

TEST_F(ReaderTest, IdentifiersAndTheirSpecialTags) {
    TReader& reader = Over(Bytes({0x07, 0x06, "alLeft", 0x08, 0x09, 0x0D, 0x00, 0x06, 0x01, "a"}));
    EXPECT_EQ(reader.ReadIdent(), "alLeft");
    EXPECT_EQ(reader.ReadIdent(), "False");
    EXPECT_EQ(reader.ReadIdent(), "True");
    EXPECT_EQ(reader.ReadIdent(), "nil");
    EXPECT_EQ(reader.ReadIdent(), "Null");
    EXPECT_THROW(reader.ReadIdent(), EReadError);
}

TEST_F(ReaderTest, BooleansSetsAndBinary) {
    TReader& reader = Over(Bytes({0x09, 0x08, 0x0B, 0x03, "opA", 0x03, "opB", 0x00, 0x0A, 0x02, 0,
                                  0, 0, 0x0A, 0x0B, 0x07, 0x01, "x"}));
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_EQ(reader.ReadSet(), (std::vector<AnsiString>{"opA", "opB"}));
    EXPECT_EQ(reader.ReadBinary(), (std::vector<Byte>{0x0A, 0x0B}));
    EXPECT_THROW(reader.ReadBoolean(), EReadError);
}

TEST_F(ReaderTest, ListsPeekingAndEndOfList) {
    TReader& reader = Over(Bytes({0x01, 0x02, 0x01, 0x00}));
    EXPECT_EQ(reader.NextValue(), vaList);
    EXPECT_EQ(reader.NextValue(), vaList);
    reader.ReadListBegin();
    EXPECT_FALSE(reader.EndOfList());
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_TRUE(reader.EndOfList());
    reader.ReadListEnd();
    EXPECT_EQ(Stream.Position(), 4);
}

TEST_F(ReaderTest, SignatureAndPrefixes) {
    TReader& reader = Over(Bytes({"TPF0", 0xF6, 0x03, 0x2C, 0x01, 0x06, "TForm1"}));
    reader.ReadSignature();
    TFilerFlags flags;
    Integer childPos = -1;
    reader.ReadPrefix(flags, childPos);
    EXPECT_EQ(flags, (TFilerFlags{ffInline, ffChildPos}));
    EXPECT_EQ(childPos, 300);
    reader.ReadPrefix(flags, childPos);
    EXPECT_TRUE(flags.Empty());
    EXPECT_EQ(childPos, 0);
    EXPECT_EQ(reader.ReadStr(), "TForm1");
    EXPECT_THROW(Over("TPF1").ReadSignature(), EReadError);
}

TEST_F(ReaderTest, SkipValueLandsOnTheNextValue) {
    TReader& reader = Over(Bytes(
        {0x01,                                                            // list
         0x0E,                                                            //   collection
         0x02, 0x03, 0x01, 0x01, "A",  0x0B, 0x01, "x", 0x00, 0x00,       //     item [3] A = [x]
         0x01, 0x01, "B",  0x12, 0x01, 0,    0,    0,   0x41, 0x00, 0x00, //     item B = wide "A"
         0x00,                                                            //   end of collection
         0x05, 0,    0,    0,    0,    0,    0,    0,   0xC0, 0xFF, 0x3F, //   1.5
         0x0C, 0x01, 0,    0,    0,    "z",                               //   long string
         0x0A, 0x01, 0,    0,    0,    0x7F,                              //   binary
         0x10, 0,    0,    0,    0,    0,    0,    0,   0,                //   currency
         0x00,                                                            // end of list
         0x02, 0x2A}));
    reader.SkipValue();
    EXPECT_EQ(reader.ReadInteger(), 42);
}

TEST_F(ReaderTest, WriterAndReaderAgreeOnEveryKind) {
    TWriter writer(Stream);
    writer.WriteFloat(0.1L);
    writer.WriteSingle(-0.25f);
    writer.WriteCurrency(Currency{-123456});
    writer.WriteDate(45000.75);
    writer.WriteWideString(u"\U0001F600");
    writer.WriteInteger(Int64(-1) << 40);
    Stream.SetPosition(0);
    EXPECT_EQ(Reader.ReadFloat(), 0.1L);
    EXPECT_EQ(Reader.ReadSingle(), -0.25f);
    EXPECT_EQ(Reader.ReadCurrency(), Currency{-123456});
    EXPECT_EQ(Reader.ReadDate(), 45000.75);
    EXPECT_EQ(Reader.ReadWideString(), u"\U0001F600");
    EXPECT_EQ(Reader.ReadInt64(), Int64(-1) << 40);
}

} // namespace
