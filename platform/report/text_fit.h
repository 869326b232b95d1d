#pragma once
// Texts measured as the pages paint them (DejaVu Sans, without hinting, so that a width
// is the same on the screen, the printer and in a PDF): the cut of a text too long for
// its box, marked with "…", and the lines of a text wrapped inside its box.

#include <string>
#include <string_view>
#include <vector>

class QFont;

namespace report {

// Ends a text that was cut to its box.
inline const std::string kCutMark = "\u2026";

// The font of the pages.
QFont ReportFont(double points, bool bold);

// The width of the text, millimetres.
double TextWidth(std::string_view text, double points, bool bold);

// The text as it fits the width: unchanged when it fits, else its longest beginning that
// fits with the cut mark after it (only the mark when not even one letter fits).
std::string FitText(const std::string& text, double width, double points, bool bold);

// The font size at which the text fits the width: the size itself when it does, else
// the size shrunk just enough (a number must show whole, never cut).
double FittingSize(const std::string& text, double width, double points, bool bold);

// The text in lines no wider than the width: broken at blanks, a word longer than the
// width after a hyphen or between letters; "\n" in the text breaks a line. An empty text
// is one empty line.
std::vector<std::string> WrapText(const std::string& text, double width, double points, bool bold);

} // namespace report
