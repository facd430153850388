#include "runtime/ZxLangRuntime.h"

#include "runtime/QzxActns.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxLangCombo.h"
#include "runtime/QzxLngLnk.h"
#include "runtime/QzxLngTLV.h"

void InitZxLangRuntime() {
    InitQzxComp();
    InitQzxLngLnk();
    InitQzxLngTLV();
    InitQzxActns();
    InitQzxLangCombo();
}
