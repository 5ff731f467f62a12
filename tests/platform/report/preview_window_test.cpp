// The preview window itself: paging, zoom and a grab of a Thai receipt (kept in
// the build folder as report_preview_<platform>.png).
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLabel>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QScrollArea>
#include <QTextLayout>
#include <QTimer>

#include "platform/report/PreviewService.h"
#include "platform/report/internal/QtReport.h"
#include "tests/platform/report/ReportTestSupport.h"

namespace {

class PreviewWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    previous_ = SetPreviewService(nullptr);
  }
  void TearDown() override {
    SetPreviewService(std::move(previous_));
    UiTest::TearDown();
  }

  // Runs `check` on the preview window once it shows, then closes it with its own button.
  void WhileShown(TQuickRep* report, const std::function<void(QWidget&)>& check) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
      QWidget* window = QApplication::activeModalWidget();
      if (window == nullptr || window->objectName() != "QRPreview") {
        ADD_FAILURE() << "no preview window";
        if (window != nullptr) window->close();
        return;
      }
      shown = true;
      check(*window);
      window->findChild<QPushButton*>("close")->click();
    });
    report->Preview();
    EXPECT_TRUE(shown);
  }

 private:
  std::unique_ptr<TQRPreviewService> previous_;
};

QString PageText(QWidget& window) {
  return window.findChild<QLabel*>("pageNumber")->text();
}

void Click(QWidget& window, const char* button) {
  window.findChild<QPushButton*>(button)->click();
}

TEST_F(PreviewWindowTest, PagesThroughTheReport) {
  DonationReceipt receipt;
  receipt.detail->SetHeight(300);
  receipt.report->SetReportTitle("ใบรับบริจาค");
  int after_preview = 0;
  receipt.report->AfterPreview = [&](TObject*) { ++after_preview; };
  WhileShown(receipt.report, [&](QWidget& window) {
    EXPECT_EQ(QString::fromUtf8("ใบรับบริจาค"), window.windowTitle());
    EXPECT_EQ(QString::fromUtf8("หน้า 1 จาก 3"), PageText(window));
    EXPECT_FALSE(window.findChild<QPushButton*>("prior")->isEnabled());
    Click(window, "next");
    EXPECT_EQ(QString::fromUtf8("หน้า 2 จาก 3"), PageText(window));
    Click(window, "last");
    EXPECT_EQ(QString::fromUtf8("หน้า 3 จาก 3"), PageText(window));
    EXPECT_FALSE(window.findChild<QPushButton*>("next")->isEnabled());
    Click(window, "prior");
    EXPECT_EQ(QString::fromUtf8("หน้า 2 จาก 3"), PageText(window));
    Click(window, "first");
    EXPECT_EQ(QString::fromUtf8("หน้า 1 จาก 3"), PageText(window));
    EXPECT_EQ(0, after_preview);
  });
  EXPECT_EQ(1, after_preview);
}

TEST_F(PreviewWindowTest, OpensMaximisedAndZoomsToTheWindowOrToPrintedSize) {
  DonationReceipt receipt;
  WhileShown(receipt.report, [&](QWidget& window) {
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_TRUE(window.isMaximized());
    EXPECT_GE(window.frameGeometry().width(), screen.width() * 95 / 100);
    EXPECT_GE(window.frameGeometry().height(), screen.height() * 95 / 100);
    const auto* page = window.findChild<QLabel*>("page");
    const auto* viewport = window.findChild<QScrollArea*>()->viewport();
    // The fitted page fits the view and fills it in the dimension that binds it.
    auto expect_fitted = [&] {
      const QSizeF shown = page->pixmap().deviceIndependentSize();
      EXPECT_LE(shown.width(), viewport->width());
      EXPECT_LE(shown.height(), viewport->height());
      EXPECT_GE(std::max(shown.width() / viewport->width(), shown.height() / viewport->height()), 0.95)
          << shown.width() << " x " << shown.height() << " in " << viewport->width() << " x " << viewport->height();
    };
    expect_fitted();
    Click(window, "actualSize");
    EXPECT_NEAR(215.9 * 96 / 25.4, page->pixmap().deviceIndependentSize().width(), 1);
    Click(window, "fit");
    expect_fitted();
    // A tall window binds the page by its width.
    window.setWindowState(Qt::WindowNoState);
    window.resize(500, 900);
    QApplication::processEvents();
    expect_fitted();
  });
}

