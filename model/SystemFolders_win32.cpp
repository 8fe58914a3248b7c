#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <array>

#include "base/WideText.h"
#include "model/FileIO.h"
#include "model/ProfileStore.h"
#include "model/SystemFolders.h"

namespace norvi {
namespace {

std::u16string WithTrailingBackslash(std::u16string folder) {
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder;
}

std::u16string TempFolder() {
  return GrowingQuery(
      [](char16_t* buffer, uint32_t size) -> uint32_t { return ::GetTempPathW(size, W(buffer)); });
}

std::u16string LocalAppDataFolder() {
  std::array<wchar_t, MAX_PATH> buffer{};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                buffer.data())))
    return {};
  buffer.back() = L'\0';
  return WithTrailingBackslash(U16(buffer.data()));
}

}  // namespace

ConfigFolderChoice ConfigFolder() {
  const std::array<std::u16string, 2> bases{WithTrailingBackslash(TempFolder()),
                                            LocalAppDataFolder()};
  return ChooseConfigFolder(
      bases, [](const std::u16string& folder) { return CreateFolderTree(folder).ok(); });
}

std::u16string ProgramFilePath() {
  return GrowingQuery([](char16_t* buffer, uint32_t size) -> uint32_t {
    return ::GetModuleFileNameW(nullptr, W(buffer), size);
  });
}

}  // namespace norvi
