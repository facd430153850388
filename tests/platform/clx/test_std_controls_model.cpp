// The remaining standard controls as a plain model, with no QApplication in
// this program: published names and defaults, the state rules of each
// control, bitmaps and image lists, creation by class name, and a form
// holding one of each through the text form format.
#include "clx/Buttons.h"
#include "clx/CheckLst.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"
#include "clx/StdCtrls.h"
#include "rtl/Filer.h"

#include "TestSupport.h"

#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <gtest/gtest.h>

namespace {

class StdControlsTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        Form->SetName("MainForm");
    }
    void TearDown() override { delete Form; }

    template <typename T> T* Make(const AnsiString& Name) {
        auto* control = NewComponent<T>(Form);
        control->SetName(Name);
        if constexpr (std::is_base_of_v<TControl, T>)
            control->SetParent(Form);
        return control;
    }

    TForm* Form = NewComponent<TForm>(nullptr);
};

// A bitmap with a red square on blue; no text, so no QGuiApplication needed.
std::unique_ptr<TBitmap> Picture(Integer Width, Integer Height) {
    auto bitmap = std::make_unique<TBitmap>(Width, Height);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(0, 0, Width, Height));
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(1, 1, 3, 3));
    return bitmap;
}

// ---------------------------------------------------------------------------
// Published properties

TEST_F(StdControlsTest, EveryControlHoldsItsPublishedDefaults) {
    for (const char* name : {"TMemo", "TCheckBox", "TRadioButton", "TGroupBox", "TComboBox",
                             "TListBox", "TCheckListBox", "TBitBtn", "TSpeedButton", "TPanel",
                             "TRadioGroup", "TImage", "TSplitter", "TBevel", "TImageList"}) {
        TComponent* component = CreateComponent(name, Form);
        ASSERT_NE(component, nullptr) << name;
        EXPECT_EQ(component->ClassName(), name);
        for (PPropInfo info : GetPropList(component)) {
            if (!info->Default)
                continue;
            EXPECT_EQ(GetOrdProp(component, info), *info->Default) << name << "." << info->Name;
        }
    }
}

TEST_F(StdControlsTest, TheNamesTheTranslationEngineAsksFor) {
    struct TExpected {
        const char* ClassName;
        std::vector<const char*> Published;
        std::vector<const char*> Absent;
    };
    const std::vector<TExpected> expected{
        {"TMemo",
         {"Lines", "WordWrap", "ScrollBars", "ReadOnly", "Alignment", "Font"},
         {"Caption", "Text"}},
        {"TCheckBox", {"Caption", "Checked", "State", "AllowGrayed", "OnClick"}, {"Text"}},
        {"TRadioButton", {"Caption", "Checked"}, {"Text"}},
        {"TGroupBox", {"Caption", "Hint"}, {"Text"}},
        {"TComboBox",
         {"Items", "ItemIndex", "Text", "Style", "Sorted", "ItemHeight", "DropDownCount",
          "MaxLength", "OnChange", "OnSelect", "OnDrawItem", "OnMeasureItem", "Font"},
         {"Caption"}},
        {"TListBox", {"Items", "ItemIndex", "MultiSelect", "Sorted", "Style"}, {"Caption"}},
        {"TCheckListBox", {"Items", "OnClickCheck", "AllowGrayed"}, {"Caption"}},
        {"TBitBtn", {"Caption", "Kind", "Glyph", "ModalResult", "Layout"}, {"Text"}},
        {"TSpeedButton", {"Caption", "Glyph", "Down", "GroupIndex", "Flat", "OnClick"}, {}},
        {"TPanel", {"Caption", "BevelInner", "BevelOuter", "Alignment"}, {}},
        {"TRadioGroup", {"Caption", "Items", "ItemIndex", "Columns", "OnClick"}, {}},
        {"TImage", {"Picture", "Stretch", "Center"}, {"Caption"}},
        {"TSplitter", {"Align", "MinSize", "OnMoved"}, {"Caption"}},
        {"TImageList", {"Width", "Height"}, {"Caption"}},
    };
    for (const TExpected& entry : expected) {
        TClass type = FindClass(entry.ClassName);
        for (const char* name : entry.Published)
            EXPECT_TRUE(IsPublishedProp(type, name)) << entry.ClassName << "." << name;
        for (const char* name : entry.Absent)
            EXPECT_FALSE(IsPublishedProp(type, name)) << entry.ClassName << "." << name;
    }
    auto* memo = Make<TMemo>("Memo1");
    EXPECT_EQ(GetObjectProp(memo, "Lines"), memo->Lines());
    EXPECT_EQ(GetOrdProp(memo, "WordWrap"), 1);
    auto* combo = Make<TComboBox>("Combo1");
    EXPECT_EQ(GetPropInfo(combo, "Text")->PropType->Name, "TCaption");
    SetEnumProp(combo, "Style", "csOwnerDrawFixed");
    EXPECT_EQ(combo->Style(), csOwnerDrawFixed);
    EXPECT_EQ(static_cast<Integer>(csOwnerDrawFixed), 3);
}

