#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "model/AppProfiles.h"
#include "model/FunctionCodes.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

void WriteBytes(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

Bytes Image(const ProfileImage& image) {
  const auto span = ImageBytes(image);
  const auto* p = reinterpret_cast<const unsigned char*>(span.data());
  return Bytes(p, p + span.size());
}

TEST(AppProfilePath, OnlyPlainFileNamesGetAFileInsideApps) {
  struct Case {
    std::u16string_view name;
    std::optional<std::u16string> path;
  } const cases[] = {
      {u"notepad.exe", u"C:\\T\\Apps\\notepad.exe.cfg"},
      {u"My App.EXE", u"C:\\T\\Apps\\My App.EXE.cfg"},
      {u"\u4E2D.exe", u"C:\\T\\Apps\\\u4E2D.exe.cfg"},
      {u"", std::nullopt},
      {u".", std::nullopt},
      {u"..", std::nullopt},
      {u"..\\Profile", std::nullopt},
      {u"a/b.exe", std::nullopt},
      {u"C:x.exe", std::nullopt},
      {u"*.exe", std::nullopt},
      {u"a\tb.exe", std::nullopt},
      {std::u16string_view(u"a\0b", 3), std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AppProfilePathIn(u"C:\\T", c.name), c.path)
        << std::string(c.name.begin(), c.name.end());
}

TEST(AppProfilePath, ExecutableNameIsTheLastPartOfTheImagePath) {
  EXPECT_EQ(ExecutableNameOf(u"C:\\Windows\\system32\\notepad.exe"), u"notepad.exe");
  EXPECT_EQ(ExecutableNameOf(u"\\Device\\HarddiskVolume2\\a b\\x.exe"), u"x.exe");
  EXPECT_EQ(ExecutableNameOf(u"/usr/bin/probe"), u"probe");
  EXPECT_EQ(ExecutableNameOf(u"plain.exe"), u"plain.exe");
  EXPECT_EQ(ExecutableNameOf(u"C:\\dir\\"), u"");
  EXPECT_TRUE(SameExecutableName(u"NotePad.EXE", u"notepad.exe"));
  EXPECT_FALSE(SameExecutableName(u"notepad.exe", u"notepad.ex"));
  EXPECT_FALSE(SameExecutableName(u"a.exe", u"b.exe"));
}

class AppFileTest : public ::testing::Test {
 protected:
  AppFileTest() {
    defaults.PointerSpeed = 17, defaults.EnhancePrecision = 1, defaults.WheelLines = -1;
    defaults.Slots[SlotBack].FunID = 0x33;  // the default profile's own change
  }
  fs::path AppFile(const char* name) const { return dir.path() / "Apps" / name; }

  testkit::TempDir dir;
  ProfileImage defaults = DefaultProfile();
};

TEST_F(AppFileTest, OwnFileGivesItsSlotsButNeverItsSystemWideSettings) {
  ProfileImage own = DefaultProfile();
  own.Slots[SlotForward].TempID = own.Slots[SlotForward].FunID = fn::Copy;
  own.Remapped[SlotForward] = 1;
  own.PointerSpeed = 1, own.EnhancePrecision = 0, own.WheelLines = 30;
  fs::create_directory(dir.path() / "Apps");
  WriteBytes(AppFile("probe.exe.cfg"), Image(own));

  const AppAssignments got = LoadAppAssignments(dir.u16(), u"probe.exe", defaults);
  EXPECT_EQ(got.source, AppSource::Own);
  EXPECT_EQ(got.image.Slots[SlotForward].FunID, fn::Copy);
  EXPECT_EQ(got.image.Slots[SlotBack].FunID, DefaultProfile().Slots[SlotBack].FunID);
  EXPECT_EQ(got.image.Remapped[SlotForward], 1);
  EXPECT_EQ(got.image.PointerSpeed, 17);
  EXPECT_EQ(got.image.EnhancePrecision, 1);
  EXPECT_EQ(got.image.WheelLines, -1);
}

// Anything but a valid file of its own gives exactly the default profile, never a mix.
TEST_F(AppFileTest, EveryOtherOutcomeIsExactlyTheDefault) {
  Bytes badSignature = Image(DefaultProfile());
  badSignature[0] ^= 1;
  const Bytes shortFile{0x3D, 0x1C};  // cut inside the signature
  struct Case {
    const char* what;
    std::optional<Bytes> file;  // nothing: no file
    bool appsFolder;
    AppSource source;
  } const cases[] = {
      {"no Apps folder", std::nullopt, false, AppSource::Default},
      {"no file", std::nullopt, true, AppSource::Default},
      {"bad signature", badSignature, true, AppSource::Invalid},
      {"short", shortFile, true, AppSource::Invalid},
      {"empty", Bytes{}, true, AppSource::Invalid},
  };
  for (const Case& c : cases) {
    testkit::TempDir folder;
    if (c.appsFolder) fs::create_directory(folder.path() / "Apps");
    if (c.file) WriteBytes(folder.path() / "Apps" / "probe.exe.cfg", *c.file);
    const AppAssignments got = LoadAppAssignments(folder.u16(), u"probe.exe", defaults);
    EXPECT_EQ(got.source, c.source) << c.what;
    EXPECT_EQ(Image(got.image), Image(defaults)) << c.what;
  }
}

TEST_F(AppFileTest, UnreadableFileIsTheDefault) {
  fs::create_directories(AppFile("probe.exe.cfg"));  // a folder where the file should be
  const AppAssignments got = LoadAppAssignments(dir.u16(), u"probe.exe", defaults);
  EXPECT_EQ(got.source, AppSource::Unread);
  EXPECT_EQ(Image(got.image), Image(defaults));
}

TEST_F(AppFileTest, NameThatCannotHaveAFileNeverReadsOutsideApps) {
  WriteBytes(dir.path() / "x.cfg", Image(DefaultProfile()));
  EXPECT_EQ(LoadAppAssignments(dir.u16(), u"..\\x", defaults).source, AppSource::Default);
  EXPECT_EQ(SaveAppAssignments(dir.u16(), u"..\\y", defaults).status, ProfileStatus::SaveFailed);
  EXPECT_FALSE(fs::exists(dir.path() / "y.cfg"));
}

TEST_F(AppFileTest, SaveCreatesAppsAndRemoveFallsBackToTheDefault) {
  ProfileImage own = defaults;
  own.Slots[SlotForward].FunID = fn::Copy;
  EXPECT_EQ(SaveAppAssignments(dir.u16(), u"probe.exe", own).status, ProfileStatus::Saved);
  EXPECT_EQ(fs::file_size(AppFile("probe.exe.cfg")), kProfileSize);
  EXPECT_EQ(LoadAppAssignments(dir.u16(), u"probe.exe", defaults).image.Slots[SlotForward].FunID,
            fn::Copy);

  EXPECT_TRUE(RemoveAppAssignments(dir.u16(), u"probe.exe").ok());
  EXPECT_FALSE(fs::exists(AppFile("probe.exe.cfg")));
  EXPECT_TRUE(RemoveAppAssignments(dir.u16(), u"probe.exe").ok());  // already gone
  EXPECT_EQ(LoadAppAssignments(dir.u16(), u"probe.exe", defaults).source, AppSource::Default);
}

}  // namespace
}  // namespace norvi
