#include "ide/Qzxpropeditors.h"

#include "editor/Q_zxComboPropEd.h"
#include "ide/QzxLangExp.h"
#include "runtime/QzxLangCombo.h"

#include <algorithm>
#include <utility>

TCollectedTexts::TCollectedTexts(TzxCustomLang& Lang) : FLang(Lang) {
    FLang.ForEachKeptList([this](TStringsType Kind, TStrings& List) {
        auto copy = std::make_unique<TStringList>();
        copy->Assign(&List);
        FBefore.emplace_back(Kind, std::move(copy));
    });
    try {
        FLang.BuildList();
    } catch (...) {
        Restore();
        throw;
    }
}

bool TCollectedTexts::Changed() const {
    return std::any_of(FBefore.begin(), FBefore.end(), [this](const auto& Before) {
        return !FLang.GetPropListByType(Before.first)->Equals(*Before.second);
    });
}

void TCollectedTexts::Restore() {
    for (const auto& [kind, lines] : FBefore)
        FLang.GetPropListByType(kind)->Assign(lines.get());
}

bool EditTranslations(TzxCustomLang& Lang, const _di_IDesigner& Designer, TStringsType Kind,
                      TShowFlags Flags, const TChangeStrIDEvent& OnChangeStrID) {
    TCollectedTexts collected(Lang);
    TEditedForm edited(&Lang);
    bool saved = false;
    try {
        saved = TransEditorDlg(&Lang, Kind, 0, Flags, OnChangeStrID);
    } catch (...) {
        collected.Restore();
        throw;
    }
    if (Designer && (saved || collected.Changed()))
        Designer->Modified();
    if (saved)
        Lang.ChangeLanguage();
    return saved;
}

// ---------------------------------------------------------------------------

Integer TTranslationsEditor::GetVerbCount() { return 5; }

AnsiString TTranslationsEditor::GetVerb(Integer Index) {
    static const AnsiString verbs[] = {"Translation Editor...", "Update Translations", "Ignore Removals",
                                       "-", "Translate source"};
    return Index >= 0 && Index < GetVerbCount() ? verbs[Index] : AnsiString();
}

void TTranslationsEditor::ExecuteVerb(Integer Index) {
    auto& lang = CastComponent<TzxCustomLang>(Component());
    if (Index == 0) {
        EditTranslations(lang, Designer(), stCaptions, {sfFull, sfDesignTime}, ExpertChangeStrID());
        return;
    }
    TCollectedTexts collected(lang);
    if (Index == 1) {
        lang.BuildList();
        Designer()->Modified();
        return;
    }
    if (Index == 2)
        lang.SetIgnoreRemovals(!lang.IgnoreRemovals());
    if (collected.Changed())
        Designer()->Modified();
}

// ---------------------------------------------------------------------------

TStringsType KindOfListProperty(const AnsiString& Name) {
    static const std::pair<const char*, TStringsType> kinds[] = {
        {"Hints", stHints},
        {"DisplayLabels", stDisplayLabels},
        {"OtherStrings", stOtherStrings},
        {"Strings", stStrings},
        {"Fonts", stFonts},
        {"CharSets", stCharSets},
        {"MultiLines", stMultiLines},
        {"DlgsCaptions", stDlgsCaptions},
        {"Locales", stLocales},
        {"Collections", stCollections},
        {"ListView_TreeView_Items", stListView_TreeView_Items}};
    for (const auto& [name, kind] : kinds)
        if (Name == name)
            return kind;
    return stCaptions;
}

TPropertyAttributes DialogClassAttributes(TClassProperty& Editor) {
    return Editor.TClassProperty::GetAttributes() + TPropertyAttributes{paDialog} -
           TPropertyAttributes{paSubProperties};
}

void TzxStringsProperty::Edit() {
    EditTranslations(CastComponent<TzxCustomLang>(GetComponent(0)), Designer(),
                     KindOfListProperty(GetName()), {sfSelected, sfDesignTime}, ExpertChangeStrID());
}

TPropertyAttributes TzxStringsProperty::GetAttributes() { return DialogClassAttributes(*this); }

// ---------------------------------------------------------------------------

void TDispatcherEditor::EditProperty(const DelphiInterface<IProperty>& Prop, bool& Continue) {
    const bool isLangNames = dynamic_cast<TzxLangDispatcher*>(Component()) &&
                             AnsiSameText(Prop->GetName(), "LANGNAMES");
    const bool isLanguageInfos = dynamic_cast<TzxLangCombo*>(Component()) &&
                                 AnsiSameText(Prop->GetName(), "LanguageInfos");
    if (isLangNames || isLanguageInfos) {
        Prop->Edit();
        Continue = false;
    }
}

// ---------------------------------------------------------------------------

TPropertyAttributes TActiveLanguageProperty::GetAttributes() {
    return TPropertyEditor::GetAttributes() + TPropertyAttributes{paValueList, paMultiSelect, paRevertable};
}

void TActiveLanguageProperty::GetValues(const TGetStrProc& Proc) {
    TStrings* names = nullptr;
    Integer count = 0;
    if (auto* lang = dynamic_cast<TzxCustomLang*>(GetComponent(0))) {
        names = lang->LangNames();
        count = lang->NumOfLanguages();
    } else {
        auto& dispatcher = CastComponent<TzxLangDispatcher>(GetComponent(0));
        names = dispatcher.LangNames();
        count = dispatcher.NumOfLanguages();
    }
    // The component keeps the names in step with the count; a shorter list
    // is still never read past its end.
    for (Integer index = 0; index < std::min(count, names->Count()); ++index)
        Proc(names->Get(index));
}

// ---------------------------------------------------------------------------

void TComboConfigurationProperty::Edit() {
    if (EditComboSettings(&CastComponent<TzxLangCombo>(GetComponent(0))) == mrOk)
        Modified();
}

TPropertyAttributes TComboConfigurationProperty::GetAttributes() { return DialogClassAttributes(*this); }
