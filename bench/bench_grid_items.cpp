// List boxes, list views and tree views shown offscreen with many items:
// changing, inserting or deleting one item tells the view of that item only,
// so each costs the same at 5,000 and at 50,000 items. Every operation is
// measured with the pending events processed (the view's layout and paint),
// against a bare Qt view over a Qt model doing the same in the same run.
// The program's main (bench_grid.cpp) makes the offscreen application.
#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <QtGui/QStandardItemModel>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTableView>
#include <QtWidgets/QTreeView>

#include <benchmark/benchmark.h>

namespace {

// Iterations of the inserting and deleting benchmarks: the item count moves
// by this much, a few percent of the smallest size.
constexpr benchmark::IterationCount ResizingIterations = 200;

void ProcessEvents() {
    QApplication::processEvents();
}

// The row that changes: one the view shows, so that it is painted again.
constexpr Integer ShownRow = 2;

AnsiString ItemText(Integer Index) {
    return "Item " + IntToStr(Index);
}

// A form showing one control of class T that Fill fills with Count items.
template <typename T> class TShownControl {
public:
    template <typename TFill> TShownControl(Integer Count, TFill Fill) {
        FForm = NewForm<TForm>(Application);
        FForm->SetBounds(0, 0, 400, 400);
        FControl = NewComponent<T>(FForm);
        FControl->SetParent(FForm);
        FControl->SetAlign(alClient);
        Fill(*FControl, Count);
        FForm->Show();
        ProcessEvents();
    }
    ~TShownControl() {
        delete FForm;
        ProcessEvents();
    }
    T& Control() { return *FControl; }

private:
    TForm* FForm = nullptr;
    T* FControl = nullptr;
};

// --- TListBox

void FillListBox(TListBox& List, Integer Count) {
    List.Items()->BeginUpdate();
    for (Integer index = 0; index < Count; ++index)
        List.Items()->Add(ItemText(index));
    List.Items()->EndUpdate();
}

void BM_ListBoxChangeItem(benchmark::State& State) {
    TShownControl<TListBox> shown(static_cast<Integer>(State.range(0)), FillListBox);
    TStrings& items = *shown.Control().Items();
    Integer round = 0;
    for (auto _ : State) {
        items.Put(ShownRow, "Changed " + IntToStr(++round));
        ProcessEvents();
    }
    if (items[ShownRow] != "Changed " + IntToStr(round))
        State.SkipWithError("the item did not change");
}

void BM_ListBoxInsertItem(benchmark::State& State) {
    TShownControl<TListBox> shown(static_cast<Integer>(State.range(0)), FillListBox);
    TStrings& items = *shown.Control().Items();
    for (auto _ : State) {
        items.Insert(items.Count() / 2, "Inserted");
        ProcessEvents();
    }
}

void BM_ListBoxDeleteItem(benchmark::State& State) {
    TShownControl<TListBox> shown(static_cast<Integer>(State.range(0)), FillListBox);
    TStrings& items = *shown.Control().Items();
    for (auto _ : State) {
        items.Delete(items.Count() / 2);
        ProcessEvents();
    }
}

// The reference: the same Qt view, a QTableView of fixed-height rows shown
// as a list, over a QStandardItemModel of the same rows and columns.
class TBareList {
public:
    explicit TBareList(Integer Count, Integer Columns = 1) {
        for (Integer index = 0; index < Count; ++index) {
            QList<QStandardItem*> row;
            row << new QStandardItem(QString::fromStdString(ItemText(index)));
            for (Integer column = 1; column < Columns; ++column)
                row << new QStandardItem(QStringLiteral("Value %1").arg(index));
            FModel.appendRow(row);
        }
        FView.setShowGrid(false);
        FView.verticalHeader()->hide();
        FView.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        FView.horizontalHeader()->setStretchLastSection(true);
        FView.horizontalHeader()->setVisible(Columns > 1);
        FView.setModel(&FModel);
        FView.resize(400, 400);
        FView.show();
        ProcessEvents();
    }
    QStandardItemModel& Model() { return FModel; }

private:
    QStandardItemModel FModel;
    QTableView FView;
};

void BM_BareListChangeItem(benchmark::State& State) {
    TBareList bare(static_cast<Integer>(State.range(0)));
    int round = 0;
    for (auto _ : State) {
        bare.Model().item(ShownRow)->setText(QStringLiteral("Changed %1").arg(++round));
        ProcessEvents();
    }
}

void BM_BareListInsertItem(benchmark::State& State) {
    TBareList bare(static_cast<Integer>(State.range(0)));
    for (auto _ : State) {
        bare.Model().insertRow(bare.Model().rowCount() / 2,
                               new QStandardItem(QStringLiteral("Inserted")));
        ProcessEvents();
    }
}

void BM_BareListDeleteItem(benchmark::State& State) {
    TBareList bare(static_cast<Integer>(State.range(0)));
    for (auto _ : State) {
        bare.Model().removeRow(bare.Model().rowCount() / 2);
        ProcessEvents();
    }
}

// --- TListView (report style, three columns)

void FillListView(TListView& List, Integer Count) {
    List.SetViewStyle(vsReport);
    for (const char* caption : {"Name", "Value", "Note"})
        List.Columns()->Add()->SetCaption(caption);
    List.Items()->BeginUpdate();
    for (Integer index = 0; index < Count; ++index) {
        TListItem* item = List.Items()->Add();
        item->SetCaption(ItemText(index));
        item->SubItems()->Add("Value " + IntToStr(index));
        item->SubItems()->Add("Note");
    }
    List.Items()->EndUpdate();
}

void BM_ListViewChangeItem(benchmark::State& State) {
    TShownControl<TListView> shown(static_cast<Integer>(State.range(0)), FillListView);
    TListItems& items = *shown.Control().Items();
    TListItem* changing = items[ShownRow];
    Integer round = 0;
    for (auto _ : State) {
        changing->SetCaption("Changed " + IntToStr(++round));
        ProcessEvents();
    }
}

void BM_ListViewInsertItem(benchmark::State& State) {
    TShownControl<TListView> shown(static_cast<Integer>(State.range(0)), FillListView);
    TListItems& items = *shown.Control().Items();
    for (auto _ : State) {
        items.Insert(items.Count() / 2)->SetCaption("Inserted");
        ProcessEvents();
    }
}

void BM_ListViewDeleteItem(benchmark::State& State) {
    TShownControl<TListView> shown(static_cast<Integer>(State.range(0)), FillListView);
    TListItems& items = *shown.Control().Items();
    for (auto _ : State) {
        items.Delete(items.Count() / 2);
        ProcessEvents();
    }
}

void BM_BareListViewChangeItem(benchmark::State& State) {
    TBareList bare(static_cast<Integer>(State.range(0)), 3);
    int round = 0;
    for (auto _ : State) {
        bare.Model().item(ShownRow)->setText(QStringLiteral("Changed %1").arg(++round));
        ProcessEvents();
    }
}

void BM_BareListViewInsertItem(benchmark::State& State) {
    TBareList bare(static_cast<Integer>(State.range(0)), 3);
    for (auto _ : State) {
        bare.Model().insertRow(bare.Model().rowCount() / 2,
                               {new QStandardItem(QStringLiteral("Inserted")), new QStandardItem,
                                new QStandardItem});
        ProcessEvents();
    }
}

void BM_BareListViewDeleteItem(benchmark::State& State) {
    TBareList bare(static_cast<Integer>(State.range(0)), 3);
    for (auto _ : State) {
        bare.Model().removeRow(bare.Model().rowCount() / 2);
        ProcessEvents();
    }
}

// --- TTreeView: one top-level node for every fifty nodes, each with 49
// children; the middle one is expanded and its children change. (A tree
// view lays out its expanded rows again when rows are inserted under an
// expanded node, so the cost follows the rows shown, not the nodes.)

constexpr Integer NodesPerParent = 50;

Integer ParentCount(Integer Count) {
    return Count / NodesPerParent;
}

void FillTreeView(TTreeView& Tree, Integer Count) {
    TTreeNodes& nodes = *Tree.Items();
    nodes.BeginUpdate();
    for (Integer parentIndex = 0; parentIndex < ParentCount(Count); ++parentIndex) {
        TTreeNode* parent = nodes.Add(nullptr, "Parent " + IntToStr(parentIndex));
        for (Integer child = 1; child < NodesPerParent; ++child)
            nodes.AddChild(parent, ItemText(parentIndex * NodesPerParent + child));
    }
    nodes.EndUpdate();
    nodes.Item(ParentCount(Count) / 2 * NodesPerParent)->Expand(false);
}

TTreeNode* MiddleParent(TTreeView& Tree) {
    return Tree.Items()->Item(ParentCount(Tree.Items()->Count()) / 2 * NodesPerParent);
}

void BM_TreeViewChangeNode(benchmark::State& State) {
    TShownControl<TTreeView> shown(static_cast<Integer>(State.range(0)), FillTreeView);
    TTreeNode* parent = MiddleParent(shown.Control());
    TTreeNode* node = parent->Item(parent->Count() / 2);
    Integer round = 0;
    for (auto _ : State) {
        node->SetText("Changed " + IntToStr(++round));
        ProcessEvents();
    }
}

void BM_TreeViewInsertNode(benchmark::State& State) {
    TShownControl<TTreeView> shown(static_cast<Integer>(State.range(0)), FillTreeView);
    TTreeNode* parent = MiddleParent(shown.Control());
    TTreeNodes& nodes = *shown.Control().Items();
    for (auto _ : State) {
        nodes.Insert(parent->Item(parent->Count() / 2), "Inserted");
        ProcessEvents();
    }
}

void BM_TreeViewDeleteNode(benchmark::State& State) {
    TShownControl<TTreeView> shown(static_cast<Integer>(State.range(0)), FillTreeView);
    TTreeNode* parent = MiddleParent(shown.Control());
    for (auto _ : State) {
        parent->Item(parent->Count() / 2)->Delete();
        ProcessEvents();
    }
}

// The reference: a QTreeView over a QStandardItemModel of the same shape.
class TBareTree {
public:
    explicit TBareTree(Integer Count) {
        constexpr Integer Parents = 100;
        for (Integer index = 0; index < Parents; ++index)
            FModel.appendRow(new QStandardItem(QStringLiteral("Parent %1").arg(index)));
        for (Integer index = Parents; index < Count; ++index)
            FModel.item(index % Parents)
                ->appendRow(new QStandardItem(QString::fromStdString(ItemText(index))));
        FView.setHeaderHidden(true);
        FView.setUniformRowHeights(true);
        FView.setModel(&FModel);
        FView.expandToDepth(0);
        FView.resize(400, 400);
        FView.show();
        ProcessEvents();
    }
    QStandardItem* MiddleParent() { return FModel.item(FModel.rowCount() / 2); }

private:
    QStandardItemModel FModel;
    QTreeView FView;
};

void BM_BareTreeChangeNode(benchmark::State& State) {
    TBareTree bare(static_cast<Integer>(State.range(0)));
    QStandardItem* parent = bare.MiddleParent();
    QStandardItem* node = parent->child(parent->rowCount() / 2);
    int round = 0;
    for (auto _ : State) {
        node->setText(QStringLiteral("Changed %1").arg(++round));
        ProcessEvents();
    }
}

void BM_BareTreeInsertNode(benchmark::State& State) {
    TBareTree bare(static_cast<Integer>(State.range(0)));
    QStandardItem* parent = bare.MiddleParent();
    for (auto _ : State) {
        parent->insertRow(parent->rowCount() / 2, new QStandardItem(QStringLiteral("Inserted")));
        ProcessEvents();
    }
}

void BM_BareTreeDeleteNode(benchmark::State& State) {
    TBareTree bare(static_cast<Integer>(State.range(0)));
    QStandardItem* parent = bare.MiddleParent();
    for (auto _ : State) {
        parent->removeRow(parent->rowCount() / 2);
        ProcessEvents();
    }
}

void Sizes(benchmark::internal::Benchmark* Benchmark) {
    Benchmark->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);
}

