// What the capture field makes of key-downs and key-ups: the combination a user means.
#include <gtest/gtest.h>

#include "picker/KeyCapture.h"

namespace norvi {
namespace {

struct Press {
  uint8_t vk;
  bool down;
};

KeyCapture After(std::initializer_list<Press> presses) {
  KeyCapture capture;
  for (const Press& p : presses) p.down ? capture.KeyDown(p.vk) : capture.KeyUp(p.vk);
  return capture;
}

TEST(KeyCapture, AKeyFinishesTheCombinationWithTheModifiersHeldThen) {
  // Left Ctrl and right Shift as the system reports them, Alt's auto-repeat, then T.
  KeyCapture c = After({{0xA2, true},
                        {0xA1, true},
                        {0x12, true},
                        {0x12, true},
                        {0x12, false},
                        {'T', true},
                        {'T', false},
                        {0xA1, false},
                        {0xA2, false}});
  EXPECT_EQ(c.Chosen(), (KeyCombo{0x3, 'T'}));
  EXPECT_EQ(c.Note(), CaptureNote::None);
  EXPECT_EQ(c.Pending(), 0);
  // Another key afterwards starts over: the modifiers still held count, the old key does not.
  c = After({{0x11, true}, {'C', true}, {'C', false}, {'V', true}});
  EXPECT_EQ(c.Chosen(), (KeyCombo{0x1, 'V'}));
}

TEST(KeyCapture, ModifiersLetGoWithoutAKeyAreTheCombinationAndSaySo) {
  KeyCapture c = After({{0x11, true}, {0x5B, true}});
  EXPECT_TRUE(c.Chosen().Empty());
  EXPECT_EQ(c.Pending(), 0x9);
  c = After({{0x11, true}, {0x5B, true}, {0x11, false}, {0x5B, false}});
  EXPECT_EQ(c.Chosen(), (KeyCombo{0x9, 0}));
  EXPECT_EQ(c.Note(), CaptureNote::ModifiersOnly);
  // Modifiers let go after a key keep the key's combination.
  c = After({{0x10, true}, {0x74, true}, {0x74, false}, {0x10, false}});
  EXPECT_EQ(c.Chosen(), (KeyCombo{0x2, 0x74}));
}

TEST(KeyCapture, ALoneEscapeIsAKeyAndSaysSoAndClearForgetsAll) {
  KeyCapture c = After({{0x1B, true}, {0x1B, false}});
  EXPECT_EQ(c.Chosen(), (KeyCombo{0, 0x1B}));
  EXPECT_EQ(c.Note(), CaptureNote::Escape);
  c.KeyDown(0x11);
  c.KeyDown(0x1B);
  EXPECT_EQ(c.Note(), CaptureNote::None);  // Ctrl+Esc is an ordinary combination
  c.Clear();
  EXPECT_TRUE(c.Chosen().Empty());
  c.KeyUp(0x11);  // the release of a modifier pressed before the clear makes nothing
  EXPECT_TRUE(c.Chosen().Empty());
  // Keys that cannot be part of a combination change nothing.
  c = After({{0xE7, true}, {0xFF, true}, {0x00, true}});
  EXPECT_TRUE(c.Chosen().Empty());
  // Listening again keeps the stored combination and forgets half-pressed modifiers.
  c = After({{'A', true}, {0x12, true}});
  c.Reset(c.Chosen());
  c.KeyUp(0x12);
  EXPECT_EQ(c.Chosen(), (KeyCombo{0, 'A'}));
}

}  // namespace
}  // namespace norvi
