#pragma once
// Byte-level access to the server's fixed-layout records: little-endian integers at any offset and
// length-prefixed 8-bit strings of a fixed capacity.
//
// A string of capacity N occupies N + 1 bytes: a length byte, then the characters. Writing a string
// touches only the length byte and the characters it stores; bytes beyond its length keep whatever
// they held, as the server's own records do.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tolva::stores {

using Bytes = std::span<uint8_t>;
using ConstBytes = std::span<const uint8_t>;

uint16_t ReadU16(ConstBytes record, size_t offset);
void WriteU16(Bytes record, size_t offset, uint16_t value);
uint32_t ReadU32(ConstBytes record, size_t offset);
void WriteU32(Bytes record, size_t offset, uint32_t value);
int32_t ReadI32(ConstBytes record, size_t offset);
void WriteI32(Bytes record, size_t offset, int32_t value);
// IEEE 754 double, little-endian.
double ReadF64(ConstBytes record, size_t offset);
void WriteF64(Bytes record, size_t offset, double value);

// A length byte above the capacity (a damaged file) reads as the full capacity.
std::string ReadShortString(ConstBytes record, size_t offset, size_t capacity);
// Longer values are cut to the capacity.
void WriteShortString(Bytes record, size_t offset, size_t capacity, std::string_view value);

}  // namespace tolva::stores
