// The host's side of the registrations: the module making them and what
// goes when a module goes.
#pragma once

#include "designide/DesignIntf.h"

class TIExpert;

// Registrations are filed under the module making them (the package being
// loaded, nullptr for the host), so that unloading it takes them back.
void SetRegisteringModule(const void* Module);
const void* RegisteringModule();
void UnRegisterModuleEditors(const void* Module);
// The experts handed over, in the order of registration.
std::vector<TIExpert*> GetLibraryExperts();
// Releases the experts Module registered (nullptr: the host's own).
void ReleaseModuleExperts(const void* Module);
