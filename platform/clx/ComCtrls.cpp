// Page control, status bar, header control, progress bar and tool bar. The
// list view and the tree view have their own files.
#include "clx/ComCtrls.h"
#include "clx/ImgList.h"
#include "clx/ItemModel.h"
#include "clx/Menus.h"
#include "clx/QtSupport.h"

#include <QtGui/QIcon>
#include <QtGui/QPixmap>
#include <QtGui/QStandardItemModel>
#include <QtWidgets/QFrame>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>

#include <algorithm>
#include <limits>

namespace {

Qt::Alignment QtAlignment(TAlignment Alignment) {
    Qt::Alignment horizontal = Alignment == taRightJustify ? Qt::AlignRight
                               : Alignment == taCenter     ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

[[noreturn]] void IndexError(Integer Index) {
    throw EListError(Format("List index out of bounds (%d)", {Index}));
}

// The margins of the page inside a page control: the tabs above it.
constexpr Integer PageMargin = 4;
constexpr Integer TabsHeight = 24;
constexpr Integer SeparatorWidth = 8;
// Room around a tool button's caption.
constexpr Integer CaptionMargin = 12;

// A caption as shown: "&&" is an ampersand, a single one marks the hot key.
QString ShownCaption(const AnsiString& Caption) {
    QString shown;
    for (std::size_t at = 0; at < Caption.size(); ++at) {
        if (Caption[at] == '&' && ++at == Caption.size())
            break;
        shown += QChar::fromLatin1(Caption[at]);
    }
    return shown;
}

} // namespace

// ---------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(0, 0, 200, 150);
}

TTabSheet::~TTabSheet() {
    if (FPageControl)
        FPageControl->RemovePage(this);
}

