#include "soil_tests.h"

#include "platform/db/table.h"
#include "platform/ui/form_helpers.h"

namespace reg {

const std::vector<Analyte>& SoilAnalytes() {
    static const std::vector<Analyte> analytes = {
        {"pH", "pH", "PH"},         {"KA", "KA", "KA"},
        {"Só", "Só", "So"},         {"Mész", "Mész", "Mesz"},
        {"Humusz", "Hsz", "Hsz"},   {"NO3 + NO2", "N??", "NO3NO2N"},
        {"P2O5", "P2O2", "P2O2"},   {"K2O", "K2O", "K2O"},
        {"Mg", "Mg", "Mg"},         {"Mn", "Mn", "Mn"},
        {"Na", "Na", "Na"},         {"Zn", "Zn", "Zn"},
        {"Cu", "Cu", "Cu"},         {"Fe", "Fe", "Fe"},
        {"Mo", "Mo", "Mo"},         {"B", "B", "B"},
        {"SO4", "SO4", "SO4"},      {"Al", "Al", "Al"},
        {"As", "As", "Ass"},        {"Cd", "Cd", "Cd"},
        {"Co", "Co", "Co"},         {"Cr", "Cr", "Cr"},
        {"Hg", "Hg", "Hg"},         {"Ni", "Ni", "Ni"},
        {"Pb", "Pb", "Pb"},         {"Cd", "Összes Cd", "Ocd"},
        {"Cu", "Összes Cu", "Ocu"}, {"Ni", "Összes Ni", "Oni"},
        {"Pb", "Összes Pb", "Opb"}, {"Zn", "Összes Zn", "Ozn"},
        {"Hg", "Összes Hg", "Ohg"}, {"Cr", "Összes Cr", "Ocr"},
        {"As", "Összes As", "Oas"},
    };
    return analytes;
}

const std::vector<std::string>& SupplyClasses() {
    static const std::vector<std::string> classes = {"igen gyenge", "gyenge", "közepes",
                                                     "megfelelő",   "jó",     "sok"};
    return classes;
}

ui::TComboBox* SupplyClassBox(QWidget* parent, int left, int top, const std::string& caption) {
    ui::AddLabel(parent, caption, left, top, 70);
    auto* box = ui::Make<ui::TComboBox>(parent, {left + 72, top, 110, 22});
    for (const std::string& c : SupplyClasses())
        box->Items().Add(c);
    box->SetText("");
    return box;
}

void SetSamplingPlaceQuery(db::TQuery& query) {
    query.Close();
    query.SQL().Clear();
    query.SQL().Add("SELECT Kotegyter.Sorsz, Kotegyter.Ter, TalajmintaKet.Id, "
                    "TalajmintaKet.Jele, TalajmintaKet.Ter, TalajmintaKet.Elsominatido, "
                    "TalajmintaKet.Utolmintaido, TalajmintaKet.Elsojegyzsz, "
                    "TalajmintaKet.Utoljegyzsz, TalajmintaKet.Megjegyzés, "
                    "TalajmintaKet.\"025\", TalajmintaKet.\"020\", TalajmintaKet.\"2040\", "
                    "TalajmintaKet.\"030\", TalajmintaKet.\"3060\", Kotegyter.Hazimen, "
                    "celprogramok.Megnev, celprogramok.Kod, Kotegyter.Id");
    query.SQL().Add("FROM TalajmintaKet");
    query.SQL().Add("   INNER JOIN kotegyter");
    query.SQL().Add("   ON  (TalajmintaKet.Ketid = Kotegyter.Id)  ");
    query.SQL().Add("   INNER JOIN celprogramok");
    query.SQL().Add("   ON  (Kotegyter.Akgkod = celprogramok.Id)  ");
    query.SQL().Add("WHERE TalajmintaKet.Deleted = False");
    query.SQL().Add("ORDER BY  Kotegyter.Sorsz, TalajmintaKet.Jele");
}

std::string SamplingDepth(db::TDataSet& place) {
    std::string depth;
    const std::pair<const char*, const char*> flags[] = {
        {"025", "25"}, {"020", "20"}, {"2040", "40"}, {"030", "30"}, {"3060", "60"}};
    for (const auto& [column, centimetres] : flags)
        if (place.FieldByName(column).AsBoolean())
            depth = centimetres;
    return depth;
}

void LinkResultToPlace(db::Session& session, const std::string& mintakod, int placeId) {
    db::TTable links(session, "Table3");
    links.SetTableName("mitak_helyek.db");
    links.SetFilter("Miid = " + std::to_string(std::stoi(mintakod)));
    links.SetFiltered(true);
    links.Open();
    if (links.IsEmpty())
        links.Insert();
    else
        links.Edit();
    links.FieldByName("Mhid").SetAsInteger(placeId);
    links.FieldByName("Miid").SetAsString(mintakod);
    links.Post();
    links.Close();
}

void UnlinkResult(db::Session& session, const std::string& mintakod) {
    db::TTable links(session, "Table3");
    links.SetTableName("mitak_helyek.db");
    links.SetFilter("Miid = " + std::to_string(std::stoi(mintakod)));
    links.SetFiltered(true);
    links.Open();
    while (!links.IsEmpty())
        links.Delete();
    links.Close();
}

SamplingPlaceBox::SamplingPlaceBox(QWidget* parent, db::TDataSource* places,
                                   const std::string& okCaption) {
    GroupBox = new ui::TGroupBox(parent, "Mintaeredmény mintahelyének rögzítése");
    GroupBox->SetBounds(8, 8, 760, 300);
    (new ui::TLabel(GroupBox, "Meglévő mitahelyek:"))->SetBounds(12, 22, 200, 16);
    Grid = new ui::TDBGrid(GroupBox);
    Grid->SetBounds(12, 40, 736, 214);
    Grid->SetDataSource(places);
    Grid->SetReadOnly(true);
    Grid->SetRowSelect(true);
    Grid->Columns().Add("Sorsz", "KET s.sz.", 60);
    Grid->Columns().Add("Ter", "Terület", 60);
    Grid->Columns().Add("Jele", "Mintajel", 80);
    Grid->Columns().Add("Ter_1", "M.ter.", 55);
    Grid->Columns().Add("Elsominatido", "1. mintavétel", 85);
    Grid->Columns().Add("Elsojegyzsz", "1. jegyz. s.sz.", 90);
    Grid->Columns().Add("Utolmintaido", "Utolsó mintavétel", 95);
    Grid->Columns().Add("Utoljegyzsz", "Utolsó jegyz. s.sz.", 100);
    Grid->Columns().Add("Megnev", "Célprogram", 150);
    Grid->Columns().Add("Megjegyzés", "Megjegyzés", 150);
    OkButton = new ui::TButton(GroupBox, okCaption);
    OkButton->SetBounds(568, 262, 85, 27);
    CancelButton = new ui::TButton(GroupBox, "mégsem");
    CancelButton->SetBounds(663, 262, 85, 27);
    GroupBox->SetVisible(false);
    ui::EditBoxOverList(GroupBox);
}

void SamplingPlaceBox::Show(int left, int top) {
    GroupBox->SetBounds(left, top, GroupBox->Width(), GroupBox->Height());
    GroupBox->Show();
    GroupBox->BringToFront();
}

std::vector<ui::TEdit*> MakeAnalyteEdits(QWidget* parent, int left, int top, int maxLength) {
    std::vector<ui::TEdit*> edits;
    const auto& analytes = SoilAnalytes();
    for (std::size_t i = 0; i < analytes.size(); ++i) {
        const bool total = i >= kSoilElements;
        const int column = total ? 5 : static_cast<int>(i / 5);
        const int row = total ? static_cast<int>(i - kSoilElements) : static_cast<int>(i % 5);
        const int x = left + column * 130;
        const int y = top + row * 26;
        // Five characters fit a narrower box; the label keeps room for "NO3 + NO2".
        auto* label = new ui::TLabel(parent, analytes[i].caption);
        label->SetBounds(x, y + 3, 74, 16);
        auto* edit = new ui::TEdit(parent);
        edit->SetBounds(x + 76, y, 48, 22);
        if (maxLength > 0 && !total)
            edit->SetMaxLength(maxLength);
        edits.push_back(edit);
    }
    return edits;
}

} // namespace reg
