#include "ide/Qzxreg.h"

#include "editor/QzxLangRT.h"
#include "ide/Q_exttransleditprop.h"
#include "ide/QzxLangExp.h"
#include "ide/Qexcludepropertyeditor.h"
#include "ide/Qzxpropeditors.h"
#include "runtime/QzxActns.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxLangCombo.h"
#include "runtime/QzxLngLnk.h"
#include "runtime/QzxLngTLV.h"

void Register() {
    RegisterComponents("talvenko", {TzxLang::StaticClass(), TzxLangRT::StaticClass(),
                                    TzxLangLinked::StaticClass(), TzxLangTLV::StaticClass(),
                                    TzxLangDispatcher::StaticClass(), TzxFormStorage::StaticClass()});
    RegisterComponentEditor(TzxCustomLang::StaticClass(), ComponentEditorOf<TTranslationsEditor>());
    for (const char* name : {"Captions", "Hints", "DisplayLabels", "Strings", "Fonts", "MultiLines",
                             "DlgsCaptions", "OtherStrings", "Locales", "CharSets", "Collections"})
        RegisterPropertyEditor(TypeInfo<TStrings*>(), TzxCustomLang::StaticClass(), name,
                               PropertyEditorOf<TzxStringsProperty>());
    RegisterPropertyEditor(TypeInfo<TStrings*>(), TzxLangTLV::StaticClass(), "ListView_TreeView_Items",
                           PropertyEditorOf<TzxStringsProperty>());
    ExpRegister();
    RegisterPropertyEditor(TypeInfo<TzxCustomLang*>(), TzxLangLinked::StaticClass(), "CommonContainer",
                           PropertyEditorOf<TCommonContainerProperty>());
    RegisterActions("zxLang", {TzxLangChangeLanguage::StaticClass()}, nullptr);
    RegisterComponentEditor(TzxLangDispatcher::StaticClass(), ComponentEditorOf<TDispatcherEditor>());
    RegisterPropertyEditor(TypeInfo<TCollection*>(), TzxCustomLang::StaticClass(), "ExtendedTranslations",
                           PropertyEditorOf<TExtendedTranslationsProperty>());
    for (const AnsiString& name : ExcludePropertyNames)
        RegisterPropertyEditor(TypeInfo<TStrings*>(), TzxCustomLang::StaticClass(), name,
                               PropertyEditorOf<TExcludePropertyEditor>());
    RegisterPropertyEditor(TypeInfo<AnsiString>(), TzxCustomLang::StaticClass(), "Language",
                           PropertyEditorOf<TActiveLanguageProperty>());
    RegisterPropertyEditor(TypeInfo<AnsiString>(), TzxLangDispatcher::StaticClass(), "Language",
                           PropertyEditorOf<TActiveLanguageProperty>());
    RegisterComponents("Talvenko", {TzxLangCombo::StaticClass()});
    RegisterPropertyEditor(TypeInfo<TLanguageInfos*>(), TzxLangCombo::StaticClass(), "LanguageInfos",
                           PropertyEditorOf<TComboConfigurationProperty>());
    RegisterComponentEditor(TzxLangCombo::StaticClass(), ComponentEditorOf<TDispatcherEditor>());
}

void TCommonContainerProperty::GetValues(const TGetStrProc& Proc) {
    FStrProc = Proc;
    TComponentProperty::GetValues([this](const AnsiString& Name) { CheckComponent(Name); });
}

void TCommonContainerProperty::CheckComponent(const AnsiString& Name) {
    if (!dynamic_cast<TzxLangLinked*>(Designer()->GetComponent(Name)))
        FStrProc(Name);
}
