#include "rtl/Components.h"
#include "rtl/Persistent.h"

#include <gtest/gtest.h>

TEST(Utf8, RoundTripKeepsEveryByte) {
    AnsiString bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    bytes += "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"; // ä € and an emoji
    EXPECT_EQ(UTF8Encode(UTF8Decode(bytes)), bytes);
}

TEST(Utf8, DecodesValidSequencesAndSurrogatePairs) {
    WideString wide = UTF8Decode("a\xC3\xA4\xF0\x9F\x98\x80");
    ASSERT_EQ(wide.size(), 4u);
    EXPECT_EQ(wide[1], u'\u00E4');
    EXPECT_EQ(wide[2], 0xD83D);
    EXPECT_EQ(wide[3], 0xDE00);
}

TEST(Utf8, OverlongAndTruncatedSequencesStayBytes) {
    AnsiString overlong = "\xC0\xAF";
    EXPECT_EQ(UTF8ToCodePoints(overlong), (std::u32string{0xDCC0, 0xDCAF}));
    AnsiString truncated = "\xE2\x82";
    EXPECT_EQ(UTF8Encode(UTF8Decode(truncated)), truncated);
}

TEST(OneBasedRoutines, PosCopyDeleteInsert) {
    EXPECT_EQ(Pos(AnsiString("lo"), AnsiString("hello")), 4);
    EXPECT_EQ(Pos(AnsiString(""), AnsiString("hello")), 0);
    EXPECT_EQ(Pos(AnsiString("x"), AnsiString("hello")), 0);
    EXPECT_EQ(Copy(AnsiString("hello"), 2, 3), "ell");
    EXPECT_EQ(Copy(AnsiString("hello"), 4, 100), "lo");
    EXPECT_EQ(Copy(AnsiString("hello"), 6, 1), "");
    AnsiString s = "hello";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "hlo");
    Insert(AnsiString("el"), s, 2);
    EXPECT_EQ(s, "hello");
    Insert(AnsiString("!"), s, 100);
    EXPECT_EQ(s, "hello!");
}

TEST(Sets, OrdinalImageAndOperators) {
    enum E { a, b, c };
    TSet<E> ab{a, b};
    EXPECT_EQ(ab.ToOrdinal(), 3u);
    EXPECT_EQ(TSet<E>::FromOrdinal(5), (TSet<E>{a, c}));
    EXPECT_EQ(ab - TSet<E>{a}, TSet<E>{b});
    EXPECT_TRUE((ab * TSet<E>{c}).Empty());
}

TEST(Classes, InheritanceAndAssignError) {
    TPersistent first, second;
    EXPECT_EQ(first.ClassName(), "TPersistent");
    EXPECT_TRUE(first.InheritsFrom(TObject::StaticClass()));
    EXPECT_FALSE(TObject().InheritsFrom(TPersistent::StaticClass()));
    try {
        first.Assign(&second);
        FAIL() << "Assign between plain persistents must raise";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TPersistent");
    }
}

TEST(CommandLine, ParamStrZeroIsTheExecutableUnlessAProgramNamesAnother) {
    EXPECT_TRUE(ParamStr(0).ends_with("/rtl_test_system"));
    EXPECT_EQ(ParamStr(1000), "");
    EXPECT_EQ(ParamStr(-1), "");
    SetProgramPath("/opt/tools/program");
    EXPECT_EQ(ParamStr(0), "/opt/tools/program");
    SetProgramPath("");
    EXPECT_TRUE(ParamStr(0).ends_with("/rtl_test_system"));
}

TEST(ExceptionReport, ReportsThroughTheInstalledRoutineOrOnStandardError) {
    TObject sender;
    TObject* reportedFor = nullptr;
    ApplicationHandleException = [&](TObject* Sender) { reportedFor = Sender; };
    try {
        throw Exception("Disk full");
    } catch (...) {
        HandleApplicationException(&sender);
    }
    EXPECT_EQ(reportedFor, &sender);
    ApplicationHandleException = nullptr;
    testing::internal::CaptureStderr();
    try {
        throw Exception("Disk full");
    } catch (...) {
        HandleApplicationException(&sender);
    }
    try {
        throw EAbort();
    } catch (...) {
        HandleApplicationException(&sender);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Disk full\n");
}
