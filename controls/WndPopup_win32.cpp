#include "controls/WndPopup_win32.h"

#include <windowsx.h>

#include "controls/ImageHelpers_win32.h"
#include "controls/TextDraw_win32.h"
#include "base/WideText.h"
#include "localisation/Languages.h"
#include "res/ResourceIds.h"

namespace norvi {
namespace {

constexpr DWORD kPopupExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;  // 0x88
// On creation: no caption; clip siblings and children, system menu, sizing frame.
constexpr DWORD kStyleKept = 0xFF3FFFFF;
constexpr DWORD kStyleAdded = 0x060C0000;
static_assert(kStyleKept == ~static_cast<DWORD>(WS_CAPTION));
static_assert(kStyleAdded == (WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME));
constexpr DWORD kHoverTimeMs = 50;
constexpr int kFrameCorner = 32;
constexpr COLORREF kFrameBlue = RGB(0, 147, 209);
constexpr COLORREF kTextKey = RGB(255, 0, 255);
constexpr BYTE kGb2312Charset = 134;
constexpr int kFontHeight = 12;

constexpr COLORREF kMenuText = RGB(5, 5, 5);
constexpr COLORREF kMenuHotText = RGB(245, 245, 245);
constexpr COLORREF kMenuHotFill = RGB(0, 147, 209);
constexpr UINT kMenuTextFlags = DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
static_assert(kMenuTextFlags == 0x40024);

constexpr BLENDFUNCTION kPerPixelAlpha{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  UniqueBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &r, brush.get());
}

RECT ToRect(const EdgeRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// GDI+ drawing straight onto a surface's pixels, alpha included.
class SurfaceGraphics {
 public:
  explicit SurfaceGraphics(const PopupSurface& surface)
      : bitmap_(surface.width(), surface.height(), surface.width() * 4, PixelFormat32bppPARGB,
                reinterpret_cast<BYTE*>(surface.Pixels().data())),
        graphics_(&bitmap_) {}
  Gdiplus::Graphics& get() { return graphics_; }

 private:
  Gdiplus::Bitmap bitmap_;
  Gdiplus::Graphics graphics_;
};

}  // namespace

PopupSurface::PopupSurface(HDC reference, int width, int height)
    : dc_(::CreateCompatibleDC(reference)),
      bitmap_([&] {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP b = ::CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = b ? static_cast<uint32_t*>(bits) : nullptr;
        return b;
      }()),
      select_(dc_.get(), bitmap_.get()),
      width_(width),
      height_(height) {}

std::span<uint32_t> PopupSurface::Pixels() const {
  ::GdiFlush();  // GDI may still hold drawing for the bits
  if (!bits_) return {};
  return {bits_, static_cast<size_t>(width_) * static_cast<size_t>(height_)};
}

uint32_t PopupSurface::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return Pixels()[static_cast<size_t>(y) * width_ + x];
}

CWndPopup::CWndPopup()
    // Without smoothing: smoothed edges would mix the text with the magenta key.
    : font_(::CreateFontW(kFontHeight, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, kGb2312Charset,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FF_SWISS,
                          L"Arial")) {}

CWndPopup::~CWndPopup() {
  // While this part of the object still stands: the window's last messages reach it.
  Destroy();
}

bool CWndPopup::CreatePopup(HWND owner, int x, int y, UINT notifyMessage) {
  origin_ = {x, y};
  notifyMessage_ = notifyMessage;
  return Create(owner, RECT{x, y, x, y}, WS_POPUP, kPopupExStyle);
}

bool CWndPopup::LoadBackground(UINT pngId, HMODULE module) {
  module_ = module;
  backgroundWidth_ = backgroundHeight_ = 0;
  if (!LoadPngResource(module ? module : ::GetModuleHandleW(nullptr), pngId, L"PNG", background_)) {
    background_.reset();
    return false;
  }
  backgroundWidth_ = static_cast<int>(background_->GetWidth());
  backgroundHeight_ = static_cast<int>(background_->GetHeight());
  return true;
}

