// The run-time editing component: which file it reads as its form is
// loaded, what each editing method shows and writes back, and what happens
// when the user does not save or the file cannot be written.
#include "EditorTestSupport.h"

#include "editor/QzxLangRT.h"

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
    TStringList lines;
    lines.LoadFromFile(FileName);
    return lines.Text();
}

class LangRT : public testing::Test {
protected:
    void SetUp() override {
        std::remove(EditorSettingsFile().c_str());
        Form->SetName("RTForm");
        AddControl<TButton>(Form.get(), "Button1");
        Lang->SetName("Lang");
        Lang->SetNumLang(2);
        Lang->Captions()->Add(Line({"Button1", "Open", "Öffnen"}));
        Lang->Strings()->Add(Line({"SHello", "Hello from the file", "Hallo"}));
        Lang->ExtendedTranslations()->Add()->SetIdentifier("Button1.Width");
        Lang->ExtendedTranslations()->Items(0)->SetValues(Line({"80", "95"}));
    }

    // Opens the editor by Open and returns the flags it got; Drive acts on
    // it as the user and ends it.
    TShowFlags EditWith(const std::function<void()>& Open,
                        const std::function<void(TzxTransEditFrm& Editor)>& Drive) {
        TDialogServiceGuard guard(Dialogs);
        TShowFlags shown;
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Editor) {
            shown = dynamic_cast<TzxTransEditFrm&>(Editor).Flags();
            Drive(dynamic_cast<TzxTransEditFrm&>(Editor));
        });
        Open();
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
        return shown;
    }

    // The first language of the first row becomes Text; then Answer to the
    // close question.
    std::function<void(TzxTransEditFrm&)> EditAndClose(const AnsiString& Text,
                                                       TModalResult Answer = mrYes) {
        return [this, Text, Answer](TzxTransEditFrm& Editor) {
            EditCell(*Editor.Grid1, 1, 1, Text);
            Dialogs.Answer(Answer);
            ClickItem(Editor, "miClose");
        };
    }

    TTempDir Dir;
    TScriptedDialogService Dialogs;
    std::unique_ptr<TRTForm> Form{NewForm<TRTForm>(nullptr)};
    TzxLangRT* Lang = NewComponent<TzxLangRT>(Form.get());
};

TEST_F(LangRT, LoadOnCreateReadsTheNamedFileInItsFormatOnlyAtRunTime) {
    Lang->LoadOnCreate = true;
    for (const char* name : {"rt.zxl", "rt.ZXB", "rt.zxb"}) {
        SCOPED_TRACE(name);
        Lang->StorageFile = Dir.File(name);
        Lang->Strings()->Put(0, Line({"SHello", "Hello from the file", "Hallo"}));
        if (zxIsBinaryFile(name))
            Lang->SaveAllToBinaryFile(Lang->StorageFile);
        else
            Lang->SaveAllToFile(UTF8Decode(Lang->StorageFile), u"~!@#");
        Lang->Strings()->Put(0, Line({"SHello", "Hello from the form", "Hallo"}));
        for (bool designing : {false, true}) {
            std::unique_ptr<TRTForm> read(NewForm<TRTForm>(nullptr));
            read->SetDesigning(designing);
            ReadFormText(FormText(Form.get()), read.get());
            auto* lang = dynamic_cast<TzxLangRT*>(read->FindComponent("Lang"));
            ASSERT_EQ(lang->StringTable()->Count(), 1) << "the string table is rebuilt";
            EXPECT_EQ(GetLineField(lang->Strings()->Get(0), 1, '\1'),
                      designing ? "Hello from the form" : "Hello from the file");
        }
    }
}

TEST_F(LangRT, EachMethodShowsItsFlagsAndWritesItsPartBack) {
    Lang->StorageFile = Dir.File("rt.zxl");
    Lang->StorageDelimiter = u"#|#";
    EXPECT_EQ(EditWith([&] { Lang->EditAll(); }, EditAndClose("edited")),
              (TShowFlags{sfFull, sfRunTime}));
    EXPECT_NE(FileBytes(Lang->StorageFile).find("TRTForm.Button1=edited#|#Öffnen#|#"),
              AnsiString::npos);

    Lang->RTEditorActionsOptions = {eoDisableLoad, eoDisableSave, eoSaveWorksAsClose};
    auto saveCloses = [&](TzxTransEditFrm& E) {
        EditCell(*E.Grid1, 1, 1, "Hi");
        Dialogs.Answer(mrYes);
        Execute(E, "acGeneralSave");
    };
    EXPECT_EQ(EditWith([&] { Lang->EditProperty(stStrings); }, saveCloses),
              (TShowFlags{sfSelected, sfRunTime, sfDisableLoad, sfDisableSave, sfSaveAsClose}));
    EXPECT_EQ(Lang->GetText(u"SHello"), u"Hi") << "the string table follows the edit";
    EXPECT_NE(FileBytes(Lang->StorageFile).find("TRTForm.SHello=Hi#|#"), AnsiString::npos);

    // What the editor shows is the extended translations, which are what
    // is written.
    std::remove(Lang->StorageFile.c_str());
    Lang->RTEditorActionsOptions = {};
    EXPECT_EQ(EditWith([&] { Lang->EditExtended(); }, EditAndClose("90")),
              (TShowFlags{sfSelected, sfRunTime, sfExtended}));
    const AnsiString file = FileBytes(Lang->StorageFile);
    EXPECT_NE(file.find("[Extended]\nTRTForm.Button1.Width=90#|#95#|#\n"), AnsiString::npos)
        << file;
    EXPECT_EQ(file.find("[Captions]"), AnsiString::npos) << file;

    Lang->StorageFile = Dir.File("rt.zxb");
    EditWith([&] { Lang->EditExtended(); }, EditAndClose("91"));
    EXPECT_EQ(FileBytes(Lang->StorageFile).substr(0, 9), "ZXB file:");
}

TEST_F(LangRT, AnswerNoWritesNothingAnUnwritableFileIsReportedAndTheEditsStay) {
    Lang->StorageFile = Dir.File("rt.zxl");
    EditWith([&] { Lang->EditAll(); }, EditAndClose("discarded", mrNo));
    EXPECT_FALSE(FileExists(Lang->StorageFile));

    Lang->StorageFile = Dir.File("missing/rt.zxl");
    EditWith([&] { Lang->EditAll(); },
             [&](TzxTransEditFrm& E) {
                 EditAndClose("kept")(E);
                 Dialogs.Answer(mrOk);
             });
    EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError);
    EXPECT_NE(Dialogs.LastRequest().Text.find(Lang->StorageFile), AnsiString::npos);
    EXPECT_EQ(GetLineField(Lang->Captions()->Get(0), 1, '\1'), "kept");
}

} // namespace
