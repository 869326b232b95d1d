#include "Szaktanh.h"

#include "list_box.h"
#include "platform/ui/form_helpers.h"

TSzaktan* Szaktan = nullptr;

using res::AddDBEdit;
using res::AddLabel;

namespace {

// The text fields of a consultation, in the order of the entry box.
const char* const kTextFields[] = {"Sznev",  "Szszerv", "Szazon", "Sztargy", "Szhely", "Szirany",
                                   "Szutca", "Sztel",   "Szfax",  "Szemail", "Szmegj"};
const char* const kTextLabels[] = {"Szaktanácsadó neve:",
                                   "Szervezet neve:",
                                   "Azonosító:",
                                   "Szaktanácsadás tárgya:",
                                   "Helység:",
                                   "Irányítószám:",
                                   "Utca, hsz:",
                                   "Telefon:",
                                   "Fax:",
                                   "E-mail:",
                                   "Megjegyzés:"};

// The non-empty parts joined by a separator.
std::string Join(std::initializer_list<std::string> parts, const std::string& separator) {
    std::string text;
    for (const std::string& part : parts)
        if (!part.empty())
            text += (text.empty() ? "" : separator) + part;
    return text;
}

} // namespace

void ShowSzaktan(db::Session& session) {
    ui::ShowModalForm(Szaktan, session);
}

TSzaktan::TSzaktan(db::Session& session) : session_(session) {
    SetCaption("Szaktanácsadások");
    SetClientSize(760, 480);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("Szaktanacs.DB");
    Table1.SetIndexName("SzakTDate");
    Table1.AddCalcField("Cim", db::FieldType::Alpha, 120);
    Table1.AddCalcField("Elerhetoseg", db::FieldType::Alpha, 120);
    Table1.OnCalcFields = [this](db::TDataSet& rows) { Table1CalcFields(rows); };

    DBGrid1 = ui::Make<ui::TDBGrid>(this, {8, 8, 744, 420});
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Szdate", "Dátum", 80);
    for (const auto& [field, caption] :
         std::initializer_list<std::pair<const char*, const char*>>{{"Sznev", "Név"},
                                                                    {"Szazon", "Azonosító"},
                                                                    {"Szszerv", "Szervezet"},
                                                                    {"Sztargy", "Tárgy"},
                                                                    {"Szhely", "Helység"},
                                                                    {"Szirany", "I.szám"},
                                                                    {"Szutca", "Utca"},
                                                                    {"Sztel", "Telefon"},
                                                                    {"Szfax", "Fax"},
                                                                    {"Szemail", "E-mail"},
                                                                    {"Szmegj", "Megjegyzés"}})
        DBGrid1->Columns().Add(field, caption, 100);
    DBGrid1->OnDblClick = Handler(&TSzaktan::DBGrid1DblClick);
    Button6 = ui::Make<ui::TButton>(this, {8, 440, 110, 27}, "Új tanácsadás");
    Button7 = ui::Make<ui::TButton>(this, {126, 440, 100, 27}, "Módosítás");
    Button8 = ui::Make<ui::TButton>(this, {234, 440, 100, 27}, "Törlés");
    Button10 = ui::Make<ui::TButton>(this, {342, 440, 100, 27}, "Másolat");
    Button2 = ui::Make<ui::TButton>(this, {450, 440, 100, 27}, "Nyomtatás");
    Button3 = ui::Make<ui::TButton>(this, {652, 440, 100, 27}, "Bezárás");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 47, 520, 390}, "Új tanácsadás");
    AddLabel(GroupBox1, "Dátum:", 12, 24, 160);
    DateTimePicker3 = ui::Make<ui::TDateTimePicker>(GroupBox1, {180, 24, 120, 22});
    ui::TDBEdit** edits[] = {&DBEdit1, &DBEdit2, &DBEdit3, &DBEdit4,  &DBEdit5, &DBEdit6,
                             &DBEdit7, &DBEdit8, &DBEdit9, &DBEdit10, &DBEdit11};
    for (int i = 0; i < 11; ++i) {
        AddLabel(GroupBox1, kTextLabels[i], 12, 52 + 28 * i, 160);
        *edits[i] = AddDBEdit(GroupBox1, &DataSource1, kTextFields[i], 180, 52 + 28 * i, 320);
    }
    Button9 = ui::Make<ui::TButton>(GroupBox1, {180, 356, 100, 27}, "Mentés");
    Button5 = ui::Make<ui::TButton>(GroupBox1, {290, 356, 100, 27}, "Mégsem");
    GroupBox1->Hide();
    ui::EditBoxOverList(GroupBox1);
    ui::FitToFields(session, "Szaktanacs", {{DateTimePicker3, "Szdate"}});

    OnShow = Handler(&TSzaktan::FormShow);
    OnClose = Handler(&TSzaktan::FormClose);
    Button2->OnClick = Handler(&TSzaktan::Button2Click);
    Button3->OnClick = Handler(&TSzaktan::Button3Click);
    Button5->OnClick = Handler(&TSzaktan::Button5Click);
    Button6->OnClick = Handler(&TSzaktan::Button6Click);
    Button7->OnClick = Handler(&TSzaktan::Button7Click);
    Button8->OnClick = Handler(&TSzaktan::Button8Click);
    Button9->OnClick = Handler(&TSzaktan::Button9Click);
    Button10->OnClick = Handler(&TSzaktan::Button10Click);
}

