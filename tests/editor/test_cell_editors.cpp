// The editor's cell editors, the exclusion rules, the Extended tab's tree
// and the language fonts, driven on the demo's main form and on a form of
// hostile components.
#include "EditorTestSupport.h"

#include "editor/Q_deffonts.h"
#include "editor/QzxExclAction.h"
#include "editor/QzxMultilineEdit.h"
#include "editor/QzxSetEdit.h"

#include <QtGui/QImage>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QTableView>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

void DoubleClickCell(TStringGrid& Grid, Integer ACol, Integer ARow) {
    auto* view = qobject_cast<QTableView*>(Grid.Handle());
    QPoint at = view->visualRect(view->model()->index(ARow, ACol)).center();
    QMouseEvent click(QEvent::MouseButtonDblClick, at, view->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &click);
}

std::vector<AnsiString> Children(TTreeNode* Node) {
    std::vector<AnsiString> texts;
    for (TTreeNode* child = Node->GetFirstChild(); child; child = child->GetNextSibling())
        texts.push_back(child->Text());
    return texts;
}

TTreeNode* TopNode(const TTreeView& Tree, const AnsiString& Text) {
    for (TTreeNode* node = Tree.Items()->GetFirstNode(); node; node = node->GetNextSibling())
        if (node->Text() == Text)
            return node;
    return nullptr;
}

std::vector<AnsiString> Lines(const TStrings& List) {
    std::vector<AnsiString> lines;
    for (Integer index = 0; index < List.Count(); ++index)
        lines.push_back(List.Get(index));
    return lines;
}

bool Has(const std::vector<AnsiString>& Texts, const AnsiString& Text) {
    return std::find(Texts.begin(), Texts.end(), Text) != Texts.end();
}

using CellEditors = TDemoEditorTest;

// Objects a property walk must survive: one that holds itself, an endless
// chain of new objects, a getter that raises, a collection of 10,000.
class TLoop : public TPersistent {
    ZX_CLASS(TLoop, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TLoop>& P) {
        P.ReadOnly("Again", &TLoop::Again);
        P.ReadOnly("Value", &TLoop::Value);
    }
    TLoop* Again() { return this; }
    Integer Value() const { return 1; }
};

class TLink : public TPersistent {
    ZX_CLASS(TLink, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TLink>& P) {
        P.ReadOnly("Next", &TLink::Next);
    }
    TLink* Next() {
        if (!FNext)
            FNext = std::make_unique<TLink>();
        return FNext.get();
    }

private:
    std::unique_ptr<TLink> FNext;
};

class THostileItem : public TCollectionItem {
    ZX_CLASS(THostileItem, TCollectionItem)
public:
    explicit THostileItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static void PublishedProperties(TPropertyBuilder<THostileItem>& P) {
        P.ReadOnly("Value", &THostileItem::Value);
    }
    Integer Value() const { return 2; }
};

class THostile : public TComponent {
    ZX_CLASS(THostile, TComponent)
public:
    explicit THostile(TComponent* AOwner) : TComponent(AOwner) {
        for (Integer index = 0; index < 10000; ++index)
            FItems.Add();
    }
    static void PublishedProperties(TPropertyBuilder<THostile>& P) {
        P.ReadOnly("Broken", &THostile::Broken);
        P.ReadOnly("Chain", &THostile::Chain);
        P.ReadOnly("Items", &THostile::Items);
        P.ReadOnly("Loop", &THostile::Loop);
    }
    TLoop* Broken() { throw Exception("the getter fails"); }
    TLink* Chain() { return &FChain; }
    TCollection* Items() { return &FItems; }
    TLoop* Loop() { return &FLoop; }

private:
    TLink FChain;
    TCollection FItems{THostileItem::StaticClass()};
    TLoop FLoop;
};

