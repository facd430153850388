// The property editor that opens the do-not-translate chooser on a
// translation component's DoNotTranslate list. Not registered with the
// IDE: code that wants this route installs it itself.
#pragma once

#include "designide/DesignEditors.h"

class TDNTProperty : public TClassProperty {
public:
    using TClassProperty::TClassProperty;
    void Edit() override;
    TPropertyAttributes GetAttributes() override;
};
