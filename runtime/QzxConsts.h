// Fixed texts of the translation components.
#pragma once

#include <array>

// The message dialogs' texts: the window captions of the information,
// warning, error and confirmation types, then the button captions of mbOk to
// mbIgnore ("&" marks the access key), then plain button names. The first
// SeededDialogTexts seed DlgsCaptions, each keyed by its text without "&".
inline constexpr std::array<const char*, 19> DialogTexts = {
    "Information", "Warning", "Error",  "Confirm", "OK",  "Cancel", "&Yes",
    "&No",         "&Abort",  "&Retry", "&Ignore", "Yes", "No",     "OK",
    "Cancel",      "Abort",   "Retry",  "Ignore",  "All"};
inline constexpr int SeededDialogTexts = 11;