void TTabSheet::PublishedProperties(TPropertyBuilder<TTabSheet>& P) {
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    P.Property("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored(false);
    P.Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    SetParent(Value);
}

Integer TTabSheet::PageIndex() const {
    if (!FPageControl)
        return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<Integer>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(Integer Value) {
    if (FPageControl)
        FPageControl->MovePage(this, Value);
}

void TTabSheet::SetTabVisible(bool Value) {
    if (FTabVisible == Value)
        return;
    FTabVisible = Value;
    if (FPageControl)
        FPageControl->PageTabVisibleChanged(this);
}

// The parent decides whether the sheet is a page: the page control's list
// follows every change of parent, form files' included.
void TTabSheet::SetParent(TWinControl* AParent) {
    TWinControl::SetParent(AParent);
    auto* pageControl = dynamic_cast<TPageControl*>(AParent);
    if (pageControl == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    FPageControl = pageControl;
    if (pageControl)
        pageControl->InsertPage(this);
}

void TTabSheet::SetText(const AnsiString& Value) {
    if (Value == Text())
        return;
    TWinControl::SetText(Value);
    if (FPageControl)
        FPageControl->PageCaptionChanged(this);
}

void TTabSheet::DestroyHandle() {
    QSignalBlocker silence(FPageControl ? FPageControl->WidgetAs<QTabWidget>() : nullptr);
    TWinControl::DestroyHandle();
}

void TTabSheet::CreateHandle() {
    TWinControl::CreateHandle();
    if (FPageControl && FPageControl == Parent())
        FPageControl->SyncTabs();
}

void TTabSheet::UpdateWidgetBounds() {
    if (!FPageControl)
        TWinControl::UpdateWidgetBounds();
}

// ---------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

// The pages may outlive this part of the page control (destroyed with the
// controls it parents); they must not come back to it.
TPageControl::~TPageControl() {
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
    FPages.clear();
}

void TPageControl::PublishedProperties(TPropertyBuilder<TPageControl>& P) {
    P.Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnChange", &TPageControl::OnChange);
}

TTabSheet* TPageControl::Pages(Integer Index) const {
    if (Index < 0 || Index >= PageCount())
        IndexError(Index);
    return FPages[static_cast<std::size_t>(Index)];
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (Value && Value->FPageControl != this)
        throw EInvalidOperation(Format("%s is not a page of %s", {Value->Name(), Name()}));
    if (FActivePage == Value)
        return;
    FActivePage = Value;
    SyncTabs();
}

Integer TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(Integer Value) {
    SetActivePage(Value == -1 ? nullptr : Pages(Value));
}

void TPageControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (TTabSheet* page : FPages)
        if (page->Owner() == Root)
            Proc(page);
    for (Integer index = 0; index < ControlCount(); ++index) {
        TControl* control = Controls(index);
        bool isPage = std::find(FPages.begin(), FPages.end(), control) != FPages.end();
        if (!isPage && control->Owner() == Root)
            Proc(control);
    }
    TComponent::GetChildren(Proc, Root);
}

void TPageControl::Change() {
    if (OnChange)
        OnChange(this);
}

void TPageControl::InsertPage(TTabSheet* Page) {
    FPages.push_back(Page);
    AlignPage(Page);
    if (!FActivePage)
        FActivePage = Page;
    SyncTabs();
}

void TPageControl::RemovePage(TTabSheet* Page) {
    auto found = std::find(FPages.begin(), FPages.end(), Page);
    if (found == FPages.end())
        return;
    std::size_t index = static_cast<std::size_t>(found - FPages.begin());
    FPages.erase(found);
    if (FActivePage == Page)
        FActivePage = FPages.empty() ? nullptr : FPages[std::min(index, FPages.size() - 1)];
    SyncTabs();
}

void TPageControl::MovePage(TTabSheet* Page, Integer NewIndex) {
    auto found = std::find(FPages.begin(), FPages.end(), Page);
    FPages.erase(found);
    Integer target = std::clamp(NewIndex, 0, PageCount());
    FPages.insert(FPages.begin() + target, Page);
    SyncTabs();
}

void TPageControl::PageTabVisibleChanged(TTabSheet* Page) {
    if (Page == FActivePage && !Page->TabVisible()) {
        std::size_t start = static_cast<std::size_t>(Page->PageIndex());
        TTabSheet* next = nullptr;
        for (std::size_t step = 1; step < FPages.size() && !next; ++step) {
            TTabSheet* candidate = FPages[(start + step) % FPages.size()];
            if (candidate->TabVisible())
                next = candidate;
        }
        FActivePage = next;
    }
    SyncTabs();
}

void TPageControl::PageCaptionChanged(TTabSheet* Page) {
    auto* tabs = WidgetAs<QTabWidget>();
    if (!tabs || !Page->HandleAllocated())
        return;
    Integer index = tabs->indexOf(Page->Handle());
    if (index >= 0)
        tabs->setTabText(index, ToQString(Page->Caption()));
}

TRect TPageControl::DisplayRect() const {
    return Rect(PageMargin, TabsHeight, std::max(Width() - PageMargin, PageMargin),
                std::max(Height() - PageMargin, TabsHeight));
}

void TPageControl::AlignPage(TTabSheet* Page) {
    Page->SetBoundsRect(DisplayRect());
}

void TPageControl::Resize() {
    for (TTabSheet* page : FPages)
        AlignPage(page);
    TWinControl::Resize();
}

QWidget* TPageControl::CreateWidget(QWidget* ParentWidget) {
    return new QTabWidget(ParentWidget);
}

void TPageControl::CreateHandle() {
    TWinControl::CreateHandle();
    SyncTabs();
}

void TPageControl::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* tabs = WidgetAs<QTabWidget>();
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                     [this](int Index) { EventBoundary(this, [&] { TabChosen(Index); }); });
}

// Rebuilt whole: pages are few, and the order, the captions, the hidden
// tabs and the current page then always match the model.
void TPageControl::SyncTabs() {
    auto* tabs = WidgetAs<QTabWidget>();
    if (!tabs)
        return;
    QSignalBlocker silence(tabs);
    while (tabs->count() > 0)
        tabs->removeTab(0);
    for (TTabSheet* page : FPages) {
        if (!page->HandleAllocated())
            continue;
        int index = tabs->addTab(page->Handle(), ToQString(page->Caption()));
        tabs->setTabVisible(index, page->TabVisible());
    }
    if (FActivePage && FActivePage->HandleAllocated())
        tabs->setCurrentWidget(FActivePage->Handle());
}

