#include "picker/SettingPages_win32.h"

#include <algorithm>

#include "controls/ImageHelpers_win32.h"
#include "controls/TextDraw_win32.h"
#include "base/WideText.h"
#include "model/FunctionCodes.h"
#include "res/ResourceIds.h"

namespace norvi {
namespace {

std::u16string Text(const PickerContext& context, std::string_view key) {
  return std::u16string(context.strings.Text(key));
}

HMODULE ModuleOf(const PickerContext& context) {
  return context.resources ? context.resources : ::GetModuleHandleW(nullptr);
}

// Copies a picture to `dc` at (0, 0) in its own size.
// A missing skin picture leaves what is under it.
void CopyPicture(HDC dc, const UniqueBitmap& picture, SIZE size) {
  if (picture) BlitPicture(dc, picture.get(), size.cx, size.cy);
}

}  // namespace

UniqueBitmap LoadSkinPicture(const std::u16string& programFolder, std::u16string_view name,
                             SIZE* size) {
  UniqueBitmap picture;
  SIZE loaded{};
  LoadPictureFile(programFolder + std::u16string(name), picture, loaded);
  if (size) *size = loaded;
  return picture;
}

// ---- list pages ----

CSetting_ListDlg::CSetting_ListDlg(int category, const PickerContext& context)
    : Dialog(IDD_SETTING_LIST_PAGE, context.resources),
      context_(context),
      rows_(ListRows(category)) {}

int32_t CSetting_ListDlg::GetSelectedCode() const {
  const LRESULT selected = list_.Send(LB_GETCURSEL);
  if (selected < 0 || static_cast<size_t>(selected) >= rows_.size()) return 0;
  return rows_[static_cast<size_t>(selected)];
}

void CSetting_ListDlg::Select(int32_t code) {
  WPARAM row = static_cast<WPARAM>(-1);
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i] == code) row = i;
  list_.Send(LB_SETCURSEL, row);
  if (row == static_cast<WPARAM>(-1)) return;
  // The list shows a row in part at its foot; the chosen one must be seen whole.
  const int whole = std::max(1, static_cast<int>(list_.ClientRect().bottom) / kListRowHeight);
  const auto top = static_cast<WPARAM>(list_.Send(LB_GETTOPINDEX));
  if (row >= top + static_cast<WPARAM>(whole)) list_.Send(LB_SETTOPINDEX, row + 1 - whole);
}

bool CSetting_ListDlg::PreTranslateMessage(MSG& msg) {
  return IsEnterEscapeOrSpace(msg);
}

