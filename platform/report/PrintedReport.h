#pragma once
// The pages of a generated report with everything placed on them. One layout
// pass makes this; the preview, the printer, the PDF file and the tests all read
// it, so what they show cannot differ. Positions and sizes are millimetres from
// the top left corner of the paper.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/Picture.h"

enum TQRBandType : uint8_t {
  rbTitle,
  rbPageHeader,
  rbColumnHeader,
  rbDetail,
  rbGroupHeader,
  rbGroupFooter,
  rbSummary,
  rbPageFooter,
};

enum TQRShapeType : uint8_t { qrsHorLine, qrsVertLine, qrsRectangle };

struct TQRRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
};

// One line of a text item: drawn whole, starting at `left`, on `baseline`.
struct TQRTextLine {
  std::string text;
  double left = 0;
  double baseline = 0;
};

enum class TQRItemKind : uint8_t { Text, Shape, Image };

struct TQRPrintedItem {
  std::string name;  // the component's name, e.g. "QRLabel57"
  std::string kind;  // its class, e.g. "TQRLabel"
  TQRItemKind item_kind = TQRItemKind::Text;
  // Text items: the text as printed; a wrapped text is split into `lines`.
  std::string text;
  std::vector<TQRTextLine> lines;
  TQRRect bounds;
  // The font as the report names it (the renderers substitute an installed
  // family): font.Name() is the family, font.Size() the size in points.
  TFont font;
  // Shapes.
  TQRShapeType shape = qrsHorLine;
  double pen_width = 0;
  TColor pen_color = clBlack;
  // Images: drawn stretched over `bounds`.
  std::shared_ptr<const TPicture> picture;
};

struct TQRPrintedBand {
  std::string name;
  TQRBandType type = rbDetail;
  TQRRect bounds;
  TColor color = clWhite;
};

struct TQRPrintedPage {
  int number = 0;
  std::vector<TQRPrintedBand> bands;
  std::vector<TQRPrintedItem> items;

  // The first item of that name on the page, or null.
  const TQRPrintedItem* Find(std::string_view name) const;
  // Every item of that name, in the order printed (a detail item once per row).
  std::vector<const TQRPrintedItem*> FindAll(std::string_view name) const;
  // The first item that prints exactly `text`, or null.
  const TQRPrintedItem* FindText(std::string_view text) const;
  // The bands of that type, in the order printed.
  std::vector<const TQRPrintedBand*> BandsOf(TQRBandType type) const;
};

struct TQRPrintedReport {
  std::string title;
  double paper_width = 0;
  double paper_length = 0;
  std::vector<TQRPrintedPage> pages;

  int PageCount() const { return static_cast<int>(pages.size()); }
};
