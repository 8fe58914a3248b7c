#include <gtest/gtest.h>

#include <vector>

#include "FakeWindowSource.h"

namespace norvi::swap {
namespace {

// Openings of the switcher over a fake desktop whose windows and processes come and go.
class ListingCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { DestroyedIcons().clear(); }
  void Open() {
    table = EntryTable{};
    ListWindows(fake.ZOrder(), fake, trace, table, cache);
  }
  IconId IconOf(WindowId w) const {
    for (int32_t i = 0; i < table.count; ++i)
      if (table.entries[i].window == w) return table.entries[i].icon;
    return 0;
  }

  FakeWindows fake;
  testkit::LineRecorder sink;
  SwapTrace trace{sink};
  EntryTable table;
  ListingCache cache;
};

TEST_F(ListingCacheTest, LaterOpeningsLookNothingUpAgain) {
  fake.paths[8] = u"C:\\other.exe";
  const WindowId a = fake.Add({u"A"});
  const WindowId b = fake.Add({u"B"});
  fake.Add({u"C", true, 0, 0, 8});
  Open();
  EXPECT_EQ(fake.iconsMade, 3);
  EXPECT_EQ(fake.pathLookups, 2) << "one per process";
  const IconId first = IconOf(a);
  for (int i = 0; i < 5; ++i) Open();
  EXPECT_EQ(table.count, 3);
  EXPECT_EQ(fake.iconsMade, 3);
  EXPECT_EQ(fake.pathLookups, 2);
  EXPECT_EQ(IconOf(a), first);
  EXPECT_NE(IconOf(a), IconOf(b));
  EXPECT_TRUE(DestroyedIcons().empty());
}

TEST_F(ListingCacheTest, FailedLookUpsAreNotRepeatedButStillLeaveTheWindowOut) {
  fake.paths[8] = u"C:\\plain.dll";
  fake.iconless.insert(u"C:\\plain.dll");
  fake.Add({u"No icon", true, 0, 0, 8});
  fake.Add({u"No path", true, 0, 0, 99});
  fake.Add({u"Fine"});
  trace.SetEnabled(true);
  for (int i = 0; i < 3; ++i) Open();
  EXPECT_EQ(table.count, 1);
  EXPECT_EQ(fake.pathLookups, 3);
  EXPECT_EQ(fake.iconsMade, 1);
  // The trace of every opening is the same, looked up or not.
  const std::vector<std::u16string> lines = sink.Lines();
  const size_t perOpening = lines.size() / 3;
  EXPECT_EQ(std::vector<std::u16string>(lines.begin(), lines.begin() + perOpening),
            std::vector<std::u16string>(lines.end() - perOpening, lines.end()));
  EXPECT_NE(std::find(lines.begin(), lines.end(), u"Get EXE Name failed, PID= 99"), lines.end());
}

TEST_F(ListingCacheTest, AClosedWindowsIconIsDestroyedAtTheNextOpening) {
  const WindowId a = fake.Add({u"A"});
  fake.Add({u"B"});
  Open();
  const IconId gone = IconOf(a);
  fake.windows.erase(a);
  Open();
  EXPECT_EQ(DestroyedIcons(), std::multiset<IconId>{gone});
  EXPECT_EQ(cache.windows(), 1u);
  EXPECT_EQ(table.count, 1);
}

TEST_F(ListingCacheTest, AHandleReusedByAnotherProcessGetsThatProgramsIcon) {
  fake.paths[8] = u"C:\\other.exe";
  const WindowId a = fake.Add({u"A"});
  Open();
  const IconId old = IconOf(a);
  // Closed and its handle given to another process's window between two openings.
  fake.windows[a] = {u"Reused", true, 0, 0, 8};
  Open();
  EXPECT_NE(IconOf(a), old);
  EXPECT_EQ(DestroyedIcons(), std::multiset<IconId>{old});
  EXPECT_EQ(fake.pathLookups, 2);
}

TEST_F(ListingCacheTest, AnEndedProcessIdComingBackIsLookedUpAfresh) {
  fake.paths[8] = u"C:\\first.exe";
  const WindowId a = fake.Add({u"First program", true, 0, 0, 8});
  Open();
  // Its only window closed: the process may have ended.
  fake.windows.erase(a);
  Open();
  EXPECT_EQ(cache.processes(), 0u);
  // Another program started with the same id.
  fake.paths[8] = u"C:\\second.exe";
  trace.SetEnabled(true);
  fake.Add({u"Second program", true, 0, 0, 8});
  Open();
  const std::vector<std::u16string> lines = sink.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), u"Process= C:\\second.exe"), lines.end());
  EXPECT_EQ(fake.pathLookups, 2);
}

TEST_F(ListingCacheTest, WindowsLeftOffAShortListKeepTheirIcons) {
  for (int i = 0; i < 6; ++i) fake.Add({u"W" + std::u16string(1, char16_t(u'0' + i))});
  Open();
  table = EntryTable{};
  table.limit = 2;
  ListWindows(fake.ZOrder(), fake, trace, table, cache);
  EXPECT_EQ(table.count, 2);
  Open();
  EXPECT_EQ(fake.iconsMade, 6);
  EXPECT_TRUE(DestroyedIcons().empty());
}

TEST_F(ListingCacheTest, ClearingReleasesEveryIconOnce) {
  for (int i = 0; i < 4; ++i) fake.Add({u"W" + std::u16string(1, char16_t(u'0' + i))});
  Open();
  cache.Clear();
  cache.Clear();
  EXPECT_EQ(DestroyedIcons().size(), 4u);
  EXPECT_EQ(std::set<IconId>(DestroyedIcons().begin(), DestroyedIcons().end()).size(), 4u);
  Open();
  EXPECT_EQ(fake.iconsMade, 8) << "a cleared cache extracts again";
}

}  // namespace
}  // namespace norvi::swap
