#include "IdeWindow.h"

#include "IdeCommands.h"

#include "designide/DesignEditors.h"
#include "designide/DesignRegistry.h"
#include "designide/PascalSource.h"
#include "designide/ToolIntf.h"

#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Menus.h"

#include <Qsci/qsciscintilla.h>
#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>

namespace {

// Keeps a widget the size of the widget it lives in.
class TFillParent : public QObject {
public:
    TFillParent(QWidget* Parent, QWidget* Child) : QObject(Child), FChild(Child) {
        Parent->installEventFilter(this);
        FChild->setGeometry(Parent->rect());
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Resize)
            FChild->setGeometry(static_cast<QWidget*>(Watched)->rect());
        return false;
    }

private:
    QWidget* FChild;
};

QString Q(const AnsiString& Text) { return QString::fromStdString(Text); }

// The string-list editor behind a list property's "..." button.
bool EditStringList(const AnsiString& Title, TStrings& Lines) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(Q("String List Editor - " + Title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QPlainTextEdit(&dialog);
    text->setObjectName(QStringLiteral("Lines"));
    text->setPlainText(Q(Lines.Text()));
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(420, 300);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    Lines.SetText(text->toPlainText().toStdString());
    return true;
}

constexpr int FileRole = Qt::UserRole;
constexpr int FormRole = Qt::UserRole + 1;

} // namespace

// Hears the host's file notifications: the pages follow once the host is
// done with what it does.
class TIdeWindow::TNotifier : public TIAddInNotifier {
public:
    explicit TNotifier(TIdeWindow* Window) : FWindow(Window) {}
    void FileNotification(TFileNotification, const AnsiString&, bool&) override {
        if (FWindow)
            FWindow->ScheduleSync();
    }
    void EventNotification(TEventNotification, bool&) override {}
    void Forget() { FWindow = nullptr; }

private:
    TIdeWindow* FWindow;
};

TIdeWindow::TIdeWindow(TDesignHost& Host) : FHost(Host), FMainForm(Host.MainWindow()) {
    FMainForm->SetBounds(40, 40, 1280, 860);
    BuildMenu();
    auto* panel = NewComponent<TPanel>(FMainForm);
    panel->SetBevelOuter(bvNone);
    panel->SetParent(FMainForm);
    panel->SetAlign(alClient);
    QWidget* area = panel->Handle();
    FContent = BuildContent();
    FContent->setParent(area);
    new TFillParent(area, FContent);
    FContent->show();
    FMainForm->OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = QueryClose(); };
    FMainForm->OnClose = [](TObject*, TCloseAction& Action) {
        Action = caHide;
        Application->Terminate();
    };
    FHost.OnMessage = [this](const AnsiString& Text) { Message(Text); };
    FHost.OnShowFile = [this](const AnsiString& FileName, Integer Line) { ShowFile(FileName, Line); };
    FNotifier = new TNotifier(this);
    ToolServices->AddNotifier(FNotifier);
    SetEditStringListProc(&EditStringList);
    RebuildPalette();
    CurrentPageChanged();
}

TIdeWindow::~TIdeWindow() {
    FNotifier->Forget();
    ToolServices->RemoveNotifier(FNotifier);
    FNotifier->Release();
    FHost.OnMessage = nullptr;
    FHost.OnShowFile = nullptr;
    SetEditStringListProc(nullptr);
    FInspector->Inspect(nullptr, nullptr);
    while (FDocuments->count() > 0) {
        QWidget* page = FDocuments->widget(0);
        FDocuments->removeTab(0);
        delete page;
    }
    delete FContent;
    for (TMenuItem* item : FMenuItems)
        delete item;
}

QWidget* TIdeWindow::Window() const { return FMainForm->Handle(); }

void TIdeWindow::Show() { FMainForm->Show(); }

