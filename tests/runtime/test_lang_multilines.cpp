// Switching the multi-line texts of memos and combo boxes: lines are
// rewritten in place, the combo box keeps its selection and the memo its
// word wrap.
#include "LangTestSupport.h"

#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

class TListsForm : public TForm {
    ZX_CLASS(TListsForm, TForm)
public:
    explicit TListsForm(TComponent* AOwner) : TForm(AOwner) {
        Memo1 = NewComponent<TMemo>(this);
        Memo1->SetName("Memo1");
        Memo1->SetParent(this);
        Memo1->Lines()->SetCommaText("\"Line one\",\"Line two\"");
        Combo1 = NewComponent<TComboBox>(this);
        Combo1->SetName("Combo1");
        Combo1->SetParent(this);
        Combo1->Items()->SetCommaText("Red,Green,Blue");
        Combo1->SetItemIndex(1);
    }

    TMemo* Memo1;
    TComboBox* Combo1;
};

class LangMultiLines : public TLangFormTest<TListsForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        Lang->SetNumLang(3);
        Lang->MultiLines()->Add(
            Line({"Memo1.Lines", "\"Line one\",\"Line two\"",
                  "\"Zeile eins\",\"Zeile zwei\",\"Zeile drei\"", "\"Ligne un\""}));
        Lang->MultiLines()->Add(
            Line({"Combo1.Items", "Red,Green,Blue", "Rot,Gruen,Blau", "Rouge,Vert,Bleu"}));
    }
};

TEST_F(LangMultiLines, SwitchesMemoLinesAndComboItemsAndBack) {
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Memo1->Lines()->Text(), "Zeile eins\nZeile zwei\nZeile drei\n");
    EXPECT_EQ(Form->Combo1->Items()->CommaText(), "Rot,Gruen,Blau");
    EXPECT_EQ(Form->Combo1->ItemIndex(), 1) << "the selected item stays selected";

    Lang->SetActLang(3);
    EXPECT_EQ(Form->Memo1->Lines()->Text(), "Ligne un\n");
    EXPECT_EQ(Form->Combo1->Items()->CommaText(), "Rouge,Vert,Bleu");
    EXPECT_EQ(Form->Combo1->ItemIndex(), 1);

    Lang->SetActLang(1);
    EXPECT_EQ(Form->Memo1->Lines()->Text(), "Line one\nLine two\n");
    EXPECT_EQ(Form->Combo1->Items()->CommaText(), "Red,Green,Blue");
    EXPECT_EQ(Form->Combo1->ItemIndex(), 1);
}

TEST_F(LangMultiLines, AMemoKeepsItsWordWrap) {
    Form->Memo1->SetWordWrap(false);
    Lang->SetActLang(2);
    EXPECT_FALSE(Form->Memo1->WordWrap());
    Form->Memo1->SetWordWrap(true);
    Lang->SetActLang(3);
    EXPECT_TRUE(Form->Memo1->WordWrap());
}

} // namespace
