#pragma once
// Placing the register forms' captions and edit boxes: a label at a position (its text
// lowered to the middle of a box beside it) and an edit box with its length limit.

#include "platform/ui/vcl.h"

#include <string>

namespace reg {

ui::TLabel* PlaceLabel(QWidget* parent, const std::string& text, int left, int top,
                       int width = 150);
// maxLength 0: no limit.
ui::TEdit* PlaceEdit(QWidget* parent, int left, int top, int width, int maxLength = 0);

} // namespace reg