// ---------------------------------------------------------------------------
// Memo

TEST_F(StdControlsTest, MemoLinesAndTextAreOneValue) {
    auto* memo = Make<TMemo>("Memo1");
    Integer changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->Lines()->Add("first");
    memo->Lines()->Add("second");
    EXPECT_EQ(memo->Text(), "first\nsecond");
    EXPECT_EQ(changes, 2);

    memo->SetText("a\r\nb\rc\n");
    ASSERT_EQ(memo->Lines()->Count(), 4);
    EXPECT_EQ(memo->Lines()->Get(2), "c");
    EXPECT_EQ(memo->Lines()->Get(3), "");
    EXPECT_EQ(memo->Text(), "a\nb\nc\n");

    // The translation engine writes lines through CommaText, one change.
    changes = 0;
    memo->Lines()->SetCommaText("\"one line\",two");
    EXPECT_EQ(memo->Text(), "one line\ntwo");
    EXPECT_EQ(changes, 1);
    memo->SetText("");
    EXPECT_EQ(memo->Lines()->Count(), 0);
    EXPECT_TRUE(memo->WordWrap());
}

// ---------------------------------------------------------------------------
// Check boxes and radio buttons

TEST_F(StdControlsTest, CheckBoxStatesAndClicks) {
    auto* box = Make<TCheckBox>("Check1");
    Integer clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(clicks, 1);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->Toggle();
    EXPECT_EQ(box->State(), cbUnchecked);
    box->SetAllowGrayed(true);
    box->Toggle();
    box->Toggle();
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_FALSE(box->Checked());
    box->Toggle();
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 5);
}

TEST_F(StdControlsTest, RadioButtonsOfOneParentAreExclusive) {
    auto* first = Make<TRadioButton>("Radio1");
    auto* second = Make<TRadioButton>("Radio2");
    auto* group = Make<TGroupBox>("Group1");
    auto* elsewhere = Make<TRadioButton>("Radio3");
    elsewhere->SetParent(group);
    elsewhere->SetChecked(true);
    first->SetChecked(true);
    EXPECT_TRUE(elsewhere->Checked());
    Integer clicks = 0;
    second->OnClick = [&](TObject*) { ++clicks; };
    second->SetChecked(true);
    EXPECT_FALSE(first->Checked());
    EXPECT_TRUE(second->Checked());
    EXPECT_TRUE(elsewhere->Checked());
    EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------------------
// Combo boxes and list boxes

TEST_F(StdControlsTest, ComboItemIndexAndText) {
    auto* combo = Make<TComboBox>("Combo1");
    Integer changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->Items()->SetCommaText("English,German,French");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "German");
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetText("French");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->SetText("Klingon");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "Klingon");
    EXPECT_EQ(changes, 0);

    combo->SetStyle(csDropDownList);
    combo->SetText("Klingon");
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(2);
    combo->Items()->Delete(2);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");

    combo->SetSorted(true);
    EXPECT_EQ(combo->Items()->CommaText(), "English,German");
    combo->Items()->Add("Danish");
    EXPECT_EQ(combo->Items()->Get(0), "Danish");
}

