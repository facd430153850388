#include "rtl/SysUtils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class FilesTest : public testing::Test {
protected:
    AnsiString PathOf(const AnsiString& Name) const { return Dir + "/" + Name; }
    void MakeFile(const AnsiString& Name, const AnsiString& Content = "data") const {
        std::ofstream(PathOf(Name)) << Content;
    }

    zxtest::TTempDir Temp;
    const AnsiString Dir = Temp.Path();
};

TEST(FileNames, ExtractPathDirAndName) {
    EXPECT_EQ(ExtractFilePath("/a/b.txt"), "/a/");
    EXPECT_EQ(ExtractFileDir("/a/b.txt"), "/a");
    EXPECT_EQ(ExtractFileName("/a/b.txt"), "b.txt");

    EXPECT_EQ(ExtractFilePath("b.txt"), "");
    EXPECT_EQ(ExtractFileDir("b.txt"), "");
    EXPECT_EQ(ExtractFileName("b.txt"), "b.txt");

    EXPECT_EQ(ExtractFilePath("/b.txt"), "/");
    EXPECT_EQ(ExtractFileDir("/b.txt"), "/");
    EXPECT_EQ(ExtractFileDir("/"), "/");

    EXPECT_EQ(ExtractFilePath("/a/b/"), "/a/b/");
    EXPECT_EQ(ExtractFileDir("/a/b/"), "/a/b");
    EXPECT_EQ(ExtractFileName("/a/b/"), "");

    EXPECT_EQ(ExtractFileDir("../x/y"), "../x");
    EXPECT_EQ(ExtractFileDir("//y"), "//");
}

