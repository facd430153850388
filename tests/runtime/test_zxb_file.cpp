// The binary translation file: its exact layout, entries per owner form
// class, loading one form's entry, and damaged files refused cleanly with
// the component left as it was.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "rtl/Filer.h"
#include "rtl/FormText.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using namespace zxtest;

class TMainForm : public TForm {
    ZX_CLASS(TMainForm, TForm)
public:
    explicit TMainForm(TComponent* AOwner) : TForm(AOwner) {}
};

class TOtherForm : public TForm {
    ZX_CLASS(TOtherForm, TForm)
public:
    explicit TOtherForm(TComponent* AOwner) : TForm(AOwner) {}
};

const std::string Signature("ZXB file: TzxLang binary translation data", 42);

std::string Word16(std::size_t Value) {
    return {static_cast<char>(Value & 0xFF), static_cast<char>((Value >> 8) & 0xFF)};
}

std::string Word32(std::size_t Value) {
    return Word16(Value & 0xFFFF) + Word16(Value >> 16);
}

std::string ContentOf(TMemoryStream& Stream) {
    return std::string(reinterpret_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.Size()));
}

std::string FileContent(const std::string& FileName) {
    TMemoryStream stream;
    stream.LoadFromFile(FileName);
    return ContentOf(stream);
}

void WriteFile(const std::string& FileName, const std::string& Content) {
    TMemoryStream stream;
    stream.WriteBuffer(Content.data(), static_cast<Integer>(Content.size()));
    stream.SaveToFile(FileName);
}

std::string RecordOf(TComponent* Component) {
    TMemoryStream stream;
    WriteComponent(stream, Component);
    return ContentOf(stream);
}

std::string RecordOfText(const std::string& Text) {
    TStringStream input(Text);
    TMemoryStream output;
    ObjectTextToBinary(input, output);
    return ContentOf(output);
}

// A binary translation file built by hand from the layout: the header, the
// directory with the records' positions, then the records.
std::string BuiltFile(const std::vector<std::pair<std::string, std::string>>& Entries,
                    const std::string& FixedLanguages = "") {
    std::size_t position = 46 + FixedLanguages.size();
    for (const auto& [name, record] : Entries)
        position += 2 + name.size() + 4;
    std::string directory;
    std::string records;
    for (const auto& [name, record] : Entries) {
        directory += Word16(name.size()) + name + Word32(position + records.size());
        records += record;
    }
    return Signature + Word16(Entries.size()) + Word16(FixedLanguages.size()) + FixedLanguages +
           directory + records;
}

// Everything of a component that a load may change.
std::string StateOf(TzxCustomLang* Lang) {
    std::string state;
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        if (TStrings* list = Lang->GetPropListByType(static_cast<TStringsType>(kind)))
            state += list->Text() + "|";
    state += Lang->LangNames()->Text() + UTF8Encode(Lang->Language()) + "|" +
             IntToStr(Lang->NumOfLanguages()) + IntToStr(Lang->ActiveLanguage()) + "|" +
             IntToStr(Lang->ComponentCount());
    for (Integer index = 0; index < Lang->ExtendedTranslations()->Count(); ++index) {
        TzxExtendedItem* item = Lang->ExtendedTranslations()->Items(index);
        state += "|" + item->GetIdentifier() + "=" + item->Values();
    }
    return state;
}

class ZXBFile : public TLangFormTest<TMainForm> {
protected:
    void SetUp() override {
        InitQzxComp();
        TLangFormTest::SetUp();
        Form->SetName("MainForm");
        Lang->SetName("zxLang1");
        TStringList names;
        names.SetCommaText("English,Deutsch");
        Lang->SetLangNames(&names);
        Lang->Captions()->Add(Line({"TMainForm", "Main", "Haupt"}));
        Lang->Captions()->Add(Line({"Label1", "Name", "Name"}));
        TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
        item->SetIdentifier("Label1.Width");
        item->SetPropertyType(tkInteger);
        item->SetValues(Line({"40", "60"}));
    }
    void TearDown() override {
        delete OtherForm;
        TLangFormTest::TearDown();
    }

    // A form of another class with a translation component of its own.
    TzxLang* OtherLang() {
        OtherForm = NewForm<TOtherForm>(nullptr);
        auto* lang = NewComponent<TzxLang>(OtherForm);
        lang->SetName("zxLangOther");
        lang->Hints()->Add(Line({"Edit1", "type here"}));
        return lang;
    }

