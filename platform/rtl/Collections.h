// Collections: ordered lists of items of one item class, owned by the
// collection and created by it through the item class's virtual constructor.
//
// Items are created by Add and Insert only: the collection constructs an
// instance of its item class and takes it into its list once the
// constructor has finished (a constructor that raises leaves the collection
// as it was). `delete item` takes the item out of its collection, with the
// collection's Notify seeing the item still of its full class.
#pragma once

#include "rtl/Persistent.h"
#include "rtl/TypInfo.h"

#include <vector>

class TCollectionItem;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
    ZX_CLASS(TCollection, TPersistent)
public:
    // AItemClass must descend from TCollectionItem (EInvalidOperation).
    explicit TCollection(TClass AItemClass);
    ~TCollection() override;
    void BeforeDestruction() override;

    TClass ItemClass() const { return FItemClass; }
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    // EListError "List index out of bounds (%d)" for a bad index.
    TCollectionItem* Items(Integer Index) const;
    // Assigns Value to the item at Index.
    void SetItem(Integer Index, const TCollectionItem* Value);

    // A new item of the item class at the end, or moved to Index.
    TCollectionItem* Add();
    TCollectionItem* Insert(Integer Index);
    // Frees the item at Index.
    void Delete(Integer Index);
    // Swaps the items at the two positions, in constant time.
    void Exchange(Integer Index1, Integer Index2);
    void Clear();
    TCollectionItem* FindItemID(Integer ID) const;
    // The owner for the component tree (GetOwner), nullptr for a plain collection.
    TPersistent* Owner() const { return GetOwner(); }

    // Copies the items of another collection: the items are cleared, then
    // one is added per source item and assigned from it.
    void Assign(const TPersistent* Source) override;

    // Update runs once, when the outermost EndUpdate ends a batch of changes.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }

protected:
    // A change to Item, or to the whole collection when Item is nullptr.
    virtual void Update(TCollectionItem* Item);
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void MoveItem(Integer CurIndex, Integer NewIndex);
    Integer IndexOfItem(const TCollectionItem* Item) const;
    void CheckIndex(Integer Index) const;

    TClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    Integer FUpdateCount = 0;
    Integer FNextID = 0;
};

// A collection with an owner, as components publish them.
class TOwnedCollection : public TCollection {
    ZX_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* AOwner, TClass AItemClass)
        : TCollection(AItemClass), FOwner(AOwner) {}
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};

class TCollectionItem : public TPersistent {
    ZX_CLASS(TCollectionItem, TPersistent)
public:
    // The argument of the virtual constructor by which collections create
    // items of their item class.
    using TCreateArg = TCollection*;

    // The collection passed is the one that is creating the item; the item
    // joins it after construction.
    explicit TCollectionItem(TCollection*) {}
    ~TCollectionItem() override;
    void BeforeDestruction() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to the end of another collection, or out of any.
    void SetCollection(TCollection* Value);
    // Position in the collection, -1 outside one. Setting it moves the item.
    Integer Index() const;
    virtual void SetIndex(Integer Value);
    // Unique within the collection, in order of creation.
    Integer ID() const { return FID; }
    // The text the designer shows for the item; the class name by default.
    virtual AnsiString GetDisplayName() const;
    virtual void SetDisplayName(const AnsiString& Value);
    AnsiString DisplayName() const { return GetDisplayName(); }
    TPersistent* GetOwner() const override { return FCollection; }

protected:
    // Reports a change of this item, or of all items, to the collection.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    Integer FID = 0;
};
