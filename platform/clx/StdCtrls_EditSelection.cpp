// The selection of edits and memos: kept in the component while there is no
// widget, read from and pushed into the widget while there is one.
#include "clx/StdCtrls.h"
#include "clx/QtSupport.h"

#include <QtGui/QTextCursor>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>

Integer TCustomEdit::TextLength() const {
    return static_cast<Integer>(ToQString(Text()).size());
}

Integer TCustomEdit::SelStart() const {
    Integer start = 0;
    Integer length = 0;
    if (WidgetSelection(start, length))
        return start;
    return std::min(FSelStart, TextLength());
}

Integer TCustomEdit::SelLength() const {
    Integer start = 0;
    Integer length = 0;
    if (WidgetSelection(start, length))
        return length;
    return std::clamp(FSelLength, 0, TextLength() - SelStart());
}

void TCustomEdit::SetSelStart(Integer Value) {
    FSelStart = std::clamp(Value, 0, TextLength());
    FSelLength = 0;
    FSelectionStored = !HandleAllocated();
    PushSelection(FSelStart, FSelLength);
}

void TCustomEdit::SetSelLength(Integer Value) {
    FSelStart = SelStart();
    FSelLength = std::clamp(Value, 0, TextLength() - FSelStart);
    FSelectionStored = !HandleAllocated();
    PushSelection(FSelStart, FSelLength);
}

AnsiString TCustomEdit::SelText() const {
    return FromQString(ToQString(Text()).mid(SelStart(), SelLength()));
}

void TCustomEdit::SelectAll() {
    FSelStart = 0;
    FSelLength = TextLength();
    FSelectionStored = !HandleAllocated();
    PushSelection(FSelStart, FSelLength);
}

void TCustomEdit::ConnectWidget() {
    TWinControl::ConnectWidget();
    if (!FSelectionStored)
        return;
    FSelectionStored = false;
    Integer start = std::min(FSelStart, TextLength());
    PushSelection(start, std::clamp(FSelLength, 0, TextLength() - start));
}

bool TEdit::WidgetSelection(Integer& Start, Integer& Length) const {
    auto* edit = WidgetAs<QLineEdit>();
    if (!edit)
        return false;
    bool selected = edit->hasSelectedText();
    Start = selected ? edit->selectionStart() : edit->cursorPosition();
    Length = selected ? static_cast<Integer>(edit->selectionLength()) : 0;
    return true;
}

void TEdit::PushSelection(Integer Start, Integer Length) {
    if (auto* edit = WidgetAs<QLineEdit>()) {
        if (Length > 0)
            edit->setSelection(Start, Length);
        else
            edit->setCursorPosition(Start);
    }
}

bool TCustomMemo::WidgetSelection(Integer& Start, Integer& Length) const {
    auto* edit = WidgetAs<QPlainTextEdit>();
    if (!edit)
        return false;
    QTextCursor cursor = edit->textCursor();
    Start = cursor.selectionStart();
    Length = cursor.selectionEnd() - cursor.selectionStart();
    return true;
}

void TCustomMemo::PushSelection(Integer Start, Integer Length) {
    auto* edit = WidgetAs<QPlainTextEdit>();
    if (!edit)
        return;
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(Start);
    cursor.setPosition(Start + Length, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}
