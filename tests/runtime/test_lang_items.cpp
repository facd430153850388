// Tree-view and list-view items translated by TzxLangTLV: their lines,
// keyed by control name and item index, collected, applied, kept in form
// files and translation files, and followed when controls go.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "runtime/QzxLngTLV.h"

#include "clx/ComCtrls.h"
#include "clx/Forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using namespace zxtest;

using Texts = std::vector<AnsiString>;

std::vector<AnsiString> LinesOf(const TStrings* List) {
    std::vector<AnsiString> lines;
    for (Integer index = 0; index < List->Count(); ++index)
        lines.push_back(List->Get(index));
    return lines;
}

void SetLines(TzxLangTLV* Lang, std::initializer_list<AnsiString> Lines) {
    TStringList lines;
    for (const AnsiString& line : Lines)
        lines.Add(line);
    Lang->SetLVTVItems(&lines);
}

// The lines of every item of the fixture's controls in three languages.
const std::initializer_list<AnsiString> ThreeLanguages = {
    Line({"Tree1.Items[0].Text", "Files", "Dateien", "Fichiers"}),
    Line({"Tree1.Items[1].Text", "Open", "Oeffnen", "Ouvrir"}),
    Line({"Tree1.Items[2].Text", "Help", "Hilfe", "Aide"}),
    Line({"List1.Items[0].Caption", "Red", "Rot", "Rouge"}),
    Line({"List1.Items[1].Caption", "Green", "Gruen", "Vert"})};

// A form with a tree view of three nodes (Files with its child Open, then
// Help) and a list view of two items in two columns, and the component.
class ItemLang : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        InitQzxComp();
        InitQzxLngTLV();
        Form = NewForm<TForm>(nullptr);
        Form->SetName("Form1");
        Tree = AddControl<TTreeView>(Form, "Tree1");
        TTreeNode* files = Tree->Items()->Add(nullptr, "Files");
        Tree->Items()->AddChild(files, "Open");
        Tree->Items()->Add(files, "Help");
        List = AddControl<TListView>(Form, "List1");
        List->SetViewStyle(vsReport);
        List->Columns()->Add()->SetCaption("Colour");
        List->Columns()->Add()->SetCaption("Code");
        AddListItem("Red", "#f00");
        AddListItem("Green", "#0f0");
        Lang = NewComponent<TzxLangTLV>(Form);
        Lang->SetName("Lang");
    }
    void TearDown() override { delete Form; }

    void AddListItem(const AnsiString& Caption, const AnsiString& Code) {
        TListItem* item = List->Items()->Add();
        item->SetCaption(Caption);
        item->SubItems()->Add(Code);
    }
    Texts TreeTexts() const {
        Texts texts;
        for (Integer index = 0; index < Tree->Items()->Count(); ++index)
            texts.push_back(Tree->Items()->Item(index)->Text());
        return texts;
    }
    Texts ListCaptions() const {
        Texts captions;
        for (Integer index = 0; index < List->Items()->Count(); ++index)
            captions.push_back(List->Items()->Item(index)->Caption());
        return captions;
    }
    Texts ColumnCaptions() const {
        return {List->Columns()->Items(0)->Caption(), List->Columns()->Items(1)->Caption()};
    }
    std::vector<AnsiString> ItemLines() const { return LinesOf(Lang->ListView_TreeView_Items()); }

    TForm* Form = nullptr;
    TTreeView* Tree = nullptr;
    TListView* List = nullptr;
    TzxLangTLV* Lang = nullptr;
};

// ---------------------------------------------------------------------------
// Switching languages

