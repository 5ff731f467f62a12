#pragma once
// Helpers of the cipher tests: hexadecimal text and reproducible random bytes.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline Bytes FromHex(std::string_view hex) {
  Bytes bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(uint8_t(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return bytes;
}

inline std::string ToHex(const uint8_t* data, size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < size; ++i) {
    hex.push_back(kDigits[data[i] >> 4]);
    hex.push_back(kDigits[data[i] & 15]);
  }
  return hex;
}

inline std::string ToHex(const Bytes& bytes) {
  return ToHex(bytes.data(), bytes.size());
}

inline Bytes RandomBytes(std::mt19937& random, size_t size) {
  Bytes bytes(size);
  for (uint8_t& b : bytes) b = uint8_t(random());
  return bytes;
}
