// Item controls as plain models, without a QApplication: the adapter model
// over a source of items, list boxes whose current item and selections
// follow their items, tree nodes with their sibling positions, events that
// may refuse, sorting, state images in form files, and the small controls
// and dragging that need no widget.
#include "clx/CheckLst.h"
#include "clx/ComCtrls.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"
#include "clx/ItemModel.h"
#include "rtl/Filer.h"
#include "rtl/FormText.h"

#include "TestSupport.h"

#include <QtGui/QImage>

#include <gtest/gtest.h>

namespace {

// --- The adapter model over a source of its own

class TWordsSource : public TItemSource {
public:
    std::vector<std::string> Words{"one", "two", "three"};

    Integer ItemCount(void* Parent) const override {
        return Parent ? 0 : static_cast<Integer>(Words.size());
    }
    QVariant ItemData(const QModelIndex& Index, int Role) const override {
        if (Role != Qt::DisplayRole)
            return {};
        return QString::fromStdString(Words[static_cast<std::size_t>(Index.row())]);
    }
};

// What the model told its views, in order.
std::vector<std::string> Record(TItemModel& Model) {
    auto* log = new std::vector<std::string>;
    QObject::connect(&Model, &QAbstractItemModel::dataChanged, &Model,
                     [log](const QModelIndex& First, const QModelIndex& Last) {
                         log->push_back("changed " + std::to_string(First.row()) + "-" +
                                        std::to_string(Last.row()));
                     });
    QObject::connect(&Model, &QAbstractItemModel::rowsInserted, &Model,
                     [log](const QModelIndex&, int First, int Last) {
                         log->push_back("inserted " + std::to_string(First) + "-" +
                                        std::to_string(Last));
                     });
    QObject::connect(&Model, &QAbstractItemModel::rowsRemoved, &Model,
                     [log](const QModelIndex&, int First, int Last) {
                         log->push_back("removed " + std::to_string(First) + "-" +
                                        std::to_string(Last));
                     });
    QObject::connect(&Model, &QAbstractItemModel::modelReset, &Model,
                     [log] { log->push_back("reset"); });
    QObject::connect(&Model, &QObject::destroyed, [log] { delete log; });
    Model.setProperty("log", QVariant::fromValue(reinterpret_cast<quintptr>(log)));
    return {};
}

const std::vector<std::string>& Log(TItemModel& Model) {
    return *reinterpret_cast<std::vector<std::string>*>(
        Model.property("log").value<quintptr>());
}

TEST(ItemModelTest, TellsOneItemAtATimeAndABatchAsOneReset) {
    TWordsSource source;
    TItemModel model(source, nullptr);
    Record(model);
    EXPECT_EQ(model.rowCount(QModelIndex()), 3);
    EXPECT_EQ(model.data(model.RowIndex(1), Qt::DisplayRole).toString(), QString("two"));
    EXPECT_FALSE(model.RowIndex(3).isValid());
    EXPECT_FALSE(model.hasChildren(model.RowIndex(0))) << "list items have no children";

    source.Words[1] = "TWO";
    model.ItemChanged(nullptr, 1);
    model.BeginInsert(nullptr, 0);
    source.Words.insert(source.Words.begin(), "zero");
    model.EndInsert();
    model.BeginRemove(nullptr, 3);
    source.Words.pop_back();
    model.EndRemove();
    EXPECT_EQ(Log(model), (std::vector<std::string>{"changed 1-1", "inserted 0-0", "removed 3-3"}));

    model.BeginReset();
    model.BeginReset();
    model.ItemChanged(nullptr, 0);
    model.BeginInsert(nullptr, 0);
    source.Words.insert(source.Words.begin(), "minus");
    model.EndInsert();
    model.EndReset();
    EXPECT_EQ(Log(model).size(), 3u) << "nothing is told inside the batch";
    model.EndReset();
    EXPECT_EQ(Log(model).back(), "reset");
    EXPECT_EQ(model.rowCount(QModelIndex()), 4);

    model.EndReset();
    EXPECT_EQ(Log(model).size(), 5u) << "an unpaired end resets all the same";
    model.Detach();
    EXPECT_EQ(model.rowCount(QModelIndex()), 0);
    EXPECT_FALSE(model.data(model.RowIndex(0), Qt::DisplayRole).isValid());
}

// --- Controls on a form, no widgets

class ItemControlsModelTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        Form = NewComponent<TForm>(nullptr);
        Form->SetName("ItemsForm");
    }
    void TearDown() override { delete Form; }

    template <typename T> T* Make(const AnsiString& Name = AnsiString()) {
        T* control = NewComponent<T>(Form);
        if (!Name.empty())
            control->SetName(Name);
        control->SetParent(Form);
        return control;
    }

    TForm* Form = nullptr;
};

