#include "platform/service_manager.h"

#include <gtest/gtest.h>

#include <cctype>

#include "test_platform.h"

namespace tolva::platform {
namespace {

namespace access = service_access;

class ServiceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(manager.Connect(access::kManagerAll, database).ok());
        definition.name = "TolvaContract" + test.UniqueName();
        definition.config.displayName = "Tolva contract test";
        definition.config.binaryPath = "\"" + test.ServiceProgram() + "\"";
        definition.config.startType = ServiceStartType::kManual;
    }

    void TearDown() override {
        std::unique_ptr<Service> service;
        if (database && database->Open(definition.name, access::kAll, service).ok()) {
            ServiceState state = ServiceState::kStopped;
            if (service->QueryState(state).ok() && state != ServiceState::kStopped) {
                (void)service->Stop();
                (void)WaitFor(*service, ServiceState::kStopped);
            }
            (void)service->MarkForDeletion();
        }
    }

    // Polls the state until it is wanted or 20 s have passed; the last state read.
    ServiceState WaitFor(Service& service, ServiceState wanted) {
        System& system = *test.Services().system;
        uint32_t start = system.Ticks();
        ServiceState state = ServiceState::kStopped;
        while (service.QueryState(state).ok() && state != wanted &&
               system.Ticks() - start < 20000) {
            system.SleepFor(50);
        }
        return state;
    }

    testing::TestPlatform test;
    ServiceManager& manager = *test.Services().services;
    std::unique_ptr<ServiceDatabase> database;
    NewService definition;
};

TEST_F(ServiceManagerTest, CreatedServiceReadsBackAndChangesOnlyWhatIsAsked) {
    std::unique_ptr<Service> service;
    ASSERT_TRUE(database->Create(definition, access::kAll, service).ok());
    std::unique_ptr<Service> again;
    EXPECT_EQ(database->Create(definition, access::kAll, again).code(), error::kServiceExists);

    ServiceConfig config;
    ASSERT_TRUE(service->QueryConfig(config).ok());
    EXPECT_EQ(config.serviceType, kServiceOwnProcess);
    EXPECT_EQ(config.startType, ServiceStartType::kManual);
    EXPECT_EQ(config.errorControl, kServiceErrorNormal);
    EXPECT_EQ(config.binaryPath, definition.config.binaryPath);
    EXPECT_EQ(config.displayName, definition.config.displayName);
    ServiceState state = ServiceState::kRunning;
    ASSERT_TRUE(service->QueryState(state).ok());
    EXPECT_EQ(state, ServiceState::kStopped);

    ServiceConfigChange change;
    change.startType = ServiceStartType::kDisabled;
    ASSERT_TRUE(service->ChangeConfig(change).ok());
    ASSERT_TRUE(service->QueryConfig(config).ok());
    EXPECT_EQ(config.startType, ServiceStartType::kDisabled);
    EXPECT_EQ(config.binaryPath, definition.config.binaryPath);
    EXPECT_EQ(config.displayName, definition.config.displayName);
    EXPECT_EQ(service->Start().code(), error::kServiceDisabled);

    ServiceFailureActions restart;
    restart.actions.push_back({ServiceRecovery::kRestart, 0});
    EXPECT_TRUE(service->SetFailureActions(restart).ok());

    ASSERT_TRUE(service->MarkForDeletion().ok());
    service.reset();
    EXPECT_EQ(database->Open(definition.name, access::kQueryStatus, service).code(),
              error::kServiceDoesNotExist);
}

TEST_F(ServiceManagerTest, NamesIgnoreCase) {
    std::unique_ptr<Service> created;
    ASSERT_TRUE(database->Create(definition, access::kAll, created).ok());
    std::string lower = definition.name;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::unique_ptr<Service> service;
    EXPECT_TRUE(database->Open(lower, access::kQueryStatus, service).ok());
}

TEST_F(ServiceManagerTest, RightsNotAskedForAreDenied) {
    std::unique_ptr<Service> created;
    ASSERT_TRUE(database->Create(definition, access::kAll, created).ok());
    created.reset();

    std::unique_ptr<Service> statusOnly;
    ASSERT_TRUE(database->Open(definition.name, access::kQueryStatus, statusOnly).ok());
    ServiceConfig config;
    EXPECT_EQ(statusOnly->Start().code(), error::kAccessDenied);
    EXPECT_EQ(statusOnly->Stop().code(), error::kAccessDenied);
    EXPECT_EQ(statusOnly->QueryConfig(config).code(), error::kAccessDenied);
    EXPECT_EQ(statusOnly->ChangeConfig({}).code(), error::kAccessDenied);
    EXPECT_EQ(statusOnly->MarkForDeletion().code(), error::kAccessDenied);

    std::unique_ptr<ServiceDatabase> connectOnly;
    ASSERT_TRUE(manager.Connect(access::kManagerConnect, connectOnly).ok());
    NewService other = definition;
    other.name += "b";
    std::unique_ptr<Service> service;
    EXPECT_EQ(connectOnly->Create(other, access::kAll, service).code(), error::kAccessDenied);
}

TEST_F(ServiceManagerTest, MissingServiceDoesNotOpen) {
    std::unique_ptr<Service> service;
    EXPECT_EQ(database->Open("TolvaNoSuchService", access::kQueryStatus, service).code(),
              error::kServiceDoesNotExist);
    EXPECT_EQ(service, nullptr);
}

TEST_F(ServiceManagerTest, ServiceStartsRunsAndStops) {
    std::unique_ptr<Service> service;
    ASSERT_TRUE(database->Create(definition, access::kAll, service).ok());
    EXPECT_EQ(service->Stop().code(), error::kServiceNotActive);

    ASSERT_TRUE(service->Start().ok());
    ASSERT_EQ(WaitFor(*service, ServiceState::kRunning), ServiceState::kRunning);
    EXPECT_EQ(service->Start().code(), error::kServiceAlreadyRunning);

    ASSERT_TRUE(service->Stop().ok());
    EXPECT_EQ(WaitFor(*service, ServiceState::kStopped), ServiceState::kStopped);
}

}  // namespace
}  // namespace tolva::platform
