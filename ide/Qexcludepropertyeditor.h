// The three exclusion lists open the exclusion editor on their own page.
#pragma once

#include "designide/DesignEditors.h"

#include <array>

// The exclusion lists in the exclusion editor's page order.
inline const std::array<AnsiString, 3> ExcludePropertyNames{"DoNotTranslate", "ExcludedProperties",
                                                            "SmartExcludeProps"};

class TExcludePropertyEditor : public TClassProperty {
public:
    using TClassProperty::TClassProperty;
    void Edit() override;
    TPropertyAttributes GetAttributes() override;
};
