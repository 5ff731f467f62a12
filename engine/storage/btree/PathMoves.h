#pragma once
// Moving a key path one entry forward or back in index order, along the
// sibling links of every level below the lowest level that can move, so a
// move never goes back through the root.
#include <cstdint>

#include "engine/storage/PageManager.h"
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