TEST_F(StdControlsTest, ComboDrawAndMeasureGoThroughTheirEvents) {
    auto* combo = Make<TComboBox>("Combo1");
    combo->Items()->SetCommaText("a,b");
    EXPECT_FALSE(combo->DrawItem(0, Rect(0, 0, 10, 10), {}));
    std::vector<Integer> drawn;
    combo->OnDrawItem = [&](TObject* Sender, Integer Index, TRect, TOwnerDrawState State,
                            bool& Handled) {
        EXPECT_EQ(Sender, combo);
        drawn.push_back(Index);
        Handled = !State.Contains(odFocused);
    };
    EXPECT_TRUE(combo->DrawItem(1, Rect(0, 0, 10, 10), {odSelected}));
    EXPECT_FALSE(combo->DrawItem(0, Rect(0, 0, 10, 10), {odFocused}));
    EXPECT_EQ(drawn, (std::vector<Integer>{1, 0}));
    Integer height = 16;
    combo->MeasureItem(combo, 1, height);
    EXPECT_EQ(height, 16);
    combo->OnMeasureItem = [](TWinControl*, Integer Index, Integer& Height) {
        Height = 20 + Index;
    };
    combo->MeasureItem(combo, 1, height);
    EXPECT_EQ(height, 21);
}

TEST_F(StdControlsTest, ListBoxSelection) {
    auto* list = Make<TListBox>("List1");
    list->Items()->SetCommaText("a,b,c,d");
    list->SetSelected(2, true);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->SelCount(), 1);
    list->SetSelected(1, true);
    EXPECT_FALSE(list->Selected(2));

    list->SetMultiSelect(true);
    EXPECT_EQ(list->SelCount(), 0);
    list->SetSelected(0, true);
    list->SetSelected(3, true);
    EXPECT_EQ(list->SelCount(), 2);
    list->Items()->Delete(3);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_TRUE(list->Selected(0));
    EXPECT_EQ(zxtest::MessageOf<EListError>([&] { list->Selected(3); }),
              "List index out of bounds (3)");
}

// The states of a check list box, item by item, as "text:state" pairs.
std::vector<AnsiString> ItemStates(TCheckListBox* List) {
    std::vector<AnsiString> states;
    for (Integer index = 0; index < List->Items()->Count(); ++index)
        states.push_back(List->Items()->Get(index) + ":" +
                         GetEnumName(TypeInfo<TCheckBoxState>(), List->State(index)));
    return states;
}

class CheckListBoxStates : public StdControlsTest {
protected:
    void SetUp() override {
        StdControlsTest::SetUp();
        List = Make<TCheckListBox>("Checks1");
        List->Items()->SetCommaText("d,b,a,c");
        List->SetChecked(1, true);
        List->SetState(3, cbGrayed);
    }

    TCheckListBox* List = nullptr;
};

TEST_F(CheckListBoxStates, FollowTheirItemsThroughInsertDeleteMoveAndExchange) {
    List->Items()->Insert(0, "new");
    EXPECT_EQ(ItemStates(List),
              (std::vector<AnsiString>{"new:cbUnchecked", "d:cbUnchecked", "b:cbChecked",
                                       "a:cbUnchecked", "c:cbGrayed"}));
    List->Items()->Delete(1);
    List->Items()->Exchange(0, 3);
    EXPECT_EQ(ItemStates(List), (std::vector<AnsiString>{"c:cbGrayed", "b:cbChecked",
                                                         "a:cbUnchecked", "new:cbUnchecked"}));
    List->Items()->Move(0, 2);
    EXPECT_EQ(ItemStates(List), (std::vector<AnsiString>{"b:cbChecked", "a:cbUnchecked",
                                                         "c:cbGrayed", "new:cbUnchecked"}));
    EXPECT_EQ(zxtest::MessageOf<EListError>([&] { List->Items()->Delete(4); }),
              "List index out of bounds (4)");
    EXPECT_EQ(zxtest::MessageOf<EListError>([&] { List->Checked(4); }),
              "List index out of bounds (4)");
}

TEST_F(CheckListBoxStates, FollowTheirItemsWhenSorted) {
    List->SetSorted(true);
    EXPECT_EQ(ItemStates(List), (std::vector<AnsiString>{"a:cbUnchecked", "b:cbChecked",
                                                         "c:cbGrayed", "d:cbUnchecked"}));
    List->Items()->Add("bb");
    EXPECT_EQ(ItemStates(List),
              (std::vector<AnsiString>{"a:cbUnchecked", "b:cbChecked", "bb:cbUnchecked",
                                       "c:cbGrayed", "d:cbUnchecked"}));
    List->SetSorted(false);
    static_cast<TStringList*>(List->Items())
        ->CustomSort([](TStringList& Items, Integer Index1, Integer Index2) {
            return AnsiCompareStr(Items[Index2], Items[Index1]);
        });
    EXPECT_EQ(ItemStates(List),
              (std::vector<AnsiString>{"d:cbUnchecked", "c:cbGrayed", "bb:cbUnchecked",
                                       "b:cbChecked", "a:cbUnchecked"}));
}

