#include "ide/Qdntcedit.h"

#include "editor/Qdntcedit.h"
#include "ide/Qzxpropeditors.h"

void TDNTProperty::Edit() {
    auto& lang = CastComponent<TzxCustomLang>(GetComponent(0));
    if (EditDoNotTranslate(lang.Owner(), lang.DoNotTranslate(), &lang) == mrOk)
        Modified();
}

TPropertyAttributes TDNTProperty::GetAttributes() { return DialogClassAttributes(*this); }
