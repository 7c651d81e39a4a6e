#include "ado_source.h"

#include <adoint.h>

#include "ado_ids.h"

#include <oleauto.h>
#include <ole2.h>

#include <string>

namespace ferlin {
namespace {

std::string Utf8(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

// A BSTR that frees itself.
class Bstr {
 public:
  explicit Bstr(std::u16string_view text)
      : b_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }

 private:
  BSTR b_;
};

template <class T>
void ReleaseAndClear(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

bool Failed(HRESULT hr, ReadFailure& failure) {
  if (SUCCEEDED(hr)) return false;
  failure = FailureOf(hr);
  return true;
}

VARIANT Missing() {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_ERROR;
  V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
  return v;
}

}  // namespace

int IsWindows9x() { return (GetVersion() & 0x80000000u) != 0 ? 1 : 0; }

ReadFailure FailureOf(HRESULT hr) {
  ReadFailure failure;
  failure.code = static_cast<uint32_t>(hr);
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && info) {
    BSTR description = nullptr;
    if (SUCCEEDED(info->GetDescription(&description)) && description && SysStringLen(description) > 0)
      failure.text = Utf8(description, static_cast<int>(SysStringLen(description)));
    SysFreeString(description);
    info->Release();
    if (!failure.text.empty()) return failure;
  }
  wchar_t* system = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, static_cast<DWORD>(hr), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                 reinterpret_cast<wchar_t*>(&system), 0, nullptr);
  std::optional<std::string> text;
  if (n > 0 && system) text = Utf8(system, static_cast<int>(n));
  if (system) LocalFree(system);
  failure.text = AdoErrorText(failure.code, text);
  return failure;
}

void AdoRecordSource::ReleaseObjects() {
  ReleaseAndClear(records_);
  ReleaseAndClear(command_);
  ReleaseAndClear(connection_);
}

bool AdoRecordSource::Open(const std::u16string& connection, const std::u16string& commandText, ReadFailure& failure) {
  Close();
  const HRESULT init = CoInitialize(nullptr);
  comInitialised_ = SUCCEEDED(init);

  IUnknown* unknown = nullptr;
  HRESULT hr = CoCreateInstance(kClsidAdoConnection, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&unknown));
  if (Failed(hr, failure)) return false;
  hr = OleRun(unknown);
  if (SUCCEEDED(hr)) hr = unknown->QueryInterface(kIidAdoConnection, reinterpret_cast<void**>(&connection_));
  unknown->Release();
  if (Failed(hr, failure)) return false;
  {
    const Bstr text(connection), empty(u"");
    hr = connection_->Open(text.get(), empty.get(), empty.get(), adOptionUnspecified);
    if (Failed(hr, failure)) return false;
  }

  hr = CoCreateInstance(kClsidAdoCommand, nullptr, CLSCTX_ALL, kIidAdoCommand, reinterpret_cast<void**>(&command_));
  if (Failed(hr, failure)) return false;
  hr = command_->putref_ActiveConnection(connection_);
  if (Failed(hr, failure)) return false;
  {
    const Bstr text(commandText);
    hr = command_->put_CommandText(text.get());
    if (Failed(hr, failure)) return false;
  }

  hr = CoCreateInstance(kClsidAdoRecordset, nullptr, CLSCTX_ALL, kIidAdoRecordset, reinterpret_cast<void**>(&records_));
  if (Failed(hr, failure)) return false;
  hr = records_->putref_Source(command_);
  if (SUCCEEDED(hr)) hr = records_->put_CursorType(adOpenStatic);
  if (Failed(hr, failure)) return false;
  hr = records_->Open(Missing(), Missing(), adOpenStatic, adLockReadOnly, adCmdUnknown);
  return !Failed(hr, failure);
}

bool AdoRecordSource::RecordCount(long& count, ReadFailure& failure) {
  count = 0;
  if (!records_) return false;
  return !Failed(records_->get_RecordCount(&count), failure);
}

bool AdoRecordSource::MoveFirst(ReadFailure& failure) { return records_ && !Failed(records_->MoveFirst(), failure); }

bool AdoRecordSource::MoveNext(ReadFailure& failure) { return records_ && !Failed(records_->MoveNext(), failure); }

bool AdoRecordSource::Read(std::u16string_view column, ColumnValue& value, ReadFailure& failure) {
  if (!records_) return false;
  ADOFields* fields = nullptr;
  HRESULT hr = records_->get_Fields(&fields);
  if (Failed(hr, failure)) return false;
  const Bstr name(column);
  VARIANT index;
  VariantInit(&index);
  V_VT(&index) = VT_BSTR;
  V_BSTR(&index) = name.get();
  ADOField* field = nullptr;
  hr = fields->get_Item(index, &field);
  fields->Release();
  if (Failed(hr, failure)) return false;
  VARIANT v;
  VariantInit(&v);
  hr = field->get_Value(&v);
  field->Release();
  if (Failed(hr, failure)) return false;
  if (V_VT(&v) == VT_NULL) {
    value = ColumnValue::Null();
  } else {
    if (V_VT(&v) != VT_BSTR) hr = VariantChangeType(&v, &v, 0, VT_BSTR);
    if (Failed(hr, failure)) {
      VariantClear(&v);
      return false;
    }
    value = ColumnValue::Text(std::u16string(reinterpret_cast<const char16_t*>(V_BSTR(&v)), SysStringLen(V_BSTR(&v))));
  }
  VariantClear(&v);
  return true;
}

void AdoRecordSource::Close() {
  LONG state = 0;
  if (records_ && SUCCEEDED(records_->get_State(&state)) && (state & adStateOpen)) records_->Close();
  if (connection_ && SUCCEEDED(connection_->get_State(&state)) && (state & adStateOpen)) connection_->Close();
  ReleaseObjects();
  if (comInitialised_ && IsWindows9x() != 1) CoUninitialize();
  comInitialised_ = false;
}

}  // namespace ferlin
