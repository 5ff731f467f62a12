#pragma once
// TVTRPassword: the password of a database and its cipher algorithm (0..7),
// handed from the database component through the session to the page
// manager. A non-empty password makes a new database encrypted.
#include <cstdint>
#include <string>

struct TVTRPassword {
  std::string Password;
  uint8_t Algorithm = 0;
};
