// The dispatcher's translation file: forms created at run time read their
// translations from it when they link, whole-file loads and saves over every
// linked form, and a file with other languages or a damaged one leaving the
// dispatcher and its components in step.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "rtl/FormText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

namespace {

using namespace zxtest;

class TOrderForm : public TForm {
    ZX_CLASS(TOrderForm, TForm)
public:
    explicit TOrderForm(TComponent* AOwner) : TForm(AOwner) {}
};

class TCustomerForm : public TForm {
    ZX_CLASS(TCustomerForm, TForm)
public:
    explicit TCustomerForm(TComponent* AOwner) : TForm(AOwner) {}
};

// The texts of a form's button, one per language.
using TWords = std::vector<AnsiString>;
const TWords OrderWords = {"Open", "Oeffnen", "Ouvrir"};
const TWords CustomerWords = {"Save", "Speichern", "Enregistrer"};
const TWords LanguageNames = {"English", "Deutsch", "Francais"};

std::unique_ptr<TStringList> Names(const TWords& Lines) {
    auto names = std::make_unique<TStringList>();
    for (const AnsiString& line : Lines)
        names->Add(line);
    return names;
}

AnsiString LineOf(const AnsiString& Key, const TWords& Words, std::size_t Languages) {
    AnsiString line = Key + D;
    for (std::size_t language = 0; language < Languages; ++language)
        line += Words[language] + D;
    return line;
}

// A form of class T as its author made it: a button and a translation
// component that knows the button's caption and a greeting.
template <typename T> T* NewAuthoredForm(const TWords& Words, std::size_t Languages) {
    T* form = NewForm<T>(nullptr);
    auto* button = AddControl<TButton>(form, "Button1");
    button->SetCaption(Words[0]);
    auto* lang = NewComponent<TzxLang>(form);
    lang->SetName("zxLang1");
    lang->SetNumLang(static_cast<Integer>(Languages));
    TWords names(LanguageNames.begin(), LanguageNames.begin() + static_cast<long>(Languages));
    lang->SetLangNames(Names(names).get());
    lang->Captions()->Add(LineOf("Button1", Words, Languages));
    lang->Strings()->Add(LineOf("Greeting", {"Hello", "Hallo", "Bonjour"}, Languages));
    return form;
}

TzxLang* LangOf(TComponent* Form) {
    return dynamic_cast<TzxLang*>(Form->FindComponent("zxLang1"));
}

AnsiString ButtonCaption(TComponent* Form) {
    return dynamic_cast<TButton*>(Form->FindComponent("Button1"))->Caption();
}

// Writes the translations of both forms, in Languages languages, into the
// file: a text file through each component, a binary one through the
// binary file's entries.
void AuthorFile(const AnsiString& FileName, std::size_t Languages) {
    std::unique_ptr<TOrderForm> order(NewAuthoredForm<TOrderForm>(OrderWords, Languages));
    std::unique_ptr<TCustomerForm> customer(
        NewAuthoredForm<TCustomerForm>(CustomerWords, Languages));
    for (TForm* form : {static_cast<TForm*>(order.get()), static_cast<TForm*>(customer.get())})
        LangOf(form)->SaveAllToFile(UTF8Decode(FileName), u"~!@#");
}

// The form data of a form as the application ships it: the button in its
// design language and a translation component linked to the dispatcher of
// DataModule1, without translations of its own.
AnsiString FormData(const AnsiString& Name, const AnsiString& ClassName,
                    const AnsiString& Caption) {
    return "object " + Name + ": " + ClassName +
           "\n"
           "  object Button1: TButton\n"
           "    Caption = '" +
           Caption +
           "'\n"
           "  end\n"
           "  object zxLang1: TzxLang\n"
           "    LangDispatcher = DataModule1.zxLangDispatcher1\n"
           "  end\n"
           "end\n";
}

// Creates a form of class T from its form data, as an application does.
template <typename T> std::unique_ptr<T> CreateFromFormData(const AnsiString& Data) {
    std::unique_ptr<T> form(NewComponent<T>(nullptr));
    ReadFormText(Data, form.get());
    form->AfterConstruction();
    return form;
}

AnsiString FileText(const AnsiString& FileName) {
    std::ifstream file(FileName, std::ios::binary);
    return AnsiString(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileText(const AnsiString& FileName, const AnsiString& Text) {
    std::ofstream(FileName, std::ios::binary | std::ios::trunc) << Text;
}

// A data module holding the dispatcher with three languages; the parameter
// is the extension of its translation file.
class DispatcherFiles : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        RegisterClxClasses();
        InitQzxComp();
        FileName = Dir.File(AnsiString("app") + GetParam());
        Module = NewComponent<TDataModule>(nullptr);
        Module->SetName("DataModule1");
        Dispatcher = NewComponent<TzxLangDispatcher>(Module);
        Dispatcher->SetName("zxLangDispatcher1");
        Dispatcher->SetNumOfLanguages(3);
        Dispatcher->SetLangNames(Names(LanguageNames).get());
        Dispatcher->SetFileName(FileName);
        Dispatcher->SetOnLinkToDispatcher([this](TObject* Sender, TzxCustomLang* Lang) {
            EXPECT_EQ(Sender, Dispatcher);
            Linked.push_back(Lang);
        });
    }
    void TearDown() override {
        Order.reset();
        Customer.reset();
        delete Module;
    }

    void CreateOrderForm() {
        Order = CreateFromFormData<TOrderForm>(FormData("OrderForm", "TOrderForm", "Open"));
    }
    void CreateCustomerForm() {
        Customer =
            CreateFromFormData<TCustomerForm>(FormData("CustomerForm", "TCustomerForm", "Save"));
    }
    bool Binary() const { return zxIsBinaryFile(FileName); }

    TTempDir Dir;
    AnsiString FileName;
    TDataModule* Module = nullptr;
    TzxLangDispatcher* Dispatcher = nullptr;
    std::vector<TzxCustomLang*> Linked;
    std::unique_ptr<TOrderForm> Order;
    std::unique_ptr<TCustomerForm> Customer;
};

INSTANTIATE_TEST_SUITE_P(TextAndBinary, DispatcherFiles, testing::Values(".zxl", ".ZXB"));

TEST_P(DispatcherFiles, FormsCreatedAtRunTimeReadTheirTranslationsWhenTheyLink) {
    AuthorFile(FileName, 3);
    Dispatcher->SetActiveLanguage(2);
    CreateOrderForm();
    CreateCustomerForm();

    EXPECT_EQ(ButtonCaption(Order.get()), "Oeffnen");
    EXPECT_EQ(ButtonCaption(Customer.get()), "Speichern");
    EXPECT_EQ(LangOf(Order.get())->GetText(u"Greeting"), u"Hallo")
        << "the string table is rebuilt from the file";
    EXPECT_EQ(LangOf(Customer.get())->Language(), u"Deutsch");
    ASSERT_EQ(Linked.size(), 2u);
    EXPECT_EQ(Linked[0], LangOf(Order.get()));
    EXPECT_EQ(Linked[1], LangOf(Customer.get()));
    EXPECT_EQ(Dispatcher->GetZxLangsCount(), 2);
    EXPECT_EQ(Dispatcher->BinaryFileManagerFor(FileName) != nullptr, Binary());

    Dispatcher->SetActiveLanguage(3);
    EXPECT_EQ(ButtonCaption(Order.get()), "Ouvrir");
    EXPECT_EQ(ButtonCaption(Customer.get()), "Enregistrer");
    Dispatcher->SetLanguage(u"English");
    EXPECT_EQ(ButtonCaption(Order.get()), "Open");
    EXPECT_EQ(ButtonCaption(Customer.get()), "Save");
    EXPECT_EQ(LangOf(Customer.get())->GetText(u"Greeting"), u"Hello");
}

TEST_P(DispatcherFiles, TheFilesLanguageNamesBecomeTheDispatchersAndReachEveryForm) {
    AuthorFile(FileName, 3);
    Dispatcher->SetFileName("");
    Dispatcher->SetLangNames(Names({"en", "de", "fr"}).get());
    Dispatcher->SetActiveLanguage(2);
    CreateCustomerForm();
    Dispatcher->SetFileName(FileName);
    CreateOrderForm();
    EXPECT_EQ(Dispatcher->LangNames()->CommaText(), "English,Deutsch,Francais");
    EXPECT_EQ(Dispatcher->Language(), u"Deutsch");
    EXPECT_EQ(LangOf(Customer.get())->LangNames()->CommaText(), "English,Deutsch,Francais");
    EXPECT_EQ(LangOf(Customer.get())->Language(), u"Deutsch");
    EXPECT_EQ(LangOf(Order.get())->ActiveLanguage(), 2);
}

TEST_P(DispatcherFiles, NamingAFileReadsNothingUntilLoadAllFromFile) {
    AuthorFile(FileName, 3);
    Dispatcher->SetFileName("");
    CreateOrderForm();
    Dispatcher->SetActiveLanguage(2);
    Dispatcher->SetFileName(FileName);
    EXPECT_EQ(LangOf(Order.get())->Captions()->Count(), 0);
    EXPECT_EQ(ButtonCaption(Order.get()), "Open");

    Dispatcher->LoadAllFromFile(UTF8Decode(FileName));
    EXPECT_EQ(ButtonCaption(Order.get()), "Oeffnen");
}

// A component read before the dispatcher of its own form links in its
// Loaded, while the dispatcher is still being read.
TEST_P(DispatcherFiles, AComponentLinksToTheDispatcherOfItsOwnFormAsTheFormIsRead) {
    AuthorFile(FileName, 3);
    auto form = CreateFromFormData<TOrderForm>("object OrderForm: TOrderForm\n"
                                               "  object Button1: TButton\n"
                                               "    Caption = 'Open'\n"
                                               "  end\n"
                                               "  object zxLang1: TzxLang\n"
                                               "    LangDispatcher = Local\n"
                                               "  end\n"
                                               "  object Local: TzxLangDispatcher\n"
                                               "    ActiveLanguage = 2\n"
                                               "    NumOfLanguages = 3\n"
                                               "    FileName = '" +
                                               FileName +
                                               "'\n"
                                               "  end\n"
                                               "end\n");
    auto* local = dynamic_cast<TzxLangDispatcher*>(form->FindComponent("Local"));
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->GetZxLangsCount(), 1);
    EXPECT_EQ(ButtonCaption(form.get()), "Oeffnen");
    EXPECT_EQ(local->LangNames()->CommaText(), "English,Deutsch,Francais");
    local->SetActiveLanguage(3);
    EXPECT_EQ(ButtonCaption(form.get()), "Ouvrir");
}

