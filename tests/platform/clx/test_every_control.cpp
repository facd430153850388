// A hand-written form file holding one component of every class a form can
// hold: it loads, every class is there, the translatable texts read back by
// name, the form shows and paints, and saving it twice gives the same text.
#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/DB.h"
#include "clx/Dialogs.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"
#include "rtl/Filer.h"

#include "ClxTestSupport.h"
#include "TestSupport.h"

#include <QtGui/QImage>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <set>

namespace {

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

const AnsiString EveryControlFile = AnsiString(ZX_EVERY_CONTROL_DATA_DIR) + "/every_control.xfm";

// Every class the file holds, each registered for form files.
const std::vector<AnsiString> EveryControlClass = {
    "TLabel",    "TButton",     "TEdit",          "TMemo",         "TCheckBox",  "TRadioButton",
    "TGroupBox", "TComboBox",   "TListBox",       "TCheckListBox", "TBitBtn",    "TSpeedButton",
    "TPanel",    "TRadioGroup", "TImage",         "TSplitter",     "TBevel",     "TPageControl",
    "TTabSheet", "TStatusBar",  "THeaderControl", "TListView",     "TTreeView",  "TProgressBar",
    "TToolBar",  "TToolButton", "TMainMenu",      "TMenuItem",     "TPopupMenu", "TActionList",
    "TAction",   "TDataSet",    "TStringField",   "TImageList",    "TTabControl", "TSpinEdit",
    "TPaintBox", "TStringGrid", "TDrawGrid",   "TOpenDialog", "TSaveDialog",  "TFindDialog",
};

std::multiset<AnsiString> ClassesOwnedBy(TComponent* Owner) {
    std::multiset<AnsiString> classes;
    for (Integer index = 0; index < Owner->ComponentCount(); ++index)
        classes.insert(Owner->Components(index)->ClassName());
    return classes;
}

void ExpectEveryClassOnce(TComponent* Form) {
    std::multiset<AnsiString> held = ClassesOwnedBy(Form);
    for (const AnsiString& name : EveryControlClass) {
        EXPECT_NE(GetClass(name), nullptr) << name << " is not registered";
        EXPECT_GT(held.count(name), 0u) << "no " << name << " on the form";
    }
    std::set<AnsiString> listed(EveryControlClass.begin(), EveryControlClass.end());
    for (const AnsiString& name : held)
        EXPECT_EQ(listed.count(name), 1u) << name << " is missing from the table";
}

AnsiString FileText(const AnsiString& FileName) {
    TStringList text;
    text.LoadFromFile(FileName);
    return text.Text();
}

class EveryControlTest : public testing::Test {
protected:
    void SetUp() override {
        Form = NewComponent<TForm>(nullptr);
        LoadComponentFromFile(EveryControlFile, Form);
    }
    void TearDown() override { delete Form; }

    TComponent* Find(const AnsiString& Name) {
        TComponent* component = Form->FindComponent(Name);
        EXPECT_NE(component, nullptr) << Name;
        return component;
    }
    TCollectionItem* CollectionItem(const AnsiString& Owner, const AnsiString& Property,
                                    Integer Index) {
        auto* collection = dynamic_cast<TCollection*>(GetObjectProp(Find(Owner), Property));
        EXPECT_NE(collection, nullptr) << Owner << "." << Property;
        EXPECT_LT(Index, collection->Count());
        return collection->Items(Index);
    }

    TForm* Form = nullptr;
};

TEST_F(EveryControlTest, TheFileHoldsEveryClassOfTheTable) {
    EXPECT_EQ(Form->Name(), "EveryControlForm");
    ExpectEveryClassOnce(Form);
}

TEST_F(EveryControlTest, TextsAndLinksReadBackByName) {
    EXPECT_EQ(GetStrProp(Form, "Caption"), "Every control");
    EXPECT_EQ(GetStrProp(Find("NameLabel"), "Caption"), "Name:");
    EXPECT_EQ(GetStrProp(Find("NameEdit"), "Text"), "John Smith");
    EXPECT_EQ(GetStrProp(Find("ChoicesGroupBox"), "Caption"), "Choices");
    EXPECT_EQ(GetStrProp(Find("OpenToolButton"), "Caption"), "Open");
    EXPECT_EQ(GetStrProp(Find("DetailsSheet"), "Caption"), "Details");
    EXPECT_EQ(GetStrProp(Find("OpenMenuItem"), "Caption"), "&Open...");

    auto* lines = dynamic_cast<TStrings*>(GetObjectProp(Find("NotesMemo"), "Lines"));
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->CommaText(), "\"First line of notes\",\"Second line\"");
    auto* colours = dynamic_cast<TStrings*>(GetObjectProp(Find("ColourComboBox"), "Items"));
    ASSERT_NE(colours, nullptr);
    EXPECT_EQ(colours->CommaText(), "Red,Green,Blue");

