#include "engine/foundation/containers/UniqueName.h"

#include "platform/rtl/Exception.h"

namespace {

constexpr int32_t kNameNumbers = 1000000;

}  // namespace

std::string MakeUniqueName(std::string_view prefix, const std::function<bool(const std::string&)>& in_use,
                           RandomSource& random) {
  // Probing on from a random start finds a free number whenever one is left,
  // and in the usual case stops at the first draw.
  const int32_t start = random.Below(kNameNumbers);
  for (int32_t i = 0; i < kNameNumbers; ++i) {
    std::string name(prefix);
    name += std::to_string((start + i) % kNameNumbers);
    if (!in_use(name)) return name;
  }
  throw Exception("No unused name is left for the prefix \"" + std::string(prefix) + "\"");
}
