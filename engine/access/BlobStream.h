#pragma once
// TVTRBLOBStream: the stream a dataset hands out for a BLOB field of its
// current record. It wraps the engine stream that the cursor opens for the
// record and, when it is freed, closes that stream (the cursor then keeps
// what was written in the record buffer) and tells the dataset that the
// field changed when something was written.
//
// Without an engine stream (the cursor could not open one, or has closed it
// at a post or cancel) it transfers nothing. The cursor owns the engine
// stream: the wrapper looks it up among the cursor's open streams before
// each use, so a stream the cursor closed is never touched.
#include <cstdint>

#include "engine/foundation/stream/VTRStream.h"
#include "platform/db/DBTypes.h"

class TField;
class TVTRDataSet;

class TVTRBLOBStream : public TVTRStream {
 public:
  // Opens the engine stream of `field` (the field of that name in its
  // dataset, a TVTRDataSet): write modes on a ReadOnly dataset raise 10106,
  // outside edit and insert state 10111. A write mode empties the value.
  TVTRBLOBStream(TField* field, TBlobStreamMode mode);
  // Closes the engine stream; failures are shown, never thrown.
  ~TVTRBLOBStream() override;

  bool HasEngineStream() const { return Engine() != nullptr; }

  int32_t Read(void* buffer, int32_t count) override;
  // Marks the value modified when a byte was written.
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t GetSize() override;
  // Marks the value modified when the size became the one asked for.
  void SetSize(int64_t new_size) override;
  // Cuts the value at the current position.
  void Truncate() { SetSize(Position()); }

 private:
  // The engine stream while the cursor still has it open, else nullptr.
  TVTRStream* Engine() const;

  TField* field_ = nullptr;
  TVTRDataSet* dataset_ = nullptr;
  TVTRStream* engine_ = nullptr;
};