TEST_F(ItemControlsModelTest, ListBoxCurrentItemAndSelectionsFollowTheirItems) {
    auto* list = Make<TListBox>();
    list->Items()->SetCommaText("a,b,c,d");
    list->SetItemIndex(2);
    list->Items()->Insert(0, "first");
    EXPECT_EQ(list->ItemIndex(), 3);
    list->Items()->Put(3, "C");
    EXPECT_EQ(list->ItemIndex(), 3);
    list->Items()->Delete(0);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->Items()->Delete(2);
    EXPECT_EQ(list->ItemIndex(), -1) << "the current item went";

    list->Items()->SetCommaText("a,b,c,d");
    list->SetMultiSelect(true);
    list->SetSelected(1, true);
    list->SetSelected(3, true);
    list->Items()->Insert(2, "new");
    EXPECT_TRUE(list->Selected(1));
    EXPECT_FALSE(list->Selected(2));
    EXPECT_TRUE(list->Selected(4));
    list->Items()->Delete(1);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_TRUE(list->Selected(3));

    list->InvertSelection();
    EXPECT_EQ(list->SelCount(), 3);
    EXPECT_FALSE(list->Selected(3));
    list->SelectAll();
    EXPECT_EQ(list->SelCount(), 4);
    list->Items()->Clear();
    EXPECT_EQ(list->SelCount(), 0);
    EXPECT_THROW(list->Selected(0), EListError);
}

TEST_F(ItemControlsModelTest, ListBoxSortsAtRunTimeAndFindsItemsByPosition) {
    auto* list = Make<TListBox>();
    list->Items()->SetCommaText("pear,apple,fig");
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->CommaText(), "apple,fig,pear");
    list->SetSorted(false);
    list->Items()->Add("banana");
    EXPECT_EQ(list->Items()->CommaText(), "apple,fig,pear,banana") << "unsorted again keeps order";

    list->SetStyle(lbOwnerDrawVariable);
    list->OnMeasureItem = [](TWinControl*, Integer Index, Integer& Height) {
        Height = 10 * (Index + 1);
    };
    EXPECT_EQ(list->ItemAtPos({5, 5}, true), 0);
    EXPECT_EQ(list->ItemAtPos({5, 29}, true), 1);
    EXPECT_EQ(list->ItemAtPos({5, 30}, true), 2);
    EXPECT_EQ(list->ItemAtPos({5, 99}, true), 3);
    EXPECT_EQ(list->ItemAtPos({5, 100}, true), -1);
    EXPECT_EQ(list->ItemAtPos({5, 100}, false), 4);
    EXPECT_EQ(list->ItemRect(2).Top, 30);
    list->SetTopIndex(1);
    EXPECT_EQ(list->TopIndex(), 1);
    EXPECT_EQ(list->ItemAtPos({5, 5}, true), 1);
}

TEST_F(ItemControlsModelTest, CheckListStatesStayWithTheirItems) {
    auto* list = Make<TCheckListBox>();
    list->Items()->SetCommaText("a,b,c");
    list->SetChecked(1, true);
    list->Items()->Insert(0, "z");
    list->Items()->Delete(1);
    list->Items()->Move(1, 2);
    EXPECT_EQ(list->Items()->CommaText(), "z,c,b");
    EXPECT_TRUE(list->Checked(2));
    EXPECT_FALSE(list->Checked(1));
}

