// The translation engine: the translation component and the text and
// property routines it and the tools use everywhere.
#pragma once

#include "runtime/QzxComp_Dispatcher.h"
#include "runtime/QzxComp_Items.h"
#include "runtime/QzxComp_Lang.h"
#include "runtime/QzxComp_Text.h"
#include "runtime/QzxComp_ZXB.h"
#include "runtime/QzxFormStorage.h"

// Unit start-up: registers TzxLang for form streaming unless a class of
// that name is registered already, and the package's pictures.
void InitQzxComp();
// Registers the pictures of the package: "MSGDLG_CONFIRM".
void RegisterQzxCompResources();
