// The property pane (the object inspector of zxide): the published properties of the selected
// component through its property editors, one row each. A value list is a
// drop-down (fixed for enumerations and booleans, open for others), a dialog
// editor has a "..." button, an object property unfolds into its own
// properties; double-clicking a row runs its editor's Edit (an event's
// handler, a dialog). The wheel scrolls the rows, never a value.
#pragma once

#include "designide/DesignIntf.h"

#include <QtWidgets/QWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

class TPropertyPane : public QWidget {
public:
    explicit TPropertyPane(QWidget* Parent);

    // Shows Instance's properties as the designer's editors give them;
    // nullptr shows nothing.
    void Inspect(TPersistent* Instance, const _di_IDesigner& Designer);
    TPersistent* Instance() const { return FInstance; }
    // Reads every shown value again.
    void Refresh();

    // "Name: TClass" of the inspected component.
    QString Title() const;
    QTreeWidget* Rows() const { return FRows; }
    // The row of a property ("Font.Size" for a sub-property), or nullptr.
    QTreeWidgetItem* Row(const AnsiString& Path) const;
    // The editing widget of the row's value.
    QWidget* ValueEditor(const AnsiString& Path) const;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct TRow {
        DelphiInterface<IProperty> Property;
        QTreeWidgetItem* Item;
        AnsiString Path;
        std::function<void()> Show;
    };
    void AddRow(const DelphiInterface<IProperty>& Property, QTreeWidgetItem* Parent,
                const AnsiString& PathPrefix, Integer Depth);
    QWidget* MakeEditor(TRow& Row);
    void Commit(const DelphiInterface<IProperty>& Property, const AnsiString& Value);
    void RunEdit(const DelphiInterface<IProperty>& Property);
    const TRow* RowOf(const QTreeWidgetItem* Item) const;
    void ShowTitle();

    QLabel* FTitle;
    QTreeWidget* FRows;
    TPersistent* FInstance = nullptr;
    std::vector<std::unique_ptr<TRow>> FRowList;
};
