#include "engine/storage/index/Index.h"

void TVTRIndex::CreateIndex(TVTRCursor*, TVTRIndexDef& def) {
  if (&def != &Def) Def.Assign(def);
}

void TVTRIndex::OpenIndex(const TVTRIndexDef& def) {
  if (&def != &Def) Def.Assign(def);
}
