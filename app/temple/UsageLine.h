#pragma once
// The sums of a usage line, without a window: the line's amount, the
// quantity a meter gives, and how much of an item remains for a line.
#include <string_view>
#include <vector>

// The quantity counted as received for an item whose stock is not kept
// (cut_stock "N").
inline constexpr double kUnkeptStock = 10'000'000;

// qty × price less disc_rate percent of it, unrounded, as the line stores it.
double LineTotal(double qty, double price, double disc_rate);

// The quantity between two meter readings; an end below the start gives a
// negative quantity, which is not refused.
double MeterQuantity(double start_reading, double end_reading);

// A stored usage line of the item, as the stock count reads it.
struct UsedQuantity {
  double qty = 0;
  // 1 when the line took its quantity out of stock.
  int stk_post = 0;
};

// What remains of an item for a new line: the received quantities (h_fill)
// less the used ones (h_temple lines), counted only when the item keeps stock
// (cut_stock "Y"); for ceremony articles (item type "2") only lines that took
// their quantity out of stock count. `returned` is the quantity of the line
// being edited, which becomes available to it again (0 for a new line).
double RemainingStock(std::string_view cut_stock, std::string_view item_type, const std::vector<double>& received,
                      const std::vector<UsedQuantity>& used, double returned);

// The stk_post a saved line gets: 1 for a ceremony article that keeps stock.
int StockPostOf(std::string_view cut_stock, std::string_view item_type);
