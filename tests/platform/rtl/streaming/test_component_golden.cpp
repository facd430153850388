// Components on the binary stream, pinned byte by byte. Every expected
// sequence is derived by hand from the format: properties in declaration
// order (TComponent's Tag first), defaults left out, sub-objects as dotted
// names, then the defined properties, an end marker, the children and a
// second end marker.
#include "StreamBytes.h"
#include "StreamComponents.h"

#include <gtest/gtest.h>

using namespace streamtest;

namespace {

class ComponentGolden : public ::testing::Test {
protected:
    void SetUp() override { RegisterSampleClasses(); }

    static std::string Written(TComponent* Root) {
        TMemoryStream stream;
        WriteComponent(stream, Root);
        return ContentOf(stream);
    }

    static std::string WrittenDescendent(TComponent* Root, TComponent* Ancestor) {
        TMemoryStream stream;
        WriteDescendent(stream, Root, Ancestor);
        return ContentOf(stream);
    }
};

TEST_F(ComponentGolden, ATreeWithEveryKindOfContent) {
    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->SetName("Root");
    root->Level = 3;
    root->Count = 0;
    root->Hidden = 5;
    root->Shade = shDark;
    root->SetCaption("Hi");
    root->Font()->Name = "Sans";
    root->Lines()->Add("a");
    root->Lines()->Add("b");
    root->AddItem("x");
    root->OnPing = TNotifyEvent([](TObject*) {}, "Ping");
    root->Blob = {1, 2, 3};
    auto* helper = NewComponent<TSample>(root.get());
    helper->SetName("Helper");
    helper->Level = 2;
    auto* kid = NewComponent<TSampleControl>(root.get());
    kid->SetName("Kid");
    kid->SetParentComponent(root.get());
    kid->Level = 1;
    root->SetBuddy(kid);

    EXPECT_EQ(Written(root.get()),
              Bytes({"TPF0", 7, "TSample", 4, "Root",
                     // Level has no default: always written. Count, at its
                     // default, and Hidden, not stored, are absent.
                     5, "Level", 0x02, 3,                    //
                     5, "Shade", 0x07, 6, "shDark",          //
                     3, "Big", 0x02, 0,                      // Int64 without default
                     7, "Caption", 0x06, 2, "Hi",            //
                     9, "Font.Name", 0x06, 4, "Sans",        // Font.Size at its default
                     13, "Lines.Strings", 0x01,              // TStrings as a list
                     0x06, 1, "a", 0x06, 1, "b", 0x00,       //
                     5, "Items", 0x0E,                       // the collection
                     0x01, 7, "Caption", 0x06, 1, "x", 0x00, //   one item
                     0x00,                                   //
                     5, "Buddy", 0x07, 3, "Kid",             // a reference by name
                     6, "OnPing", 0x07, 4, "Ping",           // an event by handler name
                     4, "Blob", 0x0A, 3, 0, 0, 0, 1, 2, 3,   // the defined binary property
                     0x00,                                   // end of the root's properties
                     7, "TSample", 6, "Helper",              // owned, without parent
                     5, "Level", 0x02, 2, 3, "Big", 0x02, 0, 0x00, 0x00, 14, "TSampleControl", 3,
                     "Kid", // parented by the root
                     5, "Level", 0x02, 1, 3, "Big", 0x02, 0, 0x00, 0x00,
                     0x00})); // end of the root's children
}

TEST_F(ComponentGolden, EachValueKind) {
    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->SetName("V");
    root->SetTag(7);
    root->Level = -300;
    root->Count = 70000;
    root->Shade = shLight;
    root->Features = {feBold, feUnderline};
    root->Enabled = false;
    root->Letter = 'z';
    root->Wide = u'\u20AC';
    root->Color = 0xFF;
    root->Big = Int64(1) << 40;
    root->Ratio = 1.5;
    root->Scale = 0.5f;
    root->Price = 1.25;
    root->Stamp = 2.0;
    root->Title = WideString(1, u'\u00E9');
    root->SetBuddy(root.get());

    const std::string ordinals =
        Bytes({"TPF0", 7,          "TSample", 1,    "V",                   //
               3,      "Tag",      0x02,      7,                           //
               5,      "Level",    0x03,      0xD4, 0xFE,                  // vaInt16
               5,      "Count",    0x04,      0x70, 0x11,      0x01, 0x00, // vaInt32
               5,      "Shade",    0x07,      7,    "shLight",             // vaIdent
               8,      "Features", 0x0B,      6,    "feBold",  11,   "feUnderline",
               0,                                        // vaSet
               7,      "Enabled",  0x08,                 // vaFalse
               6,      "Letter",   0x06,      1,    "z", // a char
               4,      "Wide",     0x12,      1,    0,         0,    0,
               0xAC,   0x20,                                   // a wide char
               5,      "Color",    0x07,      5,    "clRed"}); // a named constant
    const std::string others = Bytes(
        {3,    "Big",   0x13, 0,    0,       0, 0,    0,    1,    0, 0,                // vaInt64
         5,    "Ratio", 0x05, 0,    0,       0, 0,    0,    0,    0, 0xC0, 0xFF, 0x3F, // vaExtended
         5,    "Scale", 0x0F, 0,    0,       0, 0x3F,                                  // vaSingle
         5,    "Price", 0x10, 0xD4, 0x30,    0, 0,    0,    0,    0, 0,                // vaCurrency
         5,    "Stamp", 0x11, 0,    0,       0, 0,    0,    0,    0, 0x40,             // vaDate
         5,    "Title", 0x12, 1,    0,       0, 0,    0xE9, 0x00,                      // vaWString
         5,    "Buddy", 0x07, 5,    "Owner", // the root itself
         0x00, 0x00});
    EXPECT_EQ(Written(root.get()), ordinals + others);
}

TEST_F(ComponentGolden, IntegersWithoutAConstantNameStayNumbers) {
    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->Color = 0x123;
    EXPECT_EQ(Written(root.get()), Bytes({"TPF0", 7, "TSample", 0,      //
                                          5, "Level", 0x02, 0,          //
                                          5, "Color", 0x03, 0x23, 0x01, //
                                          3, "Big", 0x02, 0, 0x00, 0x00}));
}

TEST_F(ComponentGolden, PropertiesSetBackToTheirDefaultsAreAbsent) {
    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->Shade = shDark;
    root->Shade = shMedium;
    root->Enabled = true;
    root->Lines()->Add("gone");
    root->Lines()->Clear();
    root->AddItem("gone");
    root->Items()->Clear();
    root->OnPing = TNotifyEvent([](TObject*) {}); // assigned, but with no name to write
    EXPECT_EQ(Written(root.get()),
              Bytes({"TPF0", 7, "TSample", 0, 5, "Level", 0x02, 0, 3, "Big", 0x02, 0, 0x00, 0x00}));
}

TEST_F(ComponentGolden, ReferencesToOtherRootsAreQualified) {
    std::unique_ptr<TSample> other(NewComponent<TSample>(nullptr));
    other->SetName("B");
    auto* thing = NewComponent<TSample>(other.get());
    thing->SetName("Thing");
    auto* unnamed = NewComponent<TSample>(other.get());

    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->SetName("A");
    const std::string head =
        Bytes({"TPF0", 7, "TSample", 1, "A", 5, "Level", 0x02, 0, 3, "Big", 0x02, 0});
    root->SetBuddy(thing);
    EXPECT_EQ(Written(root.get()), head + Bytes({5, "Buddy", 0x07, 7, "B.Thing", 0x00, 0x00}));
    root->SetBuddy(other.get());
    EXPECT_EQ(Written(root.get()), head + Bytes({5, "Buddy", 0x07, 7, "B.Owner", 0x00, 0x00}));
    // A component without a name cannot be referred to.
    root->SetBuddy(unnamed);
    EXPECT_EQ(Written(root.get()), head + Bytes({0x00, 0x00}));
}

class DescendentGolden : public ComponentGolden {
protected:
    // An inherited form: the ancestor and a descendant made alike, with one
    // inherited control Kid each.
    static std::unique_ptr<TSample> MakeForm(const AnsiString& Caption) {
        std::unique_ptr<TSample> form(NewComponent<TSample>(nullptr));
        form->SetName("Form");
        form->Level = 3;
        form->SetCaption(Caption);
        form->Blob = {9};
        auto* kid = NewComponent<TSampleControl>(form.get());
        kid->SetName("Kid");
        kid->SetParentComponent(form.get());
        kid->Level = 1;
        return form;
    }
    static TSampleControl* AddExtra(TSample* Form) {
        auto* extra = NewComponent<TSampleControl>(Form);
        extra->SetName("Extra");
        extra->SetParentComponent(Form);
        extra->Level = 2;
        return extra;
    }

