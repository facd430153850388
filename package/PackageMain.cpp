// The entry point of a design-time package: its name and IDE version (set
// by the build for each target), the unit initializations in unit order, the
// units' Register procedures, and the finalizations of the units that were
// initialized, in reverse order.
#include "package/PackageUnits.h"

#include <dlfcn.h>

#include <string>

namespace {

std::string& ModulePath() {
    static std::string path;
    return path;
}

std::size_t& InitializedUnits() {
    static std::size_t count = 0;
    return count;
}

const char* ModuleFileName() { return ModulePath().c_str(); }

void Startup() {
    Dl_info info;
    if (dladdr(reinterpret_cast<const void*>(&ZxPackageInfo), &info) && info.dli_fname)
        ModulePath() = info.dli_fname;
    const std::vector<TPackageUnit>& units = PackageUnits();
    for (InitializedUnits() = 0; InitializedUnits() < units.size(); ++InitializedUnits())
        if (units[InitializedUnits()].Initialization)
            units[InitializedUnits()].Initialization();
}

void Register() {
    for (const TPackageUnit& unit : PackageUnits())
        if (unit.Register)
            unit.Register();
}

void Shutdown() {
    const std::vector<TPackageUnit>& units = PackageUnits();
    while (InitializedUnits() > 0) {
        const TPackageUnit& unit = units[--InitializedUnits()];
        if (unit.Finalization)
            unit.Finalization();
    }
}

} // namespace

extern "C" const TPackageInfo* ZxPackageInfo() {
    static const TPackageInfo info{ZX_PACKAGE_NAME, ZX_IDE_VERSION, &ModuleFileName,
                                   &Startup,        &Register,      &Shutdown};
    return &info;
}
