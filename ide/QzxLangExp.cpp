#include "ide/QzxLangExp.h"

#include "clx/Forms.h"
#include "clx/Menus.h"
#include "editor/QzxTransEditor.h"
#include "ide/QzxLangForm.h"
#include "runtime/QRegistry.h"

TzxLangExpert* FzxLangExpert = nullptr;
TfrmzxLang* frmzxLang = nullptr;
TForm* DockForm = nullptr;

namespace {

const char* const SettingsSection = "ExpSettings";
const char* const MenuItemCaption = "TzxLang &CLX Expert";
const char* const MenuItemName = "zxLangCLXExpertMenuItem";
constexpr Integer MenuItemIndex = 3;

// The settings file is named after the expert's class.
class TExpertSettingsOwner : public TObject {
public:
    TClass ClassType() const override {
        static const TClassInfo info{"TzxLangExpert", TObject::StaticClass()};
        return &info;
    }
};

// The expert's section of its settings file, opened for one read or write
// and written back when it goes.
class TExpertSettings {
public:
    TExpertSettings() : FStore(&FOwner) { FStore.OpenKey(SettingsSection, true); }
    TRegistry* operator->() { return &FStore; }

    // A list is kept as numbered keys ("Key.Count", "Key.1", ...), since a
    // value holds one line; a file written before keeps the list's text in
    // the key itself.
    bool HasLines(const AnsiString& Key) {
        return FStore.ValueExists(Key + ".Count") || FStore.ValueExists(Key);
    }
    AnsiString ReadLines(const AnsiString& Key) {
        if (!FStore.ValueExists(Key + ".Count"))
            return FStore.ReadString(Key);
        TStringList lines;
        // The count is only a bound: the list ends at its first missing
        // line, so a damaged file's huge count reads no empty lines.
        const Integer count = StrToIntDef(FStore.ReadString(Key + ".Count"), 0);
        for (Integer index = 1; index <= count && FStore.ValueExists(Key + "." + IntToStr(index));
             ++index)
            lines.Add(FStore.ReadString(Key + "." + IntToStr(index)));
        return lines.Text();
    }
    void WriteLines(const AnsiString& Key, const AnsiString& Text) {
        TStringList lines;
        lines.SetText(Text);
        const Integer stale = StrToIntDef(FStore.ReadString(Key + ".Count"), 0);
        for (Integer index = lines.Count() + 1; index <= stale; ++index)
            FStore.DeleteValue(Key + "." + IntToStr(index));
        FStore.DeleteValue(Key);
        FStore.WriteString(Key + ".Count", IntToStr(lines.Count()));
        for (Integer index = 0; index < lines.Count(); ++index)
            FStore.WriteString(Key + "." + IntToStr(index + 1), lines[index]);
    }
    // A number kept as decimal text; Current where it is missing or is no
    // number.
    Integer ReadNumber(const AnsiString& Key, Integer Current) {
        return FStore.ValueExists(Key) ? StrToIntDef(FStore.ReadString(Key), Current) : Current;
    }

private:
    TExpertSettingsOwner FOwner;
    TRegistry FStore;
};

template <typename T> void WriteOnChange(T& Field, const T& Value, const std::function<void()>& Write) {
    if (Field == Value)
        return;
    Field = Value;
    Write();
}

// Strings as they are, numbers as decimal text.
AnsiString SettingText(const AnsiString& Value) { return Value; }
AnsiString SettingText(Integer Value) { return IntToStr(Value); }

template <typename T> void WriteText(T& Field, const T& Value, const char* Key) {
    Field = Value;
    TExpertSettings()->WriteString(Key, SettingText(Value));
}

template <typename T> void WriteTextOnChange(T& Field, const T& Value, const char* Key) {
    if (Field != Value)
        WriteText(Field, Value, Key);
}

} // namespace

// ---------------------------------------------------------------------------
// Life cycle

TzxLangExpert::TzxLangExpert()
    : SkipLines(std::make_unique<TStringList>()), SkipWords(std::make_unique<TStringList>()),
      ShortCut(TextToShortCut("SHIFT+CTRL+L")),
      ProjectUnitNames(std::make_unique<TStringList>()),
      ProjectUnitFiles(std::make_unique<TStringList>()) {
    FToolServices = ToolServices;
    ReadSettings();
    Configure();
    FAddInNotifier = new TzxAddInNotifier(this);
    if (FToolServices)
        FToolServices->AddNotifier(FAddInNotifier);
    NavigateToSource = [this](const AnsiString& StringID, bool ShowEditor) {
        return ShowStringInSource(StringID, ShowEditor);
    };
    ShowAboutBox = [this](TObject* Sender) { DisplayAboutBox(Sender); };
}

