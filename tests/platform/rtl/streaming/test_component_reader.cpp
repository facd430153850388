// Reading components back: round trips through the binary and the text
// form, the loading state and the order of Loaded, references within and
// across roots, event handlers, inherited and inline records, form files.
#include "StreamBytes.h"
#include "StreamComponents.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace streamtest;

namespace {

std::string Written(TComponent* Root) {
    TMemoryStream stream;
    WriteComponent(stream, Root);
    return ContentOf(stream);
}

template <typename T = TSample>
std::unique_ptr<T> ReadBack(const std::string& Content, TComponent* Instance = nullptr) {
    TMemoryStream stream;
    Load(stream, Content);
    return std::unique_ptr<T>(dynamic_cast<T*>(ReadComponent(stream, Instance)));
}

// A root with a value in every property, a helper, and a control that holds
// a list and a collection item of its own.
std::unique_ptr<TSample> MakeFullTree() {
    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->SetName("Root");
    root->SetTag(-1);
    root->Level = 123456;
    root->Count = 2;
    root->Shade = shDark;
    root->Features = {feItalic, feUnderline};
    root->Enabled = false;
    root->Letter = '\xFF';
    root->Wide = u'\u0416';
    root->Color = 0xFF;
    root->Big = -(Int64(1) << 50);
    root->Ratio = 0.1;
    root->Scale = 2.5f;
    root->Price = -12.3456;
    root->Stamp = 45000.75;
    root->SetCaption(std::string("tab\tquote'\xC3\xA9") + std::string(300, 'x'));
    root->Title = u"\u041F\u0440\u0438";
    root->Font()->Name = "Mono";
    root->Font()->Size = 12;
    root->Lines()->Add("first");
    root->Lines()->Add("");
    root->Lines()->Add("third");
    root->AddItem("one", 10);
    root->AddItem("two");
    root->OnPing = TNotifyEvent([](TObject*) {}, "Ping");
    root->Blob = {0, 255, 7};
    auto* helper = NewComponent<TSample>(root.get());
    helper->SetName("Helper");
    auto* kid = NewComponent<TSampleControl>(root.get());
    kid->SetName("Kid");
    kid->SetParentComponent(root.get());
    kid->Lines()->Add("kid line");
    kid->AddItem("kid item");
    kid->SetBuddy(helper);
    root->SetBuddy(kid);
    return root;
}

class ComponentReader : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSampleClasses();
        LoadedLog.clear();
        GlobalRoots.clear();
    }
    void TearDown() override {
        GlobalRoots.clear();
        EXPECT_EQ(LiveSamples, 0) << "a test leaked samples";
    }
};

