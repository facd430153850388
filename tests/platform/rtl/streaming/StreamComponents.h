// Component classes for the component-streaming tests: one that publishes
// every property kind, a sub-object, a collection, a TStrings, a reference,
// an event and a defined binary property, and a control-like descendant that
// is written inside the component that parents it.
#pragma once

#include "rtl/Classes.h"

#include <algorithm>
#include <string>
#include <vector>

namespace streamtest {

ZX_ENUM(TShade, shLight, shMedium, shDark);
ZX_ENUM(TFeature, feBold, feItalic, feUnderline);
using TFeatures = TSet<TFeature>;

// Integer constants of the property type "TTestColor".
inline constexpr TIdentMapEntry ColorNames[] = {{0x000000, "clBlack"}, {0x0000FF, "clRed"}};
inline bool ColorToIdent(Integer Int, AnsiString& Ident) {
    return IntToIdent(Int, Ident, ColorNames);
}
inline bool IdentToColor(const AnsiString& Ident, Integer& Int) {
    return IdentToInt(Ident, Int, ColorNames);
}

class TTestFont : public TPersistent {
    ZX_CLASS(TTestFont, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TTestFont>& P) {
        P.Property("Name", &TTestFont::Name);
        P.Property("Size", &TTestFont::Size).Default(10);
    }
    AnsiString Name;
    Integer Size = 10;
};

class TTestItem : public TCollectionItem {
    ZX_CLASS(TTestItem, TCollectionItem)
public:
    explicit TTestItem(TCollection* Collection) : TCollectionItem(Collection) {}
    static void PublishedProperties(TPropertyBuilder<TTestItem>& P) {
        P.Property("Caption", &TTestItem::Caption);
        P.Property("Width", &TTestItem::Width).Default(0);
    }
    AnsiString Caption;
    Integer Width = 0;
};

// Instances alive, and what Loaded saw, for the reader tests.
inline Integer LiveSamples = 0;
inline std::vector<std::string> LoadedLog;

class TSample : public TComponent {
    ZX_CLASS(TSample, TComponent)
public:
    explicit TSample(TComponent* AOwner) : TComponent(AOwner) { ++LiveSamples; }
    ~TSample() override {
        --LiveSamples;
        ReleaseControls();
    }

    static void PublishedProperties(TPropertyBuilder<TSample>& P) {
        P.Property("Level", &TSample::Level);
        P.Property("Count", &TSample::Count).Default(0);
        P.Property("Shade", &TSample::Shade).Default(shMedium);
        P.Property("Features", &TSample::Features).Default(TFeatures{});
        P.Property("Enabled", &TSample::Enabled).Default(true);
        P.Property("Letter", &TSample::Letter).Default('a');
        P.Property("Wide", &TSample::Wide).Default(u'w');
        P.Property("Color", &TSample::Color).TypeName("TTestColor").Default(0);
        P.Property("Big", &TSample::Big);
        P.Property("Ratio", &TSample::Ratio);
        P.Property("Scale", &TSample::Scale);
        P.Property("Price", &TSample::Price).TypeName("Currency");
        P.Property("Stamp", &TSample::Stamp).TypeName("TDateTime");
        P.Property("Caption", &TSample::Caption, &TSample::SetCaption);
        P.Property("Title", &TSample::Title);
        P.ReadOnly("Font", &TSample::Font);
        P.Property("Lines", &TSample::Lines, &TSample::SetLines);
        P.ReadOnly("Items", &TSample::Items).Stored(&TSample::HasItems);
        P.Property("Buddy", &TSample::Buddy, &TSample::SetBuddy);
        P.Property("OnPing", &TSample::OnPing);
        P.Property("Hidden", &TSample::Hidden).Stored(false);
        P.ReadOnly("LineCount", &TSample::LineCount);
    }

