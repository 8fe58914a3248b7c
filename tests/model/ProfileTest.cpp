#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
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
  test::TempDir dir;
  std::u16string path = ProfilePathIn(dir.u16());
  std::filesystem::path file = dir.path() / "Profile.cfg";
};

TEST_F(ProfileFileTest, FormsTheFolderAndPathAsWritten) {
  EXPECT_EQ(ConfigFolderFrom(u"C:\\Users\\u\\AppData\\Local\\Temp\\"),
            u"C:\\Users\\u\\AppData\\Local\\Temp\\Zarqo\\Norvi");
  EXPECT_EQ(ProfilePathIn(u"C:\\T\\Zarqo\\Norvi"), u"C:\\T\\Zarqo\\Norvi\\Profile.cfg");
}

TEST_F(ProfileFileTest, FullFileLoadsEveryField) {
  Bytes b = ReferenceDefaultBytes();
  PutLE32(b, 4 + 532 * 2 + 8, 5);
  PutLE32(b, 4292, 17);
  b[4 + 532 * 3 + 12] = 'Z';
  WriteBytes(file, b);
  ProfileImage image{};
  EXPECT_EQ(LoadProfileFile(path, image).status, ProfileStatus::Loaded);
  EXPECT_EQ(AsBytes(image), b);
}

TEST_F(ProfileFileTest, ShortAndLongFiles) {
  Bytes sig(4, 0);
  PutLE32(sig, 0, 0x80801C3D);
  WriteBytes(file, sig);
  ProfileImage image = DefaultProfile();
  EXPECT_EQ(LoadProfileFile(path, image).status, ProfileStatus::Loaded);
  Bytes zeroModel(4304, 0);
  PutLE32(zeroModel, 0, 0x80801C3D);
  EXPECT_EQ(AsBytes(image), zeroModel);

  Bytes longer = ReferenceDefaultBytes();
  longer.resize(9000, 0xEE);
  WriteBytes(file, longer);
  EXPECT_EQ(LoadProfileFile(path, image).status, ProfileStatus::Loaded);
  EXPECT_EQ(AsBytes(image), ReferenceDefaultBytes());
}

TEST_F(ProfileFileTest, WrongSignatureIsReportedAndTheBytesKept) {
  Bytes b = ReferenceDefaultBytes();
  b[0] = 0x80, b[1] = 0x80, b[2] = 0x1C, b[3] = 0x3D;  // big-endian
  WriteBytes(file, b);
  ProfileImage image{};
  EXPECT_EQ(LoadProfileFile(path, image).status, ProfileStatus::InvalidSignature);
  EXPECT_EQ(AsBytes(image), b);

  WriteBytes(file, Bytes{});
  EXPECT_EQ(LoadProfileFile(path, image).status, ProfileStatus::InvalidSignature);
  EXPECT_EQ(AsBytes(image), Bytes(4304, 0));

  image = DefaultProfile();
  EXPECT_EQ(ImageFromBytes({}, image), ImageCheck::InvalidSignature);
  EXPECT_EQ(AsBytes(image), Bytes(4304, 0));
}

TEST_F(ProfileFileTest, PathsAreKeptWholeAndAlwaysTerminated) {
  ProfileImage image = DefaultProfile();
  SetPath(image.Slots[0], std::u16string(259, u'a'));
  // Stray units after the terminator belong to the field and survive the round trip.
  image.Slots[1].Path[0] = u'b';
  image.Slots[1].Path[200] = u'c';
  ASSERT_EQ(SaveProfileFile(path, image).status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(file), AsBytes(image));
  ProfileImage loaded{};
  ASSERT_EQ(LoadProfileFile(path, loaded).status, ProfileStatus::Loaded);
  EXPECT_EQ(AsBytes(loaded), AsBytes(image));
  EXPECT_EQ(PathLength(loaded.Slots[0]), 259u);

  Bytes b = ReferenceDefaultBytes();
  std::memset(&b[4 + 532 * 4 + 12], 'q', 520);  // no terminator anywhere in the field
  WriteBytes(file, b);
  ASSERT_EQ(LoadProfileFile(path, loaded).status, ProfileStatus::Loaded);
  EXPECT_EQ(PathLength(loaded.Slots[4]), 259u);
  EXPECT_EQ(loaded.Slots[4].Path[259], 0);
  EXPECT_EQ(loaded.Slots[5].InitID, 69);
}

TEST_F(ProfileFileTest, FirstRunGivesTheDefaultImage) {
  ProfileImage image{};
  const ProfileOutcome outcome = LoadProfileFile(path, image);
  EXPECT_EQ(outcome.status, ProfileStatus::FirstRun);
  EXPECT_EQ(AsBytes(image), ReferenceDefaultBytes());
}

TEST_F(ProfileFileTest, MissingFolderKeepsTheImageAndSaysSo) {
  const std::u16string missing = ProfilePathIn(dir.u16("absent"));
  ProfileImage image = DefaultProfile();
  image.PointerSpeed = 4;
  const ProfileOutcome load = LoadProfileFile(missing, image);
  EXPECT_EQ(load.status, ProfileStatus::PathMissing);
  EXPECT_EQ(image.PointerSpeed, 4);

  const ProfileOutcome save = SaveProfileFile(missing, image);
  EXPECT_EQ(save.status, ProfileStatus::SaveFailed);
  EXPECT_EQ(save.systemError, syserr::PathNotFound);
  EXPECT_EQ(SaveFailureMessageKey(save.systemError), "str_msg2");
}

TEST_F(ProfileFileTest, SaveOverAFolderIsDeniedAndSaysSo) {
  std::filesystem::create_directory(file);
  const ProfileOutcome save = SaveProfileFile(path, DefaultProfile());
  EXPECT_EQ(save.status, ProfileStatus::SaveFailed);
  EXPECT_EQ(save.systemError, syserr::AccessDenied);
  EXPECT_EQ(SaveFailureMessageKey(save.systemError), "str_msg5");

  ProfileImage image = DefaultProfile();
  EXPECT_EQ(LoadProfileFile(path, image).status, ProfileStatus::OpenFailed);
  EXPECT_EQ(AsBytes(image), ReferenceDefaultBytes());
}

TEST_F(ProfileFileTest, ResetWritesExactlyTheDefaultImage) {
  WriteBytes(file, Bytes(5000, 0x55));
  EXPECT_EQ(ResetProfileFile(path).status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(file), ReferenceDefaultBytes());
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
  EXPECT_FALSE(SaveProfileFile(path, DefaultProfile()).systemError == syserr::Success);
  EXPECT_TRUE(std::filesystem::is_directory(file));
  EXPECT_FALSE(std::filesystem::exists(temporary));

  const std::u16string missing = ProfilePathIn(dir.u16("absent"));
  EXPECT_EQ(SaveProfileFile(missing, DefaultProfile()).systemError, syserr::PathNotFound);
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
