// Stores the translation table in the shipped files: zxdemo_make_files DIR
// rewrites the form and translation files in DIR (apps/demo/forms).
#include "DemoTranslations.h"

#include "DemoForms.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zxdemo_make_files DIR\n";
        return 2;
    }
    try {
        RegisterDemoClasses();
        SetDemoFilesDir(argv[1]);
        WriteDemoFiles(argv[1], argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "zxdemo_make_files: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
