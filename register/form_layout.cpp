#include "form_layout.h"

#include "field_rows.h"

namespace reg {

ui::TCheckBox* PlaceCheckBox(QWidget* parent, const std::string& caption, int left, int top,
                             int width) {
    auto* box = new ui::TCheckBox(parent, caption);
    box->SetBounds(left, top, width, 20);
    return box;
}

KetChoice PlaceKetChoice(QWidget* parent, db::TDataSource* kets, int left, int top, int width,
                         int height, const std::string& suffix) {
    KetChoice k{};
    k.grid = new ui::TDBGrid(parent);
    k.grid->SetBounds(left, top, width, height);
    k.grid->SetDataSource(kets);
    k.grid->SetReadOnly(true);
    k.grid->SetRowSelect(true);
    // Headed in words, as the KET areas' own list is.
    k.grid->Columns().Add("Sorsz", "KET sorsz.", 60);
    k.grid->Columns().Add("Hazimen", "Hazi megn.", 90);
    k.grid->Columns().Add("Megnev", "AKG celp.", 100);
    k.grid->Columns().Add("Kod", "AKG kód", 50);
    k.grid->Columns().Add("Ter", "Terület", 45);
    k.grid->Columns().Add("Meresij", "Mérési jkv.", 65);
    k.panel = new ui::TPanel(parent);
    k.panel->SetBounds(left, top, width, height);
    k.panel->setAutoFillBackground(true);
    k.kat = PlaceCheckBox(k.panel, "KAT" + suffix, 8, 8, 180);
    k.natura = PlaceCheckBox(k.panel, "natúra2000" + suffix, 200, 8, 180);
    k.nitrate = PlaceCheckBox(k.panel, "nitrátérzékeny" + suffix, 8, 32, 180);
    k.slope = PlaceCheckBox(k.panel, "12%-os lejtő" + suffix, 200, 32, 180);
    ui::AddLabel(k.panel, "KAT támogatás" + suffix, 8, 62, 140);
    k.katText = ui::AddEdit(k.panel, 150, 62, 250, 40);
    ui::AddLabel(k.panel, "Natura támogatás" + suffix, 8, 92, 140);
    k.naturaText = ui::AddEdit(k.panel, 150, 92, 250, 40);
    return k;
}

void KetChoice::ShowFor(bool commitment) const {
    panel->setVisible(!commitment);
    if (!commitment)
        panel->raise();
}

void KetChoice::Load(const FieldData& data) const {
    kat->SetChecked(data.nkat);
    natura->SetChecked(data.nat2000);
    nitrate->SetChecked(data.nitr);
    slope->SetChecked(data.tizszaz);
    katText->SetText(data.kattam);
    naturaText->SetText(data.nattam);
}

void KetChoice::Store(FieldData& data) const {
    data.nkat = kat->Checked();
    data.nat2000 = natura->Checked();
    data.nitr = nitrate->Checked();
    data.tizszaz = slope->Checked();
    data.kattam = katText->Text();
    data.nattam = naturaText->Text();
}

} // namespace reg
