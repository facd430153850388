// The common controls as plain models, without a QApplication: properties
// by name as the translation engine reads and writes them, collections of
// columns, panels and sections, list items with sub-items, tree nodes added,
// deleted and walked, pages, progress and tool buttons.
#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class ComCtrlsModelTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        Form = NewComponent<TForm>(nullptr);
    }
    void TearDown() override { delete Form; }

    template <typename T> T* Make(const AnsiString& Name) {
        T* control = NewComponent<T>(Form);
        control->SetName(Name);
        control->SetParent(Form);
        return control;
    }

    TForm* Form = nullptr;
};

// The collector of collections: every published collection of a component,
// every string property of its items.
std::vector<AnsiString> CollectionTexts(TComponent* Component) {
    std::vector<AnsiString> texts;
    for (PPropInfo info : GetPropList(Component, TTypeKinds{tkClass}, false)) {
        auto* collection = dynamic_cast<TCollection*>(GetObjectProp(Component, info));
        if (!collection)
            continue;
        for (Integer index = 0; index < collection->Count(); ++index)
            for (PPropInfo item : GetPropList(collection->Items(index), TTypeKinds{tkLString}))
                texts.push_back(
                    Format("%s.%s[%d].%s=%s", {Component->Name(), info->Name, index, item->Name,
                                               GetStrProp(collection->Items(index), item)}));
    }
    return texts;
}

TEST_F(ComCtrlsModelTest, ColumnsPanelsAndSectionsAreCollectionsOfTranslatableTexts) {
    auto* list = Make<TListView>("Files");
    list->Columns()->Add()->SetCaption("Name");
    list->Columns()->Add()->SetCaption("Size");
    auto* status = Make<TStatusBar>("Status");
    status->Panels()->Add()->SetText("Ready");
    auto* header = Make<THeaderControl>("Header");
    header->Sections()->Add()->SetText("First");

    EXPECT_EQ(CollectionTexts(list), (std::vector<AnsiString>{"Files.Columns[0].Caption=Name",
                                                              "Files.Columns[1].Caption=Size"}));
    EXPECT_EQ(CollectionTexts(status), std::vector<AnsiString>{"Status.Panels[0].Text=Ready"});
    EXPECT_EQ(CollectionTexts(header), std::vector<AnsiString>{"Header.Sections[0].Text=First"});

    // Applying a language writes through the same properties.
    SetStrProp(list->Columns()->Items(1), "Caption", "Größe");
    EXPECT_EQ(list->Columns()->Items(1)->Caption(), "Größe");
    SetStrProp(status->Panels()->Items(0), "Text", "Bereit");
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "Bereit");
}

TEST_F(ComCtrlsModelTest, ItemDefaultsAreThePlatformsSoFormFilesLeaveThemOut) {
    auto* list = Make<TListView>("List");
    TListColumn* column = list->Columns()->Add();
    EXPECT_EQ(GetOrdProp(column, "Width"), 50);
    EXPECT_EQ(GetEnumProp(column, "Alignment"), "taLeftJustify");
    EXPECT_EQ(GetOrdProp(column, "AutoSize"), 0);
    auto* status = Make<TStatusBar>("Status");
    TStatusPanel* panel = status->Panels()->Add();
    EXPECT_EQ(GetOrdProp(panel, "Width"), 50);
    EXPECT_EQ(GetEnumProp(panel, "Style"), "psText");
    EXPECT_EQ(status->Align(), alBottom);
    EXPECT_EQ(*GetPropInfo(status, "Align")->Default, alBottom);
    EXPECT_EQ(GetEnumProp(list, "ViewStyle"), "vsIcon");
    EXPECT_EQ(GetOrdProp(list, "ColumnClick"), 1);
    // Items travel as defined data, not as published item properties.
    EXPECT_EQ(GetObjectProp(list, "Items"), list->Items());
}

