#include "platform/ui/Picture.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/rtl/Format.h"
#include "platform/ui/internal/PictureImpl.h"
#include "platform/ui/internal/QtSupport.h"

TPicture::TPicture() : impl_(std::make_unique<TPictureImpl>()) {}
TPicture::TPicture(const TPicture& other) : impl_(std::make_unique<TPictureImpl>(*other.impl_)) {}
TPicture& TPicture::operator=(const TPicture& other) {
  *impl_ = *other.impl_;
  return *this;
}
TPicture::~TPicture() = default;

void TPicture::LoadFromFile(const std::string& file_name) {
  std::ifstream file(std::filesystem::path(std::u8string(file_name.begin(), file_name.end())),
                     std::ios::binary);
  if (!file) throw EInvalidGraphic(Format("Cannot open file \"%s\". No such file or directory", file_name));
  const std::string data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const bool jpeg = data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0xFF &&
                    static_cast<unsigned char>(data[1]) == 0xD8;
  std::string error = "unknown picture format";
  QImage image;
  if (jpeg) {
    image = DecodeJpeg(data, error);
  } else {
    image.loadFromData(reinterpret_cast<const uchar*>(data.data()), static_cast<int>(data.size()));
  }
  if (image.isNull()) throw EInvalidGraphic(Format("Cannot read the picture \"%s\": %s", file_name, error));
  impl_->image = std::move(image);
}

void TPicture::Clear() {
  impl_->image = QImage();
}
bool TPicture::Empty() const {
  return impl_->image.isNull();
}
int TPicture::Width() const {
  return impl_->image.width();
}
int TPicture::Height() const {
  return impl_->image.height();
}
