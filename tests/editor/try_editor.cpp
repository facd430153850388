// Opens the Translation Editor on the demo's main form, read from the
// demo's form files, for a person to use it (under a display); prints
// whether the edits were saved and the main form's Captions list after.
#include "DemoForms.h"
#include "DemoTranslations.h"

#include "editor/QzxTransEditor.h"

#include "clx/Forms.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: editor_try DEMO_FORMS_DIR\n";
        return 2;
    }
    RegisterDemoClasses();
    InitQzxTransEditor();
    Application->Initialize();
    const AnsiString dir = AnsiString(argv[1]) + "/";
    SetDemoFilesDir(dir);
    auto files = LoadDemoFormFiles(dir);
    TzxCustomLang* lang = DemoFormComponents(files)[0];
    const bool saved = TransEditorDlg(lang, stCaptions, 0, {sfFull, sfDesignTime});
    std::cout << (saved ? "saved" : "not saved") << "\n" << lang->Captions()->Text();
    return 0;
}
