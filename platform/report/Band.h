#pragma once
// Bands of a report form: horizontal strips as wide as the space between the
// margins, printed by kind (see TQuickRep), each with its items.
#include <functional>
#include <string>
#include <vector>

#include "platform/report/PrintedReport.h"
#include "platform/rtl/Component.h"
#include "platform/ui/Graphics.h"

class TQuickRep;
class TQRBand;
class TQRPrintable;

// Runs before the band prints; a handler may change the band and its items, and
// setting print_band to false leaves the band out this time.
using TQRBandBeforePrintEvent = std::function<void(TQRBand* sender, bool& print_band)>;
using TQRBandAfterPrintEvent = std::function<void(TQRBand* sender, bool band_printed)>;

class TQRBand : public TComponent {
 public:
  TQRBand(TQuickRep* report, TQRBandType type);

  TQuickRep* ParentReport() const;
  TQRBandType BandType() const { return band_type_; }
  void SetBandType(TQRBandType type) { band_type_ = type; }
  // Pixels at 96 per inch.
  int Height() const { return height_; }
  void SetHeight(int pixels) { height_ = pixels; }
  // The printable width of the report, in pixels at 96 per inch.
  int Width() const;
  // Filled behind the items unless white.
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  // A disabled band neither prints nor runs its events.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // The items on the band, in the order they were created.
  std::vector<TQRPrintable*> Items() const;

  TQRBandBeforePrintEvent BeforePrint;
  TQRBandAfterPrintEvent AfterPrint;

 private:
  TQRBandType band_type_;
  int height_ = 40;
  TColor color_ = clWhite;
  bool enabled_ = true;
};

// A group of consecutive rows with one value of an expression: a field of the
// report's dataset, "Query1.accessory_no" or "accessory_no". The group is its
// own header band, which prints before the first row of each group (a disabled
// header keeps the group working); its footer band prints after the last row of
// each group, with the dataset still on that row.
class TQRGroup : public TQRBand {
 public:
  explicit TQRGroup(TQuickRep* report);

  const std::string& Expression() const { return expression_; }
  void SetExpression(std::string expression) { expression_ = std::move(expression); }
  TQRBand* FooterBand() const { return footer_band_; }
  // The band becomes a group footer.
  void SetFooterBand(TQRBand* band);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::string expression_;
  TQRBand* footer_band_ = nullptr;
};
