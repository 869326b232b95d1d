#include "Egyebvetmagh.h"

#include "material_dialogs.h"
#include "platform/ui/form_helpers.h"

TEgyebVetMag* EgyebVetMag = nullptr;

TEgyebVetMag::TEgyebVetMag(db::Session& session) : session_(session) {
    SetCaption("EgyebVetMag");
    SetClientSize(440, 190);
    SetPosition(ui::poScreenCenter);
    SetBorderStyle(ui::bsDialog);
    Table1.SetTableName("Vetomagok.DB");
    Table4.SetTableName("Magfajtak.db");
    Table4.SetIndexName("MagfajtakFIdx");

    Label1 = new ui::TLabel(this, "Egyéb vetőmagfajta bevitele");
    Label1->SetBounds(12, 10, 400, 20);
    Label1->SetBold(true);
    (new ui::TLabel(this, "Növényfaj :"))->SetBounds(12, 47, 140, 16);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(this);
    DBLookupComboBox1->SetBounds(160, 44, 260, 22);
    DBLookupComboBox1->SetListSource(&DataSource4);
    DBLookupComboBox1->SetKeyField("Fajkod");
    DBLookupComboBox1->SetListField("Faj");
    (new ui::TLabel(this, "Fajta :"))->SetBounds(12, 81, 140, 16);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(160, 78, 260, 22);
    (new ui::TLabel(this, "Mértékegység :"))->SetBounds(12, 115, 140, 16);
    ComboBox2 = res::UnitCombo(this, res::KindInfo(res::MaterialKind::Seed).entryUnits);
    ComboBox2->SetBounds(160, 112, 70, 22);
    Button2 = new ui::TButton(this, "Rögzítés");
    Button2->SetBounds(230, 152, 90, 27);
    Button1 = new ui::TButton(this, "Mégsem");
    Button1->SetBounds(330, 152, 90, 27);
    ui::FitToFields(session, "Vetomagok", {{Edit1, "Nev"}, {ComboBox2, "Mert"}});
    SetTabOrder({DBLookupComboBox1, Edit1, ComboBox2, Button2, Button1});

    OnActivate = Handler(&TEgyebVetMag::FormActivate);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TEgyebVetMag::Button1Click);
    Button2->OnClick = Handler(&TEgyebVetMag::Button2Click);
}

void TEgyebVetMag::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table4});
}

void TEgyebVetMag::Button1Click(TObject*) {
    Close();
}

// The species is the row current in the species list: the chosen one, or the first.
void TEgyebVetMag::Button2Click(TObject*) {
    if (res::RefuseMissing(DBLookupComboBox1->Text().empty() && Edit1->Text().empty(),
                           "A vetőmag nevét, fajtáját kérem megadni !"))
        return;
    const std::string species = Table4.IsEmpty() ? "" : Table4.FieldByName("Fajkod").AsString();
    CreatedCode = res::StoreNewMaterial(
        session_, *this, Table1, res::MaterialKind::Seed,
        {{"Magfaj", species}, {"Nev", Edit1->Text()}, {"Mert", ComboBox2->Text()}});
}
