// The key-combination text of the "Keys..." function: its grammar both ways, and what a
// profile or a program's file makes of a field that holds one, whole or damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "model/AppProfiles.h"
#include "model/FunctionCodes.h"
#include "model/FunctionName.h"
#include "model/KeyCombo.h"
#include "model/ProfileStore.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

namespace fs = std::filesystem;

TEST(KeyComboText, EveryKindOfCombinationRoundTripsThroughItsCanonicalText) {
  const struct {
    KeyCombo combo;
    std::u16string_view text;
  } cases[] = {
      {{0x3, 'T'}, u"keys:1:ctrl+shift+T"},
      {{0, 0x74}, u"keys:1:F5"},
      {{0xA, 'S'}, u"keys:1:shift+win+S"},
      {{0x5, 0x25}, u"keys:1:ctrl+alt+vk25"},  // left arrow
      {{0xF, '0'}, u"keys:1:ctrl+shift+alt+win+0"},
      {{0x1, 0}, u"keys:1:ctrl"},  // a modifier alone
      {{0xF, 0}, u"keys:1:ctrl+shift+alt+win"},
      {{0, 0x87}, u"keys:1:F24"},
      {{0, 0x7B}, u"keys:1:F12"},
      {{0, 0x1B}, u"keys:1:vk1B"},  // Escape
      {{0x4, 0xFE}, u"keys:1:alt+vkFE"},
      {{0, 0x03}, u"keys:1:vk03"},  // Break: below the mouse buttons' gap
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatKeyCombo(c.combo), c.text);
    const auto parsed = ParseKeyCombo(c.text);
    ASSERT_TRUE(parsed.has_value()) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(*parsed, c.combo);
  }
  // Every single key that may be a combination's key, with and without modifiers.
  for (int vk = 1; vk < 256; ++vk) {
    const KeyCombo combo{0x6, static_cast<uint8_t>(vk)};
    const std::u16string text = FormatKeyCombo(combo);
    EXPECT_EQ(text.empty(), !IsComboKey(static_cast<uint8_t>(vk))) << vk;
    if (!text.empty()) {
      EXPECT_EQ(ParseKeyCombo(text), combo) << vk;
    }
  }
}

TEST(KeyComboText, AnythingButTheCanonicalTextDoesNotParse) {
  for (std::u16string_view text : std::initializer_list<std::u16string_view>{
           u"",
           u"keys:1:",
           u"keys:1",
           u"keys:2:ctrl+T",
           u"Keys:1:ctrl+T",
           u"keys:1:Ctrl+T",
           u"keys:1:ctrl+t",        // letters are upper case
           u"keys:1:shift+ctrl+T",  // modifiers in their fixed order
           u"keys:1:ctrl+ctrl+T",   // each once
           u"keys:1:ctrl+",         // a trailing plus
           u"keys:1:+T",
           u"keys:1:ctrl++T",
           u"keys:1:T+ctrl",  // the key comes last
           u"keys:1:T+U",     // one key only
           u"keys:1:vk41",    // A has its own name
           u"keys:1:vk70",    // so has F1
           u"keys:1:vk1b",
           u"keys:1:vk1",
           u"keys:1:vk123",
           u"keys:1:vkG0",
           u"keys:1:vk11",  // a modifier is not a key
           u"keys:1:vkA3",
           u"keys:1:vk5B",  // nor are its left and right keys
           u"keys:1:vk01",
           u"keys:1:vk02",
           u"keys:1:vk04",
           u"keys:1:vk06",  // mouse buttons
           u"keys:1:vk00",
           u"keys:1:vkE7",
           u"keys:1:vkFF",
           u"keys:1:F0",
           u"keys:1:F25",
           u"keys:1:F05",
           u"keys:1:F1a",
           u"keys:1:ctrl+T ",
           u" keys:1:ctrl+T",
           std::u16string_view(u"keys:1:ctrl+T\0", 14),
           u"C:\\Windows\\Media\\ding.wav",
       }) {
    EXPECT_FALSE(ParseKeyCombo(text).has_value()) << std::string(text.begin(), text.end());
  }
  EXPECT_EQ(FormatKeyCombo({}), u"");
  EXPECT_EQ(FormatKeyCombo({0x10, 'T'}), u"");  // no fifth modifier
  EXPECT_EQ(FormatKeyCombo({0, 0xA2}), u"");    // left Ctrl as the key
}

