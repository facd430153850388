// The demo's translations, the one place they are written by hand, and the
// step that stores them in the shipped files: each form file is loaded
// without running the program, its translation component takes the table's
// lines, and the form is saved again.
#pragma once

#include "runtime/QzxComp.h"

#include <array>
#include <memory>
#include <span>
#include <vector>

inline constexpr Integer DemoLanguageCount = 3;

// One translatable text: its kind, its key and its value in each language.
struct TDemoText {
    TStringsType Kind;
    const char* Key;
    std::array<const char*, DemoLanguageCount> Values;
};

// The shipped form files, in the order they are written.
const std::vector<AnsiString>& DemoFormFiles();

// Reads a shipped form file into a new instance of its class without
// completing it, so that no program code runs and the file's texts stay as
// they are.
std::unique_ptr<TComponent> LoadDemoFormFile(const AnsiString& FileName);

// Reads every shipped form file of Dir, in DemoFormFiles() order. The forms
// link to the data module's dispatcher, which reads no translation file
// meanwhile: each form keeps what its own file holds.
std::vector<std::unique_ptr<TComponent>> LoadDemoFormFiles(const AnsiString& Dir);

// The dispatcher of the data module read by LoadDemoFormFiles.
TzxLangDispatcher& DemoDispatcherOf(const std::vector<std::unique_ptr<TComponent>>& Files);
// The translation components of the forms read by LoadDemoFormFiles: the
// main form's, then the order form's.
std::vector<TzxCustomLang*>
DemoFormComponents(const std::vector<std::unique_ptr<TComponent>>& Files);

// A translation of any published property, named by its path.
struct TDemoExtendedText {
    const char* Identifier;
    TTypeKind PropertyType;
    std::array<const char*, DemoLanguageCount> Values;
};

// The texts of the main form, which travel in its form file.
std::span<const TDemoText> MainFormTexts();
std::span<const TDemoExtendedText> MainFormExtendedTexts();

// The texts of the order form, which travel only in the shipped
// translation file.
std::span<const TDemoText> OrdersFormTexts();

// The value delimiter of the shipped translation file.
inline constexpr const char* DemoTranslationDelimiter = "~!@#";

// Writes the translations of every component, in order, into FileName, made
// anew: the lists and the extended translations of each component's form.
void SaveDemoTranslationFile(const AnsiString& FileName,
                             const std::vector<TzxCustomLang*>& Components);

// Replaces the lists of the kinds Texts holds by their lines.
void PutDemoTexts(TzxCustomLang& Lang, std::span<const TDemoText> Texts);
// Replaces the extended translations by Texts.
void PutDemoExtendedTexts(TzxCustomLang& Lang, std::span<const TDemoExtendedText> Texts);

// Loads the shipped files from SourceDir, puts the table's translations into
// their components and writes them into TargetDir (which may be SourceDir):
// the form files, and the translation file the dispatcher names, which
// holds every form's translations.
void WriteDemoFiles(const AnsiString& SourceDir, const AnsiString& TargetDir);
