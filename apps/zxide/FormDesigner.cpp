#include "FormDesigner.h"

#include "IdeCommands.h"

#include "designide/DesignEditors.h"

#include "clx/Controls.h"

#include <QtCore/QTimer>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QShortcut>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>

// The marks around the selected control, drawn over the form; clicks go
// through it.
class TSelectionFrame : public QWidget {
public:
    explicit TSelectionFrame(QWidget* Parent) : QWidget(Parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0, 0, 128), 1, Qt::DashLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
        const int size = 5;
        for (QPoint corner : {QPoint(0, 0), QPoint(width() - size, 0), QPoint(0, height() - size),
                              QPoint(width() - size, height() - size)})
            painter.fillRect(QRect(corner, QSize(size, size)), QColor(0, 0, 128));
    }
};

class TFormDesigner::TNotifier : public TInterfacedObject, public IOTAFormNotifier {
public:
    explicit TNotifier(TFormDesigner* Designer) : FDesigner(Designer) {}
    bool QueryInterface(const TGUID&, void** Obj) override {
        *Obj = nullptr;
        return false;
    }
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }
    void AfterSave() override { Tell(&TFormDesigner::FormModified); }
    void BeforeSave() override {}
    void Destroyed() override { Tell(&TFormDesigner::FormDestroyed); }
    void Modified() override { Tell(&TFormDesigner::FormModified); }
    void FormActivated() override {}
    void FormSaving() override {}
    void ComponentRenamed(TComponent* Component, const AnsiString& OldName,
                          const AnsiString& NewName) override {
        if (FDesigner && NewName.empty() && !OldName.empty())
            FDesigner->ComponentGoing(Component);
        Tell(&TFormDesigner::FormModified);
    }
    void Forget() { FDesigner = nullptr; }

private:
    void Tell(void (TFormDesigner::*Call)()) {
        if (FDesigner)
            (FDesigner->*Call)();
    }
    TFormDesigner* FDesigner;
};

namespace {

QVariant ComponentData(TComponent* Component) {
    return QVariant::fromValue(reinterpret_cast<quintptr>(Component));
}

TComponent* ComponentOfItem(const QTreeWidgetItem* Item) {
    return Item ? reinterpret_cast<TComponent*>(Item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

QString Describe(TComponent* Component) {
    return QString::fromStdString(Component->Name() + ": " + Component->ClassName());
}

// Shown as a tile: a component that is no control and no part of another
// (menu items belong to their menu).
bool IsTileComponent(TComponent* Component) {
    return !dynamic_cast<TControl*>(Component) && !Component->HasParent();
}

} // namespace

TFormDesigner::TFormDesigner(_di_TDesignModule Module, QWidget* Parent)
    : QWidget(Parent), FModule(std::move(Module)), FDesigner(FModule->GetFormDesigner()),
      FRoot(FModule->GetRoot()), FTree(new QTreeWidget), FCaption(new QLabel),
      FHolder(new QWidget), FTiles(new QWidget) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* splitter = new QSplitter(this);
    layout->addWidget(splitter);
    FTree->setHeaderHidden(true);
    splitter->addWidget(FTree);

    auto* canvas = new QWidget;
    canvas->setAutoFillBackground(true);
    canvas->setPalette(QPalette(QColor(0x80, 0x80, 0x80)));
    auto* column = new QVBoxLayout(canvas);
    column->setSpacing(0);
    FCaption->setAutoFillBackground(true);
    FCaption->setPalette(QPalette(QColor(0x0a, 0x24, 0x6a)));
    FCaption->setStyleSheet(QStringLiteral("color: white; padding: 3px; font-weight: bold"));
    column->addWidget(FCaption);
    column->addWidget(FHolder);
    FHolder->setAutoFillBackground(true);
    FHolder->setPalette(QPalette(Qt::white));
    auto* tileRow = new QHBoxLayout(FTiles);
    tileRow->setContentsMargins(0, 6, 0, 0);
    tileRow->addStretch();
    column->addWidget(FTiles);
    column->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setWidget(canvas);
    scroll->setWidgetResizable(true);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 700});

    EmbedForm();
    FFrame = new TSelectionFrame(FHolder);
    // The arrow keys select as the mouse does.
    QObject::connect(FTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* Item) {
        if (Item)
            Select(ComponentOfItem(Item));
    });
    QObject::connect(FTree, &QTreeWidget::itemDoubleClicked, this,
                     [this](QTreeWidgetItem* Item, int) { EditComponent(ComponentOfItem(Item)); });
    FTree->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(FTree, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& At) {
        if (TComponent* component = ComponentOfItem(FTree->itemAt(At))) {
            Select(component);
            ShowComponentMenu(component, FTree->viewport()->mapToGlobal(At));
        }
    });
    qApp->installEventFilter(this);
    FNotifier = DelphiInterface<TNotifier>(new TNotifier(this));
    FNotifierIndex = FModule->AddNotifier(FNotifier.get());
    Refresh();
}

