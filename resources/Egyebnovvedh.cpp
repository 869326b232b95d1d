#include "Egyebnovvedh.h"

#include "material_dialogs.h"
#include "platform/ui/form_helpers.h"

TEgyebNovVed* EgyebNovVed = nullptr;

namespace {

void Distinct(db::TQuery& query, const std::string& field) {
    query.SQL().Add("SELECT DISTINCT " + field);
    query.SQL().Add("FROM Novenyvedok");
    query.SQL().Add("ORDER BY " + field);
}

// An editable list: the classes already recorded are offered, any other may be typed.
ui::TComboBox* ValueList(QWidget* parent, int top) {
    auto* box = new ui::TComboBox(parent);
    box->SetBounds(170, top, 250, 22);
    return box;
}

void FillFrom(db::TQuery& query, const std::string& field, ui::TComboBox* box) {
    for (query.First(); !query.Eof(); query.Next())
        if (std::string value = query.FieldByName(field).AsString(); !value.empty())
            box->Items().Add(value);
}

} // namespace

TEgyebNovVed::TEgyebNovVed(db::Session& session) : session_(session) {
    SetCaption("EgyebNovVed");
    SetClientSize(440, 370);
    SetPosition(ui::poScreenCenter);
    SetBorderStyle(ui::bsDialog);
    Table1.SetTableName("Novenyvedok.DB");
    Distinct(Query1, "Szertip");
    Distinct(Query3, "Tuz");
    Distinct(Query4, "Meregjelzes");

    Label1 = new ui::TLabel(this, "Egyéb növényvédőszer bevitele");
    Label1->SetBounds(12, 10, 400, 20);
    Label1->SetBold(true);
    ui::AddLabel(this, "Megnevezés :", 12, 40);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(170, 40, 250, 22);
    ui::AddLabel(this, "Szertíus :", 12, 70);
    ComboBox4 = new ui::TComboBox(this);
    ComboBox4->SetBounds(170, 70, 250, 22);
    auto* extra = new ui::TLabel(this, "Kiegészítő adatok :");
    extra->SetBounds(12, 104, 300, 16);
    extra->SetBold(true);
    ui::AddLabel(this, "Méregjelzés :", 12, 128);
    DBLookupComboBox1 = ValueList(this, 128);
    ui::AddLabel(this, "Hatóanyag :", 12, 158);
    Edit4 = new ui::TEdit(this);
    Edit4->SetBounds(170, 158, 250, 22);
    ui::AddLabel(this, "Tűzveszélyesség :", 12, 188);
    DBLookupComboBox4 = ValueList(this, 188);
    ui::AddLabel(this, "Forgalamzási kategória :", 12, 218);
    ComboBox5 = new ui::TComboBox(this, ui::csDropDownList);
    ComboBox5->SetBounds(170, 218, 70, 22);
    ComboBox5->Items().AddStrings({"I.", "II.", "III."});
    ComboBox5->SetItemIndex(0);
    ui::AddLabel(this, "Várakozási idő :", 12, 248);
    ComboBox2 = new ui::TComboBox(this, ui::csDropDownList);
    ComboBox2->SetBounds(170, 248, 70, 22);
    ComboBox2->Items().Add("nk");
    for (int days = 1; days <= 40; ++days)
        ComboBox2->Items().Add(std::to_string(days));
    ComboBox2->SetItemIndex(0);
    (new ui::TLabel(this, "nap"))->SetBounds(246, 251, 40, 16);
    ui::AddLabel(this, "Mértékegység :", 12, 278);
    ComboBox3 = res::UnitCombo(this, res::KindInfo(res::MaterialKind::Pesticide).entryUnits);
    ComboBox3->SetBounds(170, 278, 70, 22);
    Button2 = new ui::TButton(this, "Rögzít");
    Button2->SetBounds(230, 330, 90, 27);
    Button1 = new ui::TButton(this, "Mégsem");
    Button1->SetBounds(330, 330, 90, 27);
    ui::FitToFields(session, "Novenyvedok",
                    {{Edit1, "Nev"},
                     {ComboBox4, "Szertip"},
                     {DBLookupComboBox1, "Meregjelzes"},
                     {Edit4, "Hata"},
                     {DBLookupComboBox4, "Tuz"},
                     {ComboBox3, "Mert"}});
    SetTabOrder({Edit1, ComboBox4, DBLookupComboBox1, Edit4, DBLookupComboBox4, ComboBox5,
                 ComboBox2, ComboBox3, Button2, Button1});

    OnActivate = Handler(&TEgyebNovVed::FormActivate);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TEgyebNovVed::Button1Click);
    Button2->OnClick = Handler(&TEgyebNovVed::Button2Click);
}

// The type, toxicity and fire-hazard lists get the recorded values once, on the first
// activation.
void TEgyebNovVed::FormActivate(TObject*) {
    const bool first = !Query1.Active();
    ui::OpenOnFirstActivate(this, {&Query1, &Query3, &Query4, &Table1});
    if (!first)
        return;
    FillFrom(Query1, "Szertip", ComboBox4);
    FillFrom(Query4, "Meregjelzes", DBLookupComboBox1);
    FillFrom(Query3, "Tuz", DBLookupComboBox4);
}

void TEgyebNovVed::Button1Click(TObject*) {
    Close();
}

void TEgyebNovVed::Button2Click(TObject*) {
    if (res::RefuseMissing(Edit1->Text().empty() && ComboBox4->Text().empty(),
                           "Az anyag nevét, típusát, méregjelzését kérem megadni !"))
        return;
    CreatedCode = res::StoreNewMaterial(session_, *this, Table1, res::MaterialKind::Pesticide,
                                        {{"Nev", Edit1->Text()},
                                         {"Szertip", ComboBox4->Text()},
                                         {"Meregjelzes", DBLookupComboBox1->Text()},
                                         {"Mert", ComboBox3->Text()},
                                         {"Hata", Edit4->Text()},
                                         {"Forgk", ComboBox5->Text()},
                                         {"Tuz", DBLookupComboBox4->Text()},
                                         {"Vido", ComboBox2->Text()}});
}
