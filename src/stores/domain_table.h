#pragma once
// The domain table: records of 96 bytes (a domain name of at most 95 characters, then a flag byte
// that belongs to the server), back to back as in domains.cfg, with an index from lower-cased name
// to position. The number of records in use is DomainCount of the settings record; the table only
// knows how many it has room for.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tolva::stores {

class DomainTable {
public:
    static constexpr size_t kRecordSize = 96;
    static constexpr size_t kNameCapacity = 95;

    int Capacity() const { return static_cast<int>(records_.size() / kRecordSize); }
    bool Exists() const { return !records_.empty(); }
    uint8_t* Data() { return records_.data(); }
    const uint8_t* Data() const { return records_.data(); }

    // Capacity 0.
    void Discard() { records_.clear(); }
    // Replaces the table with room for capacity zeroed records.
    void Allocate(int capacity);
    // Keeps the records and adds room for extra zeroed ones.
    void Grow(int extra);

    // Empty when index is not below the capacity.
    std::string Name(int index) const;
    // Stores the name lower-cased and cut to 95 characters; ignored beyond the capacity.
    void SetName(int index, std::string_view name);

    // Lower-cases the names of the first count records in place and indexes them.
    void RebuildIndex(int count);
    void AddToIndex(std::string_view name, int index);
    // Position of the domain, -1 when the index does not know it.
    int Find(std::string_view name) const;

private:
    std::vector<uint8_t> records_;
    std::unordered_map<std::string, int> index_;  // lower-cased name -> position + 1
};

}  // namespace tolva::stores
