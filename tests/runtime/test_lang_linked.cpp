// The linked translation component: dialog texts and locales taken from a
// common container on another form, in the component's own delimiter.
#include "LangTestSupport.h"

#include "runtime/QzxLngLnk.h"

#include "clx/Forms.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

constexpr char D2 = '\2';

// Reads the form text into a new form that is designing when Designing.
TForm* ReadForm(const AnsiString& Text, bool Designing = false) {
    TForm* form = NewForm<TForm>(nullptr);
    if (Designing)
        form->SetDesigning(true);
    ReadFormText(Text, form);
    return form;
}

const char* const LinkedFormText = "object Form2: TForm\n"
                                   "  object zxLangLinked1: TzxLangLinked\n"
                                   "    NumOfLanguages = 2\n"
                                   "    LangDelim = 2\n"
                                   "    CommonContainer = Form1.zxLang1\n"
                                   "  end\n"
                                   "end\n";

class LinkedLang : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        InitQzxComp();
        InitQzxLngLnk();
        Form1 = NewForm<TForm>(nullptr);
        Form1->SetName("Form1");
        Container = NewComponent<TzxLang>(Form1);
        Container->SetName("zxLang1");
        Container->SetNumLang(2);
        TStringList dialogs;
        dialogs.Add(Line({"Confirm", "Confirm", "Bestaetigen"}));
        dialogs.Add(Line({"Yes", "&Yes", "&Ja"}));
        Container->SetDlgsCaptions(&dialogs);
        Container->Locales()->Add(Line({"Decimal Separator", ".", ","}));
    }
    void TearDown() override {
        delete Form2;
        delete Form1;
    }

    TzxLangLinked* Linked() const {
        return dynamic_cast<TzxLangLinked*>(Form2->FindComponent("zxLangLinked1"));
    }

    TForm* Form1 = nullptr;
    TForm* Form2 = nullptr;
    TzxLang* Container = nullptr;
};

TEST_F(LinkedLang, TakesTheContainersDialogTextsAndLocalesWhenLoadedInItsOwnDelimiter) {
    Form2 = ReadForm(LinkedFormText);
    ASSERT_NE(Linked(), nullptr);
    EXPECT_EQ(Linked()->CommonContainer(), Container);
    ASSERT_EQ(Linked()->DlgsCaptions()->Count(), 2);
    EXPECT_EQ(Linked()->DlgsCaptions()->Get(1), AnsiString("Yes") + D2 + "&Yes" + D2 + "&Ja" + D2);
    ASSERT_EQ(Linked()->Locales()->Count(), 1);
    EXPECT_EQ(Linked()->Locales()->Get(0),
              AnsiString("Decimal Separator") + D2 + "." + D2 + "," + D2);
    EXPECT_EQ(Container->DlgsCaptions()->Get(1), Line({"Yes", "&Yes", "&Ja"}))
        << "the container keeps its own delimiter";
}

TEST_F(LinkedLang, LaterChangesOfTheContainerDoNotReachTheCopy) {
    Form2 = ReadForm(LinkedFormText);
    Container->DlgsCaptions()->Add(Line({"Warning", "Warning", "Warnung"}));
    EXPECT_EQ(Linked()->DlgsCaptions()->Count(), 2);
}

TEST_F(LinkedLang, ForgetsAContainerThatIsDestroyedAndKeepsItsCopy) {
    Form2 = ReadForm(LinkedFormText);
    delete Form1;
    Form1 = nullptr;
    EXPECT_EQ(Linked()->CommonContainer(), nullptr);
    EXPECT_EQ(Linked()->DlgsCaptions()->Count(), 2);
    Linked()->SetActLang(2);
    EXPECT_EQ(Linked()->ActiveLanguage(), 2);
}

TEST_F(LinkedLang, CanBeDestroyedBeforeItsContainer) {
    Form2 = ReadForm(LinkedFormText);
    delete Form2;
    Form2 = nullptr;
    TStringList dialogs;
    Container->SetDlgsCaptions(&dialogs);
    EXPECT_EQ(Container->DlgsCaptions()->Count(), 0);
}

