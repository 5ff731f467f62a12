#pragma once
// Unit VTRPage: the page header and page types, pages in memory, the page
// lists and the page cache with its per-session transactions.
#include "engine/storage/pager/Page.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/pager/PageManager.h"
#include "engine/storage/pager/SortedPageList.h"
