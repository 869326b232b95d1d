#pragma once
// "Új tábla meglévő tábla alapján": carries an active field over into a new farming year.
// The new field inherits the old one's land-parcel links, area, serial, support flags and
// plantation rows and continues it; the old field is closed by the same save.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TParcAktiv : public ui::TForm {
public:
    explicit TParcAktiv(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // parcellak.db, the active fields
    db::TTable Table2{session_, "Table2"}; // Magfajtak.db, the crop list
    db::TDataSource DataSource1{&Table1};
    db::TDataSource DataSource2{&Table2};

    ui::TDBGrid* DBGrid1;
    ui::TGroupBox* GroupBox1;                 // "Általános adatok"
    ui::TDBLookupComboBox* DBLookupComboBox1; // "Ágazat :"
    ui::TButton* Button3;                     // "+"
    ui::TComboBox* ComboBox1;                 // "Gazdasági év :"
    ui::TEdit* Edit1;                         // "Házi megnevezés :"
    ui::TEdit* Edit2;                         // "Hasznosítási kód :"
    ui::TComboBox* ComboBox2;                 // "Talajvizsgálat típusa :"
    ui::TComboBox* ComboBox3;                 // "Szaporítóanyag típusa :"
    ui::TEdit* Edit3;                         // "Hozamterv :"
    ui::TCheckBox* CheckBox1;                 // "Másodvetés :"
    ui::TCheckBox* CheckBox2;                 // "Vis major eset :"
    ui::TCheckBox* CheckBox3;                 // "Tápanyag-gazd. terv teljesült :"
    ui::TCheckBox* CheckBox4;                 // "Melléktermék/zöldtrágya talajba forgatása :"
    ui::TEdit* Edit4;                         // "Megjegyzés :"
    ui::TButton* Button2;                     // "Rögzítés"
    ui::TButton* Button1;                     // "Mégsem"
    ui::TButton* Button4;                     // "Tápanyag-gazdálkodási terv"
    ui::TButton* Button5;                     // "Termelést befolyásoló tényezők"

    // The Parckod of the new field; empty until a save succeeds.
    std::string CreatedFieldCode;

    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1CellClick(ui::TColumn& Column);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);

private:
    // Saves the carried field; returns the serial it got.
    int Carry(const std::string& code, int evj);
    bool activated_ = false;
    bool saved_ = false;
};
extern TParcAktiv* ParcAktiv;

namespace reg {
// The stored soil-test type of a list item: "SZ", "B", "T"; "T" for anything else.
std::string SoilTestTypeCode(int itemIndex);
// The serial of a field carried over into a year: its own when the year has no field of
// that serial, else one above the year's highest.
int CarriedSerial(db::Session& session, int evj, int parcsor);
} // namespace reg