// The translation engine rewrites items in place; new texts assigned as a
// whole start unchecked.
TEST_F(CheckListBoxStates, StayWhenItemsAreRewrittenAndGoWhenReplaced) {
    List->Items()->Put(1, "B");
    List->Items()->Put(3, "C");
    EXPECT_EQ(ItemStates(List), (std::vector<AnsiString>{"d:cbUnchecked", "B:cbChecked",
                                                         "a:cbUnchecked", "C:cbGrayed"}));
    List->Items()->SetCommaText("w,x");
    EXPECT_EQ(ItemStates(List), (std::vector<AnsiString>{"w:cbUnchecked", "x:cbUnchecked"}));
    List->Clear();
    EXPECT_EQ(List->Items()->Count(), 0);
}

TEST_F(CheckListBoxStates, ChangeNoticesComeOncePerChangeWithStatesInStep) {
    auto* items = static_cast<TStringList*>(List->Items());
    Integer changes = 0;
    std::vector<AnsiString> seen;
    items->OnChange = [&](TObject*) {
        ++changes;
        seen = ItemStates(List);
    };
    items->Delete(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(seen, (std::vector<AnsiString>{"b:cbChecked", "a:cbUnchecked", "c:cbGrayed"}));
    items->Insert(1, "e");
    items->Move(0, 3);
    items->Clear();
    items->Clear();
    EXPECT_EQ(changes, 4);
}

// ---------------------------------------------------------------------------
// Buttons

TEST_F(StdControlsTest, BitBtnKindGivesCaptionAndModalResult) {
    auto* ok = Make<TBitBtn>("OkButton");
    ok->SetKind(bkOK);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    EXPECT_FALSE(IsStoredProp(ok, GetPropInfo(ok, "Caption")));
    EXPECT_FALSE(IsStoredProp(ok, GetPropInfo(ok, "ModalResult")));
    ok->SetCaption("Fine");
    EXPECT_TRUE(IsStoredProp(ok, GetPropInfo(ok, "Caption")));

    auto* cancel = Make<TBitBtn>("CancelButton");
    cancel->SetKind(bkCancel);
    EXPECT_EQ(cancel->Caption(), "Cancel");
    EXPECT_TRUE(cancel->Cancel());
    cancel->Click();
    EXPECT_EQ(Form->ModalResult(), mrCancel);
}

TEST_F(StdControlsTest, SpeedButtonsOfAGroupReleaseEachOther) {
    auto* bold = Make<TSpeedButton>("Bold");
    auto* italic = Make<TSpeedButton>("Italic");
    auto* alone = Make<TSpeedButton>("Alone");
    bold->SetDown(true);
    EXPECT_FALSE(bold->Down()) << "only a grouped button stays down";
    bold->SetGroupIndex(1);
    italic->SetGroupIndex(1);
    alone->SetGroupIndex(2);
    alone->SetDown(true);
    Integer clicks = 0;
    bold->OnClick = [&](TObject*) { ++clicks; };
    bold->Click();
    EXPECT_TRUE(bold->Down());
    italic->Click();
    EXPECT_FALSE(bold->Down());
    EXPECT_TRUE(italic->Down());
    EXPECT_TRUE(alone->Down());
    italic->Click();
    EXPECT_TRUE(italic->Down()) << "without AllowAllUp one stays down";
    italic->SetAllowAllUp(true);
    italic->Click();
    EXPECT_FALSE(italic->Down());
    EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------------------
// Radio groups and splitters

TEST_F(StdControlsTest, RadioGroupItemIndexFiresOnClick) {
    auto* group = Make<TRadioGroup>("Group1");
    Integer clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    group->Items()->SetCommaText("Left,Right");
    group->SetItemIndex(1);
    group->SetItemIndex(1);
    group->SetItemIndex(5);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(clicks, 2);
    group->SetColumns(40);
    EXPECT_EQ(group->Columns(), 16);
}

// Exposes the mouse methods the widget's events call.
class TDraggedSplitter : public TSplitter {
public:
    using TSplitter::MouseDown;
    using TSplitter::MouseMove;
    using TSplitter::MouseUp;
    using TSplitter::TSplitter;
};

TEST_F(StdControlsTest, SplitterResizesTheControlItTouches) {
    Form->SetClientWidth(400);
    auto* tree = Make<TPanel>("TreePanel");
    tree->SetAlign(alLeft);
    tree->SetWidth(100);
    auto* splitter = NewComponent<TDraggedSplitter>(Form);
    splitter->SetParent(Form);
    splitter->SetLeft(150);
    auto* rest = Make<TPanel>("RestPanel");
    rest->SetAlign(alClient);
    ASSERT_EQ(splitter->Left(), 100);
    ASSERT_EQ(splitter->FindControl(), tree);
    Integer moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };

    splitter->MouseDown(mbLeft, {}, 1, 10);
    splitter->MouseMove({}, 51, 10);
    EXPECT_EQ(tree->Width(), 150);
    EXPECT_EQ(splitter->Left(), 150);
    splitter->MouseMove({}, -200, 10);
    EXPECT_EQ(tree->Width(), 30) << "MinSize";
    splitter->MouseMove({}, 1000, 10);
    EXPECT_EQ(rest->Width(), 30) << "the remaining client keeps MinSize";
    splitter->MouseUp(mbLeft, {}, 0, 0);
    EXPECT_EQ(moved, 1);
}

// ---------------------------------------------------------------------------
// Bitmaps, pictures and image lists

TEST(Bitmap, SizeCanvasAndPixels) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    auto picture = Picture(6, 4);
    EXPECT_EQ(picture->Width(), 6);
    EXPECT_EQ(picture->Pixel(0, 0), clBlue);
    EXPECT_EQ(picture->Pixel(2, 2), clRed);
    EXPECT_EQ(picture->TransparentColor(), clBlue);
    picture->SetWidth(8);
    EXPECT_EQ(picture->Pixel(2, 2), clRed);
    EXPECT_EQ(picture->Pixel(7, 0), clWhite);
    EXPECT_EQ(zxtest::MessageOf<EInvalidGraphic>([&] { picture->Pixel(8, 0); }),
              "Pixel 8, 0 is outside the bitmap");
}

