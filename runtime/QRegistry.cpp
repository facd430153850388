#include "runtime/QRegistry.h"

namespace {

// Settings live beside the program that loaded the package, one file per
// owner class.
AnsiString SettingsFileName(const TObject* Owner) {
    return ExtractFilePath(ParamStr(0)) + Owner->ClassName() + ".ini";
}

} // namespace

TRegistry::TRegistry(const TObject* Owner) : TMemIniFile(SettingsFileName(Owner)) {}

TRegistry::~TRegistry() {
    try {
        UpdateFile();
    } catch (...) {
        HandleApplicationException(this);
    }
}

bool TRegistry::OpenKey(const AnsiString& Key, bool) {
    FCurrentKey = Key;
    return true;
}

void TRegistry::SetRootKey(const AnsiString& Value) {
    FCurrentKey = Value;
}

void TRegistry::CloseKey() {
    UpdateFile();
}

bool TRegistry::ReadBool(const AnsiString& Name) {
    return ReadBool(FCurrentKey, Name, false);
}

Integer TRegistry::ReadInteger(const AnsiString& Name) {
    return ReadInteger(FCurrentKey, Name, 0);
}

AnsiString TRegistry::ReadString(const AnsiString& Name) {
    return ReadString(FCurrentKey, Name, "");
}

void TRegistry::WriteBool(const AnsiString& Name, bool Value) {
    WriteBool(FCurrentKey, Name, Value);
}

void TRegistry::WriteInteger(const AnsiString& Name, Integer Value) {
    WriteInteger(FCurrentKey, Name, Value);
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
    WriteString(FCurrentKey, Name, Value);
}

bool TRegistry::ValueExists(const AnsiString& Name) {
    return ValueExists(FCurrentKey, Name);
}

bool TRegistry::DeleteValue(const AnsiString& Name) {
    if (!ValueExists(Name))
        return false;
    DeleteKey(FCurrentKey, Name);
    return true;
}
