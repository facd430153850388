#include "editor/Q_deffonts.h"

#include "editor/FormData.h"
#include "runtime/QRegistry.h"

#include "clx/Dialogs.h"
#include "rtl/Filer.h"

std::string_view FormData_Q_deffonts();

TDefFontsList* DefFontsList = nullptr;

namespace {

const char* const DefFontsKey = "\\Software\\Talvenko\\TzxLang\\EditorForm";
const char* const MultipleValues = "<multiple values>";
// The character set of a language whose font is not known.
constexpr TFontCharSet UnknownLanguageCharset = UNICODE_CHARSET;

AnsiString CharsetName(TFontCharSet Charset) {
    return GetEnumName(TypeInfoOf(Charset), Charset);
}

// The character set of that exact name among the 42; false when none.
bool CharsetOfName(const AnsiString& Name, TFontCharSet& Charset) {
    for (Integer ordinal = 0; ordinal < FontCharSetCount; ++ordinal)
        if (CharsetName(static_cast<TFontCharSet>(ordinal)) == Name) {
            Charset = static_cast<TFontCharSet>(ordinal);
            return true;
        }
    return false;
}

AnsiString SubItem(const TListItem* Item, Integer Index) {
    TStrings* subItems = Item->SubItems();
    return Index < subItems->Count() ? subItems->Get(Index) : AnsiString();
}

void SetSubItem(TListItem* Item, Integer Index, const AnsiString& Value) {
    TStrings* subItems = Item->SubItems();
    while (subItems->Count() <= Index)
        subItems->Add("");
    subItems->Put(Index, Value);
}

// The entry's settings values are numbered from 0.
AnsiString EntryValue(const char* Name, Integer Index) {
    return Name + IntToStr(Index);
}

} // namespace

// ---------------------------------------------------------------------------
// The list

TDefFontsList::TDefFontsList() {
    ReadFromRegistry(DefFontsKey);
    FModified = false;
}

TDefFontsList::~TDefFontsList() {
    try {
        if (FModified)
            WriteToRegistry(DefFontsKey);
    } catch (...) {
        HandleApplicationException(this);
    }
    Clear();
}

void TDefFontsList::Clear() {
    for (Integer index = 0; index < Count(); ++index)
        delete Items(index);
    FModified = true;
    TList::Clear();
}

void TDefFontsList::AddDefFontItem(const TLangName& LangName, const AnsiString& FontName,
                                   TFontCharSet Charset) {
    Add(new TDefFontListItem{LangName.substr(0, LangNameLength), FontName, Charset});
    FModified = true;
}

void TDefFontsList::RemoveDefFontItem(const TLangName& LangName) {
    for (Integer index = Count() - 1; index >= 0; --index)
        if (AnsiSameText(Items(index)->LangName, LangName)) {
            delete Items(index);
            Delete(index);
            FModified = true;
        }
}

const TDefFontListItem* TDefFontsList::Find(const TLangName& LangName) const {
    for (Integer index = 0; index < Count(); ++index)
        if (AnsiSameText(Items(index)->LangName, LangName))
            return Items(index);
    return nullptr;
}

AnsiString TDefFontsList::GetLangFontName(const TLangName& LangName) const {
    const TDefFontListItem* item = Find(LangName);
    return item ? item->FontName : AnsiString();
}

TFontCharSet TDefFontsList::GetLangCharset(const TLangName& LangName) const {
    const TDefFontListItem* item = Find(LangName);
    return item ? item->Charset : UnknownLanguageCharset;
}

void TDefFontsList::PopulateListView(TListView* ListView) const {
    TListItems* items = ListView->Items();
    items->BeginUpdate();
    items->Clear();
    for (Integer index = 0; index < Count(); ++index) {
        TListItem* item = items->Add();
        item->SetCaption(Items(index)->LangName);
        item->SubItems()->Add(Items(index)->FontName);
        item->SubItems()->Add(CharsetName(Items(index)->Charset));
    }
    items->EndUpdate();
}

void TDefFontsList::CopyFromListView(TListView* ListView) {
    Clear();
    TListItems* items = ListView->Items();
    for (Integer index = 0; index < items->Count(); ++index) {
        TListItem* item = items->Item(index);
        TFontCharSet charset = DEFAULT_CHARSET;
        if (CharsetOfName(SubItem(item, 1), charset))
            AddDefFontItem(item->Caption(), SubItem(item, 0), charset);
    }
}

