// The SQL engine's projection of TVTRDataSet: the dataset is closed and
// opened again on its own cursor, which then shows only the projected fields;
// and the hand-over of a result table's cursor to the query component.
#include <exception>

#include "engine/access/DataSet.h"

void TVTRDataSet::SetProjection(const TStringList& field_names, const TStringList& aliases) {
  TVTRCursor& cursor = CheckedCursor(10320);
  cursor.SetProjection(field_names, aliases);
  cursor.ProjectionSet = true;
  projection_cursor_ = &cursor;
  cursor.Bof = true;
  // The cursor lives until the end: as the dataset's, or kept while closed.
  const auto forget = [&] {
    cursor.ProjectionSet = false;
    projection_cursor_ = nullptr;
    kept_cursor_.reset();
  };
  // The flag keeps the database, and with it the cursor's session,
  // connected while the dataset is closed.
  try {
    WithDBFlag(dbfProjection, [&] {
      try {
        Close();
        Open();
      } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        // The dataset opens again on the table's own fields.
        try {
          Close();
          cursor.ProjectionSet = false;
          Open();
        } catch (...) {
          // The projection's failure is the one the caller hears about.
        }
        std::rethrow_exception(failure);
      }
    });
  } catch (...) {
    forget();
    throw;
  }
  forget();
}

std::unique_ptr<TVTRCursor> TVTRDataSet::HandOverCursor() {
  TVTRCursor& cursor = CheckedCursor(10320);
  SetDBFlag(dbfHandedOver, true);
  // Closing keeps the cursor of a projection: this one is kept for the caller.
  projection_cursor_ = &cursor;
  try {
    Close();
  } catch (...) {
    projection_cursor_ = nullptr;
    kept_cursor_.reset();
    ClearDBFlagQuietly(dbfHandedOver);
    throw;
  }
  projection_cursor_ = nullptr;
  return std::move(kept_cursor_);
}