TEST_P(DispatcherFiles, FreeingAFormUnlinksIt) {
    AuthorFile(FileName, 3);
    CreateOrderForm();
    CreateCustomerForm();
    Order.reset();
    ASSERT_EQ(Dispatcher->GetZxLangsCount(), 1);
    EXPECT_EQ(Dispatcher->GetZxLangs(0), LangOf(Customer.get()));
    Dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(ButtonCaption(Customer.get()), "Speichern");
}

TEST_P(DispatcherFiles, FreeingTheDispatcherFirstLeavesTheComponentsWorkingAlone) {
    AuthorFile(FileName, 3);
    CreateOrderForm();
    CreateCustomerForm();
    delete Module;
    Module = nullptr;
    EXPECT_EQ(LangOf(Order.get())->LangDispatcher(), nullptr);
    LangOf(Order.get())->SetActLang(3);
    EXPECT_EQ(ButtonCaption(Order.get()), "Ouvrir");
    EXPECT_EQ(ButtonCaption(Customer.get()), "Save");
}

TEST_P(DispatcherFiles, AtDesignTimeALinkingComponentOnlyTakesTheLanguages) {
    AuthorFile(FileName, 3);
    Dispatcher->SetActiveLanguage(2);
    Module->SetDesigning(true);
    std::unique_ptr<TOrderForm> form(NewForm<TOrderForm>(nullptr));
    AddControl<TButton>(form.get(), "Button1")->SetCaption("Open");
    auto* lang = NewComponent<TzxLang>(form.get());
    lang->SetName("zxLang1");
    form->SetDesigning(true);

    lang->SetLangDispatcher(Dispatcher);
    EXPECT_EQ(lang->NumOfLanguages(), 3);
    EXPECT_EQ(lang->LangNames()->CommaText(), "English,Deutsch,Francais");
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    EXPECT_EQ(lang->Captions()->Text().find("Oeffnen"), AnsiString::npos) << "no file read";
    EXPECT_EQ(lang->Strings()->Count(), 0);
    EXPECT_TRUE(Linked.empty());
    EXPECT_EQ(Dispatcher->BinaryFileManagerFor(FileName), nullptr);
    Module->SetDesigning(false);
}

