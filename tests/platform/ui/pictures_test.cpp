// Pictures from JPEG files and the file list that picks them.
#include <unistd.h>

#include <QImage>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "platform/ui/FileListBox.h"
#include "platform/ui/Form.h"
#include "platform/ui/Image.h"
#include "platform/ui/internal/ControlImpl.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

namespace fs = std::filesystem;

// Writes a JPEG of one colour with libjpeg.
void WriteJpeg(const fs::path& path, int width, int height, unsigned char red, unsigned char green,
               unsigned char blue) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[3 * x] = red;
    row[3 * x + 1] = green;
    row[3 * x + 2] = blue;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

bool Near(QColor color, int red, int green, int blue) {
  return std::abs(color.red() - red) < 12 && std::abs(color.green() - green) < 12 &&
         std::abs(color.blue() - blue) < 12;
}

class PicturesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    folder_ = fs::temp_directory_path() / ("vtr_pictures_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    form_ = FormsApplication().CreateForm<TForm>();
    form_->SetBounds(0, 0, 300, 300);
    form_->Show();
  }
  void TearDown() override {
    UiTest::TearDown();
    fs::remove_all(folder_);
  }

  fs::path folder_;
  TForm* form_ = nullptr;
};

TEST_F(PicturesTest, ImageShowsAJpegAtItsOwnSizeOrStretched) {
  const fs::path logo = folder_ / "mylogo.jpg";
  WriteJpeg(logo, 40, 30, 200, 30, 30);
  auto* image = new TImage(form_);
  image->SetBounds(0, 0, 100, 100);
  image->LoadFromFile(logo.string());
  EXPECT_EQ(image->Picture().Width(), 40);
  EXPECT_EQ(image->Picture().Height(), 30);
  QImage shown = image->Native().Widget()->grab().toImage();
  EXPECT_TRUE(Near(shown.pixelColor(20, 15), 200, 30, 30));
  EXPECT_FALSE(Near(shown.pixelColor(60, 50), 200, 30, 30));
  image->SetStretch(true);
  shown = image->Native().Widget()->grab().toImage();
  EXPECT_TRUE(Near(shown.pixelColor(90, 90), 200, 30, 30));
  image->Clear();
  EXPECT_TRUE(image->Picture().Empty());
}

TEST_F(PicturesTest, AMissingOrBrokenFileIsAnErrorNamingIt) {
  auto* image = new TImage(form_);
  const fs::path good = folder_ / "temp.jpg";
  WriteJpeg(good, 8, 8, 0, 0, 255);
  image->LoadFromFile(good.string());
  const fs::path broken = folder_ / "broken.jpg";
  std::ofstream(broken, std::ios::binary) << "\xFF\xD8\xFF\xE0 not a picture";
  for (const std::string& name : {std::string("mylogo.jpg"), broken.string()}) {
    try {
      image->LoadFromFile(name);
      ADD_FAILURE() << "no error for " << name;
    } catch (const EInvalidGraphic& error) {
      EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(image->Picture().Width(), 8);
}

TEST_F(PicturesTest, FileListBoxListsTheMatchingFilesSorted) {
  for (const char* name : {"c.png", "B.JPG", "a.jpg"}) std::ofstream(folder_ / name) << "x";
  fs::create_directory(folder_ / "sub.jpg");
  auto* list = new TFileListBox(form_);
  list->SetMask("*.jpg");
  list->SetDirectory(folder_.string());
  EXPECT_EQ(list->Items(), (std::vector<std::string>{"a.jpg", "B.JPG"}));
  EXPECT_EQ(list->FileName(), "");
  int clicks = 0;
  list->OnClick = [&clicks](TObject*) { ++clicks; };
  list->SetItemIndex(0);
  EXPECT_EQ(clicks, 0);
  auto* view = static_cast<QListWidget*>(list->Native().Widget());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                    view->visualItemRect(view->item(1)).center());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list->FileName(), folder_.string() + "/B.JPG");
}

}  // namespace
