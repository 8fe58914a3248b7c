// Every caption that a window draws into a fixed box, in every language, measured in pixels
// with the font that draws it. The boxes come from the windows' own constants; a caption of
// a bitmap button loses the button's caption inset.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/MainLayout.h"
#include "controls/DlgInfo_win32.h"
#include "controls/ImageGeometry.h"
#include "controls/ListBoxEx_win32.h"
#include "controls/MenuGeometry.h"
#include "controls/TextFont.h"
#include "controls/WndPopup_win32.h"
#include "framework/Gdi_win32.h"
#include "model/FunctionCodes.h"
#include "base/WideText.h"
#include "localisation/Languages.h"
#include "localisation/StringTable.h"
#include "model/FunctionCodes.h"
#include "model/Text.h"
#include "picker/KeysRowLayout.h"
#include "picker/SettingLayout.h"
#include "tests/localisation/TextTestSupport.h"

namespace norvi {
namespace {

// How a caption is laid out in its box.
enum class Layout {
  Line,   // one line, cut with an ellipsis when too wide
  Lines,  // broken between words; every line must fit the box's width and height
};

struct Box {
  std::string_view name;  // for the report
  int width;
  int height;
  Layout layout;
  UINT flags = 0;  // the window's DrawTextW flags for broken lines
};

Box ButtonCaption(std::string_view name, int width, int height) {
  // The text's height only moves the caption up or down.
  const EdgeRect r = CaptionRect(width, height, 0);
  return {name, r.right - r.left, height, Layout::Line};
}
Box ButtonCaption(std::string_view name, const LayoutRect& r) {
  return ButtonCaption(name, r.width(), r.height());
}
Box ButtonCaption(std::string_view name, const RECT& r) {
  return ButtonCaption(name, r.right - r.left, r.bottom - r.top);
}
Box Wrapped(std::string_view name, const LayoutRect& r, UINT flags) {
  return {name, r.width(), r.height(), Layout::Lines, flags};
}
Box Wrapped(std::string_view name, const RECT& r, UINT flags) {
  return {name, r.right - r.left, r.bottom - r.top, Layout::Lines, flags};
}

struct Caption {
  std::string_view key;           // a language string, or
  std::u16string_view fixedText;  // a text that no language changes
  Box box;
  HFONT font;
  std::string_view prefixKey = {};  // a language string drawn right before the text
};

// The language menu's font is the popup's own.
class PopupFont : public CWndPopup {
 public:
  using CWndPopup::Font;
};

// The fonts the windows draw with, for the whole test.
struct Fonts {
  UniqueFont text = CreateShellDlgFont(kTextFont.height, kTextFont.weight);
  UniqueFont list = CreateShellDlgFont(kListFont.height, kListFont.weight);
  PopupFont popup;
};

Box Line(std::string_view name, const EdgeRect& r) {
  return {name, r.right - r.left, r.bottom - r.top, Layout::Line};
}

// The picker's captioned buttons and its own texts: title, current function, disable label.
void AddPicker(std::vector<Caption>& table, HFONT font) {
  for (const PickerButtonPlace& b : kPickerButtons) {
    if (b.captionKey.empty()) continue;
    const std::string_view name = b.button == PickerButton::TabAdvance ? "picker last tab"
                                  : b.button == PickerButton::Default  ? "picker default button"
                                  : b.button == PickerButton::Ok       ? "picker OK button"
                                                                       : "picker tab";
    const Box box = ButtonCaption(name, b.rect.right - b.rect.left, b.rect.bottom - b.rect.top);
    table.push_back({b.captionKey, {}, box, font});
  }
  table.push_back({"str_panel", {}, Line("picker title", kPickerTitleRect), font});
  table.push_back(
      {"str_list_disable", {}, Line("picker disable label", kPickerDisableLabelRect), font});
  for (const FunctionInfo& f : FunctionCatalogue())
    table.push_back({f.key,
                     {},
                     Line("picker current function", kPickerCurrentFunctionRect),
                     font,
                     "str_cur_function"});
}

// The list pages' rows, beside the list's vertical scroll bar, and the advanced page's
// labels and browse buttons.
void AddPages(std::vector<Caption>& table, HFONT textFont, HFONT listFont) {
  const Box row{
      "picker list row",
      kListRect.right - kListRect.left - ::GetSystemMetrics(SM_CXVSCROLL) - CListBoxEx::kTextIndent,
      kListRowHeight, Layout::Line};
  for (int category = kCategoryBase; category <= kCategoryMouse; ++category)
    for (const int32_t code : ListRows(category))
      table.push_back({FunctionKey(code), {}, row, listFont});
  for (const AdvancedRow& r : kAdvancedRows) {
    table.push_back({r.labelKey, {}, Line("advanced label", r.label), textFont});
    table.push_back({"str_browse",
                     {},
                     ButtonCaption("advanced browse", r.browse.right - r.browse.left,
                                   r.browse.bottom - r.browse.top),
                     textFont});
  }
  const KeysRowPlace& k = kKeysRow;
  table.push_back({k.labelKey, {}, Line("advanced label", k.label), textFont});
  table.push_back({kKeysClearKey, {},
                   ButtonCaption("keys clear", k.clear.right - k.clear.left,
                                 k.clear.bottom - k.clear.top),
                   textFont});
  for (std::string_view prompt : {kKeysPromptKey, kKeysListeningKey})
    table.push_back({prompt, {},
                     ButtonCaption("keys field", k.field.right - k.field.left,
                                   k.field.bottom - k.field.top),
                     textFont});
}

// The main window's hint line shows the option and button texts and the slots' function
// names.
void AddHints(std::vector<Caption>& table, HFONT font) {
  const Box hint = Wrapped("main hint line", kHintRect, kHintFlags);
  for (std::string_view key : {"str_improveAccuracy", "str_rollerRows", "str_rollerScreen",
                               "str_openPair", "str_list_default", "str_ok"})
    table.push_back({key, {}, hint, font});
  for (const FunctionInfo& f : FunctionCatalogue()) table.push_back({f.key, {}, hint, font});
}

// The language menu's rows name the languages in fixed English.
void AddLanguageMenu(std::vector<Caption>& table, HFONT font) {
  const MenuLayout menu = LayOutMenu(kLanguages.size());
  for (size_t i = 0; i < kLanguages.size(); ++i) {
    const EdgeRect r = MenuTextRect(menu.rows[i]);
    table.push_back({"",
                     kLanguages[i].menuText,
                     {"language menu row", r.right - r.left, r.bottom - r.top, Layout::Line},
                     font});
  }
}

std::vector<Caption> Captions(const Fonts& fonts) {
  const HFONT text = fonts.text.get();
  const auto mainButton = [](std::string_view name, MainControl control) {
    return ButtonCaption(name, PlaceOf(control, false));  // both layouts place them alike
  };
  const Box messageLine = Wrapped("message line", infobox::kMessageRect, infobox::kMessageFlags);
  std::vector<Caption> table = {
      {"str_openPair", {}, mainButton("main pair button", MainControl::Pair), text},
      {"str_list_default", {}, mainButton("main defaults button", MainControl::Defaults), text},
      {"str_ok", {}, mainButton("main OK button", MainControl::Ok), text},
      {"str_ok", {}, ButtonCaption("message OK (two buttons)", infobox::kOkRectTwoButtons), text},
      {"str_ok", {}, ButtonCaption("message OK (alone)", infobox::kOkRectOneButton), text},
      {"str_cancel", {}, ButtonCaption("message Cancel", infobox::kCancelRect), text},
      {"str_notfind", {}, messageLine, text},
      {"str_msg1", {}, messageLine, text},
      {"str_msg3", {}, messageLine, text},
      {"str_msg5", {}, messageLine, text},
  };
  AddHints(table, text);
  AddPicker(table, text);
  AddPages(table, text, fonts.list.get());
  AddLanguageMenu(table, fonts.popup.Font());
  return table;
}

struct Measured {
  int width;
  int height;
};

class Measure {
 public:
  Measure() : dc_(::CreateCompatibleDC(nullptr)) {}

