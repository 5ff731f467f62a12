#include "app/donation/DonationLayouts.h"

DonationLayouts DonationLayoutTable() {
  return {};
}