TEST_P(DispatcherFiles, WithoutAFileALinkingFormIsSwitchedAlone) {
    Dispatcher->SetActiveLanguage(2);
    CreateOrderForm();
    EXPECT_EQ(LangOf(Order.get())->ActiveLanguage(), 2);
    EXPECT_EQ(ButtonCaption(Order.get()), "Open") << "no translation known";
    EXPECT_EQ(Linked.size(), 1u);
    EXPECT_EQ(Dispatcher->BinaryFileManagerFor(FileName), nullptr);
}

// ---------------------------------------------------------------------------
// Files with other languages

TEST_P(DispatcherFiles, AFileWithMoreLanguagesBringsThemToEveryComponent) {
    Dispatcher->SetNumOfLanguages(2);
    Dispatcher->SetFileName("");
    CreateCustomerForm();
    ASSERT_EQ(LangOf(Customer.get())->NumOfLanguages(), 2);

    AuthorFile(FileName, 3);
    Dispatcher->SetFileName(FileName);
    CreateOrderForm();
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 3);
    EXPECT_EQ(Dispatcher->LangNames()->CommaText(), "English,Deutsch,Francais");
    for (TForm* form : {static_cast<TForm*>(Order.get()), static_cast<TForm*>(Customer.get())}) {
        EXPECT_EQ(LangOf(form)->NumOfLanguages(), 3) << form->Name();
        EXPECT_EQ(LangOf(form)->LangNames()->Count(), 3) << form->Name();
    }
    Dispatcher->SetActiveLanguage(3);
    EXPECT_EQ(ButtonCaption(Order.get()), "Ouvrir");
    EXPECT_EQ(LangOf(Customer.get())->ActiveLanguage(), 3);
}

