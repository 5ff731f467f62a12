#pragma once
// One descent for a unique key's check and its insert: the check finds where
// an absent key would go and the insert goes straight there, as long as the
// place still holds when it comes.
//
// A place holds when its route still leads from the root through the
// recorded nodes to the leaf, and the key still falls strictly between the
// leaf's entries beside the position (or the position is the first of the
// tree's first leaf or the last of its last leaf). Then the entry keeps every
// page's order and every separator above it valid, whatever changed in
// between; anything else sends the insert down the tree again.
#include <cstdint>

#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/KeyPath.h"

struct TVTRKeyPlace {
  // The nodes from the root down, working level below the last one, as an
  // insert's descent leaves them for a split.
  TVTRKeyPath Nodes;
  int32_t LeafPage = -1;
  int32_t Position = 0;  // where the key would go on the leaf
};

enum class TVTRKeyProbe : uint8_t {
  kAbsent,
  kPresent,
  // A node holds a separator equal to the key, so more than one subtree may
  // hold it: FindKey must search them.
  kUndecided,
};

// Looks for the key alone (no RecordID) from the tree's root page, recording
// in `place` where it would go when it is absent.
TVTRKeyProbe ProbeKey(TVTRBTreePage& root, int32_t session_id, uint8_t* key, TVTRKeyPlace& place);

// Inserts the entry (key, record_id) at a place ProbeKey gave for the key and
// splits as the insert does. False, with nothing changed, when the place no
// longer holds.
bool InsertAtPlace(TVTRBTreePage& root, int32_t session_id, uint8_t* key, const uint8_t* record_id,
                   const TVTRKeyPlace& place);
