#pragma once
// Unit VTRLocalEngine: the local session and local cursor that carry the
// components' operations into the storage engine.
#include "engine/access/LocalSession.h"
