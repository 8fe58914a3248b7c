#pragma once
// The program's own popups: CWndPopup, a borderless layered window framed by a nine-grid PNG
// (or a plain blue line) that closes itself when it loses activation; CMenuEx, a vertical
// menu of icon-and-text rows on it; CMenuExA, that menu filled with the twelve languages.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "controls/MenuGeometry.h"
#include "framework/Gdi_win32.h"
#include "framework/Window_win32.h"

namespace norvi {

// The message a popup sends its owner when it closes (wParam 0, lParam 0).
constexpr UINT kPopupClosedMessage = WM_USER + 1;

// A 32-bit top-down surface the size of the popup, with its pixels at hand.
class PopupSurface {
 public:
  PopupSurface(HDC reference, int width, int height);
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  explicit operator bool() const { return bits_ != nullptr; }
  std::span<uint32_t> Pixels() const;
  uint32_t Pixel(int x, int y) const;  // 0xAARRGGBB

 private:
  UniqueDC dc_;
  uint32_t* bits_ = nullptr;  // before bitmap_, whose creation sets it
  UniqueBitmap bitmap_;
  SelectObjectScope select_;
  int width_;
  int height_;
};

class CWndPopup : public Window {
 public:
  CWndPopup();
  ~CWndPopup() override;

  // Creates the popup owned by `owner` with its top left at (x, y) on screen; choices reach
  // the owner as `notifyMessage`. Lays out, draws and shows it.
  bool CreatePopup(HWND owner, int x, int y, UINT notifyMessage);
  // The nine-grid frame picture, a resource of type "PNG" (nullptr module: the program).
  // Without it the popup draws a plain blue frame on white.
  bool LoadBackground(UINT pngId, HMODULE module = nullptr);
  bool HasBackground() const { return background_ != nullptr; }

  // Draws everything into a new surface of the client size; Render shows it.
  std::unique_ptr<PopupSurface> Compose() const;
  void Render();

 protected:
  // The popup's steps, in the order the design fixes; each test returns whether to redraw.
  virtual void DrawTexts(HDC dc, const RECT& client) const;
  virtual void DrawImages(Gdiplus::Graphics& graphics, const RECT& client) const;
  virtual void LayOut();
  virtual bool HoverTest(POINT point);
  virtual bool ButtonDownTest(POINT point);
  virtual bool ButtonUpTest(POINT point);

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  HFONT Font() const { return font_.get(); }
  // Tells the owner about a choice.
  void Notify(LPARAM value) const;
  HMODULE ResourceModule() const { return module_; }

 private:
  void OnCreate();
  void OnMouseMove();
  POINT CursorInClient() const;

  UniqueFont font_;
  std::unique_ptr<Gdiplus::Image> background_;
  int backgroundWidth_ = 0;
  int backgroundHeight_ = 0;
  HMODULE module_ = nullptr;
  POINT origin_{};
  UINT notifyMessage_ = 0;
  bool tracking_ = false;
  bool pressed_ = false;
  bool captured_ = false;
};

class CMenuEx : public CWndPopup {
 public:
  struct Item {
    int command = 0;
    std::unique_ptr<Gdiplus::Image> icon;
    int iconWidth = 0;
    int iconHeight = 0;
    std::u16string text;
    RECT rect{};
  };

  // Appends an item with the icon of PNG resource `pngId` (none when it does not load) and
  // lays the menu out again.
  void AddItem(const std::u16string& text, UINT pngId, int command);
  const std::vector<Item>& Items() const { return items_; }
  int HotItem() const { return pointer_.Hot(); }

 protected:
  void DrawTexts(HDC dc, const RECT& client) const override;
  void DrawImages(Gdiplus::Graphics& graphics, const RECT& client) const override;
  void LayOut() override;
  bool HoverTest(POINT point) override;
  bool ButtonUpTest(POINT point) override;

 private:
  std::vector<EdgeRect> Rows() const;

  std::vector<Item> items_;
  MenuPointer pointer_;
};

// The language menu: one item per language, in table order, with its flag icon and its index.
class CMenuExA : public CMenuEx {
 protected:
  void LayOut() override;
};

}  // namespace norvi
