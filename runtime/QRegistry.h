// The settings store of every tool: a registry-style interface over one ini
// file per settings owner, kept beside the running executable.
#pragma once

#include "runtime/DOriDaz.h"

// The file is named after the owner's class with the extension ".ini".
// A key path names a section as it is: there is no hierarchy and there are
// no root keys, so OpenKey and SetRootKey only choose the current section.
// The whole file is rewritten by CloseKey and when the store is freed.
class TRegistry : public TMemIniFile {
    ZX_CLASS(TRegistry, TMemIniFile)
public:
    // Loads the owner's settings file; an absent file gives an empty store.
    explicit TRegistry(const TObject* Owner);
    // Writes the file back; a failure is reported, never raised.
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Nothing is created or tested: the answer is always True.
    bool OpenKey(const AnsiString& Key, bool CanCreate);
    void SetRootKey(const AnsiString& Value);
    void CloseKey();

    // The one-name operations work in the current section; reads give
    // False, 0 and "" for an absent value.
    using TMemIniFile::ReadBool;
    using TMemIniFile::ReadInteger;
    using TMemIniFile::ReadString;
    using TMemIniFile::ValueExists;
    using TMemIniFile::WriteBool;
    using TMemIniFile::WriteInteger;
    using TMemIniFile::WriteString;
    bool ReadBool(const AnsiString& Name);
    Integer ReadInteger(const AnsiString& Name);
    AnsiString ReadString(const AnsiString& Name);
    void WriteBool(const AnsiString& Name, bool Value);
    void WriteInteger(const AnsiString& Name, Integer Value);
    void WriteString(const AnsiString& Name, const AnsiString& Value);
    bool ValueExists(const AnsiString& Name);
    // False when the value is absent.
    bool DeleteValue(const AnsiString& Name);

private:
    AnsiString FCurrentKey;
};
