#include "bench/compare/Workload.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

// A fixed scrambling of 32-bit numbers (a bijection), for values that look
// random but are the same in every run.
uint32_t Scramble(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

const char* const kCategories[] = {"Building fund", "Monks' food", "Kathina", "School", "Lamps", "General"};

}  // namespace

template <typename Change>
WorkloadSizes WorkloadSizes::EachCount(Change change) const {
  WorkloadSizes changed = *this;
  changed.bulk_rows = change(bulk_rows);
  changed.single_commits = change(single_commits);
  changed.lookups = change(lookups);
  changed.blobs = change(blobs);
  changed.donors = change(donors);
  changed.donation_lines = change(donation_lines);
  changed.donor_lookups = change(donor_lookups);
  changed.line_updates = change(line_updates);
  return changed;
}

WorkloadSizes WorkloadSizes::Scaled(int64_t divisor) const {
  return EachCount([divisor](int64_t value) { return std::max<int64_t>(1, value / divisor); });
}

WorkloadSizes WorkloadSizes::Multiplied(int64_t factor) const {
  return EachCount([factor](int64_t value) { return value * factor; });
}

DonationLine MakeLine(int32_t n) {
  const uint32_t mix = Scramble(static_cast<uint32_t>(n));
  DonationLine line;
  char text[96];
  std::snprintf(text, sizeof text, "D67%08d", n % 100000000);
  line.bill_no = text;
  line.bill_date = 45000 + n % 365;
  std::snprintf(text, sizeof text, "C%06u", mix % 1000000);
  line.cust_no = text;
  std::snprintf(text, sizeof text, "P%04u", mix % 500);
  line.accessory_no = text;
  line.accessory_name = std::string(kCategories[mix % std::size(kCategories)]) + " line " + std::to_string(n);
  line.unit_name = "baht";
  line.qty = 1 + mix % 9;
  line.price = (mix % 100000) / 100.0;
  line.total = line.qty * line.price;
  line.sale_no = "007";
  return line;
}

DonationRow MakeRow(int32_t id) {
  const uint32_t mix = Scramble(static_cast<uint32_t>(id));
  DonationRow row;
  row.id = id;
  char text[96];
  std::snprintf(text, sizeof text, "Donor %08X %u", mix, static_cast<unsigned>(id % 97));
  row.donor = text;
  row.amount = static_cast<double>(mix % 1'000'000) / 100.0;
  row.donated_on = 738'000 + static_cast<int32_t>(mix % 3650);
  row.receipt = static_cast<int32_t>(mix >> 8);
  row.category = kCategories[mix % std::size(kCategories)];
  row.quantity = static_cast<int16_t>(1 + mix % 50);
  std::snprintf(text, sizeof text, "Receipt %d of donor %08X, given in person", id, mix);
  row.note = text;
  row.verified = (mix & 1) != 0;
  row.reference = static_cast<int64_t>(mix) * 1'000'003 + id;
  return row;
}

bool Checksum::operator==(const Checksum& other) const {
  return rows == other.rows && text_bytes == other.text_bytes &&
         std::fabs(amounts - other.amounts) <= 1e-6 * std::max(1.0, std::fabs(amounts));
}

std::vector<int32_t> LookupOrder(int64_t rows, int64_t count) {
  std::vector<int32_t> ids(static_cast<size_t>(rows));
  for (int64_t i = 0; i < rows; ++i) ids[static_cast<size_t>(i)] = static_cast<int32_t>(i + 1);
  std::mt19937 generator(20240611);
  std::shuffle(ids.begin(), ids.end(), generator);
  std::vector<int32_t> order(static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) order[static_cast<size_t>(i)] = ids[static_cast<size_t>(i % rows)];
  return order;
}

void FillBlob(int64_t n, std::vector<uint8_t>& bytes) {
  std::mt19937_64 generator(static_cast<uint64_t>(n) + 1);
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    const uint64_t word = generator();
    for (int b = 0; b < 8; ++b) bytes[i + b] = static_cast<uint8_t>(word >> (8 * b));
  }
  for (; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(generator());
}

namespace {

std::string DonorNumber(int64_t n) {
  char text[16];
  std::snprintf(text, sizeof text, "C%07lld", static_cast<long long>(n));
  return text;
}

}  // namespace

CustomerRow MakeCustomer(int32_t n) {
  const uint32_t mix = Scramble(static_cast<uint32_t>(n) + 0x9e3779b9U);
  CustomerRow row;
  row.cust_no = DonorNumber(n);
  char text[64];
  std::snprintf(text, sizeof text, "Donor %08X of the temple", mix);
  row.cust_name = text;
  std::snprintf(text, sizeof text, "%02u/%02u/%04u", 1 + mix % 28, 1 + (mix >> 5) % 12, 1940 + (mix >> 9) % 60);
  row.cust_birth = text;
  std::snprintf(text, sizeof text, "08%08u", mix % 100'000'000);
  row.cust_tel = text;
  return row;
}

DonateLine MakeLine(int32_t n, int64_t donors) {
  const uint32_t mix = Scramble(static_cast<uint32_t>(n) + 0x51ed27U);
  DonateLine line;
  char text[64];
  std::snprintf(text, sizeof text, "ABCD5%06d", (n + 2) / 3);
  line.bill_no = text;
  line.bill_date = kFirstLineDay + static_cast<int32_t>(mix % 731);
  // Numbers past the register's end name donors that were deleted.
  line.cust_no = DonorNumber(1 + static_cast<int64_t>(mix >> 3) % (donors + std::max<int64_t>(1, donors / 100)));
  const uint32_t purpose = (mix >> 12) % 40;
  std::snprintf(text, sizeof text, "P%03u", purpose);
  line.accessory_no = text;
  std::snprintf(text, sizeof text, "%s for the temple, purpose %u", kCategories[purpose % std::size(kCategories)],
                purpose);
  line.accessory_name = text;
  line.qty = 1 + mix % 5;
  line.price = static_cast<double>((mix >> 4) % 100'000) / 100.0;
  line.total = line.qty * line.price;
  return line;
}

std::vector<std::string> DonorLookupOrder(int64_t donors, int64_t count) {
  std::vector<std::string> numbers;
  numbers.reserve(static_cast<size_t>(count));
  for (const int32_t n : LookupOrder(donors, count)) numbers.push_back(DonorNumber(n));
  return numbers;
}