    std::string SavedFile() {
        TZXBFileManager manager;
        manager.Add(Lang);
        TMemoryStream stream;
        manager.SaveToStream(stream);
        return ContentOf(stream);
    }

    // A fresh component on a fresh form of the main class, filled from File.
    bool LoadInto(TzxLang* Target, const std::string& File, const AnsiString& Name = "TMainForm") {
        TZXBFileManager manager;
        TStringStream stream(File);
        return manager.LoadFromStream(Target, Name, stream);
    }

    TTempDir Dir;
    TOtherForm* OtherForm = nullptr;
};

// ---------------------------------------------------------------------------
// Layout

TEST_F(ZXBFile, OneFormGivesHeaderDirectoryAndRecordAtTheirPlaces) {
    const std::string file = SavedFile();
    const std::string record = RecordOf(Lang);
    ASSERT_EQ(file.size(), 61 + record.size());
    EXPECT_EQ(file.substr(0, 42), Signature);
    EXPECT_EQ(file[41], '\0');
    EXPECT_EQ(file.substr(42, 2), Word16(1)) << "one entry";
    EXPECT_EQ(file.substr(44, 2), Word16(0)) << "no fixed languages";
    EXPECT_EQ(file.substr(46, 2), Word16(9));
    EXPECT_EQ(file.substr(48, 9), "TMainForm");
    EXPECT_EQ(file.substr(57, 4), Word32(61));
    EXPECT_EQ(file.substr(61, 4), "TPF0");
    EXPECT_EQ(file.substr(61), record);
    EXPECT_EQ(file, BuiltFile({{"TMainForm", record}}));

    TZXBFileManager manager;
    manager.Add(Lang);
    EXPECT_EQ(manager.GetComponentSize(0), static_cast<Integer>(record.size()));
}

TEST_F(ZXBFile, FixedLanguagesTextStandsBeforeTheDirectory) {
    TZXBFileManager manager;
    TStringList fixed;
    fixed.SetCommaText("English,Deutsch");
    manager.SetFixedLanguages(&fixed);
    fixed.Clear();
    EXPECT_EQ(manager.FixedLanguages()->Count(), 2) << "the manager keeps its own copy";
    manager.Add(Lang);
    manager.Add(OtherLang());
    TMemoryStream stream;
    manager.SaveToStream(stream);
    EXPECT_EQ(stream.Position(), stream.Size()) << "a caller may go on writing after the file";
    EXPECT_EQ(ContentOf(stream), BuiltFile({{"TMainForm", RecordOf(Lang)},
                                          {"TOtherForm", RecordOf(OtherForm->Components(0))}},
                                         "English\nDeutsch\n"));

    TZXBFileManager read;
    stream.SetPosition(0);
    read.ReadStreamContent(stream);
    EXPECT_EQ(read.FixedLanguages()->CommaText(), "English,Deutsch");
    ASSERT_EQ(read.GetCompCount(), 2);
    EXPECT_EQ(read.GetOwnerNames(1), "TOtherForm");
    EXPECT_EQ(read.GetzxComponents(1)->Name(), "zxLangOther");
    EXPECT_EQ(read.GetzxComponents(1)->Owner(), nullptr);
}

TEST_F(ZXBFile, RecordsAreAbsolutePositionsInTheStreamWritten) {
    TMemoryStream stream;
    stream.WriteBuffer("prefix", 6);
    TZXBFileManager manager;
    manager.Add(Lang);
    manager.SaveToStream(stream);
    EXPECT_EQ(ContentOf(stream).substr(6 + 57, 4), Word32(6 + 61));
    stream.SetPosition(6);
    TzxLang* copy = NewComponent<TzxLang>(NewForm<TMainForm>(nullptr));
    std::unique_ptr<TComponent> form(copy->Owner());
    EXPECT_TRUE(TZXBFileManager().LoadFromStream(copy, "TMainForm", stream));
    EXPECT_EQ(copy->LangNames()->CommaText(), "English,Deutsch");
    EXPECT_EQ(copy->Captions()->Text(), Lang->Captions()->Text());
}

// ---------------------------------------------------------------------------
// Entries per owner form class