void TIdeWindow::BuildMenu() {
    auto add = [this](const char* Section, const char* Caption, const char* Keys,
                      std::function<void()> Command) -> TMenuItem* {
        TMenuItem* sections = FHost.MainMenu()->Items();
        TMenuItem* section = nullptr;
        for (Integer index = 0; index < sections->Count() && !section; ++index)
            if (sections->Items(index)->Name() == Section)
                section = sections->Items(index);
        auto* item = NewComponent<TMenuItem>(FMainForm);
        item->SetCaption(Caption);
        if (*Keys)
            item->SetShortCut(TextToShortCut(Keys));
        item->OnClick = [Command](TObject*) { Guarded(Command); };
        section->Add(item);
        FMenuItems.push_back(item);
        return item;
    };
    add("FileMenu", "&Open Project...", "Ctrl+F11", [this] { OpenProjectDialog(); });
    add("FileMenu", "&Save", "Ctrl+S", [this] { Save(); });
    add("FileMenu", "Save A&ll", "Shift+Ctrl+S", [this] { SaveAll(); });
    add("FileMenu", "&Close", "", [this] { CloseCurrent(); });
    FUndoItem = add("EditMenu", "&Undo", "Ctrl+Z", [this] { Undo(); });
    FRedoItem = add("EditMenu", "&Redo", "Shift+Ctrl+Z", [this] { Redo(); });
    add("SearchMenu", "&Go to Line Number...", "Alt+G", [this] { GoToLine(); });
}

QWidget* TIdeWindow::BuildContent() {
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    FPalette = new QTabWidget;
    FPalette->setMaximumHeight(70);
    layout->addWidget(FPalette);

    auto* rows = new QSplitter(Qt::Vertical);
    layout->addWidget(rows, 1);
    auto* columns = new QSplitter(Qt::Horizontal);
    rows->addWidget(columns);
    auto* tools = new QSplitter(Qt::Vertical);
    columns->addWidget(tools);
    auto* projectBox = new QGroupBox(QStringLiteral("Project"));
    auto* projectLayout = new QVBoxLayout(projectBox);
    FProjectTree = new QTreeWidget;
    FProjectTree->setHeaderHidden(true);
    projectLayout->addWidget(FProjectTree);
    tools->addWidget(projectBox);
    auto* inspectorBox = new QGroupBox(QStringLiteral("Object Inspector"));
    auto* inspectorLayout = new QVBoxLayout(inspectorBox);
    FInspector = new TPropertyPane(inspectorBox);
    inspectorLayout->addWidget(FInspector);
    tools->addWidget(inspectorBox);
    tools->setStretchFactor(1, 2);
    FDocuments = new QTabWidget;
    columns->addWidget(FDocuments);
    columns->setStretchFactor(1, 1);
    columns->setSizes({340, 900});
    FMessages = new QListWidget;
    rows->addWidget(FMessages);
    rows->setStretchFactor(0, 1);
    rows->setSizes({700, 110});

    // Double-click or Enter.
    QObject::connect(FProjectTree, &QTreeWidget::itemActivated, content,
                     [this](QTreeWidgetItem* Item, int) { Guarded([&] { OpenProjectItem(Item); }); });
    QObject::connect(FDocuments, &QTabWidget::currentChanged, content,
                     [this](int) { CurrentPageChanged(); });
    return content;
}

void TIdeWindow::RebuildPalette() {
    FPalette->clear();
    FPaletteButtons.clear();
    FDropClass = nullptr;
    std::vector<std::pair<AnsiString, QHBoxLayout*>> pages;
    for (const TPaletteEntry& entry : GetPaletteEntries()) {
        auto page = std::find_if(pages.begin(), pages.end(),
                                 [&](const auto& P) { return P.first == entry.Page; });
        if (page == pages.end()) {
            auto* widget = new QWidget;
            auto* row = new QHBoxLayout(widget);
            row->setContentsMargins(2, 2, 2, 2);
            row->addStretch();
            FPalette->addTab(widget, Q(entry.Page));
            pages.emplace_back(entry.Page, row);
            page = pages.end() - 1;
        }
        auto* button = new QToolButton;
        AnsiString name = entry.ComponentClass->Name;
        button->setText(Q(name.size() > 1 && name[0] == 'T' ? name.substr(1) : name));
        button->setToolTip(Q(name));
        button->setCheckable(true);
        page->second->insertWidget(page->second->count() - 1, button);
        TClass componentClass = entry.ComponentClass;
        QObject::connect(button, &QToolButton::toggled, button, [this, button, componentClass](bool On) {
            if (!On) {
                if (FDropClass == componentClass)
                    FDropClass = nullptr;
                return;
            }
            FDropClass = componentClass;
            for (auto& [other, otherClass] : FPaletteButtons)
                if (other != button)
                    other->setChecked(false);
        });
        FPaletteButtons.emplace_back(button, componentClass);
    }
}

