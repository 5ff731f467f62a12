#include "app/core/AboutMe.h"

#include "app/core/WorkingFolder.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr TColor kPanelColor = RGBColor(0, 0, 128);
constexpr const char* kCaption = " Quillmark";
constexpr const char* kTitle = "Quillmark";
constexpr const char* kVersion = "Version 20.0";
constexpr const char* kWebLinkText = "เว็บไซต์ Quillmark";
constexpr const char* kSupportLinkText = "ติดต่อฝ่ายบริการ";

TLabel* MakeLabel(TPanel* panel, int left, int top, const char* caption) {
  auto* label = new TLabel(panel);
  label->SetBounds(left, top, 0, 0);
  label->SetCaption(caption);
  return label;
}

}  // namespace

TAboutMe::TAboutMe(TComponent* owner)
    : TForm(owner),
      Panel1(new TPanel(this)),
      Image2(new TImage(Panel1)),
      Label1(MakeLabel(Panel1, 120, 16, kTitle)),
      Label2(MakeLabel(Panel1, 120, 44, kVersion)),
      Memo1(new TMemo(Panel1)),
      Label6(MakeLabel(Panel1, 16, 300, kWebLinkText)),
      Label8(MakeLabel(Panel1, 200, 300, kSupportLinkText)) {
  SetFormStyle(fsMDIChild);
  SetBorderStyle(bsSingle);
  SetBorderIcons({});
  SetPosition(poScreenCenter);
  SetCaption(kCaption);
  SetClientWidth(440);
  SetClientHeight(330);
  Panel1->SetAlign(alClient);
  // The links show white, and yellow under the mouse, on the dark panel.
  Panel1->SetColor(kPanelColor);
  Panel1->OnMouseMove = Bind(this, &TAboutMe::Panel1MouseMove);
  Image2->SetBounds(16, 16, 88, 88);
  Image2->SetStretch(true);
  Image2->OnClick = Bind(this, &TAboutMe::Image2Click);
  Memo1->SetBounds(16, 112, 408, 176);
  Memo1->SetReadOnly(true);
  Label6->OnClick = Bind(this, &TAboutMe::Label6Click);
  Label8->OnClick = Bind(this, &TAboutMe::Label8Click);
  Label6->OnMouseMove = Bind(this, &TAboutMe::Label6MouseMove);
  SetLinkColor(clWhite);
  OnActivate = Bind(this, &TAboutMe::FormActivate);
  OnClose = Bind(this, &TAboutMe::FormClose);
}

void TAboutMe::FormActivate(TObject*) {
  if (licence_read_) return;
  licence_read_ = true;
  Memo1->Lines().LoadFromFile(WorkingPath(kLicenceFileName));
}

void TAboutMe::FormClose(TObject*, TCloseAction& action) { action = caFree; }

void TAboutMe::Image2Click(TObject*) { Close(); }

void TAboutMe::Label6Click(TObject*) { OpenWithSystem(kAboutWebPage); }

void TAboutMe::Label8Click(TObject*) { OpenWithSystem(kAboutSupportPage); }

void TAboutMe::SetLinkColor(TColor color) {
  TFont font = Label6->Font();
  font.SetColor(color);
  Label6->SetFont(font);
}

void TAboutMe::Label6MouseMove(TObject*, TShiftState, int, int) { SetLinkColor(clYellow); }

void TAboutMe::Panel1MouseMove(TObject*, TShiftState, int, int) { SetLinkColor(clWhite); }
