// Counted references between the IDE and the code it loads.
//
// Two generations of interfaces meet here. The older tool interfaces derive
// from TInterface: an object made with one reference, AddRef and Release
// counting it, freed when the last reference goes. The newer ones derive
// from IInterface and are asked for one another by interface identifier
// (QueryInterface); DelphiInterface<T> holds such a reference for the length
// of an operation and releases it when it goes out of scope.
#pragma once

#include "rtl/SysUtils.h"

#include <utility>

class TInterface {
public:
    TInterface() = default;
    TInterface(const TInterface&) = delete;
    TInterface& operator=(const TInterface&) = delete;

    virtual Integer AddRef() { return ++FRefCount; }
    // Frees the object when the count reaches 0; the count left.
    virtual Integer Release() {
        Integer left = --FRefCount;
        if (left == 0)
            delete this;
        return left;
    }
    virtual Integer GetVersion() { return 3; }
    Integer RefCount() const { return FRefCount; }

protected:
    virtual ~TInterface() = default;

private:
    Integer FRefCount = 1;
};

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, compared without regard to case.
struct TGUID {
    AnsiString Text;
    friend bool operator==(const TGUID& A, const TGUID& B) { return SameText(A.Text, B.Text); }
};

class IInterface {
public:
    // Puts an added reference to the interface Id into Obj; false (and
    // nullptr) when the object does not implement it.
    virtual bool QueryInterface(const TGUID& Id, void** Obj) = 0;
    virtual Integer AddRef() = 0;
    virtual Integer Release() = 0;

protected:
    virtual ~IInterface() = default;
};

inline const TGUID IID_IInterface{"{00000000-0000-0000-C000-000000000046}"};

// A counted object implementing interfaces; made with no reference, freed
// when the last one is released.
class TInterfacedObject : public virtual IInterface {
public:
    Integer AddRef() override { return ++FRefCount; }
    Integer Release() override {
        Integer left = --FRefCount;
        if (left == 0)
            delete this;
        return left;
    }
    Integer RefCount() const { return FRefCount; }

private:
    Integer FRefCount = 0;
};

// A counted reference to an interface: copying adds a reference, going out
// of scope releases it.
template <typename T> class DelphiInterface {
public:
    DelphiInterface() = default;
    DelphiInterface(std::nullptr_t) {}
    // Takes a new reference to P.
    DelphiInterface(T* P) : FIntf(P) {
        if (FIntf)
            FIntf->AddRef();
    }
    DelphiInterface(const DelphiInterface& Other) : DelphiInterface(Other.FIntf) {}
    DelphiInterface(DelphiInterface&& Other) noexcept : FIntf(std::exchange(Other.FIntf, nullptr)) {}
    ~DelphiInterface() { Reset(); }
    DelphiInterface& operator=(DelphiInterface Other) noexcept {
        std::swap(FIntf, Other.FIntf);
        return *this;
    }

    // Takes over a reference that was added already (a QueryInterface result).
    static DelphiInterface Adopt(T* P) {
        DelphiInterface result;
        result.FIntf = P;
        return result;
    }
    void Reset() {
        if (FIntf)
            std::exchange(FIntf, nullptr)->Release();
    }
    T* get() const { return FIntf; }
    T* operator->() const { return FIntf; }
    explicit operator bool() const { return FIntf != nullptr; }

private:
    T* FIntf = nullptr;
};

// The interface Id of Instance as a counted reference; empty when it has none.
template <typename T> DelphiInterface<T> Supports(IInterface* Instance, const TGUID& Id) {
    void* found = nullptr;
    if (!Instance || !Instance->QueryInterface(Id, &found))
        return nullptr;
    return DelphiInterface<T>::Adopt(static_cast<T*>(found));
}
