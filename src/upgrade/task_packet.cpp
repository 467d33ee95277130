#include "upgrade/task_packet.h"

namespace tolva::upgrade {
namespace {

void PutLittleEndian(std::string& packet, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        packet.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

}  // namespace

std::optional<int> ResolveTarget(int target) {
    switch (target) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
            return target;
        case 7:
        case 10:
            return 2;
        case 8:
            return 1;
        case 12:
            return 3;
        default:
            return std::nullopt;
    }
}

std::string EncodeTaskPacket(uint32_t kind, uint32_t message, int32_t code, int32_t argument) {
    std::string packet;
    packet.reserve(kTaskPacketSize);
    PutLittleEndian(packet, kind);
    PutLittleEndian(packet, message);
    PutLittleEndian(packet, static_cast<uint32_t>(code));
    PutLittleEndian(packet, static_cast<uint32_t>(argument));
    PutLittleEndian(packet, 0);
    return packet;
}

int32_t DecodeReply(std::string_view reply) {
    if (reply.size() < 4) {
        return 0;
    }
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(reply[static_cast<size_t>(i)]);
    }
    return static_cast<int32_t>(value);
}

}  // namespace tolva::upgrade
