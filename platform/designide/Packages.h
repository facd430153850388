// A design-time package loaded into the host.
#pragma once

#include "rtl/Classes.h"

struct TPackageInfo;

class TDesignPackage {
public:
    // Loads the package: dlopen, the version check, the start-up and the
    // Register procedures; EPackageError says why one failed, and nothing of
    // the package is left behind then.
    TDesignPackage(const AnsiString& FileName, const AnsiString& HostVersion);
    // Takes back what the package registered, runs its finalizations and
    // closes it. The host first frees the forms holding its objects.
    ~TDesignPackage();
    TDesignPackage(const TDesignPackage&) = delete;
    TDesignPackage& operator=(const TDesignPackage&) = delete;

    const AnsiString& FileName() const { return FFileName; }
    AnsiString Name() const;
    AnsiString ModuleFileName() const;
    // The address the package is loaded at: what its classes and
    // registrations are known by.
    const void* Base() const { return FBase; }
    // Whether the class is one the package registered (or an ancestor of
    // one it brought in).
    bool OwnsClass(TClass AClass) const;

private:
    void TakeBack() noexcept;

    AnsiString FFileName;
    void* FHandle = nullptr;
    const TPackageInfo* FInfo = nullptr;
    const void* FBase = nullptr;
    // Classes registered while the package started: what it takes back. A
    // class of the package may live in a copy loaded earlier, so they are
    // known by the registry's change, not by their address.
    std::vector<TClass> FClasses;
};

class EPackageError : public Exception {
    using Exception::Exception;
};
