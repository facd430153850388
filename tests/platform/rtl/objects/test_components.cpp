#include "rtl/Classes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Counts instances alive, so tests can tell what was freed.
Integer LiveProbes = 0;

class TProbe : public TComponent {
    ZX_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* AOwner) : TComponent(AOwner) { ++LiveProbes; }
    ~TProbe() override { --LiveProbes; }
};

struct TNotice {
    TComponent* Component;
    TOperation Operation;
    bool WasProbe;
    bool WasDestroying;
};

// Records every notification it receives, and what the sender still was.
class TRecorder : public TComponent {
    ZX_CLASS(TRecorder, TComponent)
public:
    explicit TRecorder(TComponent* AOwner) : TComponent(AOwner) {}
    std::vector<TNotice> Notices;
    std::function<void(TComponent*, TOperation)> OnNotice;

    Integer RemovalsOf(TComponent* AComponent) const {
        return static_cast<Integer>(
            std::count_if(Notices.begin(), Notices.end(), [AComponent](const TNotice& notice) {
                return notice.Component == AComponent && notice.Operation == opRemove;
            }));
    }

    // Exposes the reader's view of the component state.
    void BeginReading() { SetComponentState(csLoading, true); }
    void FinishReading() { Loaded(); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        Notices.push_back({AComponent, Operation, dynamic_cast<TProbe*>(AComponent) != nullptr,
                           AComponent->ComponentState().Contains(csDestroying)});
        if (OnNotice)
            OnNotice(AComponent, Operation);
    }
};

class TFailing : public TComponent {
    ZX_CLASS(TFailing, TComponent)
public:
    explicit TFailing(TComponent* AOwner) : TComponent(AOwner) {
        NewComponent<TProbe>(this);
        throw std::runtime_error("constructor failed");
    }
};

AnsiString ErrorOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const EComponentError& error) {
        return error.Message();
    }
    return "no error";
}

TEST(Ownership, FreeingAnOwnerFreesItsComponentsDeeply) {
    LiveProbes = 0;
    auto* owner = NewComponent<TComponent>(nullptr);
    auto* middle = NewComponent<TProbe>(owner);
    NewComponent<TProbe>(middle);
    NewComponent<TProbe>(owner);
    EXPECT_EQ(LiveProbes, 3);
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
    EXPECT_EQ(LiveProbes, 0);
}

TEST(Ownership, ComponentsKeepInsertionOrder) {
    TComponent owner(nullptr);
    auto* first = NewComponent<TProbe>(&owner);
    auto* second = NewComponent<TProbe>(&owner);
    EXPECT_EQ(owner.Components(0), first);
    EXPECT_EQ(owner.Components(1), second);
    EXPECT_EQ(second->ComponentIndex(), 1);
    EXPECT_EQ(first->Owner(), &owner);
    EXPECT_THROW(owner.Components(2), EListError);

    TComponent other(nullptr);
    other.InsertComponent(first);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(first->Owner(), &other);
    other.RemoveComponent(first);
    EXPECT_EQ(first->Owner(), nullptr);
    delete first;
}

TEST(Ownership, RemovalReachesEveryComponentWhileTheRemovedOneIsStillItself) {
    auto* owner = NewComponent<TRecorder>(nullptr);
    auto* left = NewComponent<TRecorder>(owner);
    auto* probe = NewComponent<TProbe>(owner);
    auto* right = NewComponent<TRecorder>(owner);
    auto* nested = NewComponent<TRecorder>(right);
    delete probe;
    for (TRecorder* recorder : {owner, left, right, nested}) {
        ASSERT_EQ(recorder->RemovalsOf(probe), 1);
        const TNotice& notice = recorder->Notices.back();
        EXPECT_TRUE(notice.WasProbe);
        EXPECT_TRUE(notice.WasDestroying);
    }
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
}

TEST(Ownership, InsertionIsAnnouncedToTheOwnersComponents) {
    TRecorder owner(nullptr);
    auto* witness = NewComponent<TRecorder>(&owner);
    auto* probe = NewComponent<TProbe>(&owner);
    ASSERT_FALSE(witness->Notices.empty());
    EXPECT_EQ(witness->Notices.back().Component, probe);
    EXPECT_EQ(witness->Notices.back().Operation, opInsert);
    EXPECT_EQ(owner.Notices.back().Component, probe);
}

TEST(Ownership, AHandlerMayFreeOtherComponentsDuringTheBroadcast) {
    LiveProbes = 0;
    auto* owner = NewComponent<TComponent>(nullptr);
    auto* first = NewComponent<TRecorder>(owner);
    auto* victim = NewComponent<TProbe>(owner);
    auto* trigger = NewComponent<TProbe>(owner);
    auto* killer = NewComponent<TRecorder>(owner);
    auto* last = NewComponent<TRecorder>(owner);
    killer->OnNotice = [&victim, trigger](TComponent* AComponent, TOperation Operation) {
        if (AComponent == trigger && Operation == opRemove && victim) {
            delete victim;
            victim = nullptr;
        }
    };
    delete trigger;
    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(LiveProbes, 0);
    EXPECT_EQ(owner->ComponentCount(), 3);
    EXPECT_GE(first->RemovalsOf(trigger), 1);
    EXPECT_GE(last->RemovalsOf(trigger), 1);
    delete owner;
}

TEST(Ownership, AConstructorThatRaisesLeavesTheOwnerUntouched) {
    LiveProbes = 0;
    TRecorder owner(nullptr);
    NewComponent<TProbe>(&owner)->SetName("Kept");
    std::size_t notices = owner.Notices.size();
    EXPECT_THROW(NewComponent<TFailing>(&owner), std::runtime_error);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Notices.size(), notices);
    EXPECT_EQ(LiveProbes, 1);
}

