#include "engine/access/WaitWindow.h"

namespace {

constexpr TLayoutControl kControls[] = {
    {.Name = "lMessage", .Kind = lckLabel, .Left = 0, .Top = 0, .Width = 312, .Height = 49, .Text = "Wait...",
     .Options = {lcoCentred, lcoCentredVertically, lcoWordWrap, lcoAnchorAll}},
    {.Name = "pb", .Kind = lckProgressBar, .Left = 16, .Top = 64, .Width = 281, .Height = 16,
     .Options = {lcoSmooth}, .Min = 0, .Max = 100, .Step = 1},
    {.Name = "btnCancel", .Kind = lckButton, .Left = 104, .Top = 89, .Width = 75, .Height = 25, .Text = "Abort",
     .Options = {lcoDefaultButton, lcoCancelButton}},
    {.Name = "Button1", .Kind = lckButton, .Left = 192, .Top = 88, .Width = 105, .Height = 25,
     .Text = "Background Mode"},
    {.Name = "ShowTimer", .Kind = lckTimer, .Options = {lcoDisabled}, .Interval = kWaitShowDelayMs},
};

}  // namespace

const TWindowLayout kWaitWindowLayout = {
    .Caption = "Please Wait...",
    .ClientWidth = 312,
    .ClientHeight = 118,
    .Options = {lwoDialogBorder, lwoNoBorderIcons, lwoStayOnTop, lwoHourglassCursor, lwoOwnIcon},
    .Position = lwpDesktopCenter,
    .Controls = kControls,
};