    EXPECT_EQ(GetStrProp(CollectionItem("FilesListView", "Columns", 0), "Caption"), "File name");
    EXPECT_EQ(GetStrProp(CollectionItem("StatusBar1", "Panels", 1), "Text"), "Line 1");
    EXPECT_EQ(GetStrProp(CollectionItem("HeaderControl1", "Sections", 1), "Text"), "Details");
    EXPECT_EQ(GetStrProp(Find("CustomersName"), "DisplayLabel"), "Customer name");

    TComponent* button = Find("ApplyButton");
    TComponent* action = Find("ApplyAction");
    EXPECT_EQ(GetObjectProp(button, "Action"), action);
    EXPECT_EQ(GetStrProp(button, "Caption"), GetStrProp(action, "Caption"));
    EXPECT_EQ(GetStrProp(button, "Caption"), "&Apply changes");
    EXPECT_EQ(GetObjectProp(Find("ToolBar1"), "Images"), Find("ImageList1"));
    EXPECT_EQ(dynamic_cast<TImageList*>(Find("ImageList1"))->Count(), 1);
    EXPECT_EQ(GetObjectProp(Find("RecentToolButton"), "DropdownMenu"), Find("PopupMenu1"));
    EXPECT_EQ(GetOrdProp(Find("StatusBar1"), "AutoHint"), 1);
    EXPECT_EQ(GetEnumProp(Find("PopupMenu1"), "AutoHotkeys"), "maManual");
    EXPECT_EQ(GetObjectProp(Find("NotesMemo"), "PopupMenu"), Find("PopupMenu1"));
    EXPECT_EQ(GetObjectProp(Form, "Menu"), Find("MainMenu1"));

    auto* open = dynamic_cast<TOpenDialog*>(Find("OpenDialog1"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->Filter(), "Translations|*.zxl|All|*.*");
    EXPECT_EQ(open->FilterIndex(), 2);
    EXPECT_TRUE(open->Options().Contains(ofFileMustExist));
    EXPECT_TRUE(dynamic_cast<TSaveDialog*>(Find("SaveDialog1"))->Options().Contains(ofOverwritePrompt));
    auto* find = dynamic_cast<TFindDialog*>(Find("FindDialog1"));
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->FindText(), "Smith");
    EXPECT_EQ(find->Options(), (TFindOptions{frDown, frMatchCase}));
}

TEST_F(EveryControlTest, TheFormShowsItsControls) {
    Form->Show();
    Application->ProcessMessages();
    QImage shot = Form->Handle()->grab().toImage();
    // The window is the client area and the main menu's bar above it.
    ASSERT_EQ(shot.size(), QSize(720, 520 + Form->Menu()->QtMenuBar()->height()));
    std::string path = zxtest::TestOutputDir() + "/clx_every_control.png";
    ASSERT_TRUE(shot.save(QString::fromStdString(path)));
    std::set<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2)
            colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 1u) << "a blank picture";
    auto* recentButton = dynamic_cast<TControl*>(Find("RecentToolButton"));
    auto* recent = qobject_cast<QToolButton*>(recentButton->Handle());
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->icon().isNull());
    EXPECT_NE(recent->menu(), nullptr);

    // The page of tabs, spin edit, paint box and grids.
    auto* pages = dynamic_cast<TPageControl*>(Find("PageControl1"));
    pages->SetActivePage(dynamic_cast<TTabSheet*>(Find("MoreSheet")));
    Application->ProcessMessages();
    QImage more = Form->Handle()->grab().toImage();
    ASSERT_TRUE(more.save(QString::fromStdString(zxtest::TestOutputDir() + "/clx_every_control_more.png")));
    EXPECT_NE(more, shot);
}

TEST_F(EveryControlTest, SavingTheLoadedFormTwiceGivesTheSameText) {
    zxtest::TTempDir directory;
    AnsiString first = directory.File("first.xfm");
    SaveComponentToTextFile(first, Form);
    AnsiString firstText = FileText(first);
    EXPECT_NE(firstText.find("object EveryControlForm: TForm"), AnsiString::npos) << firstText;

    // Loads File into a new form and gives that form's text. The old form
    // goes first, or the new one would be renamed to stay unique.
    auto reloadedText = [&](const AnsiString& File, const AnsiString& TextFile) {
        delete Form;
        Form = NewComponent<TForm>(nullptr);
        LoadComponentFromFile(File, Form);
        ExpectEveryClassOnce(Form);
        SaveComponentToTextFile(TextFile, Form);
        return FileText(TextFile);
    };
    EXPECT_EQ(reloadedText(first, directory.File("second.xfm")), firstText);
    AnsiString binary = directory.File("binary.xfm");
    WriteComponentResFile(binary, Form);
    EXPECT_EQ(reloadedText(binary, directory.File("third.xfm")), firstText)
        << "through the binary form";
}

} // namespace
