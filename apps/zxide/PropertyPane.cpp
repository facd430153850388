#include "PropertyPane.h"

#include "IdeCommands.h"

#include <QtCore/QSignalBlocker>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>

namespace {

// How deep object properties unfold (a font's properties, not further).
constexpr Integer MaxDepth = 2;

} // namespace

TPropertyPane::TPropertyPane(QWidget* Parent)
    : QWidget(Parent), FTitle(new QLabel(this)), FRows(new QTreeWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FTitle);
    layout->addWidget(FRows);
    FRows->setColumnCount(2);
    FRows->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    FRows->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    FRows->setRootIsDecorated(true);
    FRows->setAlternatingRowColors(true);
    QObject::connect(FRows, &QTreeWidget::itemDoubleClicked, this,
                     [this](QTreeWidgetItem* Item, int) {
                         if (const TRow* row = RowOf(Item))
                             RunEdit(row->Property);
                     });
}

void TPropertyPane::Inspect(TPersistent* Instance, const _di_IDesigner& Designer) {
    FRows->clear();
    FRowList.clear();
    FInstance = Instance;
    ShowTitle();
    if (!Instance)
        return;
    Guarded([&] {
        GetComponentProperties(Instance, Designer, [this](const DelphiInterface<IProperty>& Prop) {
            AddRow(Prop, nullptr, AnsiString(), 1);
        });
    });
}

void TPropertyPane::AddRow(const DelphiInterface<IProperty>& Property, QTreeWidgetItem* Parent,
                              const AnsiString& PathPrefix, Integer Depth) {
    auto row = std::make_unique<TRow>();
    row->Property = Property;
    row->Path = PathPrefix + Property->GetName();
    row->Item = Parent ? new QTreeWidgetItem(Parent) : new QTreeWidgetItem(FRows);
    row->Item->setText(0, QString::fromStdString(Property->GetName()));
    TRow& added = *row;
    FRowList.push_back(std::move(row));
    FRows->setItemWidget(added.Item, 1, MakeEditor(added));
    if (Property->GetAttributes().Contains(paSubProperties) && Depth < MaxDepth)
        Property->GetProperties([&](const DelphiInterface<IProperty>& Sub) {
            AddRow(Sub, added.Item, added.Path + ".", Depth + 1);
        });
}

QWidget* TPropertyPane::MakeEditor(TRow& Row) {
    DelphiInterface<IProperty> property = Row.Property;
    const TPropertyAttributes attributes = property->GetAttributes();
    auto* cell = new QWidget;
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (attributes.Contains(paValueList)) {
        auto* box = new QComboBox(cell);
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(this);
        const bool fixed = property->GetPropInfo()->PropType->Kind == tkEnumeration;
        box->setEditable(!fixed);
        Guarded([&] {
            property->GetValues([box](const AnsiString& Value) { box->addItem(QString::fromStdString(Value)); });
        });
        Row.Show = [box, property] {
            QSignalBlocker quiet(box);
            const QString value = QString::fromStdString(property->GetValue());
            // The list opens at the value; a typed value may be in none.
            box->setCurrentIndex(box->findText(value));
            if (box->isEditable())
                box->setEditText(value);
        };
        QObject::connect(box, &QComboBox::activated, box, [this, box, property](int) {
            Commit(property, box->currentText().toStdString());
        });
        if (box->isEditable())
            QObject::connect(box->lineEdit(), &QLineEdit::returnPressed, box, [this, box, property] {
                Commit(property, box->currentText().toStdString());
            });
        layout->addWidget(box);
    } else if (attributes.Contains(paReadOnly)) {
        auto* label = new QLabel(cell);
        Row.Show = [label, property] { label->setText(QString::fromStdString(property->GetValue())); };
        layout->addWidget(label);
    } else {
        auto* edit = new QLineEdit(cell);
        edit->setFrame(false);
        Row.Show = [edit, property] {
            if (edit->isModified())
                return;
            edit->setText(QString::fromStdString(property->GetValue()));
            // A long value (a set) shows from its start.
            edit->setCursorPosition(0);
        };
        QObject::connect(edit, &QLineEdit::editingFinished, edit, [this, edit, property] {
            if (!edit->isModified())
                return;
            edit->setModified(false);
            Commit(property, edit->text().toStdString());
        });
        layout->addWidget(edit);
    }
    if (attributes.Contains(paDialog)) {
        auto* button = new QToolButton(cell);
        button->setText(QStringLiteral("..."));
        QObject::connect(button, &QToolButton::clicked, button, [this, property] { RunEdit(property); });
        layout->addWidget(button);
    }
    Guarded([&] { Row.Show(); });
    return cell;
}

// The wheel scrolls the rows wherever the mouse is: over a drop-down it
// would change the property instead.
bool TPropertyPane::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() != QEvent::Wheel || !qobject_cast<QComboBox*>(Watched))
        return false;
    QApplication::sendEvent(FRows->viewport(), Event);
    return true;
}

void TPropertyPane::Commit(const DelphiInterface<IProperty>& Property, const AnsiString& Value) {
    // The value shown again whether it was taken or refused; the same value
    // again changes nothing.
    Guarded([&] {
        if (Property->GetValue() != Value)
            Property->SetValue(Value);
    });
    Refresh();
}

void TPropertyPane::RunEdit(const DelphiInterface<IProperty>& Property) {
    Guarded([&] { Property->Edit(); });
    Refresh();
}

void TPropertyPane::Refresh() {
    ShowTitle();
    for (const auto& row : FRowList)
        Guarded([&] { row->Show(); });
}

void TPropertyPane::ShowTitle() {
    auto* component = dynamic_cast<TComponent*>(FInstance);
    FTitle->setText(FInstance ? QString::fromStdString((component ? component->Name() + ": " : AnsiString()) +
                                                      FInstance->ClassName())
                              : QString());
}

QString TPropertyPane::Title() const { return FTitle->text(); }

const TPropertyPane::TRow* TPropertyPane::RowOf(const QTreeWidgetItem* Item) const {
    for (const auto& row : FRowList)
        if (row->Item == Item)
            return row.get();
    return nullptr;
}

QTreeWidgetItem* TPropertyPane::Row(const AnsiString& Path) const {
    for (const auto& row : FRowList)
        if (SameText(row->Path, Path))
            return row->Item;
    return nullptr;
}

QWidget* TPropertyPane::ValueEditor(const AnsiString& Path) const {
    QTreeWidgetItem* item = Row(Path);
    QWidget* cell = item ? FRows->itemWidget(item, 1) : nullptr;
    return cell && cell->layout()->count() > 0 ? cell->layout()->itemAt(0)->widget() : nullptr;
}
