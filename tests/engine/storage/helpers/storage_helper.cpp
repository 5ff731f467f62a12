// Usage: storage_helper FILE COMMAND [ARGUMENTS]
//   hold-header             prints "locked" once it holds the header lock and
//                           keeps it until standard input closes
//   stop-commit PAGE VALUE WRITE ACTION
//                           changes the page and commits with a flush; at
//                           write WRITE of the commit to the file or its
//                           journal the process is killed (ACTION "kill"),
//                           killed after part of that write ("cut"), or it
//                           prints "paused" and waits for a line ("pause");
//                           a commit that runs to its end prints "committed"
//                           and waits until standard input closes
//   change PAGE VALUE       changes the page, prints "changed", waits for a line
//                           on standard input, commits and prints "committed",
//                           then waits until standard input closes
//   connect COUNT           connects COUNT sessions, prints "slots" and their
//                           session IDs, then answers each line "reopen" by
//                           opening and closing a second descriptor of the file
//                           and printing "reopened", until standard input closes
//   create-table NAME       lists a new table under the tables lock, commits and
//                           prints "created"
// The database is opened multi-user. Engine errors print "error CODE".
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/VTRDiskEngine.h"
#include "engine/storage/VTRPage.h"
#include "platform/os/OSFile.h"
#include "platform/os/RetryPolicy.h"
#include "tests/engine/storage/common/StoppingFileSeam.h"
#include "tests/engine/storage/system/Catalogue.h"

namespace {

void Say(const char* text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

void WaitForLine() {
  char byte;
  while (::read(STDIN_FILENO, &byte, 1) == 1 && byte != '\n') {
  }
}

// The line read, without its end; false at the end of the input.
bool ReadLine(std::string& line) {
  line.clear();
  char byte;
  while (::read(STDIN_FILENO, &byte, 1) == 1) {
    if (byte == '\n') return true;
    line.push_back(byte);
  }
  return !line.empty();
}

void WaitForEnd() {
  char byte;
  while (::read(STDIN_FILENO, &byte, 1) > 0) {
  }
}

void ChangePage(TVTRDiskPageManager& manager, int32_t page_no, uint8_t value) {
  HeldPage page(manager.GetPage(0, page_no, kAnyPageType));
  page->Data()[0] = value;
  page->SetDirty(true);
}

}  // namespace

void ConnectSessions(TVTRDiskPageManager& manager, int count) {
  Catalogue catalogue(manager);
  std::string slots = "slots";
  for (int i = 0; i < count; ++i) slots += " " + std::to_string(catalogue.sessions.Connect());
  Say(slots.c_str());
  std::string line;
  while (ReadLine(line)) {
    if (line != "reopen") continue;
    OSFile::Open(manager.DatabaseFile().FileName(), OSFileAccess::kReadWrite).Close();
    Say("reopened");
  }
}

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  // Waits stay short whatever goes wrong.
  SetRetryCaps({200, 5});
  const std::string command = argv[2];
  const int32_t page_no = argc > 3 ? std::atoi(argv[3]) : 0;
  const uint8_t value = argc > 4 ? static_cast<uint8_t>(std::atoi(argv[4])) : 0;
  try {
    TVTRDiskPageManager manager;
    bool multi_user = true;
    bool needs_repair = false;
    bool read_only = false;
    manager.OpenDatabase(argv[1], TVTRPassword{}, multi_user, false, needs_repair, read_only);
    if (command == "hold-header") {
      if (!manager.LockHeader()) return 3;
      Say("locked");
      WaitForEnd();
    } else if (command == "stop-commit" && argc > 6) {
      const std::string action = argv[6];
      StoppingFileSeam seam(argv[1]);
      ScopedFileSeam installed(seam);
      seam.Arm(std::atoi(argv[5]), action == "kill"  ? StoppingFileSeam::kKill
                                   : action == "cut" ? StoppingFileSeam::kCut
                                                     : StoppingFileSeam::kPause);
      ChangePage(manager, page_no, value);
      manager.Commit(0, true);
      seam.Disarm();
      Say("committed");
      WaitForEnd();
    } else if (command == "change") {
      ChangePage(manager, page_no, value);
      Say("changed");
      WaitForLine();
      manager.Commit(0, true);
      Say("committed");
      WaitForEnd();
    } else if (command == "connect" && argc > 3) {
      ConnectSessions(manager, std::atoi(argv[3]));
    } else if (command == "create-table" && argc > 3) {
      Catalogue catalogue(manager);
      AddTableEntry(manager, catalogue.tables, argv[3]);
      Say("created");
    } else {
      return 2;
    }
  } catch (const EVTRException& e) {
    std::printf("error %d\n", e.NativeError());
    return 1;
  }
  return 0;
}
