#include "platform/report/internal/PreviewWindow.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/report/internal/QtReport.h"
#include "platform/rtl/Application.h"

namespace {

constexpr double kScreenDotsPerMm = 96 / 25.4;
// Pixels of the view left around a fitted page, both ways together.
constexpr int kFitMargin = 12;

const char* const kFirst = "หน้าแรก";
const char* const kPrior = "ก่อนหน้า";
const char* const kNext = "ถัดไป";
const char* const kLast = "หน้าสุดท้าย";
const char* const kFit = "พอดีหน้าต่าง";
const char* const kActualSize = "100 %";
const char* const kPrint = "พิมพ์...";
const char* const kSavePdf = "บันทึกเป็น PDF...";
const char* const kClose = "ปิด";
const char* const kPageOf = "หน้า %1 จาก %2";
const char* const kNoPages = "ไม่มีหน้าที่จะพิมพ์";
const char* const kPdfFilter = "PDF (*.pdf)";

// The modal preview: one page at a time, fitted to the window or at its printed size.
class PreviewDialog : public QDialog {
 public:
  explicit PreviewDialog(TQRPreviewSession& session) : session_(session) {
    setWindowTitle(QString::fromStdString(session.Caption()));
    setObjectName("QRPreview");
    auto* bar = new QHBoxLayout;
    first_ = AddButton(bar, "first", kFirst, [this] { ShowPage(0); });
    prior_ = AddButton(bar, "prior", kPrior, [this] { ShowPage(page_ - 1); });
    next_ = AddButton(bar, "next", kNext, [this] { ShowPage(page_ + 1); });
    last_ = AddButton(bar, "last", kLast, [this] { ShowPage(PageCount() - 1); });
    page_label_ = new QLabel;
    page_label_->setObjectName("pageNumber");
    bar->addWidget(page_label_);
    bar->addStretch();
    AddButton(bar, "fit", kFit, [this] { SetFitted(true); });
    AddButton(bar, "actualSize", kActualSize, [this] { SetFitted(false); });
    print_ = AddButton(bar, "print", kPrint, [this] { PrintFromPreview(); });
    save_ = AddButton(bar, "savePdf", kSavePdf, [this] { SavePdf(); });
    AddButton(bar, "close", kClose, [this] { accept(); });

    page_view_ = new QLabel;
    page_view_->setObjectName("page");
    page_view_->setAlignment(Qt::AlignCenter);
    scroll_ = new QScrollArea;
    scroll_->setWidget(page_view_);
    scroll_->setWidgetResizable(true);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    // The page never holds the view open: fitted, it follows the view's size.
    page_view_->setMinimumSize(1, 1);
    scroll_->viewport()->installEventFilter(this);
    SetFitted(true);
    ShowPage(0);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && fitted_) Redraw();
    return QDialog::eventFilter(watched, event);
  }

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_PageDown) {
      ShowPage(page_ + 1);
    } else if (event->key() == Qt::Key_PageUp) {
      ShowPage(page_ - 1);
    } else {
      QDialog::keyPressEvent(event);
    }
  }

 private:
  template <typename Handler>
  QPushButton* AddButton(QHBoxLayout* bar, const char* name, const char* caption, Handler handler) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    bar->addWidget(button);
    return button;
  }

  int PageCount() const { return session_.Pages().PageCount(); }

  void ShowPage(int index) {
    page_ = std::clamp(index, 0, std::max(PageCount() - 1, 0));
    const bool has_pages = PageCount() > 0;
    first_->setEnabled(page_ > 0);
    prior_->setEnabled(page_ > 0);
    next_->setEnabled(page_ + 1 < PageCount());
    last_->setEnabled(page_ + 1 < PageCount());
    print_->setEnabled(has_pages);
    save_->setEnabled(has_pages);
    page_label_->setText(has_pages ? QString::fromUtf8(kPageOf).arg(page_ + 1).arg(PageCount())
                                   : QString::fromUtf8(kNoPages));
    Redraw();
  }

  void SetFitted(bool fitted) {
    fitted_ = fitted;
    const Qt::ScrollBarPolicy bars = fitted ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    scroll_->setHorizontalScrollBarPolicy(bars);
    scroll_->setVerticalScrollBarPolicy(bars);
    Redraw();
  }

  double DotsPerMm() const {
    if (!fitted_) return kScreenDotsPerMm;
    const TQRPrintedReport& pages = session_.Pages();
    const QSize room = scroll_->viewport()->size() - QSize(kFitMargin, kFitMargin);
    return std::max(0.5, std::min(room.width() / pages.paper_width, room.height() / pages.paper_length));
  }

  void Redraw() {
    if (PageCount() == 0) {
      page_view_->clear();
      return;
    }
    const double ratio = devicePixelRatioF();
    QImage image = PageImage(session_.Pages(), page_, DotsPerMm() * ratio);
    image.setDevicePixelRatio(ratio);
    page_view_->setPixmap(QPixmap::fromImage(image));
  }

  void PrintFromPreview() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(PaperLayout(session_.Pages()));
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, PageCount());
    if (dialog.exec() != QDialog::Accepted) return;
    TQRPrinterSettings settings;
    settings.printer_name = printer.printerName().toStdString();
    if (printer.outputFormat() == QPrinter::PdfFormat)
      settings.output_file = printer.outputFileName().toStdString();
    settings.copies = printer.copyCount();
    if (printer.printRange() == QPrinter::PageRange) {
      settings.first_page = printer.fromPage();
      settings.last_page = printer.toPage();
    }
    Guarded([&] { session_.Print(settings); });
    ShowPage(page_);
  }

  void SavePdf() {
    const QString suggested = QString::fromStdString(session_.Caption()) + ".pdf";
    const QString file = QFileDialog::getSaveFileName(this, QString::fromUtf8(kSavePdf), suggested,
                                                      QString::fromUtf8(kPdfFilter));
    if (file.isEmpty()) return;
    Guarded([&] { session_.SaveAsPdf(file.toStdString()); });
  }

  // Errors of a button's work are shown; they never unwind through Qt.
  template <typename Work>
  void Guarded(Work work) {
    try {
      work();
    } catch (...) {
      Application().HandleException(nullptr);
    }
  }

  TQRPreviewSession& session_;
  QPushButton* first_;
  QPushButton* prior_;
  QPushButton* next_;
  QPushButton* last_;
  QPushButton* print_;
  QPushButton* save_;
  QLabel* page_label_;
  QLabel* page_view_;
  QScrollArea* scroll_;
  int page_ = 0;
  bool fitted_ = true;
};

class PreviewWindowService : public TQRPreviewService {
 public:
  void ShowPreview(TQRPreviewSession& session) override {
    PreviewDialog dialog(session);
    dialog.setWindowModality(Qt::ApplicationModal);
    // Large from the start: the whole screen's room even where no window
    // manager maximises it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) dialog.setGeometry(screen->availableGeometry());
    dialog.setWindowState(Qt::WindowMaximized);
    dialog.exec();
  }
};

}  // namespace

std::unique_ptr<TQRPreviewService> CreatePreviewWindowService() {
  return std::make_unique<PreviewWindowService>();
}
