#include <gtest/gtest.h>

#include <array>

#include "receiver/ReceiverProtocol.h"

namespace norvi {
namespace {

TEST(ReceiverProtocol, IdTextSpellsBothHalvesInUpperCaseHex) {
  EXPECT_EQ(ReceiverIdText(0x046D0A1Fu), u"Vid_046D&Pid_0A1F");
  EXPECT_EQ(ReceiverIdText(0x0000000Fu), u"Vid_0000&Pid_000F");
  EXPECT_EQ(ReceiverIdText(ReceiverId), u"Vid_FFF3&Pid_4E56");
}

TEST(ReceiverProtocol, InfoValueComesFromBytesOneToThreeOfAnAnswer) {
  const std::array<uint8_t, 4> answer{0xBA, 0x12, 0x34, 0x56};
  EXPECT_EQ(ReceiverInfoValue(true, answer), 0x123456);
  EXPECT_EQ(ReceiverInfoValue(false, answer), 0);  // the call failed
  const std::array<uint8_t, 4> empty{0x00, 0x12, 0x34, 0x56};
  EXPECT_EQ(ReceiverInfoValue(true, empty), 0);  // first byte 0: no answer
  const std::array<uint8_t, 4> high{0xBA, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(ReceiverInfoValue(true, high), 0xFFFFFF);  // 24 bits, never negative
  EXPECT_EQ(ReceiverInfoValue(true, std::span(answer).first(3)), 0);
}

TEST(ReceiverProtocol, DevicePathsMatchIdsInEitherCase) {
  const std::u16string_view path = u"\\\\?\\hid#vid_fff3&pid_4e56&col02#7&1a2b#{4d1e55b2}";
  EXPECT_TRUE(ContainsIgnoringAsciiCase(path, u"Vid_FFF3&Pid_4E56"));
  EXPECT_FALSE(ContainsIgnoringAsciiCase(path, u"Vid_FFF3&Pid_4E57"));
  EXPECT_FALSE(ContainsIgnoringAsciiCase(u"vid_fff3", u"Vid_FFF3&Pid_4E56"));
}

}  // namespace
}  // namespace norvi
