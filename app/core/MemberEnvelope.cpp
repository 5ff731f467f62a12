#include "app/core/MemberEnvelope.h"

#include "app/core/WhileOpen.h"
#include "platform/db/DB.h"
#include "platform/rtl/TextCase.h"
#include "platform/ui/Control.h"

namespace {

constexpr double kMargin = 10;
constexpr int kLineHeight = 24;
constexpr int kSenderLeft = 20;
constexpr int kMemberLeft = 300;

}  // namespace

TMemberEnvelope::TMemberEnvelope(TComponent* owner, TDataSet& members, const std::string& alias,
                                 const EnvelopeLayout& layout)
    : TComponent(owner),
      QuickRep1(new TQuickRep(this)),
      TitleBand1(new TQRBand(QuickRep1, rbTitle)),
      QRLabel1(Line("QRLabel1", kMemberLeft - 80, layout.addressee_top)),
      QRLabel14(Line("QRLabel14", kMemberLeft, layout.addressee_top)),
      QRLabel3(Line("QRLabel3", kMemberLeft, layout.addressee_top + kLineHeight)),
      QRLabel4(Line("QRLabel4", kMemberLeft, layout.addressee_top + 2 * kLineHeight)),
      QRLabel5(Line("QRLabel5", kMemberLeft, layout.addressee_top + 3 * kLineHeight)),
      QRLabel6(Line("QRLabel6", kSenderLeft, 0)),
      QRLabel7(Line("QRLabel7", kSenderLeft, kLineHeight)),
      members_(members),
      column_prefix_(layout.column_prefix),
      office_(new TVTRTable(this)) {
  TQRPage& page = QuickRep1->Page();
  page.SetPaperSize(TQRPaperSize::Custom);
  page.SetWidth(layout.paper_width);
  page.SetLength(layout.paper_length);
  page.SetTopMargin(kMargin);
  page.SetBottomMargin(kMargin);
  page.SetLeftMargin(kMargin);
  page.SetRightMargin(kMargin);
  QuickRep1->SetPrintIfEmpty(true);
  TitleBand1->SetName("TitleBand1");
  TitleBand1->SetHeight(layout.addressee_top + 5 * kLineHeight);
  TitleBand1->BeforePrint = Bind(this, &TMemberEnvelope::TitleBand1BeforePrint);
  QRLabel1->SetCaption(kEnvelopeTo);
  office_->SetDatabaseName(alias);
  office_->SetTableName("tresksys");
  office_->SetReadOnly(true);
}

TQRLabel* TMemberEnvelope::Line(const char* name, int left, int top) {
  auto* label = new TQRLabel(TitleBand1);
  label->SetName(name);
  label->SetLeft(left);
  label->SetTop(top);
  return label;
}

void TMemberEnvelope::TitleBand1BeforePrint(TQRBand*, bool&) {
  const auto text = [this](const char* column) {
    return members_.FieldByName(column_prefix_ + column)->AsString();
  };
  const bool member = members_.Active() && !members_.IsEmpty();
  QRLabel14->SetCaption(member ? text("_name") : std::string());
  QRLabel3->SetCaption(member ? text("_add1") : std::string());
  QRLabel4->SetCaption(member ? text("_add2") : std::string());
  QRLabel5->SetCaption(member ? text("_add4") + " " + text("_zip") : std::string());

  WhileOpen(*office_, [this] {
    const bool sender = !office_->IsEmpty();
    const auto field = [this](const char* column) { return office_->FieldByName(column)->AsString(); };
    QRLabel6->SetCaption(sender ? Trim(field("of_name")) : std::string());
    QRLabel7->SetCaption(sender ? JoinAddressParts({field("of_add1"), field("of_add2"), field("of_add4"),
                                                    field("of_zip")})
                                : std::string());
    return sender;
  });
}
