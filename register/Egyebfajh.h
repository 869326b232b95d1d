#pragma once
// "Növényfaj, ágazat bevitele": adds one plant species or sector to Magfajtak.db. Opened
// by the "+" beside the sector of the field forms and by the stock movements form; the
// opener refreshes its own species list afterwards.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TEgyebFaj : public ui::TForm {
public:
    explicit TEgyebFaj(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Magfajtak.db in MagFajKodInd order

    ui::TLabel* Label1; // "Egyéb vetőmagfaj, ágazat bevitele"
    ui::TLabel* Label2;
    ui::TEdit* Edit1; // "Faj megnevezése :"
    ui::TLabel* Label3;
    ui::TEdit* Edit2;     // "Latin neve :"
    ui::TButton* Button2; // "Rögzítés"
    ui::TButton* Button1; // "Mégsem"

    // The code of the species stored by "Rögzítés"; empty when nothing was stored.
    std::string CreatedSpeciesCode;

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TEgyebFaj* EgyebFaj;

namespace reg {
// The next species code: one above the highest numeric code of Magfajtak.db and of the
// tables that name a species (seed varieties, land-use plan lines), "1" for none.
std::string NextSpeciesCode(db::Session& session);
} // namespace reg
