#include "IdeOptions.h"

TIdeOptions ParseIdeOptions(Integer ArgCount, const char* const* Args) {
    TIdeOptions options;
    options.Version = IDEVersionFromArguments(ArgCount, Args);
    for (Integer index = 1; index < ArgCount; ++index) {
        const AnsiString argument = Args[index];
        if (argument.starts_with("--ide="))
            continue;
        if (argument == "--package") {
            if (index + 1 >= ArgCount)
                throw EConvertError("--package needs the file of a package");
            options.PackageFile = Args[++index];
        } else if (argument.starts_with("-")) {
            throw EConvertError(Format("Unknown option \"%s\"", {argument}));
        } else if (!options.ProjectFile.empty()) {
            throw EConvertError(Format("One project at a time: \"%s\" and \"%s\"",
                                       {options.ProjectFile, argument}));
        } else {
            options.ProjectFile = argument;
        }
    }
    if (options.PackageFile.empty())
        options.PackageFile = DefaultPackageFile(options.Version);
    return options;
}

AnsiString DefaultPackageFile(TIDEVersion Version) {
    return ExtractFilePath(ParamStr(0)) + "bplTZxLang_" + IDEVersionName(Version) + ".so";
}
