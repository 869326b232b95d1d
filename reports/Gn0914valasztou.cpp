#include "Gn0914valasztou.h"

#include "Alapadatok1h.h"
#include "Gn1909vismajoru.h"
#include "Gncimh.h"
#include "Gnkapcsdoch.h"
#include "Gnnovvedmegfh.h"
#include "Gnparszukh.h"
#include "Parckiosztgraphh.h"
#include "Permnaploszukh.h"
#include "core/Isnuminth.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"
#include "register/single_row.h"

#include <QColor>

TGN200914* GN200914 = nullptr;

namespace {

constexpr int kBranches = 13;
// The year whose areas are summed when the year box holds no year (the print buttons
// refuse such a box; this keeps the heading and the areas of one year all the same).
constexpr int kYearFallback = 2010;

} // namespace

const std::vector<std::string>& SummaryColumns() {
    static const std::vector<std::string> columns = {
        "szant",      "gyep",        "szolo",         "gyumol",  "nadas",     "halas",
        "zsomb",      "erdo",        "pihent",        "kasz",    "legel",     "fasitott",
        "konyhakert", "ossz",        "akgszant",      "akggyep", "akgszolo",  "akggyumol",
        "akgnadas",   "akghalas",    "akgzsomb",      "akgerdo", "akgpihent", "akgkasz",
        "akglegel",   "akgfasitott", "akgkonyhakert", "evj1",    "evj2"};
    return columns;
}