TEST(Bitmap, StreamsAndFilesRoundTrip) {
    auto picture = Picture(5, 5);
    TMemoryStream stream;
    picture->SaveToStream(stream);
    TBitmap().SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap read;
    read.LoadFromStream(stream);
    EXPECT_TRUE(read.Equals(*picture));
    read.LoadFromStream(stream);
    EXPECT_TRUE(read.Empty());

    zxtest::TTempDir directory;
    picture->SaveToFile(directory.File("flag.bmp"));
    TBitmap fromFile;
    fromFile.LoadFromFile(directory.File("flag.bmp"));
    EXPECT_EQ(fromFile.Pixel(2, 2), clRed);
    EXPECT_EQ(zxtest::MessageOf<EInvalidGraphic>(
                  [&] { fromFile.LoadFromFile(directory.File("missing.png")); }),
              "Cannot read the image file " + directory.File("missing.png"));

    TMemoryStream broken;
    Byte header[] = {100, 0, 0, 0, 1, 2};
    broken.WriteBuffer(header, sizeof header);
    broken.SetPosition(0);
    EXPECT_EQ(zxtest::MessageOf<EInvalidGraphic>([&] { read.LoadFromStream(broken); }),
              "Bitmap image is not valid");
}

TEST(Bitmap, TransparentColourIsLeftUnpainted) {
    auto picture = Picture(4, 4);
    picture->SetTransparent(true);
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::green);
    QPainter painter(&target);
    TCanvas canvas;
    canvas.SetHandle(&painter);
    canvas.Draw(0, 0, picture.get());
    painter.end();
    EXPECT_EQ(QColor(target.pixel(0, 0)), QColor(Qt::green));
    EXPECT_EQ(QColor(target.pixel(2, 2)), QColor(Qt::red));
}