TEST_F(ComCtrlsModelTest, HeaderSectionWidthsStayWithinTheirLimits) {
    auto* header = Make<THeaderControl>("Header");
    THeaderSection* first = header->Sections()->Add();
    THeaderSection* second = header->Sections()->Add();
    first->SetWidth(80);
    second->SetMinWidth(30);
    second->SetMaxWidth(60);
    second->SetWidth(10);
    EXPECT_EQ(second->Width(), 30);
    second->SetWidth(100);
    EXPECT_EQ(second->Width(), 60);
    EXPECT_EQ(second->Left(), 80);
    second->SetMaxWidth(40);
    EXPECT_EQ(second->Width(), 40);
}

TEST_F(ComCtrlsModelTest, ListItemsKeepCaptionsAndSubItemsByIndex) {
    auto* list = Make<TListView>("List");
    TListItem* first = list->Items()->Add();
    first->SetCaption("readme.txt");
    first->SubItems()->Add("12 KB");
    first->SubItems()->Add("Text");
    TListItem* inserted = list->Items()->Insert(0);
    inserted->SetCaption("a.out");
    ASSERT_EQ(list->Items()->Count(), 2);
    EXPECT_EQ((*list->Items())[0]->Caption(), "a.out");
    EXPECT_EQ(first->Index(), 1);
    EXPECT_EQ(first->SubItems()->CommaText(), "\"12 KB\",Text");
    EXPECT_EQ(first->ImageIndex(), 0);
    EXPECT_EQ(first->ListView(), list);

    list->Items()->Delete(0);
    EXPECT_EQ(first->Index(), 0);
    delete first;
    EXPECT_EQ(list->Items()->Count(), 0);
    EXPECT_EQ(zxtest::MessageOf<EListError>([&] { list->Items()->Item(0); }),
              "List index out of bounds (0)");
}

TEST_F(ComCtrlsModelTest, ListViewChangesReportTheItemAndWhatChanged) {
    auto* list = Make<TListView>("List");
    std::vector<std::pair<AnsiString, TItemChange>> changes;
    list->OnChange = [&](TObject*, TListItem* Item, TItemChange Change) {
        changes.emplace_back(Item->Caption(), Change);
    };
    TListItem* one = list->Items()->Add();
    one->SetCaption("one");
    TListItem* two = list->Items()->Add();
    two->SetCaption("two");
    two->SubItems()->Add("sub");
    one->SetSelected(true);
    two->SetSelected(true);
    EXPECT_FALSE(one->Selected()) << "one selection without MultiSelect";
    EXPECT_EQ(list->Selected(), two);
    using TChange = std::pair<AnsiString, TItemChange>;
    EXPECT_EQ(changes, (std::vector<TChange>{{"one", ctText},
                                             {"two", ctText},
                                             {"two", ctText},
                                             {"one", ctState},
                                             {"one", ctState},
                                             {"two", ctState}}));
    list->SetMultiSelect(true);
    list->SetSelected(nullptr);
    one->SetSelected(true);
    two->SetSelected(true);
    EXPECT_EQ(list->SelCount(), 2);
}

TEST_F(ComCtrlsModelTest, AssigningItemsCopiesThemIntoAnotherListView) {
    auto* source = Make<TListView>("Source");
    TListItem* item = source->Items()->Add();
    item->SetCaption("x");
    item->SubItems()->SetCommaText("1,2");
    item->SetChecked(true);
    auto* target = Make<TListView>("Target");
    target->Items()->Add()->SetCaption("old");
    target->SetItems(source->Items());
    ASSERT_EQ(target->Items()->Count(), 1);
    EXPECT_EQ(target->Items()->Item(0)->Caption(), "x");
    EXPECT_EQ(target->Items()->Item(0)->SubItems()->CommaText(), "1,2");
    EXPECT_TRUE(target->Items()->Item(0)->Checked());
    EXPECT_EQ(target->Items()->Item(0)->ListView(), target);
}

// A tree:  A (A1 (A1a), A2), B
class TreeNodesTest : public ComCtrlsModelTest {
protected:
    void SetUp() override {
        ComCtrlsModelTest::SetUp();
        Tree = Make<TTreeView>("Tree");
        TTreeNodes* nodes = Tree->Items();
        B = nodes->Add(nullptr, "B");
        A = nodes->AddFirst(B, "A");
        A2 = nodes->AddChild(A, "A2");
        A1 = nodes->AddChildFirst(A, "A1");
        A1a = nodes->AddChild(A1, "A1a");
    }