TEST(ExtendedTree, HostilePropertiesNeitherCrashNorHangTheWalk) {
    TComponent owner(nullptr);
    owner.SetName("HostileForm");
    NewComponent<THostile>(&owner)->SetName("Hostile");
    auto* lang = NewComponent<TzxLang>(&owner);
    lang->SetName("Lang");
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    dialogs.AnswerModal(mrNone, [&](TCustomForm& Window) {
        auto& form = dynamic_cast<TzxTransEditFrm&>(Window);
        TTreeNode* hostile = TopNode(*form.tvExtended, "Hostile");
        ASSERT_NE(hostile, nullptr);
        const std::vector<AnsiString> children = Children(hostile);
        EXPECT_FALSE(Has(children, "Broken"));
        EXPECT_TRUE(Has(children, "Items[0]") && Has(children, "Items[9999]"));
        EXPECT_EQ(children.size(), 10003u); // Chain, Items[i], Loop, Tag
        TTreeNode* loop = hostile->Item(hostile->Count() - 2);
        EXPECT_EQ(loop->Text(), "Loop");
        EXPECT_EQ(Children(loop), std::vector<AnsiString>{"Value"});
        Integer depth = 0;
        for (TTreeNode* link = hostile->GetFirstChild(); link; link = link->GetFirstChild())
            ++depth;
        EXPECT_LT(depth, 10);
        ClickItem(form, "miClose");
    });
    TransEditorDlg(lang, stCaptions, 0, {sfFull, sfDesignTime});
    EXPECT_EQ(dialogs.PendingAnswers(), 0);
}
const TShowFlags DesignFull{sfFull, sfSelected, sfDesignTime};

TEST_F(CellEditors, TheComboOverAFontsCellWritesTheChosenFont) {
    AnsiString key;
    EXPECT_TRUE(Edit(stFonts, DesignFull, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        grid.SetRow(1);
        grid.SetCol(2);
        TComboBox* combo = Form.InplaceCombo();
        ASSERT_NE(combo, nullptr);
        EXPECT_TRUE(combo->Visible());
        EXPECT_EQ(combo->Left(), grid.Left() + grid.CellRect(2, 1).Left + 1);
        EXPECT_EQ(combo->Top(), grid.Top() + grid.CellRect(2, 1).Top);
        Application->ProcessMessages();
        Form.Handle()->grab().toImage().save(
            QString::fromStdString(TestOutputDir() + "/editor-fonts-combo.png"));
        auto* box = qobject_cast<QComboBox*>(combo->Handle());
        const int index = combo->Items()->IndexOf("DejaVu Serif");
        ASSERT_GE(index, 0);
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
        EXPECT_EQ(grid.Cells(2, 1), "DejaVu Serif");
        key = grid.Cells(0, 1);
        EXPECT_TRUE(Form.Modified());
        PressKey(*combo, Qt::Key_Tab);
        EXPECT_FALSE(combo->Visible());
        Dialogs.Answer(mrYes);
        ClickItem(Form, "miClose");
    }));
    TzxTranslationLine line(Lang->GetPropListByType(stFonts)->Get(0), '\1');
    EXPECT_EQ(line.Key(), key);
    EXPECT_EQ(line.Value(2), "DejaVu Serif");
}

TEST_F(CellEditors, TheMultilineEditorRoundTripsThreeLinesAndAsksBeforeDiscarding) {
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        grid.SetRow(1);
        grid.SetCol(1);
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Window) {
            auto& editor = dynamic_cast<TzxMultilineEditForm&>(Window);
            EXPECT_EQ(editor.Caption(), "Input new value for " + grid.Cells(0, 1) + "property");
            editor.Memo->SetText("one\ntwo\nthree");
            EXPECT_EQ(editor.lbLines->Caption(), "3 lines");
            editor.btnOK->Click();
        });
        ClickItem(Form, "miMultiline");
        EXPECT_EQ(grid.Cells(1, 1), "one\ntwo\nthree");

        Dialogs.AnswerModal(mrCancel, [&](TCustomForm& Window) {
            dynamic_cast<TzxMultilineEditForm&>(Window).Memo->SetText("changed");
        });
        Dialogs.Answer(mrNo);     // keep the window open
        Dialogs.Answer(mrCancel); // close it again
        Dialogs.Answer(mrYes);    // discard
        ClickItem(Form, "miMultiline");
        EXPECT_EQ(Dialogs.Requests()[Dialogs.Requests().size() - 2].Text,
                  "Close editor without saving changes?");
        EXPECT_EQ(grid.Cells(1, 1), "one\ntwo\nthree");
        // Unchanged text closes without a question.
        Dialogs.AnswerModal(mrCancel, [](TCustomForm&) {});
        ClickItem(Form, "miMultiline");
        EXPECT_NE(Dialogs.Requests().back().Text, "Close editor without saving changes?");
        Dialogs.Answer(mrNo);
        ClickItem(Form, "miClose");
    });
}

