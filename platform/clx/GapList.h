#pragma once
// A list of items whose insertions and deletions cluster, as a grid's rows
// do when they are deleted one after another: a gap of free slots stays
// where the last edit was, so the next edit near it moves only the items in
// between, not the whole tail.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <typename T> class TGapList {
public:
    std::size_t Count() const { return FSlots.size() - FGapLength; }
    T& operator[](std::size_t Index) { return FSlots[Slot(Index)]; }
    const T& operator[](std::size_t Index) const { return FSlots[Slot(Index)]; }

    // Items past the new count go; new ones are empty.
    void SetCount(std::size_t Value) {
        CloseGap();
        FSlots.resize(Value);
    }
    void Delete(std::size_t Index) {
        MoveGapTo(Index);
        FSlots[FGapStart + FGapLength] = T();
        ++FGapLength;
    }
    void Insert(std::size_t Index, T Item) {
        MoveGapTo(Index);
        if (FGapLength == 0)
            Widen();
        FSlots[FGapStart++] = std::move(Item);
        --FGapLength;
    }
    // The items between shift by one.
    void Move(std::size_t From, std::size_t To) {
        T item = std::move((*this)[From]);
        Delete(From);
        Insert(To, std::move(item));
    }
    void Assign(std::vector<T> Items) {
        FSlots = std::move(Items);
        FGapStart = 0;
        FGapLength = 0;
    }

private:
    std::size_t Slot(std::size_t Index) const {
        return Index < FGapStart ? Index : Index + FGapLength;
    }
    void MoveGapTo(std::size_t Index) {
        if (FGapLength == 0) {
            FGapStart = Index;
            return;
        }
        auto items = FSlots.begin();
        const auto start = static_cast<std::ptrdiff_t>(FGapStart);
        const auto end = start + static_cast<std::ptrdiff_t>(FGapLength);
        const auto to = static_cast<std::ptrdiff_t>(Index);
        if (Index < FGapStart)
            std::move_backward(items + to, items + start, items + end);
        else
            std::move(items + end, items + to + (end - start), items + start);
        FGapStart = Index;
    }
    void CloseGap() {
        MoveGapTo(Count());
        FSlots.resize(FGapStart);
        FGapLength = 0;
    }
    // Room for a run of insertions, in proportion to the list, so that
    // widening stays rare.
    void Widen() {
        const std::size_t room = std::max<std::size_t>(16, Count() / 8);
        FSlots.insert(FSlots.begin() + static_cast<std::ptrdiff_t>(FGapStart), room, T());
        FGapLength = room;
    }

    std::vector<T> FSlots;
    std::size_t FGapStart = 0;
    std::size_t FGapLength = 0;
};
