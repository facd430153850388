// What the translation-file fuzz targets compare before and after a refused
// load: everything of a translation component that a load may change.
#pragma once

#include "runtime/QzxComp.h"

#include <string>

inline std::string LangStateOf(TzxCustomLang* Lang) {
    std::string state;
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        if (TStrings* list = Lang->GetPropListByType(static_cast<TStringsType>(kind)))
            state += list->Text() + "|";
    state += Lang->LangNames()->Text() + "|" + IntToStr(Lang->NumOfLanguages()) + "|" +
             IntToStr(Lang->ComponentCount());
    for (Integer index = 0; index < Lang->ExtendedTranslations()->Count(); ++index) {
        TzxExtendedItem* item = Lang->ExtendedTranslations()->Items(index);
        state += "|" + item->GetIdentifier() + "=" + item->Values();
    }
    return state;
}
