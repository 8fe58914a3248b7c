// Where the program keeps its files, with the system's own folders and environment. (Wine
// takes file paths beyond MAX_PATH, which Windows refuses: the limit itself is tested with
// the portable rule.)

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "model/AppProfiles.h"
#include "model/ProfileStore.h"
#include "model/SystemFolders.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

namespace fs = std::filesystem;

// A folder of exactly this length under the test's folder.
std::u16string FolderOfLength(const testkit::TempDir& dir, size_t length) {
  std::u16string folder = dir.u16() + u"\\";
  folder += std::u16string(length - folder.size(), u'd');
  EXPECT_TRUE(CreateFolderTree(folder).ok());
  return folder;
}

// TMP names a folder whose "Zarqo\Norvi" ends at 244 characters: on Windows created and
// readable, but every save in it would fail. The program keeps its files under the local
// application data and says where the usual folder was.
TEST(ConfigFolderWin32, ALongTemporaryFolderFallsBackToLocalApplicationData) {
  testkit::TempDir dir;
  const std::u16string temp = FolderOfLength(dir, 244 - 12) + u"\\";
  wchar_t saved[MAX_PATH * 2] = {};
  const DWORD had = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH * 2);
  ::SetEnvironmentVariableW(L"TMP", reinterpret_cast<const wchar_t*>(temp.c_str()));
  const ConfigFolderChoice choice = ConfigFolder();
  ::SetEnvironmentVariableW(L"TMP", had ? saved : nullptr);
  EXPECT_TRUE(choice.Elsewhere());
  EXPECT_EQ(choice.usual, ConfigFolderFrom(temp));
  EXPECT_EQ(choice.usual.size(), 244u);
  EXPECT_NE(choice.folder.find(u"\\Zarqo\\Norvi"), std::u16string::npos);
  EXPECT_TRUE(fs::is_directory(fs::path(choice.folder)));
  EXPECT_FALSE(fs::exists(fs::path(ConfigFolderFrom(temp))));
}

// The usual folder's name is taken by a file: the other folder, said so.
TEST(ConfigFolderWin32, AFileInTheWayOfTheFolderFallsBack) {
  testkit::TempDir dir;
  fs::create_directories(dir.path() / "Zarqo");
  std::ofstream(dir.path() / "Zarqo" / "Norvi") << "in the way";
  const std::u16string temp = dir.u16() + u"\\";
  wchar_t saved[MAX_PATH * 2] = {};
  const DWORD had = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH * 2);
  ::SetEnvironmentVariableW(L"TMP", reinterpret_cast<const wchar_t*>(temp.c_str()));
  const ConfigFolderChoice choice = ConfigFolder();
  ::SetEnvironmentVariableW(L"TMP", had ? saved : nullptr);
  EXPECT_TRUE(choice.Elsewhere());
  EXPECT_EQ(choice.usual, ConfigFolderFrom(temp));
  EXPECT_TRUE(fs::is_directory(fs::path(choice.folder)));
}

}  // namespace
}  // namespace norvi