void TDefFontsList::WriteToRegistry(const AnsiString& Key) {
    auto settings = std::make_unique<TRegistry>(this);
    settings->SetRootKey("Default_Section");
    settings->OpenKey(Key, true);
    settings->WriteInteger("FontInfoCount", Count());
    for (Integer index = 0; index < Count(); ++index) {
        settings->WriteString(EntryValue("FontInfoLang", index), Items(index)->LangName);
        settings->WriteString(EntryValue("FontInfoFont", index), Items(index)->FontName);
        settings->WriteInteger(EntryValue("FontInfoCharset", index), Items(index)->Charset);
    }
    // A longer list written before leaves entries behind it.
    for (Integer index = Count();; ++index) {
        const bool lang = settings->DeleteValue(EntryValue("FontInfoLang", index));
        const bool font = settings->DeleteValue(EntryValue("FontInfoFont", index));
        const bool charset = settings->DeleteValue(EntryValue("FontInfoCharset", index));
        if (!lang && !font && !charset)
            break;
    }
}

// The count is only a bound: the entries end at the first one without a
// language, so a huge count reads no empty entries, and a character set
// outside the 42 takes the default of an unknown language.
void TDefFontsList::ReadFromRegistry(const AnsiString& Key) {
    try {
        auto settings = std::make_unique<TRegistry>(this);
        settings->SetRootKey("Default_Section");
        settings->OpenKey(Key, true);
        const Integer count = settings->ReadInteger("FontInfoCount");
        for (Integer index = 0; index < count; ++index) {
            if (!settings->ValueExists(EntryValue("FontInfoLang", index)))
                break;
            const Integer ordinal = settings->ReadInteger(EntryValue("FontInfoCharset", index));
            const TFontCharSet charset = ordinal >= 0 && ordinal < FontCharSetCount
                                             ? static_cast<TFontCharSet>(ordinal)
                                             : UnknownLanguageCharset;
            AddDefFontItem(settings->ReadString(EntryValue("FontInfoLang", index)),
                           settings->ReadString(EntryValue("FontInfoFont", index)), charset);
        }
    } catch (const Exception&) {
    }
}

void InitQ_deffonts() {
    if (!DefFontsList)
        DefFontsList = new TDefFontsList;
}

void DoneQ_deffonts() {
    delete DefFontsList;
    DefFontsList = nullptr;
}

Integer DefFontsDlg(TDefFontsList* List) {
    RegisterClxClasses();
    std::unique_ptr<TfrmDefFonts> dialog(NewForm<TfrmDefFonts>(Application));
    List->PopulateListView(dialog->ListView1);
    const Integer result = dialog->ShowModal();
    if (result == mrOk)
        List->CopyFromListView(dialog->ListView1);
    return result;
}

// ---------------------------------------------------------------------------
// The dialog

void TfrmDefFonts::AfterConstruction() {
    if (!GetClass("TfrmDefFonts")) {
        RegisterClass(TfrmDefFonts::StaticClass());
        RegisterMethod("FormCreate", &TfrmDefFonts::FormCreate);
        RegisterMethod("FormShow", &TfrmDefFonts::FormShow);
        RegisterMethod("ListView1Change", &TfrmDefFonts::ListView1Change);
        RegisterMethod("edLanguageChange", &TfrmDefFonts::edLanguageChange);
        RegisterMethod("btnAddClick", &TfrmDefFonts::btnAddClick);
        RegisterMethod("btnReplaceClick", &TfrmDefFonts::btnReplaceClick);
        RegisterMethod("btnDeleteClick", &TfrmDefFonts::btnDeleteClick);
        RegisterMethod("btnClearClick", &TfrmDefFonts::btnClearClick);
    }
    ReadFormData(FormData_Q_deffonts(), this);
    ListView1 = FormControl<TListView>(this, "ListView1");
    edLanguage = FormControl<TEdit>(this, "edLanguage");
    cbFontName = FormControl<TComboBox>(this, "cbFontName");
    cbCharset = FormControl<TComboBox>(this, "cbCharset");
    btnAdd = FormControl<TButton>(this, "btnAdd");
    btnReplace = FormControl<TButton>(this, "btnReplace");
    btnDelete = FormControl<TButton>(this, "btnDelete");
    btnClear = FormControl<TButton>(this, "btnClear");
    btnOK = FormControl<TButton>(this, "btnOK");
    btnCancel = FormControl<TButton>(this, "btnCancel");
    TForm::AfterConstruction();
}

void TfrmDefFonts::FormCreate(TObject*) {
    cbFontName->Items()->Assign(Screen->Fonts());
    for (Integer ordinal = 0; ordinal < FontCharSetCount; ++ordinal)
        cbCharset->Items()->Add(CharsetName(static_cast<TFontCharSet>(ordinal)));
}

