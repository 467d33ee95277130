// settings.cfg, domains.cfg and the text files beside them, as any bytes: loading must neither fail
// nor read out of bounds, and what it loaded must save and load again unchanged.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

#include "fuzz_machine.h"
#include "stores/settings_store.h"

using tolva::stores::SettingsStore;
using tolva::stores::fuzzing::FuzzMachine;

namespace {

constexpr char kRoot[] = "C:\\Tolva\\";
constexpr char kConfig[] = "C:\\Tolva\\config\\";

std::vector<std::string> Names(const SettingsStore& store) {
    std::vector<std::string> names;
    const int count = std::min(store.Record().DomainCount(), store.Domains().Capacity());
    for (int i = 0; i < count; ++i) {
        names.push_back(store.GetDomainName(i));
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzMachine machine;
    machine.Clear();
    FuzzedDataProvider input(data, size);
    const uint8_t present = input.ConsumeIntegral<uint8_t>();
    const std::string files[] = {"path.dat", "bind.dat", "servertitle.dat", "archivedomains.dat"};
    for (int i = 0; i < 4; ++i) {
        std::string content = input.ConsumeRandomLengthString(512);
        if (present & (1 << i)) {
            machine.Put((i == 0 ? std::string(kRoot) : std::string(kConfig)) + files[i], content);
        }
    }
    const std::string domains = input.ConsumeRandomLengthString(4096);
    if (present & 0x10) {
        machine.Put(std::string(kConfig) + "domains.cfg", domains);
    }
    const std::string settings = input.ConsumeRemainingBytesAsString();
    if (present & 0x20) {
        machine.Put(std::string(kConfig) + "settings.cfg", settings);
    }

    SettingsStore store(machine.Services());
    store.SetRootFolder(kRoot);
    store.InitServerPaths();
    store.LoadSettings(false, false);
    (void)store.ControlServiceHost();
    if (!store.SaveSettings(false)) {
        return 0;  // path.dat may name a configuration folder that cannot be made
    }

    SettingsStore reloaded(machine.Services());
    reloaded.SetRootFolder(kRoot);
    reloaded.InitServerPaths();
    reloaded.LoadSettings(true, false);
    if (!(reloaded.Record() == store.Record()) || Names(reloaded) != Names(store)) {
        std::abort();
    }
    return 0;
}
