#include "platform/automation.h"

#include <gtest/gtest.h>

#include "test_platform.h"

namespace tolva::platform {
namespace {

using Arg = AutomationArg;

class AutomationTest : public ::testing::Test {
protected:
    void SetUp() override {
        Status status = automation.RegisterServer(test.AutomationLibrary(), false);
        ASSERT_TRUE(status.ok()) << status.what();
    }
    void TearDown() override {
        EXPECT_TRUE(automation.RegisterServer(test.AutomationLibrary(), true).ok());
    }

    std::unique_ptr<AutomationObject> Make(std::string_view progId) {
        std::unique_ptr<AutomationObject> object;
        Status status = automation.Create(progId, object);
        EXPECT_TRUE(status.ok()) << progId << ": " << status.what();
        return object;
    }

    testing::TestPlatform test;
    Automation& automation = *test.Services().automation;
};

TEST_F(AutomationTest, EveryArgumentKindReachesTheObject) {
    auto api = Make("CorvaneServer.APIObject");
    auto account = Make("CorvaneServer.AccountObject");
    ASSERT_TRUE(api && account);

    struct Case {
        AutomationObject* object;
        const char* method;
        std::vector<Arg> arguments;
    } cases[] = {
        {api.get(), "Save", {}},
        {api.get(), "SetProperty", {Arg::Text("C_X"), Arg::WideText(u"h\u00f6st")}},
        {api.get(), "SetProperty", {Arg::Text("C_X"), Arg::Integer(-7)}},
        {api.get(), "CreateTables", {Arg::Integer(2), Arg::TextByRef("a;b;c;d;3;2")}},
        {api.get(), "ConvertStorage", {Arg::Boolean(true)}},
        {account.get(), "SetProperty", {Arg::Text("U_Name"), Arg::TextByRef("")}},
        {account.get(), "SetProperty", {Arg::Text("U_Admin"), Arg::Boolean(false)}},
        {account.get(), "save", {}},  // names are looked up without regard to case
    };
    for (const Case& c : cases) {
        Status status = c.object->Call(c.method, c.arguments);
        EXPECT_TRUE(status.ok()) << c.method << " with " << c.arguments.size()
                                 << " arguments: " << status.what();
    }
}

TEST_F(AutomationTest, RejectedCallsComeBackAsFailures) {
    auto domain = Make("CorvaneServer.DomainObject");
    ASSERT_TRUE(domain);
    struct Case {
        const char* method;
        std::vector<Arg> arguments;
        uint32_t code;
    } cases[] = {
        {"New", {Arg::Integer(1)}, hresult::kTypeMismatch},
        {"New", {Arg::TextByRef("example.com")}, hresult::kTypeMismatch},
        {"SetProperty", {Arg::Text("D_X"), Arg::Boolean(true)}, hresult::kTypeMismatch},
        {"New", {}, hresult::kBadParamCount},
        {"Save", {Arg::Integer(0)}, hresult::kBadParamCount},
        {"MakePrimaryDomain", {Arg::Text("example.com")}, hresult::kUnknownName},
    };
    for (const Case& c : cases) {
        Status status = domain->Call(c.method, c.arguments);
        EXPECT_EQ(status.code(), c.code)
            << c.method << " with " << c.arguments.size() << " arguments: " << status.what();
    }
    // The object stays usable after a rejected call.
    EXPECT_TRUE(domain->Call("New", {Arg::Text("example.com")}).ok());
}

TEST_F(AutomationTest, OnlyRegisteredClassesAreCreated) {
    std::unique_ptr<AutomationObject> object;
    EXPECT_EQ(automation.Create("CorvaneServer.NoSuchObject", object).code(),
              hresult::kInvalidProgId);
    EXPECT_EQ(object, nullptr);

    ASSERT_TRUE(automation.RegisterServer(test.AutomationLibrary(), true).ok());
    EXPECT_EQ(automation.Create("CorvaneServer.APIObject", object).code(), hresult::kInvalidProgId);
    EXPECT_EQ(object, nullptr);
    ASSERT_TRUE(automation.RegisterServer(test.AutomationLibrary(), false).ok());
    EXPECT_TRUE(automation.Create("CorvaneServer.APIObject", object).ok());
}

TEST_F(AutomationTest, RegisteringAMissingLibraryFails) {
    EXPECT_FALSE(automation.RegisterServer(test.Scratch() + "absent.dll", false).ok());
    EXPECT_FALSE(automation.RegisterServer(test.Scratch() + "absent.dll", true).ok());
}

}  // namespace
}  // namespace tolva::platform