TEST_F(ItemLang, CollectsEveryItemAndSwitchesThreeLanguagesForthAndBack) {
    Lang->SetNumLang(3);
    Lang->BuildList();
    EXPECT_EQ(ItemLines(),
              (std::vector<AnsiString>{Line({"Tree1.Items[0].Text", "Files", "", ""}),
                                       Line({"Tree1.Items[1].Text", "Open", "", ""}),
                                       Line({"Tree1.Items[2].Text", "Help", "", ""}),
                                       Line({"List1.Items[0].Caption", "Red", "", ""}),
                                       Line({"List1.Items[1].Caption", "Green", "", ""})}));
    // The columns are a collection: their captions travel in Collections.
    EXPECT_GE(Lang->Collections()->IndexOf(Line({"List1.Columns[0].Caption", "Colour", "", ""})),
              0);
    TStringList columns;
    columns.Add(Line({"List1.Columns[0].Caption", "Colour", "Farbe", "Couleur"}));
    columns.Add(Line({"List1.Columns[1].Caption", "Code", "Kode", "Code"}));
    Lang->SetCollections(&columns);
    SetLines(Lang, ThreeLanguages);

    Lang->SetActLang(2);
    EXPECT_EQ(TreeTexts(), (Texts{"Dateien", "Oeffnen", "Hilfe"}));
    EXPECT_EQ(ListCaptions(), (Texts{"Rot", "Gruen"}));
    EXPECT_EQ(ColumnCaptions(), (Texts{"Farbe", "Kode"}));
    Lang->SetActLang(3);
    EXPECT_EQ(TreeTexts(), (Texts{"Fichiers", "Ouvrir", "Aide"}));
    EXPECT_EQ(ListCaptions(), (Texts{"Rouge", "Vert"}));
    EXPECT_EQ(ColumnCaptions(), (Texts{"Couleur", "Code"}));
    Lang->SetActLang(1);
    EXPECT_EQ(TreeTexts(), (Texts{"Files", "Open", "Help"}));
    EXPECT_EQ(ListCaptions(), (Texts{"Red", "Green"}));
    EXPECT_EQ(ColumnCaptions(), (Texts{"Colour", "Code"}));
    Lang->SetActLang(2);
    EXPECT_EQ(TreeTexts(), (Texts{"Dateien", "Oeffnen", "Hilfe"}));
    EXPECT_EQ(List->Items()->Item(0)->SubItems()->Text(), "#f00\n")
        << "sub-items are not translated";
    EXPECT_EQ(LinesOf(Lang->ListView_TreeView_Items()), std::vector<AnsiString>(ThreeLanguages))
        << "switching at run time changes no line";
}

TEST_F(ItemLang, ReadsEachLanguagesValueFromItsOwnColumn) {
    Lang->SetNumLang(3);
    SetLines(Lang, {Line({"Tree1.Items[0].Text", "Files", "", "Fichiers"})});
    Lang->SetActLang(3);
    EXPECT_EQ(TreeTexts()[0], "Fichiers");
    Lang->SetActLang(2);
    EXPECT_EQ(TreeTexts()[0], "Fichiers") << "an empty value keeps the caption";
}

TEST_F(ItemLang, AnEmptyValueKeepsTheCaptionUnlessTheDefaultIsAsked) {
    Lang->SetNumLang(2);
    SetLines(Lang, {Line({"Tree1.Items[0].Text", "Files", ""}),
                    Line({"List1.Items[0].Caption", "Red", "Rot"})});
    Tree->Items()->Item(0)->SetText("Changed");
    Lang->SetActLang(2);
    EXPECT_EQ(TreeTexts()[0], "Changed");
    EXPECT_EQ(ListCaptions()[0], "Rot");
    Lang->TranslateType = ttGetDefault;
    Lang->ChangeLanguage();
    EXPECT_EQ(TreeTexts()[0], "Files");
}

TEST_F(ItemLang, TestModeShowsAnUntranslatedItemInTheFirstLanguageUpperCased) {
    auto* dispatcher = NewComponent<TzxLangDispatcher>(Form);
    dispatcher->SetNumOfLanguages(2);
    Lang->SetLangDispatcher(dispatcher);
    SetLines(Lang, {Line({"Tree1.Items[0].Text", "Files", ""}),
                    Line({"Tree1.Items[1].Text", "Open", "Oeffnen"})});
    dispatcher->SetTestMode(true);
    dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(TreeTexts(), (Texts{"FILES", "Oeffnen", "Help"}));
}

TEST_F(ItemLang, MatchesItemsByIndex) {
    Lang->SetNumLang(2);
    SetLines(Lang, {Line({"List1.Items[0].Caption", "Red", "Rot"}),
                    Line({"List1.Items[1].Caption", "Green", "Gruen"})});
    List->Items()->Insert(0)->SetCaption("Blue");
    Lang->SetActLang(2);
    EXPECT_EQ(ListCaptions(), (Texts{"Rot", "Gruen", "Green"}));
}

