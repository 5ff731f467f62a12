#pragma once
// Colours, fonts, cursors and rectangles of the window layer.
#include <cstdint>
#include <string>

#include "platform/rtl/EnumSet.h"

// A colour as 0x00BBGGRR; values with the top byte 0xFF name a system colour.
using TColor = int32_t;

constexpr TColor RGBColor(int red, int green, int blue) {
  return red | (green << 8) | (blue << 16);
}

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
// System colours: the button face of dialogs and panels, the window background of
// edit boxes, and their text.
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);
inline constexpr TColor clWindow = static_cast<TColor>(0xFF000005);
inline constexpr TColor clWindowText = static_cast<TColor>(0xFF000008);

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = EnumSet<TFontStyle>;

// A font as a form describes it: a family name as the design used it (the window
// layer substitutes installed families), a height in pixels at 96 per inch, a
// style and a colour.
class TFont {
 public:
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  int Height() const { return height_; }
  void SetHeight(int pixels) { height_ = pixels; }
  // Points at 96 pixels per inch.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style) { style_ = style; }
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }

  bool operator==(const TFont&) const = default;

 private:
  std::string name_ = "MS Sans Serif";
  int height_ = 11;
  TFontStyles style_;
  TColor color_ = clWindowText;
};

// An installed family that stands in for a family the forms name, with the factor
// that brings its text to about the width the design was made for.
struct TFontSubstitute {
  std::string family;
  double size_factor = 1.0;
};
// The substitute for a family name (ignoring case); an unknown name stands for itself.
TFontSubstitute SubstituteFont(const std::string& name);

enum TCursor : uint8_t { crDefault, crHourGlass };

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
