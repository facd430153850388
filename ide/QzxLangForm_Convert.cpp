// Changing the class of a form's translation component: the form file is
// rewritten as form text and back, the unit's field type and uses clause
// through the IDE's undoable writer.
#include "ide/QzxLangForm.h"

#include "designide/HostModule.h"
#include "designide/PascalSource.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxPasLexer.h"
#include "rtl/FormText.h"
#include "rtl/Streams.h"
#include "runtime/QzxComp.h"

#include <vector>

namespace {

const char* const FileMustClose = "For changing component type file should be closed!\nAction aborted.";
const char* const NotConvertible =
    "%s is not a registered translation component class whose unit is known: nothing was "
    "changed.";
const char* const NoDeclaration = "The form file %s declares no %s component: nothing was changed.";
const char* const PropertiesDropped =
    "%s does not have these properties of %s.%s, which will be lost:\n%s\nContinue?";
const char* const BackupExtension = ".~xfm";
const char* const UnitNotChanged =
    "%s changed while its form was converted: change its field of type %s to %s and add %s to "
    "its uses clause.";

// A form file as form text, and how to write it back in its own format.
struct TFormFile {
    AnsiString Text;
    bool Resource = false;
};

TFormFile ReadFormFile(const AnsiString& FileName) {
    const AnsiString bytes = ReadFileBytes(FileName);
    TFormFile form;
    form.Resource = !bytes.empty() && static_cast<unsigned char>(bytes[0]) == 0xFF;
    if (!form.Resource) {
        form.Text = bytes;
        return form;
    }
    TStringStream input(bytes);
    TStringStream text;
    ObjectResourceToText(input, text);
    form.Text = text.DataString();
    return form;
}

// The file's bytes for Text; EParserError when the text does not load.
AnsiString FormFileBytes(const TFormFile& Form, const AnsiString& Text) {
    TStringStream text(Text);
    TStringStream binary;
    if (Form.Resource) {
        ObjectTextToResource(text, binary);
        return binary.DataString();
    }
    ObjectTextToBinary(text, binary);
    return Text;
}

void WriteBytes(const AnsiString& FileName, const AnsiString& Bytes) {
    ReplaceFileAtomically(FileName, [&Bytes](TStream& Stream) {
        Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    });
}

Integer IndentOf(const AnsiString& Line) {
    return static_cast<Integer>(Line.find_first_not_of(' ') == AnsiString::npos
                                    ? Line.size()
                                    : Line.find_first_not_of(' '));
}

// One property of a component's block: its name and its lines.
struct TStoredProperty {
    AnsiString Name;
    Integer First;
    Integer Last;
};

// The closing character of a value that goes on over more lines.
char ValueCloser(const AnsiString& Value) {
    if (Value == "(" || Value == "{" || Value == "<")
        return Value == "(" ? ')' : Value == "{" ? '}' : '>';
    return '\0';
}

// The properties of the object declared on line Declaration, up to its end.
std::vector<TStoredProperty> StoredProperties(const TStringList& Lines, Integer Declaration) {
    std::vector<TStoredProperty> found;
    const Integer own = IndentOf(Lines[Declaration]) + 2;
    for (Integer index = Declaration + 1; index < Lines.Count(); ++index) {
        const AnsiString line = Lines[index];
        if (IndentOf(line) < own || Trim(line) == "end")
            break;
        const std::size_t equals = line.find(" = ");
        if (IndentOf(line) != own || equals == AnsiString::npos)
            continue;
        TStoredProperty property{Trim(line.substr(0, equals)), index, index};
        const char closer = ValueCloser(Trim(line.substr(equals + 3)));
        while (closer && property.Last + 1 < Lines.Count() &&
               (TrimRight(Lines[property.Last]).empty() ||
                TrimRight(Lines[property.Last]).back() != closer || property.Last == index))
            ++property.Last;
        found.push_back(property);
        index = property.Last;
    }
    return found;
}

// The first segment of a stored property the target class does not
// publish, though the current class does (defined properties every
// translation component writes are kept).
bool IsDropped(const AnsiString& Name, TClass Current, TClass Target) {
    const AnsiString top = Name.substr(0, Name.find('.'));
    return Current && GetPropInfo(Current, top) && !GetPropInfo(Target, top);
}

// Where the declaration names the class: "object Name: Class" with the whole
// class name.
Integer DeclarationLine(const TStringList& Lines, const AnsiString& ClassName) {
    for (Integer index = 0; index < Lines.Count(); ++index) {
        const AnsiString line = TrimRight(Lines[index]);
        const std::size_t colon = line.rfind(": ");
        if (colon != AnsiString::npos && AnsiSameText(line.substr(colon + 2), ClassName))
            return index;
    }
    return -1;
}

// One replacement in the unit text.
struct TUnitEdit {
    std::size_t Start;
    std::size_t Length;
    AnsiString Text;
};

// The first field typed with the old class ("Name: OldClass"), as code, and
// the uses clause gaining the new class's unit.
std::vector<TUnitEdit> UnitEdits(const AnsiString& Source, const AnsiString& OldClass,
                                 const AnsiString& NewClass, const AnsiString& NewUnit) {
    std::vector<TUnitEdit> edits;
    if (!PascalSource::UsesUnit(Source, NewUnit)) {
        const AnsiString added = PascalSource::AddUsedUnit(Source, NewUnit);
        std::size_t start = 0;
        while (start < Source.size() && Source[start] == added[start])
            ++start;
        std::size_t tail = 0;
        while (tail < Source.size() - start &&
               Source[Source.size() - 1 - tail] == added[added.size() - 1 - tail])
            ++tail;
        edits.push_back({start, Source.size() - tail - start,
                         added.substr(start, added.size() - tail - start)});
    }
    const std::vector<TPasToken> tokens = TokenizePascal(Source);
    for (std::size_t index = 1; index < tokens.size(); ++index)
        if (tokens[index].Kind == TPasTokenKind::Identifier &&
            AnsiSameText(TokenText(Source, tokens[index]), OldClass) &&
            TokenText(Source, tokens[index - 1]) == ":") {
            edits.push_back({tokens[index].Start, tokens[index].Length, NewClass});
            break;
        }
    std::sort(edits.begin(), edits.end(),
              [](const TUnitEdit& A, const TUnitEdit& B) { return A.Start < B.Start; });
    return edits;
}

void ShowError(const AnsiString& Message) { MessageDlg(Message, mtError, {mbOk}, 0); }

} // namespace