void TfrmDefFonts::FormShow(TObject*) {
    if (ListView1->Selected())
        UpdateEditors();
    UpdateButtons();
}

void TfrmDefFonts::ListView1Change(TObject*, TListItem*, TItemChange) {
    UpdateEditors();
    UpdateButtons();
}

void TfrmDefFonts::edLanguageChange(TObject*) {
    if (!FUpdatingEditors)
        UpdateButtons();
}

std::vector<TListItem*> TfrmDefFonts::SelectedItems() const {
    std::vector<TListItem*> selected;
    TListItems* items = ListView1->Items();
    for (Integer index = 0; index < items->Count(); ++index)
        if (items->Item(index)->Selected())
            selected.push_back(items->Item(index));
    return selected;
}

// Each field shows the value the selected items share, or that they differ.
void TfrmDefFonts::UpdateEditors() {
    const std::vector<TListItem*> selected = SelectedItems();
    if (selected.empty())
        return;
    auto common = [&](const std::function<AnsiString(const TListItem*)>& Field) {
        const AnsiString first = Field(selected.front());
        for (const TListItem* item : selected)
            if (Field(item) != first)
                return AnsiString(MultipleValues);
        return first;
    };
    const AnsiString language = common([](const TListItem* Item) { return Item->Caption(); });
    const AnsiString font = common([](const TListItem* Item) { return SubItem(Item, 0); });
    const AnsiString charset = common([](const TListItem* Item) { return SubItem(Item, 1); });
    FUpdatingEditors = true;
    edLanguage->SetText(language);
    cbFontName->SetItemIndex(cbFontName->Items()->IndexOf(font));
    cbCharset->SetItemIndex(cbCharset->Items()->IndexOf(charset));
    FUpdatingEditors = false;
    edLanguage->SetEnabled(language != MultipleValues);
}

bool TfrmDefFonts::IsLangListed(const AnsiString& LangName) const {
    TListItems* items = ListView1->Items();
    for (Integer index = 0; index < items->Count(); ++index)
        if (AnsiSameText(items->Item(index)->Caption(), LangName))
            return true;
    return false;
}

void TfrmDefFonts::UpdateButtons() {
    const AnsiString language = edLanguage->Text();
    const AnsiString font = cbFontName->Text();
    const AnsiString charset = cbCharset->Text();
    const bool filled = !language.empty() && !font.empty() && !charset.empty();
    const bool multiple = AnsiSameText(language, MultipleValues);
    const bool anySelected = ListView1->SelCount() > 0;
    btnAdd->SetEnabled(filled && !multiple && !IsLangListed(language));
    btnReplace->SetEnabled(anySelected &&
                           (filled || (language == MultipleValues &&
                                       (!font.empty() || !charset.empty()))));
    btnDelete->SetEnabled(anySelected);
    const bool anyItems = ListView1->Items()->Count() > 0;
    btnClear->SetEnabled(anyItems);
    ListView1->SetEnabled(anyItems);
}

void TfrmDefFonts::btnAddClick(TObject*) {
    TListItem* item = ListView1->Items()->Add();
    item->SetCaption(edLanguage->Text());
    item->SubItems()->Add(cbFontName->Text());
    item->SubItems()->Add(cbCharset->Text());
    UpdateButtons();
}

void TfrmDefFonts::btnReplaceClick(TObject*) {
    const AnsiString language = edLanguage->Text();
    const AnsiString font = cbFontName->Text();
    const AnsiString charset = cbCharset->Text();
    for (TListItem* item : SelectedItems()) {
        if (language != MultipleValues)
            item->SetCaption(language);
        if (!font.empty())
            SetSubItem(item, 0, font);
        if (!charset.empty())
            SetSubItem(item, 1, charset);
    }
    UpdateButtons();
}

void TfrmDefFonts::btnDeleteClick(TObject*) {
    TListItems* items = ListView1->Items();
    items->BeginUpdate();
    for (Integer index = items->Count() - 1; index >= 0; --index)
        if (items->Item(index)->Selected())
            items->Delete(index);
    items->EndUpdate();
    UpdateButtons();
}

void TfrmDefFonts::btnClearClick(TObject*) {
    if (MessageDlg("Are you sure you want to clear the entire list?", mtConfirmation, mbYesNo,
                   0) != mrYes)
        return;
    ListView1->Items()->Clear();
    UpdateButtons();
}
