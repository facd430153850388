// The editors the inspector and the form designer use: property editors
// (one per edited property of the selected components) and component editors
// (context-menu verbs and double-click).
#pragma once

#include "designide/DesignIntf.h"

// Edits one property of the selected components (component 0 is the one
// the editors act on).
class TPropertyEditor {
public:
    explicit TPropertyEditor(const _di_IDesigner& ADesigner) : FDesigner(ADesigner) {}
    TPropertyEditor(const TPropertyEditor&) = delete;
    TPropertyEditor& operator=(const TPropertyEditor&) = delete;
    virtual ~TPropertyEditor() = default;

    void Initialize(std::vector<TPersistent*> Components, PPropInfo PropInfo);

    virtual void Activate() {}
    virtual bool AllEqual();
    virtual void Edit();
    // paRevertable for every property; editors add what they offer.
    virtual TPropertyAttributes GetAttributes();
    virtual AnsiString GetName();
    // The value as text: integers in decimal, enumerations by name, strings
    // as they are, objects by class name in parentheses, methods by name.
    virtual AnsiString GetValue();
    virtual void SetValue(const AnsiString& Value);
    virtual void GetValues(const TGetStrProc& Proc);
    // Sub-properties of paSubProperties editors.
    virtual void GetProperties(const TGetPropProc& Proc);

    TPersistent* GetComponent(Integer Index) const;
    Integer PropCount() const { return static_cast<Integer>(FComponents.size()); }
    PPropInfo GetPropInfo() const { return FPropInfo; }
    const _di_IDesigner& Designer() const { return FDesigner; }
    // Sets the property of every selected component and tells the designer.
    void Modified();

protected:
    Int64 GetOrdValue() const;
    void SetOrdValue(Int64 Value);
    AnsiString GetStrValue() const;
    void SetStrValue(const AnsiString& Value);
    TObject* GetObjectValue() const;
    void SetObjectValue(TObject* Value);

private:
    _di_IDesigner FDesigner;
    std::vector<TPersistent*> FComponents;
    PPropInfo FPropInfo = nullptr;
};

class TOrdinalProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
};

class TEnumProperty : public TOrdinalProperty {
public:
    using TOrdinalProperty::TOrdinalProperty;
    TPropertyAttributes GetAttributes() override;
    void GetValues(const TGetStrProc& Proc) override;
};

// An integer type with named values: shown by name, or as a number where
// the value has none; chosen among the names or typed.
class TNamedIntegerProperty : public TOrdinalProperty {
public:
    struct TNaming {
        AnsiString (*ToString)(Integer Value);
        // EConvertError for text that is neither a name nor a number.
        Integer (*FromString)(const AnsiString& Text);
        void (*GetNames)(const std::function<void(const AnsiString&)>& Proc);
    };
    TNamedIntegerProperty(const _di_IDesigner& ADesigner, const TNaming& Naming)
        : TOrdinalProperty(ADesigner), FNaming(Naming) {}
    TPropertyAttributes GetAttributes() override;
    AnsiString GetValue() override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const AnsiString& Value) override;

private:
    TNaming FNaming;
};

// A colour: by name, or "$" and hex digits.
class TColorProperty : public TNamedIntegerProperty {
public:
    explicit TColorProperty(const _di_IDesigner& ADesigner);
};

// A cursor: by name, or its number.
class TCursorProperty : public TNamedIntegerProperty {
public:
    explicit TCursorProperty(const _di_IDesigner& ADesigner);
};

class TStringProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
};

// An object property: shown by class name, unfolds into the object's own
// published properties.
class TClassProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    void GetProperties(const TGetPropProc& Proc) override;
};

// A reference to a component: the names of the components of the
// property's class on this form and, as "Form.Component", on other open
// forms; the value is set by such a name.
class TComponentProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    AnsiString GetValue() override;
    void SetValue(const AnsiString& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
};

// An event: the handler's name; setting a name creates the handler.
class TMethodProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    void SetValue(const AnsiString& Value) override;
    // Creates the handler named after the component and the event (without
    // "On") when there is none, and shows it.
    void Edit() override;
};

// The default editor of string lists: the lines as one text, edited in the
// host's string-list dialog.
class TStringListProperty : public TClassProperty {
public:
    using TClassProperty::TClassProperty;
    TPropertyAttributes GetAttributes() override;
    void Edit() override;
};

// The lines dialog TStringListProperty opens; the host sets it. Returns
// whether the user accepted, with the new lines in Lines.
using TEditStringListProc = std::function<bool(const AnsiString& Title, TStrings& Lines)>;
void SetEditStringListProc(TEditStringListProc Proc);

// ---------------------------------------------------------------------------
// Component editors

class TComponentEditor {
public:
    TComponentEditor(TComponent* AComponent, const _di_IDesigner& ADesigner)
        : FComponent(AComponent), FDesigner(ADesigner) {}
    TComponentEditor(const TComponentEditor&) = delete;
    TComponentEditor& operator=(const TComponentEditor&) = delete;
    virtual ~TComponentEditor() = default;

    // Double-click: runs verb 0 when there is one.
    virtual void Edit();
    virtual void ExecuteVerb(Integer Index);
    virtual AnsiString GetVerb(Integer Index);
    virtual Integer GetVerbCount();

    TComponent* Component() const { return FComponent; }
    const _di_IDesigner& Designer() const { return FDesigner; }

private:
    TComponent* FComponent;
    _di_IDesigner FDesigner;
};

// The editor of components nobody registered one for: double-click walks
// the properties and lets EditProperty choose one; the default choice is
// the event "OnCreate", "OnChange" or "OnClick" (in that order of
// preference, else the first event), whose handler it creates and shows.
class TDefaultEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    void Edit() override;

protected:
    virtual void EditProperty(const DelphiInterface<IProperty>& Prop, bool& Continue);

private:
    DelphiInterface<IProperty> FFirst;
    DelphiInterface<IProperty> FBest;
};