TzxLangExpert::~TzxLangExpert() {
    try {
        RemoveSettings();
        if (FToolServices)
            FToolServices->RemoveNotifier(FAddInNotifier);
        while (!FModuleNotifiers.empty()) {
            TzxModuleNotifier* first = FModuleNotifiers.front();
            FModuleNotifiers.erase(FModuleNotifiers.begin());
            first->Unregister();
            first->Release();
        }
        FAddInNotifier->Detach();
        FAddInNotifier->Release();
        FAddInNotifier = nullptr;
        FDesigner.Reset();
        ProjectUnitNames.reset();
        ProjectUnitFiles.reset();
        delete std::exchange(frmzxLang, nullptr);
        if (FzxLangExpert == this)
            FzxLangExpert = nullptr;
        delete std::exchange(DockForm, nullptr);
    } catch (...) {
        HandleExpertException();
    }
    // The hooks must not outlive the expert they call.
    NavigateToSource = nullptr;
    ShowAboutBox = nullptr;
    FToolServices = nullptr;
}

void ExpRegister() {
    FzxLangExpert = new TzxLangExpert();
    RegisterLibraryExpert(FzxLangExpert);
}

void TzxLangExpert::HandleExpertException() {
    AnsiString message;
    try {
        throw;
    } catch (const Exception& error) {
        message = error.Message();
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "Unknown exception";
    }
    if (ToolServices)
        ToolServices->RaiseException(message);
}

// ---------------------------------------------------------------------------
// Settings

void TzxLangExpert::ReadSettings() {
    TExpertSettings settings;
    auto readString = [&](const char* Key, AnsiString& Field) {
        if (settings->ValueExists(Key))
            Field = settings->ReadString(Key);
    };
    auto readBool = [&](const char* Key, bool& Field) {
        if (settings->ValueExists(Key))
            Field = settings->ReadBool(Key);
    };
    readString("MenuSection", MenuSection);
    if (settings->ValueExists("ShortCut"))
        ShortCut = TextToShortCut(settings->ReadString("ShortCut"));
    DefNumLang = std::max(1, settings.ReadNumber("DefNumLang", DefNumLang));
    readBool("OpenAllForms", OpenAllForms);
    readString("DefaultComponent", DefaultComponent);
    CnstPermanent = settings.ReadNumber("CnstPermanent", CnstPermanent);
    readString("CnstPrefix", CnstPrefix);
    readString("HCPrefix", HCPrefix);
    readBool("AddFormName", AddFormName);
    readString("ReplaceMethod", ReplaceMethod);
    IgnorableLength = settings.ReadNumber("IgnorableLength", IgnorableLength);
    if (settings.HasLines("DefaultLangNames"))
        DefaultLangNames = settings.ReadLines("DefaultLangNames");
    CommentsLength = settings.ReadNumber("CommentsLength", CommentsLength);
    readBool("EmptyConstsValues", EmptyConstsValues);
    readString("ExcludeChars", ExcludeChars);
    if (settings.HasLines("SkipLines"))
        SkipLines->SetText(settings.ReadLines("SkipLines"));
    if (settings.HasLines("SkipWords"))
        SkipWords->SetText(settings.ReadLines("SkipWords"));
    if (settings->ValueExists("ColumnWidths"))
        ColumnWidths = Trim(settings->ReadString("ColumnWidths"));
}

void TzxLangExpert::SetMenuSection(const AnsiString& Value) {
    WriteTextOnChange(MenuSection, Value, "MenuSection");
}

void TzxLangExpert::SetShortCut(TShortCut Value) {
    WriteOnChange(ShortCut, Value,
                  [&] { TExpertSettings()->WriteString("ShortCut", ShortCutToText(Value)); });
}

void TzxLangExpert::SetNumLang(Integer Value) {
    WriteTextOnChange(DefNumLang, Value, "DefNumLang");
}

void TzxLangExpert::SetOpenAllForms(bool Value) {
    WriteOnChange(OpenAllForms, Value, [&] { TExpertSettings()->WriteBool("OpenAllForms", Value); });
}

void TzxLangExpert::SetUseCustom(bool Value, const AnsiString& AUserFile) {
    if (UseCustom == Value && UserFile == AUserFile)
        return;
    UseCustom = Value;
    UserFile = AUserFile;
    TExpertSettings settings;
    settings->WriteBool("UseCustom", Value);
    settings->WriteString("UserFile", AUserFile);
}

void TzxLangExpert::SetDefaultComp(const AnsiString& Value) {
    WriteTextOnChange(DefaultComponent, Value, "DefaultComponent");
}

void TzxLangExpert::SetIgnorableLength(Integer Value) {
    WriteTextOnChange(IgnorableLength, Value, "IgnorableLength");
}

void TzxLangExpert::SetCnstPermanent(Integer Value) {
    WriteTextOnChange(CnstPermanent, Value, "CnstPermanent");
}

void TzxLangExpert::SetCnstPrefix(const AnsiString& Value) {
    WriteTextOnChange(CnstPrefix, Value, "CnstPrefix");
}