TEST_F(ZXBFile, ASecondFormIsAppendedAndTheFirstReplacedInPlace) {
    const std::string fileName = Dir.File("project.zxb");
    {
        TZXBFileManager manager(fileName);
        EXPECT_EQ(manager.GetCompCount(), 0) << "a missing file starts empty";
        manager.Add(Lang);
        manager.SaveToFile(fileName);
    }
    {
        TZXBFileManager manager(fileName);
        manager.Add(OtherLang());
        manager.SaveToFile(fileName);
    }
    Lang->SetName("zxLangRenamed");
    {
        TZXBFileManager manager(fileName);
        ASSERT_EQ(manager.GetCompCount(), 2);
        manager.Add(Lang);
        EXPECT_EQ(manager.GetzxComponents(0), Lang);
        manager.SaveToFile(fileName);
    }
    TZXBFileManager manager(fileName);
    ASSERT_EQ(manager.GetCompCount(), 2);
    EXPECT_EQ(manager.OwnerNames()->CommaText(), "TMainForm,TOtherForm");
    EXPECT_EQ(manager.GetzxComponents(0)->Name(), "zxLangRenamed");
    EXPECT_EQ(manager.GetzxComponents(1)->Name(), "zxLangOther");
    EXPECT_EQ(manager.GetzxComponents(1)->Hints()->Text(), Line({"Edit1", "type here"}) + "\n");
    EXPECT_EQ(FileContent(fileName), BuiltFile({{"TMainForm", RecordOf(Lang)},
                                              {"TOtherForm", RecordOf(OtherForm->Components(0))}}));
}

TEST_F(ZXBFile, EntriesAddedStayTheirFormsAndEntriesReadBelongToTheManager) {
    {
        TZXBFileManager manager;
        manager.Add(Lang);
        manager.Remove(0);
        manager.Add(Lang);
        manager.Clear();
    }
    EXPECT_EQ(Lang->Owner(), Form) << "the form's component outlives the manager";
    EXPECT_EQ(Form->ComponentCount(), 1);

    TZXBFileManager manager;
    TStringStream stream(SavedFile());
    manager.ReadStreamContent(stream);
    TzxCustomLang* read = manager.GetzxComponents(0);
    EXPECT_NE(read, Lang);
    EXPECT_EQ(read->Owner(), nullptr);
    manager.Add(Lang) /* replaces, and frees, the component read */;
    EXPECT_EQ(manager.GetzxComponents(0), Lang);
    EXPECT_EQ(manager.GetCompCount(), 1);
}

TEST_F(ZXBFile, MovingAndRenamingKeepNamesAndComponentsInStep) {
    TZXBFileManager manager;
    manager.Add(Lang);
    TzxLang* other = OtherLang();
    manager.Add(other);
    manager.Move(1, 0);
    EXPECT_EQ(manager.OwnerNames()->CommaText(), "TOtherForm,TMainForm");
    EXPECT_EQ(manager.GetzxComponents(0), other);
    manager.SetOwnerNames(1, "TRenamedForm");
    manager.SetzxComponents(0, Lang);
    EXPECT_EQ(manager.GetzxComponents(0), Lang);
    EXPECT_EQ(manager.GetOwnerNames(1), "TRenamedForm");
    EXPECT_THROW(manager.GetzxComponents(2), EListError);
    EXPECT_THROW(manager.Move(0, 2), EListError);
    EXPECT_THROW(manager.Remove(-1), EListError);
}

TEST_F(ZXBFile, AssignGivesAnotherManagerCopiesOfItsOwn) {
    TZXBFileManager source;
    source.Add(Lang);
    TStringList fixed;
    fixed.Add("English");
    source.SetFixedLanguages(&fixed);
    TZXBFileManager copy;
    TStringStream other(SavedFile());
    copy.ReadStreamContent(other);
    copy.Assign(&source);
    ASSERT_EQ(copy.GetCompCount(), 1);
    EXPECT_NE(copy.GetzxComponents(0), Lang);
    EXPECT_EQ(copy.GetzxComponents(0)->Owner(), nullptr);
    EXPECT_EQ(copy.GetOwnerNames(0), "TMainForm");
    EXPECT_EQ(copy.FixedLanguages()->Text(), "English\n");
    EXPECT_EQ(RecordOf(copy.GetzxComponents(0)), RecordOf(Lang));

    TStringList list;
    EXPECT_THROW(list.Assign(&source), EConvertError);
}

TEST_F(ZXBFile, ComponentsTheTranslationComponentOwnsStayOutOfItsRecord) {
    NewComponent<TComponent>(Lang)->SetName("InnerPart");
    const std::string file = SavedFile();
    EXPECT_EQ(file.find("InnerPart"), std::string::npos);
    TZXBFileManager manager;
    TStringStream stream(file);
    manager.ReadStreamContent(stream);
    EXPECT_EQ(manager.GetzxComponents(0)->ComponentCount(), 0);
}

