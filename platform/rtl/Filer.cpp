#include "rtl/Filer.h"

#include <bit>
#include <cstring>
#include <limits>

// vaExtended carries the x87 80-bit format, which is long double's own here.
static_assert(std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10,
              "vaExtended needs long double in the x87 extended format");

namespace {

constexpr Byte PrefixMark = 0xF0;
constexpr Integer ExtendedSize = 10;
constexpr std::size_t MaxStrLength = 255;
constexpr std::size_t MaxLength32 = std::numeric_limits<Integer>::max();

[[noreturn]] void ReadError(const char* Message) {
    throw EReadError(Message);
}

[[noreturn]] void InvalidPropertyValue() {
    ReadError("Invalid property value");
}

bool IsIntegerTag(TValueType Value) {
    return Value == vaInt8 || Value == vaInt16 || Value == vaInt32 || Value == vaInt64;
}

// A valid x87 encoding: zero or denormal without the explicit integer bit,
// everything else with it. Unnormals and pseudo-denormals are not values.
bool IsValidExtendedEncoding(const Byte* Bytes) {
    const unsigned exponent = (static_cast<unsigned>(Bytes[9] & 0x7F) << 8) | Bytes[8];
    const bool integerBit = (Bytes[7] & 0x80) != 0;
    return exponent == 0 ? !integerBit : integerBit;
}

} // namespace

// ---------------------------------------------------------------------------
// TWriter

void TWriter::Write(const void* Buffer, Integer Count) {
    FStream.WriteBuffer(Buffer, Count);
}

void TWriter::WriteByte(Byte Value) {
    Write(&Value, 1);
}

void TWriter::WriteLittleEndian(std::uint64_t Value, Integer Size) {
    Byte bytes[8];
    for (Integer i = 0; i < Size; ++i)
        bytes[i] = static_cast<Byte>(Value >> (8 * i));
    Write(bytes, Size);
}

void TWriter::WriteLength32(std::size_t Length) {
    if (Length > MaxLength32)
        throw EWriteError("Value too large for a component stream");
    WriteLittleEndian(Length, 4);
}

void TWriter::WriteValue(TValueType Value) {
    WriteByte(Value);
}

void TWriter::WriteSignature() {
    Write(FilerSignature, sizeof(FilerSignature));
}

void TWriter::WritePrefix(TFilerFlags Flags, Integer AChildPos) {
    if (Flags.Empty())
        return;
    WriteByte(static_cast<Byte>(PrefixMark | Flags.ToOrdinal()));
    if (Flags.Contains(ffChildPos))
        WriteInteger(AChildPos);
}

void TWriter::WriteStr(const AnsiString& Value) {
    if (Value.size() > MaxStrLength)
        throw EWriteError("Name longer than 255 bytes: " + Value.substr(0, 32) + "...");
    WriteByte(static_cast<Byte>(Value.size()));
    Write(Value.data(), static_cast<Integer>(Value.size()));
}

void TWriter::WriteListBegin() {
    WriteValue(vaList);
}

void TWriter::WriteListEnd() {
    WriteValue(vaNull);
}

void TWriter::WriteInteger(Integer Value) {
    if (Value >= -128 && Value <= 127) {
        WriteValue(vaInt8);
        WriteLittleEndian(static_cast<std::uint64_t>(Value), 1);
    } else if (Value >= -32768 && Value <= 32767) {
        WriteValue(vaInt16);
        WriteLittleEndian(static_cast<std::uint64_t>(Value), 2);
    } else {
        WriteValue(vaInt32);
        WriteLittleEndian(static_cast<std::uint64_t>(Value), 4);
    }
}

void TWriter::WriteInteger(Int64 Value) {
    if (Value >= std::numeric_limits<Integer>::min() &&
        Value <= std::numeric_limits<Integer>::max()) {
        WriteInteger(static_cast<Integer>(Value));
        return;
    }
    WriteValue(vaInt64);
    WriteLittleEndian(static_cast<std::uint64_t>(Value), 8);
}

