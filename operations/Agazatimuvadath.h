#pragma once
// "Ágazati művelet felvitele": one simple operation (no materials, workers or
// irrigation) recorded at once on every active field of a sector in a farming year.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"
#include "platform/ui/vcl.h"

#include <optional>
#include <string>

namespace ops {

// One sector run, read and checked from the form.
struct SectorOperation {
    std::string agazat;
    int evj = 0;
    sys::DateTime datum{};
    std::string muvnev, muvid; // the type's Muv and Kod
    double factor = 0;         // the type's Nha
    int extra = 0;             // the type's Extra
    std::string erogepkod, munkagepkod;
    std::optional<double> gepora, keziora;
    std::string szantm;          // Extra 1
    std::optional<double> hozam; // Extra 2 and 3
    std::string mellek;          // Extra 2
    bool szolg = false;
};

// The normal hectares of a field: factor × area in hectares, raised to the next 0.01.
double SectorNha(double factor, double terM2);

// Writes one ElvMuv.db row per active field of the sector and year, under consecutive
// codes in the field table's order, in one transaction. Returns how many.
int RecordSectorOperation(db::Session& session, const SectorOperation& run);

} // namespace ops

class TAgazatimuvadat : public ui::TForm {
public:
    explicit TAgazatimuvadat(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Normalhektar.db, one category, by Muv
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // Erogepek.db, own tractors
    db::TDataSource DataSource2{&Table2};
    db::TTable Table3{session_, "Table3"}; // Munkagepek.db, own implements
    db::TDataSource DataSource3{&Table3};
    db::TQuery Query1{session_, "Query1"}; // the sectors
    db::TQuery Query2{session_, "Query2"}; // the farming years

    ui::TComboBox* ComboBox1;               // "Ágazat:"
    ui::TComboBox* ComboBox2;               // "Gazd. év:"
    ui::TComboBox* ComboBox3;               // "Művelet típusa:"
    ui::TButton* SpeedButton1;              // "+"
    ui::TDBLookupListBox* DBLookupListBox1; // "Megnevezése:"
    ui::TDateTimePicker* DateTimePicker1;   // "Dátum :"
    ui::TEdit* Edit1;                       // "Gépóra:"
    ui::TEdit* Edit2;                       // "Kézióra:"
    ui::TLabel* Label9;                     // the extra input's label
    ui::TEdit* Edit3;                       // the extra input
    ui::TLabel* Label10;                    // its unit
    ui::TLabel* Label11;                    // "Melléktermék:"
    ui::TEdit* Edit4;                       // the by-product
    ui::TDBGrid* DBGrid1;                   // tractors
    ui::TDBGrid* DBGrid2;                   // implements
    ui::TCheckBox* CheckBox1;               // "Szolgáltató végezte"
    ui::TButton* Button1;                   // "Rögzítés"
    ui::TButton* Button2;                   // "Mégsem"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void ComboBox3Change(TObject* Sender);
    void DBLookupListBox1Click(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);

private:
    // Reads and checks the inputs; none after a message (or with no sector or year).
    std::optional<ops::SectorOperation> ReadInput();
    void ShowExtra(int extra);
};
extern TAgazatimuvadat* Agazatimuvadat;
