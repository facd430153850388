#include "rtl/Streams.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

AnsiString ReadFile(const AnsiString& FileName) {
    std::ifstream file(FileName, std::ios::binary);
    return AnsiString((std::istreambuf_iterator<char>(file)), {});
}

void WriteFile(const AnsiString& FileName, const AnsiString& Content) {
    std::ofstream(FileName, std::ios::binary) << Content;
}

mode_t ModeOf(const AnsiString& FileName) {
    struct stat info;
    EXPECT_EQ(stat(FileName.c_str(), &info), 0);
    return info.st_mode & 0777;
}

// Sets the process umask for one scope.
class UmaskScope {
public:
    explicit UmaskScope(mode_t Mask) : FOld(umask(Mask)) {}
    ~UmaskScope() { umask(FOld); }

private:
    mode_t FOld;
};

class StreamFilesTest : public testing::Test {
protected:
    // Tests may take the write permission away; give it back for the cleanup.
    void TearDown() override { fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add); }

    AnsiString PathOf(const AnsiString& Name) const { return Dir + "/" + Name; }
    std::vector<AnsiString> Entries(const AnsiString& Directory) const {
        std::vector<AnsiString> names;
        for (const auto& entry : fs::directory_iterator(Directory))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    zxtest::TTempDir Temp;
    const AnsiString Dir = Temp.Path();
};

// A stream that claims more bytes than it delivers.
class TLyingStream : public TMemoryStream {
public:
    Int64 Size() override { return TMemoryStream::Size() + 10; }
};

const AnsiString kBinary("ab\0\xFF\x01z", 6);

// ---------------------------------------------------------------------------
// TStream through TMemoryStream

