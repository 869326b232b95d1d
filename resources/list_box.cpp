#include "list_box.h"

#include "platform/db/dataset.h"
#include "platform/ui/dialogs.h"

namespace res {

void SetTabStops(std::initializer_list<ui::TControl*> controls, bool stop) {
    for (ui::TControl* control : controls)
        control->SetTabStop(stop);
}

bool AreaFitsField(double squareMetres, double fieldSquareMetres) {
    if (squareMetres <= fieldSquareMetres + 1e-6)
        return true;
    ui::MessageDlg("Az érintett terület nem lehet nagyobb a tábla területénél!", ui::mtWarning,
                   ui::mbOK);
    return false;
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

ui::TDBEdit* AddDBEdit(QWidget* parent, db::TDataSource* source, const std::string& field, int left,
                       int top, int width) {
    auto* edit = new ui::TDBEdit(parent);
    edit->SetBounds(left, top, width, 22);
    edit->SetDataSource(source);
    edit->SetDataField(field);
    return edit;
}

} // namespace res
