#include "Gncimh.h"

#include "core/Isnuminth.h"
#include "core/farm_row.h"
#include "platform/sys/numbers.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"
#include "register/single_row.h"

TGNcim* GNcim = nullptr;

const std::array<const char*, 23> kCoverColumns = {
    "Gev",   "Gnev",    "Cegf",    "Ugyfreg",    "Helys",  "Irany", "Utca",      "Tel",
    "Fax",   "email",   "Knev",    "Khely",      "Kirany", "Kutca", "Ktel",      "Kfax",
    "Kmail", "Szregsz", "Szaktan", "Szaktanreg", "Fnev",   "Fcim",  "Szaktancim"};

std::string CoverFarmingYear(const std::string& yearPair) {
    if (yearPair.empty())
        return "";
    // Two years one after the other, each from 1900 to 2100: "2025-2024" is no pair.
    const std::optional<int> first = YearOf(std::string_view(yearPair).substr(0, 4));
    const std::optional<int> second =
        yearPair.size() == 9 && yearPair[4] == '-' ? YearOf(yearPair.substr(5, 4)) : std::nullopt;
    if (!first || !second || *second != *first + 1)
        return "..../....";
    return std::to_string(*first) + "/" + yearPair.substr(7, 2);
}

std::string YearPair(int evj) {
    return std::to_string(evj - 1) + "-" + std::to_string(evj);
}

TGNcim::TGNcim(db::Session& session) : session_(session) {
    SetCaption("Gazdálkodási Napló Címlap");
    SetBorderStyle(ui::bsDialog);
    SetPosition(ui::poScreenCenter);
    SetClientSize(300, 130);

    Table1.SetTableName("Alapadatok.DB");
    core::FilterFarmRow(Table1);
    Table2.SetTableName("Alapadat2.db");
    Query1.SQL().Add("SELECT DISTINCT Evj");
    Query1.SQL().Add("FROM parcellak");
    Query1.SQL().Add("ORDER BY Evj");

    GroupBox1 = ui::Make<ui::TGroupBox>(this, {8, 8, 284, 60}, "Gazdasági év");
    ComboBox1 = ui::Make<ui::TComboBox>(GroupBox1, {12, 24, 140, 22});
    ComboBox1->SetMaxLength(9); // "2008-2009", which YearPrintable checks
    Button3 = ui::Make<ui::TButton>(this, {100, 90, 90, 27}, "Mégsem");
    Button2 = ui::Make<ui::TButton>(this, {200, 90, 90, 27}, "Nyomtatás");
    Button1 = ui::Make<ui::TButton>(this, {200, 90, 90, 27}, "Nyomtatás");
    Button1->SetVisible(false);
    SetTabOrder({ComboBox1, Button2, Button1, Button3});

    PopupMenu1 = new ui::TPopupMenu(this);
    PopupMenu1->Add("Nyomtatás            CTRL+P"); // does nothing, as its key
    PopupMenu1->Add("Nyomtatási kép     CTRL+I")->OnClick = Handler(&TGNcim::Nyomtatasikep1Click);
    PopupMenu1->Add("Mégsem                 CTRL+X", Button3);
    SetPopupMenu(PopupMenu1);

    std::vector<std::string> columns(kCoverColumns.begin(), kCoverColumns.end());
    reg::MakeSingleRowConnection(RvCustomGNCimConnection1, columns, [this] { return CoverRow(); });

    OnShow = Handler(&TGNcim::FormShow);
    OnActivate = Handler(&TGNcim::FormActivate);
    OnClose = Handler(&TGNcim::FormClose);
    SetKeyPreview(true);
    // The keys the popup's captions name.
    OnKeyPress = [this](TObject*, TKey& Key) {
        if (Key == ui::ctrlKey('I')) {
            Nyomtatasikep1Click(nullptr);
            Key = ui::keyNone;
        }
        ui::Shortcuts(Key, {{'X', Button3}});
    };
    SetEnterMovesLikeTab(true, {Button2, Button3});
    Button1->OnClick = Handler(&TGNcim::Button1Click);
    Button2->OnClick = Handler(&TGNcim::Button2Click);
    Button3->OnClick = Handler(&TGNcim::Button3Click);
}

void TGNcim::FormShow(TObject*) {
    for (db::TDataSet* rows : std::initializer_list<db::TDataSet*>{&Table1, &Table2, &Query1}) {
        rows->Open();
        rows->First();
    }
    ComboBox1->Items().Clear();
    listed_ = false;
}

// Every activation (a preview closing in front of the form too) sets the latest pair
// again; the list is filled at the first.
void TGNcim::FormActivate(TObject*) {
    if (Query1.IsEmpty()) {
        ComboBox1->SetText("");
        Button2->SetEnabled(false);
        return;
    }
    if (!listed_) {
        for (Query1.First(); !Query1.Eof(); Query1.Next())
            ComboBox1->Items().Add(YearPair(Query1.FieldByName("Evj").AsInteger()));
        listed_ = true;
    }
    Query1.Last();
    ComboBox1->SetText(YearPair(Query1.FieldByName("Evj").AsInteger()));
}

void TGNcim::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
    Table2.Close();
    Query1.Close();
}

std::vector<std::string> TGNcim::CoverRow() {
    auto farm = [this](const char* field) {
        return Table1.IsEmpty() ? std::string() : Table1.FieldByName(field).AsString();
    };
    auto seat = [this](const char* field) {
        return Table2.IsEmpty() ? std::string() : Table2.FieldByName(field).AsString();
    };
    return {CoverFarmingYear(ComboBox1->Text()),
            farm("Nev"),
            farm("Cegf"),
            farm("Ureg"),
            farm("Cim"),
            seat("Cegiranyito"),
            seat("Cegcim"),
            farm("Tel"),
            farm("Kfax"),
            farm("Kemail"),
            farm("Knev"),
            farm("Khely"),
            farm("Kir"),
            farm("Kutcah"),
            farm("Ktel"),
            farm("Kfax"),
            farm("Kemail"),
            farm("Szakirregsz"),
            farm("Szaktan"),
            farm("Szaktaneng"),
            farm("Fnev"),
            farm("Fcim"),
            farm("Szaktancim")};
}

bool TGNcim::YearPrintable() {
    if (CoverFarmingYear(ComboBox1->Text()) != "..../....")
        return true;
    ui::MessageDlg("A 'Gazdasági év' nem évpár: kérem, így adja meg: 2008-2009!", ui::mtWarning,
                   ui::mbOK);
    return false;
}

void TGNcim::Button1Click(TObject*) {
    if (YearPrintable())
        RvProject2.ExecuteActiveReport();
}

void TGNcim::Button2Click(TObject*) {
    if (YearPrintable())
        RvProject1.ExecuteActiveReport();
}

void TGNcim::Button3Click(TObject*) {
    Close();
}

void TGNcim::Nyomtatasikep1Click(TObject*) {
    if (Button1->Visible())
        Button1Click(nullptr);
    else
        Button2Click(nullptr);
}

void OpenDiaryCover(db::Session& session, bool only2009) {
    ui::OwnedForm<TGNcim> form(GNcim, session);
    if (only2009) {
        form->Button1->SetVisible(true);
        form->Button2->SetVisible(false);
    }
    form->ShowModal();
}