void TPageControl::TabChosen(Integer TabIndex) {
    QWidget* chosen = WidgetAs<QTabWidget>()->widget(TabIndex);
    for (TTabSheet* page : FPages)
        if (page->HandleAllocated() && page->Handle() == chosen && page != FActivePage) {
            FActivePage = page;
            Change();
            return;
        }
}

// ---------------------------------------------------------------------------
// Status bar

void TStatusPanel::PublishedProperties(TPropertyBuilder<TStatusPanel>& P) {
    P.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
        .Default(taLeftJustify);
    P.Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
    P.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
    P.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth).Default(50);
}

void TStatusPanel::Assign(const TPersistent* Source) {
    const auto* panel = dynamic_cast<const TStatusPanel*>(Source);
    if (!panel) {
        TCollectionItem::Assign(Source);
        return;
    }
    FText = panel->FText;
    FWidth = panel->FWidth;
    FAlignment = panel->FAlignment;
    FStyle = panel->FStyle;
    Changed(false);
}

void TStatusPanel::SetText(const AnsiString& Value) {
    if (FText == Value)
        return;
    FText = Value;
    Changed(false);
}

void TStatusPanel::SetWidth(Integer Value) {
    if (FWidth == Value)
        return;
    FWidth = Value;
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    Changed(false);
}

AnsiString TStatusPanel::GetDisplayName() const {
    return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
}

TStatusPanels::TStatusPanels(TStatusBar* AStatusBar)
    : TOwnedCollection(AStatusBar, TStatusPanel::StaticClass()), FStatusBar(AStatusBar) {}

