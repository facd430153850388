// "ExtendedTranslations": the Translation Editor opened on the extended
// translations.
#pragma once

#include "designide/DesignEditors.h"

class TExtendedTranslationsProperty : public TClassProperty {
public:
    using TClassProperty::TClassProperty;
    void Edit() override;
    TPropertyAttributes GetAttributes() override;
};
