#include "rtl/Classes.h"

#include <gtest/gtest.h>

namespace {

class TWidgetBase : public TComponent {
    ZX_CLASS(TWidgetBase, TComponent)
public:
    explicit TWidgetBase(TComponent* AOwner) : TComponent(AOwner) { Kind = "base"; }
    AnsiString Kind;
};

class TFancyWidget : public TWidgetBase {
    ZX_CLASS(TFancyWidget, TWidgetBase)
public:
    explicit TFancyWidget(TComponent* AOwner) : TWidgetBase(AOwner) { Kind = "fancy"; }
};

// Same class name as TFancyWidget, in another scope.
namespace other {
class TFancyWidget : public TComponent {
    ZX_CLASS(TFancyWidget, TComponent)
public:
    explicit TFancyWidget(TComponent* AOwner) : TComponent(AOwner) {}
};
} // namespace other

class TAbstractWidget : public TComponent {
    ZX_CLASS(TAbstractWidget, TComponent)
public:
    explicit TAbstractWidget(TComponent* AOwner) : TComponent(AOwner) {}
    virtual void Paint() = 0;
};

class TNeedsMore : public TComponent {
    ZX_CLASS(TNeedsMore, TComponent)
public:
    TNeedsMore(TComponent* AOwner, Integer Size) : TComponent(AOwner), FSize(Size) {}
    Integer FSize;
};

TEST(ClassRegistry, RegistrationIsIdempotentAndCoversAncestors) {
    RegisterClass(TFancyWidget::StaticClass());
    RegisterClass(TFancyWidget::StaticClass());
    RegisterClass(other::TFancyWidget::StaticClass());
    EXPECT_EQ(GetClass("TFancyWidget"), TFancyWidget::StaticClass());
    EXPECT_EQ(GetClass("tfancywidget"), TFancyWidget::StaticClass());
    EXPECT_EQ(GetClass("TWidgetBase"), TWidgetBase::StaticClass());
    EXPECT_EQ(GetClass("TComponent"), TComponent::StaticClass());
    EXPECT_EQ(GetClass("TPersistent"), TPersistent::StaticClass());
    EXPECT_EQ(GetClass("TObject"), nullptr);
}

TEST(ClassRegistry, UnknownNames) {
    EXPECT_EQ(GetClass("TNeverRegistered"), nullptr);
    try {
        FindClass("TNeverRegistered");
        FAIL() << "no exception";
    } catch (const EClassNotFound& error) {
        EXPECT_EQ(error.Message(), "Class TNeverRegistered not found");
    }
    EXPECT_THROW(CreateComponent("TNeverRegistered", nullptr), EClassNotFound);
}

TEST(ClassRegistry, CreatingByNameRunsTheClassOwnConstructor) {
    RegisterClasses({TFancyWidget::StaticClass()});
    TComponent owner(nullptr);
    TComponent* created = CreateComponent("TFancyWidget", &owner);
    auto* widget = dynamic_cast<TFancyWidget*>(created);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->Kind, "fancy");
    EXPECT_EQ(created->Owner(), &owner);
    EXPECT_EQ(owner.Components(0), created);

    TComponent* base = CreateComponent(TWidgetBase::StaticClass(), &owner);
    EXPECT_EQ(base->ClassType(), TWidgetBase::StaticClass());
    EXPECT_EQ(static_cast<TWidgetBase*>(base)->Kind, "base");
    EXPECT_EQ(owner.ComponentCount(), 2);
}

TEST(ClassRegistry, OnlyConstructibleComponentClassesAreCreated) {
    TComponent owner(nullptr);
    EXPECT_THROW(CreateComponent(TAbstractWidget::StaticClass(), &owner), EComponentError);
    EXPECT_THROW(CreateComponent(TNeedsMore::StaticClass(), &owner), EComponentError);
    EXPECT_THROW(CreateComponent(TPersistent::StaticClass(), &owner), EComponentError);
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(NewComponent<TNeedsMore>(&owner, 3)->FSize, 3);
}

TEST(ClassRegistry, ClassReferencesKnowTheirLineage) {
    TFancyWidget widget(nullptr);
    EXPECT_EQ(widget.ClassName(), "TFancyWidget");
    EXPECT_TRUE(widget.InheritsFrom(TWidgetBase::StaticClass()));
    EXPECT_TRUE(widget.InheritsFrom(TObject::StaticClass()));
    EXPECT_FALSE(widget.InheritsFrom(other::TFancyWidget::StaticClass()));
    EXPECT_EQ(TFancyWidget::StaticClass()->Parent, TWidgetBase::StaticClass());
}

} // namespace
