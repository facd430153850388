// Experts: add-ins the IDE keeps for the life of the package that made them.
#pragma once

#include "designide/VirtIntf.h"

ZX_ENUM(TExpertStyle, esStandard, esForm, esProject, esAddIn);
ZX_ENUM(TExpertStateItem, esEnabled, esChecked);
using TExpertState = TSet<TExpertStateItem>;

class TIExpert : public TInterface {
public:
    virtual AnsiString GetName() = 0;
    virtual AnsiString GetAuthor() = 0;
    virtual AnsiString GetComment() = 0;
    virtual AnsiString GetPage() = 0;
    virtual std::intptr_t GetGlyph() = 0;
    virtual TExpertStyle GetStyle() = 0;
    virtual TExpertState GetState() = 0;
    virtual AnsiString GetIDString() = 0;
    virtual AnsiString GetMenuText() = 0;
    virtual void Execute() = 0;
};

// Hands the expert (and its one reference) to the IDE, which releases it
// when the package that registered it is unloaded. False, and the expert
// released, when an expert of that GetIDString is registered already.
bool RegisterLibraryExpert(TIExpert* Expert);
