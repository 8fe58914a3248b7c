#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "model/FileIO.h"
#include "model/ProfileStore.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

using Bytes = std::vector<unsigned char>;

void PutLE32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

void WriteBytes(const std::filesystem::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

Bytes ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string Utf8Path(const std::u16string& name) {
  return std::string(name.begin(), name.end());  // ASCII names only
}

Bytes AsBytes(const ProfileImage& image) {
  const auto span = ImageBytes(image);
  const auto* p = reinterpret_cast<const unsigned char*>(span.data());
  return Bytes(p, p + span.size());
}

// The default image written out by hand from the file layout, field by field.
Bytes ReferenceDefaultBytes() {
  Bytes b(4304, 0);
  PutLE32(b, 0, 0x80801C3D);
  const uint32_t codes[8] = {67, 66, 70, 71, 68, 69, 72, 73};
  for (int i = 0; i < 8; ++i)
    for (int f = 0; f < 3; ++f) PutLE32(b, 4 + 532 * i + 4 * f, codes[i]);
  PutLE32(b, 4292, 10);
  PutLE32(b, 4296, 0);
  PutLE32(b, 4300, 3);
  return b;
}

TEST(ProfileImageLayout, MatchesTheFileLayoutByteForByte) {
  EXPECT_EQ(AsBytes(DefaultProfile()), ReferenceDefaultBytes());

  ProfileImage image = DefaultProfile();
  image.Slots[5].TempID = 0x11223344;
  SetPath(image.Slots[7], u"\u4E2DA");
  image.Remapped[6] = 1;
  image.WheelLines = -1;
  Bytes expected = ReferenceDefaultBytes();
  PutLE32(expected, 4 + 532 * 5 + 4, 0x11223344);
  const size_t path7 = 4 + 532 * 7 + 12;
  expected[path7] = 0x2D, expected[path7 + 1] = 0x4E, expected[path7 + 2] = 'A';
  PutLE32(expected, 4260 + 4 * 6, 1);
  PutLE32(expected, 4300, 0xFFFFFFFF);
  EXPECT_EQ(AsBytes(image), expected);
}

class ProfileFileTest : public ::testing::Test {
 protected:
  testkit::TempDir dir;
  std::u16string path = ProfilePathIn(dir.u16());
  std::filesystem::path file = dir.path() / "Profile.cfg";
  std::filesystem::path aside = dir.path() / "Profile.cfg.bad";
  int pauses = 0;
  ProfileFile profile{path, [this] { ++pauses; }};
};

TEST_F(ProfileFileTest, FormsTheFolderAndPathsAsWritten) {
  EXPECT_EQ(ConfigFolderFrom(u"C:\\Users\\u\\AppData\\Local\\Temp\\"),
            u"C:\\Users\\u\\AppData\\Local\\Temp\\Zarqo\\Norvi");
  EXPECT_EQ(ProfilePathIn(u"C:\\T\\Zarqo\\Norvi"), u"C:\\T\\Zarqo\\Norvi\\Profile.cfg");
  EXPECT_EQ(SetAsidePathOf(u"C:\\T\\Profile.cfg"), u"C:\\T\\Profile.cfg.bad");
  EXPECT_EQ(SetAsidePathOf(u"C:\\T\\Profile.cfg", 2), u"C:\\T\\Profile.cfg.bad-2");
  EXPECT_EQ(SetAsidePathOf(u"C:\\T\\Profile.cfg", kSetAsideCopies), u"C:\\T\\Profile.cfg.bad-5");
}

// Lost: every save, in a folder whose name left room for "Profile.cfg" but not for the
// longer names a save writes.
TEST(ConfigFolderChoice, FallsBackWhenTheLongestNameWouldNotFitOrTheFolderCannotBeHad) {
  // "Zarqo\\Norvi" 11, then "\\Apps\\" 6, a program's name, ".cfg" 4 and a temporary suffix.
  const size_t widest = kMaxPathChars - 11 - 6 - kProgramNameRoom - 4 - kLongestTemporarySuffix;
  const auto base = [](size_t length) {
    return u"C:\\" + std::u16string(length - 4, u't') + u"\\";
  };
  const std::u16string fallback = u"C:\\Local\\";
  std::vector<std::u16string> made;
  bool canMake = true;
  const auto make = [&](const std::u16string& folder) {
    made.push_back(folder);
    return canMake || folder.starts_with(fallback);
  };
  struct Case {
    std::u16string temp;
    bool usual;
  } const cases[] = {{base(widest), true}, {base(widest + 1), false}, {base(247 - 11), false}};
  for (const Case& c : cases) {
    made.clear();
    const std::array<std::u16string, 2> bases{c.temp, fallback};
    const ConfigFolderChoice choice = ChooseConfigFolder(bases, make);
    SCOPED_TRACE(c.temp.size());
    EXPECT_EQ(choice.folder, ConfigFolderFrom(c.usual ? c.temp : fallback));
    EXPECT_EQ(choice.Elsewhere(), !c.usual);
    EXPECT_EQ(choice.usual, c.usual ? u"" : ConfigFolderFrom(c.temp));
    EXPECT_EQ(LongestPathIn(ConfigFolderFrom(base(widest))), kMaxPathChars);
    // A folder too long is never created where it cannot be used.
    EXPECT_EQ(made.front(), c.usual ? ConfigFolderFrom(c.temp) : ConfigFolderFrom(fallback));
  }
  // The usual folder cannot be had (its name taken by a file): the other one, said so.
  canMake = false;
  const std::array<std::u16string, 2> bases{base(40), fallback};
  ConfigFolderChoice choice = ChooseConfigFolder(bases, make);
  EXPECT_EQ(choice.folder, ConfigFolderFrom(fallback));
  EXPECT_EQ(choice.usual, ConfigFolderFrom(base(40)));
  // Neither: the usual one, whose loads and saves report the failure; no temporary folder:
  // the other one as it is.
  const std::array<std::u16string, 2> none{base(40), u"D:\\Nowhere\\"};
  choice = ChooseConfigFolder(none, make);
  EXPECT_EQ(choice.folder, ConfigFolderFrom(base(40)));
  EXPECT_FALSE(choice.Elsewhere());
  const std::array<std::u16string, 2> noTemp{u"", fallback};
  choice = ChooseConfigFolder(noTemp, make);
  EXPECT_EQ(choice.folder, ConfigFolderFrom(fallback));
  EXPECT_FALSE(choice.Elsewhere());
}

TEST_F(ProfileFileTest, FullFileLoadsEveryField) {
  Bytes b = ReferenceDefaultBytes();
  PutLE32(b, 4 + 532 * 2 + 8, 5);
  PutLE32(b, 4292, 17);
  PutLE32(b, 4300, 0xFFFFFFFF);
  b[4 + 532 * 3 + 12] = 'Z';
  WriteBytes(file, b);
  ProfileImage image{};
  EXPECT_EQ(profile.Load(image).status, ProfileStatus::Loaded);
  EXPECT_EQ(AsBytes(image), b);

  Bytes longer = ReferenceDefaultBytes();
  longer.resize(9000, 0xEE);
  WriteBytes(file, longer);
  EXPECT_EQ(profile.Load(image).status, ProfileStatus::Loaded);
  EXPECT_EQ(AsBytes(image), ReferenceDefaultBytes());
}

TEST_F(ProfileFileTest, PathsAreKeptWholeAndAlwaysTerminated) {
  ProfileImage image = DefaultProfile();
  SetPath(image.Slots[0], std::u16string(259, u'a'));
  // Stray units after the terminator belong to the field and survive the round trip.
  image.Slots[1].Path[0] = u'b';
  image.Slots[1].Path[200] = u'c';
  ASSERT_EQ(profile.Save(image).status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(file), AsBytes(image));
  ProfileImage loaded{};
  ASSERT_EQ(profile.Load(loaded).status, ProfileStatus::Loaded);
  EXPECT_EQ(AsBytes(loaded), AsBytes(image));
  EXPECT_EQ(PathLength(loaded.Slots[0]), 259u);

  Bytes b = ReferenceDefaultBytes();
  std::memset(&b[4 + 532 * 4 + 12], 'q', 520);  // no terminator anywhere in the field
  WriteBytes(file, b);
  ASSERT_EQ(profile.Load(loaded).status, ProfileStatus::Loaded);
  EXPECT_EQ(PathLength(loaded.Slots[4]), 259u);
  EXPECT_EQ(loaded.Slots[4].Path[259], 0);
  EXPECT_EQ(loaded.Slots[5].InitID, 69);
}

// Lost: the user's bytes in a file the program cannot make sense of.
TEST_F(ProfileFileTest, InvalidFilesAreSetAsideByteForByteBeforeTheFirstSave) {
  Bytes bigEndian = ReferenceDefaultBytes();
  bigEndian[0] = 0x80, bigEndian[1] = 0x80, bigEndian[2] = 0x1C, bigEndian[3] = 0x3D;
  Bytes random(1 << 20);
  std::mt19937 generator(7);
  for (unsigned char& c : random) c = static_cast<unsigned char>(generator());
  random[0] = 0;  // never the signature by chance
  const Bytes cases[] = {{}, {0x3D}, {0x3D, 0x1C, 0x80}, bigEndian, random};
  for (const Bytes& original : cases) {
    SCOPED_TRACE(original.size());
    std::filesystem::remove(aside);
    WriteBytes(file, original);
    ProfileImage image{};
    EXPECT_EQ(profile.Load(image).status, ProfileStatus::InvalidSignature);
    EXPECT_EQ(AsBytes(image), ReferenceDefaultBytes());
    EXPECT_EQ(ReadBytes(file), original);  // loading alone moves nothing

    EXPECT_EQ(profile.Save(image).status, ProfileStatus::Saved);
    EXPECT_EQ(ReadBytes(aside), original);
    EXPECT_EQ(ReadBytes(file), ReferenceDefaultBytes());
    // Set aside once: a later save leaves the copy alone.
    image.PointerSpeed = 12;
    EXPECT_EQ(profile.Save(image).status, ProfileStatus::Saved);
    EXPECT_EQ(ReadBytes(aside), original);
  }
}

// Lost: the first of two damaged files in a row. Each start with a damaged file keeps it; the
// newest five stay, the newest under ".bad".
TEST_F(ProfileFileTest, EveryDamagedFileIsKeptUnderItsOwnNameTheNewestFive) {
  const auto damaged = [](int start) {
    return Bytes(100 + start, static_cast<unsigned char>(start));
  };
  const auto copy = [&](int n) { return dir.path() / Utf8Path(SetAsidePathOf(u"Profile.cfg", n)); };
  for (int start = 1; start <= 7; ++start) {
    SCOPED_TRACE(start);
    WriteBytes(file, damaged(start));
    ProfileFile started(path);
    ProfileImage image{};
    ASSERT_EQ(started.Load(image).status, ProfileStatus::InvalidSignature);
    ASSERT_EQ(started.Save(image).status, ProfileStatus::Saved);
    for (int n = 1; n <= kSetAsideCopies; ++n) {
      if (start - n + 1 >= 1)
        EXPECT_EQ(ReadBytes(copy(n)), damaged(start - n + 1)) << "copy " << n;
      else
        EXPECT_FALSE(std::filesystem::exists(copy(n))) << "copy " << n;
    }
    EXPECT_FALSE(std::filesystem::exists(copy(kSetAsideCopies + 1)));
    EXPECT_EQ(ReadBytes(file), ReferenceDefaultBytes());
  }
  // A copy the user removed leaves a gap that the older ones keep.
  std::filesystem::remove(copy(2));
  WriteBytes(file, damaged(8));
  ProfileImage image{};
  ASSERT_EQ(profile.Load(image).status, ProfileStatus::InvalidSignature);
  ASSERT_EQ(profile.Save(image).status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(copy(1)), damaged(8));
  EXPECT_EQ(ReadBytes(copy(2)), damaged(7));
  EXPECT_EQ(ReadBytes(copy(3)), damaged(5));
  EXPECT_EQ(ReadBytes(copy(5)), damaged(3));
}

// Lost: the damaged file, saved over when it could not be set aside. Every failure of the
// set-aside fails the save and keeps the file and every older copy as they were.
TEST_F(ProfileFileTest, ASetAsideThatFailsFailsTheSaveAndKeepsTheDamagedFile) {
  const Bytes original(300, 0x77);
  const auto copy = [&](int n) { return dir.path() / Utf8Path(SetAsidePathOf(u"Profile.cfg", n)); };
  for (int n = 1; n < kSetAsideCopies; ++n)
    WriteBytes(copy(n), Bytes(3, static_cast<unsigned char>(n)));
  // The oldest copy's name is taken by a folder with something in it: it cannot go.
  std::filesystem::create_directories(copy(kSetAsideCopies) / "kept");
  WriteBytes(file, original);
  ProfileImage image{};
  ASSERT_EQ(profile.Load(image).status, ProfileStatus::InvalidSignature);
  const ProfileOutcome failed = profile.Save(image);
  EXPECT_EQ(failed.status, ProfileStatus::SaveFailed);
  EXPECT_NE(failed.systemError, syserr::Success);
  EXPECT_EQ(ReadBytes(file), original);
  for (int n = 1; n < kSetAsideCopies; ++n)
    EXPECT_EQ(ReadBytes(copy(n)), Bytes(3, static_cast<unsigned char>(n)));
  EXPECT_TRUE(std::filesystem::exists(copy(kSetAsideCopies) / "kept"));
  EXPECT_EQ(profile.Save(image).status, ProfileStatus::SaveFailed);  // every time
  EXPECT_EQ(ReadBytes(file), original);

  // Once the folder is gone the next save sets the file aside and goes ahead.
  std::filesystem::remove_all(copy(kSetAsideCopies));
  EXPECT_EQ(profile.Save(image).status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(copy(1)), original);
  EXPECT_EQ(ReadBytes(copy(kSetAsideCopies)), Bytes(3, 4));
  EXPECT_EQ(ReadBytes(file), ReferenceDefaultBytes());
}

TEST_F(ProfileFileTest, ResetAlsoSetsAnInvalidFileAside) {
  WriteBytes(file, Bytes(5000, 0x55));
  ProfileImage image{};
  ASSERT_EQ(profile.Load(image).status, ProfileStatus::InvalidSignature);
  EXPECT_EQ(profile.Reset().status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(file), ReferenceDefaultBytes());
  EXPECT_EQ(ReadBytes(aside), Bytes(5000, 0x55));
}

// Lost: a profile that exists but could not be read at that moment.
TEST_F(ProfileFileTest, AnUnreadableFileIsRetriedAndNeverSavedOverUnasked) {
  std::filesystem::create_directory(file);  // exists, cannot be read
  ProfileImage image{};
  const ProfileOutcome load = profile.Load(image);
  EXPECT_EQ(load.status, ProfileStatus::Unreadable);
  EXPECT_EQ(load.systemError, syserr::AccessDenied);
  EXPECT_EQ(pauses, kProfileReadAttempts - 1);
  EXPECT_EQ(AsBytes(image), ReferenceDefaultBytes());
  EXPECT_EQ(profile.Save(image).status, ProfileStatus::SaveSkipped);
  EXPECT_TRUE(std::filesystem::is_directory(file));

  // Once the user asks for a save, it is tried (and here refused).
  profile.UserConfirmed();
  const ProfileOutcome save = profile.Save(image);
  EXPECT_EQ(save.status, ProfileStatus::SaveFailed);
  EXPECT_EQ(save.systemError, syserr::AccessDenied);
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(ProfileFileTest, MissingFileOrFolderIsNotRetried) {
  ProfileImage image{};
  EXPECT_EQ(profile.Load(image).status, ProfileStatus::FirstRun);
  EXPECT_EQ(AsBytes(image), ReferenceDefaultBytes());

  ProfileFile elsewhere(ProfilePathIn(dir.u16("absent")), [this] { ++pauses; });
  image = DefaultProfile();
  image.PointerSpeed = 4;
  const ProfileOutcome load = elsewhere.Load(image);
  EXPECT_EQ(load.status, ProfileStatus::PathMissing);
  EXPECT_EQ(image.PointerSpeed, 4);  // a loaded image stays
  ProfileImage never{};
  EXPECT_EQ(elsewhere.Load(never).status, ProfileStatus::PathMissing);
  EXPECT_EQ(AsBytes(never), ReferenceDefaultBytes());  // nothing loaded yet: defaults
  EXPECT_EQ(pauses, 0);

  const ProfileOutcome save = elsewhere.Save(image);
  EXPECT_EQ(save.status, ProfileStatus::SaveFailed);
  EXPECT_EQ(save.systemError, syserr::PathNotFound);
}

TEST_F(ProfileFileTest, ResetWritesExactlyTheDefaultImage) {
  WriteBytes(file, ReferenceDefaultBytes());
  ProfileImage image{};
  ASSERT_EQ(profile.Load(image).status, ProfileStatus::Loaded);
  image.PointerSpeed = 3;
  ASSERT_EQ(profile.Save(image).status, ProfileStatus::Saved);
  EXPECT_EQ(profile.Reset().status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(file), ReferenceDefaultBytes());
  EXPECT_FALSE(std::filesystem::exists(aside));
}

// Switched off: values that would reach Windows or leave an input dead.
TEST(ProfileCorrection, OutOfRangeValuesBecomeTheirFactoryValues) {
  const struct {
    int32_t speed, precision, lines;
    int32_t wantSpeed, wantPrecision, wantLines;
  } cases[] = {
      {1, 1, 1, 1, 1, 1},
      {20, 0, 30, 20, 0, 30},
      {7, 0, -1, 7, 0, -1},
      {0, 2, 0, 10, 0, 3},
      {21, -1, 31, 10, 0, 3},
      {-5, 0, -2, 10, 0, 3},
      {INT32_MIN, INT32_MAX, INT32_MIN, 10, 0, 3},
  };
  for (const auto& c : cases) {
    ProfileImage image = DefaultProfile();
    image.PointerSpeed = c.speed, image.EnhancePrecision = c.precision, image.WheelLines = c.lines;
    const bool changed = CorrectImage(image);
    EXPECT_EQ(image.PointerSpeed, c.wantSpeed) << c.speed;
    EXPECT_EQ(image.EnhancePrecision, c.wantPrecision) << c.precision;
    EXPECT_EQ(image.WheelLines, c.wantLines) << c.lines;
    EXPECT_EQ(changed,
              c.speed != c.wantSpeed || c.precision != c.wantPrecision || c.lines != c.wantLines);
  }
}

TEST(ProfileCorrection, SlotsKeepTheirNativeCodeAndNeverGoDead) {
  ProfileImage image = DefaultProfile();
  image.Slots[0].InitID = 66;  // another slot's native code
  image.Slots[1].TempID = 0;
  image.Slots[2].FunID = 9;    // inside a range, no name
  image.Slots[3].TempID = 97;  // just past disabled
  image.Slots[4].FunID = -68;
  image.Slots[5].TempID = 96;  // disabled is a choice
  image.Slots[6].FunID = 84;
  image.Slots[7].InitID = 0, image.Slots[7].TempID = 2, image.Slots[7].FunID = 0;
  EXPECT_TRUE(CorrectImage(image));
  const int32_t want[8][3] = {{67, 67, 67}, {66, 66, 66}, {70, 70, 70}, {71, 71, 71},
                              {68, 68, 68}, {69, 96, 69}, {72, 72, 84}, {73, 2, 73}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(image.Slots[i].InitID, want[i][0]) << i;
    EXPECT_EQ(image.Slots[i].TempID, want[i][1]) << i;
    EXPECT_EQ(image.Slots[i].FunID, want[i][2]) << i;
  }
  EXPECT_FALSE(CorrectImage(image));
}

TEST_F(ProfileFileTest, ASignatureAloneLoadsAsTheFactoryProfile) {
  Bytes sig(4, 0);
  PutLE32(sig, 0, 0x80801C3D);
  WriteBytes(file, sig);
  ProfileImage image{};
  EXPECT_EQ(profile.Load(image).status, ProfileStatus::Loaded);
  EXPECT_EQ(AsBytes(image), ReferenceDefaultBytes());
  EXPECT_FALSE(std::filesystem::exists(aside));
}

TEST_F(ProfileFileTest, CreateFolderTreeMakesEveryLevel) {
  const std::u16string deep = dir.u16("a") + u"\\b\\c";
  EXPECT_TRUE(CreateFolderTree(deep).ok());
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "a" / "b" / "c"));
  EXPECT_TRUE(CreateFolderTree(deep).ok());  // already there
  WriteBytes(dir.path() / "plain", Bytes{1});
  EXPECT_FALSE(CreateFolderTree(dir.u16("plain") + u"\\sub").ok());
}

