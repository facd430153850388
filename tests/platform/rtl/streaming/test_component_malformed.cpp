// Component streams as untrusted input: truncated and corrupted streams raise
// EReadError with a message that says what is wrong, never crash, and leave
// nothing behind that the read created.
#include "StreamBytes.h"
#include "StreamComponents.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace streamtest;

namespace {

// The message of the EReadError that reading Content raises.
std::string ReadErrorOf(const std::string& Content, TComponent* Instance = nullptr,
                        TClass MinClass = nullptr) {
    TMemoryStream stream;
    Load(stream, Content);
    return zxtest::MessageOf<EReadError>([&] {
        std::unique_ptr<TComponent> read(ReadComponent(stream, Instance, nullptr, MinClass));
        if (Instance)
            read.release();
    });
}

const std::string Head = Bytes({"TPF0", 7, "TSample", 4, "Root"});

// A root whose only property is Name = Value (bytes after the name).
std::string WithProperty(const std::string& Name, const std::string& Value) {
    return Head + Bytes({static_cast<int>(Name.size()), Name}) + Value + Bytes({0x00, 0x00});
}

// A root with one child record of that class and name.
std::string WithChild(const std::string& ClassName, const std::string& Name,
                      const std::string& Prefix = "") {
    return Head + Bytes({0x00}) + Prefix +
           Bytes({static_cast<int>(ClassName.size()), ClassName, static_cast<int>(Name.size()),
                  Name, 0x00, 0x00, 0x00});
}

std::string Full() {
    std::unique_ptr<TSample> root(NewComponent<TSample>(nullptr));
    root->SetName("Root");
    root->Level = 1;
    root->SetCaption("caption");
    root->Font()->Name = "Sans";
    root->Lines()->Add("line");
    root->AddItem("item", 3);
    root->OnPing = TNotifyEvent([](TObject*) {}, "Ping");
    root->Blob = {1, 2};
    auto* kid = NewComponent<TSampleControl>(root.get());
    kid->SetName("Kid");
    kid->SetParentComponent(root.get());
    kid->SetBuddy(root.get());
    auto* inner = NewComponent<TSampleControl>(root.get());
    inner->SetName("Inner");
    inner->SetParentComponent(kid);
    root->SetBuddy(inner);
    TMemoryStream stream;
    WriteComponent(stream, root.get());
    return ContentOf(stream);
}

class MalformedComponents : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSampleClasses();
        LiveSamples = 0;
    }
    void TearDown() override { EXPECT_EQ(LiveSamples, 0); }
};

TEST_F(MalformedComponents, EveryTruncationIsAReadErrorAndFreesWhatWasCreated) {
    const std::string full = Full();
    for (std::size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_NE(ReadErrorOf(full.substr(0, length)), "no exception");
        EXPECT_EQ(LiveSamples, 0);
    }
    std::unique_ptr<TComponent> whole(ReadComponent(*std::make_unique<TStringStream>(full)));
    EXPECT_TRUE(whole);
}

TEST_F(MalformedComponents, ATruncatedReadIntoAnInstanceLeavesItWithItsOwner) {
    const std::string full = Full();
    std::unique_ptr<TComponent> owner(NewComponent<TComponent>(nullptr));
    auto* target = NewComponent<TSample>(owner.get());
    target->SetName("Target");
    for (std::size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_NE(ReadErrorOf(full.substr(0, length), target), "no exception");
        EXPECT_EQ(LiveSamples, 1);
        EXPECT_EQ(target->Owner(), owner.get());
        EXPECT_EQ(owner->ComponentCount(), 1);
        EXPECT_EQ(target->ComponentCount(), 0);
        EXPECT_FALSE(target->ComponentState().Contains(csLoading));
        EXPECT_FALSE(target->ComponentState().Contains(csReading));
    }
}

struct TMalformedCase {
    const char* Label;
    std::string Content;
    std::string Message;
};

