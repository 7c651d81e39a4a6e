// A stand-in of the ADO objects for the Wine tests, registered under the
// ADO Connection, Command and Recordset CLSIDs in the test prefix only: no
// Jet provider and no .mdb exist under Wine, and Wine's own Recordset.Open
// takes neither a Command as its source nor a missing connection argument,
// which is how the listening program opens its record sets. The objects
// serve what the program calls: Connection.Open with the Jet provider's
// connection string (the "Data Source" names an example rows file of our
// own), Command with its connection and text, Recordset opened from its
// Command (static, read-only) with its count, moves, fields and values.
// Failures come back as error results with an error object describing them.
#include <windows.h>
#include <oleauto.h>

#include <adoint.h>

#include <string>
#include <vector>

#include "ado_ids.h"
#include "ado_stubs.h"
#include "example_rows.h"

namespace {

using ferlin::kClsidAdoCommand;
using ferlin::kClsidAdoConnection;
using ferlin::kClsidAdoRecordset;
const IID& kIidConnection = ferlin::kIidAdoConnection;
const IID& kIidCommand = ferlin::kIidAdoCommand;
const IID& kIidRecordset = ferlin::kIidAdoRecordset;
const IID kIidConnection15 = {0x00000515, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID kIidCommand15 = {0x00000508, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID kIidCommand25 = {0x0000054E, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID kIidCommandOld = {0x986761E8, 0x7269, 0x4890, {0xAA, 0x65, 0xAD, 0x7C, 0x03, 0x69, 0x7A, 0x6D}};
const IID kIidRecordset15 = {0x0000050E, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID kIidRecordset20 = {0x0000054F, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID kIidRecordset21 = {0x00000555, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
// Our own: hands out the object behind an interface pointer of ours.
const IID kIidSelf = {0x6a1c3f20, 0x5b7e, 0x4c11, {0x9e, 0x2d, 0x41, 0x0f, 0x7a, 0x63, 0x88, 0x05}};

// ADO's error results (adErr... in the ADO error range).
constexpr HRESULT kErrProviderNotFound = static_cast<HRESULT>(0x800A0E7A);
constexpr HRESULT kErrObjectClosed = static_cast<HRESULT>(0x800A0E78);
constexpr HRESULT kErrItemNotFound = static_cast<HRESULT>(0x800A0CC1);
constexpr HRESULT kErrNoCurrentRecord = static_cast<HRESULT>(0x800A0BCD);
constexpr HRESULT kErrInvalidConnection = static_cast<HRESULT>(0x800A0E7D);
constexpr HRESULT kErrCouldNotFindFile = static_cast<HRESULT>(0x80004005);
constexpr HRESULT kErrSyntax = static_cast<HRESULT>(0x80040E14);

LONG g_objects = 0;

// Sets the thread's error object (source "Microsoft JET Database Engine", as
// the program's message shows its description) and returns the result.
HRESULT Fail(HRESULT hr, const std::wstring& description) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    create->SetSource(const_cast<LPOLESTR>(L"Microsoft JET Database Engine"));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return hr;
}

std::u16string U16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }
std::wstring W(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::wstring W(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

// The value of "key=" in a connection string ("key=value;..."), keys
// compared without regard to case.
std::wstring ConnectionValue(const std::wstring& s, const std::wstring& key) {
  size_t start = 0;
  while (start < s.size()) {
    size_t end = s.find(L';', start);
    if (end == std::wstring::npos) end = s.size();
    const std::wstring part = s.substr(start, end - start);
    const size_t eq = part.find(L'=');
    if (eq != std::wstring::npos && CompareStringOrdinal(part.c_str(), static_cast<int>(eq), key.c_str(),
                                                         static_cast<int>(key.size()), TRUE) == CSTR_EQUAL)
      return part.substr(eq + 1);
    start = end + 1;
  }
  return {};
}

// Reference counting and IDispatch (not served) for one interface.
template <class Stub>
class Object : public Stub {
 public:
  Object() { InterlockedIncrement(&g_objects); }
  virtual ~Object() { InterlockedDecrement(&g_objects); }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 protected:
  // Answers the interfaces in ids (and IUnknown, IDispatch) with this.
  HRESULT Answer(REFIID riid, void** out, std::initializer_list<const IID*> ids) {
    if (!out) return E_POINTER;
    *out = nullptr;
    bool ok = riid == IID_IUnknown || riid == IID_IDispatch || riid == kIidSelf;
    for (const IID* id : ids) ok = ok || riid == *id;
    if (!ok) return E_NOINTERFACE;
    *out = static_cast<Stub*>(this);
    AddRef();
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

// ---- Connection ----

class Connection final : public Object<StubConnection> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, {&kIidConnection, &kIidConnection15});
  }
  HRESULT STDMETHODCALLTYPE Open(BSTR connection, BSTR, BSTR, long) override {
    if (open_) return S_OK;
    connection_ = W(connection);
    const std::wstring provider = ConnectionValue(connection_, L"Provider");
    if (CompareStringOrdinal(provider.c_str(), -1, L"Microsoft.Jet.OLEDB.4.0", -1, TRUE) != CSTR_EQUAL)
      return Fail(kErrProviderNotFound, L"Provider cannot be found. It may not be properly installed.");
    const std::wstring path = ConnectionValue(connection_, L"Data Source");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(kErrCouldNotFindFile, L"Could not find file '" + path + L"'.");
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    std::string error;
    auto db = exdb::ReadRows(bytes, error);
    if (!db) return Fail(kErrCouldNotFindFile, L"Unrecognized database format '" + path + L"'.");
    db_ = std::move(*db);
    open_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Close() override {
    if (!open_) return Fail(kErrObjectClosed, L"Operation is not allowed when the object is closed.");
    open_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_State(LONG* state) override {
    *state = open_ ? adStateOpen : adStateClosed;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ConnectionString(BSTR* out) override {
    *out = SysAllocString(connection_.c_str());
    return S_OK;
  }
  bool IsOpen() const { return open_; }
  const exdb::Database& Db() const { return db_; }

 private:
  bool open_ = false;
  std::wstring connection_;
  exdb::Database db_;
};

Connection* ConnectionOf(IUnknown* unknown) {
  void* self = nullptr;
  if (!unknown || FAILED(unknown->QueryInterface(kIidSelf, &self))) return nullptr;
  auto* c = static_cast<Connection*>(static_cast<StubConnection*>(self));
  c->Release();  // the caller holds its own reference
  return c;
}

// ---- Command ----

class Command final : public Object<StubCommand> {
 public:
  ~Command() override {
    if (connection_) connection_->Release();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, {&kIidCommand, &kIidCommand15, &kIidCommand25, &kIidCommandOld});
  }
  HRESULT STDMETHODCALLTYPE putref_ActiveConnection(_ADOConnection* connection) override {
    Connection* c = ConnectionOf(connection);
    if (connection && !c) return Fail(kErrInvalidConnection, L"The connection cannot be used to perform this operation.");
    if (c) c->AddRef();
    if (connection_) connection_->Release();
    connection_ = c;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_CommandText(BSTR text) override {
    text_ = W(text);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_CommandText(BSTR* out) override {
    *out = SysAllocString(text_.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_State(LONG* state) override {
    *state = adStateClosed;
    return S_OK;
  }
  Connection* ActiveConnection() const { return connection_; }
  const std::wstring& Text() const { return text_; }

 private:
  Connection* connection_ = nullptr;
  std::wstring text_;
};

// ---- Field and Fields ----

class Field final : public Object<StubField> {
 public:
  Field(std::wstring name, exdb::Cell value) : name_(std::move(name)), value_(std::move(value)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return Answer(riid, out, {}); }
  HRESULT STDMETHODCALLTYPE get_Value(VARIANT* out) override {
    VariantInit(out);
    switch (value_.kind) {
      case exdb::Cell::Kind::Null: V_VT(out) = VT_NULL; break;
      case exdb::Cell::Kind::Integer:
        V_VT(out) = VT_I4;
        V_I4(out) = static_cast<LONG>(value_.integer);
        break;
      case exdb::Cell::Kind::Text:
        V_VT(out) = VT_BSTR;
        V_BSTR(out) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(value_.text.data()),
                                        static_cast<UINT>(value_.text.size()));
        break;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override {
    *out = SysAllocString(name_.c_str());
    return S_OK;
  }

 private:
  std::wstring name_;
  exdb::Cell value_;
};

class Fields final : public Object<StubFields> {
 public:
  Fields(std::vector<std::u16string> names, std::vector<exdb::Cell> row)
      : names_(std::move(names)), row_(std::move(row)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return Answer(riid, out, {}); }
  HRESULT STDMETHODCALLTYPE get_Count(long* count) override {
    *count = static_cast<long>(names_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, ADOField** out) override {
    *out = nullptr;
    int at = -1;
    if (V_VT(&index) == VT_BSTR) {
      for (size_t i = 0; i < names_.size(); ++i)
        if (W(names_[i]) == W(V_BSTR(&index))) at = static_cast<int>(i);
    } else {
      VARIANT n;
      VariantInit(&n);
      if (SUCCEEDED(VariantChangeType(&n, &index, 0, VT_I4)) && V_I4(&n) >= 0 &&
          V_I4(&n) < static_cast<LONG>(names_.size()))
        at = V_I4(&n);
    }
    if (at < 0)
      return Fail(kErrItemNotFound, L"Item cannot be found in the collection corresponding to the requested name or ordinal.");
    if (row_.empty()) return Fail(kErrNoCurrentRecord, L"Either BOF or EOF is True, or the current record has been deleted.");
    *out = new Field(W(names_[at]), row_[at]);
    return S_OK;
  }

 private:
  std::vector<std::u16string> names_;
  std::vector<exdb::Cell> row_;  // empty: no current record
};

// ---- Recordset ----

class Recordset final : public Object<StubRecordset> {
 public:
  ~Recordset() override {
    if (command_) command_->Release();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, {&kIidRecordset, &kIidRecordset15, &kIidRecordset20, &kIidRecordset21});
  }
  HRESULT STDMETHODCALLTYPE putref_Source(IDispatch* source) override {
    void* self = nullptr;
    if (!source || FAILED(source->QueryInterface(kIidSelf, &self)))
      return Fail(E_INVALIDARG, L"Only a command of this provider can be the source.");
    if (command_) command_->Release();
    command_ = static_cast<Command*>(static_cast<StubCommand*>(self));  // the reference QueryInterface gave
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_CursorType(CursorTypeEnum type) override {
    cursor_ = type;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_CursorType(CursorTypeEnum* type) override {
    *type = cursor_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Open(VARIANT source, VARIANT connection, CursorTypeEnum cursor, LockTypeEnum, LONG) override {
    const bool sourceMissing = V_VT(&source) == VT_ERROR || V_VT(&source) == VT_EMPTY;
    const bool connectionMissing = V_VT(&connection) == VT_ERROR || V_VT(&connection) == VT_EMPTY;
    if (!sourceMissing || !connectionMissing || !command_)
      return Fail(E_INVALIDARG, L"The stand-in opens a record set from its command only.");
    Connection* c = command_->ActiveConnection();
    if (!c || !c->IsOpen()) return Fail(kErrInvalidConnection, L"The connection cannot be used to perform this operation.");
    exdb::QueryResult result;
    std::u16string error;
    if (!exdb::RunQuery(c->Db(), U16(command_->Text()), result, error)) return Fail(kErrSyntax, W(error));
    if (cursor != adOpenUnspecified) cursor_ = cursor;
    result_ = std::move(result);
    at_ = 0;
    open_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_RecordCount(long* count) override {
    if (!open_) return Fail(kErrObjectClosed, L"Operation is not allowed when the object is closed.");
    // Only a static or keyset cursor knows its count.
    *count = cursor_ == adOpenStatic || cursor_ == adOpenKeyset ? static_cast<long>(result_.rows.size()) : -1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE MoveFirst() override {
    if (!open_) return Fail(kErrObjectClosed, L"Operation is not allowed when the object is closed.");
    at_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE MoveNext() override {
    if (!open_) return Fail(kErrObjectClosed, L"Operation is not allowed when the object is closed.");
    if (at_ >= result_.rows.size()) return Fail(kErrNoCurrentRecord, L"Either BOF or EOF is True, or the current record has been deleted.");
    ++at_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_EOF(VARIANT_BOOL* eof) override {
    *eof = open_ && at_ < result_.rows.size() ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_BOF(VARIANT_BOOL* bof) override {
    *bof = open_ && !result_.rows.empty() ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Fields(ADOFields** out) override {
    if (!open_) return Fail(kErrObjectClosed, L"Operation is not allowed when the object is closed.");
    *out = new Fields(result_.columns, at_ < result_.rows.size() ? result_.rows[at_] : std::vector<exdb::Cell>{});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_State(LONG* state) override {
    *state = open_ ? adStateOpen : adStateClosed;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Close() override {
    if (!open_) return Fail(kErrObjectClosed, L"Operation is not allowed when the object is closed.");
    open_ = false;
    result_ = {};
    return S_OK;
  }

 private:
  Command* command_ = nullptr;
  CursorTypeEnum cursor_ = adOpenForwardOnly;
  bool open_ = false;
  exdb::QueryResult result_;
  size_t at_ = 0;
};

// ---- the class factory ----

class Factory final : public IClassFactory {
 public:
  explicit Factory(const CLSID& clsid) : clsid_(clsid) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* object = nullptr;
    if (clsid_ == kClsidAdoConnection) object = static_cast<StubConnection*>(new Connection);
    else if (clsid_ == kClsidAdoCommand) object = static_cast<StubCommand*>(new Command);
    else object = static_cast<StubRecordset*>(new Recordset);
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  CLSID clsid_;
};

Factory g_connections(kClsidAdoConnection), g_commands(kClsidAdoCommand), g_recordsets(kClsidAdoRecordset);

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (clsid == kClsidAdoConnection) return g_connections.QueryInterface(riid, out);
  if (clsid == kClsidAdoCommand) return g_commands.QueryInterface(riid, out);
  if (clsid == kClsidAdoRecordset) return g_recordsets.QueryInterface(riid, out);
  *out = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

}  // extern "C"
