// The common controls in form files: pages, panels, sections, columns, list
// items and tree nodes written and read back; the items' and nodes' "Data"
// read as untrusted input.
#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "rtl/Filer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class ComCtrlsFilesTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        Form = NewComponent<TForm>(nullptr);
        Form->SetName("FilesForm");
    }
    void TearDown() override {
        delete Form;
        delete Loaded;
    }

    template <typename T> T* Make(const AnsiString& Name, TWinControl* Parent) {
        T* control = NewComponent<T>(Form);
        control->SetName(Name);
        control->SetParent(Parent);
        return control;
    }

    void Populate() {
        auto* pages = Make<TPageControl>("Pages", Form);
        auto* general = Make<TTabSheet>("GeneralSheet", pages);
        general->SetCaption("&General");
        auto* files = Make<TTabSheet>("FilesSheet", pages);
        files->SetCaption("Files");
        files->SetPageIndex(0);
        pages->SetActivePage(general);

        auto* list = Make<TListView>("FileList", files);
        list->SetViewStyle(vsReport);
        list->Columns()->Add()->SetCaption("Name");
        TListColumn* size = list->Columns()->Add();
        size->SetCaption("Size");
        size->SetAlignment(taRightJustify);
        TListItem* readme = list->Items()->Add();
        readme->SetCaption("readme, first");
        readme->SubItems()->Add("12 KB");
        readme->SetImageIndex(4);
        TListItem* notes = list->Items()->Add();
        notes->SetCaption("Ünïcode");
        notes->SetChecked(true);

        auto* tree = Make<TTreeView>("Tree", general);
        TTreeNode* root = tree->Items()->Add(nullptr, "Root");
        TTreeNode* child = tree->Items()->AddChild(root, "Child");
        tree->Items()->AddChild(child, "Grandchild");
        tree->Items()->Add(nullptr, "Second root")->SetSelectedIndex(2);
        root->SetExpanded(true);

        auto* status = Make<TStatusBar>("Status", Form);
        status->Panels()->Add()->SetText("Ready");
        status->Panels()->Add()->SetWidth(80);
        auto* header = Make<THeaderControl>("Header", Form);
        THeaderSection* section = header->Sections()->Add();
        section->SetText("Column");
        section->SetMinWidth(20);
        section->SetWidth(90);
        auto* progress = Make<TProgressBar>("Progress", Form);
        progress->SetPosition(40);
        auto* bar = Make<TToolBar>("Tools", Form);
        bar->SetShowCaptions(true);
        auto* open = Make<TToolButton>("OpenButton", bar);
        open->SetCaption("Open");
        auto* separator = Make<TToolButton>("Separator", bar);
        separator->SetStyle(tbsSeparator);
        auto* check = Make<TToolButton>("CheckButton", bar);
        check->SetStyle(tbsCheck);
        check->SetDown(true);
    }

    AnsiString SaveAndLoad() {
        zxtest::TTempDir directory;
        AnsiString file = directory.File("form.xfm.txt");
        SaveComponentToTextFile(file, Form);
        Loaded = dynamic_cast<TForm*>(LoadComponentFromFile(file));
        TStringList text;
        text.LoadFromFile(file);
        return text.Text();
    }

    template <typename T> T* LoadedControl(const AnsiString& Name) {
        auto* control = dynamic_cast<T*>(Loaded->FindComponent(Name));
        EXPECT_NE(control, nullptr) << Name;
        return control;
    }

    TForm* Form = nullptr;
    TForm* Loaded = nullptr;
};

