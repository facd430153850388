// The edit window of one unit: a QScintilla editor over the module's source
// buffer. The window keeps the undo steps; what the host writes into the
// buffer (fields of new components, handlers, an expert's undoable writer)
// arrives as one undo step of the window, and what the user types goes back
// into the buffer at once, so whatever reads the buffer reads the window.
// The text is handled as bytes: a unit is saved exactly as it was typed.
#pragma once

#include "designide/HostModule.h"

#include <QtWidgets/QWidget>

class QsciScintilla;

class TSourceEditor : public QWidget {
public:
    TSourceEditor(_di_TDesignModule Module, QWidget* Parent);
    ~TSourceEditor() override;

    TDesignModule* Module() const { return FModule.get(); }
    QsciScintilla* Edit() const { return FEdit; }
    // The window's text, byte for byte.
    AnsiString Text() const;
    // Puts the cursor at the start of the 1-based line and shows it.
    void GoToLine(Integer Line);
    Integer CurrentLine() const;
    Integer LineCount() const;
    // Called after the text changed, by the user or by the host.
    std::function<void()> OnChange;

private:
    void ShowBufferText();
    void TakeEditText();

    _di_TDesignModule FModule;
    QsciScintilla* FEdit;
    bool FShowing = false;
};