TEST_P(DispatcherFiles, AFileWithFewerLanguagesLeavesNoComponentBeyondItsCount) {
    Dispatcher->SetFileName("");
    Dispatcher->SetActiveLanguage(3);
    CreateCustomerForm();

    AuthorFile(FileName, 2);
    Dispatcher->SetFileName(FileName);
    CreateOrderForm();
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 2);
    EXPECT_EQ(Dispatcher->LangNames()->CommaText(), "English,Deutsch");
    EXPECT_EQ(Dispatcher->ActiveLanguage(), 1) << "language 3 is gone";
    EXPECT_EQ(Dispatcher->Language(), u"English");
    for (TForm* form : {static_cast<TForm*>(Order.get()), static_cast<TForm*>(Customer.get())}) {
        EXPECT_EQ(LangOf(form)->NumOfLanguages(), 2) << form->Name();
        EXPECT_EQ(LangOf(form)->ActiveLanguage(), 1) << form->Name();
        EXPECT_EQ(LangOf(form)->Language(), u"English") << form->Name();
    }
    EXPECT_EQ(ButtonCaption(Order.get()), "Open");
    Dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(ButtonCaption(Order.get()), "Oeffnen");
    EXPECT_THROW(Dispatcher->SetActiveLanguage(3), ELanguageError);
}

// ---------------------------------------------------------------------------
// Damaged files