TEST_F(MalformedComponents, CorruptedStreamsSayWhatIsWrong) {
    const std::vector<TMalformedCase> cases = {
        {"wrong signature", Bytes({"TPF1", 7, "TSample", 0, 0x00, 0x00}), "Invalid stream format"},
        {"unknown root class", Bytes({"TPF0", 5, "TNope", 0, 0x00, 0x00}), "Class TNope not found"},
        {"root of a class that is no component", Bytes({"TPF0", 9, "TTestFont", 0, 0x00, 0x00}),
         "Class TTestFont is not a component class"},
        {"unknown child class", WithChild("TNope", "X"), "Class TNope not found"},
        {"child of a class that is no component", WithChild("TTestFont", "X"),
         "Class TTestFont is not a component class"},
        {"child name that is no identifier", WithChild("TSample", "1x"),
         "Component name \"1x\" is not a valid identifier"},
        {"inherited child the root does not have", WithChild("TSample", "Ghost", Bytes({0xF1})),
         "Ancestor for 'Ghost' not found"},
        {"unknown property", WithProperty("Nope", Bytes({0x02, 1})),
         "Error reading Root.Nope: Property Nope does not exist"},
        {"unknown property of a sub-object", WithProperty("Font.Nope", Bytes({0x02, 1})),
         "Error reading Root.Font.Nope: Property Nope does not exist"},
        {"path through a property that holds no object", WithProperty("Level.X", Bytes({0x02, 1})),
         "Error reading Root.Level.X: Property Level does not exist"},
        {"path through a sub-object that is nil", WithProperty("Buddy.Level", Bytes({0x02, 1})),
         "Error reading Root.Buddy.Level: Property Buddy does not exist"},
        {"path with an empty step", WithProperty("Font..Size", Bytes({0x02, 1})),
         "Error reading Root.Font..Size: Property  does not exist"},
        {"path ending in a dot", WithProperty("Font.", Bytes({0x02, 1})),
         "Error reading Root.Font.: Property  does not exist"},
        {"string for an integer", WithProperty("Level", Bytes({0x06, 1, "1"})),
         "Error reading Root.Level: Invalid property value"},
        {"Int64 for an integer", WithProperty("Level", Bytes({0x13, 0, 0, 0, 0, 1, 0, 0, 0})),
         "Error reading Root.Level: Invalid property value"},
        {"number beyond a currency's range", WithProperty("Price", Bytes({0x13, 0, 0, 0, 0, 0, 0, 0, 0x40})),
         "Error reading Root.Price: Invalid property value"},
        {"unknown constant name", WithProperty("Color", Bytes({0x07, 6, "clNope"})),
         "Error reading Root.Color: Invalid property value"},
        {"number for an enumeration", WithProperty("Shade", Bytes({0x02, 1})),
         "Error reading Root.Shade: Invalid property value"},
        {"unknown enumeration value", WithProperty("Shade", Bytes({0x07, 4, "shUp"})),
         "Error reading Root.Shade: Invalid property value"},
        {"unknown set element", WithProperty("Features", Bytes({0x0B, 4, "feUp", 0})),
         "Error reading Root.Features: Invalid property value"},
        {"number for a boolean", WithProperty("Enabled", Bytes({0x02, 1})),
         "Error reading Root.Enabled: Invalid property value"},
        {"two characters for a char", WithProperty("Letter", Bytes({0x06, 2, "ab"})),
         "Error reading Root.Letter: Invalid property value"},
        {"list for a float", WithProperty("Ratio", Bytes({0x01, 0x00})),
         "Error reading Root.Ratio: Invalid property value"},
        {"number for a string", WithProperty("Caption", Bytes({0x02, 1})),
         "Error reading Root.Caption: Invalid property value"},
        {"identifier into a sub-object", WithProperty("Font", Bytes({0x07, 1, "X"})),
         "Error reading Root.Font: Invalid property value"},
        {"nil for a sub-object", WithProperty("Font", Bytes({0x0D})),
         "Error reading Root.Font: Invalid property value"},
        {"collection for an object that is none", WithProperty("Font", Bytes({0x0E, 0x00})),
         "Error reading Root.Font: Invalid property value"},
        {"collection for a reference", WithProperty("Buddy", Bytes({0x0E, 0x00})),
         "Error reading Root.Buddy: Invalid property value"},
        {"list for a collection", WithProperty("Items", Bytes({0x01, 0x00})),
         "Error reading Root.Items: Invalid property value"},
        {"unknown property of a collection item",
         WithProperty("Items", Bytes({0x0E, 0x01, 4, "Nope", 0x02, 1, 0x00, 0x00})),
         "Error reading Root.Items: Error reading TTestItem.Nope: Property Nope does not exist"},
        {"string for an event", WithProperty("OnPing", Bytes({0x06, 4, "Ping"})),
         "Error reading Root.OnPing: Invalid property value"},
        {"unknown handler", WithProperty("OnPing", Bytes({0x07, 4, "Pong"})),
         "Error reading Root.OnPing: Method Pong not found"},
        {"value for a read-only property", WithProperty("LineCount", Bytes({0x02, 1})),
         "Error reading Root.LineCount: Property LineCount is read-only"},
        {"string for a defined binary property", WithProperty("Blob", Bytes({0x06, 1, "x"})),
         "Error reading Root.Blob: Invalid property value"},
        {"binary longer than the stream",
         WithProperty("Blob", Bytes({0x0A, 0xFF, 0xFF, 0xFF, 0x7F})),
         "Error reading Root.Blob: Stream read error"},
        {"strings that are no list", WithProperty("Lines.Strings", Bytes({0x06, 1, "x"})),
         "Error reading Root.Lines.Strings: Invalid property value"},
        {"unknown tag", WithProperty("Level", Bytes({0x14})),
         "Error reading Root.Level: Invalid stream format"},
        {"duplicate child names",
         Head + Bytes({0x00, 7, "TSample", 3, "Kid", 0x00, 0x00, 7, "TSample", 3, "Kid", 0x00, 0x00,
                       0x00}),
         "A component named Kid already exists"},
    };
    for (const TMalformedCase& each : cases) {
        SCOPED_TRACE(each.Label);
        EXPECT_EQ(ReadErrorOf(each.Content), each.Message);
        EXPECT_EQ(LiveSamples, 0);
    }
}

