#include "rtl/SysUtils.h"

#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

bool StatMode(const AnsiString& Name, mode_t& Mode) {
    struct stat info;
    if (Name.empty() || stat(Name.c_str(), &info) != 0)
        return false;
    Mode = info.st_mode;
    return true;
}

AnsiString WithoutTrailingDelimiters(AnsiString S) {
    while (!S.empty() && S.back() == PathDelim)
        S.pop_back();
    return S;
}

// Splits Path at its delimiters, dropping empty and "." parts and letting
// ".." remove the part before it; ".." never climbs above the root.
std::vector<AnsiString> NormalizedParts(const AnsiString& Path) {
    std::vector<AnsiString> parts;
    std::size_t start = 0;
    while (start <= Path.size()) {
        std::size_t end = Path.find(PathDelim, start);
        if (end == AnsiString::npos)
            end = Path.size();
        AnsiString part = Path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    return parts;
}

} // namespace

bool FileExists(const AnsiString& FileName) {
    mode_t mode;
    return StatMode(FileName, mode) && S_ISREG(mode);
}

bool DirectoryExists(const AnsiString& Directory) {
    mode_t mode;
    return StatMode(Directory, mode) && S_ISDIR(mode);
}

bool DeleteFile(const AnsiString& FileName) {
    return unlink(FileName.c_str()) == 0;
}

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName) {
    return rename(OldName.c_str(), NewName.c_str()) == 0;
}

bool ForceDirectories(const AnsiString& Dir) {
    if (Dir.empty())
        throw EInOutError("Unable to create directory");
    AnsiString path = WithoutTrailingDelimiters(Dir);
    if (path.empty() || DirectoryExists(path))
        return true;
    AnsiString parent = ExtractFilePath(path);
    if (!parent.empty() && !ForceDirectories(parent))
        return false;
    return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && DirectoryExists(path));
}

AnsiString GetCurrentDir() {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return AnsiString();
        buffer.resize(buffer.size() * 2);
    }
    return AnsiString(buffer.data());
}

AnsiString ExtractFilePath(const AnsiString& FileName) {
    std::size_t delimiter = FileName.rfind(PathDelim);
    return delimiter == AnsiString::npos ? AnsiString() : FileName.substr(0, delimiter + 1);
}

AnsiString ExtractFileDir(const AnsiString& FileName) {
    std::size_t delimiter = FileName.rfind(PathDelim);
    if (delimiter == AnsiString::npos)
        return AnsiString();
    // The delimiter stays when dropping it would leave no directory ("/a"
    // -> "/") or when it follows another one.
    bool keepDelimiter = delimiter == 0 || FileName[delimiter - 1] == PathDelim;
    return FileName.substr(0, keepDelimiter ? delimiter + 1 : delimiter);
}

AnsiString ExtractFileName(const AnsiString& FileName) {
    std::size_t delimiter = FileName.rfind(PathDelim);
    return delimiter == AnsiString::npos ? FileName : FileName.substr(delimiter + 1);
}

AnsiString ExtractFileExt(const AnsiString& FileName) {
    std::size_t at = FileName.find_last_of("./");
    if (at == AnsiString::npos || FileName[at] != '.')
        return AnsiString();
    return FileName.substr(at);
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension) {
    std::size_t at = FileName.find_last_of("./");
    if (at == AnsiString::npos || FileName[at] != '.')
        return FileName + Extension;
    return FileName.substr(0, at) + Extension;
}

AnsiString ExpandFileName(const AnsiString& FileName) {
    if (FileName.empty())
        return AnsiString();
    AnsiString path = FileName.front() == PathDelim
                          ? FileName
                          : IncludeTrailingPathDelimiter(GetCurrentDir()) + FileName;
    AnsiString result;
    for (const AnsiString& part : NormalizedParts(path))
        result += PathDelim + part;
    if (result.empty() || FileName.back() == PathDelim)
        result += PathDelim;
    return result;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& S) {
    return !S.empty() && S.back() == PathDelim ? S : S + PathDelim;
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S) {
    return !S.empty() && S.back() == PathDelim ? S.substr(0, S.size() - 1) : S;
}

bool SameFileName(const AnsiString& S1, const AnsiString& S2) {
    return S1 == S2;
}

AnsiString SysErrorMessage(Integer ErrorCode) {
    return std::system_category().message(ErrorCode);
}
