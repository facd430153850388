// The component and property editors that open the Translation Editor on a
// translation component, the editor of the dispatcher and the language
// combo, the language value list and the combo's settings.
#pragma once

#include "designide/DesignEditors.h"
#include "editor/QzxTransEditor.h"
#include "runtime/QzxComp.h"

#include <memory>
#include <vector>

// A translation component with nothing of its own, declared for code that
// names the common base in a form class.
class TCommonLang : public TzxCustomLang {
    ZX_CLASS(TCommonLang, TzxCustomLang)
public:
    explicit TCommonLang(TComponent* AOwner) : TzxCustomLang(AOwner) {}
};

// Object as T; EInvalidCast when it is of another class.
template <typename T> T& CastComponent(TPersistent* Object) {
    if (auto* typed = dynamic_cast<T*>(Object))
        return *typed;
    throw EInvalidCast("Invalid class typecast");
}

// Collects the form's texts into a component's lists and remembers the lists
// as they were, so that a caller can tell whether collecting changed them
// and can put them back when what follows fails.
class TCollectedTexts {
public:
    // Runs BuildList; when it raises, the lists are put back first.
    explicit TCollectedTexts(TzxCustomLang& Lang);
    bool Changed() const;
    void Restore();

private:
    TzxCustomLang& FLang;
    std::vector<std::pair<TStringsType, std::unique_ptr<TStringList>>> FBefore;
};

// Opens the Translation Editor on Lang after collecting its texts. When the
// user saved, or collecting changed the lists, the designer (if any) is told
// the form changed; after a save the form shows the active language again.
// When the editor raises, the lists are put back and the error goes on.
bool EditTranslations(TzxCustomLang& Lang, const _di_IDesigner& Designer, TStringsType Kind,
                      TShowFlags Flags, const TChangeStrIDEvent& OnChangeStrID);

// The component menu of every translation component.
class TTranslationsEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    void ExecuteVerb(Integer Index) override;
    AnsiString GetVerb(Integer Index) override;
    Integer GetVerbCount() override;
};

// The twelve translation lists: "..." opens the Translation Editor on the
// list's kind.
class TzxStringsProperty : public TClassProperty {
public:
    using TClassProperty::TClassProperty;
    void Edit() override;
    TPropertyAttributes GetAttributes() override;
};

// The kind of the list property Name (exact case); stCaptions for any other.
TStringsType KindOfListProperty(const AnsiString& Name);

// Double-click on a dispatcher opens its LangNames, on a language combo its
// LanguageInfos; it never creates an event handler.
class TDispatcherEditor : public TDefaultEditor {
public:
    using TDefaultEditor::TDefaultEditor;

protected:
    void EditProperty(const DelphiInterface<IProperty>& Prop, bool& Continue) override;
};

// "Language": the component's language names as a value list.
class TActiveLanguageProperty : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
    TPropertyAttributes GetAttributes() override;
    void GetValues(const TGetStrProc& Proc) override;
};

// "LanguageInfos" of the language combo: its settings editor.
class TComboConfigurationProperty : public TClassProperty {
public:
    using TClassProperty::TClassProperty;
    void Edit() override;
    TPropertyAttributes GetAttributes() override;
};

// The attributes of a list or collection edited in a dialog: an ellipsis
// button, and it does not unfold.
TPropertyAttributes DialogClassAttributes(TClassProperty& Editor);