void TStatusPanels::Update(TCollectionItem* Item) {
    FStatusBar->PanelsChanged(static_cast<TStatusPanel*>(Item));
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::PublishedProperties(TPropertyBuilder<TStatusBar>& P) {
    P.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alBottom);
    P.Property("AutoHint", &TStatusBar::AutoHint, &TStatusBar::SetAutoHint).Default(false);
    P.Property("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
    P.Property("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(false);
    P.Property("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
}

void TStatusBar::SetSimplePanel(bool Value) {
    if (FSimplePanel == Value)
        return;
    FSimplePanel = Value;
    PushSimple();
}

void TStatusBar::ShowApplicationHint(const AnsiString& Hint) {
    if (FSimplePanel || FPanels->Count() == 0)
        SetSimpleText(Hint);
    else
        FPanels->Items(0)->SetText(Hint);
}

void TStatusBar::SetSimpleText(const AnsiString& Value) {
    if (FSimpleText == Value)
        return;
    FSimpleText = Value;
    PushSimple();
}

void TStatusBar::PanelsChanged(TStatusPanel* Panel) {
    if (!HandleAllocated())
        return;
    if (Panel)
        PushPanel(Panel->Index());
    else
        RebuildPanels();
}

QWidget* TStatusBar::CreateWidget(QWidget* ParentWidget) {
    auto* bar = new QStatusBar(ParentWidget);
    bar->setSizeGripEnabled(false);
    return bar;
}

void TStatusBar::UpdateWidget() {
    TWinControl::UpdateWidget();
    RebuildPanels();
    PushSimple();
}

namespace {

QString PanelLabelName(Integer Index) {
    return QString("Panel%1").arg(Index);
}

} // namespace

void TStatusBar::RebuildPanels() {
    auto* bar = WidgetAs<QStatusBar>();
    qDeleteAll(bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly));
    for (Integer index = 0; index < FPanels->Count(); ++index) {
        auto* label = new QLabel(bar);
        label->setObjectName(PanelLabelName(index));
        label->setTextFormat(Qt::PlainText);
        bool last = index == FPanels->Count() - 1;
        bar->addWidget(label, last ? 1 : 0);
        PushPanel(index);
    }
}

void TStatusBar::PushPanel(Integer Index) {
    auto* bar = WidgetAs<QStatusBar>();
    auto* label = bar->findChild<QLabel*>(PanelLabelName(Index), Qt::FindDirectChildrenOnly);
    if (!label)
        return;
    TStatusPanel* panel = FPanels->Items(Index);
    label->setText(ToQString(panel->Text()));
    label->setAlignment(QtAlignment(panel->Alignment()));
    if (Index == FPanels->Count() - 1)
        label->setMinimumWidth(std::max(panel->Width(), 0));
    else
        label->setFixedWidth(std::max(panel->Width(), 0));
}

// A simple bar shows its text as the bar's message, which hides the panels.
void TStatusBar::PushSimple() {
    auto* bar = WidgetAs<QStatusBar>();
    if (!bar)
        return;
    if (FSimplePanel)
        bar->showMessage(ToQString(FSimpleText));
    else
        bar->clearMessage();
}

// ---------------------------------------------------------------------------
// Header control

void THeaderSection::PublishedProperties(TPropertyBuilder<THeaderSection>& P) {
    P.Property("Alignment", &THeaderSection::Alignment, &THeaderSection::SetAlignment)
        .Default(taLeftJustify);
    P.Property("MaxWidth", &THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth).Default(10000);
    P.Property("MinWidth", &THeaderSection::MinWidth, &THeaderSection::SetMinWidth).Default(0);
    P.Property("Text", &THeaderSection::Text, &THeaderSection::SetText);
    P.Property("Width", &THeaderSection::Width, &THeaderSection::SetWidth);
}

void THeaderSection::Assign(const TPersistent* Source) {
    const auto* section = dynamic_cast<const THeaderSection*>(Source);
    if (!section) {
        TCollectionItem::Assign(Source);
        return;
    }
    FText = section->FText;
    FMinWidth = section->FMinWidth;
    FMaxWidth = section->FMaxWidth;
    FWidth = section->FWidth;
    FAlignment = section->FAlignment;
    Changed(false);
}

void THeaderSection::SetText(const AnsiString& Value) {
    if (FText == Value)
        return;
    FText = Value;
    Changed(false);
}

void THeaderSection::SetWidth(Integer Value) {
    Value = std::max(std::min(Value, FMaxWidth), FMinWidth);
    if (FWidth == Value)
        return;
    FWidth = Value;
    // The sections after this one move.
    Changed(true);
}

void THeaderSection::SetMinWidth(Integer Value) {
    FMinWidth = Value;
    if (FWidth < Value)
        SetWidth(Value);
}

void THeaderSection::SetMaxWidth(Integer Value) {
    FMaxWidth = Value;
    if (FWidth > Value)
        SetWidth(Value);
}

void THeaderSection::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Changed(false);
}

Integer THeaderSection::Left() const {
    Integer left = 0;
    for (Integer index = 0; index < Index(); ++index)
        left += static_cast<THeaderSection*>(Collection()->Items(index))->Width();
    return left;
}

AnsiString THeaderSection::GetDisplayName() const {
    return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
}

THeaderSections::THeaderSections(THeaderControl* AHeaderControl)
    : TOwnedCollection(AHeaderControl, THeaderSection::StaticClass()),
      FHeaderControl(AHeaderControl) {}

void THeaderSections::Update(TCollectionItem* Item) {
    FHeaderControl->SectionsChanged(static_cast<THeaderSection*>(Item));
}

THeaderControl::THeaderControl(TComponent* AOwner)
    : TWinControl(AOwner), FSections(std::make_unique<THeaderSections>(this)) {
    SetBounds(0, 0, 300, 17);
    SetAlign(alTop);
}

THeaderControl::~THeaderControl() = default;

void THeaderControl::PublishedProperties(TPropertyBuilder<THeaderControl>& P) {
    P.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alTop);
    P.Property("Sections", &THeaderControl::Sections, &THeaderControl::SetSections);
    P.Property("OnSectionClick", &THeaderControl::OnSectionClick);
    P.Property("OnSectionResize", &THeaderControl::OnSectionResize);
}

void THeaderControl::SectionClick(THeaderSection* Section) {
    if (OnSectionClick)
        OnSectionClick(this, Section);
}

void THeaderControl::SectionResize(THeaderSection* Section) {
    if (OnSectionResize)
        OnSectionResize(this, Section);
}

void THeaderControl::SectionsChanged(THeaderSection* Section) {
    if (!HandleAllocated())
        return;
    if (Section)
        PushSection(Section->Index());
    else
        RebuildSections();
}

QWidget* THeaderControl::CreateWidget(QWidget* ParentWidget) {
    auto* header = new QHeaderView(Qt::Horizontal, ParentWidget);
    header->setModel(new QStandardItemModel(header));
    header->setSectionsClickable(true);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    return header;
}

