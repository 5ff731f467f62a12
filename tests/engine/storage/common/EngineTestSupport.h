#pragma once
// Helpers shared by the storage tests: engine errors and stream bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRStreams.h"
#include "tests/support/EngineErrors.h"

// The statement raises EVTRException with the code and the message text
// (the message as raised ends with the code, which is checked separately).
#define EXPECT_ENGINE_ERROR(statement, code, text)                                              \
  try {                                                                                         \
    statement;                                                                                  \
    ADD_FAILURE() << #statement " raised nothing";                                              \
  } catch (const EVTRException& e) {                                                            \
    EXPECT_EQ(e.NativeError(), code) << e.Message();                                            \
    EXPECT_EQ(e.Message().substr(0, e.Message().find(" - Native error: ")), std::string(text)); \
  }

using Bytes = std::vector<uint8_t>;

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The whole content of a stream.
inline Bytes StreamBytes(TStream& stream) {
  Bytes bytes(static_cast<size_t>(stream.Size()));
  const int64_t position = stream.Position();
  stream.SetPosition(0);
  stream.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(position);
  return bytes;
}

// A memory stream holding the bytes, positioned at 0.
inline void FillStream(TVTRMemoryStream& stream, const Bytes& bytes) {
  stream.SetSize(0);
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
}

// The image a saver writes, as bytes.
template <typename Saver>
Bytes ImageOf(Saver save) {
  TVTRMemoryStream stream;
  save(stream);
  return StreamBytes(stream);
}