void TWriter::WriteBoolean(bool Value) {
    WriteValue(Value ? vaTrue : vaFalse);
}

void TWriter::WriteChar(char Value) {
    WriteString(AnsiString(1, Value));
}

void TWriter::WriteWideChar(WideChar Value) {
    WriteWideString(WideString(1, Value));
}

void TWriter::WriteFloat(Extended Value) {
    Byte bytes[sizeof(Extended)];
    std::memcpy(bytes, &Value, sizeof(Value));
    WriteValue(vaExtended);
    Write(bytes, ExtendedSize);
}

void TWriter::WriteSingle(float Value) {
    WriteValue(vaSingle);
    WriteLittleEndian(std::bit_cast<std::uint32_t>(Value), 4);
}

void TWriter::WriteCurrency(Currency Value) {
    WriteValue(vaCurrency);
    WriteLittleEndian(static_cast<std::uint64_t>(Value.Scaled), 8);
}

void TWriter::WriteDate(TDateTime Value) {
    WriteValue(vaDate);
    WriteLittleEndian(std::bit_cast<std::uint64_t>(Value), 8);
}

void TWriter::WriteString(const AnsiString& Value) {
    if (Value.size() <= MaxStrLength) {
        WriteValue(vaString);
        WriteByte(static_cast<Byte>(Value.size()));
    } else {
        WriteValue(vaLString);
        WriteLength32(Value.size());
    }
    Write(Value.data(), static_cast<Integer>(Value.size()));
}

void TWriter::WriteWideString(const WideString& Value) {
    if (Value.size() > MaxLength32 / 2)
        throw EWriteError("Value too large for a component stream");
    WriteValue(vaWString);
    WriteLength32(Value.size());
    std::vector<Byte> bytes;
    bytes.reserve(Value.size() * 2);
    for (WideChar unit : Value) {
        bytes.push_back(static_cast<Byte>(unit));
        bytes.push_back(static_cast<Byte>(unit >> 8));
    }
    Write(bytes.data(), static_cast<Integer>(bytes.size()));
}