QToolButton* TIdeWindow::PaletteButton(const AnsiString& ClassName) const {
    for (const auto& [button, componentClass] : FPaletteButtons)
        if (SameText(componentClass->Name, ClassName))
            return button;
    return nullptr;
}

TClass TIdeWindow::TakeDropClass() {
    TClass taken = std::exchange(FDropClass, nullptr);
    for (auto& [button, componentClass] : FPaletteButtons) {
        QSignalBlocker quiet(button);
        button->setChecked(false);
    }
    return taken;
}

void TIdeWindow::Message(const AnsiString& Text) {
    FMessages->addItem(Q(Text));
    FMessages->scrollToBottom();
}

// ---------------------------------------------------------------------------
// Pages

template <typename TPage> TPage* TIdeWindow::PageOf(TDesignModule* Module) const {
    for (int index = 0; index < FDocuments->count(); ++index)
        if (auto* page = dynamic_cast<TPage*>(FDocuments->widget(index)); page && page->Module() == Module)
            return page;
    return nullptr;
}

TSourceEditor* TIdeWindow::EditorOf(TDesignModule* Module) const { return PageOf<TSourceEditor>(Module); }

TFormDesigner* TIdeWindow::DesignerOf(TDesignModule* Module) const { return PageOf<TFormDesigner>(Module); }

TSourceEditor* TIdeWindow::EditorOf(const AnsiString& FileName) const {
    TDesignModule* module = FHost.FindModule(FileName);
    return module ? EditorOf(module) : nullptr;
}

TFormDesigner* TIdeWindow::DesignerOf(const AnsiString& FormName) const {
    TDesignModule* module = FHost.FindFormModule(FormName);
    return module ? DesignerOf(module) : nullptr;
}

TDesignModule* TIdeWindow::CurrentModule() const {
    QWidget* page = FDocuments->currentWidget();
    if (auto* editor = dynamic_cast<TSourceEditor*>(page))
        return editor->Module();
    if (auto* designer = dynamic_cast<TFormDesigner*>(page))
        return designer->Module();
    return nullptr;
}

TSourceEditor* TIdeWindow::CurrentEditor() const {
    TDesignModule* module = CurrentModule();
    return module ? EditorOf(module) : nullptr;
}

void TIdeWindow::AddDesigner(TDesignModule* Module) {
    auto* designer = new TFormDesigner(_di_TDesignModule(Module), nullptr);
    designer->TakeDropClass = [this] { return TakeDropClass(); };
    designer->OnChange = [this] { UpdateTitles(); };
    designer->OnSelect = [this, designer](TComponent* Selected) {
        if (!Selected) {
            if (FInspected == designer) {
                FInspector->Inspect(nullptr, nullptr);
                FInspected = nullptr;
            }
            return;
        }
        if (FInspected == designer && FInspector->Instance() == Selected) {
            FInspector->Refresh();
            return;
        }
        FInspected = designer;
        FInspector->Inspect(Selected, designer->Module()->GetFormDesigner());
    };
    FDocuments->insertTab(FDocuments->indexOf(EditorOf(Module)) + 1, designer, QString());
    for (const AnsiString& skipped : Module->SkippedProperties())
        Message(ChangeFileExt(ExtractFileName(Module->GetFileName()), ".xfm") + ": " + skipped);
}

void TIdeWindow::ScheduleSync() {
    if (FSyncPending)
        return;
    FSyncPending = true;
    QTimer::singleShot(0, FContent, [this] { Sync(); });
}

