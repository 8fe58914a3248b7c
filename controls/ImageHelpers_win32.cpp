#include "controls/ImageHelpers_win32.h"

#include <ole2.h>
#include <olectl.h>

#include "controls/ImageGeometry.h"
#include "framework/Com_win32.h"
#include "base/Handles_win32.h"
#include "base/WideText.h"

namespace norvi {
namespace {

struct FreeGlobal {
  void operator()(HGLOBAL h) const { ::GlobalFree(h); }
};
using UniqueGlobal = UniqueResource<HGLOBAL, FreeGlobal>;

// A movable global memory block holding the whole file, or none.
UniqueGlobal ReadFileToGlobal(const std::u16string& path, DWORD& size) {
  UniqueFileHandle file(::CreateFileW(W(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  size = ::GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size == 0) return {};
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block) return {};
  DWORD read = 0;
  void* data = ::GlobalLock(block.get());
  const bool ok = data && ::ReadFile(file.get(), data, size, &read, nullptr) && read == size;
  ::GlobalUnlock(block.get());
  if (!ok) return {};
  return block;
}

// Whether the file starts with the header of a bitmap file ("BM").
bool IsBitmapFile(const std::u16string& path) {
  UniqueFileHandle file(::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  char magic[2]{};
  DWORD read = 0;
  return file && ::ReadFile(file.get(), magic, sizeof magic, &read, nullptr) &&
         read == sizeof magic && magic[0] == 'B' && magic[1] == 'M';
}

// A stream over the block; once the stream stands it owns the block and frees it.
ComRef<IStream> StreamOver(UniqueGlobal block) {
  ComRef<IStream> stream;
  if (SUCCEEDED(::CreateStreamOnHGlobal(block.get(), TRUE, stream.put()))) block.release();
  return stream;
}

// Decodes a picture file into a bitmap the caller owns (the picture object owns its own).
HBITMAP DecodePicture(UniqueGlobal block, DWORD size) {
  const ComRef<IStream> stream = StreamOver(std::move(block));
  if (!stream) return nullptr;
  ComRef<IPicture> picture;
  if (FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              PutVoid(picture))))
    return nullptr;
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
      FAILED(picture->get_Handle(&handle)))
    return nullptr;
  return static_cast<HBITMAP>(
      ::CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
}

}  // namespace

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

bool LoadPictureFile(const std::u16string& path, UniqueBitmap& bitmap, SIZE& size) {
  bitmap.reset();
  size = SIZE{0, 0};
  // Bitmap files, the skins' own format, go straight to a DIB section: the picture object
  // would read the whole file into memory, decode it and then be copied once more, which
  // cost most of the start-up's time with three full-window skins. A DIB section's bits are
  // pages of their own, given back when it is released (a device bitmap's stay in the heap).
  if (IsBitmapFile(path))
    bitmap.reset(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, W(path), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  if (!bitmap) {
    DWORD fileSize = 0;
    UniqueGlobal block = ReadFileToGlobal(path, fileSize);
    if (!block) return false;
    bitmap.reset(DecodePicture(std::move(block), fileSize));
  }
  size = BitmapSize(bitmap.get());
  return static_cast<bool>(bitmap);
}

void CutBitmap(HDC dc, UniqueBitmap& target, HBITMAP source, const RECT& part) {
  if (!source) return;
  const int width = part.right - part.left, height = part.bottom - part.top;
  target.reset(::CreateCompatibleBitmap(dc, width, height));
  UniqueDC targetDc(::CreateCompatibleDC(dc));
  UniqueDC sourceDc(::CreateCompatibleDC(dc));
  SelectObjectScope selectTarget(targetDc.get(), target.get());
  SelectObjectScope selectSource(sourceDc.get(), source);
  ::StretchBlt(targetDc.get(), 0, 0, width, height, sourceDc.get(), part.left, part.top, width,
               height, SRCCOPY);
}

bool LoadPngResource(HMODULE module, UINT id, const wchar_t* type,
                     std::unique_ptr<Gdiplus::Image>& image) {
  image.reset();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!resource) return false;
  const DWORD size = ::SizeofResource(module, resource);
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return false;
  // The image reads from the stream as long as it lives; the stream owns the copy and frees it
  // when the image lets go of it.
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
  void* data = block ? ::GlobalLock(block.get()) : nullptr;
  if (!data) return false;
  ::CopyMemory(data, bytes, size);
  ::GlobalUnlock(block.get());
  const ComRef<IStream> stream = StreamOver(std::move(block));
  if (!stream) return false;
  auto decoded = std::make_unique<Gdiplus::Image>(stream.get());
  if (decoded->GetLastStatus() != Gdiplus::Ok || decoded->GetWidth() == 0) return false;
  image = std::move(decoded);
  return true;
}

Gdiplus::Status DrawNineGrid(Gdiplus::Graphics& graphics, Gdiplus::Image& image,
                             const RECT& destination, int srcX, int srcY, int srcWidth,
                             int srcHeight, int corner) {
  Gdiplus::Status result = Gdiplus::Ok;
  const EdgeRect d{destination.left, destination.top, destination.right, destination.bottom};
  for (const NineGridPiece& piece :
       NineGridPieces(d, PixelRect{srcX, srcY, srcWidth, srcHeight}, corner)) {
    // A piece of no or negative size draws nothing (GDI+ would mirror it).
    if (piece.destination.Empty() || piece.source.Empty()) continue;
    const Gdiplus::Rect to(piece.destination.x, piece.destination.y, piece.destination.width,
                           piece.destination.height);
    const Gdiplus::Status status =
        graphics.DrawImage(&image, to, piece.source.x, piece.source.y, piece.source.width,
                           piece.source.height, Gdiplus::UnitPixel);
    if (status != Gdiplus::Ok) result = status;
  }
  return result;
}

void TileBlit(HDC dc, const RECT& destination, HDC sourceDc, const RECT& sourceCell) {
  const EdgeRect d{destination.left, destination.top, destination.right, destination.bottom};
  ForEachTile(d, sourceCell.right - sourceCell.left, sourceCell.bottom - sourceCell.top,
              [&](const PixelRect& t) {
                ::BitBlt(dc, t.x, t.y, t.width, t.height, sourceDc, sourceCell.left, sourceCell.top,
                         SRCCOPY);
              });
}

void RegionFromKeyColour(HWND window, Gdiplus::Bitmap& image) {
  HBITMAP raw = nullptr;
  if (image.GetHBITMAP(Gdiplus::Color(0xFF000000), &raw) != Gdiplus::Ok) return;
  UniqueBitmap converted(raw);
  WindowDC windowDc(window);
  UniqueDC dc(::CreateCompatibleDC(windowDc.get()));
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  UniqueRegion region(::CreateRectRgn(0, 0, width, height));
  {
    SelectObjectScope select(dc.get(), converted.get());
    const COLORREF key = ::GetPixel(dc.get(), 0, 0);
    for (int x = 0; x < width; ++x) {
      for (int y = 0; y < height; ++y) {
        if (::GetPixel(dc.get(), x, y) != key) continue;
        UniqueRegion pixel(::CreateRectRgn(x, y, x + 1, y + 1));
        ::CombineRgn(region.get(), region.get(), pixel.get(), RGN_XOR);
      }
    }
  }
  // The window owns the region once it is set.
  if (::SetWindowRgn(window, region.get(), TRUE)) region.release();
}

}  // namespace norvi
