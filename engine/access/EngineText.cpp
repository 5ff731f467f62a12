#include "engine/access/EngineText.h"

#include <vector>

#include "platform/rtl/CodePage874.h"

Variant EngineTextValue(const Variant& value) {
  if (value.VarType() == Variant::varString) return Variant(Utf8ToCp874(value.AsString()));
  if (value.VarType() != (Variant::varArray | Variant::varVariant)) return value;
  std::vector<Variant> elements;
  elements.reserve(value.Elements().size());
  for (const Variant& element : value.Elements()) elements.push_back(EngineTextValue(element));
  return Variant::Array(std::move(elements));
}
