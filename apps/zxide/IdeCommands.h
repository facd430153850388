// Runs one command of the program: an error it raises is reported through
// the application (a message box) and the program goes on.
#pragma once

#include "clx/Forms.h"

#include <functional>

inline bool Guarded(const std::function<void()>& Command) {
    try {
        Command();
        return true;
    } catch (...) {
        Application->HandleException(nullptr);
        return false;
    }
}
