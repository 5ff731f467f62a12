#pragma once
// TProtection: the base of the ciphers and hashes. A protection may be linked
// behind another one, so that one pass over data runs through a chain: a pass
// is StartPass, ProcessChunk over the data, EndPass, and the base forwards all
// three to the linked protection.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"

class EProtection : public Exception {
 public:
  using Exception::Exception;
};

enum class TProtectionAction : uint8_t { Encipher = 0, Decipher = 1, Scramble = 2, Digest = 3, Wipe = 4 };

// One bit per TProtectionAction.
using TProtectionActions = uint8_t;
inline constexpr TProtectionActions AllProtectionActions = 31;

class TProtection {
 public:
  explicit TProtection(std::shared_ptr<TProtection> linked = nullptr);
  virtual ~TProtection();
  TProtection(const TProtection&) = delete;
  TProtection& operator=(const TProtection&) = delete;

  virtual std::string_view ClassName() const;

  const std::shared_ptr<TProtection>& GetLinked() const { return linked_; }
  // Raises EProtection "Circular Protection detected, Protection Object is
  // invalid." when the chain from linked leads back to this object.
  void SetLinked(std::shared_ptr<TProtection> linked);

  TProtectionActions Actions() const { return actions_; }
  void SetActions(TProtectionActions actions) { actions_ = actions & AllProtectionActions; }
  bool ActionEnabled(TProtectionAction action) const { return (actions_ >> uint8_t(action)) & 1; }

  virtual void StartPass(TProtectionAction action);
  virtual void EndPass(TProtectionAction action);
  virtual void ProcessChunk(uint8_t* buffer, size_t size, TProtectionAction action);

  // One pass over the buffer in place; EndPass runs also when the chunk raises.
  // Returns size.
  size_t ProcessBuffer(void* buffer, size_t size, TProtectionAction action);
  // One pass over size bytes of source (size < 0: the whole source from
  // position 0) in chunks of 4096 bytes. A digest pass only reads; other
  // actions write each chunk to dest, or back over the source when dest is
  // nullptr.
  void ProcessStream(TStream& source, TStream* dest, int64_t size, TProtectionAction action);
  // Decipher: text is decoded from the text format, processed and returned as
  // bytes. Other actions: the text's bytes are processed and returned encoded
  // in the format.
  std::string ProcessString(std::string_view text, TProtectionAction action, int32_t text_format);

 private:
  std::shared_ptr<TProtection> linked_;
  TProtectionActions actions_ = AllProtectionActions;
};