void THeaderControl::UpdateWidget() {
    TWinControl::UpdateWidget();
    RebuildSections();
}

void THeaderControl::RebuildSections() {
    auto* header = WidgetAs<QHeaderView>();
    QSignalBlocker silence(header);
    auto* model = static_cast<QStandardItemModel*>(header->model());
    model->setColumnCount(FSections->Count());
    for (Integer index = 0; index < FSections->Count(); ++index)
        PushSection(index);
}

void THeaderControl::PushSection(Integer Index) {
    auto* header = WidgetAs<QHeaderView>();
    QSignalBlocker silence(header);
    THeaderSection* section = FSections->Items(Index);
    QAbstractItemModel* model = header->model();
    model->setHeaderData(Index, Qt::Horizontal, ToQString(section->Text()), Qt::DisplayRole);
    model->setHeaderData(Index, Qt::Horizontal, static_cast<int>(QtAlignment(section->Alignment())),
                         Qt::TextAlignmentRole);
    header->resizeSection(Index, section->Width());
}

void THeaderControl::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* header = WidgetAs<QHeaderView>();
    QObject::connect(header, &QHeaderView::sectionClicked, header, [this](int Index) {
        EventBoundary(this, [&] { SectionClick(FSections->Items(Index)); });
    });
    QObject::connect(header, &QHeaderView::sectionResized, header,
                     [this](int Index, int, int NewWidth) {
                         EventBoundary(this, [&] { SectionResized(Index, NewWidth); });
                     });
}

// The user's width, kept within the section's limits (the widget is told
// when the limits changed it).
void THeaderControl::SectionResized(Integer Index, Integer NewWidth) {
    THeaderSection* section = FSections->Items(Index);
    section->SetWidth(NewWidth);
    if (section->Width() != NewWidth)
        PushSection(Index);
    SectionResize(section);
}

// ---------------------------------------------------------------------------
// Progress bar

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::PublishedProperties(TPropertyBuilder<TProgressBar>& P) {
    P.Property("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
    P.Property("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
    P.Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
    P.Property("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
}

void TProgressBar::SetMin(Integer Value) {
    if (FMin == Value)
        return;
    FMin = Value;
    FPosition = std::max(FPosition, FMin);
    PushRange();
}

void TProgressBar::SetMax(Integer Value) {
    if (FMax == Value)
        return;
    FMax = Value;
    FPosition = std::max(std::min(FPosition, FMax), FMin);
    PushRange();
}

void TProgressBar::SetPosition(Integer Value) {
    Value = std::max(std::min(Value, FMax), FMin);
    if (FPosition == Value)
        return;
    FPosition = Value;
    if (auto* bar = WidgetAs<QProgressBar>())
        bar->setValue(FPosition);
}

void TProgressBar::StepIt() {
    StepBy(FStep);
}

void TProgressBar::StepBy(Integer Delta) {
    Int64 next = static_cast<Int64>(FPosition) + Delta;
    SetPosition(next > FMax ? FMin : static_cast<Integer>(std::max<Int64>(next, FMin)));
}

QWidget* TProgressBar::CreateWidget(QWidget* ParentWidget) {
    return new QProgressBar(ParentWidget);
}

void TProgressBar::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushRange();
}

// An empty range shows an empty bar: Qt would draw its busy indicator, a
// full animated bar, for a count of nothing.
void TProgressBar::PushRange() {
    if (auto* bar = WidgetAs<QProgressBar>()) {
        bar->setRange(FMin, std::max(FMin + 1, FMax));
        bar->setValue(FPosition);
    }
}

// ---------------------------------------------------------------------------
// Tool buttons

TToolButton::TToolButton(TComponent* AOwner) : TControl(AOwner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 23, 22);
}

void TToolButton::PublishedProperties(TPropertyBuilder<TToolButton>& P) {
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    P.Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false);
    P.Property("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu)
        .TypeName("TPopupMenu");
    P.Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(false);
    P.Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
        .TypeName("TImageIndex")
        .Default(-1);
    P.Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
}

TToolBar* TToolButton::ToolBar() const {
    return dynamic_cast<TToolBar*>(Parent());
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
    if (FStyle == Value)
        return;
    bool wasSeparator = IsSeparator();
    FStyle = Value;
    if (wasSeparator != IsSeparator() && HandleAllocated()) {
        // A separator is another kind of widget.
        DestroyHandle();
        HandleNeeded();
    } else {
        PushState();
    }
    if (TToolBar* toolBar = ToolBar())
        toolBar->ArrangeButtons();
}

void TToolButton::SetImageIndex(Integer Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    PushImage();
}

void TToolButton::SetDropdownMenu(TComponent* Value) {
    if (Value && !dynamic_cast<TPopupMenu*>(Value))
        throw EInvalidOperation(Format("'%s' is not a popup menu", {Value->Name()}));
    ReplaceComponentReference(this, FDropdownMenu, Value);
    PushDropdownMenu();
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropdownMenu)
        SetDropdownMenu(nullptr);
}

