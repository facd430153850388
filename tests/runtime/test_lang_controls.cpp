// Switching the language of the platform's list-view, data and
// action-linked controls: collection items, field labels, actions.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/DB.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

class TControlsForm : public TForm {
    ZX_CLASS(TControlsForm, TForm)
public:
    explicit TControlsForm(TComponent* AOwner) : TForm(AOwner) {
        ListView1 = AddControl<TListView>(this, "ListView1");
        for (const char* caption : {"Name", "Size"})
            static_cast<TListColumn*>(ListView1->Columns()->Add())->SetCaption(caption);
        DataSet1 = NewComponent<TDataSet>(this);
        DataSet1->SetName("DataSet1");
        Field1 = NewComponent<TStringField>(this);
        Field1->SetName("Field1");
        Field1->SetFieldName("CUSTNAME");
        Field1->SetDataSet(DataSet1);
        Actions = NewComponent<TActionList>(this);
        Actions->SetName("Actions");
        Action1 = NewComponent<TAction>(this);
        Action1->SetName("Action1");
        Action1->SetCaption("From action");
        Action1->SetHint("Action hint");
        Button1 = AddControl<TButton>(this, "Button1");
        Button1->SetAction(Action1);
    }

    TListView* ListView1;
    TDataSet* DataSet1;
    TStringField* Field1;
    TActionList* Actions;
    TAction* Action1;
    TButton* Button1;
};

class LangControls : public TLangFormTest<TControlsForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        Lang->SetNumLang(3);
        Lang->Collections()->Add(
            Line({"ListView1.Columns[1].Caption", "Size", "Groesse", "Taille"}));
        Lang->DisplayLabels()->Add(Line({"Field1", "Customer", "Kunde", "Client"}));
        Lang->Captions()->Add(Line({"Button1", "OK", "Gut", "Bien"}));
        Lang->Hints()->Add(Line({"Button1", "Press", "Druecken", "Appuyer"}));
    }
};

TEST_F(LangControls, SwitchesColumnsAndFieldLabelsAndBack) {
    Lang->SetActLang(2);
    EXPECT_EQ(Form->ListView1->Columns()->Items(1)->DisplayName(), "Groesse");
    EXPECT_EQ(Form->Field1->DisplayLabel(), "Kunde");

    Lang->SetActLang(3);
    EXPECT_EQ(Form->ListView1->Columns()->Items(1)->DisplayName(), "Taille");
    EXPECT_EQ(Form->Field1->DisplayLabel(), "Client");

    Lang->SetActLang(1);
    EXPECT_EQ(static_cast<TListColumn*>(Form->ListView1->Columns()->Items(1))->Caption(), "Size");
    EXPECT_EQ(Form->Field1->DisplayLabel(), "Customer");
}

TEST_F(LangControls, AControlWithAnActionKeepsTheActionsTexts) {
    Lang->SetActLang(3);
    EXPECT_EQ(Form->Button1->Caption(), "From action");
    EXPECT_EQ(Form->Button1->Hint(), "Action hint");
    EXPECT_EQ(Lang->Captions()->Count(), 0) << "its lines are dropped";
    EXPECT_EQ(Lang->Hints()->Count(), 0);
}

} // namespace