TEST_F(ComCtrlsFilesTest, AFormOfCommonControlsRoundTrips) {
    Populate();
    AnsiString text = SaveAndLoad();
    ASSERT_NE(Loaded, nullptr);
    EXPECT_NE(text.find("Items.Data = {"), AnsiString::npos) << text;
    EXPECT_EQ(text.find("PageIndex"), AnsiString::npos) << "pages go in page order";
    EXPECT_NE(text.find("ActivePage = GeneralSheet"), AnsiString::npos) << text;

    auto* pages = LoadedControl<TPageControl>("Pages");
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Pages(0)->Name(), "FilesSheet");
    EXPECT_EQ(pages->ActivePage()->Name(), "GeneralSheet");
    EXPECT_EQ(pages->ActivePage()->Caption(), "&General");

    auto* list = LoadedControl<TListView>("FileList");
    EXPECT_EQ(list->Parent()->Name(), "FilesSheet");
    EXPECT_EQ(list->ViewStyle(), vsReport);
    ASSERT_EQ(list->Columns()->Count(), 2);
    EXPECT_EQ(list->Columns()->Items(1)->Caption(), "Size");
    EXPECT_EQ(list->Columns()->Items(1)->Alignment(), taRightJustify);
    ASSERT_EQ(list->Items()->Count(), 2);
    EXPECT_EQ(list->Items()->Item(0)->Caption(), "readme, first");
    EXPECT_EQ(list->Items()->Item(0)->SubItems()->Text(), "12 KB\n");
    EXPECT_EQ(list->Items()->Item(0)->ImageIndex(), 4);
    EXPECT_EQ(list->Items()->Item(1)->Caption(), "Ünïcode");
    EXPECT_TRUE(list->Items()->Item(1)->Checked());

    auto* tree = LoadedControl<TTreeView>("Tree");
    ASSERT_EQ(tree->Items()->Count(), 4);
    TTreeNode* grandchild = tree->Items()->Item(2);
    EXPECT_EQ(grandchild->Text(), "Grandchild");
    EXPECT_EQ(grandchild->Parent()->Parent(), tree->Items()->GetFirstNode());
    EXPECT_TRUE(tree->Items()->GetFirstNode()->Expanded());
    EXPECT_EQ(tree->Items()->Item(3)->Parent(), nullptr);
    EXPECT_EQ(tree->Items()->Item(3)->SelectedIndex(), 2);

    auto* status = LoadedControl<TStatusBar>("Status");
    ASSERT_EQ(status->Panels()->Count(), 2);
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "Ready");
    EXPECT_EQ(status->Panels()->Items(1)->Width(), 80);
    auto* header = LoadedControl<THeaderControl>("Header");
    EXPECT_EQ(header->Sections()->Items(0)->Width(), 90);
    EXPECT_EQ(header->Sections()->Items(0)->MinWidth(), 20);
    EXPECT_EQ(LoadedControl<TProgressBar>("Progress")->Position(), 40);
    auto* bar = LoadedControl<TToolBar>("Tools");
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_TRUE(bar->ShowCaptions());
    EXPECT_EQ(bar->Buttons(1)->Style(), tbsSeparator);
    EXPECT_TRUE(bar->Buttons(2)->Down());
    EXPECT_EQ(bar->Buttons(2)->Left(), 31);
}

TEST_F(ComCtrlsFilesTest, DefaultsAndEmptyItemsAreLeftOut) {
    Make<TListView>("EmptyList", Form);
    Make<TTreeView>("EmptyTree", Form);
    Make<TStatusBar>("Status", Form);
    Make<TToolBar>("Tools", Form);
    AnsiString text = SaveAndLoad();
    for (const char* absent :
         {"Items.Data", "ViewStyle", "Align", "ButtonWidth", "ShowButtons", "TabStop"})
        EXPECT_EQ(text.find(absent), AnsiString::npos) << absent << "\n" << text;
}

// ---------------------------------------------------------------------------
// Malformed data

std::vector<Byte> Bytes(TMemoryStream& Stream) {
    return {Stream.Memory(), Stream.Memory() + Stream.Size()};
}

// A stream over the bytes, from their start.
void Fill(TMemoryStream& Stream, const std::vector<Byte>& Bytes) {
    if (!Bytes.empty())
        Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Stream.SetPosition(0);
}

class MalformedDataTest : public ComCtrlsFilesTest {
protected:
    void SetUp() override {
        ComCtrlsFilesTest::SetUp();
        Populate();
        List = dynamic_cast<TListView*>(Form->FindComponent("FileList"));
        Tree = dynamic_cast<TTreeView*>(Form->FindComponent("Tree"));
    }

    // Raises EReadError, and the items stay as they were.
    template <typename Items> void ExpectRejected(Items* Target, const std::vector<Byte>& Data) {
        TMemoryStream before;
        Target->WriteData(before);
        TMemoryStream stream;
        Fill(stream, Data);
        EXPECT_NE(zxtest::MessageOf<EReadError>([&] { Target->ReadData(stream); }), "no exception");
        TMemoryStream after;
        Target->WriteData(after);
        EXPECT_EQ(Bytes(before), Bytes(after));
    }

    static std::vector<Byte> Image(const std::function<void(TItemDataWriter&)>& Write) {
        TMemoryStream stream;
        TItemDataWriter writer(stream);
        Write(writer);
        return Bytes(stream);
    }

    TListView* List = nullptr;
    TTreeView* Tree = nullptr;
};

