// The units of a design-time package in their initialization order; each
// package's sources define the list.
#pragma once

#include "designide/PackageIntf.h"

#include <vector>

const std::vector<TPackageUnit>& PackageUnits();
