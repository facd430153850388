// What a design-time package shows the host that loads it: one C entry
// point, ZxPackageInfo, giving the package's name, the IDE version it was
// built for, and its start-up, registration and shut-down. The package's
// units are initialized in its unit order at start-up, their Register
// procedures run in the same order, and they are finalized in the reverse
// order at shut-down (only those that were initialized).
#pragma once

struct TPackageUnit {
    const char* Name;
    void (*Initialization)();
    void (*Finalization)();
    // nullptr for a unit that registers nothing with the IDE.
    void (*Register)();
};

struct TPackageInfo {
    const char* Name;
    // "K1", "K2" or "K3D".
    const char* IDEVersion;
    // The package's own file, as the package found it (dladdr).
    const char* (*ModuleFileName)();
    void (*Startup)();
    void (*Register)();
    void (*Shutdown)();
};

extern "C" const TPackageInfo* ZxPackageInfo();
inline constexpr const char* ZxPackageInfoSymbol = "ZxPackageInfo";