TFormDesigner::~TFormDesigner() {
    qApp->removeEventFilter(this);
    FNotifier->Forget();
    if (FModule->IsOpen())
        FModule->RemoveNotifier(FNotifierIndex);
    // The form's widget goes the platform's way, before its holder takes it.
    if (auto* form = dynamic_cast<TCustomForm*>(FRoot))
        form->DestroyHandle();
}

void TFormDesigner::EmbedForm() {
    auto* form = dynamic_cast<TCustomForm*>(FRoot);
    if (!form) {
        FHolder->setFixedSize(320, 200);
        return;
    }
    QWidget* widget = form->Handle();
    widget->setParent(FHolder);
    widget->move(0, 0);
    widget->show();
    widget->installEventFilter(this);
    FFormWidget = widget;
    FHolder->setFixedSize(widget->size());
}

void TFormDesigner::Select(TComponent* Component) {
    FSelection = Component ? Component : FRoot;
    PlaceFrame();
    for (QTreeWidgetItemIterator each(FTree); *each; ++each)
        if (ComponentOfItem(*each) == FSelection) {
            QSignalBlocker quiet(FTree);
            FTree->setCurrentItem(*each);
        }
    for (auto& [tile, component] : FTileList)
        static_cast<QToolButton*>(tile)->setChecked(component == FSelection);
    if (OnSelect)
        OnSelect(FSelection);
}

void TFormDesigner::PlaceFrame() {
    auto* control = dynamic_cast<TControl*>(FSelection);
    if (!control || FSelection == FRoot || !control->HandleAllocated()) {
        FFrame->hide();
        return;
    }
    QWidget* widget = control->Handle();
    FFrame->setGeometry(QRect(widget->mapTo(FHolder, QPoint(0, 0)), widget->size()).adjusted(-3, -3, 3, 3));
    FFrame->show();
    FFrame->raise();
}

QWidget* TFormDesigner::WidgetOf(TComponent* Component) const {
    for (const auto& [tile, component] : FTileList)
        if (component == Component)
            return tile;
    auto* control = dynamic_cast<TControl*>(Component);
    return control && control->HandleAllocated() ? control->Handle() : nullptr;
}

void TFormDesigner::FormModified() { ScheduleRefresh(); }

void TFormDesigner::ComponentGoing(TComponent* Component) {
    // Nothing may point at it once it is gone.
    FTree->clear();
    for (auto& entry : FTileList)
        if (entry.second == Component) {
            entry.first->deleteLater();
            entry.second = nullptr;
        }
    std::erase_if(FTileList, [](const auto& E) { return E.second == nullptr; });
    if (FSelection == Component)
        Select(FRoot);
    ScheduleRefresh();
}

void TFormDesigner::FormDestroyed() {
    FTree->clear();
    for (auto& entry : FTileList)
        entry.first->deleteLater();
    FTileList.clear();
    FSelection = nullptr;
    FRoot = nullptr;
    FFrame->hide();
    if (OnSelect)
        OnSelect(nullptr);
}

void TFormDesigner::ScheduleRefresh() {
    if (FRefreshPending)
        return;
    FRefreshPending = true;
    QTimer::singleShot(0, this, [this] { Refresh(); });
}