TEST_F(ZXBFile, AComponentWithoutOwnerHasNoEntry) {
    std::unique_ptr<TzxLang> loose(NewComponent<TzxLang>(nullptr));
    TZXBFileManager manager;
    EXPECT_THROW(manager.Add(loose.get()), ELanguageError);
    EXPECT_EQ(manager.GetCompCount(), 0);
}

// ---------------------------------------------------------------------------
// Loading one form's entry

TEST_F(ZXBFile, LoadingTakesListsNamesAndExtendedItemsOfTheOwnersEntry) {
    const std::string file =
        BuiltFile({{"TOtherForm", RecordOfText("object zxLangOther: TzxLang\n"
                                             "  LangNames.Strings = ('X')\nend\n")},
                 {"TMainForm", RecordOfText("object zxLang1: TzxLang\n"
                                            "  NumOfLanguages = 3\n"
                                            "  LangDelim = 1\n"
                                            "  LangNames.Strings = ('en' 'de' 'fr')\n"
                                            "  ExtendedTranslations = <\n"
                                            "    item\n"
                                            "      Identifier = 'Edit1.MaxLength'\n"
                                            "      PropertyType = tkInteger\n"
                                            "      Values = '5'#1'6'#1'7'#1\n"
                                            "    end>\n"
                                            "end\n")}});
    Lang->SetActLang(2);
    ASSERT_TRUE(LoadInto(Lang, file));
    EXPECT_EQ(Lang->LangNames()->CommaText(), "en,de,fr");
    EXPECT_EQ(Lang->NumOfLanguages(), 3);
    EXPECT_EQ(Lang->Language(), u"de");
    EXPECT_EQ(Lang->ActiveLanguage(), 2);
    EXPECT_EQ(Lang->Captions()->Count(), 0) << "the entry's lists replace the component's";
    ASSERT_EQ(Lang->ExtendedTranslations()->Count(), 1);
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Items(0);
    EXPECT_EQ(item->GetIdentifier(), "Edit1.MaxLength");
    EXPECT_EQ(item->PropertyType(), tkInteger);
    EXPECT_EQ(item->Values(), Line({"5", "6", "7"}));
    EXPECT_EQ(Lang->ComponentCount(), 0) << "nothing of the load stays behind";
}

TEST_F(ZXBFile, AnOwnerNameDifferingInCaseFindsNothingAndChangesNothing) {
    const std::string file = SavedFile();
    Lang->ExtendedTranslations()->Clear();
    const std::string cleared = StateOf(Lang);
    EXPECT_FALSE(LoadInto(Lang, file, "TMAINFORM"));
    EXPECT_EQ(StateOf(Lang), cleared);
    EXPECT_TRUE(LoadInto(Lang, file));
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), 1);
}

TEST_F(ZXBFile, ARecordsReferencesAndEventNamesAreIgnored) {
    const std::string file = BuiltFile({{"TMainForm", RecordOfText("object zxLang1: TzxLang\n"
                                                                 "  LangDispatcher = Dispatcher1\n"
                                                                 "  OnChangeLanguage = LangChanged\n"
                                                                 "  LangNames.Strings = ('a' 'b')\n"
                                                                 "end\n")}});
    ASSERT_TRUE(LoadInto(Lang, file));
    EXPECT_EQ(Lang->LangNames()->CommaText(), "a,b");
    EXPECT_EQ(Lang->LangDispatcher(), nullptr);
    EXPECT_FALSE(Lang->OnChangeLanguage);

    TZXBFileManager manager;
    TStringStream stream(file);
    manager.ReadStreamContent(stream);
    EXPECT_EQ(manager.GetzxComponents(0)->LangDispatcher(), nullptr);
    EXPECT_EQ(manager.GetzxComponents(0)->OnChangeLanguage.HandlerName(), "");
}

TEST_F(ZXBFile, AFileWithFewerLanguagesThanTheActiveOneIsRefused) {
    const std::string file = SavedFile();
    Lang->SetNumLang(3);
    Lang->SetActLang(3);
    const std::string before = StateOf(Lang);
    EXPECT_THROW(LoadInto(Lang, file), EReadError);
    EXPECT_EQ(StateOf(Lang), before);
}

