// The designer of one form or data module: the live form in the
// platform's own widgets, its component tree and a strip of the components
// that show no control. Clicking selects a component (the form keeps every
// click and key to itself: the controls do not act in design), a component
// chosen on the palette is dropped where the form is clicked, the right
// button opens the component menu with its editor's verbs, double-clicking
// runs the editor's Edit.
#pragma once

#include "designide/HostModule.h"

#include <QtCore/QPointer>
#include <QtWidgets/QMenu>
#include <QtWidgets/QWidget>

class QLabel;
class QMenu;
class QMouseEvent;
class QTreeWidget;
class TSelectionFrame;
class TWinControl;

class TFormDesigner : public QWidget {
public:
    TFormDesigner(_di_TDesignModule Module, QWidget* Parent);
    ~TFormDesigner() override;

    TDesignModule* Module() const { return FModule.get(); }
    TComponent* Root() const { return FRoot; }
    TComponent* Selection() const { return FSelection; }
    void Select(TComponent* Component);

    // A component of the class where the user clicks, in the container
    // under the click; the new component is selected.
    TComponent* Drop(TClass ComponentClass, TWinControl* Parent, Integer Left, Integer Top);
    // The component's verbs, shown at Position (global).
    void ShowComponentMenu(TComponent* Component, const QPoint& Position);
    void EditComponent(TComponent* Component);

    // The parts, for the window and the tests.
    QTreeWidget* ComponentTree() const { return FTree; }
    QWidget* Surface() const { return FHolder; }
    QMenu* ComponentMenu() const { return FMenu; }
    // The widget the component shows as: a control's own, a tile for the
    // others; nullptr when none.
    QWidget* WidgetOf(TComponent* Component) const;

    // Told when the selection changes, and after the form changed.
    std::function<void(TComponent* Selected)> OnSelect;
    std::function<void()> OnChange;
    // The class the palette holds ready to drop, taken; nullptr for none.
    std::function<TClass()> TakeDropClass;

    // Called by the form notifier.
    void FormModified();
    void ComponentGoing(TComponent* Component);
    void FormDestroyed();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    class TNotifier;
    void EmbedForm();
    void ScheduleRefresh();
    void Refresh();
    void SilenceFormShortcuts();
    void RebuildTree();
    void RebuildTiles();
    void PlaceFrame();
    bool InDesignSurface(QWidget* Widget) const;
    TComponent* ComponentAt(QWidget* Widget) const;
    bool MouseEvent(QWidget* Widget, QMouseEvent* Event);
    void DropAt(TClass ComponentClass, TComponent* Under, const QPoint& Global);

    _di_TDesignModule FModule;
    _di_IDesigner FDesigner;
    TComponent* FRoot;
    TComponent* FSelection = nullptr;
    DelphiInterface<TNotifier> FNotifier;
    Integer FNotifierIndex = -1;
    QTreeWidget* FTree;
    QLabel* FCaption;
    QWidget* FHolder;
    QWidget* FTiles;
    QPointer<QWidget> FFormWidget;
    TSelectionFrame* FFrame;
    std::vector<std::pair<QWidget*, TComponent*>> FTileList;
    QPointer<QMenu> FMenu;
    bool FRefreshPending = false;
};
