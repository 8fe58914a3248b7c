#include "picker/PathChooser_win32.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <array>

#include "framework/Com_win32.h"
#include "framework/LateLibrary_win32.h"
#include "base/WideText.h"

namespace norvi {
namespace {

using UniqueItemList = UniqueResource<LPITEMIDLIST, FreeCoTaskMem>;

const wchar_t* OrNull(const std::u16string& text) {
  return text.empty() ? nullptr : W(text);
}

}  // namespace

bool SystemPathChooser::ChooseFile(const PathRequest& request, std::u16string& path) {
  const std::u16string filter = DialogFilter(request.filter);
  const std::u16string extension(request.defaultExtension);
  const std::u16string folder(request.initialFolder);
  std::array<wchar_t, MAX_PATH> file{};
  const std::u16string name(request.fileName.substr(0, file.size() - 1));
  std::copy(name.begin(), name.end(), file.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = nullptr;
  ofn.lpstrFilter = OrNull(filter);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = OrNull(extension);
  ofn.lpstrInitialDir = OrNull(folder);
  ofn.Flags = kPathRequestFlags | OFN_EXPLORER | OFN_ENABLESIZING;
  // The file dialog's library, with the print spooler it brings, is loaded at the first
  // question.
  static LateLibrary dialogs(L"comdlg32.dll");
  static const auto open = dialogs.Export<decltype(&::GetOpenFileNameW)>("GetOpenFileNameW");
  if (!open || !open(&ofn)) return false;
  path = U16(file.data());
  return true;
}

bool SystemPathChooser::ChooseFolder(std::u16string& path) {
  // The folder browser needs COM on this thread for one question.
  const ComApartment com;
  BROWSEINFOW info{};
  UniqueItemList chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return false;
  std::array<wchar_t, MAX_PATH> folder{};
  // A virtual folder (Control Panel, a printer) has no path: nothing was chosen.
  if (!::SHGetPathFromIDListW(chosen.get(), folder.data())) return false;
  path = U16(folder.data());
  return true;
}

}  // namespace norvi
