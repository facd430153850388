#include "SourceEditor.h"

#include <Qsci/qscilexerpascal.h>
#include <Qsci/qsciscintilla.h>
#include <QtGui/QFontDatabase>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

TSourceEditor::TSourceEditor(_di_TDesignModule Module, QWidget* Parent)
    : QWidget(Parent), FModule(std::move(Module)), FEdit(new QsciScintilla(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FEdit);
    auto* lexer = new QsciLexerPascal(FEdit);
    lexer->setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lexer->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FEdit->setLexer(lexer);
    FEdit->setUtf8(true);
    FEdit->setMarginType(0, QsciScintilla::NumberMargin);
    FEdit->setMarginWidth(0, QStringLiteral("00000"));
    FEdit->setAutoIndent(true);
    FEdit->setTabWidth(2);
    FEdit->setIndentationsUseTabs(false);
    const AnsiString& text = FModule->Source().Text();
    FShowing = true;
    FEdit->SendScintilla(QsciScintillaBase::SCI_SETTEXT, static_cast<uintptr_t>(0), text.c_str());
    FEdit->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    FShowing = false;
    QObject::connect(FEdit, &QsciScintilla::textChanged, this, [this] { TakeEditText(); });
    FModule->Source().OnChange = [this] { ShowBufferText(); };
}

TSourceEditor::~TSourceEditor() { FModule->Source().OnChange = nullptr; }

AnsiString TSourceEditor::Text() const {
    auto length = static_cast<std::size_t>(FEdit->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    AnsiString text(length + 1, '\0');
    FEdit->SendScintilla(QsciScintillaBase::SCI_GETTEXT, static_cast<unsigned long>(length + 1),
                         static_cast<void*>(text.data()));
    text.resize(length);
    return text;
}

void TSourceEditor::GoToLine(Integer Line) {
    Integer line = std::clamp(Line, 1, std::max(1, LineCount())) - 1;
    FEdit->setCursorPosition(line, 0);
    FEdit->SendScintilla(QsciScintillaBase::SCI_SETXOFFSET, 0UL);
    FEdit->ensureLineVisible(line);
    FEdit->setFocus();
}

Integer TSourceEditor::CurrentLine() const {
    int line = 0;
    int index = 0;
    FEdit->getCursorPosition(&line, &index);
    return line + 1;
}

Integer TSourceEditor::LineCount() const { return FEdit->lines(); }

// Replaces only the span where the texts differ, as one undo step, so the
// cursor and the rest of the window stay where they were.
void TSourceEditor::ShowBufferText() {
    const AnsiString shown = Text();
    const AnsiString& wanted = FModule->Source().Text();
    if (shown == wanted)
        return;
    std::size_t prefix = 0;
    std::size_t limit = std::min(shown.size(), wanted.size());
    while (prefix < limit && shown[prefix] == wanted[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix &&
           shown[shown.size() - 1 - suffix] == wanted[wanted.size() - 1 - suffix])
        ++suffix;
    const AnsiString inserted = wanted.substr(prefix, wanted.size() - prefix - suffix);
    FShowing = true;
    FEdit->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    FEdit->SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, static_cast<unsigned long>(prefix),
                         static_cast<long>(shown.size() - suffix));
    FEdit->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET,
                         static_cast<unsigned long>(inserted.size()),
                         static_cast<void*>(const_cast<char*>(inserted.data())));
    FEdit->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
    FShowing = false;
    if (OnChange)
        OnChange();
}

void TSourceEditor::TakeEditText() {
    if (FShowing)
        return;
    FModule->Source().SetText(Text());
    if (OnChange)
        OnChange();
}
