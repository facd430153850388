// The settings store (one ini file per owner class beside the executable)
// and the form placement kept in it.
#include "runtime/QRegistry.h"
#include "runtime/QzxComp.h"

#include "TestSupport.h"
#include "clx/Forms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace zxtest;

class TSettingsOwner : public TObject {
    ZX_CLASS(TSettingsOwner, TObject)
};

class TPlacedForm : public TForm {
    ZX_CLASS(TPlacedForm, TForm)
public:
    using TForm::TForm;
};

// Exposes the streaming system's call at the end of reading a form.
class TLoadableFormStorage : public TzxFormStorage {
public:
    using TzxFormStorage::Loaded;
    using TzxFormStorage::TzxFormStorage;
};

std::string FileText(const std::string& Path) {
    std::ifstream file(Path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteText(const std::string& Path, const std::string& Text) {
    std::ofstream(Path, std::ios::binary) << Text;
}

// Settings files go to a fresh directory; reported errors are collected.
class SettingsTest : public testing::Test {
protected:
    void SetUp() override {
        Application->SetExeName(Dir.File("program"));
        Application->OnException = [this](TObject*, const Exception& E) {
            Reported.push_back(E.Message());
        };
    }
    void TearDown() override {
        Application->OnException = nullptr;
        Application->SetExeName("");
    }
    std::string OwnerFile() const { return Dir.File("TSettingsOwner.ini"); }
    std::string FormFile() const { return Dir.File("TPlacedForm.ini"); }

    TTempDir Dir;
    TSettingsOwner Owner;
    std::vector<AnsiString> Reported;
};

// ---------------------------------------------------------------------------
// TRegistry

using Registry = SettingsTest;

TEST_F(Registry, KeepsOneFileNamedAfterTheOwnerClassBesideTheExecutable) {
    {
        TRegistry Reg(&Owner);
        EXPECT_EQ(Reg.FileName(), OwnerFile());
        Reg.OpenKey("Options", true);
        Reg.WriteString("Name", "Value");
    }
    EXPECT_EQ(FileText(OwnerFile()), "[Options]\nName=Value\n\n");
    TRegistry Again(&Owner);
    Again.OpenKey("Options", false);
    EXPECT_EQ(Again.ReadString("Name"), "Value");
}

TEST_F(Registry, UsesAKeyPathUnchangedAsTheSectionName) {
    {
        TRegistry Reg(&Owner);
        Reg.OpenKey("\\Software\\Talvenko\\TzxLang\\Editor", true);
        Reg.WriteInteger("Width", 640);
        Reg.WriteBool("Sorted", true);
    }
    EXPECT_EQ(FileText(OwnerFile()),
              "[\\Software\\Talvenko\\TzxLang\\Editor]\nSorted=1\nWidth=640\n\n");
}

TEST_F(Registry, TheLastOfOpenKeyAndSetRootKeyChoosesTheSection) {
    {
        TRegistry Reg(&Owner);
        Reg.OpenKey("Opened", true);
        Reg.SetRootKey("Root");
        Reg.WriteString("A", "1");
        Reg.OpenKey("Opened", true);
        Reg.WriteString("B", "2");
    }
    EXPECT_EQ(FileText(OwnerFile()), "[Opened]\nB=2\n\n[Root]\nA=1\n\n");
}

TEST_F(Registry, ReadsDefaultToFalseZeroAndEmpty) {
    WriteText(OwnerFile(), "[S]\nNumber=twelve\nFlag=yes\nHuge=99999999999\n");
    TRegistry Reg(&Owner);
    EXPECT_EQ(Reg.ReadString("Number"), "") << "no section opened yet";
    Reg.OpenKey("S", true);
    EXPECT_FALSE(Reg.ReadBool("Missing"));
    EXPECT_EQ(Reg.ReadInteger("Missing"), 0);
    EXPECT_EQ(Reg.ReadString("Missing"), "");
    EXPECT_EQ(Reg.ReadInteger("Number"), 0);
    EXPECT_FALSE(Reg.ReadBool("Flag"));
    EXPECT_EQ(Reg.ReadInteger("Huge"), 0);
    EXPECT_TRUE(Reg.ValueExists("Number"));
    EXPECT_FALSE(Reg.ValueExists("Missing"));
}

TEST_F(Registry, NamedSectionOperationsLeaveTheCurrentKeyAlone) {
    TRegistry Reg(&Owner);
    Reg.OpenKey("Current", true);
    Reg.WriteInteger("Other", "N", 7);
    Reg.WriteInteger("N", 1);
    EXPECT_EQ(Reg.ReadInteger("Other", "N", -1), 7);
    EXPECT_EQ(Reg.ReadInteger("N"), 1);
}

TEST_F(Registry, DeleteValueAnswersWhetherThereWasOne) {
    WriteText(OwnerFile(), "[S]\nGone=2\nKept=1\n\n");
    {
        TRegistry Reg(&Owner);
        Reg.OpenKey("S", true);
        EXPECT_FALSE(Reg.DeleteValue("Absent"));
    }
    EXPECT_EQ(FileText(OwnerFile()), "[S]\nGone=2\nKept=1\n\n") << "byte for byte";
    {
        TRegistry Reg(&Owner);
        Reg.OpenKey("S", true);
        EXPECT_TRUE(Reg.DeleteValue("Gone"));
        EXPECT_FALSE(Reg.ValueExists("Gone"));
    }
    EXPECT_EQ(FileText(OwnerFile()), "[S]\nKept=1\n\n");
}

TEST_F(Registry, CloseKeyWritesTheFileAndKeepsTheSection) {
    TRegistry Reg(&Owner);
    Reg.OpenKey("S", true);
    Reg.WriteString("A", "1");
    EXPECT_FALSE(std::filesystem::exists(OwnerFile())) << "nothing reaches the disk before";
    Reg.CloseKey();
    EXPECT_EQ(FileText(OwnerFile()), "[S]\nA=1\n\n");
    Reg.WriteString("B", "2");
    Reg.CloseKey();
    EXPECT_EQ(FileText(OwnerFile()), "[S]\nA=1\nB=2\n\n");
}

TEST_F(Registry, FreeingAStoreThatOnlyReadRewritesTheFile) {
    WriteText(OwnerFile(), "[b]\nk=2\n[a]\nk=1\n");
    {
        TRegistry Reg(&Owner);
        Reg.OpenKey("a", true);
        EXPECT_EQ(Reg.ReadInteger("k"), 1);
    }
    EXPECT_EQ(FileText(OwnerFile()), "[a]\nk=1\n\n[b]\nk=2\n\n");
}

TEST_F(Registry, ReplacesTheFileInsteadOfOverwritingIt) {
    WriteText(OwnerFile(), "[S]\nA=old\n");
    std::ifstream previous(OwnerFile(), std::ios::binary);
    {
        TRegistry Reg(&Owner);
        Reg.OpenKey("S", true);
        Reg.WriteString("A", "new");
    }
    std::ostringstream seen;
    seen << previous.rdbuf();
    EXPECT_EQ(seen.str(), "[S]\nA=old\n") << "a reader of the old file keeps it whole";
    EXPECT_EQ(FileText(OwnerFile()), "[S]\nA=new\n\n");
}

TEST_F(Registry, AWriteFailureRaisesFromCloseKeyButIsOnlyReportedWhenFreed) {
    std::filesystem::create_directory(OwnerFile());
    auto Reg = std::make_unique<TRegistry>(&Owner);
    Reg->OpenKey("S", true);
    Reg->WriteString("A", "1");
    EXPECT_NE(MessageOf<EWriteError>([&] { Reg->CloseKey(); }), "no exception");
    EXPECT_NO_THROW(Reg.reset());
    ASSERT_EQ(Reported.size(), 1u);
    EXPECT_NE(Reported[0].find("TSettingsOwner.ini"), std::string::npos) << Reported[0];
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path()), {}), 1)
        << "no temporary file is left behind";
}