TEST_F(CellEditors, TheSetEditorListsTheSetTypeAndWritesTheSetAsTheRuntimeReadsIt) {
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
    item->SetIdentifier("NameLabel.Font.Style");
    item->SetPropertyType(tkSet);
    item->SetValues(Line({"[fsBold]", "", ""}));
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        ChooseTab(*Form.tabsTranslations, 1);
        TStringGrid& grid = *Form.Grid1;
        Integer row = 1;
        while (row < grid.RowCount() - 1 && grid.Cells(0, row) != "NameLabel.Font.Style")
            ++row;
        grid.SetRow(row);
        grid.SetCol(1);
        Dialogs.AnswerModal(mrOk, [&](TCustomForm& Window) {
            TCheckListBox& list = *dynamic_cast<TzxSetEditForm&>(Window).CheckList;
            ASSERT_EQ(list.Items()->CommaText(), "fsBold,fsItalic,fsUnderline,fsStrikeOut");
            EXPECT_TRUE(list.Checked(0));
            EXPECT_FALSE(list.Checked(1));
            list.SetChecked(3, true);
        });
        DoubleClickCell(grid, 1, row);
        EXPECT_EQ(grid.Cells(1, row), "fsBold,fsStrikeOut");
        Dialogs.Answer(mrYes);
        ClickItem(Form, "miClose");
    });
    TLabel& label = Named<TLabel>(*Lang->Owner(), "NameLabel");
    Lang->SetPropValueByPath(u"NameLabel.Font.Style", UTF8Decode(Line({"fsBold,fsStrikeOut"})));
    Lang->ChangeLanguage();
    EXPECT_EQ(label.Font()->Style(), (TFontStyles{fsBold, fsStrikeOut}));
}

TEST_F(CellEditors, EachExclusionRuleRemovesExactlyItsLines) {
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        TzxCustomLang& copy = *Form.WorkingCopy();
        auto list = [&](TStringsType Kind) { return copy.GetPropListByType(Kind); };
        list(stOtherStrings)->SetText(Line({"Edit1.Name", "x"}) + "\n" +
                                      Line({"Edit1.Text", "y"}));
        copy.ExcludedProperties()->Add("Font");
        Form.CheckExcludedProps();
        EXPECT_EQ(list(stFonts)->Count(), 0);
        EXPECT_EQ(list(stCharSets)->Count(), 0);
        ASSERT_EQ(list(stOtherStrings)->Count(), 1);
        EXPECT_EQ(list(stOtherStrings)->Get(0), Line({"Edit1.Text", "y"}));

        TStrings& captions = *list(stCaptions);
        captions.SetText(Line({"Button1", "a"}) + "\n" + Line({"Button1.Sub", "b"}) + "\n" +
                         Line({"Button10", "c"}) + "\n" + Line({"button1", "d"}));
        Form.CheckDontTranslate("Button1");
        EXPECT_EQ(Lines(captions), (std::vector{Line({"Button10", "c"}), Line({"button1", "d"})}));
        captions.SetText(Line({"Edit1", "a"}) + "\n" + Line({"Edit1", "b"}));
        Form.CheckSmartExcludes("Edit1", "Caption");
        EXPECT_EQ(Lines(captions), std::vector{Line({"Edit1", "a"})});

        SelectNode(Form, "Collections");
        TStrings& collections = *list(stCollections);
        collections.SetText(Line({"List.Columns[0].Caption", "a"}) + "\n" +
                            Line({"List.Columns[1].Caption", "b"}) + "\n" +
                            Line({"List.Items[0].Caption", "c"}));
        Form.CheckSmartExcludes("List", "Columns");
        EXPECT_EQ(Lines(collections), std::vector{Line({"List.Items[0].Caption", "c"})});

        TExclActionForm& dialog = *NewForm<TExclActionForm>(&Form);
        Dialogs.AnswerModal(mrOk, [](TCustomForm& Window) {
            dynamic_cast<TExclActionForm&>(Window).rgAction->SetItemIndex(2);
        });
        EXPECT_EQ(dialog.Dialog("Caption", "Edit1", 0), eaAll);
        EXPECT_EQ(dialog.rgAction->Items()->Get(0), "Exclude \"Caption\" property for Edit1");
        EXPECT_EQ(dialog.Caption(), Form.Caption());
        Dialogs.Answer(mrCancel);
        EXPECT_EQ(dialog.Dialog("Caption", "Edit1", 1), eaUndefined);
        ClickItem(Form, "miClose");
    });
}

