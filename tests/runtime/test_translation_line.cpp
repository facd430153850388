// A translation line split into its key and positional values and joined
// again.
#include "runtime/QzxTranslationLine.h"

#include <gtest/gtest.h>

namespace {

constexpr char D = '\t';

TEST(TranslationLine, GivesBackEveryLineByteForByte) {
    for (const AnsiString text :
         {"", "Key", "Key\t", "Key\tOne\tTwo\t", "Key\tOne\tTwo", "Key\t\t\tThree\t\t\t\t", "\t\t",
          "Key\tA\x19\x1a"
          "B\t"}) {
        const TzxTranslationLine line(text, D);
        EXPECT_EQ(line.Text(), text);
    }
}

TEST(TranslationLine, ReadsValuesByPosition) {
    const TzxTranslationLine line("Key\t\tTwo\t", D);
    EXPECT_EQ(line.Key(), "Key");
    EXPECT_TRUE(line.HasValues());
    EXPECT_EQ(line.Value(1), "");
    EXPECT_EQ(line.Value(2), "Two");
    EXPECT_EQ(line.Value(3), "");
    EXPECT_EQ(line.Value(9), "");
    EXPECT_FALSE(TzxTranslationLine("Key", D).HasValues());
    EXPECT_EQ(TzxTranslationLine("Key\tOne", D).Value(1), "One");
}

TEST(TranslationLine, WritingAValuePadsAShortLineAndKeepsTheOthers) {
    TzxTranslationLine line("Key\tOne", D);
    line.SetValue(3, "Three");
    EXPECT_EQ(line.Text(), "Key\tOne\t\tThree\t");
    line.SetValue(1, "Uno");
    line.SetKey("Other");
    EXPECT_EQ(line.Text(), "Other\tUno\t\tThree\t");
    TzxTranslationLine surplus("Key\tA\tB\tC\tD\t", D);
    surplus.SetValue(2, "b");
    EXPECT_EQ(surplus.Text(), "Key\tA\tb\tC\tD\t");
    TzxTranslationLine fresh("Key", 3, D);
    EXPECT_EQ(fresh.Text(), "Key\t\t\t\t");
    fresh.SetValue(1, "Text");
    EXPECT_EQ(fresh.Text(), "Key\tText\t\t\t");
}

} // namespace