std::unique_ptr<PopupSurface> CWndPopup::Compose() const {
  const RECT client = ClientRect();
  if (client.right <= 0 || client.bottom <= 0) return nullptr;
  WindowDC screen(nullptr);
  auto frame = std::make_unique<PopupSurface>(screen.get(), client.right, client.bottom);
  PopupSurface text(screen.get(), client.right, client.bottom);
  if (!*frame || !text) return nullptr;
  ::SetBkMode(frame->dc(), TRANSPARENT);
  if (background_) {
    SurfaceGraphics graphics(*frame);
    DrawNineGrid(graphics.get(), *background_, client, 0, 0, backgroundWidth_, backgroundHeight_,
                 kFrameCorner);
  } else {
    Fill(frame->dc(), client, kFrameBlue);
    RECT inside = client;
    ::InflateRect(&inside, -1, -1);
    Fill(frame->dc(), inside, RGB(255, 255, 255));
  }
  // Texts go on a magenta layer of their own, then over the frame with their own alpha.
  Fill(text.dc(), client, kTextKey);
  ::SetBkMode(text.dc(), TRANSPARENT);
  DrawTexts(text.dc(), client);
  KeyTextLayer(text.Pixels());
  ::AlphaBlend(frame->dc(), 0, 0, client.right, client.bottom, text.dc(), 0, 0, client.right,
               client.bottom, kPerPixelAlpha);
  {
    SurfaceGraphics graphics(*frame);
    DrawImages(graphics.get(), client);
  }
  // Black is the colour key of the plain frame: nothing drawn may be cut out by it.
  LiftBlack(frame->Pixels());
  return frame;
}