TEST_F(ItemLang, KeysAreFoundWhateverTheirCase) {
    Lang->SetNumLang(2);
    SetLines(Lang, {Line({"TREE1.items[2].TEXT", "Help", "Hilfe"})});
    Lang->SetActLang(2);
    EXPECT_EQ(TreeTexts()[2], "Hilfe");
}

TEST_F(ItemLang, LinesOfMissingItemsOrOfOtherShapesChangeNothingAndRaiseNothing) {
    Lang->SetNumLang(2);
    Lang->DoRaiseExceptions = true;
    SetLines(Lang, {Line({"Tree1.Items[7].Text", "Seven", "Sieben"}),
                    Line({"Tree1.Items[-1].Text", "Minus", "Minus"}),
                    Line({"Tree1.Items[x].Text", "X", "Ix"}),
                    Line({"Tree1.Items[0].Caption", "Files", "Dateien"}),
                    Line({"List1.Items[2].Caption", "Blue", "Blau"}),
                    Line({"List1.Items[1].Text", "Green", "Gruen"}),
                    Line({"Ghost.Items[0].Text", "Boo", "Buh"}), "Tree1.Items[1].Text", "",
                    Line({"Tree1.Items[2].Text", "Help", "Hilfe"})});
    EXPECT_NO_THROW(Lang->SetActLang(2));
    EXPECT_EQ(TreeTexts(), (Texts{"Files", "Open", "Hilfe"}));
    EXPECT_EQ(ListCaptions(), (Texts{"Red", "Green"}));

    Tree->Items()->Clear();
    List->Items()->Clear();
    EXPECT_NO_THROW(Lang->SetActLang(1));
    EXPECT_EQ(Lang->ListView_TreeView_Items()->Count(), 10) << "the lines stay for later items";
}

TEST_F(ItemLang, SettingTheLinesAppliesEveryKindAndEveryListSetterAppliesTheItems) {
    Lang->SetNumLang(2);
    TStringList hints;
    hints.Add(Line({"Tree1", "Folders", "Ordner"}));
    Lang->SetHints(&hints);
    Lang->SetActLang(2);
    EXPECT_EQ(Tree->Hint(), "Ordner");
    Tree->SetHint("Set by the program");
    SetLines(Lang, {Line({"List1.Items[1].Caption", "Green", "Gruen"})});
    EXPECT_EQ(ListCaptions(), (Texts{"Red", "Gruen"}));
    EXPECT_EQ(Tree->Hint(), "Ordner") << "the item lines' setter applies every kind";

    List->Items()->Item(1)->SetCaption("Mine");
    Tree->SetHint("Again");
    Lang->SetHints(&hints);
    EXPECT_EQ(Tree->Hint(), "Ordner");
    EXPECT_EQ(ListCaptions()[1], "Gruen") << "another list's setter applies the items too";
}

TEST_F(ItemLang, OnChangeLanguageSeesTheItemsInTheNewLanguage) {
    Lang->SetNumLang(2);
    SetLines(Lang, {Line({"Tree1.Items[0].Text", "Files", "Dateien"})});
    Texts seen;
    Lang->OnChangeLanguage = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Lang);
        seen.push_back(Tree->Items()->Item(0)->Text());
    };
    Lang->SetActLang(2);
    Lang->SetActLang(1);
    EXPECT_EQ(seen, (Texts{"Dateien", "Files"}));
}

TEST_F(ItemLang, DoNotTranslateLeavesAControlsItemsAlone) {
    Lang->SetNumLang(2);
    TStringList doNot;
    doNot.Add("List1");
    Lang->SetDoNotList(&doNot);
    Lang->BuildList();
    for (const AnsiString& line : ItemLines())
        EXPECT_TRUE(line.starts_with("Tree1.")) << line;
    SetLines(Lang, ThreeLanguages);
    Lang->SetActLang(2);
    EXPECT_EQ(ListCaptions(), (Texts{"Red", "Green"}));
    EXPECT_EQ(TreeTexts()[0], "Dateien");
}

