#include "stores/domain_table.h"

#include <algorithm>
#include <span>

#include "stores/record_fields.h"
#include "util/text.h"

namespace tolva::stores {

void DomainTable::Allocate(int capacity) {
    records_.assign(static_cast<size_t>(std::max(capacity, 0)) * kRecordSize, 0);
}

void DomainTable::Grow(int extra) {
    records_.resize(records_.size() + static_cast<size_t>(std::max(extra, 0)) * kRecordSize, 0);
}

std::string DomainTable::Name(int index) const {
    if (index < 0 || index >= Capacity()) {
        return {};
    }
    return ReadShortString(std::span(records_).subspan(index * kRecordSize, kRecordSize), 0,
                           kNameCapacity);
}

void DomainTable::SetName(int index, std::string_view name) {
    if (index < 0 || index >= Capacity()) {
        return;
    }
    WriteShortString(std::span(records_).subspan(index * kRecordSize, kRecordSize), 0,
                     kNameCapacity, util::LowerCase(name));
}

void DomainTable::RebuildIndex(int count) {
    index_.clear();
    count = std::min(count, Capacity());
    for (int i = 0; i < count; ++i) {
        const std::string name = Name(i);
        SetName(i, name);
        AddToIndex(name, i);
    }
}

void DomainTable::AddToIndex(std::string_view name, int index) {
    index_.try_emplace(util::LowerCase(name), index + 1);
}

int DomainTable::Find(std::string_view name) const {
    const auto found = index_.find(util::LowerCase(name));
    return found == index_.end() ? -1 : found->second - 1;
}

}  // namespace tolva::stores