    std::vector<AnsiString> Walk() const {
        std::vector<AnsiString> texts;
        for (TTreeNode* node = Tree->Items()->GetFirstNode(); node; node = node->GetNext())
            texts.push_back(node->Text());
        return texts;
    }

    TTreeView* Tree = nullptr;
    TTreeNode* A = nullptr;
    TTreeNode* A1 = nullptr;
    TTreeNode* A1a = nullptr;
    TTreeNode* A2 = nullptr;
    TTreeNode* B = nullptr;
};

TEST_F(TreeNodesTest, NodesAreCountedAndIndexedInDepthFirstOrder) {
    TTreeNodes* nodes = Tree->Items();
    ASSERT_EQ(nodes->Count(), 5);
    std::vector<AnsiString> byIndex;
    for (Integer index = 0; index < nodes->Count(); ++index) {
        byIndex.push_back(nodes->Item(index)->Text());
        EXPECT_EQ(nodes->Item(index)->AbsoluteIndex(), index);
    }
    EXPECT_EQ(byIndex, (std::vector<AnsiString>{"A", "A1", "A1a", "A2", "B"}));
    EXPECT_EQ(Walk(), byIndex);
    EXPECT_EQ(A1a->GetPrev(), A1);
    EXPECT_EQ(A->Count(), 2);
    EXPECT_EQ(A->Item(1), A2);
    EXPECT_EQ(A->GetFirstChild(), A1);
    EXPECT_EQ(A->GetLastChild(), A2);
    EXPECT_EQ(A1->GetNextSibling(), A2);
    EXPECT_EQ(A2->GetNextSibling(), nullptr);
    EXPECT_EQ(A->GetNextSibling(), B);
    EXPECT_EQ(B->GetPrevSibling(), A);
    EXPECT_EQ(A1a->Parent(), A1);
    EXPECT_EQ(A1a->Level(), 2);
    EXPECT_EQ(A2->Index(), 1);
    EXPECT_TRUE(A->IsFirstNode());
    EXPECT_EQ(zxtest::MessageOf<EListError>([&] { A1a->Item(0); }), "List index out of bounds (0)");
}

TEST_F(TreeNodesTest, InsertPutsANodeBeforeItsSibling) {
    TTreeNode* between = Tree->Items()->Insert(A2, "between");
    TTreeNode* top = Tree->Items()->Insert(A, "top");
    EXPECT_EQ(Walk(), (std::vector<AnsiString>{"top", "A", "A1", "A1a", "between", "A2", "B"}));
    EXPECT_EQ(between->Parent(), A);
    EXPECT_EQ(top->Parent(), nullptr);
    EXPECT_EQ(Tree->Items()->Add(A1a, "A1b")->Parent(), A1);
    EXPECT_EQ(Tree->Items()->Item(4)->Text(), "A1b");
}

TEST_F(TreeNodesTest, DeletingANodeDeletesItsSubtreeAndTheSelectionWithIt) {
    A1a->SetSelected(true);
    EXPECT_EQ(Tree->Selected(), A1a);
    A1->Delete();
    EXPECT_EQ(Walk(), (std::vector<AnsiString>{"A", "A2", "B"}));
    EXPECT_EQ(Tree->Selected(), nullptr);
    EXPECT_EQ(A->Count(), 1);
    EXPECT_EQ(B->AbsoluteIndex(), 2);
    Tree->Items()->Delete(B);
    EXPECT_EQ(A->GetNextSibling(), nullptr);
    A->DeleteChildren();
    EXPECT_FALSE(A->HasChildren());
    Tree->Items()->Clear();
    EXPECT_EQ(Tree->Items()->Count(), 0);
    EXPECT_EQ(Tree->Items()->GetFirstNode(), nullptr);
}

