#pragma once
// The stand-in's own store, in the folder named by the first item of the connection string:
//   domains.dat          domain records of 96 bytes, back to back
//   <domain>.users       account records of 2848 bytes, back to back, not scrambled
//   calls.log            one line per entry point called, in order
// Domain names are compared in lower case; a name with a path separator is refused.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolva::dbstandin {

class StandinStore {
public:
    static constexpr size_t kDomainSize = 96;
    static constexpr size_t kAccountSize = 2848;

    void SetConnection(std::string_view connection);
    const std::string& Connection() const { return connection_; }
    bool IsConnected() const { return !folder_.empty(); }
    void Disconnect();
    void Log(std::string_view line) const;

    std::vector<std::string> DomainNames() const;
    // Raw 96-byte records.
    std::string DomainRecords() const;

    // Account records of a domain; false when the domain name is refused.
    bool ReadAccounts(std::string_view domain, std::vector<std::string>& records) const;
    // Index -1 or past the end appends; sets index to the record's position.
    bool WriteAccount(std::string_view domain, const std::string& record, int32_t& index);

private:
    std::string AccountsPath(std::string_view domain) const;

    std::string connection_;
    std::string folder_;  // with a trailing separator; empty before a connection is set
};

// The ";"-separated items of an account's alias list at offset 260, lower-cased.
std::vector<std::string> AccountAliases(const std::string& record);

}  // namespace tolva::dbstandin
