#include "rtl/Classes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

Integer ItemsConstructed = 0;
bool FailNextItem = false;

class TColumn : public TCollectionItem {
    ZX_CLASS(TColumn, TCollectionItem)
public:
    explicit TColumn(TCollection* ACollection) : TCollectionItem(ACollection) {
        if (FailNextItem) {
            FailNextItem = false;
            throw std::runtime_error("item constructor failed");
        }
        ++ItemsConstructed;
    }
    static void PublishedProperties(TPropertyBuilder<TColumn>& P) {
        P.Property("Caption", &TColumn::Caption);
    }
    AnsiString GetDisplayName() const override {
        return Caption.empty() ? TCollectionItem::GetDisplayName() : Caption;
    }
    void Assign(const TPersistent* Source) override {
        if (const auto* column = dynamic_cast<const TColumn*>(Source))
            Caption = column->Caption;
        else
            TCollectionItem::Assign(Source);
    }
    AnsiString Caption;
};

class TNotChanging : public TColumn {
    ZX_CLASS(TNotChanging, TColumn)
public:
    using TColumn::TColumn;
};

// Records what the collection reports, with the item's class at that moment.
class TColumns : public TOwnedCollection {
    ZX_CLASS(TColumns, TOwnedCollection)
public:
    explicit TColumns(TPersistent* AOwner) : TOwnedCollection(AOwner, TColumn::StaticClass()) {}
    TColumn* Column(Integer Index) const { return static_cast<TColumn*>(Items(Index)); }
    std::vector<AnsiString> Log;
    Integer Updates = 0;

protected:
    void Update(TCollectionItem*) override { ++Updates; }
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
        static const char* const actions[] = {"added", "extracting", "deleting"};
        bool isColumn = dynamic_cast<TColumn*>(Item) != nullptr;
        Log.push_back(AnsiString(actions[Action]) + (isColumn ? " column" : " item"));
    }
};

std::vector<AnsiString> Captions(const TColumns& Columns) {
    std::vector<AnsiString> captions;
    for (Integer index = 0; index < Columns.Count(); ++index)
        captions.push_back(Columns.Column(index)->Caption);
    return captions;
}

void AddColumns(TColumns& Columns, std::initializer_list<const char*> Names) {
    for (const char* name : Names)
        static_cast<TColumn*>(Columns.Add())->Caption = name;
}

TEST(Collections, AddCreatesItemsOfTheItemClass) {
    ItemsConstructed = 0;
    TComponent owner(nullptr);
    TColumns columns(&owner);
    TCollectionItem* item = columns.Add();
    EXPECT_EQ(item->ClassName(), "TColumn");
    EXPECT_EQ(ItemsConstructed, 1);
    EXPECT_EQ(item->Collection(), &columns);
    EXPECT_EQ(item->GetOwner(), &columns);
    EXPECT_EQ(columns.Owner(), &owner);
    EXPECT_EQ(item->GetDisplayName(), "TColumn");
    EXPECT_EQ(columns.Log, (std::vector<AnsiString>{"added column"}));
    EXPECT_THROW({ TCollection wrong(TComponent::StaticClass()); }, EInvalidOperation);
}

TEST(Collections, IDsFollowCreationAndSurviveMoves) {
    TColumns columns(nullptr);
    AddColumns(columns, {"a", "b", "c"});
    TCollectionItem* c = columns.Items(2);
    EXPECT_EQ(c->ID(), 2);
    c->SetIndex(0);
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"c", "a", "b"}));
    EXPECT_EQ(c->Index(), 0);
    EXPECT_EQ(columns.FindItemID(2), c);
    delete columns.Items(1);
    EXPECT_EQ(columns.Add()->ID(), 3);
    EXPECT_EQ(columns.FindItemID(0), nullptr);
}

TEST(Collections, IndexMovesAnItemBothWays) {
    TColumns columns(nullptr);
    AddColumns(columns, {"a", "b", "c", "d"});
    columns.Items(0)->SetIndex(2);
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"b", "c", "a", "d"}));
    columns.Items(3)->SetIndex(1);
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"b", "d", "c", "a"}));
    EXPECT_THROW(columns.Items(0)->SetIndex(4), EListError);
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"b", "d", "c", "a"}));

    static_cast<TColumn*>(columns.Insert(1))->Caption = "new";
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"b", "new", "d", "c", "a"}));
    EXPECT_THROW(columns.Insert(6), EListError);
    EXPECT_EQ(columns.Count(), 5);
}

