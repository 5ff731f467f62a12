#include "app/donation/DonationLayouts.h"

#include "app/donation/PrnCertificate.h"
#include "app/donation/PrnCertificate3.h"
#include "app/donation/PrnDonate.h"
#include "platform/ui/FormsApplication.h"

namespace {

template <typename T>
DonationLayout Layout() {
  return [] { FormsApplication().CreateForm<T>()->Preview(); };
}

}  // namespace

DonationLayouts DonationLayoutTable() {
  return {
      {{"0", "0"}, Layout<TPrnDonate4s>()},     {{"0", "1"}, Layout<TPrnDonate8>()},
      {{"0", "2"}, Layout<TPrnDonate8>()},      {{"1", "0"}, Layout<TPrnCertificate1>()},
      {{"1", "1"}, Layout<TPrnCertificate2>()}, {{"1", "2"}, Layout<TPrnCertificate3>()},
  };
}