void CWndPopup::Render() {
  if (!hwnd()) return;
  const std::unique_ptr<PopupSurface> surface = Compose();
  if (!surface) return;
  POINT at{0, 0};
  ::ClientToScreen(hwnd(), &at);
  ::SetWindowLongPtrW(hwnd(), GWL_EXSTYLE,
                      ::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
  SIZE size{surface->width(), surface->height()};
  POINT source{0, 0};
  BLENDFUNCTION blend = kPerPixelAlpha;
  WindowDC screen(nullptr);
  ::UpdateLayeredWindow(hwnd(), screen.get(), &at, &size, surface->dc(), &source, 0, &blend,
                        background_ ? ULW_ALPHA : ULW_COLORKEY);
}

void CWndPopup::DrawTexts(HDC, const RECT&) const {}
void CWndPopup::DrawImages(Gdiplus::Graphics&, const RECT&) const {}
void CWndPopup::LayOut() {}
bool CWndPopup::HoverTest(POINT) {
  return false;
}
bool CWndPopup::ButtonDownTest(POINT) {
  return false;
}
bool CWndPopup::ButtonUpTest(POINT) {
  return false;
}

void CWndPopup::Notify(LPARAM value) const {
  ::SendMessageW(::GetWindow(hwnd(), GW_OWNER), notifyMessage_, 0, value);
}

POINT CWndPopup::CursorInClient() const {
  POINT p{};
  ::GetCursorPos(&p);
  ::ScreenToClient(hwnd(), &p);
  return p;
}

void CWndPopup::OnCreate() {
  ModifyStyle(~kStyleKept, kStyleAdded);
  ::SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  LayOut();
  Render();
  ::SetWindowPos(hwnd(), nullptr, origin_.x, origin_.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CWndPopup::OnMouseMove() {
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, hwnd(), kHoverTimeMs};
    tracking_ = ::TrackMouseEvent(&track) != 0;
  }
}

LRESULT CWndPopup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (msg) {
    case WM_CREATE: {
      const LRESULT result = Window::HandleMessage(msg, wp, lp);
      if (result != -1) OnCreate();
      return result;
    }
    case WM_NCCALCSIZE: return 0;  // the whole window is client area
    case WM_NCHITTEST: return HTCLIENT;
    case WM_NCACTIVATE:
      if (!wp) Post(WM_CLOSE);  // a click anywhere else closes the popup
      break;
    case WM_CLOSE: ::SendMessageW(::GetWindow(hwnd(), GW_OWNER), kPopupClosedMessage, 0, 0); break;
    case WM_MOUSEMOVE:
      OnMouseMove();
      if (!pressed_ && HoverTest(point)) Render();
      return 0;
    case WM_MOUSEHOVER:
      if (HoverTest(point)) Render();
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (!pressed_ && HoverTest(CursorInClient())) Render();
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      ::SetCapture(hwnd());
      captured_ = true;
      if (ButtonDownTest(point)) Render();
      return 0;
    case WM_LBUTTONUP:
      if (captured_) ::ReleaseCapture();
      captured_ = false;
      pressed_ = false;
      if (ButtonUpTest(point)) Render();
      return 0;
    case WM_CAPTURECHANGED: captured_ = false; break;
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void CMenuEx::AddItem(const std::u16string& text, UINT pngId, int command) {
  Item item;
  item.command = command;
  item.text = text;
  if (LoadPngResource(ResourceModule() ? ResourceModule() : ::GetModuleHandleW(nullptr), pngId,
                      L"PNG", item.icon)) {
    item.iconWidth = static_cast<int>(item.icon->GetWidth());
    item.iconHeight = static_cast<int>(item.icon->GetHeight());
  } else {
    item.icon.reset();
  }
  items_.push_back(std::move(item));
  CMenuEx::LayOut();
  if (hwnd() && ::IsWindowVisible(hwnd())) Render();
}

std::vector<EdgeRect> CMenuEx::Rows() const {
  std::vector<EdgeRect> rows;
  rows.reserve(items_.size());
  for (const Item& item : items_)
    rows.push_back({item.rect.left, item.rect.top, item.rect.right, item.rect.bottom});
  return rows;
}

void CMenuEx::LayOut() {
  const MenuLayout layout = LayOutMenu(items_.size());
  for (size_t i = 0; i < items_.size(); ++i) items_[i].rect = ToRect(layout.rows[i]);
  if (hwnd())
    ::SetWindowPos(hwnd(), nullptr, 0, 0, layout.width, layout.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMenuEx::DrawTexts(HDC dc, const RECT&) const {
  SelectObjectScope select(dc, Font());
  for (size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    const bool hot = static_cast<int>(i) == HotItem();
    if (hot) Fill(dc, item.rect, kMenuHotFill);
    ::SetTextColor(dc, hot ? kMenuHotText : kMenuText);
    RECT r =
        ToRect(MenuTextRect({item.rect.left, item.rect.top, item.rect.right, item.rect.bottom}));
    DrawWindowText(hwnd(), dc, item.text, r, kMenuTextFlags);
  }
}

void CMenuEx::DrawImages(Gdiplus::Graphics& graphics, const RECT&) const {
  for (const Item& item : items_) {
    if (!item.icon) continue;
    const PixelRect at =
        MenuIconRect({item.rect.left, item.rect.top, item.rect.right, item.rect.bottom},
                     item.iconWidth, item.iconHeight);
    graphics.DrawImage(item.icon.get(), at.x, at.y, at.width, at.height);
  }
}

bool CMenuEx::HoverTest(POINT point) {
  return pointer_.Hover(Rows(), point.x, point.y);
}

bool CMenuEx::ButtonUpTest(POINT point) {
  int chosen = MenuPointer::kNone;
  const bool redraw = pointer_.ButtonUp(Rows(), point.x, point.y, chosen);
  if (chosen != MenuPointer::kNone) Notify(items_[static_cast<size_t>(chosen)].command);
  return redraw;
}

void CMenuExA::LayOut() {
  if (Items().empty()) {
    for (const Language& language : kLanguages)
      AddItem(std::u16string(language.menuText),
              static_cast<UINT>(IDP_FLAG_FIRST + language.index - 1), language.index);
  }
  CMenuEx::LayOut();
}

}  // namespace norvi