    Integer Level = 0;
    Integer Count = 0;
    TShade Shade = shMedium;
    TFeatures Features;
    bool Enabled = true;
    char Letter = 'a';
    WideChar Wide = u'w';
    Integer Color = 0;
    Int64 Big = 0;
    double Ratio = 0;
    float Scale = 0;
    double Price = 0;
    double Stamp = 0;
    WideString Title;
    TNotifyEvent OnPing;
    Integer Hidden = 0;
    std::vector<Byte> Blob;

    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& Value) {
        FCaption = Value;
        StateAtCaption = ComponentState();
    }
    TTestFont* Font() const { return FFont.get(); }
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    TOwnedCollection* Items() const { return FItems.get(); }
    bool HasItems() const { return FItems->Count() > 0; }
    TTestItem* AddItem(const AnsiString& ItemCaption, Integer Width = 0) {
        auto* item = static_cast<TTestItem*>(FItems->Add());
        item->Caption = ItemCaption;
        item->Width = Width;
        return item;
    }
    TComponent* Buddy() const { return FBuddy; }
    void SetBuddy(TComponent* Value) { FBuddy = Value; }
    Integer LineCount() const { return FLines->Count(); }

    // The handler form files name "Ping".
    void Ping(TObject*) { ++Pings; }
    Integer Pings = 0;

    // What the reader showed this component.
    TComponentState StateAtCaption;
    TComponentState StateAtLoaded;
    TComponent* BuddyAtLoaded = nullptr;
    // The ancestor the writer offered DefineProperties, and whether it was a TSample.
    bool SawAncestor = false;

    // The parented controls, in the order they were parented.
    std::vector<TComponent*> Controls;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {
        TComponent::GetChildren(Proc, Root);
        for (TComponent* control : Controls)
            if (control->Owner() == Root)
                Proc(control);
    }

    void DefineProperties(TFiler* Filer) override {
        TComponent::DefineProperties(Filer);
        auto* ancestor = dynamic_cast<TSample*>(Filer->Ancestor());
        SawAncestor = ancestor != nullptr;
        const bool hasData = ancestor ? Blob != ancestor->Blob : !Blob.empty();
        Filer->DefineBinaryProperty(
            "Blob",
            [this](TStream& Stream) {
                Blob.assign(static_cast<std::size_t>(Stream.Size()), 0);
                Stream.ReadBuffer(Blob.data(), static_cast<Integer>(Blob.size()));
            },
            [this](TStream& Stream) {
                Stream.WriteBuffer(Blob.data(), static_cast<Integer>(Blob.size()));
            },
            hasData);
    }

protected:
    void Loaded() override {
        StateAtLoaded = ComponentState();
        BuddyAtLoaded = FBuddy;
        TComponent::Loaded();
        LoadedLog.push_back(Name());
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FBuddy)
            FBuddy = nullptr;
    }

private:
    void ReleaseControls();

    AnsiString FCaption;
    std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
    std::unique_ptr<TOwnedCollection> FItems =
        std::make_unique<TOwnedCollection>(this, TTestItem::StaticClass());
    TComponent* FBuddy = nullptr;
};

// A control: written inside the TSample that parents it.
class TSampleControl : public TSample {
    ZX_CLASS(TSampleControl, TSample)
public:
    explicit TSampleControl(TComponent* AOwner) : TSample(AOwner) {}
    ~TSampleControl() override { SetParentComponent(nullptr); }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* Value) override {
        if (FParent)
            std::erase(FParent->Controls, this);
        FParent = dynamic_cast<TSample*>(Value);
        if (FParent)
            FParent->Controls.push_back(this);
    }

private:
    friend class TSample;
    TSample* FParent = nullptr;
};

inline void TSample::ReleaseControls() {
    for (TComponent* control : Controls)
        static_cast<TSampleControl*>(control)->FParent = nullptr;
    Controls.clear();
}

// Roots that FindGlobalComponent knows, as a screen knows its forms.
inline std::vector<TComponent*> GlobalRoots;

inline TComponent* FindGlobalRoot(const AnsiString& Name) {
    for (TComponent* root : GlobalRoots)
        if (SameText(root->Name(), Name))
            return root;
    return nullptr;
}

// Registers the classes, the handler, the colour names and the global root
// finder; idempotent.
inline void RegisterSampleClasses() {
    RegisterClasses(
        {TSample::StaticClass(), TSampleControl::StaticClass(), TTestFont::StaticClass()});
    RegisterMethod("Ping", &TSample::Ping);
    RegisterIntegerConsts("TTestColor", IdentToColor, ColorToIdent);
    RegisterFindGlobalComponentProc(FindGlobalRoot);
}

} // namespace streamtest
