#pragma once
// What the user sees of the program's windows, read off the real widgets, so
// that window tests of every layer check the screen, not the toolkit's flags,
// and need no Qt of their own.
#include <functional>
#include <string>

class TControl;
class TDBGrid;
class TForm;

namespace seen {

// The text a label, button, edit (as displayed: masked by a password
// character), combo box or memo shows. Fails the test for other controls.
std::string Text(const TControl& control);
// The rows a grid shows, and the text of one of its cells (rows counted from
// the first row of the data, columns from the left).
int RowCount(const TDBGrid& grid);
std::string Cell(const TDBGrid& grid, int row, int column);
// The title of the form's window.
std::string Caption(const TForm& form);
// The value a progress bar shows.
int Progress(const TControl& bar);
// The control's widget and every window around it are shown.
bool Visible(const TControl& control);
// The form's window (its MDI sub-window for a child) is on the screen.
bool OnScreen(const TForm& form);
// The form's window stays above the program's other windows.
bool StaysOnTop(const TForm& form);
// The mouse pointer over the form's window is the hourglass.
bool ShowsWaitCursor(const TForm& form);
// The form's window is minimised.
bool Minimized(const TForm& form);
// The user can work in the form's window: it is not disabled.
bool Usable(const TForm& form);
// The keyboard goes to the control.
bool HasFocus(const TControl& control);
// The modal form in front, or nullptr.
TForm* ModalForm();

// Runs `steps` on the modal form as soon as one shows. A form the steps leave
// open is closed, so that a failing test fails instead of waiting for a user.
void OnModalForm(std::function<void(TForm&)> steps);

}  // namespace seen
