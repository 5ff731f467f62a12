#pragma once
// The root of the class library's object model.
#include <functional>
#include <string>

class TObject {
 public:
  virtual ~TObject() = default;
  // The name of the object's most derived class, as messages show it ("TIntegerField").
  std::string ClassName() const;
};

using TNotifyEvent = std::function<void(TObject* sender)>;
