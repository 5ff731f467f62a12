// What the renderers draw from the printed items: band colours, stretched
// pictures and rules, at the places the layout gave them.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/report/internal/QtReport.h"
#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr double kDotsPerMm = 8;

QColor PixelAt(const QImage& image, double left_mm, double top_mm) {
  return image.pixelColor(static_cast<int>(left_mm * kDotsPerMm), static_cast<int>(top_mm * kDotsPerMm));
}

TEST(PaintingTest, PagesShowBandColoursPicturesAndRulesWhereTheyWerePlaced) {
  ScratchFolder folder;
  QImage logo(40, 20, QImage::Format_RGB32);
  logo.fill(Qt::blue);
  ASSERT_TRUE(logo.save(QString::fromStdString(folder.File("mylogo.jpg")), "JPG"));

  DonationReceipt receipt;
  receipt.header->SetColor(clBtnFace);
  auto* image = AddItem<TQRImage>(receipt.header, "QRImage1", 600, 0, 160, 80);
  image->LoadFromFile(folder.File("mylogo.jpg"));
  TQRPrintedReport pages = receipt.report->Render();
  const TQRPrintedPage& page = pages.pages[0];
  QImage drawn = PageImage(pages, 0, kDotsPerMm);

  const TQRRect band = page.BandsOf(rbPageHeader)[0]->bounds;
  EXPECT_EQ(QColor(0xF0, 0xF0, 0xF0), PixelAt(drawn, band.left + 1, band.top + 1)) << "the form colour";
  EXPECT_EQ(QColor(Qt::white), PixelAt(drawn, band.left + 1, band.Bottom() + 40)) << "below the bands";
  const TQRRect picture = page.Find("QRImage1")->bounds;
  for (auto [x, y] : {std::pair{0.1, 0.1}, {0.9, 0.9}, {0.5, 0.5}}) {
    const QColor pixel = PixelAt(drawn, picture.left + x * picture.width, picture.top + y * picture.height);
    EXPECT_GT(pixel.blue(), 200) << "stretched over its item at " << x << ", " << y;
    EXPECT_LT(pixel.red(), 60);
  }
  const TQRRect rule = page.Find("QRShape1")->bounds;
  const double rule_y = rule.top + rule.height / 2;
  EXPECT_LT(PixelAt(drawn, rule.left + 20, rule_y).lightness(), 100);
  EXPECT_GT(PixelAt(drawn, rule.left + 20, rule_y + 1).lightness(), 150);

  // Report windows whiten their bands in BeforePrint, so no form colour reaches paper.
  auto margins = receipt.report->BeforePrint;
  receipt.report->BeforePrint = [&](TQuickRep* sender, bool& print) {
    margins(sender, print);
    receipt.header->SetColor(clWhite);
  };
  pages = receipt.report->Render();
  drawn = PageImage(pages, 0, kDotsPerMm);
  EXPECT_EQ(QColor(Qt::white), PixelAt(drawn, band.left + 1, band.top + 1));
}

}  // namespace