TEST(Picture, HoldsACopyAndReportsChanges) {
    TPicture picture;
    Integer changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    auto bitmap = Picture(3, 3);
    picture.SetBitmap(bitmap.get());
    EXPECT_NE(picture.Graphic(), bitmap.get());
    EXPECT_EQ(picture.Width(), 3);
    picture.Bitmap()->SetHeight(7);
    EXPECT_EQ(picture.Height(), 7);
    EXPECT_EQ(changes, 2);
}

TEST(ImageList, AddSplitsStripsAndDraws) {
    TImageList list(nullptr);
    list.SetWidth(2);
    list.SetHeight(4);
    auto strip = Picture(6, 4);
    EXPECT_EQ(list.Add(strip.get()), 0);
    EXPECT_EQ(list.Count(), 3);
    TBitmap second;
    list.GetBitmap(1, &second);
    EXPECT_EQ(second.Width(), 2);
    EXPECT_EQ(second.Pixel(0, 1), clRed) << "column 2 of the strip";
    EXPECT_EQ(second.Pixel(1, 1), clBlue);

    TBitmap target(4, 4);
    list.Draw(target.Canvas(), 2, 0, 1);
    EXPECT_EQ(target.Pixel(2, 1), clRed);
    EXPECT_EQ(target.Pixel(0, 1), clWhite);
    EXPECT_EQ(zxtest::MessageOf<EInvalidOperation>([&] { list.Draw(target.Canvas(), 0, 0, 3); }),
              "Image index out of bounds (3)");
    list.SetWidth(4);
    EXPECT_EQ(list.Count(), 0);
}

// ---------------------------------------------------------------------------
// Form files

