#include "form_layout.h"

namespace reg {

ui::TLabel* PlaceLabel(QWidget* parent, const std::string& text, int left, int top, int width) {
    auto* label = new ui::TLabel(parent, text);
    label->SetBounds(left, top + 4, width, 16);
    return label;
}

ui::TEdit* PlaceEdit(QWidget* parent, int left, int top, int width, int maxLength) {
    auto* edit = new ui::TEdit(parent);
    edit->SetBounds(left, top, width, 22);
    if (maxLength > 0)
        edit->SetMaxLength(maxLength);
    return edit;
}

} // namespace reg