struct FakeKeyNames : IKeyNames {
  std::u16string Name(uint8_t vk) const override {
    switch (vk) {
      case 0x11: return u"Strg";
      case 0x10: return u"Umschalt";
      case 0x12: return u"Alt";
      case 0x5B: return u"Linke Windows";
      case 'T': return u"T";
      default: return {};
    }
  }
};

struct FakeStrings : IStringLookup {
  std::u16string named = u"Tasten: %s";
  std::u16string_view Text(std::string_view key) const override {
    if (key == "str_keys_named") return named;
    if (key == "str_list_advance_keys") return u"Tasten...";
    if (key == "str_list_base_copy") return u"Kopieren";
    return {};
  }
};

TEST(KeyComboText, UsersReadTheKeyboardsOwnNamesInPressingOrder) {
  const FakeKeyNames names;
  EXPECT_EQ(ComboText({0xF, 'T'}, names), u"Strg + Umschalt + Alt + Linke Windows + T");
  EXPECT_EQ(ComboText({0x2, 0}, names), u"Umschalt");
  EXPECT_EQ(ComboText({0x1, 0xE8}, names), u"Strg + 0xE8");  // a key without a name

  FakeStrings strings;
  EXPECT_EQ(SlotFunctionName(fn::Keys, u"keys:1:ctrl+shift+T", strings, names),
            u"Tasten: Strg + Umschalt + T");
  // A field that does not parse names the function only; other codes ignore the path.
  EXPECT_EQ(SlotFunctionName(fn::Keys, u"keys:1:ctrl+", strings, names), u"Tasten...");
  EXPECT_EQ(SlotFunctionName(fn::Copy, u"keys:1:ctrl+T", strings, names), u"Kopieren");
  strings.named.clear();  // a language file without the text still shows the keys
  EXPECT_EQ(SlotFunctionName(fn::Keys, u"keys:1:ctrl+T", strings, names), u"Strg + T");
}

// A profile image holding key combinations, as the picker and an apply leave it.
ProfileImage WithCombinations() {
  ProfileImage image = DefaultProfile();
  for (int slot : {SlotForward, SlotWheelUp}) {
    image.Slots[slot].TempID = image.Slots[slot].FunID = fn::Keys;
    image.Remapped[slot] = 1;
  }
  SetPath(image.Slots[SlotForward], u"keys:1:ctrl+shift+T");
  SetPath(image.Slots[SlotWheelUp], u"keys:1:F5");
  return image;
}