TEST_F(ItemLang, ItemsOfAnUnnamedControlGetNoLines) {
    auto* unnamed = NewComponent<TTreeView>(Form);
    unnamed->Items()->Add(nullptr, "Anonymous");
    Lang->BuildList();
    EXPECT_EQ(ItemLines().size(), 5u);
    for (const AnsiString& line : ItemLines())
        EXPECT_FALSE(line.starts_with(".")) << line;
}

TEST_F(ItemLang, AComponentWithoutOwnerCollectsAndAppliesNothing) {
    std::unique_ptr<TzxLangTLV> alone(NewComponent<TzxLangTLV>(nullptr));
    alone->SetNumLang(2);
    alone->BuildList();
    EXPECT_EQ(alone->ListView_TreeView_Items()->Count(), 0);
    TStringList lines;
    lines.Add(Line({"Tree1.Items[0].Text", "Files", "Dateien"}));
    alone->SetLVTVItems(&lines);
    alone->SetActLang(2);
    EXPECT_EQ(TreeTexts()[0], "Files");
    EXPECT_EQ(alone->ListView_TreeView_Items()->Count(), 1);
}

// ---------------------------------------------------------------------------
// Collecting

TEST_F(ItemLang, CollectingAtRunTimeAddsLinesForNewItemsButChangesNone) {
    Lang->SetNumLang(2);
    Lang->BuildList();
    Tree->Items()->Item(0)->SetText("Changed");
    Tree->Items()->Add(nullptr, "New");
    Lang->BuildList();
    EXPECT_EQ(ItemLines(), (std::vector<AnsiString>{Line({"Tree1.Items[0].Text", "Files", ""}),
                                                    Line({"Tree1.Items[1].Text", "Open", ""}),
                                                    Line({"Tree1.Items[2].Text", "Help", ""}),
                                                    Line({"List1.Items[0].Caption", "Red", ""}),
                                                    Line({"List1.Items[1].Caption", "Green", ""}),
                                                    Line({"Tree1.Items[3].Text", "New", ""})}));
}

TEST_F(ItemLang, AnItemWithALineOfAnotherShapeGetsItsOwnLine) {
    SetLines(Lang, {Line({"Tree1.Items[0].Caption", "Stray"})});
    Lang->BuildList();
    EXPECT_EQ(ItemLines()[0], Line({"Tree1.Items[0].Caption", "Stray"}));
    EXPECT_EQ(ItemLines()[1], Line({"Tree1.Items[0].Text", "Files"}));
}

class ItemLangDesigning : public ItemLang {
protected:
    void SetUp() override {
        ItemLang::SetUp();
        Form->SetDesigning(true);
        Lang->SetNumLang(3);
    }
};

TEST_F(ItemLangDesigning, CollectingInTheSecondLanguageWritesNewItemsIntoTheFirst) {
    SetLines(Lang, {Line({"Tree1.Items[0].Text", "Files", "Dateien", ""}),
                    Line({"Tree1.Items[1].Text", "Open", "", ""})});
    Lang->SetActLang(2);
    EXPECT_EQ(TreeTexts(), (Texts{"Dateien", "Open", "Help"}));
    EXPECT_EQ(ItemLines()[2], Line({"Tree1.Items[2].Text", "Help", "", ""}))
        << "the switch first collects in the language it leaves";

    Tree->Items()->Add(nullptr, "Extra");
    Tree->Items()->Item(0)->SetText("Ordner");
    Tree->Items()->Item(1)->SetText("Oeffnen");
    Lang->BuildList();
    EXPECT_EQ(ItemLines(),
              (std::vector<AnsiString>{Line({"Tree1.Items[0].Text", "Files", "Ordner", ""}),
                                       Line({"Tree1.Items[1].Text", "Open", "", ""}),
                                       Line({"Tree1.Items[2].Text", "Help", "", ""}),
                                       Line({"List1.Items[0].Caption", "Red", "", ""}),
                                       Line({"List1.Items[1].Caption", "Green", "", ""}),
                                       Line({"Tree1.Items[3].Text", "Extra", "", ""})}))
        << "a new item's caption is the first language's; a shown translation takes the "
           "caption; an empty translation is not filled and the first language keeps its text";

    Lang->SetActLang(1);
    EXPECT_EQ(TreeTexts(), (Texts{"Files", "Open", "Help", "Extra"}));
    Tree->Items()->Item(1)->SetText("Open...");
    Lang->BuildList();
    EXPECT_EQ(ItemLines()[1], Line({"Tree1.Items[1].Text", "Open...", "", ""}));
    EXPECT_EQ(ItemLines()[0], Line({"Tree1.Items[0].Text", "Files", "Ordner", ""}));
}

