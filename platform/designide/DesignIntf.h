// The designer's interfaces and the registrations a design-time package
// makes: components on the palette, component editors, property editors,
// actions. The host reads the registrations back for its palette, the
// component menus and the inspector.
#pragma once

#include "designide/VirtIntf.h"
#include "rtl/Classes.h"

#include <memory>

class TComponentEditor;
class TPropertyEditor;
class IDesigner;

ZX_ENUM(TPropertyAttribute, paValueList, paSubProperties, paDialog, paMultiSelect,
        paAutoUpdate, paSortList, paReadOnly, paRevertable, paFullWidthName);
using TPropertyAttributes = TSet<TPropertyAttribute>;

// The value-list callback of GetValues and of the component lists.
using TGetStrProc = std::function<void(const AnsiString& S)>;

// A property as the inspector and the default component editor see it.
class IProperty;
using TGetPropProc = std::function<void(const DelphiInterface<IProperty>& Prop)>;

class IProperty : public virtual IInterface {
public:
    virtual void Activate() = 0;
    virtual bool AllEqual() = 0;
    virtual void Edit() = 0;
    virtual TPropertyAttributes GetAttributes() = 0;
    virtual AnsiString GetName() = 0;
    virtual AnsiString GetValue() = 0;
    virtual void SetValue(const AnsiString& Value) = 0;
    virtual void GetValues(const TGetStrProc& Proc) = 0;
    virtual TPersistent* GetComponent(Integer Index) = 0;
    virtual PPropInfo GetPropInfo() = 0;
    // The sub-properties a paSubProperties property unfolds into.
    virtual void GetProperties(const TGetPropProc& Proc) = 0;
};

inline const TGUID IID_IDesigner{"{93F3FCBC-BE4A-46FE-9E7F-32FC8AA7A8B3}"};

// The form designer of one form or data module.
class IDesigner : public virtual IInterface {
public:
    virtual TComponent* GetRoot() = 0;
    // The form changed: it is marked modified and saved with the project.
    virtual void Modified() = 0;
    // A component of the root by name ("Button1"), or of another open form
    // by "Form2.zxLang1"; nullptr when there is none.
    virtual TComponent* GetComponent(const AnsiString& Name) = 0;
    // The reference name of a component: "Button1" on this form,
    // "Form2.zxLang1" on another.
    virtual AnsiString GetComponentName(TComponent* Component) = 0;
    // Every component assignable to a property of class TypeClass on this
    // form and, as "Form.Component", on the other open forms.
    virtual void GetComponentNames(TClass TypeClass, const TGetStrProc& Proc) = 0;
    // A new component named like the IDE names them (class name without
    // its T, first free number), its field in the form class and its unit
    // in the uses clause. Width and Height 0 keep the class's size.
    virtual TComponent* CreateComponent(TClass ComponentClass, TComponent* Parent, Integer Left,
                                        Integer Top, Integer Width, Integer Height) = 0;
    // A handler in the form class (declaration and skeleton body) with the
    // parameter list of TypeData; nullptr or a zeroed type gives none. A
    // method of that name that exists already is returned as it is.
    virtual TMethod CreateMethod(const AnsiString& Name, PTypeInfo TypeData) = 0;
    virtual bool MethodExists(const AnsiString& Name) = 0;
    virtual void ShowMethod(const AnsiString& Name) = 0;
    // A component of another form is linkable when that form's unit is in
    // this unit's uses clause; MakeComponentLinkable adds it.
    virtual bool IsComponentLinkable(TComponent* Component) = 0;
    virtual void MakeComponentLinkable(TComponent* Component) = 0;
};
using _di_IDesigner = DelphiInterface<IDesigner>;

// ---------------------------------------------------------------------------
// Registration

using TComponentEditorClass =
    std::function<TComponentEditor*(TComponent* Component, const _di_IDesigner& Designer)>;
using TPropertyEditorClass = std::function<TPropertyEditor*(const _di_IDesigner& Designer)>;

// The editor class of T as a registration takes it.
template <typename T> TComponentEditorClass ComponentEditorOf() {
    return [](TComponent* Component, const _di_IDesigner& Designer) -> TComponentEditor* {
        return new T(Component, Designer);
    };
}
template <typename T> TPropertyEditorClass PropertyEditorOf() {
    return [](const _di_IDesigner& Designer) -> TPropertyEditor* { return new T(Designer); };
}

// Also registers the classes for streaming.
void RegisterComponents(const AnsiString& Page, std::initializer_list<TClass> ComponentClasses);
void RegisterComponentEditor(TClass ComponentClass, TComponentEditorClass ComponentEditor);
// PropertyType: the property's type (a class type matches its descendants,
// the 8-bit string type also serves wide-string properties); ComponentClass
// nullptr for every class; PropertyName empty for every name. Among the
// registrations that match a property, the one of the most derived
// component class wins, then one with a name, then the latest.
void RegisterPropertyEditor(PTypeInfo PropertyType, TClass ComponentClass,
                            const AnsiString& PropertyName, TPropertyEditorClass EditorClass);
// Also registers the classes for streaming. Resource: not used by this host.
void RegisterActions(const AnsiString& CategoryName, std::initializer_list<TClass> ActionClasses,
                     TComponent* Resource);

// The unit each class is declared in, as the compiler's type information
// tells it: the designer adds that unit to a form's uses clause when it puts
// a component of the class on the form.
void RegisterUnitClasses(const AnsiString& UnitName, std::initializer_list<TClass> Classes);

struct TPaletteEntry {
    AnsiString Page;
    TClass ComponentClass;
};
struct TActionEntry {
    AnsiString Category;
    TClass ActionClass;
};
// What was registered, in the order of registration.
std::vector<TPaletteEntry> GetPaletteEntries();
std::vector<TActionEntry> GetRegisteredActions();
// The editor of the nearest registered ancestor class (the default editor
// when none); never nullptr.
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component,
                                                     const _di_IDesigner& Designer);
// The editor the registrations give Instance's property; the editor of its
// type kind when none matches.
std::unique_ptr<TPropertyEditor> GetPropertyEditor(TPersistent* Instance, PPropInfo PropInfo,
                                                   const _di_IDesigner& Designer);
// Published properties of Instance as IProperty, in the inspector's order
// (sorted by name), each through its editor.
void GetComponentProperties(TPersistent* Instance, const _di_IDesigner& Designer,
                            const TGetPropProc& Proc);
