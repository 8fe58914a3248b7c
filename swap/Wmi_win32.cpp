#include "swap/Wmi_win32.h"

#include <cwchar>

#include "base/WideText.h"

namespace norvi::swap {
namespace {

constexpr int kPathChars = 260;

// Traces a failed step with its status and undoes the thread's COM initialisation.
bool Fail(const SwapTrace& trace, std::u16string_view format, HRESULT status) {
  trace.Line(format, {static_cast<uint32_t>(status)});
  ::CoUninitialize();
  return false;
}

}  // namespace

bool WmiConnection::Open(const SwapTrace& trace) {
  HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) {
    trace.Line(u"Failed to initialize COM library. Error code = 0x%x", {static_cast<uint32_t>(hr)});
    return false;
  }
  hr = ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  if (FAILED(hr)) return Fail(trace, u"Failed to initialize security. Error code = 0x%x", hr);

  ComRef<IWbemLocator> locator;
  hr = ::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          PutVoid(locator));
  if (FAILED(hr))
    return Fail(trace, u"Failed to create IWbemLocator object. Error code = 0x%x", hr);

  ComRef<IWbemServices> service;
  const UniqueBstr space = MakeBstr(L"ROOT\\CIMV2");
  hr = locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                              service.put());
  locator.reset();
  if (FAILED(hr)) return Fail(trace, u"Could not connect to wmi. Error code = 0x%x", hr);

  hr = ::CoSetProxyBlanket(service.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
  if (FAILED(hr)) {
    service.reset();
    return Fail(trace, u"Could not set proxy blanket. Error code = 0x%x", hr);
  }
  // A repeated set-up replaces an earlier connection only once it has its own: a failed
  // one keeps it, and no COM initialisation is left over either way.
  Close();
  service_ = std::move(service);
  return true;
}

void WmiConnection::Close() {
  // Only a successful Open leaves COM initialised; balance exactly that.
  if (!service_) return;
  service_.reset();
  ::CoUninitialize();
}

std::u16string WmiConnection::ExecutablePath(uint32_t processId) const {
  if (!service_) return {};
  wchar_t query[kPathChars];
  std::swprintf(query, kPathChars, L"SELECT * FROM Win32_Process WHERE ProcessId=%d",
                static_cast<int>(processId));
  const UniqueBstr language = MakeBstr(L"WQL");
  const UniqueBstr text = MakeBstr(query);
  ComRef<IEnumWbemClassObject> results;
  if (FAILED(service_->ExecQuery(language.get(), text.get(),
                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                 results.put())))
    return {};

  std::u16string path;
  for (;;) {
    ComRef<IWbemClassObject> process;
    ULONG returned = 0;
    results->Next(WBEM_INFINITE, 1, process.put(), &returned);
    if (returned == 0) break;
    VARIANT value;
    ::VariantInit(&value);
    if (SUCCEEDED(process->Get(L"ExecutablePath", 0, &value, nullptr, nullptr)) &&
        value.vt == VT_BSTR && value.bstrVal)
      path = U16(std::wstring_view(value.bstrVal).substr(0, kPathChars - 1));
    ::VariantClear(&value);
  }
  return path;
}

}  // namespace norvi::swap
