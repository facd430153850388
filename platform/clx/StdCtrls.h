// Standard controls. TLabel (a TControl on a QLabel), TButton (a
// TWinControl on a QPushButton whose clicked signal fires Click) and TEdit
// (a TCustomEdit on a QLineEdit whose user edits write Text back and fire
// OnChange) are the worked examples of the pattern described at the top of
// Controls.h; the other standard controls follow them.
//
// The TCustomX/TX split: TCustomX holds the behaviour and publishes nothing
// of its own; TX publishes. Descendants that must not publish everything
// (TMemo from TCustomEdit) derive from the TCustomX class.
#pragma once

#include "clx/Controls.h"

ZX_ENUM(TTextLayout, tlTop, tlCenter, tlBottom);
ZX_ENUM(TEchoMode, emNormal, emNone, emPassword);

// ---------------------------------------------------------------------------
// Labels

class TCustomLabel : public TControl {
    ZX_CLASS(TCustomLabel, TControl)
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    // With AutoSize the label takes the size of its text whenever the text
    // or the font changes; measuring needs a QGuiApplication, without one
    // the size stays as it is.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // "&" marks the access key that focuses FocusControl; without it the
    // text shows as it is.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    void SetText(const AnsiString& Value) override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void FontChanged() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Sizes the label to its text (see AutoSize).
    void AdjustBounds();

private:
    void PushAlignment();
    void PushBuddy();

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
    ZX_CLASS(TLabel, TCustomLabel)
public:
    using TCustomLabel::TCustomLabel;
    static void PublishedProperties(TPropertyBuilder<TLabel>& P);
};

// ---------------------------------------------------------------------------
// Buttons

class TButton : public TWinControl {
    ZX_CLASS(TButton, TWinControl)
public:
    explicit TButton(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TButton>& P);

    // Enter anywhere in the window presses the default button, Escape the
    // cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value);
    // Set on the button's form when the button is clicked (closing a modal
    // form with that result).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    void Click() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void ConnectWidget() override;

private:
    void PushKeys();

    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

// ---------------------------------------------------------------------------
// Edits

// The text-editing state shared by single-line and multi-line edits. Every
// change of Text, by code or by the user, fires OnChange; user edits also
// set Modified.
class TCustomEdit : public TWinControl {
    ZX_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner);

    // 0: no limit.
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }

    void SetText(const AnsiString& Value) override;
    void Clear() { SetText(AnsiString()); }
    // Selects the whole text in the widget.
    virtual void SelectAll() {}

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    // MaxLength and ReadOnly into the widget; the widget's class does it.
    virtual void UpdateWidgetEditing() = 0;
    // A user edit from the widget: stores the text, sets Modified, fires
    // OnChange.
    void TextEdited(const AnsiString& Value);

private:
    Integer FMaxLength = 0;
    bool FReadOnly = false;
    bool FModified = false;
    bool FAutoSelect = true;
};

class TEdit : public TCustomEdit {
    ZX_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TEdit>& P);

    TEchoMode EchoMode() const { return FEchoMode; }
    void SetEchoMode(TEchoMode Value);
    void SelectAll() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void UpdateWidgetEditing() override;
    void ConnectWidget() override;
    bool WidgetEvent(QEvent* Event) override;

private:
    TEchoMode FEchoMode = emNormal;
};
