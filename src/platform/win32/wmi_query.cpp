#include "platform/win32/wmi_query.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace qv::win {
namespace {

// How long one enumeration step may take: a management service that hangs
// must not hold up the program's only thread for long.
constexpr long kStepTimeoutMs = 5000;

template <class T>
struct Releaser {
  T* p = nullptr;
  ~Releaser() {
    if (p) p->Release();
  }
};

// COM for the calling thread, as long as one query runs; a thread that has it
// already keeps its own.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {
    // The process-wide security settings can be made once only; when the
    // program or COM has made them already the defaults stand, which the
    // proxy blanket below overrides for this connection.
    static const bool secured = [] {
      CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
      return true;
    }();
    (void)secured;
  }
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

class Variant {
 public:
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT v;
};

}  // namespace

bool queryWmi(const wchar_t* wmiClass, const std::function<bool(IWbemClassObject&)>& each) {
  ComScope com;
  Releaser<IWbemLocator> locator;
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void**>(&locator.p))))
    return false;
  Releaser<IWbemServices> services;
  BSTR ns = SysAllocString(L"ROOT\\WMI");
  HRESULT hr =
      locator.p->ConnectServer(ns, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services.p);
  SysFreeString(ns);
  if (FAILED(hr)) return false;
  CoSetProxyBlanket(services.p, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                    RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);

  const std::wstring text = std::wstring(L"SELECT * FROM ") + wmiClass;
  BSTR language = SysAllocString(L"WQL");
  BSTR query = SysAllocString(text.c_str());
  Releaser<IEnumWbemClassObject> rows;
  hr = services.p->ExecQuery(language, query, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                             nullptr, &rows.p);
  SysFreeString(query);
  SysFreeString(language);
  if (FAILED(hr) || !rows.p) return false;

  for (;;) {
    Releaser<IWbemClassObject> row;
    ULONG got = 0;
    hr = rows.p->Next(kStepTimeoutMs, 1, &row.p, &got);
    if (hr == WBEM_S_FALSE && got == 0) return true;  // the end
    if (FAILED(hr) || got == 0 || !row.p) return false;
    if (!each(*row.p)) return false;
  }
}

std::optional<std::int64_t> integerProperty(IWbemClassObject& object, const wchar_t* name) {
  Variant value;
  if (FAILED(object.Get(name, 0, &value.v, nullptr, nullptr))) return std::nullopt;
  if (value.v.vt == VT_NULL || value.v.vt == VT_EMPTY) return std::nullopt;
  if (FAILED(VariantChangeType(&value.v, &value.v, 0, VT_I8))) return std::nullopt;
  return static_cast<std::int64_t>(value.v.llVal);
}

std::optional<std::string> textProperty(IWbemClassObject& object, const wchar_t* name) {
  Variant value;
  if (FAILED(object.Get(name, 0, &value.v, nullptr, nullptr))) return std::nullopt;
  if (value.v.vt != VT_BSTR || !value.v.bstrVal) return std::nullopt;
  return narrow(value.v.bstrVal);
}

std::optional<std::vector<std::uint8_t>> bytesProperty(IWbemClassObject& object,
                                                       const wchar_t* name) {
  Variant value;
  if (FAILED(object.Get(name, 0, &value.v, nullptr, nullptr))) return std::nullopt;
  if (value.v.vt != (VT_ARRAY | VT_UI1) || !value.v.parray) return std::nullopt;
  SAFEARRAY* array = value.v.parray;
  LONG low = 0, high = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &low)) || FAILED(SafeArrayGetUBound(array, 1, &high)))
    return std::nullopt;
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::vector<std::uint8_t> out(bytes, bytes + (high >= low ? high - low + 1 : 0));
  SafeArrayUnaccessData(array);
  return out;
}

}  // namespace qv::win