std::unique_ptr<TControlActionLink> TToolButton::CreateActionLink() {
    return std::make_unique<TToolButtonActionLink>(this);
}

TToolButtonActionLink::TToolButtonActionLink(TToolButton* AClient)
    : TControlActionLink(AClient), FButton(AClient) {}

void TToolButtonActionLink::SetChecked(bool Value) {
    FButton->SetDown(Value);
}

void TToolButtonActionLink::SetImageIndex(Integer Value) {
    FButton->SetImageIndex(Value);
}

void TToolButton::SetDown(bool Value) {
    if (FDown == Value)
        return;
    FDown = Value;
    if (Value && FGrouped && FStyle == tbsCheck)
        for (TToolButton* other : Group())
            if (other != this && other->FDown) {
                other->FDown = false;
                other->PushState();
            }
    PushState();
}

void TToolButton::SetGrouped(bool Value) {
    FGrouped = Value;
}

Integer TToolButton::Index() const {
    TToolBar* toolBar = ToolBar();
    if (!toolBar)
        return -1;
    std::vector<TToolButton*> buttons = toolBar->ButtonList();
    return static_cast<Integer>(std::find(buttons.begin(), buttons.end(), this) - buttons.begin());
}

std::vector<TToolButton*> TToolButton::Group() const {
    TToolBar* toolBar = ToolBar();
    auto inGroup = [](const TToolButton* Button) {
        return Button->FGrouped && Button->FStyle == tbsCheck;
    };
    if (!toolBar || !inGroup(this))
        return {const_cast<TToolButton*>(this)};
    std::vector<TToolButton*> buttons = toolBar->ButtonList();
    auto self = std::find(buttons.begin(), buttons.end(), this);
    auto first = self;
    while (first != buttons.begin() && inGroup(*std::prev(first)))
        --first;
    auto last = std::next(self);
    while (last != buttons.end() && inGroup(*last))
        ++last;
    return {first, last};
}

void TToolButton::SetParent(TWinControl* AParent) {
    TToolBar* previous = ToolBar();
    TControl::SetParent(AParent);
    if (previous && previous != AParent && !previous->ComponentState().Contains(csDestroying))
        previous->ArrangeButtons();
    if (TToolBar* toolBar = ToolBar())
        toolBar->ArrangeButtons();
}

// A grouped check button that is down stays down.
void TToolButton::UserClick() {
    if (FStyle == tbsCheck && !(FGrouped && FDown))
        SetDown(!FDown);
    else
        PushState();
    Click();
}

QWidget* TToolButton::CreateWidget(QWidget* ParentWidget) {
    if (!IsSeparator())
        return new QToolButton(ParentWidget);
    auto* separator = new QFrame(ParentWidget);
    if (FStyle == tbsDivider)
        separator->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    return separator;
}

void TToolButton::UpdateWidget() {
    TControl::UpdateWidget();
    PushState();
}

void TToolButton::UpdateWidgetText() {
    if (auto* button = qobject_cast<QToolButton*>(WidgetAs<QWidget>()))
        button->setText(ToQString(Caption()));
    if (TToolBar* toolBar = ToolBar(); toolBar && toolBar->ShowCaptions())
        toolBar->ArrangeButtons();
}

void TToolButton::VisibleChanged() {
    TControl::VisibleChanged();
    if (TToolBar* toolBar = ToolBar())
        toolBar->ArrangeButtons();
}