TEST_F(PreviewWindowTest, EmptyReportShowsNoPage) {
  DonationReceipt receipt;
  receipt.report->SetDataSet(StaffQuery(&receipt.host, {}));
  receipt.report->SetPrintIfEmpty(false);
  WhileShown(receipt.report, [&](QWidget& window) {
    EXPECT_EQ(QString::fromUtf8("ไม่มีหน้าที่จะพิมพ์"), PageText(window));
    EXPECT_FALSE(window.findChild<QPushButton*>("print")->isEnabled());
    EXPECT_FALSE(window.findChild<QPushButton*>("savePdf")->isEnabled());
  });
}

// The glyphs Qt's text layout picks: index 0 is the empty box of a missing character.
QList<QGlyphRun> Shape(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  return layout.glyphRuns();
}

int DarkPixels(const QImage& image, QRect area) {
  int dark = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x)
      dark += image.pixelColor(x, y).lightness() < 100 ? 1 : 0;
  }
  return dark;
}

TEST_F(PreviewWindowTest, ThaiReceiptIsShapedOnScreen) {
  DonationReceipt receipt;
  const QFont font = ReportFont(receipt.title->Font());
  for (const char* text : {"ใบรับบริจาค", "ขออนุโมทนา", "ผ้าป่า"}) {
    for (const QGlyphRun& run : Shape(QString::fromUtf8(text), font)) {
      EXPECT_EQ("Umpush", run.rawFont().familyName());
      for (quint32 glyph : run.glyphIndexes()) EXPECT_NE(0u, glyph) << text;
    }
  }
  // Vowels and tone marks stack on their consonants: they add no width.
  const QFontMetricsF metrics(font);
  EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QString::fromUtf8("บรจาค")),
                   metrics.horizontalAdvance(QString::fromUtf8("บริจาค")));
  EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QString::fromUtf8("ผาปา")),
                   metrics.horizontalAdvance(QString::fromUtf8("ผ้าป่า")));

  const TQRPrintedReport pages = receipt.report->Render();
  const TQRRect title = pages.pages[0].Find("QRLabel1")->bounds;
  WhileShown(receipt.report, [&](QWidget& window) {
    Click(window, "actualSize");
    const QImage grab = window.grab().toImage();
    const std::string artefact = "report_preview_" + QGuiApplication::platformName().toStdString() + ".png";
    EXPECT_TRUE(grab.save(QString::fromStdString(artefact), "PNG"));
    // Where the window shows the title: the page is centred in its view.
    const auto* page = window.findChild<QLabel*>("page");
    const QSizeF shown = page->pixmap().deviceIndependentSize();
    const QPointF corner = QPointF(page->mapTo(&window, QPoint(0, 0))) +
                           QPointF(page->width() - shown.width(), page->height() - shown.height()) / 2;
    const double dots_per_mm = shown.width() / pages.paper_width;
    const double ratio = grab.devicePixelRatio();
    const QRect title_area(QPoint(static_cast<int>((corner.x() + title.left * dots_per_mm) * ratio),
                                  static_cast<int>((corner.y() + title.top * dots_per_mm) * ratio)),
                           QSize(static_cast<int>(title.width * dots_per_mm * ratio),
                                 static_cast<int>(title.height * dots_per_mm * ratio)));
    EXPECT_GT(DarkPixels(grab, title_area), title_area.width() * title_area.height() / 40) << artefact;
    EXPECT_EQ(0, DarkPixels(grab, title_area.translated(0, title_area.height() * 2))) << "below the title";
  });
}

}  // namespace
