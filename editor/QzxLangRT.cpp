#include "editor/QzxLangRT.h"

#include "runtime/QzxComp_Text.h"

Integer RT_ActiveLanguage = 1;
AnsiString RT_ZXLFile;

void TzxLangRT::PublishedProperties(TPropertyBuilder<TzxLangRT>& P) {
    PublishLangProperties(P);
    P.Property("LoadOnCreate", &TzxLangRT::LoadOnCreate).Default(false);
    P.Property("StorageDelimiter", &TzxLangRT::StorageDelimiter);
    P.Property("StorageFile", &TzxLangRT::StorageFile).TypeName("TFileName");
    P.Property("RTEditorActionsOptions", &TzxLangRT::RTEditorActionsOptions)
        .Default(TRTEditorOptions{});
}

void TzxLangRT::Loaded() {
    TzxCustomLang::Loaded();
    if (IsLoadingCopy() || !Owner())
        return;
    if (LoadOnCreate && !ComponentState().Contains(csDesigning)) {
        if (zxIsBinaryFile(StorageFile))
            LoadAllFromBinaryFile(StorageFile);
        else
            LoadAllFromFile(UTF8Decode(StorageFile), true);
    }
    RebuildStringTable();
}

void TzxLangRT::EditAll() {
    Edit(stCaptions, TShowFlags{sfFull, sfRunTime}, TWriteBack::AllLists);
}

// The extended-only mode of the editor: it edits exactly what is written
// back.
void TzxLangRT::EditExtended() {
    Edit(stCaptions, TShowFlags{sfSelected, sfRunTime, sfExtended}, TWriteBack::ExtendedOnly);
}

void TzxLangRT::EditProperty(TStringsType Kind) {
    Edit(Kind, TShowFlags{sfSelected, sfRunTime}, TWriteBack::AllLists);
}

TShowFlags TzxLangRT::EditorFlags(TShowFlags Base) const {
    if (RTEditorActionsOptions.Contains(eoDisableLoad))
        Base.Include(sfDisableLoad);
    if (RTEditorActionsOptions.Contains(eoDisableSave))
        Base.Include(sfDisableSave);
    if (RTEditorActionsOptions.Contains(eoSaveWorksAsClose))
        Base.Include(sfSaveAsClose);
    return Base;
}

void TzxLangRT::Edit(TStringsType Kind, TShowFlags Flags, TWriteBack WriteBack) {
    if (TransEditorDlg(this, Kind, 0, EditorFlags(Flags)))
        WriteStorageFile(WriteBack);
}

// The editor has put the user's edits into the component already: a file
// that cannot be written loses nothing the program shows, and the user is
// told, so that the corrections can be saved elsewhere or again.
void TzxLangRT::WriteStorageFile(TWriteBack WriteBack) {
    try {
        if (zxIsBinaryFile(StorageFile))
            SaveAllToBinaryFile(StorageFile);
        else if (WriteBack == TWriteBack::ExtendedOnly)
            SaveExtendedToFile(UTF8Decode(StorageFile), StorageDelimiter);
        else
            SaveAllToFile(UTF8Decode(StorageFile), StorageDelimiter);
    } catch (const Exception& error) {
        MessageDlg(UTF8Decode(Format("The translations could not be saved to \"%s\": %s\nThe "
                                     "corrections remain in effect until the program ends.",
                                     {StorageFile, error.Message()})),
                   mtError, TMsgDlgButtons{mbOk}, 0, mbOk, nullptr);
    }
}

void InitQzxLangRT() {
    if (!GetClass("TzxLangRT"))
        RegisterClass(TzxLangRT::StaticClass());
}

void DoneQzxLangRT() {
    RT_ZXLFile.clear();
}
