#pragma once
// Unit VTRBTree: B-tree pages, key references and key paths, the tree
// operations on them, the page maps of record and BLOB pages, and the table
// index built on them.
#include "engine/storage/btree/BTreeControllers.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/KeyPath.h"
#include "engine/storage/btree/KeyRef.h"
#include "engine/storage/btree/PageIndex.h"
#include "engine/storage/btree/PathMoves.h"
#include "engine/storage/btree/RecordKeyRef.h"
#include "engine/storage/index/RecordIndex.h"
