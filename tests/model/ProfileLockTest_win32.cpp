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

}  // namespace
}  // namespace norvi
