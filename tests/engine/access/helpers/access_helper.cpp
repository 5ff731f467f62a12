// Usage: access_helper FILE [exclusive]
// A second process on a database file made by CreateDonateDatabase. It
// connects a multi-user session (or opens the file exclusive), opens a cursor
// on "Donate", prints "ready" (or "error CODE" and ends), then answers each
// line of standard input with one line:
//   insert ID DONOR AMOUNT   the result code of the insert
//   fill FIRST COUNT         inserts IDs FIRST.. one by one: "0", or the first
//                            result code that is not 0
//   edit ID                  positions on the record and edits it: the result
//                            code, or "missing"
//   post AMOUNT              posts the edited record with a new amount
//   cancel                   the result code of the cancel
//   update ID AMOUNT         edit and post: the first result code that is not 0
//   delete ID                the result code, or "missing"
//   start, commit, rollback  the session's transaction: "ok"
//   ids                      the IDs the cursor sees, in storage order
// Engine errors print "error CODE". Waits are capped short, so a wait that
// fails ends within a second.
#include <memory>
#include <sstream>
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "platform/os/RetryPolicy.h"
#include "tests/engine/access/DonateTable.h"
#include "tests/engine/access/helpers/LineServer.h"

namespace {

std::string Answer(DonateCursor& donations, TVTRLocalSession& session, const std::string& line) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  if (command == "insert") {
    Donation donation;
    words >> donation.id >> donation.donor >> donation.amount;
    return std::to_string(donations.Insert(donation));
  }
  if (command == "fill") {
    int32_t first = 0;
    int32_t count = 0;
    words >> first >> count;
    for (int32_t id = first; id < first + count; ++id) {
      const int32_t result = donations.Insert({id, "donor" + std::to_string(id % 37), id * 1.5});
      if (result != 0) return std::to_string(result);
    }
    return "0";
  }
  if (command == "edit" || command == "update" || command == "delete") {
    int32_t id = 0;
    words >> id;
    if (!donations.Find(id)) return "missing";
    if (command == "delete") return std::to_string(donations.Delete());
    const int32_t edited = donations.Edit();
    if (command == "edit" || edited != 0) return std::to_string(edited);
    double amount = 0;
    words >> amount;
    return std::to_string(donations.Post(amount));
  }
  if (command == "post") {
    double amount = 0;
    words >> amount;
    return std::to_string(donations.Post(amount));
  }
  if (command == "cancel") return std::to_string(donations.Cancel());
  if (command == "start") session.StartTransaction();
  if (command == "commit") session.Commit(true);
  if (command == "rollback") session.Rollback();
  if (command == "ids") {
    std::string ids = "ids";
    for (const Donation& donation : donations.All()) ids += " " + std::to_string(donation.id);
    return ids;
  }
  return "ok";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  SetRetryCaps({0, 2});
  const bool exclusive = argc > 2 && std::string(argv[2]) == "exclusive";
  // Owned here: the answering function keeps references to them.
  std::unique_ptr<TVTRLocalSession> session;
  std::unique_ptr<DonateCursor> donations;
  return ServeLines([&] {
    session = DonateSession(argv[1]);
    session->Exclusive = exclusive;
    session->SetConnected(true);
    donations = std::make_unique<DonateCursor>(*session);
    return [&](const std::string& line) { return Answer(*donations, *session, line); };
  });
}