TEST_F(ComponentReader, ARoundTripRestoresEveryProperty) {
    std::unique_ptr<TSample> original = MakeFullTree();
    std::unique_ptr<TSample> copy = ReadBack(Written(original.get()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Name(), "Root");
    EXPECT_EQ(copy->Tag(), -1);
    EXPECT_EQ(copy->Level, 123456);
    EXPECT_EQ(copy->Count, 2);
    EXPECT_EQ(copy->Shade, shDark);
    EXPECT_EQ(copy->Features, (TFeatures{feItalic, feUnderline}));
    EXPECT_FALSE(copy->Enabled);
    EXPECT_EQ(copy->Letter, '\xFF');
    EXPECT_EQ(copy->Wide, u'\u0416');
    EXPECT_EQ(copy->Color, 0xFF);
    EXPECT_EQ(copy->Big, -(Int64(1) << 50));
    EXPECT_EQ(copy->Ratio, 0.1);
    EXPECT_EQ(copy->Scale, 2.5f);
    EXPECT_DOUBLE_EQ(copy->Price, -12.3456);
    EXPECT_EQ(copy->Stamp, 45000.75);
    EXPECT_EQ(copy->Caption(), original->Caption());
    EXPECT_EQ(copy->Title, original->Title);
    EXPECT_EQ(copy->Font()->Name, "Mono");
    EXPECT_EQ(copy->Font()->Size, 12);
    EXPECT_EQ(copy->Lines()->Text(), "first\n\nthird\n");
    ASSERT_EQ(copy->Items()->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(copy->Items()->Items(0))->Caption, "one");
    EXPECT_EQ(static_cast<TTestItem*>(copy->Items()->Items(0))->Width, 10);
    EXPECT_EQ(static_cast<TTestItem*>(copy->Items()->Items(1))->Caption, "two");
    EXPECT_EQ(copy->Blob, original->Blob);
    EXPECT_EQ(copy->Hidden, 0);

    ASSERT_EQ(copy->ComponentCount(), 2);
    auto* helper = dynamic_cast<TSample*>(copy->FindComponent("Helper"));
    auto* kid = dynamic_cast<TSampleControl*>(copy->FindComponent("Kid"));
    ASSERT_TRUE(helper && kid);
    EXPECT_EQ(kid->GetParentComponent(), copy.get());
    EXPECT_EQ(helper->GetParentComponent(), nullptr);
    EXPECT_EQ(kid->Lines()->Text(), "kid line\n");
    EXPECT_EQ(kid->Items()->Count(), 1);
    EXPECT_EQ(copy->Buddy(), kid);
    EXPECT_EQ(kid->Buddy(), helper);
    EXPECT_EQ(Written(copy.get()), Written(original.get()));
}

TEST_F(ComponentReader, EventsAreBoundToTheNewRootsHandler) {
    std::unique_ptr<TSample> original = MakeFullTree();
    std::unique_ptr<TSample> copy = ReadBack(Written(original.get()));
    ASSERT_TRUE(copy->OnPing);
    EXPECT_EQ(copy->OnPing.HandlerName(), "Ping");
    copy->OnPing(copy.get());
    EXPECT_EQ(copy->Pings, 1);
    EXPECT_EQ(original->Pings, 0);
}

TEST_F(ComponentReader, BinaryToTextToBinaryGivesTheSameBytes) {
    std::unique_ptr<TSample> original = MakeFullTree();
    const std::string binary = Written(original.get());
    const std::string text = BinaryToText(binary);
    EXPECT_NE(text.find("object Root: TSample"), std::string::npos);
    EXPECT_NE(text.find("Buddy = Kid"), std::string::npos);
    EXPECT_NE(text.find("OnPing = Ping"), std::string::npos);
    EXPECT_EQ(TextToBinary(text), binary);
    std::unique_ptr<TSample> copy = ReadBack(TextToBinary(text));
    EXPECT_EQ(Written(copy.get()), binary);
}

class TTill : public TComponent {
    ZX_CLASS(TTill, TComponent)
public:
    using TComponent::TComponent;
    static void PublishedProperties(TPropertyBuilder<TTill>& P) {
        P.Property("Balance", &TTill::Balance);
    }
    Currency Balance;
};

TEST_F(ComponentReader, CurrencyTravelsExactlyThroughBinaryAndText) {
    RegisterClasses({TTill::StaticClass()});
    constexpr Int64 largest = std::numeric_limits<Int64>::max();
    for (Int64 scaled : {largest, -largest - 1, Int64(1), Int64(-123456789012345)}) {
        TTill till(nullptr);
        till.Balance = Currency{scaled};
        const std::string text = BinaryToText(Written(&till));
        std::unique_ptr<TTill> copy = ReadBack<TTill>(TextToBinary(text));
        ASSERT_TRUE(copy) << text;
        EXPECT_EQ(copy->Balance.Scaled, scaled) << text;
    }
    TTill till(nullptr);
    till.Balance = Currency{largest};
    EXPECT_NE(BinaryToText(Written(&till)).find("Balance = 922337203685477.5807c"),
              std::string::npos);
}

TEST_F(ComponentReader, AFloatBeyondCurrencysRangeIsRefusedNotWrapped) {
    std::unique_ptr<TSample> sample(NewComponent<TSample>(nullptr));
    sample->Price = 922337203685477.5807;
    EXPECT_THROW(Written(sample.get()), EPropertyConvertError);
    sample->Price = -922337203685477.0;
    std::unique_ptr<TSample> copy = ReadBack(Written(sample.get()));
    EXPECT_EQ(copy->Price, -922337203685477.0);
}

TEST_F(ComponentReader, ReadingIntoAnInstanceKeepsItWithItsOwner) {
    std::unique_ptr<TComponent> owner(NewComponent<TComponent>(nullptr));
    auto* target = NewComponent<TSample>(owner.get());
    std::unique_ptr<TSample> original = MakeFullTree();
    TComponent* result = ReadBack(Written(original.get()), target).release();
    EXPECT_EQ(result, target);
    EXPECT_EQ(target->Owner(), owner.get());
    EXPECT_EQ(owner->FindComponent("Root"), target);
    EXPECT_EQ(target->Level, 123456);
    EXPECT_EQ(target->ComponentCount(), 2);
}

TEST_F(ComponentReader, ANewRootCanBeGivenAnOwner) {
    std::unique_ptr<TComponent> owner(NewComponent<TComponent>(nullptr));
    std::unique_ptr<TSample> original = MakeFullTree();
    TMemoryStream stream;
    Load(stream, Written(original.get()));
    TComponent* read = ReadComponent(stream, nullptr, owner.get());
    EXPECT_EQ(read->Owner(), owner.get());
    EXPECT_EQ(owner->FindComponent("Root"), read);
}

TEST_F(ComponentReader, LoadedRunsInCreationOrderAfterTheLoadingState) {
    std::unique_ptr<TSample> original = MakeFullTree();
    auto* inner = NewComponent<TSampleControl>(original.get());
    inner->SetName("Inner");
    inner->SetParentComponent(original->FindComponent("Kid"));
    inner->SetCaption("c");
    std::unique_ptr<TSample> copy = ReadBack(Written(original.get()));
    EXPECT_EQ(LoadedLog, (std::vector<std::string>{"Root", "Helper", "Kid", "Inner"}));

    for (const char* name : {"Root", "Inner"}) {
        auto* sample = name == std::string("Root")
                           ? copy.get()
                           : static_cast<TSample*>(copy->FindComponent(name));
        SCOPED_TRACE(name);
        EXPECT_TRUE(sample->StateAtCaption.Contains(csLoading));
        EXPECT_TRUE(sample->StateAtCaption.Contains(csReading));
        EXPECT_TRUE(sample->StateAtLoaded.Contains(csLoading));
        EXPECT_FALSE(sample->StateAtLoaded.Contains(csReading));
        EXPECT_FALSE(sample->ComponentState().Contains(csLoading));
    }
    // References are fixed up before any Loaded runs.
    EXPECT_EQ(copy->BuddyAtLoaded, copy->FindComponent("Kid"));
}

TEST_F(ComponentReader, ReferencesToALoadedRootAreFixedUp) {
    std::unique_ptr<TSample> other(NewComponent<TSample>(nullptr));
    other->SetName("B");
    auto* thing = NewComponent<TSample>(other.get());
    thing->SetName("Thing");
    GlobalRoots.push_back(other.get());

    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->SetName("A");
    root->SetBuddy(thing);
    const std::string stream = Written(root.get());
    root.reset();
    std::unique_ptr<TSample> copy = ReadBack(stream);
    EXPECT_EQ(copy->Buddy(), thing);
    EXPECT_EQ(copy->BuddyAtLoaded, thing);
}

TEST_F(ComponentReader, ReferencesWaitForARootLoadedLater) {
    std::unique_ptr<TSample> other(NewComponent<TSample>(nullptr));
    other->SetName("B");
    auto* thing = NewComponent<TSample>(other.get());
    thing->SetName("Thing");
    std::unique_ptr<TSample> first(NewComponent<TSample>(nullptr));
    first->SetName("A");
    first->SetBuddy(thing);
    auto* kid = NewComponent<TSampleControl>(first.get());
    kid->SetName("Kid");
    kid->SetParentComponent(first.get());
    kid->SetBuddy(other.get());
    const std::string stream = Written(first.get());
    first.reset();

    std::unique_ptr<TSample> copy = ReadBack(stream);
    auto* copyKid = static_cast<TSample*>(copy->FindComponent("Kid"));
    EXPECT_EQ(copy->Buddy(), nullptr);
    EXPECT_EQ(copyKid->Buddy(), nullptr);
    GlobalRoots.push_back(other.get());
    GlobalFixupReferences();
    EXPECT_EQ(copy->Buddy(), thing);
    EXPECT_EQ(copyKid->Buddy(), other.get());
    // Resolved references wait no longer.
    copy->SetBuddy(nullptr);
    GlobalFixupReferences();
    EXPECT_EQ(copy->Buddy(), nullptr);
}

TEST_F(ComponentReader, WaitingReferencesGoWithTheirComponent) {
    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->SetName("A");
    auto* kid = NewComponent<TSampleControl>(root.get());
    kid->SetName("Kid");
    kid->SetParentComponent(root.get());
    std::unique_ptr<TSample> other(NewComponent<TSample>(nullptr));
    other->SetName("B");
    kid->SetBuddy(other.get());
    root->SetBuddy(other.get());
    const std::string stream = Written(root.get());
    root.reset();

    ReadBack(stream).reset(); // both references wait, then their components go
    GlobalRoots.push_back(other.get());
    GlobalFixupReferences(); // must not touch the freed components (ASan)
    EXPECT_EQ(LiveSamples, 1);
}

TEST_F(ComponentReader, ARootNameTakenByAnotherGlobalRootIsMadeUnique) {
    std::unique_ptr<TSample> existing(NewComponent<TSample>(nullptr));
    existing->SetName("Root");
    GlobalRoots.push_back(existing.get());
    std::unique_ptr<TSample> original = MakeFullTree();
    std::unique_ptr<TSample> copy = ReadBack(Written(original.get()));
    EXPECT_EQ(copy->Name(), "Root_1");
    // Reading into the global root itself keeps its name.
    TMemoryStream stream;
    Load(stream, Written(original.get()));
    ReadComponent(stream, existing.get());
    EXPECT_EQ(existing->Name(), "Root");
}

TEST_F(ComponentReader, AHandlerTheRootDoesNotOfferIsAReadError) {
    std::unique_ptr<TSample> original(NewComponent<TSample>(nullptr));
    original->OnPing = TNotifyEvent([](TObject*) {}, "Pong");
    const std::string stream = Written(original.get());
    EXPECT_EQ(zxtest::MessageOf<EReadError>([&] { ReadBack(stream); }),
              "Error reading TSample.OnPing: Method Pong not found");

    // A designer keeps names it cannot run.
    TMemoryStream input;
    Load(input, stream);
    TReader reader(input);
    reader.OnFindMethod = [](TReader&, const AnsiString&, std::any&, bool& Error) {
        Error = false;
    };
    std::unique_ptr<TComponent> read(reader.ReadRootComponent(nullptr));
    auto* sample = static_cast<TSample*>(read.get());
    EXPECT_FALSE(sample->OnPing);
    EXPECT_EQ(sample->OnPing.HandlerName(), "Pong");
    EXPECT_EQ(Written(sample), stream);
}

TEST_F(ComponentReader, AnInheritedRecordReadsIntoTheExistingComponent) {
    std::unique_ptr<TSample> ancestor(NewComponent<TSample>(nullptr));
    ancestor->SetName("Form");
    auto* kid = NewComponent<TSampleControl>(ancestor.get());
    kid->SetName("Kid");
    kid->SetParentComponent(ancestor.get());
    const std::string ancestorStream = Written(ancestor.get());

    std::unique_ptr<TSample> descendant = ReadBack(ancestorStream);
    static_cast<TSample*>(descendant->FindComponent("Kid"))->Level = 8;
    descendant->SetCaption("changed");
    TMemoryStream delta;
    WriteDescendent(delta, descendant.get(), ancestor.get());

    // Loading the inherited form: the ancestor's stream, then the delta.
    std::unique_ptr<TSample> loaded = ReadBack(ancestorStream);
    auto* loadedKid = static_cast<TSample*>(loaded->FindComponent("Kid"));
    LoadedLog.clear();
    delta.SetPosition(0);
    ReadComponent(delta, loaded.get());
    EXPECT_EQ(loaded->Caption(), "changed");
    EXPECT_EQ(loaded->FindComponent("Kid"), loadedKid);
    EXPECT_EQ(loadedKid->Level, 8);
    EXPECT_EQ(loaded->ComponentCount(), 1);
    EXPECT_EQ(LoadedLog, (std::vector<std::string>{"Form", "Kid"}));
}

TEST_F(ComponentReader, AnInlineFrameOwnsTheComponentsWrittenInsideIt) {
    TMemoryStream stream;
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TSample");
    writer.WriteStr("Form");
    writer.WriteListEnd();
    writer.WritePrefix({ffInline}, 0);
    writer.WriteStr("TSampleControl");
    writer.WriteStr("Frame");
    writer.WriteListEnd();
    writer.WriteStr("TSampleControl");
    writer.WriteStr("Button");
    writer.WriteStr("Caption");
    writer.WriteString("in frame");
    writer.WriteListEnd(); // Button's properties
    writer.WriteListEnd(); // Button's children
    writer.WriteListEnd(); // the frame's children
    writer.WriteListEnd(); // the form's children
    std::unique_ptr<TSample> form = ReadBack(ContentOf(stream));

    auto* frame = static_cast<TSample*>(form->FindComponent("Frame"));
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->ComponentState().Contains(csInline));
    auto* button = static_cast<TSample*>(frame->FindComponent("Button"));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->Caption(), "in frame");
    EXPECT_EQ(form->FindComponent("Button"), nullptr);

    // Written again, the frame keeps its flag and its components.
    const std::string text = BinaryToText(Written(form.get()));
    EXPECT_NE(text.find("inline Frame: TSampleControl"), std::string::npos) << text;
    EXPECT_NE(text.find("object Button: TSampleControl"), std::string::npos) << text;
}

