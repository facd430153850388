// The component-library core: persistent objects, lists and streams.
#pragma once

#include "rtl/Lists.h"
#include "rtl/Persistent.h"
#include "rtl/Streams.h"
