// The list property editors choose the Translation Editor's kind by the
// property's exact name.
#include "ide/Qzxpropeditors.h"

#include <gtest/gtest.h>

TEST(StringsProperty, TheKindComesFromTheExactNameAndAnyOtherNameGivesCaptions) {
    EXPECT_EQ(KindOfListProperty("Hints"), stHints);
    EXPECT_EQ(KindOfListProperty("OtherStrings"), stOtherStrings);
    EXPECT_EQ(KindOfListProperty("DlgsCaptions"), stDlgsCaptions);
    EXPECT_EQ(KindOfListProperty("ListView_TreeView_Items"), stListView_TreeView_Items);
    EXPECT_EQ(KindOfListProperty("hints"), stCaptions);
    EXPECT_EQ(KindOfListProperty("Multilines"), stCaptions);
    EXPECT_EQ(KindOfListProperty("Captions"), stCaptions);
    EXPECT_EQ(KindOfListProperty("Anything"), stCaptions);
}
