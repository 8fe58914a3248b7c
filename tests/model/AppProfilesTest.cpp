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

Bytes ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
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
      // Devices in every folder, with any extension and in any case.
      {u"CON", std::nullopt},
      {u"con.exe", std::nullopt},
      {u"Nul.tar.gz", std::nullopt},
      {u"aux .exe", std::nullopt},
      {u"PRN.EXE", std::nullopt},
      {u"com1.exe", std::nullopt},
      {u"COM9", std::nullopt},
      {u"lpt1.exe", std::nullopt},
      {u"LPT9.bin", std::nullopt},
      {u"COM\u00B9.exe", std::nullopt},
      {u"conout$.exe", std::nullopt},
      {u"CONIN$", std::nullopt},
      // Names that only begin like one.
      {u"console.exe", u"C:\\T\\Apps\\console.exe.cfg"},
      {u"COM10.exe", u"C:\\T\\Apps\\COM10.exe.cfg"},
      {u"lpt.exe", u"C:\\T\\Apps\\lpt.exe.cfg"},
      {u"nul_x.exe", u"C:\\T\\Apps\\nul_x.exe.cfg"},
      {u"x.con", u"C:\\T\\Apps\\x.con.cfg"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AppProfilePathIn(u"C:\\T", c.name), c.path)
        << std::string(c.name.begin(), c.name.end());
}

// A name whose file would be too long to save under has none, as any name that cannot.
TEST(AppProfilePath, OnlyNamesWhoseSavesFitGetAFile) {
  const std::u16string folder = u"C:\\" + std::u16string(200, u'f');
  // "\\Apps\\" 6, ".cfg" 4, and a temporary name's 15 after it.
  const size_t room = kMaxPathChars - folder.size() - 6 - 4 - kLongestTemporarySuffix;
  EXPECT_TRUE(AppProfilePathIn(folder, std::u16string(room, u'n')));
  EXPECT_FALSE(AppProfilePathIn(folder, std::u16string(room + 1, u'n')));
}

TEST(AppProfilePath, NamesCompareWithoutCaseAsTheFileSystemDoes) {
  EXPECT_TRUE(SameExecutableName(u"\u00C4PFEL.EXE", u"\u00E4pfel.exe"));
  EXPECT_TRUE(SameExecutableName(u"\u0411\u041B\u041E\u041A.exe", u"\u0431\u043B\u043E\u043A.EXE"));
  EXPECT_TRUE(SameExecutableName(u"\u0401.exe", u"\u0451.exe"));
  EXPECT_TRUE(SameExecutableName(u"\u03A3\u0391.exe", u"\u03C3\u03B1.exe"));
  EXPECT_TRUE(SameExecutableName(u"\u017D.exe", u"\u017E.exe"));
  EXPECT_TRUE(SameExecutableName(u"\u0139.exe", u"\u013A.exe"));
  EXPECT_TRUE(SameExecutableName(u"\uFF21.exe", u"\uFF41.exe"));
  EXPECT_FALSE(SameExecutableName(u"\u00D7.exe", u"\u00F7.exe"));  // signs, not letters
  EXPECT_FALSE(SameExecutableName(u"\u4E2D.exe", u"\u4E2E.exe"));
  EXPECT_EQ(FoldedName(u"Not\u00E9pad.exe"), u"NOT\u00C9PAD.EXE");
}

