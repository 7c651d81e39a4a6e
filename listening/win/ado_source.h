// One reader's ADO objects (connection, command, record set) as the
// listening program's readers use them, each owner with its own set: COM
// initialised for the read, the objects created by their CLSIDs, the
// connection opened with the Jet provider's string, the record set opened
// from the command with a static cursor, read-only; closed, released and
// COM uninitialised when the read is done.
#pragma once
#include <windows.h>

#include "example_readers.h"

// The ADO interfaces (adoint.h), kept out of the users of this header.
struct _ADOConnection;
struct _ADOCommand;
struct _ADORecordset;

namespace ferlin {

class AdoRecordSource final : public RecordSource {
 public:
  AdoRecordSource() = default;
  ~AdoRecordSource() override { Close(); }
  AdoRecordSource(const AdoRecordSource&) = delete;
  AdoRecordSource& operator=(const AdoRecordSource&) = delete;

  bool Open(const std::u16string& connection, const std::u16string& commandText, ReadFailure& failure) override;
  bool RecordCount(long& count, ReadFailure& failure) override;
  bool MoveFirst(ReadFailure& failure) override;
  bool MoveNext(ReadFailure& failure) override;
  bool Read(std::u16string_view column, ColumnValue& value, ReadFailure& failure) override;
  void Close() override;

 private:
  void ReleaseObjects();

  _ADOConnection* connection_ = nullptr;
  _ADOCommand* command_ = nullptr;
  _ADORecordset* records_ = nullptr;
  bool comInitialised_ = false;
};

// 1 when the system is of the Windows 9x family (high bit of the version).
int IsWindows9x();

// The failure of a call that returned hr: the description of the thread's
// error object when it has one (the provider's text), else the system's
// text for the code (UTF-8), through AdoErrorText.
ReadFailure FailureOf(HRESULT hr);

}  // namespace ferlin