TEST_F(ItemControlsModelTest, TreeNodesKnowTheirSiblingPositionsThroughEveryChange) {
    auto* tree = Make<TTreeView>();
    TTreeNodes& nodes = *tree->Items();
    TTreeNode* root = nodes.Add(nullptr, "root");
    TTreeNode* b = nodes.AddChild(root, "b");
    TTreeNode* d = nodes.AddChild(root, "d");
    TTreeNode* a = nodes.AddChildFirst(root, "a");
    TTreeNode* c = nodes.Insert(d, "c");
    EXPECT_EQ(a->Index(), 0);
    EXPECT_EQ(c->Index(), 2);
    EXPECT_EQ(d->Index(), 3);
    EXPECT_EQ(b->GetNextSibling(), c);
    EXPECT_EQ(c->GetPrevSibling(), b);
    b->Delete();
    EXPECT_EQ(c->Index(), 1);
    EXPECT_EQ(a->GetNextSibling(), c);
    EXPECT_EQ(d->GetNextSibling(), nullptr);

    d->SetText("A2");
    c->SetText("b");
    nodes.AddChild(c, "y");
    nodes.AddChild(c, "x");
    root->AlphaSort(false);
    EXPECT_EQ(root->Item(1), d) << "A2 sorts after a";
    EXPECT_EQ(c->Item(0)->Text(), "y") << "not recursive";
    tree->AlphaSort(true);
    EXPECT_EQ(c->Item(0)->Text(), "x");
    for (Integer index = 0; index < nodes.Count(); ++index)
        EXPECT_EQ(nodes.Item(index)->AbsoluteIndex(), index);
    EXPECT_EQ(nodes.Item(4)->Text(), "x") << "depth-first order follows the sort";
    tree->CustomSort([](TTreeNode* Node1, TTreeNode* Node2,
                        Integer Data) { return Data * AnsiCompareText(Node1->Text(), Node2->Text()); },
                     -1, true);
    EXPECT_EQ(root->Item(0), c);
    EXPECT_EQ(c->Item(0)->Text(), "y");

    EXPECT_FALSE(a->HasChildren());
    a->SetHasChildren(true);
    EXPECT_TRUE(a->HasChildren());
}

TEST_F(ItemControlsModelTest, TreeEventsMayRefuseAndDeletionTellsEveryNode) {
    auto* tree = Make<TTreeView>();
    TTreeNodes& nodes = *tree->Items();
    TTreeNode* first = nodes.Add(nullptr, "first");
    TTreeNode* child = nodes.AddChild(first, "child");
    nodes.AddChild(child, "grandchild");
    TTreeNode* second = nodes.Add(nullptr, "second");

    bool allowChange = true;
    std::vector<AnsiString> log;
    tree->OnChanging = [&](TObject*, TTreeNode* Node, bool& AllowChange) {
        log.push_back("changing " + (Node ? Node->Text() : AnsiString("none")));
        AllowChange = allowChange;
    };
    tree->OnChange = [&](TObject*, TTreeNode* Node) { log.push_back("change " + Node->Text()); };
    tree->SetSelected(first);
    allowChange = false;
    second->SetSelected(true);
    EXPECT_EQ(tree->Selected(), first);
    EXPECT_EQ(log, (std::vector<AnsiString>{"changing first", "change first", "changing second"}));

    first->Expand(true);
    tree->OnCollapsing = [](TObject*, TTreeNode*, bool& AllowCollapse) { AllowCollapse = false; };
    first->Collapse(false);
    tree->FullCollapse();
    EXPECT_TRUE(first->Expanded());
    EXPECT_TRUE(child->Expanded());

    log.clear();
    tree->OnDeletion = [&](TObject*, TTreeNode* Node) { log.push_back(Node->Text()); };
    first->Delete();
    EXPECT_EQ(log, (std::vector<AnsiString>{"grandchild", "child", "first"}));
    EXPECT_EQ(tree->Selected(), nullptr);
    nodes.Clear();
    EXPECT_EQ(log.back(), "second");
}

