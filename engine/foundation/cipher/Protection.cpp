#include "engine/foundation/cipher/Protection.h"

#include <algorithm>
#include <vector>

#include "engine/foundation/cipher/StringFormat.h"

namespace {

constexpr int64_t kStreamChunkSize = 4096;

}  // namespace

TProtection::TProtection(std::shared_ptr<TProtection> linked) : linked_(std::move(linked)) {}

TProtection::~TProtection() = default;

std::string_view TProtection::ClassName() const {
  return "TProtection";
}

void TProtection::SetLinked(std::shared_ptr<TProtection> linked) {
  for (const TProtection* p = linked.get(); p != nullptr; p = p->linked_.get()) {
    if (p == this) throw EProtection("Circular Protection detected, Protection Object is invalid.");
  }
  linked_ = std::move(linked);
}

void TProtection::StartPass(TProtectionAction action) {
  if (linked_) linked_->StartPass(action);
}

void TProtection::EndPass(TProtectionAction action) {
  if (linked_) linked_->EndPass(action);
}

void TProtection::ProcessChunk(uint8_t* buffer, size_t size, TProtectionAction action) {
  if (linked_) linked_->ProcessChunk(buffer, size, action);
}

size_t TProtection::ProcessBuffer(void* buffer, size_t size, TProtectionAction action) {
  StartPass(action);
  try {
    ProcessChunk(static_cast<uint8_t*>(buffer), size, action);
  } catch (...) {
    EndPass(action);
    throw;
  }
  EndPass(action);
  return size;
}

void TProtection::ProcessStream(TStream& source, TStream* dest, int64_t size, TProtectionAction action) {
  if (size < 0) {
    source.SetPosition(0);
    size = source.Size();
  }
  if (dest == &source) dest = nullptr;
  std::vector<uint8_t> chunk(size_t(std::min(size, kStreamChunkSize)));
  StartPass(action);
  try {
    while (size > 0) {
      const auto n = int32_t(std::min(size, kStreamChunkSize));
      const int64_t position = source.Position();
      source.ReadBuffer(chunk.data(), n);
      ProcessChunk(chunk.data(), size_t(n), action);
      if (action != TProtectionAction::Digest) {
        if (dest == nullptr) {
          source.SetPosition(position);
          source.WriteBuffer(chunk.data(), n);
        } else {
          dest->WriteBuffer(chunk.data(), n);
        }
      }
      size -= n;
    }
  } catch (...) {
    EndPass(action);
    throw;
  }
  EndPass(action);
}

std::string TProtection::ProcessString(std::string_view text, TProtectionAction action, int32_t text_format) {
  if (action == TProtectionAction::Decipher) {
    std::string bytes = DecodeFromTextFormat(text, text_format);
    ProcessBuffer(bytes.data(), bytes.size(), action);
    return bytes;
  }
  std::string bytes(text);
  ProcessBuffer(bytes.data(), bytes.size(), action);
  return EncodeToTextFormat(bytes, text_format);
}
