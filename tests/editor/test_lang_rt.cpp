// The run-time editing component: which file it reads as its form is
// loaded, what each editing method shows the user and writes back, and what
// happens when the user does not save or the file cannot be written.
#include "EditorTestSupport.h"

#include "editor/QzxLangRT.h"

#include "clx/ActnList.h"
#include "clx/StdCtrls.h"

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

class TRTForm : public TForm {
    ZX_CLASS(TRTForm, TForm)
public:
    explicit TRTForm(TComponent* AOwner) : TForm(AOwner) {}
};

AnsiString FileBytes(const AnsiString& FileName) {
    TFileStream file(FileName, fmOpenRead);
    AnsiString bytes(static_cast<std::size_t>(file.Size()), '\0');
    file.ReadBuffer(bytes.data(), file.Size());
    return bytes;
}

class LangRT : public testing::Test {
protected:
    void SetUp() override {
        std::remove(EditorSettingsFile().c_str());
        Form.reset(MakeForm());
        Lang = dynamic_cast<TzxLangRT*>(Form->FindComponent("Lang"));
        Lang->Captions()->Add(Line({"Button1", "Open", "Öffnen"}));
        Lang->Strings()->Add(Line({"SHello", "Hello from the file", "Hallo"}));
        Lang->ExtendedTranslations()->Add()->SetIdentifier("Button1.Width");
        Lang->ExtendedTranslations()->Items(0)->SetValues(Line({"80", "95"}));
    }

    TRTForm* MakeForm(const AnsiString& FormText = "") {
        TRTForm* form = NewForm<TRTForm>(nullptr);
        if (!FormText.empty()) {
            ReadFormText(FormText, form);
            return form;
        }
        form->SetName("RTForm");
        AddControl<TButton>(form, "Button1")->SetCaption("Open");
        auto* lang = NewComponent<TzxLangRT>(form);
        lang->SetName("Lang");
        lang->SetNumLang(2);
        TStringList names;
        names.SetCommaText("English,Deutsch");
        lang->SetLangNames(&names);
        return form;
    }

    // Opens the editor by Open; Drive acts on it as the user and ends it.
    TShowFlags EditWith(const std::function<void()>& Open,
                        const std::function<void(TzxTransEditFrm& Editor)>& Drive) {
        TDialogServiceGuard guard(Dialogs);
        TShowFlags shown;
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Editor) {
            auto& editor = dynamic_cast<TzxTransEditFrm&>(Editor);
            shown = editor.Flags();
            Drive(editor);
        });
        Open();
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
        return shown;
    }

    // Changes the first language cell of the first row and saves.
    void EditAndSave(TzxTransEditFrm& Editor, const AnsiString& Text = "edited") {
        EditCell(*Editor.Grid1, 1, 1, Text);
        Dialogs.Answer(mrYes);
        ClickItem(Editor, "miClose");
    }

    TTempDir Dir;
    TScriptedDialogService Dialogs;
    std::unique_ptr<TRTForm> Form;
    TzxLangRT* Lang = nullptr;
};

TEST_F(LangRT, LoadOnCreateReadsTheNamedFileInItsFormatOnlyAtRunTime) {
    for (const char* name : {"rt.zxl", "rt.ZXB", "rt.zxb"}) {
        SCOPED_TRACE(name);
        Lang->StorageFile = Dir.File(name);
        Lang->LoadOnCreate = true;
        if (zxIsBinaryFile(name))
            Lang->SaveAllToBinaryFile(Lang->StorageFile);
        else
            Lang->SaveAllToFile(UTF8Decode(Lang->StorageFile), u"~!@#");
        Lang->Strings()->Clear();
        Lang->Strings()->Add(Line({"SHello", "Hello from the form", "Hallo"}));
        const AnsiString text = FormText(Form.get());

        std::unique_ptr<TRTForm> running(MakeForm(text));
        auto* loaded = dynamic_cast<TzxLangRT*>(running->FindComponent("Lang"));
        EXPECT_EQ(loaded->GetText(u"SHello"), u"Hello from the file");

        std::unique_ptr<TRTForm> designed(NewForm<TRTForm>(nullptr));
        designed->SetDesigning(true);
        ReadFormText(text, designed.get());
        auto* design = dynamic_cast<TzxLangRT*>(designed->FindComponent("Lang"));
        EXPECT_EQ(GetLineField(design->Strings()->Get(0), 1, '\1'), "Hello from the form");
        ASSERT_EQ(design->StringTable()->Count(), 1) << "the string table is rebuilt";
        Lang->Strings()->Clear();
        Lang->Strings()->Add(Line({"SHello", "Hello from the file", "Hallo"}));
    }
}

