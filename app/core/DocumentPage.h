#pragma once
// The page steps that the printed documents share: margins from the
// organisation's print offsets, the paper mode (plain paper or a pre-printed
// form) and the logo.
#include <initializer_list>
#include <string_view>

class TQRImage;
class TQRPage;
class TQRPrintable;

// The document's printable height is kept by the bottom margin.
inline constexpr double kDocumentBottomMarginBase = 22;

// Margins in millimetres: top `top`, left `left`, bottom 22 − top but never
// below 0 (a top offset above 22 is allowed by the settings).
void SetUpDocumentPage(TQRPage& page, double top, double left);

// The paper mode of sys_sys.PRN_PREVIEW: "1" a pre-printed form, on which the
// frames, captions and headings in `form_has` are not printed; "0" plain
// paper, on which they are; any other value leaves the design as it is. The
// items in `always` print in modes "0" and "1".
void ApplyPaperMode(std::string_view mode, std::initializer_list<TQRPrintable*> form_has,
                    std::initializer_list<TQRPrintable*> always);

// The logo step. With sys_sys.PRN_LOGO "0" the logo is not printed; otherwise
// "mylogo.jpg" of the working folder is loaded into `logo` and printed. A file
// that is missing or unreadable prints the document without the logo. The
// `beside` items (the organisation's lines) go to `left_with_logo` when the
// logo prints and to `left_without_logo` when it does not. Returns whether the
// logo prints.
bool PlaceLogo(TQRImage& logo, std::string_view print_logo, std::initializer_list<TQRPrintable*> beside,
               int left_with_logo, int left_without_logo);
