#include "engine/access/PasswordDialog.h"

namespace {

constexpr TLayoutControl kControls[] = {
    {.Name = "Label1", .Kind = lckLabel, .Left = 8, .Top = 36, .Text = "Password:"},
    {.Name = "lbName", .Kind = lckLabel, .Left = 8, .Top = 8, .Width = 193,
     .Options = {lcoCentred, lcoFixedSize}},
    {.Name = "Pass", .Kind = lckEdit, .Left = 72, .Top = 32, .Width = 130, .PasswordChar = '*'},
    {.Name = "cbOk", .Kind = lckButton, .Left = 8, .Top = 72, .Width = 75, .Height = 25, .Text = "OK",
     .Options = {lcoDefaultButton}, .ModalResult = lmrOk},
    {.Name = "cbCancel", .Kind = lckButton, .Left = 128, .Top = 72, .Width = 75, .Height = 25,
     .Text = "Cancel", .ModalResult = lmrCancel},
};

}  // namespace

const TWindowLayout kPassDialogLayout = {
    .Caption = "Database authentication",
    .ClientWidth = 216,
    .ClientHeight = 118,
    .Options = {lwoDialogBorder},
    .Position = lwpScreenCenter,
    .FontName = "MS Sans Serif",
    .FontSize = 8,
    .Controls = kControls,
};