TGN200914::TGN200914(db::Session& session) : session_(session) {
    SetCaption("Gazdálkodási Napló 2009 - 2014");
    SetClientSize(731, 397);
    SetPosition(ui::poScreenCenter);

    for (const char* line :
         {"SELECT legnaplo.Legmod, legnaplo.Legnapid, parcellak.Parcsor, parcellak.Agazat, "
          "legnaplo.Legkezd, legnaplo.Ter, legnaplo.Darab, legnaplo.Napok, legnaplo.Ae, "
          "Allatfajok.Megnev, Korcsoport.Korcs, celprogramok.Megnev, celprogramok.Kod, "
          "parcellak.Agrkor",
          "FROM legnaplo", "   INNER JOIN Allatfajok", "   ON  (legnaplo.Allid = Allatfajok.Id)  ",
          "   INNER JOIN parcellak", "   ON  (parcellak.Parckod = legnaplo.Parcid)  ",
          "   INNER JOIN Korcsoport", "   ON  (legnaplo.Kor_id = Korcsoport.Id)  ",
          "   INNER JOIN kotegyter", "   ON  (parcellak.Ketid = kotegyter.Id)  ",
          "   INNER JOIN celprogramok", "   ON  (kotegyter.Akgkod = celprogramok.Id)  ",
          "WHERE  legnaplo.Deleted <> TRUE ",
          // The log reads in the order the grazings began.
          "ORDER BY legnaplo.Legkezd, legnaplo.Legnapid"})
        Query10.SQL().Add(line);
    Query10.AddCalcField("akgcelpkod", db::FieldType::Alpha, 10);
    Query10.AddCalcField("terha", db::FieldType::Number);
    Query10.OnCalcFields = [this](db::TDataSet& rows) { Query10CalcFields(rows); };

    for (const char* line :
         {"SELECT Kotegyter.Sorsz, Kotegyter.Ter,  TalajmintaKet.Id, TalajmintaKet.Jele, "
          "TalajmintaKet.Ter, TalajmintaKet.Elsominatido, TalajmintaKet.Utolmintaido, "
          "TalajmintaKet.Elsojegyzsz, TalajmintaKet.Utoljegyzsz, TalajmintaKet.Megjegyzés, "
          "TalajmintaKet.\"025\", TalajmintaKet.\"020\", TalajmintaKet.\"2040\", "
          "TalajmintaKet.\"030\", TalajmintaKet.\"3060\", Kotegyter.Hazimen, "
          "celprogramok.Megnev, celprogramok.Kod,Kotegyter.Id",
          "FROM TalajmintaKet", "   INNER JOIN kotegyter",
          "   ON  (TalajmintaKet.Ketid = Kotegyter.Id)  ", "   INNER JOIN celprogramok",
          "   ON  (Kotegyter.Akgkod = celprogramok.Id)  ", "WHERE TalajmintaKet.Deleted = False",
          "ORDER BY  Kotegyter.Sorsz, TalajmintaKet.Jele"})
        Query11.SQL().Add(line);
    for (const char* name : {"x025", "x020", "x2040", "x030", "x3060"})
        Query11.AddCalcField(name, db::FieldType::Alpha, 4);
    Query11.OnCalcFields = [this](db::TDataSet& rows) { Query11CalcFields(rows); };

    reg::MakeSingleRowConnection(RvCustomGN0209OsszesitoConnection1, SummaryColumns(),
                                 [this] { return RvCustomGN0209OsszesitoConnection1GetRow(); });

    // The strip across the top.
    auto* strip = ui::Make<ui::TShape>(this, {0, 0, 731, 56});
    strip->SetBrushColor(QColor(46, 107, 58));
    strip->SetPenColor(QColor(46, 107, 58));
    auto* heading =
        ui::Make<ui::TLabel>(this, {16, 14, 700, 28}, "Gazdálkodási Napló Űrlapok GN2009-14");
    heading->SetBold(true);
    heading->setStyleSheet("color: white; font-size: 16pt;");

    Button1 = SheetButton(0, 0, "", "Címlap");
    Button11 = SheetButton(0, 1, "GN-01", "Összesítő adatlap");
    Button2 = SheetButton(0, 2, "GN-02", "AKG - SZÁNTÓ");
    Button12 = SheetButton(0, 3, "GN-03", "AKG - GYEP");
    Button13 = SheetButton(0, 4, "GN-04", "AKG - ÜLTETVÉNY");
    Button3 = SheetButton(0, 5, "GN-05", "AKG - NÁDAS");
    Button4 = SheetButton(0, 6, "GN-06", "Táblaösszesítő (nem AKG)");
    Button5 = SheetButton(1, 0, "GN-07", "Műveleti napló");
    Button14 = SheetButton(1, 1, "GN-08", "Legeltetési napló");
    Button15 = SheetButton(1, 2, "GN-09", "Növényvédelmi megf.");
    Button30 = SheetButton(1, 3, "GN-10", "Permetezési napló");
    Button16 = SheetButton(1, 4, "GN-11", "Öntözési nyilvántartás");
    Button18 = SheetButton(1, 5, "GN-12", "Trágyázási napló");
    Button32 = SheetButton(2, 0, "GN-13", "Szervestrágya mérleg");
    Button34 = SheetButton(2, 1, "GN-14", "Állatállomány-változási ny.");
    Button36 = SheetButton(2, 2, "GN-15", "Állatállomány összesítő");
    Button8 = SheetButton(2, 3, "GN-16", "Talajvizsgálati adatok");
    Button17 = SheetButton(2, 4, "GN-17", "Táblaváltozás, másodvetés");
    Button6 = SheetButton(2, 5, "GN-18", "Megjegyzések");
    Button10 = SheetButton(2, 6, "GN-19", "\"vis maior\" esetek");
    for (ui::TButton* button : {Button32, Button34, Button36})
        button->SetEnabled(false);
    ui::Make<ui::TLabel>(this, {264, 324, 90, 20}, "gazadsági év :");
    ComboBox1 = ui::Make<ui::TComboBox>(this, {356, 320, 90, 22});
    ui::YearBox(ComboBox1);

    OnShow = Handler(&TGN200914::FormShow);
    OnClose = Handler(&TGN200914::FormClose);
    Button1->OnClick = Handler(&TGN200914::Button1Click);
    Button11->OnClick = Handler(&TGN200914::Button11Click);
    Button2->OnClick = Handler(&TGN200914::Button2Click);
    Button12->OnClick = Handler(&TGN200914::Button12Click);
    Button13->OnClick = Handler(&TGN200914::Button13Click);
    Button4->OnClick = Handler(&TGN200914::Button4Click);
    Button5->OnClick = Handler(&TGN200914::Button5Click);
    Button14->OnClick = Handler(&TGN200914::Button14Click);
    Button15->OnClick = Handler(&TGN200914::Button15Click);
    Button30->OnClick = Handler(&TGN200914::Button30Click);
    Button16->OnClick = Handler(&TGN200914::Button16Click);
    Button18->OnClick = Handler(&TGN200914::Button18Click);
    Button8->OnClick = Handler(&TGN200914::Button8Click);
    Button6->OnClick = Handler(&TGN200914::Button6Click);
    Button10->OnClick = Handler(&TGN200914::Button10Click);
    ui::CloseOnEscape(this);
}

