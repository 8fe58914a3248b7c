// What Windows alone can do to "Profile.cfg": another program holding it open without
// sharing, and a read-only file. Neither may cost the user a byte.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "base/Handles_win32.h"
#include "model/ProfileStore.h"
#include "model/SystemErrors.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

using Bytes = std::vector<char>;

Bytes ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes UserProfile() {
  ProfileImage image = DefaultProfile();
  image.Slots[4].TempID = image.Slots[4].FunID = 2;
  image.PointerSpeed = 15;
  const auto bytes = ImageBytes(image);
  const auto* p = reinterpret_cast<const char*>(bytes.data());
  return Bytes(p, p + bytes.size());
}

class ProfileLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(file, std::ios::binary).write(original.data(), original.size());
  }

  testkit::TempDir dir;
  std::filesystem::path file = dir.path() / "Profile.cfg";
  Bytes original = UserProfile();
  int pauses = 0;
  ProfileFile profile{ProfilePathIn(dir.u16()), [this] { ++pauses; }};
};

TEST_F(ProfileLockTest, AFileHeldWithoutSharingSurvivesStartApplyAndClose) {
  UniqueFileHandle lock(::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);
  ProfileImage image{};
  const ProfileOutcome load = profile.Load(image);
  EXPECT_EQ(load.status, ProfileStatus::Unreadable);
  EXPECT_EQ(load.systemError, static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(pauses, kProfileReadAttempts - 1);
  EXPECT_EQ(image.PointerSpeed, kDefaultPointerSpeed);
  // The start-up apply and the close both save: neither touches the file.
  EXPECT_EQ(profile.Save(image).status, ProfileStatus::SaveSkipped);
  EXPECT_EQ(profile.Save(image).status, ProfileStatus::SaveSkipped);
  lock.reset();
  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Profile.cfg.new"));
}

TEST_F(ProfileLockTest, AReadOnlyFileRefusesTheSaveAndKeepsItsBytes) {
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  ProfileImage image{};
  ASSERT_EQ(profile.Load(image).status, ProfileStatus::Loaded);
  image.PointerSpeed = 3;
  profile.UserConfirmed();
  const ProfileOutcome save = profile.Save(image);
  EXPECT_EQ(save.status, ProfileStatus::SaveFailed);
  EXPECT_EQ(save.systemError, syserr::AccessDenied);
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Profile.cfg.new"));
}

Bytes Damaged() {
  return Bytes(200, 0x66);
}

// Lost: a damaged file saved over when it could not be moved aside because another program
// holds it open (reading, without letting it be moved).
TEST_F(ProfileLockTest, ADamagedFileThatCannotBeMovedAsideIsNeverSavedOver) {
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(Damaged().data(), 200);
  UniqueFileHandle reader(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(reader);
  ProfileImage image{};
  ASSERT_EQ(profile.Load(image).status, ProfileStatus::InvalidSignature);
  const ProfileOutcome held = profile.Save(image);
  EXPECT_EQ(held.status, ProfileStatus::SaveFailed);
  EXPECT_EQ(held.systemError, static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  reader.reset();
  EXPECT_EQ(ReadBytes(file), Damaged());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Profile.cfg.bad"));

  EXPECT_EQ(profile.Save(image).status, ProfileStatus::Saved);
  EXPECT_EQ(ReadBytes(dir.path() / "Profile.cfg.bad"), Damaged());
}

// The oldest of five copies is read-only: it cannot make room, so the save fails and keeps
// every file as it was.
TEST_F(ProfileLockTest, AReadOnlyOldestCopyFailsTheSaveAndKeepsEveryFile) {
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(Damaged().data(), 200);
  const std::u16string profilePath = ProfilePathIn(dir.u16());
  for (int n = 1; n <= kSetAsideCopies; ++n)
    std::ofstream(std::filesystem::path(SetAsidePathOf(profilePath, n)), std::ios::binary)
        << "copy " << n;
  const std::filesystem::path oldest(SetAsidePathOf(profilePath, kSetAsideCopies));
  ASSERT_TRUE(::SetFileAttributesW(oldest.c_str(), FILE_ATTRIBUTE_READONLY));
  ProfileImage image{};
  ASSERT_EQ(profile.Load(image).status, ProfileStatus::InvalidSignature);
  const ProfileOutcome save = profile.Save(image);
  EXPECT_EQ(save.status, ProfileStatus::SaveFailed);
  EXPECT_EQ(save.systemError, syserr::AccessDenied);
  EXPECT_EQ(ReadBytes(file), Damaged());
  for (int n = 1; n <= kSetAsideCopies; ++n) {
    const std::string expected = "copy " + std::to_string(n);
    EXPECT_EQ(ReadBytes(SetAsidePathOf(profilePath, n)), Bytes(expected.begin(), expected.end()));
  }
  ::SetFileAttributesW(oldest.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A read-only temporary file left by anything neither fails the save nor makes the profile
// read-only.
TEST_F(ProfileLockTest, AStaleReadOnlyTemporaryLeavesSavesAndTheFileWritable) {
  const std::filesystem::path stale = dir.path() / "Profile.cfg.new";
  std::ofstream(stale, std::ios::binary) << "stale";
  ASSERT_TRUE(::SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_READONLY));
  ProfileImage image{};
  ASSERT_EQ(profile.Load(image).status, ProfileStatus::Loaded);
  for (int32_t speed : {3, 4}) {
    image.PointerSpeed = speed;
    ASSERT_EQ(profile.Save(image).status, ProfileStatus::Saved) << speed;
    EXPECT_EQ(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  }
  EXPECT_EQ(ReadBytes(stale), (Bytes{'s', 't', 'a', 'l', 'e'}));
  ::SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace norvi
