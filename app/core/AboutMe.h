#pragma once
// TAboutMe: the about box of both programs. It shows the product's title and
// version and the licence text of "OrvaneLc.txt" in the working folder, read
// at the first activation (a missing file is reported and the memo stays
// empty). It has no close box: a click on the picture closes it. The two
// links open our web pages with the system's browser.
#include "platform/ui/Form.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Memo.h"
#include "platform/ui/Panel.h"

inline constexpr const char* kAboutWebPage = "https://quillmark.example/";
inline constexpr const char* kAboutSupportPage = "https://quillmark.example/support";

class TAboutMe : public TForm {
 public:
  explicit TAboutMe(TComponent* owner);

  TPanel* Panel1;
  TImage* Image2;
  TLabel* Label1;  // title
  TLabel* Label2;  // version
  TMemo* Memo1;
  TLabel* Label6;  // web page link
  TLabel* Label8;  // support link

  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void Image2Click(TObject* sender);
  void Label6Click(TObject* sender);
  void Label8Click(TObject* sender);
  void Label6MouseMove(TObject* sender, TShiftState shift, int x, int y);
  void Panel1MouseMove(TObject* sender, TShiftState shift, int x, int y);

 private:
  void SetLinkColor(TColor color);

  bool licence_read_ = false;
};