void TToolButton::ConnectWidget() {
    TControl::ConnectWidget();
    if (auto* button = qobject_cast<QToolButton*>(WidgetAs<QWidget>()))
        QObject::connect(button, &QToolButton::clicked, button,
                         [this] { EventBoundary(this, [this] { UserClick(); }); });
}

void TToolButton::PushState() {
    auto* button = qobject_cast<QToolButton*>(WidgetAs<QWidget>());
    if (!button)
        return;
    QSignalBlocker silence(button);
    TToolBar* toolBar = ToolBar();
    button->setCheckable(FStyle == tbsCheck);
    if (FStyle == tbsCheck)
        button->setChecked(FDown);
    else
        button->setDown(FDown);
    button->setAutoRaise(toolBar && toolBar->Flat());
    PushImage();
    PushDropdownMenu();
}

void TToolButton::PushImage() {
    auto* button = qobject_cast<QToolButton*>(WidgetAs<QWidget>());
    if (!button)
        return;
    TToolBar* toolBar = ToolBar();
    QVariant image = ItemImage(toolBar ? toolBar->Images() : nullptr, FImageIndex, nullptr, -1);
    button->setIcon(image.isNull() ? QIcon() : QIcon(image.value<QPixmap>()));
    if (!image.isNull())
        button->setIconSize(image.value<QPixmap>().size());
    bool captions = toolBar && toolBar->ShowCaptions();
    button->setToolButtonStyle(!captions        ? Qt::ToolButtonIconOnly
                               : image.isNull() ? Qt::ToolButtonTextOnly
                                                : Qt::ToolButtonTextUnderIcon);
}

void TToolButton::PushDropdownMenu() {
    auto* button = qobject_cast<QToolButton*>(WidgetAs<QWidget>());
    if (!button)
        return;
    auto* menu = dynamic_cast<TPopupMenu*>(FDropdownMenu);
    bool dropDown = menu && FStyle == tbsDropDown && !ComponentState().Contains(csDesigning);
    button->setMenu(dropDown ? menu->Handle() : nullptr);
    button->setPopupMode(dropDown ? QToolButton::MenuButtonPopup : QToolButton::DelayedPopup);
}

// ---------------------------------------------------------------------------
// Tool bar

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

void TToolBar::PublishedProperties(TPropertyBuilder<TToolBar>& P) {
    P.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alTop);
    P.Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
    P.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
    P.Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false);
    P.Property("Images", &TToolBar::Images, &TToolBar::SetImages);
    P.Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false);
}

std::vector<TToolButton*> TToolBar::ButtonList() const {
    std::vector<TToolButton*> buttons;
    for (Integer index = 0; index < ControlCount(); ++index)
        if (auto* button = dynamic_cast<TToolButton*>(Controls(index)))
            buttons.push_back(button);
    return buttons;
}

Integer TToolBar::ButtonCount() const {
    return static_cast<Integer>(ButtonList().size());
}

TToolButton* TToolBar::Buttons(Integer Index) const {
    std::vector<TToolButton*> buttons = ButtonList();
    if (Index < 0 || Index >= static_cast<Integer>(buttons.size()))
        IndexError(Index);
    return buttons[static_cast<std::size_t>(Index)];
}

void TToolBar::SetButtonHeight(Integer Value) {
    if (FButtonHeight == Value)
        return;
    FButtonHeight = Value;
    ArrangeButtons();
}

void TToolBar::SetButtonWidth(Integer Value) {
    if (FButtonWidth == Value)
        return;
    FButtonWidth = Value;
    ArrangeButtons();
}

void TToolBar::SetShowCaptions(bool Value) {
    if (FShowCaptions == Value)
        return;
    FShowCaptions = Value;
    PushButtons();
    ArrangeButtons();
}

void TToolBar::SetFlat(bool Value) {
    if (FFlat == Value)
        return;
    FFlat = Value;
    PushButtons();
}

void TToolBar::SetImages(TCustomImageList* Value) {
    ReplaceComponentReference(this, FImages, Value);
    PushButtons();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        SetImages(nullptr);
}

