// JPEG decoding with libjpeg. libjpeg reports fatal errors through error_exit,
// which must not return: it jumps back to the decoder with longjmp. No object
// with a destructor is created between setjmp and the calls that may jump.

#include <csetjmp>
#include <cstdio>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "platform/ui/internal/PictureImpl.h"

namespace {

struct ErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ExitWithError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void Silence(j_common_ptr, int) {}

}  // namespace

QImage DecodeJpeg(const std::string& data, std::string& error) {
  QImage image;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = ExitWithError;
  errors.manager.emit_message = Silence;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    error = errors.message;
    return QImage();
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                 cmyk ? QImage::Format_RGB32 : QImage::Format_RGB888);
  if (image.isNull()) {
    jpeg_destroy_decompress(&info);
    error = "picture too large";
    return QImage();
  }
  while (info.output_scanline < info.output_height) {
    unsigned char* line = image.scanLine(static_cast<int>(info.output_scanline));
    if (!cmyk) {
      jpeg_read_scanlines(&info, &line, 1);
      continue;
    }
    // CMYK lines are decoded in place and widened to RGB; Adobe stores the inks inverted.
    jpeg_read_scanlines(&info, &line, 1);
    auto* pixels = reinterpret_cast<QRgb*>(line);
    for (unsigned x = 0; x < info.output_width; ++x) {
      const unsigned char* ink = line + 4 * x;
      const int k = ink[3];
      pixels[x] = qRgb(ink[0] * k / 255, ink[1] * k / 255, ink[2] * k / 255);
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return image;
}
