#include "Felhaszneh.h"

#include "platform/ui/form_helpers.h"
#include "resources/Eszkozfelh.h"
#include "resources/machine_codes.h"

TFelhaszE* FelhaszE = nullptr;

// What differs between the tractor and the implement side.
struct TFelhaszE::Side {
    const char* table;      // "Erogepek"
    const char* codeIndex;  // "Erogepkodind"
    const char* nameField;  // the field a service provider's machine is named in
    const char* noMachine;  // the no-machine row's names
    const char* secondName; // the other name field of the no-machine row
};

namespace {

void FillNames(db::Session& session, ui::TComboBox* combo, const std::string& field,
               const std::string& table) {
    db::TQuery names(session, "Names");
    names.SQL().Add("SELECT DISTINCT " + field);
    names.SQL().Add("FROM " + table);
    names.SQL().Add("WHERE  Tul = 1 ");
    names.Open();
    combo->Items().Clear();
    for (names.First(); !names.Eof(); names.Next())
        combo->Items().Add(names.FieldByName(field).AsString());
    names.Close();
}

} // namespace

TFelhaszE::TFelhaszE(db::Session& session) : session_(session) {
    SetCaption("Művelethez felhasznált eszközök");
    SetClientSize(700, 380);
    SetPosition(ui::poScreenCenter);
    Table1.SetTableName("Erogepek.db");
    Table1.SetFilter("Tul = 0");
    Table1.SetFiltered(true);
    Table1.SetIndexName("Erogepnevind");
    Table2.SetTableName("Munkagepek.db");
    Table2.SetFilter("Tul = 0");
    Table2.SetFiltered(true);
    Table2.SetIndexName("Munkagepnevind");

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 200, 16}, "Saját erőgépek :");
    DBGrid1 = ui::ListGrid(
        this, {8, 28, 336, 220}, &DataSource1,
        {{"Geptip", "Típus", 140}, {"Haziszam", "Háziszám", 80}, {"Kategoria", "Kategória", 90}});
    Label2 = ui::Make<ui::TLabel>(this, {356, 8, 200, 16}, "Saját munkagépek :");
    DBGrid2 = ui::ListGrid(
        this, {356, 28, 336, 220}, &DataSource2,
        {{"Gepnev", "Megnevezés", 140}, {"Hazisz", "Háziszám", 80}, {"Tipus", "Típus", 90}});
    Button1 = ui::Make<ui::TButton>(this, {8, 254, 150, 25}, "Szolgáltató eszköze");
    Button2 = ui::Make<ui::TButton>(this, {356, 254, 150, 25}, "Szolgáltató eszköze");
    Label7 = ui::Make<ui::TLabel>(this, {8, 291, 60, 16}, "Típus :");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {80, 288, 264, 22});
    Label4 = ui::Make<ui::TLabel>(this, {356, 291, 90, 16}, "Megnevezés :");
    ComboBox2 = ui::Make<ui::TComboBox>(this, {450, 288, 242, 22});
    ui::FitToFields(session, "Erogepek", {{ComboBox1, "Geptip"}});
    ui::FitToFields(session, "Munkagepek", {{ComboBox2, "Gepnev"}});
    for (ui::TControl* control :
         std::initializer_list<ui::TControl*>{Label7, ComboBox1, Label4, ComboBox2})
        control->SetEnabled(false);
    Button5 = ui::Make<ui::TButton>(this, {8, 340, 120, 30}, "Új saját gép");
    Button3 = ui::Make<ui::TButton>(this, {480, 340, 100, 30}, "Mégsem");
    Button4 = ui::Make<ui::TButton>(this, {590, 340, 100, 30}, "Rögzít");

    OnShow = Handler(&TFelhaszE::FormShow);
    OnClose = Handler(&TFelhaszE::FormClose);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TFelhaszE::Button1Click);
    Button2->OnClick = Handler(&TFelhaszE::Button2Click);
    Button3->OnClick = Handler(&TFelhaszE::Button3Click);
    Button4->OnClick = Handler(&TFelhaszE::Button4Click);
    Button5->OnClick = Handler(&TFelhaszE::Button5Click);
}

void TFelhaszE::FormShow(TObject*) {
    Table1.Open();
    Table2.Open();
    FillNames(session_, ComboBox1, "Geptip", "Erogepek");
    FillNames(session_, ComboBox2, "Gepnev", "Munkagepek");
}

void TFelhaszE::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
    Table2.Close();
}

void TFelhaszE::Button1Click(TObject*) {
    Label7->SetEnabled(true);
    ComboBox1->SetEnabled(true);
    ComboBox1->SetFocus();
    DBGrid1->SetEnabled(false);
    Label1->SetEnabled(false);
    Button1->SetEnabled(false);
}

void TFelhaszE::Button2Click(TObject*) {
    Label4->SetEnabled(true);
    ComboBox2->SetEnabled(true);
    ComboBox2->SetFocus();
    DBGrid2->SetEnabled(false);
    Label2->SetEnabled(false);
    Button2->SetEnabled(false);
}

void TFelhaszE::Button3Click(TObject*) {
    TractorCode = ImplementCode = res::kNoMachineCode;
    MachinesChosen = false;
    Close();
}

// The code of one side: a new service provider's machine, the first or the current own
// machine, or the no-machine code when there is none.
std::string TFelhaszE::Choose(const Side& side, db::TTable& own, ui::TComboBox* provider) {
    if (provider->Enabled() && !provider->Text().empty()) {
        db::TTable all(session_, "Machines");
        all.SetTableName(side.table);
        all.SetIndexName(side.codeIndex);
        all.Open();
        if (all.IsEmpty()) {
            all.Append();
            all.FieldByName("Gepkod").SetAsString(res::kNoMachineCode);
            all.FieldByName("Gepnev").SetAsString(side.noMachine);
            all.FieldByName(side.secondName).SetAsString(side.noMachine);
            all.FieldByName("Tul").SetAsInteger(1);
            all.Post();
        }
        const std::string code = res::NextMachineCode(all);
        all.Append();
        all.FieldByName("Gepkod").SetAsString(code);
        all.FieldByName(side.nameField).SetAsString(provider->Text());
        all.FieldByName("Tul").SetAsInteger(1);
        all.Post();
        all.FlushBuffers();
        return code;
    }
    if (provider->Enabled()) {
        own.SetIndexName(side.codeIndex);
        own.First();
    }
    if (own.IsEmpty())
        return res::kNoMachineCode;
    return own.FieldByName("Gepkod").AsString();
}

void TFelhaszE::Button4Click(TObject*) {
    static const Side tractor{"Erogepek", "Erogepkodind", "Geptip", " Erőgép nélkül", "Geptip"};
    static const Side implement{"Munkagepek", "Munkagepkodind", "Gepnev", " Munkagép nélkül",
                                "Tipus"};
    {
        db::SessionTransaction transaction(session_);
        TractorCode = Choose(tractor, Table1, ComboBox1);
        ImplementCode = Choose(implement, Table2, ComboBox2);
        transaction.Commit();
    }
    MachinesChosen = true;
    Close();
}

void TFelhaszE::Button5Click(TObject*) {
    ui::ShowModalForm(Eszkozfel, session_);
    Table1.Refresh();
    Table2.Refresh();
}