TEST_F(ItemLangDesigning, SwitchingBackAndForthKeepsEveryLanguage) {
    SetLines(Lang, ThreeLanguages);
    // Language 2 lacks the first node: after language 3 the node still
    // shows the French text, which belongs to no other language.
    Lang->ReplaceStringValue(*Lang->ListView_TreeView_Items(), u"", u"Tree1.Items[0].Text", 2);
    const std::vector<AnsiString> before = ItemLines();
    for (Integer language : {3, 2, 1, 3, 1, 2, 1}) {
        Lang->SetActLang(language);
        EXPECT_EQ(ListCaptions()[1], GetLineField(before[4], language, D)) << language;
    }
    EXPECT_EQ(TreeTexts(), (Texts{"Files", "Open", "Help"}));
    EXPECT_EQ(ItemLines(), before);
}

// ---------------------------------------------------------------------------
// Removed and renamed controls, the line helpers

TEST_F(ItemLang, ARemovedControlTakesItsLinesAlongAtRunTime) {
    Lang->SetNumLang(2);
    SetLines(Lang, {Line({"List1.Items[0].Caption", "Red", "Rot"}),
                    Line({"Tree1.Items[0].Text", "Files", "Dateien"}),
                    Line({"List1.Items[1].Caption", "Green", "Gruen"}),
                    Line({"List10.Items[0].Caption", "Blue", "Blau"})});
    delete List;
    EXPECT_EQ(ItemLines(),
              (std::vector<AnsiString>{Line({"Tree1.Items[0].Text", "Files", "Dateien"}),
                                       Line({"List10.Items[0].Caption", "Blue", "Blau"})}));
}

TEST_F(ItemLang, ARemovedControlTakesItsLinesAlongAtDesignTime) {
    Form->SetDesigning(true);
    SetLines(Lang,
             {Line({"Tree1.Items[0].Text", "Files"}), Line({"List1.Items[0].Caption", "Red"})});
    delete Tree;
    EXPECT_EQ(ItemLines(), (std::vector<AnsiString>{Line({"List1.Items[0].Caption", "Red"})}));
}

TEST_F(ItemLang, RenamingAControlRenamesItsItemKeys) {
    SetLines(Lang, {Line({"Tree1.Items[0].Text", "Files"}), Line({"Tree10.Items[0].Text", "X"})});
    Lang->ComponentRenamed(u"Tree1", u"Folders");
    EXPECT_EQ(ItemLines(), (std::vector<AnsiString>{Line({"Folders.Items[0].Text", "Files"}),
                                                    Line({"Tree10.Items[0].Text", "X"})}));
}

TEST_F(ItemLang, FindsAndDeletesLinesByTheirItemPrefix) {
    SetLines(Lang, {Line({"Tree1.Items[10].Text", "Ten"}), Line({"Tree1.Items[1].Text", "One"}),
                    Line({"Tree1.Items[1].Text", "Again"})});
    EXPECT_TRUE(Lang->IsCompIncluded("Tree1.Items[1]"));
    EXPECT_TRUE(Lang->IsCompIncluded("Tree1"));
    EXPECT_FALSE(Lang->IsCompIncluded("Tree1.Items[2]"));
    EXPECT_FALSE(Lang->IsCompIncluded("Tree1.Items[1")) << "the prefix ends at a point";
    EXPECT_FALSE(Lang->IsCompIncluded("tree1.Items[1]")) << "the test is case-sensitive";
    Lang->DeleteLine("Tree1.Items[1]");
    EXPECT_EQ(ItemLines(), (std::vector<AnsiString>{Line({"Tree1.Items[10].Text", "Ten"}),
                                                    Line({"Tree1.Items[1].Text", "Again"})}));
    Lang->DeleteLine("Tree1.Items[5]");
    EXPECT_EQ(ItemLines().size(), 2u);
}

