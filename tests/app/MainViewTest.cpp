// The main window's portable rules: what each hover number shows, and which assignments the
// window edits while a program's own file is open.

#include <gtest/gtest.h>

#include "app/AppEditing.h"
#include "app/MainLayout.h"
#include "localisation/StringTable.h"
#include "model/FunctionCodes.h"
#include "tests/app/Recorders.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

struct NoKeyNames : IKeyNames {
  std::u16string Name(uint8_t) const override { return {}; }
};
const NoKeyNames kNoNames;

TEST(HoverText, SettingsShowTheirTextSlotsTheirFunctionOthersNothing) {
  StringTable strings;
  strings.Set("str_improveAccuracy", u"Precision text");
  strings.Set("str_ok", u"OK text");
  strings.Set("str_list_base_copy", u"Copy");
  strings.Set("str_list_base_paste", u"Paste");
  SlotTable slots = FactorySlots();
  slots[0].FunID = fn::Copy;
  slots[7].FunID = fn::Paste;

  EXPECT_EQ(HoverText(1, slots, strings, kNoNames), u"Precision text");
  EXPECT_EQ(HoverText(14, slots, strings, kNoNames), u"OK text");
  // Numbers 4 to 11 are the eight slots in order: the applied function, not the pending one.
  slots[0].TempID = fn::Paste;
  EXPECT_EQ(HoverText(4, slots, strings, kNoNames), u"Copy");
  EXPECT_EQ(HoverText(11, slots, strings, kNoNames), u"Paste");
  EXPECT_EQ(DescribedControl(4), MainControl::Slot0);
  EXPECT_EQ(DescribedControl(11), MainControl::Slot7);
  EXPECT_EQ(HoverText(0, slots, strings, kNoNames), u"");
  EXPECT_EQ(HoverText(15, slots, strings, kNoNames), u"");
  EXPECT_EQ(SlotOf(MainControl::Ok), -1);
}

TEST(AppEditing, AProgramsFileIsEditedApartFromTheDefaultAndRemovedBackToIt) {
  testkit::TempDir dir;
  const std::u16string folder = dir.u16();
  ProfileImage defaults = DefaultProfile();
  defaults.Slots[2].FunID = fn::Copy;
  AppEditing editing(folder, defaults);
  EXPECT_TRUE(editing.EditsDefault());
  EXPECT_EQ(&editing.Edited(), &defaults);

  editing.Begin(u"notepad.exe");
  ASSERT_FALSE(editing.EditsDefault());
  // No file yet: the program starts from what it shares, the default's assignments.
  EXPECT_EQ(editing.Edited().Slots[2].FunID, fn::Copy);
  editing.Edited().Slots[2].TempID = fn::Paste;
  testkit::TraceRecorder trace;
  EXPECT_EQ(editing.Save(trace).status, ProfileStatus::Saved);
  EXPECT_EQ(defaults.Slots[2].FunID, fn::Copy) << "the default profile is never touched";
  EXPECT_NE(editing.FilePath().find(u"notepad.exe.cfg"), std::u16string::npos);

  editing.Begin(u"notepad.exe");  // read again from its file
  EXPECT_EQ(editing.Edited().Slots[2].FunID, fn::Paste);
  EXPECT_TRUE(editing.Remove().ok());
  EXPECT_EQ(editing.Edited().Slots[2].FunID, fn::Copy) << "after removal it shares the default";
}

}  // namespace
}  // namespace norvi
