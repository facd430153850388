// The program's command line: zxide [--ide=K1|K2|K3D] [--package PATH]
// [PROJECT.dpr]. Without --package the program loads the translation
// package of its IDE version from its own directory.
#pragma once

#include "designide/DesignHost.h"

struct TIdeOptions {
    AnsiString ProjectFile;
    AnsiString PackageFile;
    TIDEVersion Version = ideK2;
};

// EConvertError for an unknown option, a missing value or a second project.
TIdeOptions ParseIdeOptions(Integer ArgCount, const char* const* Args);
// bplTZxLang_<version>.so beside the running program.
AnsiString DefaultPackageFile(TIDEVersion Version);