TEST_F(ComponentReader, CollectionsAreReplacedUnlessTheStreamListsNoItems) {
    std::unique_ptr<TSample> target(NewComponent<TSample>(nullptr));
    target->AddItem("kept");
    ReadBack(Bytes({"TPF0", 7, "TSample", 0, 5, "Items", 0x0E, 0x00, 0x00, 0x00}), target.get())
        .release();
    ASSERT_EQ(target->Items()->Count(), 1);
    ReadBack(
        Bytes({"TPF0", 7, "TSample", 0, 5, "Items", 0x0E, 0x02, 4, 0x01, 0x00, 0x00, 0x00, 0x00}),
        target.get())
        .release();
    ASSERT_EQ(target->Items()->Count(), 1);
    EXPECT_EQ(static_cast<TTestItem*>(target->Items()->Items(0))->Caption, "");
}

class FormFiles : public ComponentReader {
protected:
    zxtest::TTempDir Dir;
};

TEST_F(FormFiles, BinaryFormFilesRoundTrip) {
    std::unique_ptr<TSample> original = MakeFullTree();
    const std::string path = Dir.File("form.xfm");
    WriteComponentResFile(path, original.get());
    std::unique_ptr<TComponent> read(ReadComponentResFile(path));
    EXPECT_EQ(Written(read.get()), Written(original.get()));
    std::unique_ptr<TComponent> detected(LoadComponentFromFile(path));
    EXPECT_EQ(Written(detected.get()), Written(original.get()));
}

