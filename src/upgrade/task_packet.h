#pragma once
// Service task messages as they travel: the target numbers, the 20-byte pipe packet and its reply.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolva::upgrade {

// The message number of every task message.
inline constexpr uint32_t kTaskMessage = 1280;

// Codes the installer sends.
inline constexpr int32_t kConfigChangedCode = 257;
inline constexpr int32_t kGroupWareCreateTablesCode = 3841;
inline constexpr int32_t kGroupWareTaskCode = 3845;

// Packet kinds.
inline constexpr uint32_t kPacketNoReply = 0x1000;
inline constexpr uint32_t kPacketWithReply = 0x1003;

inline constexpr size_t kTaskPacketSize = 20;
// A reply is read once, up to this many bytes.
inline constexpr size_t kReplyLimit = 2048;

// The service index a target number addresses: 0..4 themselves, and the protocol aliases 7 and 10
// (control), 8 (POP3/IMAP) and 12 (IM). None for any other number.
std::optional<int> ResolveTarget(int target);

// Kind, message, code, argument and an empty result slot, each 32-bit little-endian.
std::string EncodeTaskPacket(uint32_t kind, uint32_t message, int32_t code, int32_t argument);

// The first four bytes, little-endian; 0 when fewer arrived.
int32_t DecodeReply(std::string_view reply);

}  // namespace tolva::upgrade
