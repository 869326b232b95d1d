#pragma once
// "Tábla aktiválás / törlés": the closed fields, reactivated or deleted with everything
// that hangs on them. The start-up instance, never shown, holds the cascade deletes of
// operations that the operation forms call through Parckezeles.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TParckezeles : public ui::TForm {
public:
    explicit TParckezeles(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // parcellak.db, the closed fields
    db::TDataSource DataSource1{&Table1};

    ui::TLabel* Label1;
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button2; // "Újraaktiválás"
    ui::TButton* Button3; // "Törlés"
    ui::TButton* Button1; // "Bezárás"

    // The cascade deletes (see cascade_deletes.h); a performed operation is deleted
    // after the question "Valóban törli a kijelölt műveletet?".
    void DeleteOperation(const std::string& muvkod, bool planned);
    void DeleteMaterialUses(const std::string& muvkod, bool planned);
    void DeleteStockMovements(const std::string& felhkod, bool planned);
    // Deletes the field and every row that names it, then refreshes the list.
    void DeleteField(const std::string& parckod);

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};
extern TParckezeles* Parckezeles;
