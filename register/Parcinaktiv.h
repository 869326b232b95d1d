#pragma once
// "Táblák inaktiválása": after a field was created on predecessor fields, lists those
// predecessors and closes the ones the user marks; the others stay active.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>
#include <vector>

class TParcinak : public ui::TForm {
public:
    explicit TParcinak(db::Session& session);

private:
    db::Session& session_;

public:
    // The predecessors to list, by Parckod; set by the opener before showing.
    std::vector<std::string> Predecessors;

    db::TTable Table1{session_, "Table1"}; // parcellak.db, the predecessors
    db::TDataSource DataSource1{&Table1};

    ui::TLabel* Label1; // "A megelőző táblák inaktiválása"
    ui::TLabel* Label2; // "( A kijelöletlenek aktívak maradnak ! )"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Kijelölések megszüntetése"
    ui::TButton* Button2; // "Rendben"

    void FormActivate(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
};
extern TParcinak* Parcinak;

namespace reg {
// "Parckod = 'a' OR Parckod = 'b'": the filter of the fields with those codes.
std::string FieldCodesFilter(const std::vector<std::string>& codes);
} // namespace reg