TEST_P(DispatcherFiles, ADamagedFileRaisesWithTheFormLinkedAndSwitchedAsWithoutAFile) {
    WriteFileText(FileName,
                  Binary() ? AnsiString("ZXB file: damaged") : "[Captions]\nnot an entry\n");
    Dispatcher->SetActiveLanguage(2);
    std::unique_ptr<TOrderForm> form(NewForm<TOrderForm>(nullptr));
    AddControl<TButton>(form.get(), "Button1")->SetCaption("Open");
    auto* lang = NewComponent<TzxLang>(form.get());
    lang->SetName("zxLang1");
    lang->Captions()->Add(Line({"Button1", "Open", "Auf"}));

    EXPECT_ANY_THROW(lang->SetLangDispatcher(Dispatcher));
    EXPECT_EQ(Dispatcher->GetZxLangsCount(), 1);
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    EXPECT_EQ(ButtonCaption(form.get()), "Auf") << "its own translations are shown";
    EXPECT_EQ(lang->Captions()->Count(), 1);
    EXPECT_TRUE(Linked.empty());
    form.reset();
    EXPECT_EQ(Dispatcher->GetZxLangsCount(), 0);
}

TEST_P(DispatcherFiles, ADamagedFileMakesCreatingAFormFailWithoutLeavingALink) {
    WriteFileText(FileName,
                  Binary() ? AnsiString("ZXB file: damaged") : "[Captions]\nnot an entry\n");
    EXPECT_ANY_THROW(CreateOrderForm());
    EXPECT_EQ(Order, nullptr);
    EXPECT_EQ(Dispatcher->GetZxLangsCount(), 0);
}

TEST_P(DispatcherFiles, LoadingADamagedFileChangesNoComponent) {
    AuthorFile(FileName, 3);
    CreateOrderForm();
    CreateCustomerForm();
    Dispatcher->SetActiveLanguage(2);
    const AnsiString damaged = Dir.File(AnsiString("damaged") + GetParam());
    if (Binary()) {
        // The order form's entry is whole, the customer form's record cut
        // short: neither form may change.
        AnsiString bytes = FileText(FileName);
        WriteFileText(damaged, bytes.substr(0, bytes.size() - 40));
    } else {
        WriteFileText(damaged, FileText(FileName) + "[Hints]\nbroken line\n");
    }
    LangOf(Order.get())->Captions()->Clear();
    LangOf(Order.get())->Captions()->Add(Line({"Button1", "Open", "Auf", "Ouvrir"}));
    const AnsiString orderLines = LangOf(Order.get())->Captions()->Text();

    EXPECT_ANY_THROW(Dispatcher->LoadAllFromFile(UTF8Decode(damaged)));
    EXPECT_EQ(LangOf(Order.get())->Captions()->Text(), orderLines);
    EXPECT_EQ(ButtonCaption(Customer.get()), "Speichern");
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 3);
}

TEST_P(DispatcherFiles, LoadingAMissingFileChangesNothing) {
    AuthorFile(FileName, 3);
    CreateOrderForm();
    const AnsiString lines = LangOf(Order.get())->Captions()->Text();
    Dispatcher->LoadAllFromFile(UTF8Decode(Dir.File(AnsiString("missing") + GetParam())));
    EXPECT_EQ(LangOf(Order.get())->Captions()->Text(), lines);
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 3);
}

// ---------------------------------------------------------------------------
// Whole files

TEST_P(DispatcherFiles, SavedFormsLoadBackIntoEveryLinkedForm) {
    AuthorFile(FileName, 3);
    CreateOrderForm();
    CreateCustomerForm();
    const AnsiString copy = Dir.File(AnsiString("copy") + GetParam());
    if (Binary())
        Dispatcher->SaveAllToBinaryFile(UTF8Decode(copy));
    else
        Dispatcher->SaveAllToFile(UTF8Decode(copy), u"|");

    LangOf(Order.get())->Captions()->Clear();
    LangOf(Customer.get())->Strings()->Clear();
    LangOf(Customer.get())->UpdateStrCollections();
    Dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(ButtonCaption(Order.get()), "Open") << "its translations are gone";

    Dispatcher->LoadAllFromFile(UTF8Decode(copy));
    EXPECT_EQ(ButtonCaption(Order.get()), "Oeffnen");
    EXPECT_EQ(ButtonCaption(Customer.get()), "Speichern");
    EXPECT_EQ(LangOf(Customer.get())->GetText(u"Greeting"), u"Hallo");
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 3);
}