TEST_F(ItemControlsModelTest, StateImagesAndSortingOfListViews) {
    auto* list = Make<TListView>("Files");
    for (const char* caption : {"pear", "Apple", "fig"})
        list->Items()->Add()->SetCaption(caption);
    list->Items()->Item(0)->SetStateIndex(2);
    list->Items()->Item(1)->SetFocused(true);
    list->AlphaSort();
    EXPECT_EQ(list->Items()->Item(0)->Caption(), "Apple");
    EXPECT_EQ(list->Items()->Item(2)->StateIndex(), 2);
    list->CustomSort([](TListItem* Item1, TListItem* Item2,
                        Integer) { return Item2->Caption().size() < Item1->Caption().size() ? -1 : 1; },
                     0);
    EXPECT_EQ(list->Items()->Item(0)->Caption(), "Apple");
    EXPECT_EQ(list->Items()->Item(2)->Caption(), "fig");
    EXPECT_EQ(list->ItemFocused()->Caption(), "Apple");
    list->Items()->Item(0)->Delete();
    EXPECT_EQ(list->ItemFocused(), nullptr);

    std::vector<AnsiString> selections;
    list->OnSelectItem = [&](TObject*, TListItem* Item, bool Selected) {
        selections.push_back(Item->Caption() + (Selected ? "+" : "-"));
    };
    list->SetMultiSelect(true);
    list->SelectAll();
    list->Items()->Item(0)->SetSelected(false);
    list->InvertSelection();
    EXPECT_EQ(selections,
              (std::vector<AnsiString>{"pear+", "fig+", "pear-", "pear+", "fig-"}));

    auto* tree = Make<TTreeView>("Tree");
    tree->Items()->Add(nullptr, "node")->SetStateIndex(3);
    tree->Items()->Add(nullptr, "plain");
    TMemoryStream listData;
    list->Items()->WriteData(listData);
    TMemoryStream treeData;
    tree->Items()->WriteData(treeData);
    auto* listCopy = Make<TListView>();
    auto* treeCopy = Make<TTreeView>();
    listData.SetPosition(0);
    listCopy->Items()->ReadData(listData);
    treeData.SetPosition(0);
    treeCopy->Items()->ReadData(treeData);
    EXPECT_EQ(listCopy->Items()->Item(0)->StateIndex(), 2);
    EXPECT_EQ(listCopy->Items()->Item(1)->StateIndex(), -1);
    EXPECT_EQ(treeCopy->Items()->Item(0)->StateIndex(), 3);
    EXPECT_EQ(treeCopy->Items()->Item(1)->StateIndex(), -1);
}

TEST_F(ItemControlsModelTest, DraggingDropsOnlyWhereTheTargetAccepts) {
    auto* source = Make<TListBox>("Source");
    auto* refusing = Make<TListBox>("Refusing");
    auto* target = Make<TTreeView>("Target");
    std::vector<AnsiString> log;
    refusing->OnDragOver = [&](TObject*, TObject*, Integer, Integer, TDragState State,
                               bool& Accept) {
        log.push_back(State == dsDragLeave ? "refusing left" : "refusing asked");
        Accept = false;
    };
    refusing->OnDragDrop = [&](TObject*, TObject*, Integer, Integer) { log.push_back("wrong"); };
    target->OnDragOver = [&](TObject*, TObject* Source, Integer X, Integer, TDragState State,
                             bool& Accept) {
        log.push_back(State == dsDragEnter ? "enter" : "move");
        Accept = Source == source && X < 50;
    };
    target->OnDragDrop = [&](TObject*, TObject* Source, Integer X, Integer Y) {
        log.push_back("dropped " + static_cast<TComponent*>(Source)->Name() + " at " +
                      IntToStr(X) + "," + IntToStr(Y));
    };

    source->BeginDrag(false);
    TControl::DragTo(target, 1, 1);
    TControl::EndDrag(true);
    EXPECT_TRUE(log.empty()) << "a drag that waits for the mouse has not started";

    source->BeginDrag(true);
    EXPECT_TRUE(source->Dragging());
    TControl::DragTo(refusing, 1, 1);
    TControl::DragTo(target, 10, 20);
    TControl::DragTo(target, 80, 20);
    TControl::DragTo(target, 30, 40);
    TControl::EndDrag(true);
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(log, (std::vector<AnsiString>{"refusing asked", "refusing left", "enter", "move",
                                            "move", "dropped Source at 30,40"}));

    log.clear();
    source->BeginDrag(true);
    TControl::DragTo(target, 80, 20);
    TControl::EndDrag(true);
    source->BeginDrag(true);
    TControl::DragTo(target, 10, 20);
    delete target;
    TControl::EndDrag(true);
    EXPECT_EQ(log, (std::vector<AnsiString>{"enter", "enter"})) << "no drop without acceptance";
}