TEST_F(Registry, GarbageLinesAreReadWithoutHarm) {
    WriteText(OwnerFile(),
              std::string("no section line\n[S\n=empty key\n\x01\xff=\x02\n[S]\nA=1\n") +
                  std::string(100000, 'x') + "\n");
    TRegistry Reg(&Owner);
    Reg.OpenKey("S", true);
    EXPECT_EQ(Reg.ReadInteger("A"), 1);
    EXPECT_EQ(Reg.ReadInteger(std::string(100000, 'x')), 0);
}

// ---------------------------------------------------------------------------
// TzxFormStorage

class FormStorage : public SettingsTest {
protected:
    // A form as its form file makes it, carrying a storage for SubKey.
    TPlacedForm* MakeForm(const WideString& SubKey = u"ExcludeEditor") {
        auto* form = NewForm<TPlacedForm>(nullptr);
        form->SetBounds(10, 20, 300, 200);
        Storage = NewComponent<TLoadableFormStorage>(form);
        Storage->SetSubKey(SubKey);
        return form;
    }
    TPlacedForm* ReopenForm() {
        TPlacedForm* form = MakeForm();
        Storage->Loaded();
        return form;
    }

    TLoadableFormStorage* Storage = nullptr;
};

void ExpectBounds(const TForm& Form, Integer Left, Integer Top, Integer Width, Integer Height) {
    EXPECT_EQ(Form.Left(), Left);
    EXPECT_EQ(Form.Top(), Top);
    EXPECT_EQ(Form.Width(), Width);
    EXPECT_EQ(Form.Height(), Height);
}