TEST(FolderRoot, NamesThePartThatCannotBeCreated) {
  const struct {
    std::u16string_view path;
    size_t root;
  } cases[] = {
      {u"C:\\Temp\\Zarqo", 3},
      {u"c:", 2},
      {u"\\\\server\\share\\Temp\\Zarqo", 15},
      {u"\\\\server\\share", 14},
      {u"\\\\?\\C:\\Temp", 7},
      {u"\\\\?\\UNC\\server\\share\\Temp", 21},
      {u"\\Temp", 1},
      {u"Temp\\Zarqo", 0},
      {u"", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FolderRootLength(c.path), c.root) << std::string(c.path.begin(), c.path.end());
}

// What a save can lose: the old file must survive every failure, and no temporary stays.
class ReplacingSaveTest : public ProfileFileTest {
 protected:
  std::filesystem::path temporary = dir.path() / "Profile.cfg.new";
};

TEST_F(ReplacingSaveTest, ReplacesTheWholeFileAndLeavesNoTemporary) {
  WriteBytes(file, Bytes(9000, 0x55));
  const Bytes data = ReferenceDefaultBytes();
  const FileResult done =
      ReplaceFileContents(path, std::as_bytes(std::span(data.data(), data.size())));
  EXPECT_TRUE(done.ok());
  EXPECT_EQ(done.bytes, data.size());
  EXPECT_EQ(ReadBytes(file), data);
  EXPECT_FALSE(std::filesystem::exists(temporary));
}

TEST_F(ReplacingSaveTest, AFailedReplaceKeepsTheOldNameAndRemovesTheTemporary) {
  std::filesystem::create_directory(file);  // nothing can take its place
  EXPECT_EQ(profile.Save(DefaultProfile()).systemError, syserr::AccessDenied);
  EXPECT_TRUE(std::filesystem::is_directory(file));
  EXPECT_FALSE(std::filesystem::exists(temporary));

  const std::u16string missing = ProfilePathIn(dir.u16("absent"));
  EXPECT_EQ(ProfileFile(missing).Save(DefaultProfile()).systemError, syserr::PathNotFound);
}

// Lost: every save after anything left a read-only "Profile.cfg.new" behind, and with it
// the file's own write access; two programs saving at once wrote into one temporary file.
TEST_F(ReplacingSaveTest, ATemporaryNameLeftBehindIsNeverWrittenIntoNorMadeTheFile) {
  const uint32_t process = CurrentProcessId();
  const Bytes stale{5, 6, 7};
  const std::filesystem::path shared = dir.path() / "Profile.cfg.new";
  const std::filesystem::path ours =
      dir.path() / Utf8Path(TemporarySiblingOf(u"Profile.cfg", process, 0));
  for (const auto& leftover : {shared, ours}) {
    WriteBytes(leftover, stale);
    std::filesystem::permissions(leftover, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
  }
  ProfileImage image = DefaultProfile();
  for (int32_t speed : {4, 5}) {
    image.PointerSpeed = speed;
    ASSERT_EQ(profile.Save(image).status, ProfileStatus::Saved) << speed;
    EXPECT_EQ(ReadBytes(file), AsBytes(image));
    EXPECT_FALSE(IsReadOnlyFile(path));
  }
  for (const auto& leftover : {shared, ours}) EXPECT_EQ(ReadBytes(leftover), stale);
  // Nothing of the save's own stays behind.
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 3);
  for (const auto& leftover : {shared, ours})
    std::filesystem::permissions(leftover, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST(TemporaryName, CarriesTheProcessAndTheAttempt) {
  EXPECT_EQ(TemporarySiblingOf(u"C:\\T\\Profile.cfg", 0x1A2B, 0),
            u"C:\\T\\Profile.cfg.new-00001a2b-0");
  const std::u16string longest = TemporarySiblingOf(u"x", 0xFFFFFFFF, kTemporaryAttempts - 1);
  EXPECT_EQ(longest, u"x.new-ffffffff-f");
  EXPECT_EQ(longest.size() - 1, kLongestTemporarySuffix);
  EXPECT_NE(TemporarySiblingOf(u"x", 1, 0), TemporarySiblingOf(u"x", 2, 0));
}

TEST_F(ReplacingSaveTest, MovingAsideReplacesAnOlderCopy) {
  const std::filesystem::path aside = dir.path() / "Profile.cfg.bad";
  WriteBytes(aside, Bytes{9, 9});
  WriteBytes(file, Bytes{1, 2, 3});
  EXPECT_TRUE(MoveFileReplacing(path, dir.u16("Profile.cfg.bad")).ok());
  EXPECT_EQ(ReadBytes(aside), (Bytes{1, 2, 3}));
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace norvi