TEST_F(ZXBFile, AnEntryWithMoreLanguagesThanAComponentHoldsIsRefused) {
    const std::string before = StateOf(Lang);
    for (const AnsiString& property :
         {"LangNames.Strings = (" + Numbered(MaxNumOfLanguages + 1, " 'L%0:d'") + ")",
          "NumOfLanguages = " + IntToStr(MaxNumOfLanguages + 1)}) {
        const std::string file = BuiltFile(
            {{"TMainForm", RecordOfText("object zxLang1: TzxLang\n  " + property + "\nend\n")}});
        EXPECT_THROW(LoadInto(Lang, file), EReadError) << property;
        EXPECT_EQ(StateOf(Lang), before);
    }
}

TEST_F(ZXBFile, LoadingOneListTakesOnlyThatList) {
    const std::string fileName = Dir.File("one.ZXB");
    TZXBFileManager saver;
    saver.Add(Lang);
    saver.SaveToFile(fileName);
    TStringList names;
    names.Add("only");
    Lang->SetLangNames(&names);
    Lang->Captions()->Clear();
    Lang->DlgsCaptions()->Put(0, Line({"Information", "Auskunft"}));
    TZXBFileManager manager;
    EXPECT_TRUE(manager.LoadPropFromFile(stCaptions, fileName, Lang, "TMainForm"));
    EXPECT_EQ(Lang->Captions()->Text(), Line({"TMainForm", "Main", "Haupt"}) + "\n" +
                                            Line({"Label1", "Name", "Name"}) + "\n");
    EXPECT_EQ(Lang->LangNames()->CommaText(), "only");
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), 1);
    EXPECT_FALSE(manager.LoadPropFromFile(stDlgsCaptions, fileName, Lang, "TNoSuchForm"));
    EXPECT_EQ(Lang->DlgsCaptions()->Get(0), Line({"Information", "Auskunft"}))
        << "a file without the form's entry leaves the list alone";
}

// ---------------------------------------------------------------------------
// Through the translation component

// Every list of the component with a line of its own, delimiters, line
// breaks and empty values included.
void FillEveryKind(TzxCustomLang* Lang) {
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        if (TStrings* list = Lang->GetPropListByType(static_cast<TStringsType>(kind))) {
            const AnsiString key = "Key" + IntToStr(kind);
            list->Add(Line({key, "first\r\nline", ""}));
            list->Add(Line({key + ".More", "", "second " + IntToStr(kind)}));
        }
}

TEST_F(ZXBFile, EveryKindAndTheExtendedItemsTravelThroughTheFile) {
    FillEveryKind(Lang);
    const std::string fileName = Dir.File("all.zxb");
    Lang->SaveAllToBinaryFile(fileName);
    const std::string saved = StateOf(Lang);

    std::unique_ptr<TMainForm> copyForm(NewForm<TMainForm>(nullptr));
    auto* copy = NewComponent<TzxLang>(copyForm.get());
    ASSERT_TRUE(TZXBFileManager().LoadFromFile(copy, "TMainForm", fileName));
    EXPECT_EQ(StateOf(copy), saved);
    EXPECT_EQ(copy->Strings()->Count(), 2);
    ASSERT_EQ(copy->ExtendedTranslations()->Count(), 1);
    EXPECT_EQ(copy->ExtendedTranslations()->Items(0)->PropertyType(), tkInteger);
}

TEST_F(ZXBFile, SavingIntoAMissingFileGivesOneEntryForTheOwnersClass) {
    const std::string fileName = Dir.File("missing.ZXB");
    Lang->SaveAllToBinaryFile(fileName);
    const std::string file = FileContent(fileName);
    EXPECT_EQ(file, BuiltFile({{"TMainForm", RecordOf(Lang)}}));
    EXPECT_EQ(file.substr(61, 4), "TPF0");

    OtherLang()->SaveAllToBinaryFile(fileName);
    Lang->Captions()->Add(Line({"Label2", "Second", "Zweite"}));
    Lang->SaveAllToBinaryFile(fileName);
    EXPECT_EQ(FileContent(fileName), BuiltFile({{"TMainForm", RecordOf(Lang)},
                                                {"TOtherForm", RecordOf(OtherForm->Components(0))}}));
}