  Measured Of(const Caption& c, std::u16string_view text) {
    SelectObjectScope select(dc_.get(), c.font);
    if (c.box.layout == Layout::Line) {
      SIZE size{};
      ::GetTextExtentPoint32W(dc_.get(), WView(text).data(), static_cast<int>(text.size()), &size);
      return {size.cx, size.cy};
    }
    // Word breaks as the window makes them, without the ellipsis that would hide an overflow;
    // a word wider than the box widens the result.
    RECT r{0, 0, c.box.width, 0};
    const UINT flags = (c.box.flags & ~(DT_END_ELLIPSIS | DT_VCENTER)) | DT_CALCRECT;
    ::DrawTextW(dc_.get(), WView(text).data(), static_cast<int>(text.size()), &r, flags);
    return {r.right, r.bottom};
  }

 private:
  UniqueDC dc_;
};

bool Fits(const Box& box, const Measured& m) {
  return m.width <= box.width && (box.layout == Layout::Line || m.height <= box.height);
}

struct Widest {
  int width = 0;
  std::string what;
};

TEST(CaptionWidth, EveryCaptionFitsItsBoxInEveryLanguage) {
  const Fonts fonts;
  const std::vector<Caption> table = Captions(fonts);
  Measure measure;
  std::map<std::string_view, Widest> widest;  // per box, for the report
  StringTable strings;
  for (const Language& language : kLanguages) {
    ASSERT_EQ(strings.LoadLanguageStrings(testkit::SourcePath(language.file)), 1);
    for (const Caption& c : table) {
      const std::u16string text = std::u16string(strings.Text(c.prefixKey)) +
                                  std::u16string(c.key.empty() ? c.fixedText : strings.Text(c.key));
      const Measured m = measure.Of(c, text);
      EXPECT_TRUE(Fits(c.box, m)) << Utf16ToUtf8(language.menuText) << " " << c.key << " \""
                                  << Utf16ToUtf8(text) << "\" is " << m.width << " x " << m.height
                                  << " px in the " << c.box.name << " of " << c.box.width << " x "
                                  << c.box.height;
      Widest& w = widest[c.box.name];
      if (m.width > w.width)
        w = {m.width, c.key.empty() ? Utf16ToUtf8(text)
                                    : Utf16ToUtf8(language.menuText) + " " + std::string(c.key)};
    }
  }
  for (const Caption& c : table) {
    auto found = widest.find(c.box.name);
    if (found == widest.end()) continue;
    std::cout << c.box.name << " (" << c.box.width << " px): widest " << found->second.width
              << " px, " << found->second.what << "\n";
    widest.erase(found);
  }
}

}  // namespace
}  // namespace norvi
