// The value level of component streaming: the tagged values of the binary
// component format and the filer classes that read and write them.
#pragma once

#include "rtl/Streams.h"

#include <vector>

// The tag byte in front of every value of a component stream.
enum TValueType : Byte {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64
};

// Flags of an object record: bit n of the prefix byte stands for ordinal n.
enum class TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;
inline constexpr TFilerFlag ffInherited = TFilerFlag::ffInherited;
inline constexpr TFilerFlag ffChildPos = TFilerFlag::ffChildPos;
inline constexpr TFilerFlag ffInline = TFilerFlag::ffInline;

// Pascal's Currency: a fixed-point number with four decimals, held as the
// value times 10000 so that it travels through streams and text exactly.
struct Currency {
    Int64 Scaled = 0;

    friend bool operator==(const Currency&, const Currency&) = default;
};

// The four bytes that open a component stream.
inline constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};

// Base of the reader and the writer: the stream they work on.
class TFiler : public TObject {
    ZX_CLASS(TFiler, TObject)
public:
    explicit TFiler(TStream& Stream) : FStream(Stream) {}
    TStream& Stream() const { return FStream; }

protected:
    TStream& FStream;
};

// Writes values in the binary component format, little-endian.
class TWriter : public TFiler {
    ZX_CLASS(TWriter, TFiler)
public:
    explicit TWriter(TStream& Stream) : TFiler(Stream) {}

    void Write(const void* Buffer, Integer Count);
    void WriteValue(TValueType Value);
    void WriteSignature();
    // One byte 0xF0 | Flags when Flags are not empty, then with ffChildPos
    // the child position as an integer value.
    void WritePrefix(TFilerFlags Flags, Integer AChildPos);
    // A class, object or property name: length byte and bytes, no tag;
    // EWriteError for names longer than 255 bytes.
    void WriteStr(const AnsiString& Value);

    void WriteListBegin();
    void WriteListEnd();
    // The smallest of vaInt8, vaInt16 and vaInt32 that holds the value; the
    // Int64 overload uses vaInt64 only for values beyond 32 bits.
    void WriteInteger(Integer Value);
    void WriteInteger(Int64 Value);
    void WriteBoolean(bool Value);
    void WriteChar(char Value);
    void WriteWideChar(WideChar Value);
    void WriteFloat(Extended Value);
    void WriteSingle(float Value);
    void WriteCurrency(Currency Value);
    void WriteDate(TDateTime Value);
    // vaString up to 255 bytes, vaLString beyond.
    void WriteString(const AnsiString& Value);
    void WriteWideString(const WideString& Value);
    // "False", "True", "nil" and "Null" (any case) become their own tags.
    void WriteIdent(const AnsiString& Ident);
    void WriteSet(const std::vector<AnsiString>& Names);
    void WriteBinary(const void* Data, Integer Count);

private:
    void WriteByte(Byte Value);
    void WriteLittleEndian(std::uint64_t Value, Integer Size);
    void WriteLength32(std::size_t Length);
};

// Reads values of the binary component format. The stream is untrusted:
// every length is checked against the bytes that remain before anything is
// allocated, and any malformed value raises EReadError with "Stream read
// error" (truncation), "Invalid stream format" (bad structure or unknown
// tag) or "Invalid property value" (a value of the wrong kind).
class TReader : public TFiler {
    ZX_CLASS(TReader, TFiler)
public:
    // Deepest nesting of objects, lists and collections a stream may use, so
    // that a hostile stream cannot exhaust the stack.
    static constexpr Integer MaxNesting = 256;

    // Counts one level of nesting for its lifetime; raises "Invalid stream
    // format" beyond MaxNesting.
    class TNesting {
    public:
        explicit TNesting(TReader& Reader);
        ~TNesting() { --FReader.FNesting; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TReader& FReader;
    };

    explicit TReader(TStream& Stream) : TFiler(Stream) {}

    void Read(void* Buffer, Integer Count);
    TValueType ReadValue();
    // The next tag, left in the stream.
    TValueType NextValue();
    // Whether the next byte is the vaNull that ends a list; it stays in the
    // stream. Names may follow, so the byte is not checked as a tag.
    bool EndOfList();
    void CheckValue(TValueType Value);
    void ReadSignature();
    // Flags of the prefix byte if there is one (empty otherwise), and the
    // child position when ffChildPos is among them (0 otherwise).
    void ReadPrefix(TFilerFlags& Flags, Integer& AChildPos);
    AnsiString ReadStr();

    void ReadListBegin();
    void ReadListEnd();
    Integer ReadInteger();
    Int64 ReadInt64();
    bool ReadBoolean();
    char ReadChar();
    WideChar ReadWideChar();
    // The float readers also take integer values.
    Extended ReadFloat();
    float ReadSingle();
    Currency ReadCurrency();
    TDateTime ReadDate();
    // 8-bit and wide strings are both accepted, converted as needed.
    AnsiString ReadString();
    WideString ReadWideString();
    // vaIdent, or "False", "True", "nil", "Null" for their tags.
    AnsiString ReadIdent();
    std::vector<AnsiString> ReadSet();
    std::vector<Byte> ReadBinary();
    // Skips one value of any kind, nested values included.
    void SkipValue();

private:
    Byte ReadByte();
    Byte PeekByte();
    std::uint64_t ReadLittleEndian(Integer Size);
    void CheckRemaining(Int64 Count);
    void SkipBytes(Int64 Count);
    Cardinal ReadLength32();
    Int64 ReadIntegerPayload(TValueType Value);
    Extended ReadExtendedPayload();
    AnsiString ReadBytes(Int64 Count);
    WideString ReadWideStringPayload();
    void SkipCollection();

    Integer FNesting = 0;
};