TEST_F(MalformedComponents, NestingIsLimited) {
    std::string deep = Head + Bytes({0x00});
    const Integer depth = TReader::MaxNesting + 10;
    for (Integer level = 0; level < depth; ++level)
        deep += Bytes({14, "TSampleControl", 0, 0x00});
    deep += std::string(static_cast<std::size_t>(depth) + 1, '\0');
    EXPECT_EQ(ReadErrorOf(deep), "Invalid stream format");
}

TEST_F(MalformedComponents, AReferenceToAnUnknownNameIsLeftUnassigned) {
    std::unique_ptr<TComponent> read(ReadComponent(
        *std::make_unique<TStringStream>(WithProperty("Buddy", Bytes({0x07, 5, "Ghost"})))));
    EXPECT_EQ(static_cast<TSample*>(read.get())->Buddy(), nullptr);
}

TEST_F(MalformedComponents, ARootOfAnotherClassThanAskedForIsNotCreated) {
    EXPECT_EQ(ReadErrorOf(Full(), nullptr, TSampleControl::StaticClass()),
              "Invalid class type: TSample is not a TSampleControl");
    std::unique_ptr<TComponent> read(ReadComponent(*std::make_unique<TStringStream>(Full()),
                                                   nullptr, nullptr, TSample::StaticClass()));
    EXPECT_TRUE(read);
}

TEST_F(MalformedComponents, EveryByteFlippedNeverCrashes) {
    const std::string full = Full();
    for (std::size_t at = 0; at < full.size(); ++at)
        for (int flip : {0x01, 0x80, 0xFF}) {
            std::string corrupt = full;
            corrupt[at] = static_cast<char>(corrupt[at] ^ flip);
            TMemoryStream stream;
            Load(stream, corrupt);
            try {
                std::unique_ptr<TComponent> read(ReadComponent(stream));
            } catch (const EReadError&) {
            }
            EXPECT_EQ(LiveSamples, 0) << "byte " << at;
        }
}

} // namespace

namespace {

// A standalone read of Content into a new TSample.
std::unique_ptr<TComponent> ReadStandalone(const std::string& Content) {
    TStringStream stream(Content);
    TReader reader(stream);
    reader.SetStandalone(true);
    return std::unique_ptr<TComponent>(reader.ReadRootComponent(nullptr));
}

TEST_F(MalformedComponents, AStandaloneRecordKeepsItsValuesButNoLinks) {
    const std::string linked = Head + Bytes({5, "Level", 0x02, 7, 5, "Buddy", 0x07, 4, "Root", 6,
                                             "OnPing", 0x07, 4, "Ping", 0x00, 0x00});
    std::unique_ptr<TComponent> trusted(ReadComponent(*std::make_unique<TStringStream>(linked)));
    auto* bound = static_cast<TSample*>(trusted.get());
    ASSERT_EQ(bound->Buddy(), bound) << "a trusted read links the reference";
    ASSERT_TRUE(bound->OnPing);

    std::unique_ptr<TComponent> read = ReadStandalone(linked);
    auto* sample = static_cast<TSample*>(read.get());
    EXPECT_EQ(sample->Level, 7);
    EXPECT_EQ(sample->Buddy(), nullptr);
    EXPECT_FALSE(sample->OnPing);
    EXPECT_EQ(sample->OnPing.HandlerName(), "");
}

TEST_F(MalformedComponents, AStandaloneRecordWithAChildIsRefused) {
    EXPECT_EQ(zxtest::MessageOf<EReadError>([] { ReadStandalone(WithChild("TSample", "Kid")); }),
              "Invalid stream format");
    EXPECT_EQ(zxtest::MessageOf<EReadError>([] {
                  ReadStandalone(WithProperty("OnPing", Bytes({0x06, 4, "Ping"})));
              }),
              "Error reading Root.OnPing: Invalid property value");
}

TEST_F(MalformedComponents, AnInstanceIsNotFilledFromARecordOfAnotherClass) {
    std::unique_ptr<TSampleControl> target(NewComponent<TSampleControl>(nullptr));
    EXPECT_EQ(ReadErrorOf(WithProperty("Level", Bytes({0x02, 3})), target.get(),
                          TSampleControl::StaticClass()),
              "Invalid class type: TSample is not a TSampleControl");
    EXPECT_EQ(target->Level, 0);
}

} // namespace
