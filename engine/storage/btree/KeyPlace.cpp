#include "engine/storage/btree/KeyPlace.h"

TVTRKeyProbe ProbeKey(TVTRBTreePage& root, int32_t session_id, uint8_t* key, TVTRKeyPlace& place) {
  place.Nodes.Clear();
  TVTRBTreePage step = root.Sibling();
  TVTRBTreePage* page = &root;
  TVTRSearchStatus status;
  while (!page->Leaf()) {
    // Separators are compared as they stand, as a node's search does.
    const int32_t position = page->Controller().FindPosition(false, session_id, key, nullptr, 1, status, emAny);
    if (status == ssFound) return TVTRKeyProbe::kUndecided;
    const int32_t child_entry = position - 1;
    place.Nodes.Push(page->PageNo(), child_entry, page->Count());
    step.DescendTo(session_id, page->ChildPage(child_entry));
    page = &step;
  }
  const int32_t position = page->Controller().FindPosition(true, session_id, key, nullptr, 0, status, emAny);
  if (status == ssFound) return TVTRKeyProbe::kPresent;
  place.LeafPage = page->PageNo();
  place.Position = position;
  return TVTRKeyProbe::kAbsent;
}

namespace {

// Whether the key still goes at the position of the leaf.
bool Brackets(TVTRBTreePage& leaf, int32_t session_id, uint8_t* key, int32_t position) {
  if (!leaf.Leaf() || position < 0 || position > leaf.Count()) return false;
  TVTRBTreePageController& controller = leaf.Controller();
  const bool after_prior = position > 0 ? controller.CompareEntryKey(true, session_id, position - 1, key) > 0
                                        : leaf.PrevPage() == -1;
  return after_prior && (position < leaf.Count() ? controller.CompareEntryKey(true, session_id, position, key) < 0
                                                 : leaf.NextPage() == -1);
}

}  // namespace

bool InsertAtPlace(TVTRBTreePage& root, int32_t session_id, uint8_t* key, const uint8_t* record_id,
                   const TVTRKeyPlace& place) {
  const TVTRKeyPath& nodes = place.Nodes;
  TVTRBTreePage step = root.Sibling();
  TVTRBTreePage* page = &root;
  for (int32_t level = 0; level < nodes.Depth(); ++level) {
    const TVTRKeyPathLevel& node = nodes.At(level);
    const int32_t next_page = level + 1 < nodes.Depth() ? nodes.At(level + 1).PageNo : place.LeafPage;
    if (page->PageNo() != node.PageNo || page->Leaf() || node.Position < 0 || node.Position >= page->Count() ||
        page->ChildPage(node.Position) != next_page) {
      return false;
    }
    step.DescendTo(session_id, next_page);
    page = &step;
  }
  if (page->PageNo() != place.LeafPage || !Brackets(*page, session_id, key, place.Position)) return false;
  TVTRBTreePageController& leaf = page->Controller();
  leaf.InsertEntryAt(key, record_id, place.Position);
  if (leaf.IsOverfull()) {
    TVTRKeyPath path;
    path.Assign(nodes);
    leaf.SplitPage(session_id, path);
  }
  return true;
}
