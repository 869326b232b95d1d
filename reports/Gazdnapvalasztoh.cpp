#include "Gazdnapvalasztoh.h"

#include "Alapadatok1h.h"
#include "Gncimh.h"
#include "Gnkapcsdoch.h"
#include "Gnnovvedmegfh.h"
#include "Gnparcmuvszoloh.h"
#include "Gnparszukh.h"
#include "Gntalajvh.h"
#include "Parckiosztgraphh.h"
#include "Permnaploszukh.h"
#include "core/pictures.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/image.h"
#include "register/single_row.h"
#include "resources/Szaktanh.h"

TGazdNaploValaszto* GazdNaploValaszto = nullptr;

const std::array<const char*, 11> kGN02Columns = {"szant",  "gyep",  "szolo", "gyumol",
                                                  "nadas",  "halas", "zsomb", "erdo",
                                                  "pihent", "egyeb", "ossz"};

namespace {

struct SheetButton {
    ui::TButton* TGazdNaploValaszto::*button;
    const char* label;
    const char* caption;
    void (TGazdNaploValaszto::*click)(ui::TObject*); // null: the sheet is not kept here
};

// The sheets in the order of their three columns.
const SheetButton kSheetButtons[] = {
    {&TGazdNaploValaszto::Button1, "GN 01", "Címlap", &TGazdNaploValaszto::Button1Click},
    {&TGazdNaploValaszto::Button2, "GN 02", "Összesítő adatlap", &TGazdNaploValaszto::Button2Click},
    {&TGazdNaploValaszto::Button3, "GN 03", "Parcellaösszesítő", &TGazdNaploValaszto::Button3Click},
    {&TGazdNaploValaszto::Button4, "GN 04", "Parcella Alapadatok szántó",
     &TGazdNaploValaszto::Button4Click},
    {&TGazdNaploValaszto::Button5, "GN 05", "Parcella Adatok ültetvény",
     &TGazdNaploValaszto::Button5Click},
    {&TGazdNaploValaszto::Button6, "GN 06", "Parcella művelési adatok",
     &TGazdNaploValaszto::Button6Click},
    {&TGazdNaploValaszto::Button7, "GN 07", "Növényvédelmi  megfigyelés",
     &TGazdNaploValaszto::Button7Click},
    {&TGazdNaploValaszto::Button8, "GN 08", "Permetezési napló", &TGazdNaploValaszto::Button8Click},
    {&TGazdNaploValaszto::Button9, "GN 09", "Öntözési napló", &TGazdNaploValaszto::Button9Click},
    {&TGazdNaploValaszto::Button10, "GN 10", "Tartásmód összesítő", nullptr},
    {&TGazdNaploValaszto::Button11, "GN 11", "Trágyázási napló",
     &TGazdNaploValaszto::Button11Click},
    {&TGazdNaploValaszto::Button12, "GN 12", "Szervestrágya mérleg", nullptr},
    {&TGazdNaploValaszto::Button13, "GN 13", "Legeltetési nyilvántartás", nullptr},
    {&TGazdNaploValaszto::Button14, "GN 14", "Állatállomány-változási ny.", nullptr},
    {&TGazdNaploValaszto::Button15, "GN 15", "Halastavi nyilvántartás", nullptr},
    {&TGazdNaploValaszto::Button16, "GN 16", "Megjegyzések", &TGazdNaploValaszto::Button16Click},
    {&TGazdNaploValaszto::Button17, "GN 17", "Szaktanácsadási adatlap",
     &TGazdNaploValaszto::Button17Click},
};

constexpr int kRowsPerColumn = 6;
constexpr int kColumnWidth = 270;
constexpr int kRowHeight = 34;
constexpr int kTop = 44;

} // namespace

