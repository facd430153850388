#include "rtl/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr Integer kCopyBlockSize = 64 * 1024;
constexpr Int64 kMaxTransfer = std::numeric_limits<Integer>::max();

[[noreturn]] void InvalidPosition() {
    throw EStreamError("Invalid stream position");
}

// Position reached by moving Offset from Origin, given the current position
// and size; a negative or overflowing result is an error.
Int64 SeekTarget(Int64 Offset, TSeekOrigin Origin, Int64 Current, Int64 Size) {
    Int64 base = Origin == soBeginning ? 0 : Origin == soCurrent ? Current : Size;
    Int64 target;
    if (__builtin_add_overflow(base, Offset, &target) || target < 0)
        InvalidPosition();
    return target;
}

// Bytes of Data available at Position, limited to Count.
Integer AvailableAt(std::size_t DataSize, Int64 Position, Integer Count) {
    if (Count <= 0 || Position >= static_cast<Int64>(DataSize))
        return 0;
    return static_cast<Integer>(std::min<Int64>(Count, static_cast<Int64>(DataSize) - Position));
}

// Resizes a byte container, turning allocation failures into a stream error.
template <typename Container> void ResizeStorage(Container& Data, Int64 NewSize) {
    if (NewSize < 0)
        throw EStreamError("Invalid stream size");
    try {
        if (static_cast<std::uint64_t>(NewSize) > Data.max_size())
            throw std::length_error("stream size");
        Data.resize(static_cast<std::size_t>(NewSize));
    } catch (const std::bad_alloc&) {
        throw EStreamError("Out of memory while expanding memory stream");
    } catch (const std::length_error&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
}

// Writes Count bytes at Position, growing Data with zero bytes as needed.
template <typename Container>
Integer WriteAt(Container& Data, Int64& Position, const void* Buffer, Integer Count) {
    if (Count <= 0)
        return 0;
    Int64 end;
    if (__builtin_add_overflow(Position, Int64{Count}, &end))
        InvalidPosition();
    if (end > static_cast<Int64>(Data.size()))
        ResizeStorage(Data, end);
    std::memcpy(Data.data() + Position, Buffer, static_cast<std::size_t>(Count));
    Position = end;
    return Count;
}

template <typename Container>
Integer ReadAt(const Container& Data, Int64& Position, void* Buffer, Integer Count) {
    Integer available = AvailableAt(Data.size(), Position, Count);
    if (available > 0)
        std::memcpy(Buffer, Data.data() + Position, static_cast<std::size_t>(available));
    Position += available;
    return available;
}

[[noreturn]] void RaiseFileError(bool Creating, const AnsiString& FileName, int ErrorCode) {
    AnsiString reason = SysErrorMessage(ErrorCode);
    if (Creating)
        throw EFCreateError(Format("Cannot create file \"%s\". %s", {FileName, reason}));
    throw EFOpenError(Format("Cannot open file \"%s\". %s", {FileName, reason}));
}

int OpenFlags(Word Mode) {
    if (Mode == fmCreate)
        return O_RDWR | O_CREAT | O_TRUNC;
    switch (Mode & 3) {
    case fmOpenRead:
        return O_RDONLY;
    case fmOpenWrite:
        return O_WRONLY;
    case fmOpenReadWrite:
        return O_RDWR;
    default:
        return -1;
    }
}

// Opens FileName for a TFileStream. A directory is refused: it opens for
// reading but yields no data.
int OpenFile(const AnsiString& FileName, Word Mode) {
    bool creating = Mode == fmCreate;
    int flags = OpenFlags(Mode);
    if (flags < 0)
        RaiseFileError(creating, FileName, EINVAL);
    int handle = open(FileName.c_str(), flags | O_CLOEXEC, 0666);
    if (handle < 0)
        RaiseFileError(creating, FileName, errno);
    struct stat info;
    if (fstat(handle, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(handle);
        RaiseFileError(creating, FileName, EISDIR);
    }
    return handle;
}

// Writes all of Size bytes through WriteBuffer, whose count is an Integer.
void WriteAll(TStream& Stream, const void* Data, std::size_t Size) {
    auto bytes = static_cast<const Byte*>(Data);
    for (std::size_t done = 0; done < Size;) {
        auto length = static_cast<Integer>(std::min<std::size_t>(Size - done, kMaxTransfer));
        Stream.WriteBuffer(bytes + done, length);
        done += static_cast<std::size_t>(length);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void* Buffer, Integer Count) {
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError("Stream write error");
}

Int64 TStream::Size() {
    Int64 position = Seek(0, soCurrent);
    Int64 size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(Int64) {}

Int64 TStream::CopyFrom(TStream& Source, Int64 Count) {
    if (Count < 0)
        throw EReadError("Stream read error");
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    std::vector<Byte> block(static_cast<std::size_t>(std::min<Int64>(Count, kCopyBlockSize)));
    for (Int64 remaining = Count; remaining > 0;) {
        auto length = static_cast<Integer>(std::min<Int64>(remaining, kCopyBlockSize));
        Source.ReadBuffer(block.data(), length);
        WriteBuffer(block.data(), length);
        remaining -= length;
    }
    return Count;
}

// ---------------------------------------------------------------------------
// TMemoryStream

Integer TMemoryStream::Read(void* Buffer, Integer Count) {
    return ReadAt(FData, FPosition, Buffer, Count);
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
    return WriteAt(FData, FPosition, Buffer, Count);
}

Int64 TMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    FPosition = SeekTarget(Offset, Origin, FPosition, Size());
    return FPosition;
}

void TMemoryStream::SetSize(Int64 NewSize) {
    ResizeStorage(FData, NewSize);
    FPosition = std::min(FPosition, NewSize);
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

// Reads into fresh memory first, so a failed load keeps the old contents.
void TMemoryStream::LoadFromStream(TStream& Stream) {
    Stream.SetPosition(0);
    Int64 count = Stream.Size();
    std::vector<Byte> loaded;
    ResizeStorage(loaded, count);
    for (Int64 done = 0; done < count;) {
        auto length = static_cast<Integer>(std::min(count - done, kMaxTransfer));
        Stream.ReadBuffer(loaded.data() + done, length);
        done += length;
    }
    FData = std::move(loaded);
    FPosition = std::min(FPosition, count);
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& Stream) const {
    WriteAll(Stream, FData.data(), FData.size());
}

void TMemoryStream::SaveToFile(const AnsiString& FileName) const {
    ReplaceFileAtomically(FileName, [this](TStream& Stream) { SaveToStream(Stream); });
}

// ---------------------------------------------------------------------------
// THandleStream: Read and Write carry on after interruptions and short
// transfers, so fewer bytes than asked mean end of file or an error (left in
// errno).

Integer THandleStream::Read(void* Buffer, Integer Count) {
    Integer done = 0;
    while (done < Count) {
        ssize_t got = read(FHandle, static_cast<Byte*>(Buffer) + done,
                           static_cast<std::size_t>(Count - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<Integer>(got);
    }
    return done;
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
    Integer done = 0;
    while (done < Count) {
        ssize_t put = write(FHandle, static_cast<const Byte*>(Buffer) + done,
                            static_cast<std::size_t>(Count - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        done += static_cast<Integer>(put);
    }
    return done;
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    off_t position = lseek(FHandle, static_cast<off_t>(Offset), whence);
    if (position < 0) {
        if (errno == EINVAL)
            InvalidPosition();
        throw EStreamError(Format("Cannot seek in stream. %s", {SysErrorMessage(errno)}));
    }
    return position;
}

// Like the platform's, leaves the position at the new end.
void THandleStream::SetSize(Int64 NewSize) {
    Seek(NewSize, soBeginning);
    if (ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
        throw EStreamError(Format("Cannot change the stream size. %s", {SysErrorMessage(errno)}));
}

// ---------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const AnsiString& FileName, Word Mode)
    : THandleStream(OpenFile(FileName, Mode)), FFileName(FileName) {}

TFileStream::~TFileStream() {
    close(FHandle);
}

// ---------------------------------------------------------------------------
// TStringStream: positions stay within the string, as on the platform.

Integer TStringStream::Read(void* Buffer, Integer Count) {
    return ReadAt(FDataString, FPosition, Buffer, Count);
}

Integer TStringStream::Write(const void* Buffer, Integer Count) {
    return WriteAt(FDataString, FPosition, Buffer, Count);
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    Int64 base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : Size();
    Int64 target;
    if (__builtin_add_overflow(base, Offset, &target))
        target = Offset < 0 ? 0 : Size();
    FPosition = std::clamp<Int64>(target, 0, Size());
    return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
    ResizeStorage(FDataString, NewSize);
    FPosition = std::min(FPosition, NewSize);
}

AnsiString TStringStream::ReadString(Integer Count) {
    Integer available = AvailableAt(FDataString.size(), FPosition, Count);
    AnsiString result = FDataString.substr(static_cast<std::size_t>(FPosition),
                                           static_cast<std::size_t>(available));
    FPosition += available;
    return result;
}

void TStringStream::WriteString(const AnsiString& AString) {
    WriteAll(*this, AString.data(), AString.size());
}

// ---------------------------------------------------------------------------
// ReplaceFileAtomically

namespace {

[[noreturn]] void RaiseWriteError(const AnsiString& FileName, int ErrorCode) {
    throw EWriteError(
        Format("Cannot write file \"%s\". %s", {FileName, SysErrorMessage(ErrorCode)}));
}

// The file a replacement writes: a symbolic link is followed, so the link
// survives and the file it points to gets the new content.
AnsiString ReplacementTarget(const AnsiString& FileName) {
    struct stat info;
    if (lstat(FileName.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return FileName;
    char* resolved = realpath(FileName.c_str(), nullptr);
    if (!resolved)
        return FileName;
    AnsiString target(resolved);
    free(resolved);
    return target;
}

// The process's file mode creation mask, read without changing it when the
// kernel reports it.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("Umask:"))
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// An existing target keeps its permissions; a new file gets those of any
// newly created file.
mode_t ReplacementMode(const AnsiString& Target) {
    struct stat info;
    if (stat(Target.c_str(), &info) == 0)
        return info.st_mode & 0777;
    return 0666 & ~CurrentUmask();
}

// mkstemp's pattern beside Target: "<dir>/.<name>.XXXXXX", the name cut so the
// pattern stays a valid file name.
AnsiString TemporaryPattern(const AnsiString& Target) {
    constexpr std::size_t kMaxNameLength = 255 - std::char_traits<char>::length("..XXXXXX");
    AnsiString name = ExtractFileName(Target).substr(0, kMaxNameLength);
    return ExtractFilePath(Target) + "." + name + ".XXXXXX";
}

// Makes the rename itself durable; a failure here cannot be undone and the
// new file is already in place, so it is not reported.
void SyncDirectoryOf(const AnsiString& Target) {
    AnsiString directory = ExtractFileDir(Target);
    int handle =
        open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    fsync(handle);
    close(handle);
}

// The temporary file of one replacement. It is removed on destruction unless
// it has replaced the target, so no failure leaves it behind.
class TTemporaryFile {
public:
    TTemporaryFile(const AnsiString& Target, const AnsiString& FileName)
        : FFileName(FileName), FTarget(Target), FName(TemporaryPattern(Target)) {
        FHandle = mkostemp(FName.data(), O_CLOEXEC);
        if (FHandle < 0)
            RaiseFileError(true, FFileName, errno);
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile() {
        if (FHandle >= 0)
            close(FHandle);
        if (!FRenamed)
            unlink(FName.c_str());
    }

    int Handle() const { return FHandle; }

    void SetMode(mode_t Mode) {
        if (fchmod(FHandle, Mode) != 0)
            RaiseWriteError(FFileName, errno);
    }

    // Puts the data on disk, then the file in the target's place.
    void ReplaceTarget() {
        if (fsync(FHandle) != 0)
            RaiseWriteError(FFileName, errno);
        int handle = FHandle;
        FHandle = -1;
        if (close(handle) != 0)
            RaiseWriteError(FFileName, errno);
        if (rename(FName.c_str(), FTarget.c_str()) != 0)
            RaiseWriteError(FFileName, errno);
        FRenamed = true;
    }

private:
    AnsiString FFileName;
    AnsiString FTarget;
    AnsiString FName;
    int FHandle = -1;
    bool FRenamed = false;
};

// A write error on the temporary file names the target and the reason,
// rather than the bare "Stream write error".
class TReplacementStream : public THandleStream {
public:
    TReplacementStream(int AHandle, const AnsiString& FileName)
        : THandleStream(AHandle), FFileName(FileName) {}

    Integer Write(const void* Buffer, Integer Count) override {
        errno = 0;
        Integer written = THandleStream::Write(Buffer, Count);
        if (written < Count)
            RaiseWriteError(FFileName, errno != 0 ? errno : EIO);
        return written;
    }

private:
    const AnsiString& FFileName;
};

} // namespace

void ReplaceFileAtomically(const AnsiString& FileName,
                           const std::function<void(TStream& Stream)>& WriteContent) {
    if (ExtractFileName(FileName).empty())
        RaiseFileError(true, FileName, EISDIR);
    AnsiString target = ReplacementTarget(FileName);
    TTemporaryFile temporary(target, FileName);
    temporary.SetMode(ReplacementMode(target));
    TReplacementStream stream(temporary.Handle(), FileName);
    WriteContent(stream);
    temporary.ReplaceTarget();
    SyncDirectoryOf(target);
}
