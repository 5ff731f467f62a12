#include "engine/storage/btree/PathMoves.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/btree/BTreePage.h"

bool MovePath(TVTRPageManager& manager, TVTRBTreeKeyRef& key_ref, int32_t session_id, TVTRKeyPath& path,
              bool forward, const TVTRPathMoveErrors& errors) {
  if (path.Empty()) throw EVTRException(errors.empty_path, "Index error: invalid position");
  int32_t level = path.Depth() - 1;
  const auto at_edge = [&](const TVTRKeyPathLevel& recorded) {
    return forward ? recorded.Position >= recorded.Count - 1 : recorded.Position < 1;
  };
  while (level >= 0 && at_edge(path.At(level))) --level;
  if (level < 0) return false;
  path.At(level).Position += forward ? 1 : -1;
  for (int32_t i = level + 1; i < path.Depth(); ++i) {
    // The link must lead where the level above points: damaged links could
    // otherwise send a walk round in circles.
    TVTRBTreePage parent(manager, key_ref);
    parent.GetPage(session_id, path.At(i - 1).PageNo);
    const int32_t position = path.At(i - 1).Position;
    if (parent.Leaf() || position < 0 || position >= parent.Count())
      throw EVTRException(errors.missing_sibling, "Index error: invalid page number");
    TVTRBTreePage page(manager, key_ref);
    page.GetPage(session_id, path.At(i).PageNo);
    const int32_t sibling = forward ? page.NextPage() : page.PrevPage();
    if (sibling == -1) throw EVTRException(errors.missing_sibling, "Index error: invalid page number");
    if (sibling != parent.ChildPage(position))
      RaiseBrokenLink(forward ? 20034 : 20033, page.PageNo(), position);
    const bool leaf = page.Leaf();
    page.GetPage(session_id, sibling);
    if (page.Leaf() != leaf) RaiseBrokenLink(forward ? 20034 : 20033, sibling, position);
    path.At(i) = {sibling, forward ? 0 : page.Count() - 1, page.Count()};
  }
  return true;
}

void TVTRPathWalk::Moved(const TVTRKeyPath& path) {
  const int32_t leaf = path.Deepest().PageNo;
  if (leaf == leaf_) return;
  if (guard_.Returns(leaf)) RaiseCircularLinks(leaf, path.Deepest().Position);
  leaf_ = leaf;
}