TEST_F(ItemControlsModelTest, TabsSpinsAndEditSelections) {
    auto* tabs = Make<TTabControl>();
    tabs->Tabs()->SetCommaText("One,Two,Three");
    tabs->SetTabIndex(2);
    tabs->SetTabIndex(5);
    EXPECT_EQ(tabs->TabIndex(), -1);
    tabs->SetTabIndex(2);
    tabs->Tabs()->Delete(2);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(tabs->ClientHeight(), tabs->Height() - tabs->TabHeight());

    auto* spin = Make<TSpinEdit>();
    Integer changes = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    spin->SetMinValue(5);
    EXPECT_EQ(spin->Value(), 5);
    spin->SetValue(500);
    EXPECT_EQ(spin->Value(), 100);
    spin->SetMaxValue(0);
    spin->SetMinValue(0);
    spin->SetValue(-7);
    EXPECT_EQ(spin->Value(), -7) << "no bounds when both are 0";
    EXPECT_EQ(changes, 4);

    auto* edit = Make<TEdit>();
    edit->SetText("Grüße");
    edit->SetSelStart(2);
    edit->SetSelLength(10);
    EXPECT_EQ(edit->SelLength(), 3);
    EXPECT_EQ(edit->SelText(), "üße");
    edit->SetText("ab");
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 0);
    auto* memo = Make<TMemo>();
    memo->Lines()->SetText("one\ntwo\n");
    memo->SelectAll();
    EXPECT_EQ(memo->SelText(), "one\ntwo");
}

TEST_F(ItemControlsModelTest, ImageListsMakeTheMaskColourTransparent) {
    auto* images = NewComponent<TImageList>(Form);
    images->SetWidth(2);
    images->SetHeight(1);
    TBitmap strip(4, 1);
    QImage pixels = strip.Image();
    pixels.setPixel(0, 0, qRgb(255, 0, 255));
    pixels.setPixel(1, 0, qRgb(1, 2, 3));
    pixels.setPixel(2, 0, qRgb(255, 0, 255));
    pixels.setPixel(3, 0, qRgb(255, 0, 254));
    strip.SetImage(pixels);
    EXPECT_EQ(images->AddMasked(&strip, TColor(0xFF00FF)), 0);
    ASSERT_EQ(images->Count(), 2);
    TBitmap image;
    images->GetBitmap(1, &image);
    EXPECT_EQ(qAlpha(image.Image().pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.Image().pixel(1, 0)), 255) << "a near colour stays";

    TBitmap mask(2, 1);
    QImage maskPixels = mask.Image();
    maskPixels.setPixel(0, 0, qRgb(0, 0, 0));
    mask.SetImage(maskPixels);
    TBitmap pair(2, 1);
    images->Add(&pair, &mask);
    images->GetBitmap(2, &image);
    EXPECT_EQ(qAlpha(image.Image().pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(image.Image().pixel(1, 0)), 0) << "white in the mask is transparent";
}

TEST_F(ItemControlsModelTest, NewControlsStreamInTextAndBinaryForms) {
    auto* tabs = Make<TTabControl>("Tabs");
    tabs->Tabs()->SetCommaText("One,Two");
    tabs->SetTabIndex(1);
    auto* spin = Make<TSpinEdit>("Spin");
    spin->SetMaxValue(50);
    spin->SetValue(40);
    Make<TPaintBox>("Paint")->SetBounds(1, 2, 30, 40);
    auto* list = Make<TListView>("List");
    auto* images = NewComponent<TImageList>(Form);
    images->SetName("Images");
    list->SetStateImages(images);

    TMemoryStream binary;
    WriteComponent(binary, Form);
    TMemoryStream text;
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    TMemoryStream back;
    text.SetPosition(0);
    ObjectTextToBinary(text, back);
    back.SetPosition(0);
    auto* read = static_cast<TForm*>(ReadComponent(back));
    auto* readTabs = dynamic_cast<TTabControl*>(read->FindComponent("Tabs"));
    ASSERT_NE(readTabs, nullptr);
    EXPECT_EQ(readTabs->Tabs()->CommaText(), "One,Two");
    EXPECT_EQ(readTabs->TabIndex(), 1);
    auto* readSpin = dynamic_cast<TSpinEdit*>(read->FindComponent("Spin"));
    ASSERT_NE(readSpin, nullptr);
    EXPECT_EQ(readSpin->Value(), 40);
    EXPECT_EQ(readSpin->MaxValue(), 50);
    auto* readPaint = dynamic_cast<TPaintBox*>(read->FindComponent("Paint"));
    ASSERT_NE(readPaint, nullptr);
    EXPECT_EQ(readPaint->Height(), 40);
    auto* readList = dynamic_cast<TListView*>(read->FindComponent("List"));
    ASSERT_NE(readList->StateImages(), nullptr);
    EXPECT_EQ(readList->StateImages()->Name(), "Images");
    delete images;
    EXPECT_EQ(list->StateImages(), nullptr);
    delete read;
}

} // namespace
