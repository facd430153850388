// The units of the translation package in their initialization order. The
// run-time units register their component classes for form streaming
// (where the name is free) and tell the designer which unit declares each
// class.
#include "package/PackageUnits.h"

#include "designide/DesignIntf.h"
#include "editor/Q_deffonts.h"
#include "editor/QzxLangRT.h"
#include "ide/Qzxreg.h"
#include "runtime/QzxActns.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxLangCombo.h"
#include "runtime/QzxLngLnk.h"
#include "runtime/QzxLngTLV.h"

namespace {

void InitializeQzxComp() {
    InitQzxComp();
    RegisterUnitClasses("QzxComp", {TzxLang::StaticClass(), TzxFormStorage::StaticClass(),
                                    TzxLangDispatcher::StaticClass()});
}

void InitializeQzxLngLnk() {
    InitQzxLngLnk();
    RegisterUnitClasses("QzxLngLnk", {TzxLangLinked::StaticClass()});
}

void InitializeQzxLngTLV() {
    InitQzxLngTLV();
    RegisterUnitClasses("QzxLngTLV", {TzxLangTLV::StaticClass()});
}

void InitializeQzxLangCombo() { RegisterUnitClasses("QzxLangCombo", {TzxLangCombo::StaticClass()}); }

void InitializeQzxActns() { RegisterUnitClasses("QzxActns", {TzxLangChangeLanguage::StaticClass()}); }

void InitializeQzxLangRT() {
    InitQzxLangRT();
    RegisterUnitClasses("QzxLangRT", {TzxLangRT::StaticClass()});
}

} // namespace

const std::vector<TPackageUnit>& PackageUnits() {
    static const std::vector<TPackageUnit> units{
        {"QzxComp", &InitializeQzxComp, nullptr, nullptr},
        {"QzxLangRT", &InitializeQzxLangRT, &DoneQzxLangRT, nullptr},
        {"QzxLngLnk", &InitializeQzxLngLnk, nullptr, nullptr},
        {"QzxLngTLV", &InitializeQzxLngTLV, nullptr, nullptr},
        {"QzxLangCombo", &InitializeQzxLangCombo, nullptr, nullptr},
        {"QzxActns", &InitializeQzxActns, nullptr, nullptr},
        {"Q_deffonts", &InitQ_deffonts, &DoneQ_deffonts, nullptr},
        {"Qzxreg", nullptr, nullptr, &Register},
    };
    return units;
}