TEST_F(FormStorage, StartsActiveOnItsFormWithTheDefaults) {
    std::unique_ptr<TPlacedForm> form(MakeForm(u""));
    EXPECT_TRUE(Storage->Active());
    EXPECT_EQ(Storage->GetForm(), form.get());
    EXPECT_EQ(Storage->RegRootKey(), zxHKEY_CURRENT_USER);
    EXPECT_EQ(Storage->SubKey(), u"");
}

TEST_F(FormStorage, ClosedNormalSavesAndRestoresTheBounds) {
    TPlacedForm* form = MakeForm();
    form->SetBounds(40, 50, 500, 400);
    delete form;
    EXPECT_EQ(FileText(FormFile()),
              "[ExcludeEditor]\nHeight=400\nLeft=40\nState=Normal\nTop=50\nWidth=500\n\n");

    std::unique_ptr<TPlacedForm> reopened(ReopenForm());
    ExpectBounds(*reopened, 40, 50, 500, 400);
    EXPECT_EQ(reopened->WindowState(), wsNormal);
}

TEST_F(FormStorage, ClosedMaximizedComesBackMaximizedWithItsFormFileBounds) {
    TPlacedForm* form = MakeForm();
    form->SetWindowState(wsMaximized);
    delete form;
    EXPECT_EQ(FileText(FormFile()), "[ExcludeEditor]\nState=Maximized\n\n");

    std::unique_ptr<TPlacedForm> reopened(ReopenForm());
    EXPECT_EQ(reopened->WindowState(), wsMaximized);
    ExpectBounds(*reopened, 10, 20, 300, 200);
}

TEST_F(FormStorage, ChoosesTheStateByItsThirdCharacter) {
    WriteText(FormFile(), "[ExcludeEditor]\nState=Minimized\nLeft=1\nTop=2\n");
    std::unique_ptr<TPlacedForm> minimized(ReopenForm());
    EXPECT_EQ(minimized->WindowState(), wsMinimized);
    ExpectBounds(*minimized, 1, 2, 300, 200);
    minimized->SetWindowState(wsMaximized);
    minimized.reset();

    for (const char* state : {"State=Unknown", "State=No", "State=NORMAL"}) {
        WriteText(FormFile(), std::string("[ExcludeEditor]\n") + state + "\nLeft=5\nTop=6\n");
        TPlacedForm* form = MakeForm();
        form->SetWindowState(wsMaximized);
        Storage->Loaded();
        EXPECT_EQ(form->WindowState(), wsMaximized) << state;
        ExpectBounds(*form, 5, 6, 300, 200);
        Storage->SetMyActive(false);
        delete form;
    }
}

TEST_F(FormStorage, HoldsHandEditedBoundsToTheScreenAndIgnoresGarbage) {
    WriteText(FormFile(), "[ExcludeEditor]\nState=Normal\nLeft=abc\nTop=-99999\nWidth=-5\n"
                          "Height=99999999999\n");
    std::unique_ptr<TPlacedForm> form(ReopenForm());
    ExpectBounds(*form, 10, -32767, 0, 200);
    WriteText(FormFile(), "[ExcludeEditor]\nState=Normal\nWidth=1000000\n");
    Storage->ReadSettings();
    EXPECT_EQ(form->Width(), 32767);
}

TEST_F(FormStorage, DoesNothingWhenInactiveOrDesigned) {
    TPlacedForm* form = MakeForm();
    Storage->SetMyActive(false);
    delete form;
    form = MakeForm();
    form->SetDesigning(true);
    delete form;
    EXPECT_FALSE(std::filesystem::exists(FormFile()));

    WriteText(FormFile(), "[ExcludeEditor]\nState=Maximized\n");
    std::unique_ptr<TPlacedForm> inactive(MakeForm());
    Storage->SetMyActive(false);
    Storage->Loaded();
    EXPECT_EQ(inactive->WindowState(), wsNormal);
}

TEST_F(FormStorage, StaysInactiveOnAnOwnerThatIsNoForm) {
    auto owner = std::make_unique<TComponent>(nullptr);
    TzxFormStorage* storage = nullptr;
    ASSERT_NO_THROW(storage = NewComponent<TzxFormStorage>(owner.get()));
    EXPECT_FALSE(storage->Active());
    EXPECT_EQ(storage->GetForm(), nullptr);
    storage->ReadSettings();
    owner.reset();
    EXPECT_TRUE(std::filesystem::is_empty(Dir.Path()));
    EXPECT_TRUE(Reported.empty());
}

TEST_F(FormStorage, AFailedSaveIsReportedWhenTheFormGoes) {
    std::filesystem::create_directory(FormFile());
    EXPECT_NO_THROW(delete MakeForm());
    ASSERT_EQ(Reported.size(), 1u);
    EXPECT_NE(Reported[0].find("TPlacedForm.ini"), std::string::npos) << Reported[0];
}

} // namespace