// A sheet button in one of the three columns, its label in a sunken text at its left.
ui::TButton* TGN200914::SheetButton(int column, int row, const char* label, const char* caption) {
    const int left = 10 + column * 240;
    const int top = 72 + row * 40;
    if (*label != '\0')
        ui::Make<ui::TStaticText>(this, {left, top + 3, 50, 21}, label);
    return ui::Make<ui::TButton>(this, {left + 54, top, 176, 27}, caption);
}

void TGN200914::FormShow(TObject*) {
    Query6.SQL().Clear();
    Query6.Close();
    Query6.SQL().Add("SELECT DISTINCT Evj");
    Query6.SQL().Add("FROM parcellak");
    Query6.SQL().Add("ORDER BY Evj");
    Query6.Open();
    if (!Query6.IsEmpty()) {
        std::string last;
        for (Query6.First(); !Query6.Eof(); Query6.Next()) {
            last = Query6.FieldByName("Evj").AsString();
            ComboBox1->Items().Add(last);
        }
        ComboBox1->SetText(last);
    }
    Query6.Close();
    KetSheets.FormShow();
}

void TGN200914::FormClose(TObject*, TCloseAction&) {
    KetSheets.FormClose();
}

void TGN200914::Button1Click(TObject*) {
    OpenDiaryCover(session_, true);
}

// The sheets of one farming year print only for a year box that holds a year; before any
// field is recorded there is none to choose, and the message says so.
bool TGN200914::YearChosen() {
    return NumericInt->IsYearChosen(ComboBox1->Text(), ComboBox1->Items().Count() > 0,
                                    "Gazdasági év");
}

void TGN200914::Button11Click(TObject*) {
    if (!YearChosen())
        return;
    RvProject1.ExecuteActiveReport();
}

void TGN200914::Button2Click(TObject*) {
    KetSheets.PrintArable();
}

void TGN200914::Button12Click(TObject*) {
    KetSheets.PrintGrassland();
}

void TGN200914::Button13Click(TObject*) {
    if (!YearChosen())
        return;
    KetSheets.PrintPlantation(ComboBox1->Text());
}

void TGN200914::Button4Click(TObject*) {
    PrintParcelSummaryUnshown(session_, ComboBox1->Text());
}

void TGN200914::Button5Click(TObject*) {
    OpenDiaryParcelConditions(session_, 3, "09GN07MuvAdatok.rav");
}

void TGN200914::Button15Click(TObject*) {
    OpenObservationSheet(session_, "09GN09Novvedmegf.rav");
}

void TGN200914::Button30Click(TObject*) {
    OpenSprayLogConditions(session_, "09GN10Permetez.rav");
}

void TGN200914::Button16Click(TObject*) {
    OpenDiaryParcelConditions(session_, 4, "09GN11Ontozes.rav");
}

