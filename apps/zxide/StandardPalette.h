// The IDE's own palette pages: the component library's controls, as the
// IDE registers them before any package loads.
#pragma once

void RegisterStandardPalette();
