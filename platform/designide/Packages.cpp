#include "designide/Packages.h"

#include "designide/DesignHost.h"
#include "designide/DesignRegistry.h"
#include "designide/HostModule.h"
#include "designide/PackageIntf.h"

#include <algorithm>
#include <dlfcn.h>
#include <iterator>

namespace {

const void* ModuleBaseOf(const void* Address) {
    Dl_info info;
    return dladdr(Address, &info) ? info.dli_fbase : nullptr;
}

std::vector<TClass> Sorted(std::vector<TClass> Classes) {
    std::sort(Classes.begin(), Classes.end());
    return Classes;
}

} // namespace

TDesignPackage::TDesignPackage(const AnsiString& FileName, const AnsiString& HostVersion)
    : FFileName(FileName) {
    FHandle = dlopen(FileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!FHandle)
        throw EPackageError(Format("Cannot load package %s: %s", {FileName, AnsiString(dlerror())}));
    auto entry = reinterpret_cast<const TPackageInfo* (*)()>(dlsym(FHandle, ZxPackageInfoSymbol));
    FInfo = entry ? entry() : nullptr;
    if (!FInfo) {
        dlclose(FHandle);
        throw EPackageError(Format("%s is no design-time package", {FileName}));
    }
    if (AnsiString(FInfo->IDEVersion) != HostVersion) {
        AnsiString message = Format("Package %s was built for IDE version %s; this host runs as %s",
                                    {FileName, AnsiString(FInfo->IDEVersion), HostVersion});
        dlclose(FHandle);
        throw EPackageError(message);
    }
    FBase = ModuleBaseOf(reinterpret_cast<const void*>(entry));
    SetRegisteringModule(FBase);
    const std::vector<TClass> before = Sorted(GetRegisteredClasses());
    try {
        FInfo->Startup();
        FInfo->Register();
        const std::vector<TClass> after = Sorted(GetRegisteredClasses());
        std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                            std::back_inserter(FClasses));
    } catch (const Exception& error) {
        const std::vector<TClass> after = Sorted(GetRegisteredClasses());
        std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                            std::back_inserter(FClasses));
        AnsiString message = Format("Package %s could not be installed: %s", {FileName, error.Message()});
        SetRegisteringModule(nullptr);
        TakeBack();
        dlclose(FHandle);
        throw EPackageError(message);
    }
    SetRegisteringModule(nullptr);
}

TDesignPackage::~TDesignPackage() {
    TakeBack();
    dlclose(FHandle);
}

void TDesignPackage::TakeBack() noexcept {
    try {
        ReleaseModuleExperts(FBase);
        UnRegisterModuleEditors(FBase);
        UnRegisterModuleUnits(FBase);
        for (TClass each : FClasses)
            UnRegisterClass(each);
        FInfo->Shutdown();
    } catch (const Exception& error) {
        if (TDesignHost* host = TDesignHost::Current())
            host->ShowMessageText(Format("Package %s: %s", {FFileName, error.Message()}));
    }
}

bool TDesignPackage::OwnsClass(TClass AClass) const {
    return std::find(FClasses.begin(), FClasses.end(), AClass) != FClasses.end();
}

AnsiString TDesignPackage::Name() const { return FInfo->Name; }

AnsiString TDesignPackage::ModuleFileName() const { return FInfo->ModuleFileName(); }

// ---------------------------------------------------------------------------
// The host's side

bool TDesignHost::LoadPackage(const AnsiString& FileName) {
    const AnsiString expanded = ExpandFileName(FileName);
    for (const auto& package : FPackages)
        if (SameFileName(package->FileName(), expanded)) {
            ShowMessageText(Format("Package %s is loaded already", {expanded}));
            return false;
        }
    try {
        FPackages.push_back(std::make_unique<TDesignPackage>(expanded, IDEVersionName(FVersion)));
    } catch (const Exception& error) {
        ShowMessageText(error.Message());
        return false;
    }
    return true;
}

bool TDesignHost::UnloadPackage(const AnsiString& FileName) {
    const AnsiString expanded = ExpandFileName(FileName);
    for (auto package = FPackages.begin(); package != FPackages.end(); ++package) {
        if (!SameFileName((*package)->FileName(), expanded))
            continue;
        std::unique_ptr<TDesignPackage> unloading = std::move(*package);
        FPackages.erase(package);
        ReleaseModuleExperts(unloading->Base());
        ClosePackageForms(*unloading);
        return true;
    }
    return false;
}

std::vector<AnsiString> TDesignHost::LoadedPackages() const {
    std::vector<AnsiString> names;
    for (const auto& package : FPackages)
        names.push_back(package->ModuleFileName());
    return names;
}
