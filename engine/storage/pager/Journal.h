#pragma once
// TVTRJournal: the journal file of one database file (layout in
// JournalFormat.h) as one process writes and reads it. Only a process that
// holds the database's header lock calls it, so however many processes share
// the database there is one journal at a time, and nobody reads a journal
// that is being written.
//
// Writing, by a commit: Start; Add the before-image of every page the commit
// will overwrite and Write them (synced for a flushed commit) before the
// first byte of the database changes; Add and Write a page found later before
// it is overwritten; Invalidate once the commit is whole. The file stays
// open between commits, and is opened again when another process deleted it.
//
// Reading, by a process that found a commit cut short: Read answers the
// header and the entries of an intact journal; Remove deletes the file.
//
// Errors are engine errors naming the journal file (codes in Journal.cpp).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/storage/pager/DatabaseFile.h"
#include "engine/storage/pager/JournalFormat.h"

// Where an intact entry's image lies in the journal file.
struct JournalEntryPlace {
  int32_t PageNo = 0;
  int32_t Length = 0;
  int64_t ImagePosition = 0;
};

struct JournalContents {
  JournalHeader Header;
  std::vector<JournalEntryPlace> Entries;  // in the order written
};

class TVTRJournal {
 public:
  explicit TVTRJournal(std::string file_name) : file_name_(std::move(file_name)) {}
  TVTRJournal(const TVTRJournal&) = delete;
  TVTRJournal& operator=(const TVTRJournal&) = delete;

  const std::string& FileName() const { return file_name_; }
  // Between Start and Invalidate (or Abandon).
  bool Active() const { return active_; }
  // The header Start was given.
  const JournalHeader& Header() const { return header_; }

  // Opens the file, creating it with `permissions` (the database file's),
  // and begins a journal with this header; nothing is written yet.
  void Start(const JournalHeader& header, uint32_t permissions);
  // Whether the page's before-image is in this journal, or the page lies
  // past the end the database file had, where no image is needed.
  bool Covers(int32_t page_no) const;
  // Marks the page covered without an image.
  void CoverWithoutImage(int32_t page_no);
  // Room for the before-image of `length` bytes of the page (or of the file
  // header), to be filled before the next Write; the page is covered from now.
  uint8_t* Add(int32_t page_no, int32_t length);
  // Writes what was added since the last Write (the header first); syncs when asked.
  void Write(bool sync);
  // Clears the header, so that the journal describes no commit; syncs when asked.
  void Invalidate(bool sync);
  // Ends a journal that never reached the file, or whose file failed.
  void Abandon() { active_ = false; }

  // The header and the intact entries of the journal in the file, or nullopt
  // when there is no file or its header is not whole. Entries end at the
  // first that is not intact or whose head is out of range for this header.
  std::optional<JournalContents> Read();
  // Reads an image of an entry that Read listed.
  void ReadImage(const JournalEntryPlace& entry, uint8_t* image);
  // Clears the header of the file this object has open, closes it and
  // deletes the journal file: it describes no commit any more.
  void Remove();
  void Close();

 private:
  void OpenFile(uint32_t permissions);

  std::string file_name_;
  TVTRDatabaseFile file_;
  bool active_ = false;
  JournalHeader header_;
  std::vector<int32_t> covered_;  // sorted page numbers
  std::vector<uint8_t> pending_;  // what Write writes next, at write_position_
  std::vector<int64_t> pending_entries_;  // where each added entry starts in pending_
  int64_t write_position_ = 0;
  bool header_written_ = false;
};
