#include "stores/record_fields.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tolva::stores {

namespace {

uint64_t ReadLittleEndian(ConstBytes record, size_t offset, size_t width) {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        value |= uint64_t{record[offset + i]} << (8 * i);
    }
    return value;
}

void WriteLittleEndian(Bytes record, size_t offset, size_t width, uint64_t value) {
    for (size_t i = 0; i < width; ++i) {
        record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

uint16_t ReadU16(ConstBytes record, size_t offset) {
    return static_cast<uint16_t>(ReadLittleEndian(record, offset, 2));
}

void WriteU16(Bytes record, size_t offset, uint16_t value) {
    WriteLittleEndian(record, offset, 2, value);
}

uint32_t ReadU32(ConstBytes record, size_t offset) {
    return static_cast<uint32_t>(ReadLittleEndian(record, offset, 4));
}

void WriteU32(Bytes record, size_t offset, uint32_t value) {
    WriteLittleEndian(record, offset, 4, value);
}

int32_t ReadI32(ConstBytes record, size_t offset) {
    return static_cast<int32_t>(ReadU32(record, offset));
}

void WriteI32(Bytes record, size_t offset, int32_t value) {
    WriteU32(record, offset, static_cast<uint32_t>(value));
}

double ReadF64(ConstBytes record, size_t offset) {
    return std::bit_cast<double>(ReadLittleEndian(record, offset, 8));
}

void WriteF64(Bytes record, size_t offset, double value) {
    WriteLittleEndian(record, offset, 8, std::bit_cast<uint64_t>(value));
}

std::string ReadShortString(ConstBytes record, size_t offset, size_t capacity) {
    const size_t length = std::min<size_t>(record[offset], capacity);
    return std::string(reinterpret_cast<const char*>(record.data() + offset + 1), length);
}

void WriteShortString(Bytes record, size_t offset, size_t capacity, std::string_view value) {
    const size_t length = std::min(value.size(), capacity);
    record[offset] = static_cast<uint8_t>(length);
    std::memcpy(record.data() + offset + 1, value.data(), length);
}

}  // namespace tolva::stores
