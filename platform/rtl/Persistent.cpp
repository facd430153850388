#include "rtl/Persistent.h"

namespace {

[[noreturn]] void AssignError(const TPersistent* Source, const TPersistent* Dest) {
    AnsiString sourceName = Source ? Source->ClassName() : AnsiString("nil");
    throw EConvertError(Format("Cannot assign a %s to a %s", {sourceName, Dest->ClassName()}));
}

} // namespace

void TPersistent::Assign(const TPersistent* Source) {
    if (!Source)
        AssignError(nullptr, this);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const { AssignError(this, Dest); }

void TPersistent::DefineProperties(TFiler*) {}
