#include "engine/storage/base/Session.h"

#include <algorithm>

#include "platform/rtl/TextCase.h"

void TVTRBaseSession::AddNamedObject(std::unique_ptr<TVTRSessionNamedObject> object) {
  const TVTRSessionNamedObject* existing =
      object->ObjectID == -1 ? FindNamedObject(object->Name) : FindNamedObjectByID(object->ObjectID);
  if (existing)
    std::erase_if(named_objects_, [existing](const auto& held) { return held.get() == existing; });
  named_objects_.push_back(std::move(object));
}

TVTRSessionNamedObject* TVTRBaseSession::FindNamedObject(std::string_view name) const {
  const auto found =
      std::ranges::find_if(named_objects_, [name](const auto& held) { return SameText(held->Name, name); });
  return found == named_objects_.end() ? nullptr : found->get();
}

TVTRSessionNamedObject* TVTRBaseSession::FindNamedObjectByID(int32_t id) const {
  const auto found =
      std::ranges::find_if(named_objects_, [id](const auto& held) { return held->ObjectID == id; });
  return found == named_objects_.end() ? nullptr : found->get();
}