TGazdNaploValaszto::TGazdNaploValaszto(db::Session& session) : session_(session) {
    SetCaption("Ürlapválasztó");
    SetHelpContext(24);
    SetBorderStyle(ui::bsDialog);
    SetPosition(ui::poScreenCenter);
    SetClientSize(3 * kColumnWidth + 8, kTop + kRowsPerColumn * kRowHeight + 8);

    Query2.SQL().Add("SELECT Muvagid, SUM( Ter ) Ter");
    Query2.SQL().Add("FROM tablak");
    Query2.SQL().Add("WHERE  Aktiv = 1 ");
    Query2.SQL().Add("GROUP BY Muvagid");

    auto* title = ui::Make<ui::TLabel>(this, {8, 4, 300, 20}, "Űrlapok");
    title->SetBold(true);
    auto* strip = ui::Make<ui::TImage>(this, {8, 26, 3 * kColumnWidth - 14, 9});
    strip->SetStretch(true);
    strip->SetPicture(core::Picture("strip"));
    int i = 0;
    for (const SheetButton& sheet : kSheetButtons) {
        const int left = 8 + (i / kRowsPerColumn) * kColumnWidth;
        const int top = kTop + (i % kRowsPerColumn) * kRowHeight;
        ui::Make<ui::TStaticText>(this, {left, top + 3, 50, 21}, sheet.label);
        ui::TButton* button = ui::Make<ui::TButton>(this, {left + 56, top, 200, 27}, sheet.caption);
        this->*sheet.button = button;
        if (sheet.click)
            button->OnClick = Handler(sheet.click);
        else
            button->SetEnabled(false);
        ++i;
    }
    // Below the visible area and hidden: no user action reaches them.
    ui::TButton* TGazdNaploValaszto::*hidden[] = {
        &TGazdNaploValaszto::Button18, &TGazdNaploValaszto::Button19, &TGazdNaploValaszto::Button20,
        &TGazdNaploValaszto::Button21};
    for (ui::TButton* TGazdNaploValaszto::*member : hidden) {
        this->*member =
            ui::Make<ui::TButton>(this, {8, ClientHeight() + 40, 200, 27}, "Parcella művelés");
        (this->*member)->SetVisible(false);
    }
    Button18->OnClick = Handler(&TGazdNaploValaszto::Button18Click);
    Button19->OnClick = Handler(&TGazdNaploValaszto::Button19Click);
    Button20->OnClick = Handler(&TGazdNaploValaszto::Button20Click);
    Button21->OnClick = Handler(&TGazdNaploValaszto::Button21Click);

    std::vector<std::string> columns(kGN02Columns.begin(), kGN02Columns.end());
    reg::MakeSingleRowConnection(RvCustomGN02OsszesitoConnection1, columns,
                                 [this] { return GN02Row(); });
    ui::CloseOnEscape(this);
}

double TGazdNaploValaszto::BranchArea(int branch) {
    Query2.SetFilter("Muvagid = " + std::to_string(branch));
    Query2.SetFiltered(true);
    Query2.First();
    return Query2.IsEmpty() ? 0 : Query2.FieldByName("Ter").AsFloat();
}

std::vector<std::string> TGazdNaploValaszto::GN02Row() {
    Query2.Close();
    Query2.Open();
    std::vector<std::string> row;
    double total = 0;
    for (int branch = 1; branch <= 9; ++branch) {
        const double area = charts::AreaHaTruncated(BranchArea(branch));
        total += area;
        row.push_back(area == 0 ? "" : sys::floatToText(area));
    }
    row.push_back("");
    row.push_back(sys::floatToText(total));
    Query2.Close();
    return row;
}

void TGazdNaploValaszto::Button1Click(TObject*) {
    OpenDiaryCover(session_, false);
}

void TGazdNaploValaszto::Button2Click(TObject*) {
    RvProject1.ExecuteActiveReport();
}

void TGazdNaploValaszto::Button3Click(TObject*) {
    OpenParcelSummary(session_);
}

void TGazdNaploValaszto::Button4Click(TObject*) {
    OpenDiaryParcelConditions(session_, 1);
}

void TGazdNaploValaszto::Button5Click(TObject*) {
    OpenDiaryParcelConditions(session_, 2);
}

void TGazdNaploValaszto::Button6Click(TObject*) {
    OpenDiaryParcelConditions(session_, 3);
}

void TGazdNaploValaszto::Button7Click(TObject*) {
    OpenObservationSheet(session_);
}

void TGazdNaploValaszto::Button8Click(TObject*) {
    OpenSprayLogConditions(session_);
}

void TGazdNaploValaszto::Button9Click(TObject*) {
    OpenDiaryParcelConditions(session_, 4);
}

void TGazdNaploValaszto::Button11Click(TObject*) {
    OpenDiaryParcelConditions(session_, 5);
}

void TGazdNaploValaszto::Button16Click(TObject*) {
    OpenDiaryRemarks(session_);
}

void TGazdNaploValaszto::Button17Click(TObject*) {
    ShowSzaktan(session_);
}

void TGazdNaploValaszto::Button18Click(TObject*) {
    OpenDiaryParcelConditions(session_, 3);
}

void TGazdNaploValaszto::Button19Click(TObject*) {
    OpenParcelOperationsConditions(session_, 0);
}

void TGazdNaploValaszto::Button20Click(TObject*) {
    OpenParcelOperationsConditions(session_, 1);
}

void TGazdNaploValaszto::Button21Click(TObject*) {
    OpenParcelOperationsConditions(session_, 2);
}

void TGazdNaploValaszto::TalajvClick(TObject*) {
    OpenSoilTestConditions(session_);
}