void TFormDesigner::Refresh() {
    FRefreshPending = false;
    if (!FRoot)
        return;
    auto* form = dynamic_cast<TCustomForm*>(FRoot);
    FCaption->setText(QString::fromStdString(form ? form->Caption() : FRoot->Name()));
    if (FFormWidget)
        FHolder->setFixedSize(FFormWidget->size());
    FCaption->setFixedWidth(FHolder->width());
    SilenceFormShortcuts();
    RebuildTree();
    RebuildTiles();
    if (FSelection != FRoot && (!FSelection || FSelection->Owner() != FRoot))
        FSelection = FRoot;
    Select(FSelection);
    if (OnChange)
        OnChange();
}

// The form's own keys (a default button's Enter, a cancel button's Escape,
// its menu's shortcuts) belong to the running program: in the designer they
// would take what the user types into the inspector or the edit window.
void TFormDesigner::SilenceFormShortcuts() {
    if (!FFormWidget)
        return;
    for (QShortcut* shortcut : FFormWidget->findChildren<QShortcut*>())
        shortcut->setEnabled(false);
    for (QAction* action : FFormWidget->findChildren<QAction*>())
        action->setShortcutContext(Qt::WidgetShortcut);
}

void TFormDesigner::RebuildTree() {
    FTree->clear();
    auto* top = new QTreeWidgetItem(FTree, {Describe(FRoot)});
    top->setData(0, Qt::UserRole, ComponentData(FRoot));
    std::function<void(TWinControl*, QTreeWidgetItem*)> addChildren = [&](TWinControl* Parent,
                                                                          QTreeWidgetItem* Item) {
        for (Integer index = 0; index < Parent->ControlCount(); ++index) {
            TControl* control = Parent->Controls(index);
            auto* child = new QTreeWidgetItem(Item, {Describe(control)});
            child->setData(0, Qt::UserRole, ComponentData(control));
            if (auto* container = dynamic_cast<TWinControl*>(control))
                addChildren(container, child);
        }
    };
    if (auto* container = dynamic_cast<TWinControl*>(FRoot))
        addChildren(container, top);
    for (Integer index = 0; index < FRoot->ComponentCount(); ++index)
        if (IsTileComponent(FRoot->Components(index))) {
            auto* item = new QTreeWidgetItem(top, {Describe(FRoot->Components(index))});
            item->setData(0, Qt::UserRole, ComponentData(FRoot->Components(index)));
        }
    FTree->expandAll();
}

void TFormDesigner::RebuildTiles() {
    // A tile may be the receiver of the click being handled.
    for (auto& entry : FTileList) {
        entry.first->hide();
        entry.first->deleteLater();
    }
    FTileList.clear();
    auto* row = static_cast<QHBoxLayout*>(FTiles->layout());
    for (Integer index = 0; index < FRoot->ComponentCount(); ++index) {
        TComponent* component = FRoot->Components(index);
        if (!IsTileComponent(component))
            continue;
        auto* tile = new QToolButton(FTiles);
        tile->setText(QString::fromStdString(component->Name() + "\n" + component->ClassName()));
        tile->setToolButtonStyle(Qt::ToolButtonTextOnly);
        tile->setCheckable(true);
        row->insertWidget(row->count() - 1, tile);
        FTileList.emplace_back(tile, component);
    }
}

bool TFormDesigner::InDesignSurface(QWidget* Widget) const {
    return Widget == FHolder || FHolder->isAncestorOf(Widget) || Widget == FTiles ||
           FTiles->isAncestorOf(Widget);
}

TComponent* TFormDesigner::ComponentAt(QWidget* Widget) const {
    for (QWidget* each = Widget; each && each != FHolder; each = each->parentWidget()) {
        for (const auto& [tile, component] : FTileList)
            if (tile == each)
                return component;
        for (Integer index = 0; index < FRoot->ComponentCount(); ++index) {
            auto* control = dynamic_cast<TControl*>(FRoot->Components(index));
            if (control && control->HandleAllocated() && control->Handle() == each)
                return control;
        }
    }
    return FRoot;
}

