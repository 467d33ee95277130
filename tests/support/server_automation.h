#pragma once
// The server's automation classes, as the stand-in library offers them, for the in-memory
// automation of the native tests.

#include <string>
#include <vector>

#include "corvanecom/server_objects.h"
#include "platform/fake/fake_automation.h"

namespace tolva::testing {

inline std::vector<platform::FakeAutomation::Class> ServerAutomationClasses() {
    std::vector<platform::FakeAutomation::Class> classes;
    for (const standin::ServerClass& serverClass : standin::kServerClasses) {
        platform::FakeAutomation::Class definition{std::string(serverClass.progId), {}};
        for (const standin::ServerMethod& method : serverClass.methods) {
            platform::FakeAutomation::Method entry{std::string(method.name), {}};
            std::string_view rest = method.signatures;
            while (true) {
                size_t bar = rest.find('|');
                entry.signatures.emplace_back(rest.substr(0, bar));
                if (bar == std::string_view::npos) {
                    break;
                }
                rest.remove_prefix(bar + 1);
            }
            definition.methods.push_back(std::move(entry));
        }
        classes.push_back(std::move(definition));
    }
    return classes;
}

}  // namespace tolva::testing
