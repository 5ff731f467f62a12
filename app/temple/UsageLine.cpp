#include "app/temple/UsageLine.h"

namespace {

constexpr std::string_view kKeepsStock = "Y";
constexpr std::string_view kKeepsNoStock = "N";
constexpr std::string_view kCeremonyArticle = "2";

}  // namespace

double LineTotal(double qty, double price, double disc_rate) {
  const double amount = price * qty;
  return amount - amount * disc_rate / 100;
}

double MeterQuantity(double start_reading, double end_reading) {
  return end_reading - start_reading;
}

double RemainingStock(std::string_view cut_stock, std::string_view item_type, const std::vector<double>& received,
                      const std::vector<UsedQuantity>& used, double returned) {
  double in = 0;
  double out = 0;
  if (cut_stock == kKeepsStock) {
    for (double qty : received) in += qty;
    const bool posted_only = item_type == kCeremonyArticle;
    for (const UsedQuantity& line : used)
      if (!posted_only || line.stk_post == 1) out += line.qty;
  } else if (cut_stock == kKeepsNoStock) {
    in = kUnkeptStock;
  }
  return in - out + returned;
}

int StockPostOf(std::string_view cut_stock, std::string_view item_type) {
  return cut_stock == kKeepsStock && item_type == kCeremonyArticle ? 1 : 0;
}
