#pragma once
// Transacted internal files that hold an array of fixed-size records, read and
// written whole, uncompressed, in the system session (the system directory and
// the table list).
#include <cstdint>
#include <span>
#include <vector>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/system/TransactedFile.h"

// The records the file holds: its size div Size of them.
template <int32_t Size, typename Record, typename Decode>
std::vector<Record> ReadRecords(TVTRInternalDBTransactedAccessFile& file, Decode&& decode) {
  const std::vector<uint8_t> image = file.ReadContent(kSystemSessionID);
  const auto count = static_cast<int32_t>(image.size() / Size);
  std::vector<Record> records;
  records.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i)
    records.push_back(
        decode(std::span<const uint8_t, Size>(image.data() + static_cast<size_t>(i) * Size, Size)));
  return records;
}

template <int32_t Size, typename Record, typename Encode>
void WriteRecords(TVTRInternalDBTransactedAccessFile& file, const std::vector<Record>& records,
                  Encode&& encode) {
  std::vector<uint8_t> image(records.size() * Size);
  for (size_t i = 0; i < records.size(); ++i)
    encode(records[i], std::span<uint8_t, Size>(image.data() + i * Size, Size));
  file.WriteFile(kSystemSessionID, image.data(), 0, 0, static_cast<int32_t>(image.size()));
}
