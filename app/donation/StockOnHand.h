#pragma once
// The stock on hand of a goods item whose stock is counted: its opening
// quantity, plus what purchases brought in (instock lines posted with
// stk_post 2), less what sales took out (outstock lines posted with
// stk_post 1). Lines posted otherwise (unposted, returns) do not count.
#include <string>

// Reads the item's lines on the connection of `alias` (a window's own).
double StockOnHand(const std::string& alias, const std::string& pro_no, double pro_total);
