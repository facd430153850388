// Reads a form holding a translation component from its text form file,
// switches it to German and checks the captions: exit status 0 when every
// caption is the one the form file holds for that language.
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "rtl/Filer.h"
#include "runtime/QzxComp.h"
#include "runtime/ZxLangRuntime.h"

#include <iostream>
#include <memory>

namespace {

bool HasCaption(TComponent& Form, const AnsiString& Name, const AnsiString& Wanted) {
    auto* control = dynamic_cast<TControl*>(Form.FindComponent(Name));
    const AnsiString caption = control ? control->Caption() : AnsiString("(missing)");
    if (caption == Wanted)
        return true;
    std::cerr << Name << " shows \"" << caption << "\", expected \"" << Wanted << "\"\n";
    return false;
}

bool Run() {
    std::unique_ptr<TComponent> form(LoadComponentFromFile(HELLO_FORM));
    auto* lang = dynamic_cast<TzxLang*>(form->FindComponent("Lang"));
    if (!lang) {
        std::cerr << "The form has no translation component\n";
        return false;
    }
    bool shown = HasCaption(*form, "GreetButton", "Hello");
    lang->SetLanguage(u"Deutsch");
    shown = HasCaption(*form, "GreetButton", "Hallo") && shown;
    shown = HasCaption(*form, "GreetLabel", "Guten Morgen") && shown;
    return shown;
}

} // namespace

int main() {
    RegisterClxClasses();
    InitZxLangRuntime();
    Application->Initialize();
    const bool shown = Run();
    DoneApplication();
    std::cout << (shown ? "The form speaks German\n" : "The form was not translated\n");
    return shown ? 0 : 1;
}
