// Streams of bytes: memory, file and string streams, and atomic file
// replacement.
#pragma once

#include "rtl/SysUtils.h"

#include <vector>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    ZX_CLASS(TStream, TObject)
public:
    // Read and Write transfer at most Count bytes and return how many moved.
    virtual Integer Read(void* Buffer, Integer Count) = 0;
    virtual Integer Write(const void* Buffer, Integer Count) = 0;
    virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

    // Exactly Count bytes, or EReadError "Stream read error" /
    // EWriteError "Stream write error".
    void ReadBuffer(void* Buffer, Integer Count);
    void WriteBuffer(const void* Buffer, Integer Count);

    Int64 Position() { return Seek(0, soCurrent); }
    void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
    virtual Int64 Size();
    virtual void SetSize(Int64 NewSize);

    // Copies Count bytes from Source's position; Count 0 copies the whole
    // of Source from its start. Returns the number of bytes copied.
    Int64 CopyFrom(TStream& Source, Int64 Count);
};

// A stream over memory that it owns; it grows as it is written. The position
// may pass the end (a write there fills the gap with zero bytes); a negative
// position raises EStreamError "Invalid stream position".
class TMemoryStream : public TStream {
    ZX_CLASS(TMemoryStream, TStream)
public:
    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 Size() override { return static_cast<Int64>(FData.size()); }
    void SetSize(Int64 NewSize) override;

    void Clear();
    const Byte* Memory() const { return FData.data(); }
    Byte* Memory() { return FData.data(); }
    void LoadFromStream(TStream& Stream);
    void LoadFromFile(const AnsiString& FileName);
    void SaveToStream(TStream& Stream) const;
    // Replaces the file atomically.
    void SaveToFile(const AnsiString& FileName) const;

private:
    std::vector<Byte> FData;
    Int64 FPosition = 0;
};

// A stream over an open file descriptor, which it does not close.
class THandleStream : public TStream {
    ZX_CLASS(THandleStream, TStream)
public:
    explicit THandleStream(int AHandle) : FHandle(AHandle) {}
    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    void SetSize(Int64 NewSize) override;
    int Handle() const { return FHandle; }

protected:
    int FHandle;
};

// Open modes: one access mode, optionally or-ed with a share mode (share
// modes are accepted for compatibility; Linux does not enforce them).
inline constexpr Word fmCreate = 0xFFFF;
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyNone = 0x0040;

// A file stream. fmCreate creates or truncates the file; a failure raises
// EFCreateError "Cannot create file "name". reason" or EFOpenError
// "Cannot open file "name". reason".
class TFileStream : public THandleStream {
    ZX_CLASS(TFileStream, THandleStream)
public:
    TFileStream(const AnsiString& FileName, Word Mode);
    ~TFileStream() override;
    const AnsiString& FileName() const { return FFileName; }

private:
    AnsiString FFileName;
};

// A stream over a string that it holds; its text is DataString. Seek keeps
// the position within the string.
class TStringStream : public TStream {
    ZX_CLASS(TStringStream, TStream)
public:
    explicit TStringStream(AnsiString AString = AnsiString()) : FDataString(std::move(AString)) {}
    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 Size() override { return static_cast<Int64>(FDataString.size()); }
    void SetSize(Int64 NewSize) override;

    const AnsiString& DataString() const { return FDataString; }
    AnsiString ReadString(Integer Count);
    void WriteString(const AnsiString& AString);

private:
    AnsiString FDataString;
    Int64 FPosition = 0;
};

// Writes a file through a temporary file beside it that replaces the target
// by a rename only once WriteContent has finished and the data is on disk,
// so an interrupted or failed write leaves the previous file as it was. The
// target keeps its permissions. Failure raises EFCreateError or EWriteError;
// exceptions of WriteContent pass through.
void ReplaceFileAtomically(const AnsiString& FileName,
                           const std::function<void(TStream& Stream)>& WriteContent);
