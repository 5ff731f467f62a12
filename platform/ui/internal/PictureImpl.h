#pragma once
#include <QImage>
#include <string>

class TPictureImpl {
 public:
  QImage image;
};

// Decodes JPEG data; on failure returns a null image and says why in `error`.
QImage DecodeJpeg(const std::string& data, std::string& error);
