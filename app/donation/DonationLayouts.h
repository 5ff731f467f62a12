#pragma once
// The printed documents of a donation that the donation window's print
// buttons choose from, by document kind and sys_sys.VIEW7. A kind and view
// without an entry opens nothing.
#include "app/donation/cdonate.h"

DonationLayouts DonationLayoutTable();
