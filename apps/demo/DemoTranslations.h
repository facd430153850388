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

// A translation of any published property, named by its path.
struct TDemoExtendedText {
    const char* Identifier;
    TTypeKind PropertyType;
    std::array<const char*, DemoLanguageCount> Values;
};

// The texts of the main form, which travel in its form file.
std::span<const TDemoText> MainFormTexts();
std::span<const TDemoExtendedText> MainFormExtendedTexts();

// Replaces the lists of the kinds Texts holds by their lines.
void PutDemoTexts(TzxCustomLang& Lang, std::span<const TDemoText> Texts);
// Replaces the extended translations by Texts.
void PutDemoExtendedTexts(TzxCustomLang& Lang, std::span<const TDemoExtendedText> Texts);

// Loads the shipped files from SourceDir, puts the table's translations into
// their components and writes them into TargetDir (which may be SourceDir).
void WriteDemoFiles(const AnsiString& SourceDir, const AnsiString& TargetDir);