TEST_F(FormFiles, TextFormFilesRoundTripAndAreDetected) {
    std::unique_ptr<TSample> original = MakeFullTree();
    const std::string path = Dir.File("form.xfm");
    SaveComponentToTextFile(path, original.get());
    TStringList lines;
    lines.LoadFromFile(path);
    EXPECT_EQ(lines[0], "object Root: TSample");
    std::unique_ptr<TComponent> read(LoadComponentFromFile(path));
    EXPECT_EQ(Written(read.get()), Written(original.get()));
}

TEST_F(FormFiles, PlainComponentStreamsAreDetectedToo) {
    std::unique_ptr<TSample> original = MakeFullTree();
    const std::string path = Dir.File("form.bin");
    const std::string content = Written(original.get());
    std::ofstream(path, std::ios::binary) << content;
    std::unique_ptr<TComponent> read(LoadComponentFromFile(path));
    EXPECT_EQ(Written(read.get()), content);
}

TEST_F(FormFiles, ReadErrorsNameTheFile) {
    const std::string binary = Dir.File("bad.xfm");
    std::ofstream(binary, std::ios::binary) << Bytes({"TPF0", 5, "TNope", 0, 0x00, 0x00});
    EXPECT_EQ(zxtest::MessageOf<EReadError>([&] { LoadComponentFromFile(binary); }),
              "Class TNope not found (file \"" + binary + "\", offset 11)");

    const std::string text = Dir.File("bad.txt");
    std::ofstream(text) << "object Root: TSample\n  Caption = 'open\nend\n";
    const std::string message = zxtest::MessageOf<EReadError>([&] { LoadComponentFromFile(text); });
    EXPECT_NE(message.find("line 2"), std::string::npos) << message;
    EXPECT_NE(message.find(text), std::string::npos) << message;

    const std::string neither = Dir.File("neither.txt");
    std::ofstream(neither) << "hello";
    EXPECT_EQ(zxtest::MessageOf<EReadError>([&] { LoadComponentFromFile(neither); }),
              "Invalid stream format (file \"" + neither + "\")");
}

} // namespace