TEST_F(CellEditors, TheExtendedTreeOfTheDemoListsWhatTheFiltersLeave) {
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        TTreeView& tree = *Form.tvExtended;
        std::vector<AnsiString> names;
        for (TTreeNode* node = tree.Items()->GetFirstNode(); node; node = node->GetNextSibling())
            names.push_back(node->Text());
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const auto& A, const auto& B) {
            return AnsiCompareText(A, B) < 0;
        }));
        EXPECT_TRUE(Has(names, "TMainForm") && Has(names, "NameLabel") && Has(names, "OrdersList"));
        for (const char* absent : {"Lang", "FieldLabel", "Placement"})
            EXPECT_FALSE(Has(names, absent)) << absent;
        const std::vector<AnsiString> label = Children(TopNode(tree, "NameLabel"));
        EXPECT_FALSE(Has(label, "Caption"));
        EXPECT_TRUE(Has(label, "Font"));
        const std::vector<AnsiString> orders = Children(TopNode(tree, "OrdersList"));
        EXPECT_TRUE(Has(orders, "Columns[0]") && Has(orders, "Columns[2]"));
        EXPECT_FALSE(Has(orders, "Columns") || Has(orders, "PopupMenu"));
        EXPECT_TRUE(Has(Children(TopNode(tree, "ShippingCombo")), "Items"));
        EXPECT_FALSE(Has(Children(TopNode(tree, "LanguageCombo")), "Items"));
        // The Exclude command rebuilds it from the working copy, which has
        // no owner: the edited form is walked all the same.
        const Integer count = tree.Items()->Count();
        Form.BuildExtendedTree(Form.WorkingCopy());
        EXPECT_EQ(tree.Items()->Count(), count);
        ClickItem(Form, "miClose");
    });
}

TEST_F(CellEditors, LanguageColumnsAreDrawnInTheirDefaultFonts) {
    DoneQ_deffonts();
    InitQzxTransEditor();
    ASSERT_NE(DefFontsList, nullptr);
    DefFontsList->Clear();
    DefFontsList->AddDefFontItem("Русский", "DejaVu Serif", RUSSIAN_CHARSET);
    DefFontsList->AddDefFontItem("Ελληνικά", "DejaVu Sans Mono", GREEK_CHARSET);
    Lang->LangNames()->Add("Ελληνικά");
    Lang->SetNumLang(4);
    Edit(stStrings, DesignFull, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        for (Integer row = 1; row < grid.RowCount(); ++row)
            grid.SetCells(4, row, "Καλημέρα κόσμε " + IntToStr(row));
        auto font = [&](Integer ACol) {
            AnsiString name;
            Byte charset = 0;
            Form.GetFontSettings(ACol, 1, name, charset);
            return std::pair{name, Integer(charset)};
        };
        EXPECT_EQ(font(3), std::pair(AnsiString("DejaVu Serif"), Integer(RUSSIAN_CHARSET)));
        EXPECT_EQ(font(4), std::pair(AnsiString("DejaVu Sans Mono"), Integer(GREEK_CHARSET)));
        EXPECT_EQ(font(2), std::pair(AnsiString(), Integer(UNICODE_CHARSET)));
        grid.SetColWidths(3, 200);
        grid.SetColWidths(4, 200);
        Form.SetWidth(1050);
        Application->ProcessMessages();
        QImage picture = Form.Handle()->grab().toImage();
        EXPECT_TRUE(picture.save(
            QString::fromStdString(TestOutputDir() + "/editor-russian-greek-fonts.png")));
        ClickItem(Form, "miClose");
    });
    DefFontsList->Clear();
}

} // namespace
