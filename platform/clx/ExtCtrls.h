// Further controls: panels, radio groups, images and splitters.
#pragma once

#include "clx/StdCtrls.h"

ZX_ENUM(TBevelCut, bvNone, bvLowered, bvRaised);

// A container with bevels and a centred caption, on a QLabel (a frame that
// shows text and can hold widgets). Qt draws one frame: the outer bevel
// gives its shadow (the inner one when there is no outer), and each bevel
// adds BevelWidth to its line width.
class TCustomPanel : public TWinControl {
    ZX_CLASS(TCustomPanel, TWinControl)
public:
    explicit TCustomPanel(TComponent* AOwner);

    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    Integer BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(Integer Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;

private:
    void PushFrame();

    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    Integer FBevelWidth = 1;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
    ZX_CLASS(TPanel, TCustomPanel)
public:
    using TCustomPanel::TCustomPanel;
    static void PublishedProperties(TPropertyBuilder<TPanel>& P);
};

// A group box of radio buttons, one per item, filled down Columns columns.
// Setting ItemIndex (from code or by the user's click) fires OnClick, except
// while the group is being read.
class TCustomRadioGroup : public TCustomGroupBox {
    ZX_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* Value) { FItems->Assign(Value); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer Value);
    // 1 to 16.
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer Value);

protected:
    void UpdateWidget() override;
    void Loaded() override;

private:
    void ItemsChanged();
    void PushButtons();
    void PushItemIndex();

    std::unique_ptr<TControlStrings> FItems;
    Integer FItemIndex = -1;
    Integer FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    ZX_CLASS(TRadioGroup, TCustomRadioGroup)
public:
    using TCustomRadioGroup::TCustomRadioGroup;
    static void PublishedProperties(TPropertyBuilder<TRadioGroup>& P);
};

// Shows a picture, on a QLabel: at its own size in the top-left corner (or
// centred with Center), or scaled to the control with Stretch. With
// AutoSize the control takes the picture's size.
class TImage : public TControl {
    ZX_CLASS(TImage, TControl)
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    static void PublishedProperties(TPropertyBuilder<TImage>& P);

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TPicture* Value) { FPicture->Assign(Value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;

private:
    void PictureChanged();
    void PushPicture();

    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FAutoSize = false;
};

// A bar that resizes, when dragged, the control it touches on the side of
// its alignment (the alLeft control just left of an alLeft splitter...),
// keeping that control and the parent's remaining client area at least
// MinSize wide. OnMoved fires when the drag ends.
class TSplitter : public TControl {
    ZX_CLASS(TSplitter, TControl)
public:
    explicit TSplitter(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TSplitter>& P);

    Integer MinSize() const { return FMinSize; }
    void SetMinSize(Integer Value) { FMinSize = std::max(Value, 1); }
    // The control the splitter resizes now, or nullptr.
    TControl* FindControl() const;

    TNotifyEvent OnMoved;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
    // Where the mouse is along the splitter's axis, in the parent's client.
    Integer ParentPosition(Integer X, Integer Y) const {
        return Horizontal() ? Y + Top() : X + Left();
    }
    // The parent's client length not taken by controls aligned on the axis.
    Integer FreeSpace() const;

    Integer FMinSize = 30;
    TControl* FDragged = nullptr;
    Integer FDownAt = 0;
    Integer FStartSize = 0;
    Integer FMaxSize = 0;
};

// A control to paint on: OnPaint draws on Canvas whenever the control is
// shown again (the canvas has its painter only meanwhile).
class TPaintBox : public TControl {
    ZX_CLASS(TPaintBox, TControl)
public:
    explicit TPaintBox(TComponent* AOwner);
    ~TPaintBox() override;
    static void PublishedProperties(TPropertyBuilder<TPaintBox>& P);

    TCanvas* Canvas() const { return FCanvas.get(); }

    TNotifyEvent OnPaint;

protected:
    bool WidgetEvent(QEvent* Event) override;
    virtual void Paint();

private:
    std::unique_ptr<TCanvas> FCanvas;
};

ZX_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer);
ZX_ENUM(TBevelStyle, bsLowered, bsRaised);

// A 3D box, frame or line drawn in the button shadow and highlight colours
// (the shadow first when lowered): bsBox has a shadowed top-left and a lit
// bottom-right edge, bsFrame is an etched rectangle, the lines lie on their
// edge of the control two pixels wide, bsSpacer draws nothing.
class TBevel : public TControl {
    ZX_CLASS(TBevel, TControl)
public:
    explicit TBevel(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TBevel>& P);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    bool WidgetEvent(QEvent* Event) override;

private:
    void Paint();

    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};