TEST_P(DispatcherFiles, SavingAllWritesEveryFormIntoTheOneFile) {
    CreateOrderForm();
    CreateCustomerForm();
    LangOf(Order.get())->Captions()->Add(LineOf("Button1", OrderWords, 3));
    LangOf(Customer.get())->Captions()->Add(LineOf("Button1", CustomerWords, 3));
    Dispatcher->SaveAllToFile(UTF8Decode(FileName), u"~!@#");

    if (Binary()) {
        TZXBFileManager manager(FileName);
        ASSERT_EQ(manager.GetCompCount(), 2);
        EXPECT_EQ(manager.GetOwnerNames(0), "TOrderForm");
        EXPECT_EQ(manager.GetOwnerNames(1), "TCustomerForm");
    } else {
        const AnsiString text = FileText(FileName);
        EXPECT_NE(text.find("TOrderForm.Button1=Open~!@#Oeffnen~!@#Ouvrir"), AnsiString::npos)
            << text;
        EXPECT_NE(text.find("TCustomerForm.Button1=Save~!@#Speichern"), AnsiString::npos) << text;
    }
}

// The forms' older keys (by component name) and other forms' entries are
// in the file already.
TEST(DispatcherTextFile, SavingAllGivesTheTextOfEachFormSavedInTurn) {
    InitQzxComp();
    TTempDir dir;
    const AnsiString inTurn = dir.File("in-turn.zxl");
    const AnsiString atOnce = dir.File("at-once.zxl");
    const AnsiString text = "[Captions]\nOrderForm.Button1=old\nTOther.Button1=other\n"
                            "torderform.button1=older spelling\n\n[Strings]\nCustomerForm.Greeting=x\n";
    WriteFileText(inTurn, text);
    WriteFileText(atOnce, text);
    std::unique_ptr<TOrderForm> order(NewAuthoredForm<TOrderForm>(OrderWords, 3));
    std::unique_ptr<TCustomerForm> customer(NewAuthoredForm<TCustomerForm>(CustomerWords, 3));
    order->SetName("OrderForm");
    customer->SetName("CustomerForm");
    LangOf(customer.get())->Captions()->Add(LineOf("BUTTON1", CustomerWords, 3));
    TzxLangDispatcher dispatcher(nullptr);
    dispatcher.SetLangNames(Names(LanguageNames).get());
    for (TForm* form : {static_cast<TForm*>(order.get()), static_cast<TForm*>(customer.get())}) {
        LangOf(form)->SaveAllToFile(UTF8Decode(inTurn), u"~!@#");
        LangOf(form)->SetLangDispatcher(&dispatcher);
    }
    dispatcher.SaveAllToFile(UTF8Decode(atOnce), u"~!@#");
    EXPECT_EQ(FileText(atOnce), FileText(inTurn));
    EXPECT_EQ(FileText(atOnce).find("\nOrderForm.Button1="), AnsiString::npos);
    EXPECT_NE(FileText(atOnce).find("\nTOther.Button1=other"), AnsiString::npos);
}

TEST(DispatcherTextFile, ASaveThatFailsPartWayLeavesTheFileAsItWas) {
    InitQzxComp();
    TTempDir dir;
    const AnsiString file = dir.File("app.zxl");
    AuthorFile(file, 3);
    const AnsiString before = FileText(file);
    std::unique_ptr<TOrderForm> order(NewAuthoredForm<TOrderForm>(CustomerWords, 3));
    std::unique_ptr<TCustomerForm> customer(NewAuthoredForm<TCustomerForm>(OrderWords, 3));
    LangOf(customer.get())->Captions()->Add(LineOf("A=B", CustomerWords, 3));
    TzxLangDispatcher dispatcher(nullptr);
    LangOf(order.get())->SetLangDispatcher(&dispatcher);
    LangOf(customer.get())->SetLangDispatcher(&dispatcher);
    EXPECT_THROW(dispatcher.SaveAllToFile(UTF8Decode(file), u"~!@#"), ELanguageError);
    EXPECT_EQ(FileText(file), before);
}

