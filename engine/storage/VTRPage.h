#pragma once
// Unit VTRPage: the page header and page types, pages in memory, the page
// lists and the page cache with its per-session transactions.
#include "engine/storage/Page.h"
#include "engine/storage/PageHeader.h"
#include "engine/storage/PageManager.h"
#include "engine/storage/SortedPageList.h"
