#include "ide/Qexcludepropertyeditor.h"

#include "editor/QExcludedEditor.h"
#include "ide/Qzxpropeditors.h"

void TExcludePropertyEditor::Edit() {
    for (Integer page = 0; page < static_cast<Integer>(ExcludePropertyNames.size()); ++page)
        if (AnsiSameText(GetName(), ExcludePropertyNames[static_cast<std::size_t>(page)])) {
            if (DisplayExcludeDialog(&CastComponent<TzxCustomLang>(GetComponent(0)), page))
                Modified();
            return;
        }
}

TPropertyAttributes TExcludePropertyEditor::GetAttributes() { return DialogClassAttributes(*this); }
