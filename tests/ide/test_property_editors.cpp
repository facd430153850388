// The list property editors choose the Translation Editor's kind by the
// property's exact name.
#include "ide/Qzxpropeditors.h"

#include <gtest/gtest.h>

TEST(StringsProperty, TheKindComesFromTheExactNameAndAnyOtherNameGivesCaptions) {
    const std::pair<const char*, TStringsType> names[] = {
        {"Hints", stHints},           {"OtherStrings", stOtherStrings},
        {"DlgsCaptions", stDlgsCaptions}, {"ListView_TreeView_Items", stListView_TreeView_Items},
        {"hints", stCaptions},        {"Multilines", stCaptions},
        {"Captions", stCaptions},     {"Anything", stCaptions}};
    for (const auto& [name, kind] : names)
        EXPECT_EQ(KindOfListProperty(name), kind) << name;
}
