// The package's registration with the IDE: the components on the palette,
// their component and property editors, the language action and the expert.
#pragma once

#include "designide/DesignEditors.h"

// Called by the IDE once after the package's units are initialized.
void Register();

// "CommonContainer" of a linked component: the translation components the
// designer offers, except linked ones.
class TCommonContainerProperty : public TComponentProperty {
public:
    using TComponentProperty::TComponentProperty;
    void GetValues(const TGetStrProc& Proc) override;
    // Passes Name on to the value list unless it names a linked component.
    void CheckComponent(const AnsiString& Name);

private:
    TGetStrProc FStrProc;
};