TEST_F(LinkedLang, DropsTheDialogTextsAndLocalesAtDesignTime) {
    Form2 = ReadForm(LinkedFormText, true);
    EXPECT_EQ(Linked()->CommonContainer(), Container);
    EXPECT_EQ(Linked()->DlgsCaptions()->Count(), 0);
    EXPECT_EQ(Linked()->Locales()->Count(), 0);
}

TEST_F(LinkedLang, KeepsTheDefaultDialogTextsWithoutAContainer) {
    Form2 = ReadForm("object Form2: TForm\n"
                     "  object zxLangLinked1: TzxLangLinked\n"
                     "  end\n"
                     "end\n");
    EXPECT_EQ(Linked()->CommonContainer(), nullptr);
    ASSERT_EQ(Linked()->DlgsCaptions()->Count(), 11);
    EXPECT_EQ(Linked()->DlgsCaptions()->Get(6), Line({"Yes", "&Yes"}));
}

TEST_F(LinkedLang, TakesAContainerSetAtRunTimeAtOnce) {
    Form2 = NewForm<TForm>(nullptr);
    auto* linked = NewComponent<TzxLangLinked>(Form2);
    linked->SetLangDelim(2);
    linked->SetCommonContainer(Container);
    EXPECT_EQ(linked->CommonContainer(), Container);
    ASSERT_EQ(linked->DlgsCaptions()->Count(), 2);
    EXPECT_EQ(linked->DlgsCaptions()->Get(0),
              AnsiString("Confirm") + D2 + "Confirm" + D2 + "Bestaetigen" + D2);
}

TEST_F(LinkedLang, RefusesItselfAsContainer) {
    Form2 = NewForm<TForm>(nullptr);
    auto* linked = NewComponent<TzxLangLinked>(Form2);
    linked->SetCommonContainer(linked);
    EXPECT_EQ(linked->CommonContainer(), nullptr);
    EXPECT_EQ(linked->DlgsCaptions()->Count(), 11);
    linked->SetCommonContainer(Container);
    linked->SetCommonContainer(linked);
    EXPECT_EQ(linked->CommonContainer(), Container);
}

TEST_F(LinkedLang, MovesToAnotherContainerAndOnlyTheNewOneIsWatched) {
    Form2 = NewForm<TForm>(nullptr);
    auto* linked = NewComponent<TzxLangLinked>(Form2);
    linked->SetCommonContainer(Container);
    TForm* form3 = NewForm<TForm>(nullptr);
    auto* other = NewComponent<TzxLang>(form3);
    linked->SetCommonContainer(other);
    EXPECT_EQ(linked->DlgsCaptions()->Count(), 11) << "the new container's default lines";
    delete Form1;
    Form1 = nullptr;
    EXPECT_EQ(linked->CommonContainer(), other);
    delete form3;
    EXPECT_EQ(linked->CommonContainer(), nullptr);
}

TEST_F(LinkedLang, HandlesNineKindsAndWritesItsContainerAsAReference) {
    Form2 = ReadForm(LinkedFormText);
    TzxLangLinked* linked = Linked();
    for (TStringsType kind : {stDlgsCaptions, stLocales, stListView_TreeView_Items})
        EXPECT_EQ(linked->GetPropListByType(kind), nullptr) << kind;
    EXPECT_EQ(linked->GetPropListByType(stCaptions), linked->Captions());
    EXPECT_EQ(linked->GetPropListByType(stCollections), linked->Collections());
    EXPECT_EQ(GetPropInfo(linked, "ExtendedTranslations"), nullptr);

    TMemoryStream binary;
    WriteComponent(binary, Form2);
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    EXPECT_NE(text.DataString().find("CommonContainer = Form1.zxLang1"), AnsiString::npos);
}

TEST(LinkedLangCreation, IsRegisteredForStreamingOnce) {
    InitQzxLngLnk();
    InitQzxLngLnk();
    EXPECT_EQ(GetClass("TzxLangLinked"), TzxLangLinked::StaticClass());
}

} // namespace