void ResizingSizes(benchmark::internal::Benchmark* Benchmark) {
    Sizes(Benchmark);
    Benchmark->Iterations(ResizingIterations);
}

} // namespace

BENCHMARK(BM_ListBoxChangeItem)->Apply(Sizes);
BENCHMARK(BM_BareListChangeItem)->Apply(Sizes);
BENCHMARK(BM_ListBoxInsertItem)->Apply(ResizingSizes);
BENCHMARK(BM_BareListInsertItem)->Apply(ResizingSizes);
BENCHMARK(BM_ListBoxDeleteItem)->Apply(ResizingSizes);
BENCHMARK(BM_BareListDeleteItem)->Apply(ResizingSizes);
BENCHMARK(BM_ListViewChangeItem)->Apply(Sizes);
BENCHMARK(BM_BareListViewChangeItem)->Apply(Sizes);
BENCHMARK(BM_ListViewInsertItem)->Apply(ResizingSizes);
BENCHMARK(BM_BareListViewInsertItem)->Apply(ResizingSizes);
BENCHMARK(BM_ListViewDeleteItem)->Apply(ResizingSizes);
BENCHMARK(BM_BareListViewDeleteItem)->Apply(ResizingSizes);
BENCHMARK(BM_TreeViewChangeNode)->Apply(Sizes);
BENCHMARK(BM_BareTreeChangeNode)->Apply(Sizes);
BENCHMARK(BM_TreeViewInsertNode)->Apply(ResizingSizes);
BENCHMARK(BM_BareTreeInsertNode)->Apply(ResizingSizes);
BENCHMARK(BM_TreeViewDeleteNode)->Apply(ResizingSizes);
BENCHMARK(BM_BareTreeDeleteNode)->Apply(ResizingSizes);
