// The component-library core: run-time type information, persistent objects,
// components, collections, the class registry, lists, streams and component
// streaming.
#pragma once

#include "rtl/Collections.h"
#include "rtl/Components.h"
#include "rtl/Filer.h"
#include "rtl/FormText.h"
#include "rtl/Lists.h"
#include "rtl/Persistent.h"
#include "rtl/Streams.h"
#include "rtl/TypInfo.h"
