#include "list_box.h"

#include "platform/db/dataset.h"

namespace res {

void SetTabStops(std::initializer_list<ui::TControl*> controls, bool stop) {
    for (ui::TControl* control : controls)
        control->SetTabStop(stop);
}

void SetEnabled(std::initializer_list<ui::TControl*> controls, bool enabled) {
    for (ui::TControl* control : controls)
        control->SetEnabled(enabled);
}

ui::TPopupMenu* ButtonMenu(QWidget* owner, std::initializer_list<MenuEntry> items) {
    auto* menu = new ui::TPopupMenu(owner);
    for (const MenuEntry& entry : items) {
        ui::TButton* button = entry.button;
        menu->Add(entry.caption)->OnClick = [button](ui::TObject*) { button->Click(); };
    }
    return menu;
}

void ShowDate(ui::TDateTimePicker* picker, const db::TField& date) {
    picker->SetDate(date.IsNull() ? sys::today() : date.AsDateTime());
}

void ShowBox(ui::TGroupBox* box, int left, int top, const std::string& caption) {
    box->SetLeft(left);
    box->SetTop(top);
    box->SetCaption(caption);
    box->Show();
    box->BringToFront();
}

ui::TLabel* AddLabel(QWidget* parent, const std::string& caption, int left, int top, int width) {
    auto* label = new ui::TLabel(parent, caption);
    label->SetBounds(left, top + 3, width, 16);
    return label;
}

ui::TDBEdit* AddDBEdit(QWidget* parent, db::TDataSource* source, const std::string& field, int left,
                       int top, int width) {
    auto* edit = new ui::TDBEdit(parent);
    edit->SetBounds(left, top, width, 22);
    edit->SetDataSource(source);
    edit->SetDataField(field);
    return edit;
}

void ShowBoxOver(ui::TGroupBox* box, int left, int top, const std::string& caption,
                 const std::vector<ui::TControl*>& list) {
    for (ui::TControl* control : list)
        control->SetEnabled(false);
    ShowBox(box, left, top, caption);
}

void HideBoxOver(ui::TGroupBox* box, const std::vector<ui::TControl*>& list) {
    box->Hide();
    for (ui::TControl* control : list)
        control->SetEnabled(true);
}

} // namespace res
