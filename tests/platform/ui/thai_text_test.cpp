// Thai text on forms: the substituted families have the glyphs, marks stack on
// their consonants, and a grab of the window shows the text.
#include <QFontInfo>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>
#include <QWidget>
#include <string>

#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/QtSupport.h"
#include "tests/platform/ui/support/Grab.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

// The glyphs Qt's text layout picks for the text in the font: a glyph index of 0
// is the empty box of a font without that character.
QList<QGlyphRun> Shape(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  return layout.glyphRuns();
}

TEST(FontSubstitution, MapsTheWindowsThaiFamiliesToInstalledOnes) {
  struct Case {
    const char* name;
    const char* family;
  };
  for (const Case& c :
       {Case{"CordiaUPC", "Umpush"}, Case{"cordiaupc", "Umpush"}, Case{"EucrosiaUPC", "Kinnari"},
        Case{"MS Sans Serif", "Loma"}, Case{"Tahoma", "Tahoma"}}) {
    EXPECT_EQ(SubstituteFont(c.name).family, c.family) << c.name;
  }
  TFont font;
  font.SetName("CordiaUPC");
  font.SetHeight(19);
  EXPECT_EQ(QFontInfo(ToQFont(font)).family(), "Umpush");
  EXPECT_EQ(ToQFont(font).pixelSize(), 12);
}

using ThaiTextTest = UiTest;

TEST_F(ThaiTextTest, LabelsInCordiaShowThaiGlyphs) {
  auto* form = FormsApplication().CreateForm<TForm>();
  form->SetBounds(0, 0, 420, 120);
  form->SetColor(clWhite);
  TFont font;
  font.SetName("CordiaUPC");
  font.SetHeight(29);
  form->SetFont(font);
  auto* label1 = new TLabel(form);
  label1->SetBounds(10, 10, 0, 0);
  label1->SetCaption("ทะเบียนพระ - นักบวช");
  auto* label2 = new TLabel(form);
  label2->SetBounds(10, 60, 0, 0);
  label2->SetCaption("ใบอนุโมทนาบัตร");
  form->Show();
  user::ProcessEvents();

  for (const TLabel* label : {label1, label2}) {
    const QWidget* widget = label->Native().Widget();
    for (const QGlyphRun& run : Shape(ToQString(label->Caption()), widget->font())) {
      EXPECT_EQ(run.rawFont().familyName(), "Umpush");
      for (quint32 glyph : run.glyphIndexes()) EXPECT_NE(glyph, 0u) << label->Caption();
    }
  }
  // The tone mark of "นิ้ว" sits above its consonant: shaping gives it no advance of its own.
  const QList<QGlyphRun> runs = Shape(QString::fromUtf8("นิ้ว"), label1->Native().Widget()->font());
  ASSERT_FALSE(runs.isEmpty());
  const QList<QPointF> positions = runs.front().positions();
  ASSERT_EQ(positions.size(), 4);
  EXPECT_DOUBLE_EQ(positions[1].x(), positions[2].x());

  const QImage grab = form->FormNative().Window()->grab().toImage();
  const std::string artefact = "thai_labels_" + QGuiApplication::platformName().toStdString() + ".png";
  EXPECT_TRUE(grab.save(QString::fromStdString(artefact), "PNG"));
  for (const TLabel* label : {label1, label2}) {
    const QRect area = label->Native().Widget()->geometry();
    EXPECT_GT(InkedPixels(grab, area), area.width() * area.height() / 50) << label->Caption();
  }
}

}  // namespace
