#include "ide/Q_exttransleditprop.h"

#include "ide/Qzxpropeditors.h"

void TExtendedTranslationsProperty::Edit() {
    EditTranslations(CastComponent<TzxCustomLang>(GetComponent(0)), Designer(), stCaptions,
                     {sfSelected, sfDesignTime, sfExtended}, {});
}

TPropertyAttributes TExtendedTranslationsProperty::GetAttributes() { return DialogClassAttributes(*this); }