TEST(Ownership, ChildrenLeaveADyingOwnerSilentlyUnlessWatched) {
    auto* owner = NewComponent<TComponent>(nullptr);
    auto* watcher = NewComponent<TRecorder>(owner);
    NewComponent<TProbe>(owner);
    auto* watched = NewComponent<TProbe>(owner);
    watched->FreeNotification(watcher);
    std::vector<TComponent*> removals;
    watcher->OnNotice = [&removals](TComponent* AComponent, TOperation Operation) {
        if (Operation == opRemove)
            removals.push_back(AComponent);
    };
    delete owner;
    EXPECT_EQ(removals, (std::vector<TComponent*>{watched}));
}

TEST(Ownership, AComponentDestroyedWithoutDeleteStillLeavesItsOwner) {
    TRecorder owner(nullptr);
    {
        TComponent local(&owner);
        owner.InsertComponent(&local);
        EXPECT_EQ(owner.ComponentCount(), 1);
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(owner.Notices.back().Operation, opRemove);
}

TEST(FreeNotifications, ReachPartnersOfOtherOwnersBothWays) {
    TComponent ownerA(nullptr);
    TComponent ownerB(nullptr);
    auto* watcher = NewComponent<TRecorder>(&ownerA);
    auto* target = NewComponent<TProbe>(&ownerB);
    target->FreeNotification(watcher);
    delete target;
    ASSERT_EQ(watcher->RemovalsOf(target), 1);
    EXPECT_TRUE(watcher->Notices.back().WasProbe);

    // A freed watcher unlinks itself: the target's end must not reach it.
    auto* second = NewComponent<TProbe>(&ownerB);
    auto* shortLived = NewComponent<TRecorder>(&ownerA);
    second->FreeNotification(shortLived);
    delete shortLived;
    delete second;

    auto* third = NewComponent<TProbe>(&ownerB);
    third->FreeNotification(watcher);
    third->RemoveFreeNotification(watcher);
    std::size_t notices = watcher->Notices.size();
    delete third;
    EXPECT_EQ(watcher->Notices.size(), notices);
}

TEST(Names, MustBeIdentifiersUniqueWithoutRegardToCase) {
    TComponent owner(nullptr);
    auto* button = NewComponent<TProbe>(&owner);
    button->SetName("Button1");
    auto* other = NewComponent<TProbe>(&owner);
    EXPECT_EQ(ErrorOf([other] { other->SetName("BUTTON1"); }),
              "A component named BUTTON1 already exists");
    EXPECT_EQ(ErrorOf([other] { other->SetName("2nd"); }),
              "Component name \"2nd\" is not a valid identifier");
    EXPECT_EQ(ErrorOf([other] { other->SetName("a b"); }),
              "Component name \"a b\" is not a valid identifier");
    EXPECT_EQ(other->Name(), "");
    other->SetName("_x9");
    button->SetName("button1");
    EXPECT_EQ(button->Name(), "button1");
    other->SetName("");
    EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(Names, FindComponentFollowsRenamesAndRemovals) {
    TComponent owner(nullptr);
    auto* edit = NewComponent<TProbe>(&owner);
    edit->SetName("Edit1");
    EXPECT_EQ(owner.FindComponent("EDIT1"), edit);
    edit->SetName("NameEdit");
    EXPECT_EQ(owner.FindComponent("Edit1"), nullptr);
    EXPECT_EQ(owner.FindComponent("nameedit"), edit);
    delete edit;
    EXPECT_EQ(owner.FindComponent("NameEdit"), nullptr);

    // A named component cannot join an owner that has the name already.
    auto* clash = NewComponent<TProbe>(nullptr);
    clash->SetName("Same");
    NewComponent<TProbe>(&owner)->SetName("same");
    EXPECT_THROW(owner.InsertComponent(clash), EComponentError);
    EXPECT_EQ(clash->Owner(), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    delete clash;
}

TEST(State, DesigningSpreadsToOwnedComponents) {
    TComponent root(nullptr);
    auto* early = NewComponent<TProbe>(&root);
    root.SetDesigning(true);
    EXPECT_TRUE(early->ComponentState().Contains(csDesigning));
    auto* late = NewComponent<TProbe>(&root);
    EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
    root.SetDesigning(false, false);
    EXPECT_FALSE(root.ComponentState().Contains(csDesigning));
    EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
}

TEST(State, LoadedEndsLoading) {
    TRecorder reader(nullptr);
    reader.BeginReading();
    EXPECT_TRUE(reader.ComponentState().Contains(csLoading));
    reader.FinishReading();
    EXPECT_FALSE(reader.ComponentState().Contains(csLoading));
}

TEST(Streaming, RootReportsItsComponentsAsChildren) {
    TComponent root(nullptr);
    auto* a = NewComponent<TProbe>(&root);
    auto* b = NewComponent<TProbe>(&root);
    std::vector<TComponent*> children;
    root.GetChildren([&children](TComponent* Child) { children.push_back(Child); }, &root);
    EXPECT_EQ(children, (std::vector<TComponent*>{a, b}));
    children.clear();
    a->GetChildren([&children](TComponent* Child) { children.push_back(Child); }, &root);
    EXPECT_TRUE(children.empty());
}

TEST(Streaming, ComponentsPublishNameAndTag) {
    TPropList list = GetPropList(TComponent::StaticClass(), tkAny, false);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->Name, "Name");
    EXPECT_EQ(list[0]->PropType->Kind, tkLString);
    EXPECT_EQ(list[1]->Name, "Tag");
    EXPECT_EQ(list[1]->PropType->Kind, tkInteger);
    EXPECT_EQ(list[1]->Default, 0);
}

} // namespace