TEST_P(DispatcherFiles, LoadingAllTakesTheFilesLanguagesForEveryComponent) {
    CreateOrderForm();
    CreateCustomerForm();
    Dispatcher->SetActiveLanguage(3);
    AuthorFile(FileName, 2);

    Dispatcher->LoadAllFromFile(UTF8Decode(FileName));
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 2);
    EXPECT_EQ(Dispatcher->ActiveLanguage(), 1);
    for (TForm* form : {static_cast<TForm*>(Order.get()), static_cast<TForm*>(Customer.get())}) {
        EXPECT_EQ(LangOf(form)->NumOfLanguages(), 2) << form->Name();
        EXPECT_EQ(LangOf(form)->ActiveLanguage(), 1) << form->Name();
    }
    Dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(ButtonCaption(Customer.get()), "Speichern");
}

// Streams hold the binary format.
class DispatcherStream : public DispatcherFiles {};

INSTANTIATE_TEST_SUITE_P(Binary, DispatcherStream, testing::Values(".ZXB"));

TEST_P(DispatcherStream, LoadingFromAStreamReadsEachFormsEntry) {
    AuthorFile(FileName, 3);
    CreateOrderForm();
    CreateCustomerForm();
    LangOf(Order.get())->Captions()->Clear();
    LangOf(Customer.get())->Captions()->Clear();

    // Written after other data: its positions count from the stream's start.
    TMemoryStream stream;
    stream.WriteBuffer("lead", 4);
    TZXBFileManager(FileName).SaveToStream(stream);
    stream.SetPosition(4);
    Dispatcher->SetActiveLanguage(3);
    Dispatcher->LoadAllFromStream(stream);
    EXPECT_EQ(ButtonCaption(Order.get()), "Ouvrir");
    EXPECT_EQ(ButtonCaption(Customer.get()), "Enregistrer");

    // The order form's entry is whole, the customer form's record cut short.
    TMemoryStream damaged;
    TZXBFileManager(FileName).SaveToStream(damaged);
    damaged.SetSize(damaged.Size() - 40);
    damaged.SetPosition(0);
    LangOf(Order.get())->Captions()->Clear();
    EXPECT_THROW(Dispatcher->LoadAllFromStream(damaged), Exception);
    EXPECT_EQ(LangOf(Order.get())->Captions()->Count(), 0);
    EXPECT_EQ(ButtonCaption(Customer.get()), "Enregistrer");

    TStringStream foreign("ZXB file: not one");
    EXPECT_EQ(MessageOf<Exception>([&] { Dispatcher->LoadAllFromStream(foreign); }),
              "Unrecognized stream format!");
}

// ---------------------------------------------------------------------------
// Strings by identifier through the dispatcher

TEST_P(DispatcherFiles, StringsOfAnotherLinkedFormAnswerAComponentWithoutItsOwn) {
    AuthorFile(FileName, 3);
    CreateOrderForm();
    Dispatcher->SetFileName("");
    CreateCustomerForm();
    TzxLang* asker = LangOf(Customer.get());
    ASSERT_EQ(asker->Strings()->Count(), 0);
    asker->SetOptions(TzxLangOptions{loUseExtUDStrings});

    Dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(asker->GetText(u"Greeting"), u"Hallo");
    EXPECT_EQ(asker->GetText(u"greeting"), u"Hallo");
    EXPECT_EQ(asker->GetText(u"Missing"), u"");

    LangOf(Order.get())->Strings()->Put(0, Line({"Greeting", "Hello", "", "Bonjour"}));
    Dispatcher->SetTestMode(true);
    EXPECT_EQ(asker->GetText(u"Greeting"), u"HELLO") << "test mode shows language 1 upper-cased";
    Dispatcher->SetTestMode(false);
    EXPECT_EQ(asker->GetText(u"Greeting"), u"");
    EXPECT_EQ(asker->GetTextOrDefault(u"Greeting"), u"Hello");
}

} // namespace