TEST_F(ZXBFile, LoadingAppliesTheActiveLanguage) {
    const std::string fileName = Dir.File("apply.zxb");
    Lang->SaveAllToBinaryFile(fileName);
    std::unique_ptr<TMainForm> form(NewForm<TMainForm>(nullptr));
    form->SetCaption("Main");
    auto* lang = NewComponent<TzxLang>(form.get());
    TStringList names;
    names.SetCommaText("one,two");
    lang->SetLangNames(&names);
    lang->SetActLang(2);
    lang->LoadAllFromBinaryFile(fileName);
    EXPECT_EQ(form->Caption(), "Haupt");
    EXPECT_EQ(lang->Language(), u"Deutsch");
}

TEST_F(ZXBFile, AfterLoadingTheFormsOwnLineStandsFirst) {
    Lang->Captions()->Move(0, 1);
    Lang->Hints()->Add(Line({"Label1", "h1", "h2"}));
    Lang->Hints()->Add(Line({"TMainFormX", "not", "mine"}));
    Lang->Hints()->Add(Line({"TMainForm", "form", "hint"}));
    Lang->MultiLines()->Add(Line({"Memo1.Lines", "a", "b"}));
    Lang->MultiLines()->Add(Line({"TMainForm", "stays", "put"}));
    const std::string file = SavedFile();
    ASSERT_TRUE(LoadInto(Lang, file));
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"TMainForm", "Main", "Haupt"}));
    EXPECT_EQ(Lang->Hints()->Get(0), Line({"TMainForm", "form", "hint"}));
    EXPECT_EQ(Lang->Hints()->Get(1), Line({"Label1", "h1", "h2"}));
    EXPECT_EQ(Lang->Hints()->Get(2), Line({"TMainFormX", "not", "mine"}));
    EXPECT_EQ(Lang->MultiLines()->Get(1), Line({"TMainForm", "stays", "put"}));
}

TEST_F(ZXBFile, AStreamIsReadFromItsPositionAndAComponentWithoutOwnerLoadsNothing) {
    FillEveryKind(Lang);
    TMemoryStream stream;
    stream.WriteBuffer("head", 4);
    TZXBFileManager manager;
    manager.Add(Lang);
    manager.SaveToStream(stream);

    std::unique_ptr<TzxLang> loose(NewComponent<TzxLang>(nullptr));
    const std::string looseState = StateOf(loose.get());
    stream.SetPosition(4);
    loose->LoadAllFromBinaryStream(stream);
    EXPECT_EQ(StateOf(loose.get()), looseState);

    std::unique_ptr<TMainForm> form(NewForm<TMainForm>(nullptr));
    auto* lang = NewComponent<TzxLang>(form.get());
    stream.SetPosition(4);
    lang->LoadAllFromBinaryStream(stream);
    EXPECT_EQ(lang->Strings()->Text(), Lang->Strings()->Text());
    EXPECT_EQ(lang->LangNames()->Text(), Lang->LangNames()->Text());
    EXPECT_EQ(lang->ExtendedTranslations()->Count(), 1);
}

TEST_F(ZXBFile, LoadingOneListRebuildsTheStringTableForStrings) {
    Lang->Strings()->Add(Line({"Greeting", "Hello", "Hallo"}));
    const std::string fileName = Dir.File("strings.zxb");
    Lang->SaveAllToBinaryFile(fileName);
    Lang->Strings()->Clear();
    Lang->UpdateStrCollections();
    Lang->Captions()->Clear();
    Lang->LoadPropFromBinaryFile(stStrings, fileName);
    EXPECT_EQ(Lang->Strings()->Text(), Line({"Greeting", "Hello", "Hallo"}) + "\n");
    EXPECT_EQ(Lang->Captions()->Count(), 0) << "other lists are left alone";
    ASSERT_EQ(Lang->StringTable()->Count(), 1);
    EXPECT_EQ(Lang->StringTable()->Items(0)->ID(), u"Greeting");
}

// ---------------------------------------------------------------------------
// Damaged files

// A file whose bytes were changed by Damage, with what reading it raises.
struct TDamage {
    const char* What;
    std::function<std::string(std::string File)> Damage;
    const char* Message;
};

std::string Patch(std::string File, std::size_t At, const std::string& Bytes) {
    return File.replace(At, Bytes.size(), Bytes);
}

