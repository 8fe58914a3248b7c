#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "FakeWindowSource.h"

namespace norvi::swap {
namespace {

class WindowListTest : public ::testing::Test {
 protected:
  void SetUp() override { DestroyedIcons().clear(); }
  // One opening: a fresh table filled from the fake's windows in id order.
  void EnumerateAll() {
    table = EntryTable{};
    ListWindows(fake.ZOrder(), fake, trace, table, cache);
  }
  std::vector<std::u16string> Titles() const {
    std::vector<std::u16string> out;
    for (int32_t i = 0; i < table.count; ++i) out.emplace_back(table.entries[i].Title());
    return out;
  }

  FakeWindows fake;
  testkit::LineRecorder sink;
  SwapTrace trace{sink};
  EntryTable table;
  ListingCache cache;
};

TEST_F(WindowListTest, SkipsHiddenOwnedUntitledToolAndShellWindowsButKeepsOthersInOrder) {
  fake.Add({u"Editor"});
  fake.Add({u"Hidden", false});
  fake.Add({u"Owned popup", true, 0x100});
  fake.Add({u""});
  fake.Add({u"Palette", true, 0, kExToolWindow | 0x8});
  fake.Add({u"Unreadable", true, 0, 0, 7, false});
  fake.Add({u"Program Manager"});
  fake.Add({u"Start"});
  fake.Add({u"program manager"});
  fake.Add({u"Start menu"});
  fake.Add({u"Orphan", true, 0, 0, 99});
  EnumerateAll();
  EXPECT_EQ(Titles(), (std::vector<std::u16string>{u"Editor", u"program manager", u"Start menu"}));
  EXPECT_EQ(table.entries[0].window, 0x100u);
  EXPECT_EQ(table.entries[1].icon, 0x5002u);
  EXPECT_TRUE(sink.Lines().empty()) << "no trace output while the switch is off";
}

TEST_F(WindowListTest, LeavesOutWindowsWhoseProgramHasNoIcon) {
  fake.paths[8] = u"C:\\plain.dll";
  fake.iconless.insert(u"C:\\plain.dll");
  fake.Add({u"No icon", true, 0, 0, 8});
  fake.Add({u"With icon"});
  EnumerateAll();
  EXPECT_EQ(Titles(), std::vector<std::u16string>{u"With icon"});
}

TEST_F(WindowListTest, CutsLongTitlesTo39CharactersWithoutSplittingAPair) {
  const std::u16string fifty(50, u'x');
  fake.Add({fifty});
  std::u16string pairAtCut(38, u'a');
  pairAtCut += u"\U0001F600tail";
  fake.Add({pairAtCut});
  fake.Add({std::u16string(39, u'y')});
  EnumerateAll();
  EXPECT_EQ(table.entries[0].Title(), fifty.substr(0, 39));
  EXPECT_EQ(table.entries[1].Title(), std::u16string(38, u'a'));
  EXPECT_EQ(table.entries[2].Title(), std::u16string(39, u'y'));
}

TEST_F(WindowListTest, ListsAtMost29AndExtractsNoIconForWindowsItCannotAdd) {
  for (int i = 0; i < 35; ++i) fake.Add({u"Window " + std::u16string(1, char16_t(u'A' + i))});
  EnumerateAll();
  EXPECT_EQ(table.count, kMaxListed);
  EXPECT_EQ(fake.iconsMade, kMaxListed);
  cache.Clear();
  EXPECT_EQ(DestroyedIcons().size(), size_t(kMaxListed));
  EXPECT_EQ(DestroyedIcons().count(0x5001), 1u);
}

TEST_F(WindowListTest, AShortScreenListsTheMostRecentWindowsThatFit) {
  for (int i = 0; i < 28; ++i) fake.Add({u"Window " + std::u16string(1, char16_t(u'A' + i))});
  table.limit = 24;
  ListWindows(fake.ZOrder(), fake, trace, table, cache);
  ASSERT_EQ(table.count, 24);
  EXPECT_EQ(table.entries[0].Title(), u"Window A");
  EXPECT_EQ(table.entries[23].Title(), u"Window X");
  EXPECT_EQ(fake.iconsMade, 24);
}

TEST_F(WindowListTest, TracesVisibleWindowsAndPathLookupsWhileSwitchedOn) {
  trace.SetEnabled(true);
  fake.Add({u"Editor", true, 0, 0, 0x1c});
  fake.Add({u"Hidden", false});
  fake.Add({u"Owned", true, 0x100, 0, 0x2f});
  fake.paths[0x1c] = u"C:\\ed.exe";
  EnumerateAll();
  EXPECT_EQ(sink.Lines(), (std::vector<std::u16string>{
                              u"PID=1c, HWND=100, Parent=0, Text= Editor\n",
                              u"Process= C:\\ed.exe",
                              u"PID=2f, HWND=104, Parent=100, Text= Owned\n",
                          }));
  sink.Clear();
  fake.windows.clear();
  fake.Add({u"Lost", true, 0, 0, 4242});
  EnumerateAll();
  EXPECT_EQ(sink.Lines().back(), u"Get EXE Name failed, PID= 4242");
}

}  // namespace
}  // namespace norvi::swap
