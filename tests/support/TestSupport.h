// Helpers shared by the test programs.
#pragma once

#include <string>

namespace zxtest {

// The message of the exception of type E that Call raises, or "no exception".
template <typename E, typename Call>
std::string MessageOf(Call&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "no exception";
}

// Every byte value once, in order: the in-band markers among them.
std::string AllBytes();

// The directory for files tests leave behind on purpose (screenshots):
// $ZX_TEST_OUTPUT, which the test main points into the build tree.
std::string TestOutputDir();

// A fresh directory for one test, removed with everything in it.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return FPath; }
    // Path of a file inside the directory.
    std::string File(const std::string& Name) const { return FPath + "/" + Name; }

private:
    std::string FPath;
};

} // namespace zxtest
