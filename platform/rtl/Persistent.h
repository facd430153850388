// TPersistent: objects that can be assigned to one another and streamed.
#pragma once

#include "rtl/SysUtils.h"

class TFiler;

class TPersistent : public TObject {
    ZX_CLASS(TPersistent, TObject)
public:
    // Copies Source into this object; a class that cannot take Source asks
    // Source to assign itself (AssignTo), which raises EConvertError last.
    virtual void Assign(const TPersistent* Source);
    // The object that owns this one in the component tree, if any.
    virtual TPersistent* GetOwner() const { return nullptr; }
    // Unpublished data that travels in component streams.
    virtual void DefineProperties(TFiler* Filer);

protected:
    virtual void AssignTo(TPersistent* Dest) const;
};