TEST_F(StdControlsTest, AFormWithEveryControlRoundTrips) {
    auto* memo = Make<TMemo>("Memo1");
    memo->Lines()->SetCommaText("\"first line\",second");
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssVertical);
    auto* check = Make<TCheckBox>("Check1");
    check->SetCaption("&Remember");
    check->SetAllowGrayed(true);
    check->SetState(cbGrayed);
    auto* radio = Make<TRadioButton>("Radio1");
    radio->SetChecked(true);
    auto* group = Make<TGroupBox>("Group1");
    group->SetCaption("Options");
    auto* combo = Make<TComboBox>("Combo1");
    combo->SetStyle(csOwnerDrawVariable);
    combo->Items()->SetCommaText("English,German");
    combo->SetItemIndex(1);
    combo->SetItemHeight(20);
    auto* list = Make<TListBox>("List1");
    list->Items()->SetCommaText("x,y");
    list->SetMultiSelect(true);
    list->SetParent(group);
    auto* checks = Make<TCheckListBox>("Checks1");
    checks->Items()->SetCommaText("p,q");
    auto* ok = Make<TBitBtn>("OkButton");
    ok->SetKind(bkOK);
    ok->SetGlyph(Picture(4, 4).get());
    auto* speed = Make<TSpeedButton>("Speed1");
    speed->SetGroupIndex(3);
    speed->SetDown(true);
    auto* panel = Make<TPanel>("Panel1");
    panel->SetBevelOuter(bvLowered);
    auto* radios = Make<TRadioGroup>("Radios1");
    radios->Items()->SetCommaText("One,Two,Three");
    radios->SetItemIndex(2);
    radios->SetColumns(2);
    auto* image = Make<TImage>("Image1");
    image->Picture()->SetBitmap(Picture(5, 3).get());
    image->SetStretch(true);
    auto* splitter = Make<TSplitter>("Splitter1");
    splitter->SetMinSize(50);
    auto* bevel = Make<TBevel>("Bevel1");
    bevel->SetShape(bsTopLine);
    auto* images = Make<TImageList>("Images1");
    images->Add(Picture(32, 16).get());

    zxtest::TTempDir directory;
    AnsiString file = directory.File("form.xfm.txt");
    SaveComponentToTextFile(file, Form);
    TStringList text;
    text.LoadFromFile(file);
    AnsiString written = text.Text();
    EXPECT_NE(written.find("Kind = bkOK"), AnsiString::npos) << written;
    EXPECT_EQ(written.find("Caption = 'OK'"), AnsiString::npos) << written;
    EXPECT_NE(written.find("Glyph.Data = {"), AnsiString::npos) << written;
    EXPECT_NE(written.find("Picture.Data = {"), AnsiString::npos) << written;
    EXPECT_NE(written.find("Bitmap = {"), AnsiString::npos) << written;
    EXPECT_NE(written.find("Lines.Strings = ("), AnsiString::npos) << written;
    EXPECT_EQ(written.find("ItemHeight = 16"), AnsiString::npos) << written;

    auto* loaded = NewComponent<TForm>(nullptr);
    std::unique_ptr<TForm> owner(loaded);
    loaded->SetName("MainForm");
    LoadComponentFromFile(file, loaded);
    auto find = [&](const char* Name) { return loaded->FindComponent(Name); };
    EXPECT_EQ(dynamic_cast<TMemo*>(find("Memo1"))->Text(), "first line\nsecond");
    EXPECT_FALSE(dynamic_cast<TMemo*>(find("Memo1"))->WordWrap());
    EXPECT_EQ(dynamic_cast<TMemo*>(find("Memo1"))->ScrollBars(), ssVertical);
    EXPECT_EQ(dynamic_cast<TCheckBox*>(find("Check1"))->State(), cbGrayed);
    EXPECT_TRUE(dynamic_cast<TRadioButton*>(find("Radio1"))->Checked());
    EXPECT_EQ(dynamic_cast<TGroupBox*>(find("Group1"))->Caption(), "Options");
    auto* comboRead = dynamic_cast<TComboBox*>(find("Combo1"));
    EXPECT_EQ(comboRead->Style(), csOwnerDrawVariable);
    EXPECT_EQ(comboRead->ItemIndex(), 1);
    EXPECT_EQ(comboRead->Text(), "German");
    EXPECT_EQ(comboRead->ItemHeight(), 20);
    auto* listRead = dynamic_cast<TListBox*>(find("List1"));
    EXPECT_EQ(listRead->Parent(), find("Group1"));
    EXPECT_TRUE(listRead->MultiSelect());
    EXPECT_EQ(dynamic_cast<TCheckListBox*>(find("Checks1"))->Items()->CommaText(), "p,q");
    auto* okRead = dynamic_cast<TBitBtn*>(find("OkButton"));
    EXPECT_EQ(okRead->Caption(), "OK");
    EXPECT_EQ(okRead->ModalResult(), mrOk);
    EXPECT_TRUE(okRead->Glyph()->Equals(*ok->Glyph()));
    EXPECT_TRUE(dynamic_cast<TSpeedButton*>(find("Speed1"))->Down());
    EXPECT_EQ(dynamic_cast<TPanel*>(find("Panel1"))->BevelOuter(), bvLowered);
    auto* radiosRead = dynamic_cast<TRadioGroup*>(find("Radios1"));
    EXPECT_EQ(radiosRead->ItemIndex(), 2);
    EXPECT_EQ(radiosRead->Columns(), 2);
    auto* imageRead = dynamic_cast<TImage*>(find("Image1"));
    EXPECT_TRUE(imageRead->Stretch());
    ASSERT_NE(imageRead->Picture()->Graphic(), nullptr);
    EXPECT_EQ(imageRead->Picture()->Bitmap()->Pixel(2, 2), clRed);
    EXPECT_EQ(dynamic_cast<TSplitter*>(find("Splitter1"))->MinSize(), 50);
    EXPECT_EQ(dynamic_cast<TBevel*>(find("Bevel1"))->Shape(), bsTopLine);
    auto* imagesRead = dynamic_cast<TImageList*>(find("Images1"));
    EXPECT_EQ(imagesRead->Count(), 2);
}

TEST_F(StdControlsTest, ACaptionReadBeforeTheKindWins) {
    auto* button = Make<TBitBtn>("Yes");
    button->SetKind(bkYes);
    button->SetCaption("&Sure");
    zxtest::TTempDir directory;
    AnsiString file = directory.File("form.xfm");
    WriteComponentResFile(file, Form);
    std::unique_ptr<TForm> loaded(NewComponent<TForm>(nullptr));
    ReadComponentResFile(file, loaded.get());
    auto* read = dynamic_cast<TBitBtn*>(loaded->FindComponent("Yes"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Caption(), "&Sure");
    EXPECT_EQ(read->Kind(), bkYes);
    EXPECT_EQ(read->ModalResult(), mrYes);
}

} // namespace
