#pragma once
// A picture loaded from a file: JPEG files (decoded with libjpeg) and the
// formats Qt reads itself (PNG, BMP) for glyphs.
#include <memory>
#include <string>

#include "platform/rtl/Exception.h"

class TPictureImpl;

// A picture file that is missing or cannot be decoded; the message names the file.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class TPicture {
 public:
  TPicture();
  TPicture(const TPicture& other);
  TPicture& operator=(const TPicture& other);
  ~TPicture();

  // Raises EInvalidGraphic for a missing or undecodable file; the picture is then unchanged.
  void LoadFromFile(const std::string& file_name);
  void Clear();
  bool Empty() const;
  int Width() const;
  int Height() const;

  TPictureImpl& Native() const { return *impl_; }

 private:
  std::unique_ptr<TPictureImpl> impl_;
};
