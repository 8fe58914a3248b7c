// Scrolls an embedded HTML view through its document object: the view hands out its
// document for a registered message, and the document's script window scrolls itself.
#include "actions/Production_win32.h"

// After <windows.h>, which these rely on.
#include <mshtml.h>
#include <oleacc.h>

#include "framework/Com_win32.h"

namespace norvi {
namespace {

constexpr IID kIidHtmlDocument2 = {
    0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};
constexpr IID kIidHtmlWindow2 = {
    0x332C4427, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};
constexpr UINT kDocumentRequestTimeoutMs = 1000;

HtmlScrollResult ScrollDocument(HWND view, HMODULE oleacc, LONG dx) {
  const UINT request = ::RegisterWindowMessageW(L"WM_HTML_GETOBJECT");
  DWORD_PTR result = 0;
  // A hung view gives up after the time-out with the result still 0.
  ::SendMessageTimeoutW(view, request, 0, 0, SMTO_ABORTIFHUNG, kDocumentRequestTimeoutMs, &result);
  const auto objectFromResult = reinterpret_cast<LPFNOBJECTFROMLRESULT>(
      reinterpret_cast<void*>(::GetProcAddress(oleacc, "ObjectFromLresult")));
  if (!objectFromResult) return HtmlScrollResult::NoDocument;
  ComRef<IHTMLDocument2> document;
  if (FAILED(objectFromResult(static_cast<LRESULT>(result), kIidHtmlDocument2, 0,
                              PutVoid(document))) ||
      !document)
    return HtmlScrollResult::NoDocument;
  ComRef<IDispatch> script;
  if (FAILED(document->get_Script(script.put())) || !script) return HtmlScrollResult::NoDocument;
  ComRef<IHTMLWindow2> window;
  if (FAILED(script->QueryInterface(kIidHtmlWindow2, PutVoid(window))) || !window)
    return HtmlScrollResult::NoDocument;
  return window->scrollBy(dx, 0) == S_OK ? HtmlScrollResult::Scrolled
                                         : HtmlScrollResult::ScrollByFailed;
}

}  // namespace

HtmlScrollResult Win32WindowSystem::ScrollHtmlView(WindowHandle w, int32_t dx) {
  ComApartment apartment;
  UniqueModule oleacc(::LoadLibraryW(L"OLEACC.DLL"));
  if (!oleacc) return HtmlScrollResult::NoDocument;
  return ScrollDocument(ToHwnd(w), oleacc.get(), dx);
}

}  // namespace norvi
