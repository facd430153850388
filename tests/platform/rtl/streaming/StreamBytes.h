// Byte sequences written out literally in tests, and streams over them.
#pragma once

#include "rtl/Classes.h"

#include <initializer_list>
#include <string>

// One piece of a literal byte sequence: a single byte or a run of characters.
struct TBytePiece {
    TBytePiece(int Byte) : Bytes(1, static_cast<char>(Byte)) {}
    TBytePiece(const char* Text) : Bytes(Text) {}
    TBytePiece(std::string Text) : Bytes(std::move(Text)) {}
    std::string Bytes;
};

inline std::string Bytes(std::initializer_list<TBytePiece> Pieces) {
    std::string bytes;
    for (const TBytePiece& piece : Pieces)
        bytes += piece.Bytes;
    return bytes;
}

inline std::string ContentOf(TMemoryStream& Stream) {
    return std::string(reinterpret_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.Size()));
}

inline void Load(TMemoryStream& Stream, const std::string& Content) {
    Stream.Clear();
    Stream.WriteBuffer(Content.data(), static_cast<Integer>(Content.size()));
    Stream.SetPosition(0);
}

inline std::string BinaryToText(const std::string& Binary) {
    TMemoryStream input;
    Load(input, Binary);
    TStringStream output;
    ObjectBinaryToText(input, output);
    return output.DataString();
}

inline std::string TextToBinary(const std::string& Text) {
    TStringStream input(Text);
    TMemoryStream output;
    ObjectTextToBinary(input, output);
    return ContentOf(output);
}

// A component stream with every value kind, long and wide strings, binary
// data over several lines, nested lists and collections, and children with
// each prefix.
inline std::string EveryKindStream() {
    TMemoryStream stream;
    TWriter writer(stream);
    auto property = [&](const char* Name) { writer.WriteStr(Name); };
    writer.WriteSignature();
    writer.WriteStr("TForm1");
    writer.WriteStr("Form1");
    property("Tiny");
    writer.WriteInteger(-5);
    property("Small");
    writer.WriteInteger(-300);
    property("Large");
    writer.WriteInteger(100000);
    property("Huge");
    writer.WriteInteger(Int64(-1) << 40);
    property("Ratio");
    writer.WriteFloat(0.1L);
    property("Whole");
    writer.WriteFloat(1e20L);
    property("Zoom");
    writer.WriteSingle(0.1f);
    property("Price");
    writer.WriteCurrency(Currency{-123456});
    property("Stamp");
    writer.WriteDate(45000.25);
    property("Caption");
    writer.WriteString("It's");
    property("Font.Name");
    writer.WriteString("Sans");
    property("Lines.Text");
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "line '" + std::to_string(i) + "' \xC3\xA9t\xC3\xA9 \xE2\x82\xAC\r\n\t\xFF";
    writer.WriteString(text);
    property("Hint");
    writer.WriteWideString(u"\u041F\u0440\u0438\u0432\u0435\u0442, \u00E9t\u00E9 \U0001F600 "
                           u"\xD800!\r\n");
    property("Align");
    writer.WriteIdent("alClient");
    property("Visible");
    writer.WriteBoolean(false);
    property("Enabled");
    writer.WriteBoolean(true);
    property("PopupMenu");
    writer.WriteIdent("nil");
    property("Tag");
    writer.WriteIdent("Null");
    property("Action");
    writer.WriteIdent("Form2.Action1");
    property("Options");
    writer.WriteSet({"opA", "opB"});
    property("Anchors");
    writer.WriteSet({});
    property("Data");
    std::vector<Byte> data(100);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<Byte>(i * 7);
    writer.WriteBinary(data.data(), static_cast<Integer>(data.size()));
    property("Nothing");
    writer.WriteBinary(nullptr, 0);
    property("Items.Strings");
    writer.WriteListBegin();
    writer.WriteString("a");
    writer.WriteInteger(1);
    writer.WriteListBegin();
    writer.WriteInteger(2);
    writer.WriteString(std::string(100, 'b'));
    writer.WriteListEnd();
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.WriteListEnd();
    property("Columns");
    writer.WriteValue(vaCollection);
    writer.WriteInteger(3);
    writer.WriteListBegin();
    property("Caption");
    writer.WriteString("x");
    property("Width");
    writer.WriteInteger(5);
    writer.WriteListEnd();
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.WriteListBegin();
    property("SubItems");
    writer.WriteValue(vaCollection);
    writer.WriteListEnd();
    writer.WriteListEnd();
    writer.WriteListEnd();
    writer.WriteListEnd();

    writer.WritePrefix({ffInherited, ffChildPos}, 2);
    writer.WriteStr("TPanel");
    writer.WriteStr("Panel1");
    property("Caption");
    writer.WriteString("p");
    writer.WriteListEnd();
    writer.WriteStr("TLabel");
    writer.WriteStr("");
    writer.WriteListEnd();
    writer.WriteListEnd();
    writer.WriteListEnd();
    writer.WritePrefix({ffInline}, 0);
    writer.WriteStr("TFrame1");
    writer.WriteStr("Frame1");
    writer.WriteListEnd();
    writer.WriteListEnd();
    writer.WriteListEnd();
    return ContentOf(stream);
}
