#pragma once
// The layout of one of the engine's own windows as data: the window's frame
// and its controls with their kind, position, size, text and settings. The
// window toolkit renders it; the logic beside it names the controls.
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/rtl/EnumSet.h"

enum TLayoutControlKind : uint8_t { lckLabel, lckEdit, lckButton, lckProgressBar, lckTimer };

enum TLayoutControlOption : uint8_t {
  lcoCentred,            // text centred horizontally
  lcoCentredVertically,  // text centred vertically
  lcoFixedSize,          // the size does not follow the text
  lcoWordWrap,
  lcoAnchorAll,  // follows the window's size on all four sides
  lcoDefaultButton,
  lcoCancelButton,
  lcoSmooth,    // a progress bar without steps
  lcoDisabled,  // a timer that does not run at start
};
using TLayoutControlOptions = EnumSet<TLayoutControlOption>;

enum TLayoutModalResult : uint8_t { lmrNone, lmrOk, lmrCancel };

struct TLayoutControl {
  std::string_view Name{};
  TLayoutControlKind Kind = lckLabel;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;   // 0: the control's own size
  int32_t Height = 0;  // 0: the control's own size
  std::string_view Text{};
  TLayoutControlOptions Options{};
  char PasswordChar = 0;  // edits: 0 shows the text
  TLayoutModalResult ModalResult = lmrNone;
  int32_t Min = 0;  // progress bars
  int32_t Max = 0;
  int32_t Step = 0;
  int32_t Interval = 0;  // timers, in milliseconds
};

enum TLayoutWindowOption : uint8_t {
  lwoDialogBorder,
  lwoNoBorderIcons,
  lwoStayOnTop,
  lwoHourglassCursor,
  lwoOwnIcon,
};
using TLayoutWindowOptions = EnumSet<TLayoutWindowOption>;

enum TLayoutWindowPosition : uint8_t { lwpScreenCenter, lwpDesktopCenter };

struct TWindowLayout {
  std::string_view Caption{};
  int32_t ClientWidth = 0;
  int32_t ClientHeight = 0;
  TLayoutWindowOptions Options{};
  TLayoutWindowPosition Position = lwpScreenCenter;
  std::string_view FontName{};  // empty: the toolkit's font
  int32_t FontSize = 0;       // points
  std::span<const TLayoutControl> Controls{};
};
