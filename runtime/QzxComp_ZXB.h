// The binary translation file.
#pragma once

#include "runtime/QzxComp_Text.h"

#include <memory>
#include <vector>

class TzxCustomLang;

// TZXBFileManager: the binary translation file, one entry per owner form
// class, each entry a translation component in the component stream format.
//
//   0   42 bytes  "ZXB file: TzxLang binary translation data" and a NUL
//   42  2         N, the number of entries
//   44  2         L, the length of the fixed-languages text
//   46  L         the fixed-languages text, a line break after each line
//   then N directory entries: 2 bytes name length K, K bytes owner class
//       name, 4 bytes absolute position of the entry's record
//   then the N records, in directory order
//
// All numbers are little-endian. A file is untrusted input: every count,
// length and position is checked against the stream, records may only hold
// translation components, and the references and event names inside them
// are dropped.

class TZXBFileManager : public TPersistent {
    ZX_CLASS(TZXBFileManager, TPersistent)
public:
    TZXBFileManager();
    // With the whole content of that file when it exists.
    explicit TZXBFileManager(const AnsiString& FileName);
    ~TZXBFileManager() override;
    TZXBFileManager(const TZXBFileManager&) = delete;
    TZXBFileManager& operator=(const TZXBFileManager&) = delete;

    // Files Lang under its owner's class name, replacing the entry of that
    // name (found ignoring case). Lang stays its form's; a replaced
    // component that the manager read is freed.
    void Add(TzxCustomLang* Lang);
    void Clear();
    // Frees the components the manager read and empties the entries' list
    // of components (OwnerNames stay).
    void ClearList();
    void Remove(Integer Index);
    void Move(Integer CurIndex, Integer NewIndex);

    AnsiString GetOwnerNames(Integer Index) const;
    void SetOwnerNames(Integer Index, const AnsiString& Name);
    TzxCustomLang* GetzxComponents(Integer Index) const;
    void SetzxComponents(Integer Index, TzxCustomLang* Lang);
    Integer GetCompCount() const { return static_cast<Integer>(FComponents.size()); }
    // The size in bytes of that entry's record.
    Integer GetComponentSize(Integer Index) const;
    TStrings* OwnerNames() const { return FOwnerNames.get(); }
    TStrings* FixedLanguages() const { return FFixedLanguages.get(); }
    // Copies the lines.
    void SetFixedLanguages(TStrings* Value);

    // Replaces the file atomically. Counts and lengths beyond the fields of
    // the layout raise EWriteError; nothing is written then.
    void SaveToFile(const AnsiString& FileName);
    // Leaves the stream positioned after the last record.
    void SaveToStream(TStream& Stream);
    // Replaces the manager's entries by the file's; a failed read leaves
    // them as they were.
    void ReadFileContent(const AnsiString& FileName);
    void ReadStreamContent(TStream& Stream);
    // Loads the entry named OwnerName (exact case) into Lang: its lists,
    // language names and extended translations. Returns whether the file
    // has that entry; without one, and on any failure, Lang is unchanged.
    bool LoadFromFile(TzxCustomLang* Lang, const AnsiString& OwnerName, const AnsiString& FileName);
    bool LoadFromStream(TzxCustomLang* Lang, const AnsiString& OwnerName, TStream& Stream);
    // Only Lang's list of Kind, from the entry named OwnerName; returns
    // whether there was such an entry.
    bool LoadPropFromFile(TStringsType Kind, const AnsiString& FileName, TzxCustomLang* Lang,
                          const AnsiString& OwnerName);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    struct TEntryComponent {
        TzxCustomLang* Component;
        // Read from a file or copied: the manager frees it.
        bool Owned;
    };

    void FreeIfOwned(const TEntryComponent& Entry);
    void CheckIndex(Integer Index) const;
    void ReplaceEntries(std::vector<TEntryComponent> Components, TStrings& Names);
    void CopyInto(TzxCustomLang* Lang, TzxCustomLang* Source, const AnsiString& OwnerName) const;

    std::vector<TEntryComponent> FComponents;
    std::unique_ptr<TStringList> FOwnerNames;
    AnsiString FSignature;
    std::unique_ptr<TStringList> FFixedLanguages;
};