void TIdeWindow::Sync() {
    FSyncPending = false;
    for (int index = FDocuments->count() - 1; index >= 0; --index) {
        QWidget* page = FDocuments->widget(index);
        auto* editor = dynamic_cast<TSourceEditor*>(page);
        auto* designer = dynamic_cast<TFormDesigner*>(page);
        TDesignModule* module = editor ? editor->Module() : designer->Module();
        if (module->IsOpen() && (editor || designer->Root()))
            continue;
        if (designer == FInspected) {
            FInspector->Inspect(nullptr, nullptr);
            FInspected = nullptr;
        }
        FDocuments->removeTab(index);
        delete page;
    }
    for (TDesignModule* module : FHost.Modules()) {
        if (!EditorOf(module)) {
            auto* editor = new TSourceEditor(_di_TDesignModule(module), nullptr);
            editor->OnChange = [this] { UpdateTitles(); };
            FDocuments->addTab(editor, QString());
        }
        if (module->GetRoot() && !DesignerOf(module))
            AddDesigner(module);
    }
    UpdateTitles();
    RebuildProjectTree();
}

void TIdeWindow::UpdateTitles() {
    for (int index = 0; index < FDocuments->count(); ++index) {
        QWidget* page = FDocuments->widget(index);
        auto* designer = dynamic_cast<TFormDesigner*>(page);
        TDesignModule* module = designer ? designer->Module() : static_cast<TSourceEditor*>(page)->Module();
        AnsiString title = designer ? module->FormName() : ExtractFileName(module->GetFileName());
        bool modified = designer ? module->FormModified() : module->Source().Modified();
        FDocuments->setTabText(index, Q(modified ? title + "*" : title));
    }
}

void TIdeWindow::RebuildProjectTree() {
    FProjectTree->clear();
    TDesignModule* project = FHost.ProjectModule();
    if (!project)
        return;
    auto* top = new QTreeWidgetItem(FProjectTree, {Q(ExtractFileName(project->GetFileName()))});
    top->setData(0, FileRole, Q(project->GetFileName()));
    for (const auto& unit : PascalSource::ProjectUnits(project->Source().Text(), true)) {
        const AnsiString file = FHost.ExpandName(unit.FileName);
        auto* item = new QTreeWidgetItem(top, {Q(unit.UnitName + " (" + unit.FileName + ")")});
        item->setData(0, FileRole, Q(file));
        if (!unit.FormName.empty()) {
            auto* form = new QTreeWidgetItem(item, {Q(unit.FormName)});
            form->setData(0, FileRole, Q(file));
            form->setData(0, FormRole, true);
        }
    }
    FProjectTree->expandAll();
}

void TIdeWindow::OpenProjectItem(QTreeWidgetItem* Item) {
    if (!Item)
        return;
    OpenUnit(Item->data(0, FileRole).toString().toStdString(), Item->data(0, FormRole).toBool());
}

void TIdeWindow::CurrentPageChanged() {
    // Only an edit window keeps undo steps: a designer offers none.
    const bool editing = dynamic_cast<TSourceEditor*>(FDocuments->currentWidget()) != nullptr;
    FUndoItem->SetEnabled(editing);
    FRedoItem->SetEnabled(editing);
    TDesignModule* module = CurrentModule();
    if (!module)
        return;
    FSettingCurrent = true;
    FHost.SetCurrentFile(module->GetFileName());
    FSettingCurrent = false;
    if (auto* designer = dynamic_cast<TFormDesigner*>(FDocuments->currentWidget());
        designer && designer->Selection())
        designer->Select(designer->Selection());
}

void TIdeWindow::ShowFile(const AnsiString& FileName, Integer Line) {
    if (FSettingCurrent || FileName.empty())
        return;
    Sync();
    if (TSourceEditor* editor = EditorOf(FileName)) {
        FDocuments->setCurrentWidget(editor);
        if (Line > 0)
            editor->GoToLine(Line);
    }
}

// ---------------------------------------------------------------------------
// Commands