TEST(MemoryStream, ReadBufferPastTheEndRaises) {
    TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    stream.SetPosition(1);
    char buffer[4];
    try {
        stream.ReadBuffer(buffer, 3);
        FAIL() << "a short read must raise";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    stream.SetPosition(0);
    stream.ReadBuffer(buffer, 0);
    stream.ReadBuffer(buffer, 3);
    EXPECT_EQ(AnsiString(buffer, 3), "abc");
}

TEST(MemoryStream, ReadReturnsWhatIsLeft) {
    TMemoryStream stream;
    stream.WriteBuffer("hello", 5);
    stream.SetPosition(3);
    char buffer[10];
    EXPECT_EQ(stream.Read(buffer, 10), 2);
    EXPECT_EQ(AnsiString(buffer, 2), "lo");
    EXPECT_EQ(stream.Read(buffer, 10), 0);
    EXPECT_EQ(stream.Seek(100, soBeginning), 100);
    EXPECT_EQ(stream.Read(buffer, 10), 0);
    EXPECT_EQ(stream.Size(), 5);
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream stream;
    stream.WriteBuffer("ab", 2);
    EXPECT_EQ(stream.Seek(3, soEnd), 5);
    stream.WriteBuffer("cd", 2);
    EXPECT_EQ(stream.Size(), 7);
    EXPECT_EQ(stream.Position(), 7);
    EXPECT_EQ(AnsiString(reinterpret_cast<const char*>(stream.Memory()), 7),
              AnsiString("ab\0\0\0cd", 7));
    stream.SetPosition(1);
    stream.WriteBuffer("X", 1);
    EXPECT_EQ(stream.Memory()[1], 'X');
    EXPECT_EQ(stream.Size(), 7);
}

TEST(MemoryStream, SeekFromEveryOriginAndRejectsNegativePositions) {
    TMemoryStream stream;
    stream.WriteBuffer("0123456789", 10);
    EXPECT_EQ(stream.Seek(4, soBeginning), 4);
    EXPECT_EQ(stream.Seek(-1, soCurrent), 3);
    EXPECT_EQ(stream.Seek(-2, soEnd), 8);
    EXPECT_THROW(stream.Seek(-1, soBeginning), EStreamError);
    EXPECT_THROW(stream.Seek(-11, soEnd), EStreamError);
    EXPECT_EQ(stream.Position(), 8);
    stream.Seek(std::numeric_limits<Int64>::max(), soBeginning);
    EXPECT_THROW(stream.Seek(1, soCurrent), EStreamError);
    EXPECT_THROW(stream.Write("x", 1), EStreamError);
    EXPECT_EQ(stream.Size(), 10);
}

TEST(MemoryStream, SetSizeTruncatesAndClampsThePosition) {
    TMemoryStream stream;
    stream.WriteBuffer("0123456789", 10);
    stream.SetSize(4);
    EXPECT_EQ(stream.Size(), 4);
    EXPECT_EQ(stream.Position(), 4);
    stream.SetSize(6);
    EXPECT_EQ(stream.Memory()[5], 0);
    EXPECT_THROW(stream.SetSize(-1), EStreamError);
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, CopyFromWithCountZeroCopiesTheWholeSource) {
    TMemoryStream source, target;
    source.WriteBuffer("whole source", 12);
    target.WriteBuffer(">", 1);
    EXPECT_EQ(target.CopyFrom(source, 0), 12);
    EXPECT_EQ(AnsiString(reinterpret_cast<const char*>(target.Memory()), 13), ">whole source");
}

TEST(MemoryStream, CopyFromWithACountStartsAtTheSourcePosition) {
    TMemoryStream source, target;
    source.WriteBuffer("0123456789", 10);
    source.SetPosition(2);
    EXPECT_EQ(target.CopyFrom(source, 5), 5);
    EXPECT_EQ(source.Position(), 7);
    EXPECT_EQ(AnsiString(reinterpret_cast<const char*>(target.Memory()), 5), "23456");
}

TEST(MemoryStream, CopyFromAShortSourceRaises) {
    TMemoryStream source, target;
    source.WriteBuffer("abc", 3);
    source.SetPosition(1);
    EXPECT_THROW(target.CopyFrom(source, 3), EReadError);
    EXPECT_THROW(target.CopyFrom(source, -1), EReadError);
}

TEST(MemoryStream, CopyFromSpansSeveralBlocks) {
    TMemoryStream source, target;
    AnsiString data;
    for (int i = 0; i < 200000; ++i)
        data += static_cast<char>(i * 7);
    source.WriteBuffer(data.data(), static_cast<Integer>(data.size()));
    EXPECT_EQ(target.CopyFrom(source, 0), 200000);
    EXPECT_EQ(AnsiString(reinterpret_cast<const char*>(target.Memory()), 200000), data);
}

TEST(MemoryStream, LoadFromStreamReadsTheWholeSource) {
    TStringStream source("content");
    source.SetPosition(4);
    TMemoryStream stream;
    stream.LoadFromStream(source);
    ASSERT_EQ(stream.Size(), 7);
    EXPECT_EQ(AnsiString(reinterpret_cast<const char*>(stream.Memory()), 7), "content");

    TStringStream target;
    stream.SaveToStream(target);
    EXPECT_EQ(target.DataString(), "content");
}

TEST(MemoryStream, FailedLoadKeepsTheOldContent) {
    TMemoryStream stream;
    stream.WriteBuffer("old", 3);
    TLyingStream liar;
    liar.WriteBuffer("new", 3);
    EXPECT_THROW(stream.LoadFromStream(liar), EReadError);
    ASSERT_EQ(stream.Size(), 3);
    EXPECT_EQ(AnsiString(reinterpret_cast<const char*>(stream.Memory()), 3), "old");
}

// ---------------------------------------------------------------------------
// TStringStream

TEST(StringStream, ReadStringAdvancesAndStopsAtTheEnd) {
    TStringStream stream("hello world");
    EXPECT_EQ(stream.ReadString(5), "hello");
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_EQ(stream.ReadString(100), " world");
    EXPECT_EQ(stream.ReadString(1), "");
}

TEST(StringStream, WriteOverwritesAndExtends) {
    TStringStream stream("abcdef");
    stream.SetPosition(2);
    stream.WriteString("XY");
    EXPECT_EQ(stream.DataString(), "abXYef");
    stream.SetPosition(5);
    stream.WriteString("123");
    EXPECT_EQ(stream.DataString(), "abXYe123");
    EXPECT_EQ(stream.Position(), 8);
    stream.WriteString(kBinary);
    EXPECT_EQ(stream.DataString(), "abXYe123" + kBinary);
}

TEST(StringStream, SeekStaysWithinTheString) {
    TStringStream stream("abc");
    EXPECT_EQ(stream.Seek(10, soBeginning), 3);
    EXPECT_EQ(stream.Seek(-10, soCurrent), 0);
    EXPECT_EQ(stream.Seek(-1, soEnd), 2);
}

TEST(StringStream, SetSizeTruncatesOrExtendsWithZeros) {
    TStringStream stream("abcdef");
    stream.Seek(0, soEnd);
    stream.SetSize(3);
    EXPECT_EQ(stream.DataString(), "abc");
    EXPECT_EQ(stream.Position(), 3);
    stream.SetSize(5);
    EXPECT_EQ(stream.DataString(), AnsiString("abc\0\0", 5));
}

// ---------------------------------------------------------------------------
// THandleStream and TFileStream

TEST_F(StreamFilesTest, FileStreamWritesAndReadsBack) {
    AnsiString name = PathOf("data.bin");
    {
        TFileStream file(name, fmCreate);
        file.WriteBuffer(kBinary.data(), static_cast<Integer>(kBinary.size()));
        EXPECT_EQ(file.FileName(), name);
    }
    EXPECT_EQ(ReadFile(name), kBinary);
    TFileStream file(name, fmOpenRead | fmShareDenyWrite);
    file.SetPosition(2);
    EXPECT_EQ(file.Size(), 6);
    EXPECT_EQ(file.Position(), 2);
    char buffer[4];
    file.ReadBuffer(buffer, 4);
    EXPECT_EQ(AnsiString(buffer, 4), kBinary.substr(2));
    EXPECT_THROW(file.ReadBuffer(buffer, 1), EReadError);
}

TEST_F(StreamFilesTest, OpenModesTruncateOnlyOnCreate) {
    AnsiString name = PathOf("modes.txt");
    WriteFile(name, "0123456789");
    {
        TFileStream file(name, fmOpenWrite | fmShareExclusive);
        file.WriteBuffer("ab", 2);
    }
    EXPECT_EQ(ReadFile(name), "ab23456789");
    {
        TFileStream file(name, fmOpenReadWrite);
        file.Seek(-1, soEnd);
        file.WriteBuffer("Z!", 2);
    }
    EXPECT_EQ(ReadFile(name), "ab2345678Z!");
    { TFileStream file(name, fmCreate); }
    EXPECT_EQ(ReadFile(name), "");
}

TEST_F(StreamFilesTest, CreatedFilesFollowTheUmaskAndCloseOnExec) {
    UmaskScope mask(027);
    TFileStream file(PathOf("new.txt"), fmCreate);
    EXPECT_EQ(ModeOf(PathOf("new.txt")), 0640u);
    EXPECT_TRUE(fcntl(file.Handle(), F_GETFD) & FD_CLOEXEC);
}

TEST_F(StreamFilesTest, OpenErrorsNameTheFileAndTheReason) {
    AnsiString missing = PathOf("missing.txt");
    try {
        TFileStream file(missing, fmOpenRead);
        FAIL() << "opening a missing file must raise";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
    }
    AnsiString inMissingDir = PathOf("no/dir.txt");
    try {
        TFileStream file(inMissingDir, fmCreate);
        FAIL() << "creating in a missing directory must raise";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot create file \"" + inMissingDir + "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(Dir, fmOpenRead), EFOpenError);
    WriteFile(PathOf("file"), "x");
    EXPECT_THROW(TFileStream(PathOf("file"), fmOpenRead | 3), EFOpenError);
}

TEST_F(StreamFilesTest, WriteBufferOnAReadOnlyFileRaises) {
    WriteFile(PathOf("ro.txt"), "abc");
    TFileStream file(PathOf("ro.txt"), fmOpenRead);
    EXPECT_EQ(file.Write("x", 1), 0);
    try {
        file.WriteBuffer("x", 1);
        FAIL() << "a failed write must raise";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
    EXPECT_THROW(file.SetSize(1), EStreamError);
    EXPECT_EQ(ReadFile(PathOf("ro.txt")), "abc");
}

TEST_F(StreamFilesTest, HandleStreamSetSizeMovesTheEnd) {
    TFileStream file(PathOf("sized.bin"), fmCreate);
    file.WriteBuffer("abcdef", 6);
    file.SetSize(3);
    EXPECT_EQ(file.Size(), 3);
    EXPECT_EQ(file.Position(), 3);
    file.SetSize(5);
    EXPECT_EQ(ReadFile(PathOf("sized.bin")), AnsiString("abc\0\0", 5));
    EXPECT_THROW(file.Seek(-1, soBeginning), EStreamError);
}

TEST_F(StreamFilesTest, HandleStreamLeavesItsHandleOpen) {
    int handle = open(PathOf("h.txt").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(handle, 0);
    {
        THandleStream stream(handle);
        stream.WriteBuffer("hi", 2);
    }
    EXPECT_EQ(lseek(handle, 0, SEEK_SET), 0);
    char buffer[2];
    EXPECT_EQ(read(handle, buffer, 2), 2);
    close(handle);
}

TEST_F(StreamFilesTest, MemoryStreamFileRoundTrip) {
    TMemoryStream stream;
    stream.WriteBuffer(kBinary.data(), static_cast<Integer>(kBinary.size()));
    stream.SaveToFile(PathOf("mem.bin"));
    EXPECT_EQ(ReadFile(PathOf("mem.bin")), kBinary);
    TMemoryStream loaded;
    loaded.LoadFromFile(PathOf("mem.bin"));
    ASSERT_EQ(loaded.Size(), 6);
    EXPECT_EQ(AnsiString(reinterpret_cast<const char*>(loaded.Memory()), 6), kBinary);
    EXPECT_THROW(loaded.LoadFromFile(PathOf("missing")), EFOpenError);
    EXPECT_EQ(loaded.Size(), 6);
}

// ---------------------------------------------------------------------------
// ReplaceFileAtomically

void WriteText(TStream& Stream, const AnsiString& Text) {
    Stream.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

TEST_F(StreamFilesTest, ReplaceCreatesANewFileWithTheUmaskMode) {
    UmaskScope mask(022);
    AnsiString name = PathOf("new.cfg");
    ReplaceFileAtomically(name, [](TStream& Stream) { WriteText(Stream, "fresh"); });
    EXPECT_EQ(ReadFile(name), "fresh");
    EXPECT_EQ(ModeOf(name), 0644u);
    EXPECT_EQ(Entries(Dir), std::vector<AnsiString>{"new.cfg"});
}

TEST_F(StreamFilesTest, ReplaceKeepsTheTargetsPermissions) {
    AnsiString name = PathOf("keep.cfg");
    WriteFile(name, "old content that is longer");
    chmod(name.c_str(), 0604);
    ReplaceFileAtomically(name, [](TStream& Stream) { WriteText(Stream, "new"); });
    EXPECT_EQ(ReadFile(name), "new");
    EXPECT_EQ(ModeOf(name), 0604u);
}

TEST_F(StreamFilesTest, ReplaceWritesTheFileBehindASymlink) {
    AnsiString real = PathOf("real.cfg");
    WriteFile(real, "old");
    fs::create_symlink(real, PathOf("link.cfg"));
    ReplaceFileAtomically(PathOf("link.cfg"), [](TStream& Stream) { WriteText(Stream, "new"); });
    EXPECT_TRUE(fs::is_symlink(PathOf("link.cfg")));
    EXPECT_EQ(ReadFile(real), "new");
}

TEST_F(StreamFilesTest, ReplaceInTheCurrentDirectory) {
    fs::path previous = fs::current_path();
    fs::current_path(Dir);
    ReplaceFileAtomically("here.txt", [](TStream& Stream) { WriteText(Stream, "here"); });
    fs::current_path(previous);
    EXPECT_EQ(ReadFile(PathOf("here.txt")), "here");
    EXPECT_EQ(Entries(Dir).size(), 1u);
}

TEST_F(StreamFilesTest, FailingWriterLeavesTheOldFileAndNoTemporary) {
    AnsiString name = PathOf("settings.ini");
    WriteFile(name, kBinary);
    struct WriterFailure {};
    EXPECT_THROW(ReplaceFileAtomically(name,
                                       [](TStream& Stream) {
                                           WriteText(Stream, "half of the new con");
                                           throw WriterFailure();
                                       }),
                 WriterFailure);
    EXPECT_EQ(ReadFile(name), kBinary);
    EXPECT_EQ(Entries(Dir), std::vector<AnsiString>{"settings.ini"});
}

TEST_F(StreamFilesTest, UnwritableDirectoryRaisesCreateError) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only directories";
    AnsiString name = PathOf("locked.cfg");
    WriteFile(name, "old");
    chmod(Dir.c_str(), 0500);
    try {
        ReplaceFileAtomically(name, [](TStream& Stream) { WriteText(Stream, "new"); });
        FAIL() << "a read-only directory must refuse the temporary file";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + name + "\". Permission denied");
    }
    chmod(Dir.c_str(), 0700);
    EXPECT_EQ(ReadFile(name), "old");
    EXPECT_EQ(Entries(Dir), std::vector<AnsiString>{"locked.cfg"});
}

TEST_F(StreamFilesTest, MissingOrFileParentRaisesCreateError) {
    auto writeNew = [](TStream& Stream) { WriteText(Stream, "new"); };
    AnsiString missing = PathOf("no/such/dir/x.cfg");
    try {
        ReplaceFileAtomically(missing, writeNew);
        FAIL() << "a missing directory must raise";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(missing), AnsiString::npos);
    }
    WriteFile(PathOf("plain"), "old");
    EXPECT_THROW(ReplaceFileAtomically(PathOf("plain/x.cfg"), writeNew), EFCreateError);
    EXPECT_THROW(ReplaceFileAtomically(PathOf("dir/"), writeNew), EFCreateError);
    EXPECT_EQ(ReadFile(PathOf("plain")), "old");
    EXPECT_EQ(Entries(Dir), std::vector<AnsiString>{"plain"});
}

TEST_F(StreamFilesTest, DirectoryTargetRaisesWriteErrorAndCleansUp) {
    fs::create_directory(PathOf("target"));
    WriteFile(PathOf("target/inside"), "kept");
    try {
        ReplaceFileAtomically(PathOf("target"), [](TStream& Stream) { WriteText(Stream, "x"); });
        FAIL() << "a directory cannot be replaced by a file";
    } catch (const EWriteError& e) {
        EXPECT_NE(e.Message().find(PathOf("target")), AnsiString::npos);
    }
    EXPECT_EQ(ReadFile(PathOf("target/inside")), "kept");
    EXPECT_EQ(Entries(Dir), std::vector<AnsiString>{"target"});
}

TEST_F(StreamFilesTest, LongNamesStillGetATemporaryFile) {
    AnsiString name = PathOf(AnsiString(250, 'n'));
    ReplaceFileAtomically(name, [](TStream& Stream) { WriteText(Stream, "long"); });
    EXPECT_EQ(ReadFile(name), "long");
    EXPECT_EQ(Entries(Dir).size(), 1u);
}

} // namespace