TEST(FileNames, ExtensionsComeFromTheLastNameOnly) {
    EXPECT_EQ(ExtractFileExt("/a/b.txt"), ".txt");
    EXPECT_EQ(ExtractFileExt("/a/b.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
    EXPECT_EQ(ExtractFileExt("noext"), "");
    EXPECT_EQ(ExtractFileExt("name."), ".");
    EXPECT_EQ(ExtractFileExt("/home/u/.bashrc"), ".bashrc");
    EXPECT_EQ(ExtractFileExt(""), "");
}

TEST(FileNames, ChangeFileExtReplacesAppendsOrRemoves) {
    EXPECT_EQ(ChangeFileExt("/a/b.txt", ".ini"), "/a/b.ini");
    EXPECT_EQ(ChangeFileExt("/a/b.tar.gz", ".bz2"), "/a/b.tar.bz2");
    EXPECT_EQ(ChangeFileExt("/a.b/c", ".ini"), "/a.b/c.ini");
    EXPECT_EQ(ChangeFileExt("/a/b.txt", ""), "/a/b");
    EXPECT_EQ(ChangeFileExt(".bashrc", ".bak"), ".bak");
    EXPECT_EQ(ChangeFileExt("", ".x"), ".x");
}

TEST(FileNames, TrailingDelimiters) {
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a"), "/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a//"), "/a/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "");
}

TEST(FileNames, ExpandFileNameResolvesDotsLexically) {
    EXPECT_EQ(ExpandFileName("/a/./b/../c"), "/a/c");
    EXPECT_EQ(ExpandFileName("/a//b"), "/a/b");
    EXPECT_EQ(ExpandFileName("/a/b/"), "/a/b/");
    EXPECT_EQ(ExpandFileName("/../.."), "/");
    EXPECT_EQ(ExpandFileName("/a/.."), "/");
    EXPECT_EQ(ExpandFileName("/"), "/");
    EXPECT_EQ(ExpandFileName("/no/such/dir/../file.txt"), "/no/such/file.txt");
    EXPECT_EQ(ExpandFileName(""), "");
}

TEST(FileNames, ExpandFileNameStartsFromTheCurrentDirectory) {
    fs::path cwd = fs::current_path();
    EXPECT_EQ(ExpandFileName("x.txt"), (cwd / "x.txt").string());
    EXPECT_EQ(ExpandFileName("sub/../x.txt"), (cwd / "x.txt").string());
    EXPECT_EQ(ExpandFileName("."), cwd.string());
    EXPECT_EQ(ExpandFileName(".."), cwd.parent_path().string());
}

TEST(FileNames, SameFileNameIsCaseSensitive) {
    EXPECT_TRUE(SameFileName("/a/B.txt", "/a/B.txt"));
    EXPECT_FALSE(SameFileName("/a/B.txt", "/a/b.txt"));
}

TEST(FileNames, SysErrorMessageNamesTheError) {
    EXPECT_EQ(SysErrorMessage(ENOENT), "No such file or directory");
    EXPECT_NE(SysErrorMessage(EACCES), SysErrorMessage(ENOENT));
}

TEST_F(FilesTest, GetCurrentDirIsTheProcessDirectory) {
    EXPECT_EQ(GetCurrentDir(), fs::current_path().string());
}

TEST_F(FilesTest, FileExistsOnlyForFilesAndLinksToFiles) {
    MakeFile("file");
    fs::create_directory(PathOf("dir"));
    fs::create_symlink(PathOf("file"), PathOf("link"));
    fs::create_symlink(PathOf("missing"), PathOf("dangling"));
    EXPECT_TRUE(FileExists(PathOf("file")));
    EXPECT_TRUE(FileExists(PathOf("link")));
    EXPECT_FALSE(FileExists(PathOf("dir")));
    EXPECT_FALSE(FileExists(PathOf("dangling")));
    EXPECT_FALSE(FileExists(PathOf("missing")));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FilesTest, DirectoryExistsOnlyForDirectories) {
    MakeFile("file");
    fs::create_directory(PathOf("dir"));
    fs::create_directory_symlink(PathOf("dir"), PathOf("dirlink"));
    EXPECT_TRUE(DirectoryExists(Dir));
    EXPECT_TRUE(DirectoryExists(PathOf("dir/")));
    EXPECT_TRUE(DirectoryExists(PathOf("dirlink")));
    EXPECT_FALSE(DirectoryExists(PathOf("file")));
    EXPECT_FALSE(DirectoryExists(PathOf("missing")));
    EXPECT_FALSE(DirectoryExists(""));
}

TEST_F(FilesTest, DeleteFileRemovesFilesOnly) {
    MakeFile("file");
    fs::create_directory(PathOf("dir"));
    EXPECT_TRUE(DeleteFile(PathOf("file")));
    EXPECT_FALSE(fs::exists(PathOf("file")));
    EXPECT_FALSE(DeleteFile(PathOf("file")));
    EXPECT_FALSE(DeleteFile(PathOf("dir")));
    EXPECT_TRUE(fs::is_directory(PathOf("dir")));
}

TEST_F(FilesTest, RenameFileReplacesAnExistingTarget) {
    MakeFile("old", "new content");
    MakeFile("target", "old content");
    EXPECT_TRUE(RenameFile(PathOf("old"), PathOf("target")));
    EXPECT_FALSE(fs::exists(PathOf("old")));
    std::ifstream renamed(PathOf("target"));
    std::string content((std::istreambuf_iterator<char>(renamed)), {});
    EXPECT_EQ(content, "new content");
    EXPECT_FALSE(RenameFile(PathOf("old"), PathOf("other")));
}

TEST_F(FilesTest, ForceDirectoriesCreatesEveryLevel) {
    EXPECT_TRUE(ForceDirectories(PathOf("a/b/c/")));
    EXPECT_TRUE(fs::is_directory(PathOf("a/b/c")));
    EXPECT_TRUE(ForceDirectories(PathOf("a/b")));
    EXPECT_TRUE(ForceDirectories(PathOf("a/x/../y")));
    EXPECT_TRUE(fs::is_directory(PathOf("a/y")));
    EXPECT_TRUE(ForceDirectories("/"));
}

TEST_F(FilesTest, ForceDirectoriesFailsThroughAFile) {
    MakeFile("file");
    EXPECT_FALSE(ForceDirectories(PathOf("file/sub")));
    EXPECT_FALSE(ForceDirectories(PathOf("file")));
    EXPECT_THROW(ForceDirectories(""), EInOutError);
}

} // namespace
