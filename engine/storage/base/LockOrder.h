#pragma once
// What the calling thread holds of the database locks, to keep their order:
// the database list's lock before any database's section.
#include <cstdint>

inline thread_local int32_t t_database_sections_held = 0;
inline thread_local int32_t t_database_list_lock_depth = 0;
