// Test main: fixes the environment before any test or QApplication exists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// The font library keeps caches for the process's life that the leak
// checker of a sanitizer build reports now and then; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    unsetenv("QT_QPA_PLATFORMTHEME");
    setenv("ZX_TEST_OUTPUT", ZX_TEST_OUTPUT_DIR, 0);
    std::filesystem::create_directories(std::getenv("ZX_TEST_OUTPUT"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
