#include "platform/platform.h"

#include <gtest/gtest.h>

#include "test_platform.h"

namespace tolva::platform {
namespace {

TEST(PlatformTest, EveryServiceIsThere) {
    testing::TestPlatform test;
    const Platform& services = test.Services();
    const struct {
        const char* name;
        const void* service;
    } all[] = {
        {"files", services.files},         {"registry", services.registry},
        {"system", services.system},       {"libraries", services.libraries},
        {"dialogs", services.dialogs},     {"network", services.network},
        {"services", services.services},   {"shell", services.shell},
        {"windows", services.windows},     {"pipes", services.pipes},
        {"processes", services.processes}, {"automation", services.automation},
    };
    for (const auto& service : all) {
        EXPECT_NE(service.service, nullptr) << service.name;
    }
}

}  // namespace
}  // namespace tolva::platform