TEST_F(LangRT, EachMethodShowsItsFlagsAndWritesItsPartBack) {
    Lang->StorageFile = Dir.File("rt.zxl");
    Lang->StorageDelimiter = u"#|#";
    TShowFlags flags = EditWith([&] { Lang->EditAll(); }, [&](auto& E) { EditAndSave(E); });
    EXPECT_EQ(flags, (TShowFlags{sfFull, sfRunTime}));
    AnsiString file = FileBytes(Lang->StorageFile);
    EXPECT_NE(file.find("TRTForm.Button1=edited#|#Öffnen#|#"), AnsiString::npos) << file;

    Lang->RTEditorActionsOptions = {eoDisableLoad, eoDisableSave, eoSaveWorksAsClose};
    flags = EditWith([&] { Lang->EditProperty(stStrings); },
                     [&](TzxTransEditFrm& E) {
                         EXPECT_EQ(E.CurrentType(), stStrings);
                         EditCell(*E.Grid1, 1, 1, "Hi");
                         Dialogs.Answer(mrYes);
                         Named<TAction>(E, "acGeneralSave").Execute();
                     });
    EXPECT_EQ(flags,
              (TShowFlags{sfSelected, sfRunTime, sfDisableLoad, sfDisableSave, sfSaveAsClose}));
    EXPECT_EQ(Lang->GetText(u"SHello"), u"Hi") << "the string table follows the edit";
    EXPECT_NE(FileBytes(Lang->StorageFile).find("TRTForm.SHello=Hi#|#"), AnsiString::npos);

    // The editor edits the extended translations, which are what is written.
    std::remove(Lang->StorageFile.c_str());
    Lang->RTEditorActionsOptions = {};
    flags = EditWith([&] { Lang->EditExtended(); },
                     [&](TzxTransEditFrm& E) {
                         EXPECT_EQ(E.Grid1->Cells(0, 1), "Button1.Width");
                         EditAndSave(E, "90");
                     });
    EXPECT_EQ(flags, (TShowFlags{sfSelected, sfRunTime, sfExtended}));
    file = FileBytes(Lang->StorageFile);
    EXPECT_NE(file.find("[Extended]"), AnsiString::npos) << file;
    EXPECT_NE(file.find("90#|#95#|#"), AnsiString::npos) << file;
    EXPECT_EQ(file.find("[Captions]"), AnsiString::npos) << file;
}

TEST_F(LangRT, ABinaryStorageFileIsWrittenBinaryByEveryMethod) {
    Lang->StorageFile = Dir.File("rt.zxb");
    EditWith([&] { Lang->EditExtended(); }, [&](auto& E) { EditAndSave(E, "90"); });
    EXPECT_EQ(FileBytes(Lang->StorageFile).substr(0, 9), "ZXB file:");
    EXPECT_EQ(
        GetLineField(AnsiString("x\1") + Lang->ExtendedTranslations()->Items(0)->Values(), 1, '\1'),
        "90");
}

TEST_F(LangRT, NoOrCancelWritesNothing) {
    Lang->StorageFile = Dir.File("rt.zxl");
    const AnsiString before = FormText(Form.get());
    EditWith([&] { Lang->EditAll(); },
             [&](TzxTransEditFrm& E) {
                 EditCell(*E.Grid1, 1, 1, "edited");
                 Dialogs.Answer(mrCancel);
                 ClickItem(E, "miClose");
                 Dialogs.Answer(mrNo);
                 ClickItem(E, "miClose");
             });
    EXPECT_FALSE(FileExists(Lang->StorageFile));
    EXPECT_EQ(FormText(Form.get()), before);
}

TEST_F(LangRT, AFileThatCannotBeWrittenIsReportedAndTheEditsStay) {
    Lang->StorageFile = Dir.File("missing/rt.zxl");
    EditWith([&] { Lang->EditAll(); },
             [&](auto& E) {
                 EditAndSave(E);
                 Dialogs.Answer(mrOk);
             });
    const TDialogRecord& report = Dialogs.LastRequest();
    EXPECT_EQ(report.DlgType, mtError);
    EXPECT_NE(report.Text.find(Lang->StorageFile), AnsiString::npos) << report.Text;
    EXPECT_EQ(GetLineField(Lang->Captions()->Get(0), 1, '\1'), "edited");
}

TEST(LangRTStartUp, RegistersTheClassForFormFilesOnce) {
    InitQzxLangRT();
    InitQzxLangRT();
    EXPECT_EQ(GetClass("TzxLangRT"), TzxLangRT::StaticClass());
    RT_ZXLFile = "shared.zxl";
    DoneQzxLangRT();
    EXPECT_EQ(RT_ZXLFile, "");
    EXPECT_EQ(RT_ActiveLanguage, 1);
}

} // namespace