// With captions shown every button is as wide as the widest caption needs,
// when that is more than ButtonWidth (text is measured only where widgets
// can be shown).
// With captions every button is as wide as the widest caption, but not so
// wide that a shown button falls off the bar's end: a button out of reach
// is worse than a caption cut short.
Integer TToolBar::CaptionedButtonWidth() const {
    Integer width = FButtonWidth;
    if (!FShowCaptions || !WidgetsAvailable())
        return width;
    QFontMetrics metrics(FontToQFont(*Font()));
    Integer buttons = 0;
    Integer room = Width();
    for (TToolButton* button : ButtonList()) {
        if (!button->Visible())
            continue;
        if (button->IsSeparator()) {
            room -= SeparatorWidth;
            continue;
        }
        ++buttons;
        width = std::max<Integer>(
            width, metrics.horizontalAdvance(ShownCaption(button->Caption())) + CaptionMargin);
    }
    if (buttons > 0 && room > 0)
        width = std::max(FButtonWidth, std::min(width, room / buttons));
    return width;
}

// Hidden buttons leave no gap.
void TToolBar::ArrangeButtons() {
    if (ComponentState().Contains(csLoading))
        return;
    const Integer buttonWidth = CaptionedButtonWidth();
    Integer left = 0;
    for (TToolButton* button : ButtonList()) {
        if (!button->Visible())
            continue;
        Integer width = button->IsSeparator() ? SeparatorWidth : buttonWidth;
        button->SetBounds(left, 0, width, FButtonHeight);
        left += width;
    }
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    ArrangeButtons();
}

void TToolBar::Resize() {
    ArrangeButtons();
    TWinControl::Resize();
}

QWidget* TToolBar::CreateWidget(QWidget* ParentWidget) {
    // The buttons are placed by the component, not by the tool bar's layout.
    auto* toolBar = new QToolBar(ParentWidget);
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    return toolBar;
}

void TToolBar::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushButtons();
}

void TToolBar::PushButtons() {
    for (TToolButton* button : ButtonList())
        button->PushState();
}

// ---------------------------------------------------------------------------
// Item data

void TItemDataWriter::WriteInteger(Integer Value) {
    auto bits = static_cast<Cardinal>(Value);
    Byte bytes[4] = {Byte(bits), Byte(bits >> 8), Byte(bits >> 16), Byte(bits >> 24)};
    FStream.WriteBuffer(bytes, 4);
}

void TItemDataWriter::WriteByte(Byte Value) {
    FStream.WriteBuffer(&Value, 1);
}

void TItemDataWriter::WriteText(const AnsiString& Value) {
    if (Value.size() > static_cast<std::size_t>(std::numeric_limits<Integer>::max()))
        throw EWriteError("Text too long for item data");
    WriteInteger(static_cast<Integer>(Value.size()));
    FStream.WriteBuffer(Value.data(), static_cast<Integer>(Value.size()));
}

Int64 TItemDataReader::Remaining() const {
    return FStream.Size() - FStream.Position();
}

void TItemDataReader::Error() const {
    throw EReadError(Format("Invalid %s data", {FWhat}));
}

Integer TItemDataReader::ReadInteger() {
    if (Remaining() < 4)
        Error();
    Byte bytes[4];
    FStream.ReadBuffer(bytes, 4);
    return static_cast<Integer>(Cardinal(bytes[0]) | Cardinal(bytes[1]) << 8 |
                                Cardinal(bytes[2]) << 16 | Cardinal(bytes[3]) << 24);
}

Byte TItemDataReader::ReadByte() {
    if (Remaining() < 1)
        Error();
    Byte value;
    FStream.ReadBuffer(&value, 1);
    return value;
}

AnsiString TItemDataReader::ReadText() {
    Integer length = ReadInteger();
    if (length < 0 || length > Remaining())
        Error();
    AnsiString text(static_cast<std::size_t>(length), '\0');
    if (length > 0)
        FStream.ReadBuffer(text.data(), length);
    return text;
}

Integer TItemDataReader::ReadCount(Integer MinRecordSize) {
    Integer count = ReadInteger();
    if (count < 0 || static_cast<Int64>(count) * MinRecordSize > Remaining())
        Error();
    return count;
}

void TItemDataReader::CheckEnd() {
    if (Remaining() != 0)
        Error();
}
