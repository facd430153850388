// The editor's dialogs read their layouts from the text form files compiled
// into the library (FormData_Name(), generated from Name.xfm).
#pragma once

#include "rtl/Components.h"

#include <string_view>

// Reads the form text into Instance as the form-file reader does: the
// controls it describes become Instance's, its handlers bind to Instance.
void ReadFormData(std::string_view Text, TComponent* Instance);

// The component of class T named Name that the form text gave Form;
// EComponentError when the text lacks it, which is a fault of the text.
template <typename T> T* FormControl(TComponent* Form, const AnsiString& Name) {
    T* component = dynamic_cast<T*>(Form->FindComponent(Name));
    if (!component)
        throw EComponentError(
            Format("The form text of %s has no %s named %s",
                   {Form->ClassName(), T::StaticClass()->Name, Name}));
    return component;
}