bool TFormDesigner::eventFilter(QObject* Watched, QEvent* Event) {
    // The form stays at the holder's corner, wherever its Left and Top put
    // it on the screen; the holder takes its size.
    if (Watched == FFormWidget.data() && Event->type() == QEvent::Move) {
        if (FFormWidget->pos() != QPoint(0, 0))
            FFormWidget->move(0, 0);
        return false;
    }
    if (Watched == FFormWidget.data() && Event->type() == QEvent::Resize) {
        FHolder->setFixedSize(FFormWidget->size());
        return false;
    }
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        break;
    default:
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(Watched);
    if (!widget || !FRoot || !InDesignSurface(widget))
        return false;
    if (auto* mouse = dynamic_cast<QMouseEvent*>(Event))
        return MouseEvent(widget, mouse);
    return true;
}

bool TFormDesigner::MouseEvent(QWidget* Widget, QMouseEvent* Event) {
    TComponent* under = ComponentAt(Widget);
    const QPoint global = Event->globalPosition().toPoint();
    if (Event->type() == QEvent::MouseButtonPress && Event->button() == Qt::LeftButton) {
        TClass dropped = TakeDropClass ? TakeDropClass() : nullptr;
        if (dropped)
            DropAt(dropped, under, global);
        else
            Select(under);
    } else if (Event->type() == QEvent::MouseButtonPress && Event->button() == Qt::RightButton) {
        Select(under);
        ShowComponentMenu(under, global);
    } else if (Event->type() == QEvent::MouseButtonDblClick && Event->button() == Qt::LeftButton) {
        EditComponent(under);
    }
    return true;
}

void TFormDesigner::DropAt(TClass ComponentClass, TComponent* Under, const QPoint& Global) {
    TWinControl* parent = nullptr;
    for (auto* control = dynamic_cast<TControl*>(Under); control && !parent; control = control->Parent())
        if (auto* container = dynamic_cast<TWinControl*>(control);
            container && (container->ControlStyle().Contains(csAcceptsControls) || control == FRoot))
            parent = container;
    QPoint at(0, 0);
    if (parent) {
        QWidget* widget = parent->Handle();
        at = widget->mapFromGlobal(Global);
        // A form's client area lies below its menu bar.
        if (parent == FRoot)
            at.ry() -= widget->height() - parent->ClientHeight();
    }
    Drop(ComponentClass, parent, at.x(), at.y());
}

TComponent* TFormDesigner::Drop(TClass ComponentClass, TWinControl* Parent, Integer Left, Integer Top) {
    TComponent* dropped = nullptr;
    Guarded([&] { dropped = FDesigner->CreateComponent(ComponentClass, Parent, Left, Top, 0, 0); });
    if (!dropped)
        return nullptr;
    Refresh();
    Select(dropped);
    return dropped;
}

void TFormDesigner::ShowComponentMenu(TComponent* Component, const QPoint& Position) {
    delete FMenu.data();
    FMenu = new QMenu(this);
    std::shared_ptr<TComponentEditor> editor;
    Guarded([&] { editor = GetComponentEditor(Component, FDesigner); });
    Integer count = 0;
    Guarded([&] { count = editor ? editor->GetVerbCount() : 0; });
    for (Integer index = 0; index < count; ++index) {
        AnsiString verb;
        Guarded([&] { verb = editor->GetVerb(index); });
        // The IDE's convention: a verb "-" is a separator line.
        if (verb == "-") {
            FMenu->addSeparator();
            continue;
        }
        QAction* action = FMenu->addAction(QString::fromStdString(verb));
        QObject::connect(action, &QAction::triggered, this, [this, editor, index] {
            Guarded([&] { editor->ExecuteVerb(index); });
            ScheduleRefresh();
        });
    }
    if (count == 0)
        FMenu->addAction(QString::fromStdString("No commands for " + Component->ClassName()))
            ->setEnabled(false);
    FMenu->popup(Position);
}

void TFormDesigner::EditComponent(TComponent* Component) {
    if (!Component)
        return;
    Select(Component);
    Guarded([&] { GetComponentEditor(Component, FDesigner)->Edit(); });
    ScheduleRefresh();
}
