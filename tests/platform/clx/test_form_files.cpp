// Forms and their controls through the form file formats: what is written
// (defaults left out, colours and cursors by name, children in order) and
// what a form read back holds. No QApplication exists in this program.
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "rtl/Filer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class FormFilesTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        Form = MakeForm();
    }
    void TearDown() override {
        delete Form;
        delete Loaded;
    }

    static TForm* MakeForm() {
        auto* form = NewComponent<TForm>(nullptr);
        form->SetName("LangForm");
        return form;
    }

    // A small form: a frame aligned to the top holding a label and an edit,
    // and a button with its own font.
    void Populate() {
        Form->SetCaption("Languages");
        Form->SetClientWidth(400);
        Form->SetClientHeight(300);
        Form->SetColor(clWhite);
        Form->Font()->SetCharset(RUSSIAN_CHARSET);
        Form->SetBorderIcons({biSystemMenu});
        auto* frame = NewComponent<TFrame>(Form);
        frame->SetName("TopFrame");
        frame->SetParent(Form);
        frame->SetHeight(60);
        frame->SetAlign(alTop);
        auto* label = NewComponent<TLabel>(Form);
        label->SetName("NameLabel");
        label->SetParent(frame);
        label->SetCaption("&Name:");
        label->SetCursor(crHandPoint);
        auto* edit = NewComponent<TEdit>(Form);
        edit->SetName("NameEdit");
        edit->SetParent(frame);
        edit->SetText("English");
        edit->SetHint("Type|Type the language's name");
        label->SetFocusControl(edit);
        auto* button = NewComponent<TButton>(Form);
        button->SetName("OkButton");
        button->SetParent(Form);
        button->SetModalResult(mrOk);
        button->Font()->SetStyle({fsBold});
    }

    AnsiString FormText() {
        zxtest::TTempDir directory;
        AnsiString file = directory.File("form.xfm.txt");
        SaveComponentToTextFile(file, Form);
        TStringList text;
        text.LoadFromFile(file);
        return text.Text();
    }

    TForm* Form = nullptr;
    TForm* Loaded = nullptr;
};

TEST_F(FormFilesTest, ANewFormWritesOnlyWhatIsNotDefault) {
    AnsiString text = FormText();
    EXPECT_NE(text.find("object LangForm: TForm"), AnsiString::npos) << text;
    EXPECT_NE(text.find("ClientWidth = 320"), AnsiString::npos) << text;
    EXPECT_NE(text.find("Font.Name = 'Sans'"), AnsiString::npos) << text;
    EXPECT_NE(text.find("Caption = 'LangForm'"), AnsiString::npos) << text;
    for (const char* omitted : {"Visible", "Color", "Enabled", "Align", "BorderStyle", "Width",
                                "ParentFont", "Font.Charset", "Font.Style", "TabOrder"})
        EXPECT_EQ(text.find("\n  " + AnsiString(omitted) + " ="), AnsiString::npos) << omitted;
}

TEST_F(FormFilesTest, NamedValuesAndChildrenAreWritten) {
    Populate();
    AnsiString text = FormText();
    EXPECT_NE(text.find("Color = clWhite"), AnsiString::npos) << text;
    EXPECT_NE(text.find("Font.Charset = RUSSIAN_CHARSET"), AnsiString::npos) << text;
    EXPECT_NE(text.find("Cursor = crHandPoint"), AnsiString::npos) << text;
    EXPECT_NE(text.find("BorderIcons = [biSystemMenu]"), AnsiString::npos) << text;
    EXPECT_NE(text.find("FocusControl = NameEdit"), AnsiString::npos) << text;
    EXPECT_NE(text.find("Align = alTop"), AnsiString::npos) << text;
    EXPECT_NE(text.find("ModalResult = 1"), AnsiString::npos) << text;
    // Children follow their parents, in Controls order.
    std::size_t frame = text.find("object TopFrame: TFrame");
    std::size_t label = text.find("object NameLabel: TLabel");
    std::size_t edit = text.find("object NameEdit: TEdit");
    std::size_t button = text.find("object OkButton: TButton");
    ASSERT_NE(button, AnsiString::npos) << text;
    EXPECT_LT(frame, label);
    EXPECT_LT(label, edit);
    EXPECT_LT(edit, button);
    // Controls with their parent's font and colour leave both out.
    std::size_t labelEnd = text.find("end", label);
    EXPECT_EQ(text.substr(label, labelEnd - label).find("Font."), AnsiString::npos) << text;
    EXPECT_NE(text.find("Font.Style = [fsBold]", button), AnsiString::npos) << text;
}

TEST_F(FormFilesTest, AFormReadBackHoldsTheSameControls) {
    Populate();
    zxtest::TTempDir directory;
    AnsiString file = directory.File("form.xfm");
    WriteComponentResFile(file, Form);
    Loaded = MakeForm();
    ReadComponentResFile(file, Loaded);

    EXPECT_EQ(Loaded->Caption(), "Languages");
    EXPECT_EQ(Loaded->ClientWidth(), 400);
    EXPECT_EQ(Loaded->Color(), clWhite);
    EXPECT_EQ(Loaded->Font()->Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(Loaded->BorderIcons(), TBorderIcons{biSystemMenu});
    ASSERT_EQ(Loaded->ControlCount(), 2);
    auto* frame = dynamic_cast<TFrame*>(Loaded->Controls(0));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Align(), alTop);
    EXPECT_EQ(frame->BoundsRect(), Rect(0, 0, 400, 60));
    ASSERT_EQ(frame->ControlCount(), 2);
    auto* label = dynamic_cast<TLabel*>(frame->Controls(0));
    auto* edit = dynamic_cast<TEdit*>(frame->Controls(1));
    ASSERT_NE(label, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(label->Caption(), "&Name:");
    EXPECT_EQ(label->Cursor(), crHandPoint);
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_EQ(label->Color(), clWhite);
    EXPECT_TRUE(label->ParentFont());
    EXPECT_EQ(label->Font()->Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(edit->Text(), "English");
    EXPECT_EQ(edit->Hint(), "Type|Type the language's name");
    EXPECT_EQ(edit->Color(), clWindow);
    auto* button = dynamic_cast<TButton*>(Loaded->FindComponent("OkButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Parent(), Loaded);
    EXPECT_EQ(button->ModalResult(), mrOk);
    EXPECT_FALSE(button->ParentFont());
    EXPECT_EQ(button->Font()->Style(), TFontStyles{fsBold});
    EXPECT_EQ(edit->TabOrder(), 0);
    EXPECT_EQ(button->TabOrder(), 1);
}

} // namespace
