// zxide: the design host program. Opens a project (PROJECT.dpr) in the
// design host with the translation package loaded.
#include "IdeOptions.h"
#include "IdeWindow.h"
#include "StandardPalette.h"

#include "clx/Forms.h"

#include <QtWidgets/QApplication>

#include <iostream>

int main(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    TIdeOptions options;
    try {
        options = ParseIdeOptions(argc, argv);
    } catch (const Exception& error) {
        std::cerr << "zxide: " << error.Message() << "\n"
                  << "usage: zxide [--ide=K1|K2|K3D] [--package PATH] [PROJECT.dpr]\n";
        return 2;
    }
    RegisterClxClasses();
    Application->Initialize();
    {
        TDesignHost host(options.Version);
        RegisterStandardPalette();
        TIdeWindow window(host);
        window.Show();
        if (host.LoadPackage(options.PackageFile))
            window.Message("Loaded " + options.PackageFile);
        window.RebuildPalette();
        if (!options.ProjectFile.empty())
            window.OpenProject(options.ProjectFile);
        Application->Run();
    }
    DoneApplication();
    return 0;
}