TEST_F(MalformedDataTest, EveryTruncationOfValidDataIsRejected) {
    TMemoryStream listData;
    List->Items()->WriteData(listData);
    std::vector<Byte> valid = Bytes(listData);
    for (std::size_t length = 0; length < valid.size(); ++length)
        ExpectRejected(List->Items(), {valid.begin(), valid.begin() + length});
    TMemoryStream treeData;
    Tree->Items()->WriteData(treeData);
    valid = Bytes(treeData);
    for (std::size_t length = 0; length < valid.size(); ++length)
        ExpectRejected(Tree->Items(), {valid.begin(), valid.begin() + length});
}

TEST_F(MalformedDataTest, BadCountsLengthsVersionsAndShapesAreRejected) {
    auto item = [](Integer Count, Integer TextLength) {
        return Image([=](TItemDataWriter& W) {
            W.WriteInteger(1);
            W.WriteInteger(Count);
            W.WriteInteger(0);
            W.WriteByte(0);
            W.WriteInteger(TextLength);
            W.WriteInteger(0);
        });
    };
    ExpectRejected(List->Items(), item(1, 0x7FFFFFFF));
    ExpectRejected(List->Items(), item(1, -1));
    ExpectRejected(List->Items(), item(-1, 0));
    ExpectRejected(List->Items(), item(0x10000000, 0));
    ExpectRejected(List->Items(), Image([](TItemDataWriter& W) {
                       W.WriteInteger(2);
                       W.WriteInteger(0);
                   }));
    ExpectRejected(List->Items(), Image([](TItemDataWriter& W) {
                       W.WriteInteger(1);
                       W.WriteInteger(0);
                       W.WriteByte(0);
                   }));
    auto node = [](Integer Level, Byte Flags) {
        return Image([=](TItemDataWriter& W) {
            W.WriteInteger(1);
            W.WriteInteger(1);
            W.WriteInteger(Level);
            W.WriteInteger(0);
            W.WriteInteger(0);
            W.WriteByte(Flags);
            W.WriteText("x");
        });
    };
    ExpectRejected(Tree->Items(), node(1, 0));
    ExpectRejected(Tree->Items(), node(-1, 0));
    ExpectRejected(Tree->Items(), node(0, 0x80));
    // The well-formed neighbour is taken.
    TMemoryStream good;
    Fill(good, node(0, 1));
    Tree->Items()->ReadData(good);
    ASSERT_EQ(Tree->Items()->Count(), 1);
    EXPECT_TRUE(Tree->Items()->Item(0)->Expanded());
}

TEST_F(MalformedDataTest, FlippedBytesEitherReadOrRaiseEReadError) {
    TMemoryStream treeData;
    Tree->Items()->WriteData(treeData);
    const std::vector<Byte> valid = Bytes(treeData);
    for (std::size_t position = 0; position < valid.size(); ++position)
        for (Byte value : {Byte(0x00), Byte(0x01), Byte(0x7F), Byte(0xFF)}) {
            std::vector<Byte> data = valid;
            data[position] = value;
            TMemoryStream stream;
            Fill(stream, data);
            try {
                Tree->Items()->ReadData(stream);
            } catch (const EReadError&) {
            }
        }
    // Whatever was taken is a consistent tree.
    for (Integer index = 0; index < Tree->Items()->Count(); ++index) {
        TTreeNode* node = Tree->Items()->Item(index);
        EXPECT_EQ(node->AbsoluteIndex(), index);
        EXPECT_EQ(node->Level(), node->Parent() ? node->Parent()->Level() + 1 : 0);
    }
}

TEST_F(MalformedDataTest, AFormWithBadItemDataFailsToLoadWithEReadError) {
    zxtest::TTempDir directory;
    AnsiString file = directory.File("form.xfm.txt");
    SaveComponentToTextFile(file, Form);
    TStringList text;
    text.LoadFromFile(file);
    AnsiString content = text.Text();
    std::size_t data = content.find("Items.Data = {");
    ASSERT_NE(data, AnsiString::npos);
    // The version of the first items' data becomes 2.
    std::size_t hex = data + AnsiString("Items.Data = {").size();
    while (content[hex] == ' ' || content[hex] == '\n' || content[hex] == '\r')
        ++hex;
    content.replace(hex, 2, "02");
    text.SetText(content);
    text.SaveToFile(file);
    AnsiString message = zxtest::MessageOf<EReadError>(
        [&] { Loaded = dynamic_cast<TForm*>(LoadComponentFromFile(file)); });
    EXPECT_NE(message.find("Invalid list item data"), AnsiString::npos) << message;
    EXPECT_EQ(Loaded, nullptr);
}

} // namespace