bool TIdeWindow::OpenUnit(const AnsiString& FileName, bool ShowDesigner) {
    if (!FHost.OpenFile(FileName))
        return false;
    Sync();
    TDesignModule* module = FHost.FindModule(FileName);
    if (TFormDesigner* designer = ShowDesigner && module ? DesignerOf(module) : nullptr)
        FDocuments->setCurrentWidget(designer);
    return true;
}

bool TIdeWindow::OpenProject(const AnsiString& FileName) {
    bool discard = false;
    if (!AskToSave(FHost.Modules(), discard) || !FHost.CloseProject(discard))
        return false;
    Sync();
    if (!FHost.OpenProject(FileName))
        return false;
    Sync();
    // The main form (the first of the project) opens with the project.
    for (const auto& unit : PascalSource::ProjectUnits(FHost.ProjectModule()->Source().Text(), true))
        if (!unit.FormName.empty())
            return OpenUnit(FHost.ExpandName(unit.FileName), true);
    return true;
}

void TIdeWindow::OpenProjectDialog() {
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Open Project");
    dialog.SetFilter("Projects|*.dpr|All files|*");
    if (dialog.Execute())
        OpenProject(dialog.FileName());
}

bool TIdeWindow::Save() {
    TDesignModule* module = CurrentModule();
    if (!module)
        return false;
    bool saved = FHost.SaveFile(module->GetFileName());
    if (!saved)
        Message(ExtractFileName(module->GetFileName()) + " was not saved.");
    UpdateTitles();
    return saved;
}

bool TIdeWindow::SaveAll() {
    bool saved = FHost.SaveAll();
    if (!saved)
        Message("Not every file was saved.");
    UpdateTitles();
    return saved;
}

bool TIdeWindow::AskToSave(const std::vector<TDesignModule*>& Modules, bool& Discard) {
    std::vector<TDesignModule*> modified;
    for (TDesignModule* module : Modules)
        if (module->GetModified())
            modified.push_back(module);
    Discard = false;
    if (modified.empty())
        return true;
    AnsiString names;
    for (TDesignModule* module : modified)
        names += (names.empty() ? "" : ", ") + ExtractFileName(module->GetFileName());
    switch (MessageDlg("Save changes to " + names + "?", mtConfirmation, mbYesNoCancel, 0)) {
    case mrYes:
        for (TDesignModule* module : modified)
            if (!module->Save(false, true)) {
                Message(ExtractFileName(module->GetFileName()) + " was not saved.");
                UpdateTitles();
                return false;
            }
        return true;
    case mrNo:
        Discard = true;
        return true;
    default:
        return false;
    }
}

bool TIdeWindow::CloseCurrent() {
    TDesignModule* module = CurrentModule();
    if (!module)
        return false;
    bool discard = false;
    bool closed;
    if (module == FHost.ProjectModule())
        closed = AskToSave(FHost.Modules(), discard) && FHost.CloseProject(discard);
    else
        closed = AskToSave({module}, discard) && FHost.CloseFile(module->GetFileName(), discard);
    Sync();
    return closed;
}

bool TIdeWindow::QueryClose() {
    bool discard = false;
    if (!AskToSave(FHost.Modules(), discard))
        return false;
    if (FHost.CloseProject(discard))
        Sync();
    return true;
}

void TIdeWindow::Undo() {
    if (auto* editor = dynamic_cast<TSourceEditor*>(FDocuments->currentWidget()))
        editor->Edit()->undo();
}

void TIdeWindow::Redo() {
    if (auto* editor = dynamic_cast<TSourceEditor*>(FDocuments->currentWidget()))
        editor->Edit()->redo();
}

void TIdeWindow::GoToLine() {
    TSourceEditor* editor = CurrentEditor();
    if (!editor)
        return;
    AnsiString value = IntToStr(editor->CurrentLine());
    if (!InputQuery("Go to Line Number", "Enter new line number:", value))
        return;
    Integer line = StrToIntDef(Trim(value), 0);
    if (line < 1 || line > editor->LineCount()) {
        ShowMessage(Format("%s is not a line number from 1 to %d", {value, editor->LineCount()}));
        return;
    }
    FDocuments->setCurrentWidget(editor);
    editor->GoToLine(line);
}