std::vector<std::byte> FileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<char> raw((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::byte> bytes(raw.size());
  std::memcpy(bytes.data(), raw.data(), raw.size());
  return bytes;
}

TEST(KeyComboProfile, TheTextSitsInThePathFieldAndTheLayoutStaysAsItIs) {
  testkit::TempDir dir;
  const std::u16string path = ProfilePathIn(dir.u16());
  ASSERT_EQ(SaveProfileFile(path, WithCombinations()).status, ProfileStatus::Saved);
  const std::vector<std::byte> bytes = FileBytes(dir.path() / "Profile.cfg");
  ASSERT_EQ(bytes.size(), 4304u);
  // Forward is slot 4: codes at 4 + 532 * 4, the text as UTF-16LE 12 bytes further, then zeros.
  const size_t slot = 4 + 532 * 4;
  EXPECT_EQ(bytes[slot + 8], std::byte{85});
  const std::u16string_view want = u"keys:1:ctrl+shift+T";
  for (size_t i = 0; i < 260; ++i) {
    const char16_t unit = i < want.size() ? want[i] : u'\0';
    EXPECT_EQ(bytes[slot + 12 + 2 * i], std::byte(unit & 0xFF)) << i;
    EXPECT_EQ(bytes[slot + 13 + 2 * i], std::byte(unit >> 8)) << i;
  }
  ProfileImage loaded{};
  ASSERT_EQ(LoadProfileFile(path, loaded).status, ProfileStatus::Loaded);
  const ProfileImage saved = WithCombinations();
  EXPECT_EQ(std::memcmp(&loaded, &saved, sizeof loaded), 0);
}

TEST(KeyComboProfile, ADamagedFieldLoadsAsTheSlotsOwnFunctionAndNothingElseMoves) {
  testkit::TempDir dir;
  ProfileImage damaged = WithCombinations();
  // Forward's text cut short, wheel up's text gone; back keeps a combination in force while a
  // pending file path took over the field it shares.
  SetPath(damaged.Slots[SlotForward], u"keys:1:ctrl+shift+");
  SetPath(damaged.Slots[SlotWheelUp], u"");
  damaged.Slots[SlotBack].FunID = fn::Keys;
  damaged.Slots[SlotBack].TempID = fn::OpenFile;
  SetPath(damaged.Slots[SlotBack], u"C:\\a.txt");
  damaged.Slots[SlotMiddle].TempID = fn::Copy;  // an ordinary pending choice beside them
  ASSERT_EQ(SaveProfileFile(ProfilePathIn(dir.u16()), damaged).status, ProfileStatus::Saved);

  ProfileImage loaded{};
  ASSERT_EQ(LoadProfileFile(ProfilePathIn(dir.u16()), loaded).status, ProfileStatus::Loaded);
  EXPECT_EQ(loaded.Slots[SlotForward].TempID, 68);
  EXPECT_EQ(loaded.Slots[SlotForward].FunID, 68);
  EXPECT_EQ(loaded.Slots[SlotWheelUp].FunID, 70);
  EXPECT_EQ(loaded.Slots[SlotBack].FunID, 69);
  EXPECT_EQ(loaded.Slots[SlotBack].TempID, fn::OpenFile);
  EXPECT_EQ(PathText(loaded.Slots[SlotBack]), u"C:\\a.txt");
  EXPECT_EQ(loaded.Slots[SlotMiddle].TempID, fn::Copy);
  // The correction is a load's: saved again it is a clean profile.
  EXPECT_FALSE(CorrectImage(loaded));
}

TEST(KeyComboProfile, AProgramsFileCarriesCombinationsAndIsCorrectedTheSameWay) {
  testkit::TempDir dir;
  ProfileImage own = WithCombinations();
  ASSERT_EQ(SaveAppAssignments(dir.u16(), u"browser.exe", own).status, ProfileStatus::Saved);
  AppAssignments got = LoadAppAssignments(dir.u16(), u"browser.exe", DefaultProfile());
  ASSERT_EQ(got.source, AppSource::Own);
  EXPECT_EQ(got.image.Slots[SlotForward].FunID, fn::Keys);
  EXPECT_EQ(PathText(got.image.Slots[SlotForward]), u"keys:1:ctrl+shift+T");

  SetPath(own.Slots[SlotForward], u"keys:9:ctrl+shift+T");  // a version this program lacks
  ASSERT_EQ(SaveAppAssignments(dir.u16(), u"browser.exe", own).status, ProfileStatus::Saved);
  got = LoadAppAssignments(dir.u16(), u"browser.exe", DefaultProfile());
  EXPECT_EQ(got.image.Slots[SlotForward].FunID, 68);
  EXPECT_EQ(got.image.Slots[SlotWheelUp].FunID, fn::Keys);
}

}  // namespace
}  // namespace norvi
