// An account file and stored passwords, as any bytes: reading must neither fail nor read out of
// bounds, and a password that was encoded decodes to itself.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "fuzz_machine.h"
#include "stores/account_store.h"
#include "stores/settings_store.h"

using namespace tolva::stores;
using tolva::stores::fuzzing::FuzzMachine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzMachine machine;
    static SettingsStore settings(machine.Services());
    static AccountStore accounts(machine.Services(), settings);
    static bool ready = [] {
        settings.SetRootFolder("C:\\Tolva\\");
        settings.SetConfigurationFolder("C:\\Tolva\\config\\");
        settings.AddDomain("d.example");
        return true;
    }();
    (void)ready;
    machine.Clear();

    FuzzedDataProvider input(data, size);
    const std::string stored = input.ConsumeRandomLengthString(AccountRecord::kPasswordCapacity);
    const std::string alias = input.ConsumeRandomLengthString(64);
    const int32_t skip = input.ConsumeIntegralInRange<int32_t>(-1, 4);
    const bool encrypt = input.ConsumeBool();
    const std::string file = input.ConsumeRemainingBytesAsString();

    AccountRecord record;
    record.SetPassword(stored);
    accounts.DecodePassword(record);
    const std::string plain = record.Password();
    settings.Record().SetEncryptPasswords(encrypt);
    accounts.EncodePassword(record);
    accounts.DecodePassword(record);
    // A password that looks encoded but is too long to be stored encoded cannot come back.
    const bool representable = !IsEncodedPassword(plain) ||
                               3 + (plain.size() + 2) / 3 * 4 <= AccountRecord::kPasswordCapacity;
    if (representable && record.Password() != plain) {
        std::abort();
    }

    machine.Put("C:\\Tolva\\config\\d.example\\users.cfg", file);
    AccountIterator iterator;
    if (accounts.OpenAccounts("d.example", iterator, "", false, skip)) {
        while (!accounts.NextAccount(iterator)) {
            (void)AliasesMatch(alias, iterator.Record().AliasList(), true);
        }
        accounts.CloseAccounts(iterator);
    }
    (void)accounts.FindAccountIndex("d.example", alias);
    AccountRecord read;
    (void)accounts.ReadAccount("d.example", read, skip);
    (void)accounts.CountAccounts("");
    return 0;
}
