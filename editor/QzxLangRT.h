// TzxLangRT: the translation component of applications whose end users
// correct the translations themselves. It can read its translations from a
// file when its form is loaded, and opens the Translation Editor at run
// time; what the user saves there is written back to that file.
#pragma once

#include "editor/QzxTransEditor.h"

ZX_ENUM(TRTEditorOption, eoDisableLoad, eoDisableSave, eoSaveWorksAsClose);
using TRTEditorOptions = TSet<TRTEditorOption>;

// Kept for applications that share a language and a file name among their
// forms; the component itself does not read them.
extern Integer RT_ActiveLanguage;
extern AnsiString RT_ZXLFile;

class TzxLangRT : public TzxCustomLang {
    ZX_CLASS(TzxLangRT, TzxCustomLang)
public:
    explicit TzxLangRT(TComponent* AOwner) : TzxCustomLang(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TzxLangRT>& P);

    // Read StorageFile when the form is loaded at run time.
    bool LoadOnCreate = false;
    // The value delimiter of a text file written back.
    WideString StorageDelimiter = u"~!@#";
    // ".ZXB" in any case names the binary format, any other name the text one.
    AnsiString StorageFile;
    TRTEditorOptions RTEditorActionsOptions;

    // Open the Translation Editor modally on this component: every kind and
    // the extended translations; the extended translations alone; the list
    // of Kind alone. When the user saves, StorageFile is written; a file
    // that cannot be written is reported to the user, and the edits stay
    // in the component.
    void EditAll();
    void EditExtended();
    void EditProperty(TStringsType Kind);

protected:
    void Loaded() override;

private:
    enum class TWriteBack { AllLists, ExtendedOnly };
    void Edit(TStringsType Kind, TShowFlags Flags, TWriteBack WriteBack);
    TShowFlags EditorFlags(TShowFlags Base) const;
    void WriteStorageFile(TWriteBack WriteBack);
};

// Unit start-up: registers TzxLangRT for form streaming unless a class of
// that name is registered already. Shut-down empties RT_ZXLFile.
void InitQzxLangRT();
void DoneQzxLangRT();
