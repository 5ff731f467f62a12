#pragma once
// A picture on a form: at its own size from the top left corner, centred, or
// stretched over the control.
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Picture.h"

class TImage : public TControl {
 public:
  explicit TImage(TComponent* owner);

  const TPicture& Picture() const { return picture_; }
  void SetPicture(const TPicture& picture);
  // Raises EInvalidGraphic naming the file when it is missing or undecodable; the
  // picture shown stays as it was.
  void LoadFromFile(const std::string& file_name);
  void Clear();
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  bool Center() const { return center_; }
  void SetCenter(bool center);

 private:
  void Repaint();

  TPicture picture_;
  bool stretch_ = false;
  bool center_ = false;
};
