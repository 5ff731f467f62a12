#pragma once
// Acts as the user through real Qt input events, so that window tests read like
// a user's steps. Keys go to the widget that has the focus.
#include <cstdint>
#include <string>

class TControl;
class TDBGrid;
class TDBNavigator;
class TFileListBox;
class TForm;
class TComboBox;
class TDateTimePicker;
class TMenuItem;
class TRadioGroup;
enum TNavigateBtn : uint8_t;

namespace user {

// Runs pending events, deferred deletions (freed forms) among them.
void ProcessEvents();

// A left click in the middle of the control.
void Click(const TControl& control);
// Brings the form's window to the front and gives it the keyboard, as a click
// on its title bar does.
void ActivateWindow(const TForm& form);
// A click on the close box in the title bar of a window of its own.
void CloseWindow(const TForm& form);
// Restores a minimised window, as a click on the program in the task bar does.
void RestoreWindow(const TForm& form);
// A click on the close box in the title bar of an MDI child.
void ClickCloseBox(const TForm& child);
void ClickItem(const TRadioGroup& group, int index);
// A click on the line of the list that shows the file's name.
void ClickFile(const TFileListBox& list, const std::string& name);
// A left click (or a double click) on a cell of a grid, rows counted from the
// top row shown.
void ClickCell(const TDBGrid& grid, int row, int column);
void DoubleClickCell(const TDBGrid& grid, int row, int column);
void ClickButton(const TDBNavigator& navigator, TNavigateBtn button);
// Types each character of the UTF-8 text (Thai included) as a key press.
void Type(const std::string& text);
void PressEnter();
void PressKeypadEnter();
void PressTab();
void PressEscape();
// Keys that move rather than type.
enum class Key { kUp, kDown, kPageUp, kPageDown, kHome, kEnd };
void Press(Key key);
// Chooses the item through the menu bar and its menus with the mouse; false
// when a step cannot be taken (a hidden or disabled item on the way).
bool ChooseMenu(const TMenuItem& item);
// Alt and the letter, as a user opens a menu bar item by its accelerator.
void PressAlt(char letter);
// Opens the drop-down list and clicks the item.
void ChooseComboItem(const TComboBox& combo, int index);
// Opens the calendar and clicks the day of the month it shows.
void PickDay(const TDateTimePicker& picker, int day);
// Saves a picture of the control as PNG; returns false when it cannot be written.
bool Grab(const TControl& control, const std::string& png_file);
// Writes a small one-coloured picture as a JPEG file, as a camera or a scanner
// leaves one for the user to pick; returns false when it cannot be written.
bool SavePhoto(const std::string& jpeg_file);

}  // namespace user