void TfrmzxLang::ToTzxLang1Click(TObject* Sender) {
    const Integer index = ChangeType1->IndexOf(dynamic_cast<TMenuItem*>(Sender));
    if (!FzxLangExpert || index < 0 || index >= static_cast<Integer>(NamesArray.size()))
        return;
    for (TListItem* row : SelectedRows())
        if (RowHasComponent(row) && !ChangeComponentClass(row, NamesArray[index]))
            break;
    UpdateStatusBar();
}

// Nothing is written before every check passed: the target class, the
// unit saved and closed, the declaration found, the user's consent to the
// properties lost.
bool TfrmzxLang::ChangeComponentClass(TListItem* Row, const AnsiString& Target) {
    const AnsiString current = RowText(Row, rtComponentClass);
    if (AnsiSameText(current, Target))
        return true;
    TClass targetClass = GetClass(Target);
    const AnsiString targetUnit = targetClass ? ClassUnitName(targetClass) : AnsiString();
    if (!targetClass || !ClassInheritsFrom(targetClass, TzxCustomLang::StaticClass()) ||
        targetUnit.empty()) {
        ShowError(Format(NotConvertible, {Target}));
        return false;
    }
    const AnsiString unitFile = RowText(Row, rtFileName);
    const AnsiString formFile = ChangeFileExt(unitFile, ".xfm");
    const bool wasOpen = FzxLangExpert->IsFileOpen(unitFile);
    if (wasOpen) {
        _di_IOTAModule module = FzxLangExpert->GetModuleFromFileName(unitFile);
        if ((module && module->GetModified() && !FzxLangExpert->SaveFile(unitFile)) ||
            !FzxLangExpert->CloseFile(unitFile)) {
            MessageDlg(FileMustClose, mtInformation, {mbOk}, 0);
            return false;
        }
    }
    bool converted = false;
    try {
        converted = RewriteFormFile(formFile, current, Target, targetClass);
    } catch (const Exception& error) {
        ShowError(error.Message());
    }
    if (converted) {
        const AnsiString source = ReadFileBytes(unitFile);
        FzxLangExpert->OpenFile(unitFile);
        _di_IOTASourceEditor editor = FzxLangExpert->GetUnitSource(unitFile) == source
                                          ? FzxLangExpert->GetSourceEditorFromFileName(unitFile)
                                          : nullptr;
        if (editor) {
            _di_IOTAEditWriter writer = editor->CreateUndoableWriter();
            for (const TUnitEdit& edit : UnitEdits(source, current, Target, targetUnit)) {
                writer->CopyTo(static_cast<Integer>(edit.Start));
                writer->DeleteTo(static_cast<Integer>(edit.Start + edit.Length));
                writer->Insert(edit.Text.c_str());
            }
        } else
            ShowError(
                Format(UnitNotChanged, {ExtractFileName(unitFile), current, Target, targetUnit}));
        SetRowText(Row, rtComponentClass, Target);
        if (!wasOpen) {
            FzxLangExpert->SaveFile(unitFile);
            FzxLangExpert->CloseFile(unitFile);
        }
    } else if (wasOpen)
        FzxLangExpert->OpenFile(unitFile);
    return converted;
}

bool TfrmzxLang::RewriteFormFile(const AnsiString& FormFile, const AnsiString& Current,
                                 const AnsiString& Target, TClass TargetClass) {
    const TFormFile form = ReadFormFile(FormFile);
    TStringList lines;
    lines.SetText(form.Text);
    const Integer declaration = DeclarationLine(lines, Current);
    if (declaration < 0) {
        ShowError(Format(NoDeclaration, {ExtractFileName(FormFile), Current}));
        return false;
    }
    const AnsiString declared = TrimRight(lines[declaration]);
    const AnsiString componentName =
        Trim(declared.substr(declared.find(' '), declared.rfind(": ") - declared.find(' ')));
    std::vector<TStoredProperty> dropped = StoredProperties(lines, declaration);
    std::erase_if(dropped, [&](const TStoredProperty& Each) {
        return !IsDropped(Each.Name, GetClass(Current), TargetClass);
    });
    if (!dropped.empty()) {
        AnsiString names;
        for (const TStoredProperty& each : dropped)
            names += (names.empty() ? "" : ", ") + each.Name;
        if (MessageDlg(Format(PropertiesDropped, {Target, ExtractFileName(FormFile), componentName,
                                                  names}),
                       mtWarning, mbYesNo, 0) != mrYes)
            return false;
    }
    for (auto each = dropped.rbegin(); each != dropped.rend(); ++each)
        for (Integer line = each->Last; line >= each->First; --line)
            lines.Delete(line);
    lines.Put(declaration, declared.substr(0, declared.rfind(": ") + 2) + Target);
    const AnsiString bytes = FormFileBytes(form, lines.Text());
    WriteBytes(ChangeFileExt(FormFile, BackupExtension), ReadFileBytes(FormFile));
    WriteBytes(FormFile, bytes);
    return true;
}