// Lost: a program's own file changed under one spelling of its name while the other was
// remembered; and a file that could not be read once, remembered as no file for good.
TEST(AppFileIndex, RemembersReadOutcomesByNameWithoutCaseAndNeverAFailedRead) {
  AppFileIndex index;
  std::vector<std::u16string> looked;
  AppSource answer = AppSource::Own;
  const AppFileIndex::Look look = [&](std::u16string_view program) {
    looked.emplace_back(program);
    return answer;
  };
  EXPECT_TRUE(index.HasOwnFile(u"Probe.exe", look));
  EXPECT_TRUE(index.HasOwnFile(u"PROBE.EXE", look));
  EXPECT_EQ(looked.size(), 1u);
  answer = AppSource::Default;
  index.Forget(u"probe.exe");  // written or removed under another spelling
  EXPECT_FALSE(index.HasOwnFile(u"PROBE.exe", look));
  EXPECT_EQ(looked.size(), 2u);

  answer = AppSource::Unread;
  EXPECT_FALSE(index.HasOwnFile(u"locked.exe", look));
  answer = AppSource::Own;  // readable again
  EXPECT_TRUE(index.HasOwnFile(u"LOCKED.exe", look));
  EXPECT_EQ(looked.size(), 4u);
  answer = AppSource::Invalid;
  EXPECT_FALSE(index.HasOwnFile(u"bad.exe", look));
  EXPECT_FALSE(index.HasOwnFile(u"bad.exe", look));
  EXPECT_EQ(looked.size(), 5u);
  index.Clear();
  EXPECT_FALSE(index.HasOwnFile(u"probe.exe", look));
  EXPECT_EQ(looked.size(), 6u);
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

TEST_F(AppFileTest, UnreadableFileIsTheDefaultAfterPausedRetries) {
  fs::create_directories(AppFile("probe.exe.cfg"));  // a folder where the file should be
  int pauses = 0;
  const AppAssignments got =
      LoadAppAssignments(dir.u16(), u"probe.exe", defaults, [&] { ++pauses; });
  EXPECT_EQ(got.source, AppSource::Unread);
  EXPECT_EQ(Image(got.image), Image(defaults));
  EXPECT_EQ(pauses, kProfileReadAttempts - 1);
}

// Lost: a damaged file of a program, saved over or removed. It is set aside as the default
// profile's is, each under its own name.
TEST_F(AppFileTest, DamagedFilesAreSetAsideBeforeASaveOrARemoval) {
  fs::create_directory(dir.path() / "Apps");
  const Bytes first(50, 0xA1), second(60, 0xB2);
  ProfileImage own = defaults;
  own.Slots[SlotForward].FunID = fn::Copy;
  WriteBytes(AppFile("probe.exe.cfg"), first);
  EXPECT_EQ(SaveAppAssignments(dir.u16(), u"probe.exe", own).status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(AppFile("probe.exe.cfg.bad")), first);
  EXPECT_EQ(ReadBytes(AppFile("probe.exe.cfg")), Image(own));

  WriteBytes(AppFile("probe.exe.cfg"), second);
  EXPECT_TRUE(RemoveAppAssignments(dir.u16(), u"probe.exe").ok());
  EXPECT_FALSE(fs::exists(AppFile("probe.exe.cfg")));
  EXPECT_EQ(ReadBytes(AppFile("probe.exe.cfg.bad")), second);
  EXPECT_EQ(ReadBytes(AppFile("probe.exe.cfg.bad-2")), first);

  // A valid file is replaced or removed as asked, with nothing set aside.
  EXPECT_EQ(SaveAppAssignments(dir.u16(), u"probe.exe", own).status, ProfileStatus::Saved);
  EXPECT_EQ(SaveAppAssignments(dir.u16(), u"probe.exe", defaults).status, ProfileStatus::Saved);
  EXPECT_TRUE(RemoveAppAssignments(dir.u16(), u"probe.exe").ok());
  EXPECT_FALSE(fs::exists(AppFile("probe.exe.cfg.bad-3")));
}

TEST_F(AppFileTest, DeviceNamesNeverReachTheFileSystem) {
  for (std::u16string_view name : {u"NUL.exe", u"con", u"Com3.exe"}) {
    EXPECT_EQ(SaveAppAssignments(dir.u16(), name, defaults).systemError, syserr::InvalidName);
    EXPECT_EQ(LoadAppAssignments(dir.u16(), name, defaults).source, AppSource::Default);
    EXPECT_TRUE(RemoveAppAssignments(dir.u16(), name).ok());
  }
  EXPECT_FALSE(fs::exists(dir.path() / "Apps"));
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
