// The component-library core: run-time type information, persistent objects,
// components, collections, the class registry, lists and streams.
#pragma once

#include "rtl/Collections.h"
#include "rtl/Components.h"
#include "rtl/Lists.h"
#include "rtl/Persistent.h"
#include "rtl/Streams.h"
#include "rtl/TypInfo.h"
