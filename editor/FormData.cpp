#include "editor/FormData.h"

#include "rtl/Filer.h"
#include "rtl/FormText.h"

void ReadFormData(std::string_view Text, TComponent* Instance) {
    TStringStream text{AnsiString(Text)};
    TMemoryStream binary;
    ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    ReadComponent(binary, Instance);
}