TEST_F(TreeNodesTest, TranslatingNodeTextsByIndexReachesEveryNode) {
    // What applying a language does: Items[i].Text for every i.
    for (Integer index = 0; index < Tree->Items()->Count(); ++index) {
        TTreeNode* node = Tree->Items()->Item(index);
        node->SetText(node->Text() + "-de");
    }
    EXPECT_EQ(Walk(), (std::vector<AnsiString>{"A-de", "A1-de", "A1a-de", "A2-de", "B-de"}));
}

TEST_F(TreeNodesTest, SelectionAndExpansionFireTheirEvents) {
    std::vector<AnsiString> events;
    Tree->OnChange = [&](TObject*, TTreeNode* Node) {
        events.push_back("change " + (Node ? Node->Text() : AnsiString("nil")));
    };
    Tree->OnExpanded = [&](TObject*, TTreeNode* Node) { events.push_back("open " + Node->Text()); };
    Tree->OnCollapsed = [&](TObject*, TTreeNode* Node) {
        events.push_back("close " + Node->Text());
    };
    A2->SetSelected(true);
    A2->SetSelected(true);
    A->Expand(true);
    A1->Collapse(false);
    A2->SetSelected(false);
    EXPECT_EQ(events, (std::vector<AnsiString>{"change A2", "open A", "open A1", "open A1a",
                                               "open A2", "close A1", "change nil"}));
    auto* other = Make<TTreeView>("Other");
    TTreeNode* foreign = other->Items()->Add(nullptr, "x");
    EXPECT_NE(zxtest::MessageOf<EInvalidOperation>([&] { Tree->SetSelected(foreign); }),
              "no exception");
}

TEST_F(TreeNodesTest, AssignCopiesShapeTextsAndState) {
    A->SetExpanded(true);
    A1a->SetImageIndex(3);
    auto* copy = Make<TTreeView>("Copy");
    copy->SetItems(Tree->Items());
    ASSERT_EQ(copy->Items()->Count(), 5);
    EXPECT_EQ(copy->Items()->Item(2)->Parent(), copy->Items()->Item(1));
    EXPECT_EQ(copy->Items()->Item(2)->ImageIndex(), 3);
    EXPECT_TRUE(copy->Items()->Item(0)->Expanded());
    EXPECT_EQ(copy->Items()->Item(4)->Text(), "B");
}

TEST_F(ComCtrlsModelTest, PagesFollowTheirParentAndOneIsActive) {
    auto* pages = Make<TPageControl>("Pages");
    auto* first = NewComponent<TTabSheet>(Form);
    auto* second = NewComponent<TTabSheet>(Form);
    first->SetPageControl(pages);
    second->SetParent(pages);
    first->SetCaption("&General");
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), first);
    EXPECT_EQ(second->PageIndex(), 1);
    EXPECT_EQ(GetStrProp(first, "Caption"), "&General");

    second->SetPageIndex(0);
    EXPECT_EQ(pages->Pages(0), second);
    pages->SetActivePageIndex(0);
    EXPECT_EQ(pages->ActivePage(), second);
    second->SetTabVisible(false);
    EXPECT_EQ(pages->ActivePage(), first) << "a hidden tab gives the page up";

    delete first;
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->ActivePage(), second);
    second->SetParent(Form);
    EXPECT_EQ(pages->PageCount(), 0);
    EXPECT_EQ(pages->ActivePage(), nullptr);
    EXPECT_EQ(second->PageIndex(), -1);
    EXPECT_NE(zxtest::MessageOf<EInvalidOperation>([&] { pages->SetActivePage(second); }),
              "no exception");
}

TEST_F(ComCtrlsModelTest, FreeingAPageControlFreesItsPages) {
    auto* pages = Make<TPageControl>("Pages");
    NewComponent<TTabSheet>(Form)->SetPageControl(pages);
    NewComponent<TTabSheet>(Form)->SetPageControl(pages);
    Integer before = Form->ComponentCount();
    delete pages;
    EXPECT_EQ(Form->ComponentCount(), before - 3);
}