const std::vector<TDamage>& Damages() {
    static const std::vector<TDamage> damages = {
        {"empty", [](std::string) { return std::string(); }, "Unrecognized stream format!"},
        {"header cut short", [](std::string File) { return File.substr(0, 45); },
         "Unrecognized stream format!"},
        {"signature's first byte", [](std::string File) { return Patch(File, 0, "z"); },
         "Unrecognized stream format!"},
        {"signature's NUL", [](std::string File) { return Patch(File, 41, "!"); },
         "Unrecognized stream format!"},
        {"entry count past the end",
         [](std::string File) { return Patch(File, 42, Word16(40000)); },
         "Damaged binary translation data: 40000 directory entries run past the end at position "
         "42"},
        {"fixed-languages length past the end",
         [](std::string File) { return Patch(File, 44, Word16(65535)); },
         "Damaged binary translation data: the length 65535 of fixed-languages text runs past the "
         "end at position 44"},
        {"name length past the end",
         [](std::string File) { return Patch(File, 46, Word16(50000)); },
         "Damaged binary translation data: the length 50000 of an owner name runs past the end at "
         "position 46"},
        {"record position past the end",
         [](std::string File) { return Patch(File, 57, Word32(File.size())); },
         "Damaged binary translation data: record position * lies outside the records at position "
         "57"},
        {"record position inside the header",
         [](std::string File) { return Patch(File, 57, Word32(0)); },
         "Damaged binary translation data: record position 0 lies outside the records at "
         "position 57"},
        {"huge record position",
         [](std::string File) { return Patch(File, 57, Word32(0xFFFFFFFF)); },
         "Damaged binary translation data: record position 4294967295 lies outside the records "
         "at position 57"},
        {"record cut short", [](std::string File) { return File.substr(0, File.size() - 3); },
         "*(record of TMainForm at position 61)"},
        {"record of a foreign class",
         [](std::string File) {
             return File.substr(0, 61) + RecordOfText("object Form1: TComponent\nend\n");
         },
         "Invalid class type: TComponent is not a TzxCustomLang (record of TMainForm at position "
         "61)"},
        {"record with a child",
         [](std::string File) {
             return File.substr(0, 61) +
                    RecordOfText("object zxLang1: TzxLang\n  object Inner: TzxLang\n  end\nend\n");
         },
         "Invalid stream format (record of TMainForm at position 61)"},
        {"huge string length in the record",
         [](std::string File) {
             return File.substr(0, 61) + "TPF0" + "\x07TzxLang\x07zxLang1" + "\x07Version" +
                    "\x12" + Word32(0x7FFFFFFF) + "x";
         },
         "*(record of TMainForm at position 61)"},
    };
    return damages;
}

// Messages match exactly, or from the first "*" on the rest must end them.
void ExpectMessage(const std::string& Actual, const std::string& Expected) {
    const std::size_t star = Expected.find('*');
    if (star == std::string::npos) {
        EXPECT_EQ(Actual, Expected);
        return;
    }
    EXPECT_EQ(Actual.substr(0, star), Expected.substr(0, star));
    const std::string tail = Expected.substr(star + 1);
    EXPECT_TRUE(Actual.size() >= tail.size() &&
                Actual.compare(Actual.size() - tail.size(), tail.size(), tail) == 0)
        << Actual;
}

TEST_F(ZXBFile, EveryDamagedFileFailsCleanlyAndTheComponentStaysAsItWas) {
    const std::string good = SavedFile();
    Lang->Captions()->Add(Line({"Extra", "x", "y"}));
    const std::string before = StateOf(Lang);
    for (const TDamage& damage : Damages()) {
        SCOPED_TRACE(damage.What);
        const std::string file = damage.Damage(good);
        ASSERT_NE(file, good);
        ExpectMessage(MessageOf<Exception>([&] { LoadInto(Lang, file); }), damage.Message);
        EXPECT_EQ(StateOf(Lang), before);

        TZXBFileManager manager;
        manager.Add(Lang);
        TStringStream stream(file);
        ExpectMessage(MessageOf<Exception>([&] { manager.ReadStreamContent(stream); }),
                      damage.Message);
        ASSERT_EQ(manager.GetCompCount(), 1) << "the manager keeps its entries";
        EXPECT_EQ(manager.GetzxComponents(0), Lang);
    }
}

TEST_F(ZXBFile, EverySignatureByteCountsAndEveryTruncationFails) {
    const std::string good = SavedFile();
    const std::string before = StateOf(Lang);
    for (std::size_t at = 0; at < 42; ++at) {
        std::string file = good;
        file[at] = static_cast<char>(file[at] ^ 0x20);
        EXPECT_EQ(MessageOf<Exception>([&] { LoadInto(Lang, file); }),
                  "Unrecognized stream format!")
            << at;
    }
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_NE(MessageOf<Exception>([&] { LoadInto(Lang, good.substr(0, length)); }),
                  "no exception")
            << length;
    EXPECT_EQ(StateOf(Lang), before);
}