TEST(Collections, ExchangeSwapsTwoItemsAndReportsOneChange) {
    TColumns columns(nullptr);
    AddColumns(columns, {"a", "b", "c", "d"});
    Integer updates = columns.Updates;
    columns.Exchange(0, 3);
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"d", "b", "c", "a"}));
    EXPECT_EQ(columns.Updates, updates + 1);
    EXPECT_EQ(columns.Items(3)->Index(), 3);
    columns.Exchange(2, 2);
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"d", "b", "c", "a"}));
    EXPECT_THROW(columns.Exchange(0, 4), EListError);
    EXPECT_THROW(columns.Exchange(-1, 0), EListError);
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"d", "b", "c", "a"}));
}

TEST(Collections, DeletingWhileIteratingFromTheEnd) {
    TColumns columns(nullptr);
    AddColumns(columns, {"keep", "drop", "drop", "keep", "drop"});
    for (Integer index = columns.Count() - 1; index >= 0; --index)
        if (columns.Column(index)->Caption == "drop")
            columns.Delete(index);
    EXPECT_EQ(Captions(columns), (std::vector<AnsiString>{"keep", "keep"}));
    EXPECT_EQ(columns.Log.back(), "extracting column");
    EXPECT_THROW(columns.Delete(2), EListError);
}

TEST(Collections, DeleteReportsTheItemStillOfItsClass) {
    TColumns columns(nullptr);
    AddColumns(columns, {"a"});
    columns.Log.clear();
    columns.Delete(0);
    EXPECT_EQ(columns.Log, (std::vector<AnsiString>{"deleting column", "extracting column"}));
    EXPECT_EQ(columns.Count(), 0);
}

TEST(Collections, UpdatesAreBatched) {
    TColumns columns(nullptr);
    AddColumns(columns, {"a", "b"});
    EXPECT_EQ(columns.Updates, 2);
    columns.BeginUpdate();
    columns.BeginUpdate();
    AddColumns(columns, {"c"});
    columns.Items(0)->SetIndex(1);
    columns.EndUpdate();
    EXPECT_EQ(columns.Updates, 2);
    columns.EndUpdate();
    EXPECT_EQ(columns.Updates, 3);
    columns.Clear();
    EXPECT_EQ(columns.Count(), 0);
    EXPECT_EQ(columns.Updates, 4);
}

TEST(Collections, AnItemConstructorThatRaisesLeavesTheCollectionAlone) {
    TColumns columns(nullptr);
    AddColumns(columns, {"a"});
    columns.Log.clear();
    FailNextItem = true;
    EXPECT_THROW(columns.Add(), std::runtime_error);
    EXPECT_EQ(columns.Count(), 1);
    EXPECT_TRUE(columns.Log.empty());
}

TEST(Collections, ItemsMoveBetweenCollectionsOfTheirClass) {
    TColumns source(nullptr);
    TColumns target(nullptr);
    AddColumns(source, {"a", "b"});
    TCollectionItem* a = source.Items(0);
    a->SetCollection(&target);
    EXPECT_EQ(Captions(source), (std::vector<AnsiString>{"b"}));
    EXPECT_EQ(Captions(target), (std::vector<AnsiString>{"a"}));
    EXPECT_EQ(a->Collection(), &target);

    TCollection plain(TNotChanging::StaticClass());
    EXPECT_THROW(a->SetCollection(&plain), EInvalidOperation);
    EXPECT_EQ(a->Collection(), nullptr);
    delete a;
}

TEST(Collections, AssignCopiesTheItems) {
    TColumns source(nullptr);
    AddColumns(source, {"x", "y"});
    TColumns copy(nullptr);
    AddColumns(copy, {"old"});
    copy.Assign(&source);
    EXPECT_EQ(Captions(copy), (std::vector<AnsiString>{"x", "y"}));
    EXPECT_EQ(copy.Column(1)->GetDisplayName(), "y");
    TComponent notACollection(nullptr);
    try {
        copy.Assign(&notACollection);
        FAIL() << "no exception";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Cannot assign a TComponent to a TColumns");
    }
    EXPECT_EQ(copy.Count(), 2);
}

TEST(Collections, ItemPropertiesArePublished) {
    TColumns columns(nullptr);
    TCollectionItem* item = columns.Add();
    SetStrProp(item, "Caption", "Title");
    EXPECT_EQ(static_cast<TColumn*>(item)->Caption, "Title");
}

} // namespace