TEST_F(ComCtrlsModelTest, ProgressStaysInRangeAndStepsRoundAgain) {
    auto* progress = Make<TProgressBar>("Progress");
    progress->SetPosition(150);
    EXPECT_EQ(progress->Position(), 100);
    progress->SetMax(50);
    EXPECT_EQ(progress->Position(), 50);
    progress->SetMin(10);
    progress->SetPosition(35);
    progress->StepIt();
    EXPECT_EQ(progress->Position(), 45);
    progress->StepIt();
    EXPECT_EQ(progress->Position(), 10) << "past Max starts again at Min";
    progress->StepBy(-100);
    EXPECT_EQ(progress->Position(), 10);
    SetOrdProp(progress, "Step", 3);
    progress->StepIt();
    EXPECT_EQ(progress->Position(), 13);
}

TEST_F(ComCtrlsModelTest, ToolBarPlacesItsButtonsSideBySide) {
    auto* bar = Make<TToolBar>("Bar");
    auto* open = NewComponent<TToolButton>(Form);
    open->SetParent(bar);
    auto* separator = NewComponent<TToolButton>(Form);
    separator->SetStyle(tbsSeparator);
    separator->SetParent(bar);
    auto* save = NewComponent<TToolButton>(Form);
    save->SetParent(bar);
    bar->SetButtonWidth(30);
    EXPECT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Buttons(2), save);
    EXPECT_EQ(save->Index(), 2);
    EXPECT_EQ(open->BoundsRect(), Rect(0, 0, 30, 22));
    EXPECT_EQ(separator->BoundsRect(), Rect(30, 0, 38, 22));
    EXPECT_EQ(save->BoundsRect(), Rect(38, 0, 68, 22));
    separator->SetVisible(false);
    EXPECT_EQ(save->Left(), 30) << "a hidden button leaves no gap";
    separator->SetVisible(true);
    delete open;
    EXPECT_EQ(separator->Left(), 0);
}

TEST_F(ComCtrlsModelTest, GroupedCheckButtonsKeepOneDown) {
    auto* bar = Make<TToolBar>("Bar");
    std::vector<TToolButton*> buttons;
    for (int index = 0; index < 4; ++index) {
        auto* button = NewComponent<TToolButton>(Form);
        button->SetStyle(tbsCheck);
        button->SetGrouped(index < 3);
        button->SetParent(bar);
        buttons.push_back(button);
    }
    buttons[3]->SetDown(true);
    buttons[0]->SetDown(true);
    buttons[1]->SetDown(true);
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_TRUE(buttons[3]->Down()) << "not of the group";
}

TEST_F(ComCtrlsModelTest, ToolBarImagesIsAnImageListReferenceClearedWhenTheListGoes) {
    auto* bar = Make<TToolBar>("Bar");
    PPropInfo info = GetPropInfo(bar, "Images");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->PropType->Name, "TCustomImageList");
    EXPECT_EQ(GetObjectPropClass(info), TCustomImageList::StaticClass());

    auto* other = Make<TToolBar>("Other");
    SetObjectProp(bar, "Images", other);
    EXPECT_EQ(bar->Images(), nullptr) << "only an image list is stored";

    auto* images = NewComponent<TImageList>(Form);
    SetObjectProp(bar, "Images", images);
    EXPECT_EQ(bar->Images(), images);
    auto* replaced = NewComponent<TImageList>(Form);
    bar->SetImages(replaced);
    delete images;
    EXPECT_EQ(bar->Images(), replaced) << "the list it no longer uses does not clear it";
    delete replaced;
    EXPECT_EQ(bar->Images(), nullptr);
}

TEST_F(ComCtrlsModelTest, EveryCommonControlIsCreatedByClassName) {
    for (const char* name : {"TPageControl", "TTabSheet", "TStatusBar", "THeaderControl",
                             "TListView", "TTreeView", "TProgressBar", "TToolBar", "TToolButton"}) {
        TComponent* component = CreateComponent(name, Form);
        ASSERT_NE(component, nullptr) << name;
        EXPECT_EQ(component->ClassName(), name);
    }
}

} // namespace