// ---------------------------------------------------------------------------
// Form files and translation files

TEST_F(ItemLang, AFormFileKeepsTheItemLinesAndTheLoadedFormSwitches) {
    Lang->SetNumLang(3);
    SetLines(Lang, ThreeLanguages);
    TTempDir directory;
    const AnsiString binaryFile = directory.File("items.xfm");
    const AnsiString textFile = directory.File("items.txt");
    WriteComponentResFile(binaryFile, Form);
    SaveComponentToTextFile(textFile, Form);
    for (const AnsiString& file : {binaryFile, textFile}) {
        std::unique_ptr<TComponent> read(LoadComponentFromFile(file));
        ASSERT_NE(read, nullptr) << file;
        auto* readLang = dynamic_cast<TzxLangTLV*>(read->FindComponent("Lang"));
        auto* readTree = dynamic_cast<TTreeView*>(read->FindComponent("Tree1"));
        ASSERT_NE(readLang, nullptr) << file;
        ASSERT_NE(readTree, nullptr) << file;
        EXPECT_EQ(LinesOf(readLang->ListView_TreeView_Items()),
                  std::vector<AnsiString>(ThreeLanguages))
            << file;
        readLang->SetActLang(3);
        EXPECT_EQ(readTree->Items()->Item(1)->Text(), "Ouvrir") << file;
    }
}

// Sorted: a text file holds its keys in order.
std::vector<AnsiString> SortedLines(const TStrings* List) {
    std::vector<AnsiString> lines = LinesOf(List);
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST_F(ItemLang, TranslationFilesCarryTheItemLines) {
    Lang->SetNumLang(3);
    SetLines(Lang, ThreeLanguages);
    const std::vector<AnsiString> expected = SortedLines(Lang->ListView_TreeView_Items());
    TTempDir directory;
    for (const char* name : {"items.zxl", "items.ZXB"}) {
        const WideString file = UTF8Decode(directory.File(name));
        Lang->SaveAllToFile(file, u"~!@#");
        // Loading drops the lines of controls the form does not have.
        TForm* other = NewForm<TForm>(nullptr);
        AddControl<TTreeView>(other, "Tree1");
        AddControl<TListView>(other, "List1");
        auto* copy = NewComponent<TzxLangTLV>(other);
        copy->SetNumLang(3);
        copy->LoadAllFromFile(file, true);
        EXPECT_EQ(SortedLines(copy->ListView_TreeView_Items()), expected) << name;
        delete other;
    }
    const WideString single = UTF8Decode(directory.File("single.zxl"));
    Lang->SaveToFile(stListView_TreeView_Items, single, u"~!@#");
    Lang->ListView_TreeView_Items()->Clear();
    EXPECT_EQ(Lang->LoadFromFile(stListView_TreeView_Items, single, true), 5);
    EXPECT_EQ(SortedLines(Lang->ListView_TreeView_Items()), expected);
}

// ---------------------------------------------------------------------------
// The class

TEST_F(ItemLang, HandlesAllTwelveKinds) {
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        EXPECT_NE(Lang->GetPropListByType(static_cast<TStringsType>(kind)), nullptr) << kind;
    EXPECT_EQ(Lang->GetPropListByType(stListView_TreeView_Items), Lang->ListView_TreeView_Items());
}

TEST(ItemLangClass, IsRegisteredForStreamingOnce) {
    InitQzxLngTLV();
    InitQzxLngTLV();
    EXPECT_EQ(GetClass("TzxLangTLV"), TzxLangTLV::StaticClass());
}

TEST(ItemLangClass, RefusesASecondTranslationComponentOnItsForm) {
    TForm* form = NewForm<TForm>(nullptr);
    NewComponent<TzxLang>(form);
    EXPECT_EQ(MessageOf<Exception>([&] { NewComponent<TzxLangTLV>(form); }),
              "Only one TzxCustomLang component per Form/DataModule allowed!");
    delete form;
}

} // namespace
