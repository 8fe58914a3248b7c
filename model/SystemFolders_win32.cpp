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

std::u16string ConfigFolder() {
  std::u16string first;
  for (const std::u16string& base : {TempFolder(), LocalAppDataFolder()}) {
    if (base.empty()) continue;
    std::u16string folder = ConfigFolderFrom(WithTrailingBackslash(base));
    if (CreateFolderTree(folder).ok()) return folder;
    if (first.empty()) first = std::move(folder);
  }
  // Neither could be created: the first one, whose loads and saves then report the failure.
  return first;
}

std::u16string ProgramFilePath() {
  return GrowingQuery([](char16_t* buffer, uint32_t size) -> uint32_t {
    return ::GetModuleFileNameW(nullptr, W(buffer), size);
  });
}

}  // namespace norvi
