#include "ide/Q_about.h"

#include "clx/Dialogs.h"
#include "editor/FormData.h"
#include "rtl/Filer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

std::string_view FormData_Q_about();

namespace {

const char* const Opener = "xdg-open";

// The executable file of Name in the directories of PATH; empty when none.
AnsiString FindOnPath(const AnsiString& Name) {
    const char* path = std::getenv("PATH");
    if (!path)
        return AnsiString();
    const std::string directories = path;
    for (std::size_t start = 0; start <= directories.size();) {
        std::size_t end = directories.find(':', start);
        if (end == std::string::npos)
            end = directories.size();
        const AnsiString directory = directories.substr(start, end - start);
        const AnsiString candidate = IncludeTrailingPathDelimiter(directory) + Name;
        if (!directory.empty() && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return AnsiString();
}

// The opener runs in a grandchild: the child leaves at once and is reaped
// here, so the opener belongs to init and no zombie is left behind. A
// child or grandchild whose exec fails leaves with _exit, touching nothing
// of the parent's state.
bool SpawnDetached(const AnsiString& Program, const AnsiString& Address) {
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (fork() == 0) {
            char* const arguments[] = {const_cast<char*>(Program.c_str()),
                                       const_cast<char*>(Address.c_str()), nullptr};
            execvp(arguments[0], arguments);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

} // namespace

AnsiString AboutLinkAddress(Integer Tag) {
    switch (Tag) {
    case 1:
        return "https://www.talvenko.com/tzxlang/";
    case 2:
        return "mailto:support@talvenko.com";
    default:
        return AnsiString();
    }
}

bool OpenURL(const AnsiString& Address) {
    const AnsiString program = FindOnPath(Opener);
    if (program.empty()) {
        MessageDlg(Format("No program to open \"%s\" was found: install xdg-utils, which "
                          "provides xdg-open.",
                          {Address}),
                   mtError, {mbOk}, 0);
        return false;
    }
    if (!SpawnDetached(program, Address)) {
        MessageDlg(Format("Could not start %s to open \"%s\".", {program, Address}), mtError,
                   {mbOk}, 0);
        return false;
    }
    return true;
}

void TfrmAbout::AfterConstruction() {
    if (!GetClass("TfrmAbout")) {
        RegisterClass(TfrmAbout::StaticClass());
        RegisterMethod("Label3Click", &TfrmAbout::Label3Click);
    }
    ReadFormData(FormData_Q_about(), this);
    TForm::AfterConstruction();
}

std::vector<TLabel*> TfrmAbout::LinkLabels() const {
    std::vector<TLabel*> links;
    for (Integer index = 0; index < ComponentCount(); ++index)
        if (auto* label = dynamic_cast<TLabel*>(Components(index));
            label && !AboutLinkAddress(label->Tag()).empty())
            links.push_back(label);
    return links;
}

void TfrmAbout::Label3Click(TObject* Sender) {
    const AnsiString address = AboutLinkAddress(static_cast<TComponent*>(Sender)->Tag());
    if (!address.empty())
        OpenURL(address);
}