void TGN200914::Button18Click(TObject*) {
    OpenDiaryParcelConditions(session_, 5, "09GN12TraNapl.rav");
}

void TGN200914::Button6Click(TObject*) {
    OpenDiaryRemarks(session_);
}

void TGN200914::Button14Click(TObject*) {
    Query10.Open();
    report::ExecuteUnlessEmpty(RvProject5, Query10);
    Query10.Close();
}

void TGN200914::Button8Click(TObject*) {
    RvProject6.ExecuteActiveReport();
}

void TGN200914::Button10Click(TObject*) {
    ui::OwnedForm<TGN1909vismajor> form(GN1909vismajor, session_);
    form->Query1.Open();
    form->RvProject1.ExecuteActiveReport();
    form->Query1.Close();
}

void TGN200914::Query10CalcFields(db::TDataSet& DataSet) {
    if (DataSet.FieldByName("Agrkor").AsBoolean())
        DataSet.FieldByName("akgcelpkod").SetAsString(DataSet.FieldByName("Kod").AsString());
    // Whole ares: the remainder below 100 m² is dropped.
    DataSet.FieldByName("terha").SetAsFloat((DataSet.FieldByName("Ter").AsInteger() / 100) * 0.01);
}

void TGN200914::Query11CalcFields(db::TDataSet& DataSet) {
    for (const char* depth : {"025", "020", "2040", "030", "3060"})
        DataSet.FieldByName(std::string("x") + depth)
            .SetAsString(DataSet.FieldByName(depth).AsBoolean() ? "X" : " ");
}

double TGN200914::SumBranchArea(int branch) {
    Query2.SetFilter("Muvagid = " + std::to_string(branch));
    Query2.SetFiltered(true);
    double sum = 0;
    for (Query2.First(); !Query2.Eof(); Query2.Next())
        sum += Query2.FieldByName("Ter").AsFloat();
    return sum;
}

void TGN200914::OpenBranchAreas(bool akgOnly, int year) {
    Query2.Close();
    Query2.SQL().Clear();
    for (const char* line :
         {"SELECT Muvagid, parcellak.Ter, parcellak.Parckod", "FROM parcellak",
          "INNER JOIN Szhelyrajzi", " ON parcellak.Parckod = Szhelyrajzi.Parcellakod",
          "INNER JOIN Tablak", " ON Szhelyrajzi.Helysz = Tablak.Tableid"})
        Query2.SQL().Add(line);
    Query2.SQL().Add(
        akgOnly ? "WHERE Tablak.Aktiv = 1 AND parcellak.Agrkor = True AND parcellak.Evj=:ev"
                : "WHERE Tablak.Aktiv = 1 AND parcellak.Evj=:ev");
    Query2.SQL().Add("GROUP BY Muvagid, parcellak.Ter, parcellak.Parckod");
    Query2.ParamByName("ev").SetAsInteger(year);
    Query2.Open();
}

std::vector<std::string> TGN200914::RvCustomGN0209OsszesitoConnection1GetRow() {
    // The year of the selector being shown (this one when none is).
    const std::string yearText = (GN200914 ? GN200914 : this)->ComboBox1->Text();
    // A text that is no year gives the fallback year's areas, and the heading names that
    // year, so the sheet never shows areas under another year's name.
    const int year = YearOf(yearText).value_or(kYearFallback);
    std::vector<std::string> row;
    for (bool akgOnly : {false, true}) {
        OpenBranchAreas(akgOnly, year);
        double total = 0;
        for (int branch = 1; branch <= kBranches; ++branch) {
            const double hectares = charts::AreaHaTruncated(SumBranchArea(branch));
            total += hectares;
            row.push_back(hectares == 0 ? "" : sys::floatToText(hectares));
        }
        if (!akgOnly)
            row.push_back(sys::floatToText(total));
    }
    Query2.Close();
    row.push_back(std::to_string(year - 1));
    row.push_back(std::to_string(year));
    return row;
}