TEST_F(ZXBFile, ReadErrorsNameTheFile) {
    const std::string fileName = Dir.File("bad.zxb");
    WriteFile(fileName, Patch(SavedFile(), 57, Word32(0)));
    const std::string message = MessageOf<EReadError>(
        [&] { TZXBFileManager().LoadFromFile(Lang, "TMainForm", fileName); });
    EXPECT_NE(message.find("(file \"" + fileName + "\")"), std::string::npos) << message;
    EXPECT_NE(MessageOf<EReadError>([&] { TZXBFileManager manager(fileName); }), "no exception");
    EXPECT_NE(MessageOf<EFOpenError>(
                  [&] { TZXBFileManager().LoadFromFile(Lang, "TMainForm", Dir.File("none.zxb")); }),
              "no exception");
}

// ---------------------------------------------------------------------------
// Values that do not fit the layout

TEST_F(ZXBFile, TheWriterRefusesWhatItsFieldsCannotHoldAndKeepsTheFile) {
    const std::string fileName = Dir.File("keep.zxb");
    TZXBFileManager manager;
    manager.Add(Lang);
    manager.SaveToFile(fileName);
    const std::string saved = FileContent(fileName);

    manager.SetOwnerNames(0, AnsiString(65536, 'T'));
    EXPECT_EQ(MessageOf<EWriteError>([&] { manager.SaveToFile(fileName); }),
              "Cannot write the binary translation file: the length of owner name 0 (65536) "
              "exceeds 65535");
    manager.SetOwnerNames(0, AnsiString(65535, 'T'));
    TMemoryStream longest;
    manager.SaveToStream(longest);
    EXPECT_EQ(ContentOf(longest).substr(46, 2), Word16(65535));
    manager.SetOwnerNames(0, "TMainForm");

    TStringList fixed;
    fixed.Add(AnsiString(65535, 'x'));
    manager.SetFixedLanguages(&fixed);
    EXPECT_EQ(MessageOf<EWriteError>([&] { manager.SaveToFile(fileName); }),
              "Cannot write the binary translation file: the length of the fixed-languages text "
              "(65536) exceeds 65535");
    EXPECT_EQ(FileContent(fileName), saved);
}

} // namespace

// ---------------------------------------------------------------------------
// Forms of different language counts in one file

TEST_F(ZXBFile, EachFormKeepsItsOwnLanguagesThroughASharedFile) {
    TStringList four;
    four.SetCommaText("English,Deutsch,Francais,Italiano");
    Lang->SetLangNames(&four);
    Lang->Captions()->Add(Line({"Label2", "Two", "Zwei", "Deux", "Due"}));
    TzxLang* other = OtherLang();
    TStringList two;
    two.SetCommaText("English,Deutsch");
    other->SetLangNames(&two);
    const std::string fileName = Dir.File("forms.ZXB");
    // Saved one after the other: the first form's record is read back and
    // written again with the second.
    Lang->SaveAllToBinaryFile(fileName);
    other->SaveAllToBinaryFile(fileName);

    std::unique_ptr<TMainForm> mainCopy(NewForm<TMainForm>(nullptr));
    auto* mainLang = NewComponent<TzxLang>(mainCopy.get());
    ASSERT_TRUE(TZXBFileManager().LoadFromFile(mainLang, "TMainForm", fileName));
    EXPECT_EQ(mainLang->NumOfLanguages(), 4);
    EXPECT_EQ(mainLang->LangNames()->CommaText(), "English,Deutsch,Francais,Italiano");
    EXPECT_EQ(mainLang->Captions()->Get(2), Line({"Label2", "Two", "Zwei", "Deux", "Due"}));

    std::unique_ptr<TOtherForm> otherCopy(NewForm<TOtherForm>(nullptr));
    auto* otherLang = NewComponent<TzxLang>(otherCopy.get());
    ASSERT_TRUE(TZXBFileManager().LoadFromFile(otherLang, "TOtherForm", fileName));
    EXPECT_EQ(otherLang->NumOfLanguages(), 2);
    EXPECT_EQ(otherLang->Hints()->Text(), Line({"Edit1", "type here"}) + "\n");
}
