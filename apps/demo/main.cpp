// The demo program. With a display it runs the application; without one
// (no DISPLAY or WAYLAND_DISPLAY), or with --screenshots DIR, it renders
// every form in every language offscreen into DIR (default "screenshots")
// and prints what each switch did.
#include "DemoApp.h"

#include "editor/Q_deffonts.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

bool HasDisplay() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return true;
    }
    return false;
}

struct TOptions {
    bool Screenshots = false;
    AnsiString Dir = "screenshots";
};

TOptions ParseOptions(int argc, char** argv) {
    TOptions options;
    options.Screenshots = !HasDisplay();
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--screenshots") == 0 && index + 1 < argc) {
            options.Screenshots = true;
            options.Dir = argv[++index];
        } else {
            throw EConvertError(Format("Unknown argument \"%s\"; usage: zxdemo [--screenshots DIR]",
                                       {argv[index]}));
        }
    }
    return options;
}

int Run(const TOptions& Options) {
    if (Options.Screenshots)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    RegisterDemoClasses();
    Application->Initialize();
    SetDemoFilesDir(ExtractFilePath(Application->ExeName()) + "forms");
    {
        TDemoApplication demo;
        if (Options.Screenshots) {
            std::vector<TSwitchRecord> records = demo.WriteScreenshots(Options.Dir);
            PrintSwitchTable(std::cout, records);
            std::cout << records.size() << " pictures in " << Options.Dir << "\n";
        } else {
            Application->Run();
        }
    }
    // The Translation Editor's default fonts are kept when they changed.
    DoneQ_deffonts();
    DoneQzxLangRT();
    DoneApplication();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::cerr << "zxdemo: " << error.what() << "\n";
        return 1;
    }
}
