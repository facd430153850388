// Default fonts per language: the font and character set in which the
// Translation Editor draws and edits a language's column, kept in one list
// for as long as the package (or the editor's program) runs, read from the
// settings at start-up and written back at shut-down when it changed, and
// the "Default Fonts" dialog that edits it.
#pragma once

#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/Graphics.h"
#include "clx/StdCtrls.h"
#include "rtl/Lists.h"

// A language name, at most 32 characters.
using TLangName = AnsiString;
inline constexpr std::size_t LangNameLength = 32;

struct TDefFontListItem {
    TLangName LangName;
    AnsiString FontName;
    TFontCharSet Charset = DEFAULT_CHARSET;
};

// The entries in insertion order; lookups ignore case and take the first
// match. The list owns its records.
class TDefFontsList : public TList {
    ZX_CLASS(TDefFontsList, TList)
public:
    // Reads the settings; the list starts unmodified.
    TDefFontsList();
    // Writes the settings when modified; a failure is reported, never raised.
    ~TDefFontsList() override;
    TDefFontsList(const TDefFontsList&) = delete;
    TDefFontsList& operator=(const TDefFontsList&) = delete;

    void Clear();
    void AddDefFontItem(const TLangName& LangName, const AnsiString& FontName,
                        TFontCharSet Charset);
    void RemoveDefFontItem(const TLangName& LangName);
    // '' and the character set of ordinal 25 for a language not listed.
    AnsiString GetLangFontName(const TLangName& LangName) const;
    TFontCharSet GetLangCharset(const TLangName& LangName) const;

    void PopulateListView(TListView* ListView) const;
    // Items with an unknown character-set name are skipped.
    void CopyFromListView(TListView* ListView);

    void WriteToRegistry(const AnsiString& Key);
    // A bad entry ends the reading; the entries read before it stay.
    void ReadFromRegistry(const AnsiString& Key);

    TDefFontListItem* Items(Integer Index) const { return static_cast<TDefFontListItem*>(Get(Index)); }
    bool Modified() const { return FModified; }

private:
    const TDefFontListItem* Find(const TLangName& LangName) const;

    bool FModified = false;
};

// The list of the running program; nullptr before start-up and after
// shut-down.
extern TDefFontsList* DefFontsList;

// Start-up makes and reads the list (once); shut-down writes it when it
// changed and frees it.
void InitQ_deffonts();
void DoneQ_deffonts();

// Edits List in the dialog; only OK changes it. Returns the modal result.
Integer DefFontsDlg(TDefFontsList* List);

class TfrmDefFonts : public TForm {
    ZX_CLASS(TfrmDefFonts, TForm)
public:
    explicit TfrmDefFonts(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TListView* ListView1 = nullptr;
    TEdit* edLanguage = nullptr;
    TComboBox* cbFontName = nullptr;
    TComboBox* cbCharset = nullptr;
    TButton* btnAdd = nullptr;
    TButton* btnReplace = nullptr;
    TButton* btnDelete = nullptr;
    TButton* btnClear = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnCancel = nullptr;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ListView1Change(TObject* Sender, TListItem* Item, TItemChange Change);
    void edLanguageChange(TObject* Sender);
    void btnAddClick(TObject* Sender);
    void btnReplaceClick(TObject* Sender);
    void btnDeleteClick(TObject* Sender);
    void btnClearClick(TObject* Sender);

    void UpdateEditors();
    void UpdateButtons();
    bool IsLangListed(const AnsiString& LangName) const;

private:
    std::vector<TListItem*> SelectedItems() const;
    // Refreshing the editors changes their texts; that is no user's edit.
    bool FUpdatingEditors = false;
};
