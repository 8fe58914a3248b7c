#pragma once
// What the program and the receiver library agree on: the receiver's identity, the query
// report and the library's exported entry points. Portable: no <windows.h>.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace norvi {

// The receiver's USB identity, vendor id in the high half, product id in the low half.
// Made up for this product: the vendor id lies in a block no maker has been assigned.
constexpr uint16_t kReceiverVendorId = 0xFFF3;
constexpr uint16_t kReceiverProductId = 0x4E56;
constexpr uint32_t ReceiverId = (uint32_t{kReceiverVendorId} << 16) | kReceiverProductId;

// The receiver's vendor-defined HID collection.
constexpr uint16_t kReceiverUsagePage = 0xFF00;
constexpr uint16_t kReceiverUsage = 0x0E;

constexpr uint32_t kReceiverPathBytes = 520;  // 260 UTF-16 code units
constexpr uint8_t kQueryReportId = 0xBA;
constexpr uint8_t kQueryCommand = 0xA9;
constexpr uint32_t kQueryReportLength = 32;
constexpr uint32_t kQueryBufferLength = 100;

// The answer the simulated receiver gives: bytes 1 to 3 make the receiver info value 0x010203.
constexpr uint8_t kSimulatedAnswer[4] = {kQueryReportId, 0x01, 0x02, 0x03};

// Environment variable that switches the library to its simulated receiver. Its value "1"
// (or empty) means plugged in; any other value names a file whose absence means unplugged.
constexpr char16_t kSimulationVariable[] = u"NORVI_SIMULATED_RECEIVER";

// "Vid_%04X&Pid_%04X" from the high and low halves of the identifier.
std::u16string ReceiverIdText(uint32_t id);

// The receiver info value from the query's answer: 0 when the call failed or the first
// byte is 0, else byte 1 * 65536 + byte 2 * 256 + byte 3.
int32_t ReceiverInfoValue(bool answered, std::span<const uint8_t> answer);

// Device paths spell the ids in lower case ("vid_fff3&pid_4e56").
bool ContainsIgnoringAsciiCase(std::u16string_view text, std::u16string_view part);

}  // namespace norvi
