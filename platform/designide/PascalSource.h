// What the design host reads in and writes into Pascal sources: the form
// class of a unit (fields and handlers of its published part), the uses
// clause, handler bodies, and the unit list of a project file. Comments and
// string literals are skipped, so text inside them is never taken for code;
// every change touches only the lines it adds, renames or removes.
#pragma once

#include "rtl/SysUtils.h"

#include <optional>
#include <vector>

namespace PascalSource {

enum class TTokenKind { Identifier, Symbol, String, Number, Comment };

struct TToken {
    TTokenKind Kind;
    AnsiString Text;
    // Byte offsets of the token in the source.
    std::size_t Begin;
    std::size_t End;
};

std::vector<TToken> Tokenize(const AnsiString& Source);

// "TForm1 = class(TForm)": the form class a unit declares first.
struct TClassDeclaration {
    AnsiString ClassName;
    AnsiString BaseName;
};
std::optional<TClassDeclaration> FindFormClass(const AnsiString& Source);

// Fields and handlers of ClassName's published part; each raises
// EParserError when the unit declares no such class.
AnsiString AddField(const AnsiString& Source, const AnsiString& ClassName,
                    const AnsiString& FieldName, const AnsiString& TypeName);
AnsiString RenameField(const AnsiString& Source, const AnsiString& ClassName,
                       const AnsiString& OldName, const AnsiString& NewName);
AnsiString RemoveField(const AnsiString& Source, const AnsiString& ClassName,
                       const AnsiString& FieldName);

// Whether the uses clause of the interface (or of the program) names the
// unit, and the text with the unit added when it does not.
bool UsesUnit(const AnsiString& Source, const AnsiString& UnitName);
AnsiString AddUsedUnit(const AnsiString& Source, const AnsiString& UnitName);

// "procedure TForm1.FormCreate(Sender: TObject);" -- the body's header line.
AnsiString MethodHeader(const AnsiString& ClassName, const AnsiString& MethodName,
                        const AnsiString& Params);
bool MethodExists(const AnsiString& Source, const AnsiString& ClassName,
                  const AnsiString& MethodName);
// The declaration in the published part and the body (header, begin, an
// empty line, end;) before the unit's final "end.".
AnsiString AddMethod(const AnsiString& Source, const AnsiString& ClassName,
                     const AnsiString& MethodName, const AnsiString& Params);
// The 1-based line of the body's header, 0 when there is none.
Integer MethodLine(const AnsiString& Source, const AnsiString& ClassName,
                   const AnsiString& MethodName);

// One entry of a project's uses clause: "Unit1 in 'Unit1.pas' {Form1}" or,
// for a data module, "{DataModule1: TDataModule}".
struct TProjectUnit {
    AnsiString UnitName;
    AnsiString FileName;
    AnsiString FormName;
    AnsiString FormBase;
};
AnsiString ProgramName(const AnsiString& Source);
// Every entry, or with FilesOnly those naming their file (the project's own
// units, not the libraries it uses).
std::vector<TProjectUnit> ProjectUnits(const AnsiString& Source, bool FilesOnly = false);
AnsiString AddProjectUnit(const AnsiString& Source, const TProjectUnit& Unit);
AnsiString RemoveProjectUnit(const AnsiString& Source, const AnsiString& UnitName);

} // namespace PascalSource