void TzxLangExpert::SetHCPrefix(const AnsiString& Value) {
    WriteTextOnChange(HCPrefix, Value, "HCPrefix");
}

void TzxLangExpert::SetAddFormName(bool Value) {
    AddFormName = Value;
    TExpertSettings()->WriteBool("AddFormName", Value);
}

void TzxLangExpert::SetReplaceMethod(const AnsiString& Value) {
    WriteText(ReplaceMethod, Value, "ReplaceMethod");
}

void TzxLangExpert::SetDefaultLangNames(const AnsiString& Value) {
    DefaultLangNames = Value;
    TExpertSettings().WriteLines("DefaultLangNames", Value);
}

void TzxLangExpert::SetCommentsLength(Integer Value) {
    CommentsLength = Value;
    TExpertSettings()->WriteInteger("CommentsLength", Value);
}

void TzxLangExpert::SetEmptyConstsValues(bool Value) {
    EmptyConstsValues = Value;
    TExpertSettings()->WriteBool("EmptyConstsValues", Value);
}

void TzxLangExpert::SetExcludeChars(const AnsiString& Value) {
    WriteText(ExcludeChars, Value, "ExcludeChars");
}

void TzxLangExpert::SetSkipLines(const TStrings* Value) {
    SkipLines->Assign(Value);
    TExpertSettings().WriteLines("SkipLines", SkipLines->Text());
}

void TzxLangExpert::SetSkipWords(const TStrings* Value) {
    SkipWords->Assign(Value);
    TExpertSettings().WriteLines("SkipWords", SkipWords->Text());
}

void TzxLangExpert::SetColumnWidths(const AnsiString& Value) {
    WriteText(ColumnWidths, Value, "ColumnWidths");
}

void TzxLangExpert::SetSortedColumn(Integer Value) {
    WriteText(SortedColumn, Value, "SortedColumn");
}

void TzxLangExpert::SetSortOrder(Integer Value) {
    WriteText(SortOrder, Value, "SortOrder");
}

// ---------------------------------------------------------------------------
// The menu item

TIMenuItemIntf* TzxLangExpert::AddExpertMenuItem() {
    if (!FToolServices)
        return nullptr;
    TIMainMenuIntf* mainMenu = FToolServices->GetMainMenu();
    if (!mainMenu)
        return nullptr;
    TIMenuItemIntf* result = nullptr;
    if (TIMenuItemIntf* section = mainMenu->FindMenuItem(MenuSection)) {
        result = section->InsertItem(
            MenuItemIndex, MenuItemCaption, MenuItemName, AnsiString(), ShortCut, 0, 0,
            TIMenuFlags{mfEnabled, mfVisible},
            [this](TIMenuItemIntf* Sender) { MenuItemClicked(Sender); });
        section->Release();
    }
    mainMenu->Release();
    return result;
}

void TzxLangExpert::Configure() { FMenuItem = AddExpertMenuItem(); }

void TzxLangExpert::RemoveSettings() {
    if (!FMenuItem)
        return;
    FMenuItem->DestroyMenuItem();
    FMenuItem->Release();
    FMenuItem = nullptr;
}

void TzxLangExpert::RecreateMenuItem() {
    if (FClickDepth > 0) {
        FRecreateAfterClick = true;
        return;
    }
    RemoveSettings();
    Configure();
}

void TzxLangExpert::MenuItemClicked(TIMenuItemIntf* Sender) {
    ++FClickDepth;
    try {
        RunItemClick(Sender);
    } catch (...) {
        HandleExpertException();
    }
    if (--FClickDepth == 0 && std::exchange(FRecreateAfterClick, false))
        RecreateMenuItem();
}

// ---------------------------------------------------------------------------
// File notifications

void TzxLangExpert::AddModuleNotifier(const AnsiString& FileName) {
    auto services = Supports<IOTAModuleServices>(BorlandIDEServices, IID_IOTAModuleServices);
    if (!services)
        return;
    auto* notifier = new TzxModuleNotifier(nullptr, services->FindModule(FileName));
    notifier->AddRef();
    FModuleNotifiers.push_back(notifier);
}

void TzxAddInNotifier::FileNotification(TFileNotification NotifyCode, const AnsiString& FileName,
                                        bool&) {
    if (!FExpert)
        return;
    try {
        FExpert->RecreateMenuItem();
        if (NotifyCode == fnFileOpened) {
            try {
                FExpert->AddModuleNotifier(FileName);
            } catch (...) {
            }
        }
        if (!frmzxLang)
            return;
        if (NotifyCode == fnProjectOpened || NotifyCode == fnAddedToProject ||
            NotifyCode == fnRemovedFromProject)
            FExpert->RunItemClick(nullptr);
        else if (NotifyCode == fnProjectClosing)
            FExpert->ProjectClosed();
    } catch (...) {
        TzxLangExpert::HandleExpertException();
    }
}