void TSzaktan::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
}

void TSzaktan::FormClose(TObject*, TCloseAction&) {
    Table1.Cancel();
}

void TSzaktan::Table1CalcFields(db::TDataSet& DataSet) {
    auto text = [&](const char* field) { return DataSet.FieldByName(field).AsString(); };
    DataSet.FieldByName("Cim").SetAsString(
        Join({Join({text("Szirany"), text("Szhely")}, " "), text("Szutca")}, ", "));
    DataSet.FieldByName("Elerhetoseg")
        .SetAsString(Join({text("Sztel"), text("Szfax"), text("Szemail")}, ", "));
}

void TSzaktan::DBGrid1DblClick(TObject* Sender) {
    Button7Click(Sender);
}

// Prints sheet GN 17; an empty register prints nothing.
void TSzaktan::Button2Click(TObject*) {
    report::ExecuteUnlessEmpty(RvProject1, Table1);
}

void TSzaktan::Button3Click(TObject*) {
    Close();
}

void TSzaktan::OpenBox(const std::string& caption) {
    res::ShowBox(GroupBox1, 8, 47, caption);
    DateTimePicker3->SetFocus();
}

void TSzaktan::CloseBox() {
    GroupBox1->Hide();
}

void TSzaktan::Button5Click(TObject*) {
    Table1.Cancel();
    CloseBox();
}

void TSzaktan::Button6Click(TObject*) {
    DateTimePicker3->SetDate(sys::today());
    Table1.Insert();
    OpenBox("Új tanácsadás");
}

void TSzaktan::Button7Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    Table1.Edit();
    res::ShowDate(DateTimePicker3, Table1.FieldByName("Szdate"));
    OpenBox("Tanácsadás módosítása");
}

void TSzaktan::Button8Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    Table1.Delete();
}

void TSzaktan::Button9Click(TObject*) {
    if (!ui::TypedValuesValid(*GroupBox1))
        return;
    Table1.FieldByName("Szdate").SetAsDateTime(DateTimePicker3->Date());
    Table1.Post();
    CloseBox();
}

// A second row with the same date and texts; it becomes the current row.
void TSzaktan::Button10Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    std::array<db::Value, std::size(kTextFields)> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = Table1.FieldByName(kTextFields[i]).AsValue();
    const db::Value date = Table1.FieldByName("Szdate").AsValue();
    Table1.Insert();
    for (std::size_t i = 0; i < texts.size(); ++i)
        Table1.FieldByName(kTextFields[i]).SetAsValue(texts[i]);
    Table1.FieldByName("Szdate").SetAsValue(date);
    Table1.Post();
}