void TWriter::WriteIdent(const AnsiString& Ident) {
    if (SameText(Ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(Ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(Ident, "nil"))
        WriteValue(vaNil);
    else if (SameText(Ident, "Null"))
        WriteValue(vaNull);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteSet(const std::vector<AnsiString>& Names) {
    WriteValue(vaSet);
    for (const AnsiString& name : Names) {
        // An empty name would end the set early.
        if (name.empty())
            throw EWriteError("Empty set element name");
        WriteStr(name);
    }
    WriteByte(0);
}

void TWriter::WriteBinary(const void* Data, Integer Count) {
    WriteValue(vaBinary);
    WriteLength32(static_cast<std::size_t>(Count));
    Write(Data, Count);
}

// ---------------------------------------------------------------------------
// TReader

TReader::TNesting::TNesting(TReader& Reader) : FReader(Reader) {
    if (FReader.FNesting >= MaxNesting)
        ReadError("Invalid stream format");
    ++FReader.FNesting;
}

void TReader::Read(void* Buffer, Integer Count) {
    FStream.ReadBuffer(Buffer, Count);
}

Byte TReader::ReadByte() {
    Byte value;
    Read(&value, 1);
    return value;
}

Byte TReader::PeekByte() {
    Byte value = ReadByte();
    FStream.Seek(-1, soCurrent);
    return value;
}

std::uint64_t TReader::ReadLittleEndian(Integer Size) {
    Byte bytes[8];
    Read(bytes, Size);
    std::uint64_t value = 0;
    for (Integer i = Size - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

void TReader::CheckRemaining(Int64 Count) {
    if (Count > FStream.Size() - FStream.Position())
        ReadError("Stream read error");
}

void TReader::SkipBytes(Int64 Count) {
    CheckRemaining(Count);
    FStream.Seek(Count, soCurrent);
}

Cardinal TReader::ReadLength32() {
    return static_cast<Cardinal>(ReadLittleEndian(4));
}

AnsiString TReader::ReadBytes(Int64 Count) {
    CheckRemaining(Count);
    AnsiString bytes(static_cast<std::size_t>(Count), '\0');
    Read(bytes.data(), static_cast<Integer>(Count));
    return bytes;
}

TValueType TReader::ReadValue() {
    Byte tag = ReadByte();
    if (tag > vaInt64)
        ReadError("Invalid stream format");
    return static_cast<TValueType>(tag);
}

TValueType TReader::NextValue() {
    TValueType value = ReadValue();
    FStream.Seek(-1, soCurrent);
    return value;
}

bool TReader::EndOfList() {
    return PeekByte() == vaNull;
}

void TReader::CheckValue(TValueType Value) {
    if (ReadValue() != Value)
        InvalidPropertyValue();
}

void TReader::ReadSignature() {
    char signature[sizeof(FilerSignature)];
    Read(signature, sizeof(signature));
    if (std::memcmp(signature, FilerSignature, sizeof(signature)) != 0)
        ReadError("Invalid stream format");
}

void TReader::ReadPrefix(TFilerFlags& Flags, Integer& AChildPos) {
    Flags = TFilerFlags();
    AChildPos = 0;
    Byte prefix = PeekByte();
    if ((prefix & PrefixMark) != PrefixMark)
        return;
    ReadByte();
    // Bits beyond the three known flags carry nothing and are dropped.
    Flags = TFilerFlags::FromOrdinal(prefix & 0x07);
    if (Flags.Contains(ffChildPos))
        AChildPos = ReadInteger();
}

AnsiString TReader::ReadStr() {
    return ReadBytes(ReadByte());
}

void TReader::ReadListBegin() {
    CheckValue(vaList);
}

void TReader::ReadListEnd() {
    CheckValue(vaNull);
}

Int64 TReader::ReadIntegerPayload(TValueType Value) {
    switch (Value) {
    case vaInt8:
        return static_cast<std::int8_t>(ReadLittleEndian(1));
    case vaInt16:
        return static_cast<std::int16_t>(ReadLittleEndian(2));
    case vaInt32:
        return static_cast<std::int32_t>(ReadLittleEndian(4));
    case vaInt64:
        return static_cast<Int64>(ReadLittleEndian(8));
    default:
        InvalidPropertyValue();
    }
}

Integer TReader::ReadInteger() {
    TValueType value = ReadValue();
    if (value == vaInt64)
        InvalidPropertyValue();
    return static_cast<Integer>(ReadIntegerPayload(value));
}

Int64 TReader::ReadInt64() {
    return ReadIntegerPayload(ReadValue());
}

bool TReader::ReadBoolean() {
    switch (ReadValue()) {
    case vaTrue:
        return true;
    case vaFalse:
        return false;
    default:
        InvalidPropertyValue();
    }
}

char TReader::ReadChar() {
    AnsiString value = ReadString();
    if (value.size() != 1)
        InvalidPropertyValue();
    return value[0];
}

WideChar TReader::ReadWideChar() {
    WideString value = ReadWideString();
    if (value.size() != 1)
        InvalidPropertyValue();
    return value[0];
}

Extended TReader::ReadExtendedPayload() {
    Byte bytes[sizeof(Extended)] = {};
    Read(bytes, ExtendedSize);
    if (!IsValidExtendedEncoding(bytes))
        InvalidPropertyValue();
    Extended value;
    std::memcpy(&value, bytes, sizeof(value));
    return value;
}

Extended TReader::ReadFloat() {
    TValueType value = ReadValue();
    if (value == vaExtended)
        return ReadExtendedPayload();
    return static_cast<Extended>(ReadIntegerPayload(value));
}

float TReader::ReadSingle() {
    TValueType value = ReadValue();
    if (value == vaSingle)
        return std::bit_cast<float>(static_cast<std::uint32_t>(ReadLittleEndian(4)));
    return static_cast<float>(ReadIntegerPayload(value));
}

Currency TReader::ReadCurrency() {
    TValueType value = ReadValue();
    if (value == vaCurrency)
        return Currency{static_cast<Int64>(ReadLittleEndian(8))};
    Int64 whole = ReadIntegerPayload(value);
    constexpr Int64 limit = std::numeric_limits<Int64>::max() / 10000;
    if (whole > limit || whole < -limit)
        InvalidPropertyValue();
    return Currency{whole * 10000};
}

TDateTime TReader::ReadDate() {
    TValueType value = ReadValue();
    if (value == vaDate)
        return std::bit_cast<double>(ReadLittleEndian(8));
    return static_cast<TDateTime>(ReadIntegerPayload(value));
}

WideString TReader::ReadWideStringPayload() {
    Cardinal count = ReadLength32();
    AnsiString bytes = ReadBytes(Int64(count) * 2);
    WideString value(count, u'\0');
    for (Cardinal i = 0; i < count; ++i)
        value[i] = static_cast<WideChar>(static_cast<Byte>(bytes[2 * i]) |
                                         static_cast<Byte>(bytes[2 * i + 1]) << 8);
    return value;
}

AnsiString TReader::ReadString() {
    switch (ReadValue()) {
    case vaString:
        return ReadStr();
    case vaLString:
        return ReadBytes(ReadLength32());
    case vaWString:
        return UTF8Encode(ReadWideStringPayload());
    default:
        InvalidPropertyValue();
    }
}

WideString TReader::ReadWideString() {
    switch (ReadValue()) {
    case vaString:
        return UTF8Decode(ReadStr());
    case vaLString:
        return UTF8Decode(ReadBytes(ReadLength32()));
    case vaWString:
        return ReadWideStringPayload();
    default:
        InvalidPropertyValue();
    }
}

AnsiString TReader::ReadIdent() {
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        InvalidPropertyValue();
    }
}

std::vector<AnsiString> TReader::ReadSet() {
    CheckValue(vaSet);
    std::vector<AnsiString> names;
    for (AnsiString name = ReadStr(); !name.empty(); name = ReadStr())
        names.push_back(std::move(name));
    return names;
}

std::vector<Byte> TReader::ReadBinary() {
    CheckValue(vaBinary);
    Cardinal count = ReadLength32();
    CheckRemaining(count);
    std::vector<Byte> data(count);
    Read(data.data(), static_cast<Integer>(count));
    return data;
}

void TReader::SkipCollection() {
    TNesting nesting(*this);
    while (!EndOfList()) {
        if (IsIntegerTag(NextValue()))
            ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
            SkipBytes(ReadByte());
            SkipValue();
        }
        ReadListEnd();
    }
    ReadListEnd();
}

void TReader::SkipValue() {
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList: {
        TNesting nesting(*this);
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        break;
    }
    case vaInt8:
        SkipBytes(1);
        break;
    case vaInt16:
        SkipBytes(2);
        break;
    case vaInt32:
    case vaSingle:
        SkipBytes(4);
        break;
    case vaInt64:
    case vaCurrency:
    case vaDate:
        SkipBytes(8);
        break;
    case vaExtended:
        SkipBytes(ExtendedSize);
        break;
    case vaString:
    case vaIdent:
        SkipBytes(ReadByte());
        break;
    case vaLString:
    case vaBinary:
        SkipBytes(ReadLength32());
        break;
    case vaWString:
        SkipBytes(Int64(ReadLength32()) * 2);
        break;
    case vaSet:
        for (Byte length = ReadByte(); length != 0; length = ReadByte())
            SkipBytes(length);
        break;
    case vaCollection:
        SkipCollection();
        break;
    }
}
