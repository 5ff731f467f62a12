#pragma once
// Moving a key path one entry forward or back in index order, along the
// sibling links of every level below the lowest level that can move, so a
// move never goes back through the root. Each link taken must lead to the
// page the level above points to (20033 back, 20034 forward otherwise), so a
// walk over damaged links ends instead of going round.
#include <cstdint>

#include "engine/storage/pager/LinkCycleGuard.h"
#include "engine/storage/pager/PageManager.h"
#include "engine/storage/btree/KeyPath.h"
#include "engine/storage/btree/KeyRef.h"

// The native codes a caller raises its move failures with.
struct TVTRPathMoveErrors {
  int32_t empty_path;       // "Index error: invalid position"
  int32_t missing_sibling;  // "Index error: invalid page number"
};

// False, with the path unchanged, at the end (forward) or the beginning.
bool MovePath(TVTRPageManager& manager, TVTRBTreeKeyRef& key_ref, int32_t session_id, TVTRKeyPath& path,
              bool forward, const TVTRPathMoveErrors& errors);

// Watches a walk of many moves over a whole tree. Only nodes of a damaged
// tree that share a child can bring such a walk back to a leaf it left; that
// raises 20032.
class TVTRPathWalk {
 public:
  explicit TVTRPathWalk(const TVTRKeyPath& start) : leaf_(start.Deepest().PageNo), guard_(leaf_) {}

  // After each successful move.
  void Moved(const TVTRKeyPath& path);

 private:
  int32_t leaf_;
  LinkCycleGuard guard_;
};