    std::unique_ptr<TSample> Ancestor = MakeForm("Old");
    std::unique_ptr<TSample> Form = MakeForm("New");
};

TEST_F(DescendentGolden, OnlyDifferencesAreWrittenAndUnchangedChildrenLeftOut) {
    AddExtra(Form.get());
    EXPECT_EQ(WrittenDescendent(Form.get(), Ancestor.get()),
              Bytes({"TPF0", 0xF1, 7, "TSample", 4,
                     "Form", // ffInherited
                             // Level and Big equal the ancestor's; so does Blob.
                     7, "Caption", 0x06, 3, "New", 0x00,
                     // Kid, inherited and unchanged, is gone; Extra is new.
                     14, "TSampleControl", 5, "Extra", 5, "Level", 0x02, 2, 3, "Big", 0x02, 0, 0x00,
                     0x00, 0x00}));
}

TEST_F(DescendentGolden, ChangedInheritedChildrenAreMarked) {
    static_cast<TSample*>(Form->FindComponent("Kid"))->Level = 4;
    EXPECT_EQ(WrittenDescendent(Form.get(), Ancestor.get()),
              Bytes({"TPF0", 0xF1, 7,  "TSample",        4, "Form", 7, "Caption", 0x06, 3, "New",
                     0x00,   0xF1, 14, "TSampleControl", 3, "Kid",  5, "Level",   0x02, 4, 0x00,
                     0x00,   0x00}));
}

TEST_F(DescendentGolden, ANewChildBeforeInheritedOnesRecordsItsPosition) {
    TSampleControl* extra = AddExtra(Form.get());
    std::erase(Form->Controls, extra);
    Form->Controls.insert(Form->Controls.begin(), extra);
    EXPECT_EQ(WrittenDescendent(Form.get(), Ancestor.get()), Bytes({"TPF0", 0xF1,
                                                                    7,      "TSample",
                                                                    4,      "Form",
                                                                    7,      "Caption",
                                                                    0x06,   3,
                                                                    "New",  0x00,
                                                                    0xF2,   0x02,
                                                                    0, // ffChildPos at 0
                                                                    14,     "TSampleControl",
                                                                    5,      "Extra",
                                                                    5,      "Level",
                                                                    0x02,   2,
                                                                    3,      "Big",
                                                                    0x02,   0,
                                                                    0x00,   0x00,
                                                                    0x00}));
}

TEST_F(DescendentGolden, DefinedPropertiesCompareWithTheAncestor) {
    Form->Blob = {8};
    const std::string written = WrittenDescendent(Form.get(), Ancestor.get());
    EXPECT_TRUE(Form->SawAncestor);
    EXPECT_EQ(written,
              Bytes({"TPF0", 0xF1,   7,    "TSample", 4, "Form", 7, "Caption", 0x06, 3,   "New",
                     4,      "Blob", 0x0A, 1,         0, 0,      0, 8,         0x00, 0x00}));
    // Without an ancestor the same component writes everything it holds.
    Written(Form.get());
    EXPECT_FALSE(Form->SawAncestor);
}

TEST_F(DescendentGolden, AnEventDroppedByTheDescendantIsWrittenAsNil) {
    Ancestor->OnPing = TNotifyEvent([](TObject*) {}, "Ping");
    const std::string head =
        Bytes({"TPF0", 0xF1, 7, "TSample", 4, "Form", 7, "Caption", 0x06, 3, "New"});
    EXPECT_EQ(WrittenDescendent(Form.get(), Ancestor.get()),
              head + Bytes({6, "OnPing", 0x0D, 0x00, 0x00}));
    Form->OnPing = TNotifyEvent([](TObject*) {}, "Ping");
    EXPECT_EQ(WrittenDescendent(Form.get(), Ancestor.get()), head + Bytes({0x00, 0x00}));
}

TEST_F(ComponentGolden, ResourceFormFramesTheStream) {
    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    TMemoryStream stream;
    WriteComponentRes(stream, "TSample", root.get());
    const std::string body =
        Bytes({"TPF0", 7, "TSample", 0, 5, "Level", 0x02, 0, 3, "Big", 0x02, 0, 0x00, 0x00});
    EXPECT_EQ(ContentOf(stream), Bytes({0xFF, 0x0A, 0x00, "TSAMPLE", 0x00, 0x30, 0x10,
                                        static_cast<int>(body.size()), 0, 0, 0}) +
                                     body);
}

} // namespace
