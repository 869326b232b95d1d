#include "Egyebternovh.h"

#include "core/Isnuminth.h"
#include "material_dialogs.h"
#include "platform/ui/form_helpers.h"

TEgyebTerNov* EgyebTerNov = nullptr;

namespace {

// A nutrient's percent box: its letter, the box and the percent sign.
ui::TEdit* Percent(QWidget* parent, const char* caption, int left) {
    ui::TEdit* edit = ui::CaptionedEdit(parent, caption, left, 84, 24, 44);
    ui::AddLabel(parent, "%", left + 70, 84, 14);
    return edit;
}

} // namespace

TEgyebTerNov::TEgyebTerNov(db::Session& session) : session_(session) {
    SetCaption("EgyebTerNov");
    SetClientSize(440, 230);
    SetPosition(ui::poScreenCenter);
    SetBorderStyle(ui::bsDialog);
    Table1.SetTableName("Tapanyagok.DB");

    Label1 = new ui::TLabel(this, "Egyéb termésnövelő anyag bevitele");
    Label1->SetBounds(12, 10, 400, 20);
    Label1->SetBold(true);
    (new ui::TLabel(this, "Megnevezése :"))->SetBounds(12, 47, 140, 16);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(160, 44, 260, 22);
    (new ui::TLabel(this, "Hatóanyag összetétel :"))->SetBounds(12, 87, 140, 16);
    Edit2 = Percent(this, "N :", 160);
    Edit3 = Percent(this, "P :", 252);
    Edit4 = Percent(this, "K :", 344);
    RadioButton1 = new ui::TRadioButton(this, "Szilárd, granulált");
    RadioButton1->SetBounds(160, 120, 150, 20);
    RadioButton1->SetChecked(true);
    RadioButton2 = new ui::TRadioButton(this, "Folyékony");
    RadioButton2->SetBounds(320, 120, 100, 20);
    (new ui::TLabel(this, "Mértékegység :"))->SetBounds(12, 155, 140, 16);
    ComboBox3 = res::UnitCombo(this, res::KindInfo(res::MaterialKind::Fertiliser).entryUnits);
    ComboBox3->SetBounds(160, 152, 70, 22);
    Button2 = new ui::TButton(this, "Rögzít");
    Button2->SetBounds(230, 192, 90, 27);
    Button1 = new ui::TButton(this, "Mégsem");
    Button1->SetBounds(330, 192, 90, 27);
    ui::FitToFields(
        session, "Tapanyagok",
        {{Edit1, "Nev"}, {Edit2, "Nit"}, {Edit3, "Kal"}, {Edit4, "Fos"}, {ComboBox3, "Mert"}});
    SetTabOrder(
        {Edit1, Edit2, Edit3, Edit4, RadioButton1, RadioButton2, ComboBox3, Button2, Button1});

    OnActivate = Handler(&TEgyebTerNov::FormActivate);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TEgyebTerNov::Button1Click);
    Button2->OnClick = Handler(&TEgyebTerNov::Button2Click);
}

void TEgyebTerNov::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
}

void TEgyebTerNov::Button1Click(TObject*) {
    Close();
}

// Each content is a percentage; the P box goes into Kal and the K box into Fos.
void TEgyebTerNov::Button2Click(TObject*) {
    if (!NumericInt->IsValidFor(Edit2->Text(), "Nirtogéntartalom", "Tapanyagok", "Nit") ||
        !NumericInt->IsValidFor(Edit3->Text(), "Foszfortartalom", "Tapanyagok", "Kal") ||
        !NumericInt->IsValidFor(Edit4->Text(), "Káliumtartalom", "Tapanyagok", "Fos") ||
        !ui::TypedValuesValid(*this))
        return;
    if (res::RefuseMissing(Edit1->Text().empty(), "Az anyag nevét kérem megadni !"))
        return;
    CreatedCode = res::StoreNewMaterial(session_, *this, Table1, res::MaterialKind::Fertiliser,
                                        {{"Nev", Edit1->Text()},
                                         {"Mert", ComboBox3->Text()},
                                         {"Halmaza", RadioButton1->Checked() ? "S" : "F"},
                                         {"Nit", Edit2->Text()},
                                         {"Kal", Edit3->Text()},
                                         {"Fos", Edit4->Text()}});
}