BOOL CSetting_ListDlg::OnInitDialog() {
  background_ = LoadSkinPicture(context_.programFolder, kListPagePicture, &backgroundSize_);
  list_.Create(hwnd(), ToRect(kListRect), kListStyle, kListId);
  list_.SetColours(kListBackground, kListSelection);
  list_.SetTextColours(kListText, kListSelectedText);
  list_.SetRowHeight(kListRowHeight);
  list_.SetLanguage(context_.strings.LanguageIndex());
  scrollSkin_.reset(
      static_cast<HBITMAP>(::LoadImageW(ModuleOf(context_), MAKEINTRESOURCEW(IDB_SCROLLBAR_SKIN),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  SkinScrollAttach(list_.hwnd(), scrollSkin_.get());
  for (const int32_t code : rows_) list_.AddRow(Text(context_, FunctionKey(code)));
  // Adding a row selects it; a new page selects nothing, so that OK never answers a row
  // the user did not choose.
  list_.Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
  list_.Send(LB_SETTOPINDEX, 0);
  return TRUE;
}

void CSetting_ListDlg::Paint() {
  PaintDC paint(hwnd());
  CopyPicture(paint.get(), background_, backgroundSize_);
}

LRESULT CSetting_ListDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: Paint(); return 0;
    default: break;
  }
  return Dialog::HandleMessage(msg, wp, lp);
}

// ---- advanced page ----

CSetting_AdvanceDlg::CSetting_AdvanceDlg(const PickerContext& context)
    : Dialog(IDD_SETTING_ADVANCED_PAGE, context.resources), context_(context) {}

int32_t CSetting_AdvanceDlg::GetChoice(std::u16string& path) const {
  for (int row = 0; row < kAdvancedRowCount; ++row) {
    if (!choices_[row].GetCheck()) continue;
    const std::u16string& chosen = paths_[row].Caption();
    if (!chosen.empty()) path = chosen.substr(0, kPickerPathLimit);
    return choices_[row].GetUserValue();
  }
  return keys_.GetChoice(path);
}

void CSetting_AdvanceDlg::ShowChoice(int32_t code, std::u16string_view path) {
  if (code == kKeysRow.code) {
    for (CGDIBitmapBtn& choice : choices_) choice.SetCheck(0);
    keys_.ShowChoice(path);
    return;
  }
  for (int row = 0; row < kAdvancedRowCount; ++row) {
    if (kAdvancedRows[row].code != code) continue;
    CheckRow(row);
    if (!path.empty()) ShowPath(row, path);
  }
}

bool CSetting_AdvanceDlg::PreTranslateMessage(MSG& msg) {
  return IsEnterEscapeOrSpace(msg);
}

void CSetting_AdvanceDlg::CreateButton(CGDIBitmapBtn& button, const EdgeRect& rect) {
  const RECT r = ToRect(rect);
  button.Create(hwnd(), r);
  button.SetImages(r, normal_.get(), over_.get(), down_.get(), normal_.get());
  button.SetToggleMode(1);
  button.SetLanguage(context_.strings.LanguageIndex());
}

BOOL CSetting_AdvanceDlg::OnInitDialog() {
  normal_ = LoadSkinPicture(context_.programFolder, kAdvancedNormalPicture, &size_);
  down_ = LoadSkinPicture(context_.programFolder, kAdvancedDownPicture);
  over_ = LoadSkinPicture(context_.programFolder, kAdvancedOverPicture);
  const std::u16string browse = Text(context_, "str_browse");
  for (int row = 0; row < kAdvancedRowCount; ++row) {
    const AdvancedRow& plan = kAdvancedRows[row];
    CreateButton(choices_[row], plan.choice);
    choices_[row].SetUserValue(plan.code);
    choices_[row].SetTooltip(Text(context_, plan.labelKey), true);
    choices_[row].SetRepeatClicks(true);
  }
  // A path field answers a double click with the browse question, so it keeps the system's
  // double-click report.
  for (int row = 0; row < kAdvancedRowCount; ++row)
    CreateButton(paths_[row], kAdvancedRows[row].path);
  for (int row = 0; row < kAdvancedRowCount; ++row) {
    CreateButton(browses_[row], kAdvancedRows[row].browse);
    browses_[row].SetCaption(browse);
    browses_[row].SetTextColours(kBrowseTextColours.normal, kBrowseTextColours.hover,
                                 kBrowseTextColours.pressed);
    browses_[row].SetTooltip(browse, true);
  }
  keys_.Create(hwnd(), normal_.get(), over_.get(), down_.get(), context_.strings);
  return TRUE;
}

void CSetting_AdvanceDlg::CheckRow(int row) {
  for (int i = 0; i < kAdvancedRowCount; ++i) choices_[i].SetCheck(i == row ? 1 : 0);
  keys_.SetChecked(false);
}

void CSetting_AdvanceDlg::AskForPath(int row) {
  const PathRequest& request = kAdvancedRows[row].request;
  std::u16string path;
  const bool chosen = request.folder ? context_.chooser.ChooseFolder(path)
                                     : context_.chooser.ChooseFile(request, path);
  if (!chosen) return;  // the field keeps its caption and the row stays checked
  ShowPath(row, path);
}

void CSetting_AdvanceDlg::ShowPath(int row, std::u16string_view path) {
  paths_[row].SetCaption(std::u16string(path.substr(0, kPickerPathLimit)));
  paths_[row].SetTextColours(kChosenPathTextColours.normal, kChosenPathTextColours.hover,
                             kChosenPathTextColours.pressed);
}

void CSetting_AdvanceDlg::OnCommand(HWND from, UINT code) {
  if (keys_.OnCommand(from, code)) {
    for (CGDIBitmapBtn& choice : choices_) choice.SetCheck(0);
    return;
  }
  for (int row = 0; row < kAdvancedRowCount; ++row) {
    if (from == choices_[row].hwnd() && code == BN_CLICKED) {
      CheckRow(row);
      return;
    }
    const bool browse = from == browses_[row].hwnd() && code == BN_CLICKED;
    const bool pathDoubleClick = from == paths_[row].hwnd() && code == BN_DOUBLECLICKED;
    if (browse || pathDoubleClick) {
      CheckRow(row);
      AskForPath(row);
      return;
    }
  }
}

void CSetting_AdvanceDlg::Paint() {
  PaintDC paint(hwnd());
  const RECT client = ClientRect();
  MemoryCanvas canvas(paint.get(), client.right, client.bottom);
  CopyPicture(canvas.dc(), normal_, size_);
  {
    const TextPainter text(hwnd(), canvas.dc(), context_.strings.LanguageIndex(), kTextFont,
                           kPickerTextColour);
    for (const AdvancedRow& row : kAdvancedRows)
      text.Draw(context_.strings.Text(row.labelKey), ToRect(row.label), kPickerLabelFlags);
    keys_.PaintLabel(text, context_.strings);
  }
  canvas.CopyTo(paint.get());
}

LRESULT CSetting_AdvanceDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: Paint(); return 0;
    case WM_COMMAND:
      if (lp != 0) {
        OnCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
        return 0;
      }
      break;
    default: break;
  }
  return Dialog::HandleMessage(msg, wp, lp);
}

}  // namespace norvi
