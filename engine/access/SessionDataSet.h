#pragma once
// What the session and database components need of a dataset attached to
// them. The dataset component (TVTRDataSet, with TVTRTable and TVTRQuery)
// implements it; the database component keeps the attached ones in its
// dataset list and disconnects them when it closes, and an automatically
// named session hands its name to the datasets of its owner.
#include <string>

class TVTRSessionDataSet {
 public:
  // A query dataset: a database disconnects its queries before the others.
  virtual bool IsQuery() const = 0;
  // Closes the dataset (a query also unprepares) and detaches it.
  virtual void Disconnect() = 0;
  virtual const std::string& SessionName() const = 0;
  virtual void SetSessionName(const std::string& name) = 0;

 protected:
  ~TVTRSessionDataSet() = default;
};
