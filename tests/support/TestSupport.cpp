#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace zxtest {

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

std::string TestOutputDir() {
    const char* dir = std::getenv("ZX_TEST_OUTPUT");
    return dir && *dir ? dir : "/tmp";
}

TTempDir::TTempDir() {
    std::filesystem::create_directories(TestOutputDir());
    std::string pattern = TestOutputDir() + "/tmp.XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory in " + TestOutputDir());
    FPath = pattern;
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

} // namespace zxtest
