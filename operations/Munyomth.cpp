#include "Munyomth.h"

#include "Munkautalvh.h"

TMUnyomt* MUnyomt = nullptr;

namespace {

const char* const kHeadColumns[] = {"Cim", "Nev", "Tol", "Ig", "Datum", "Kiado"};
const char* const kRowColumns[] = {"Munkamuvelet", "Muvter",   "Helyszin", "Parcter",
                                   "Erogep",       "Munkagep", "Ora",      "Perc",
                                   "Irany",        "Melyseg",  "Datum"};

template <std::size_t N>
void DefineColumns(TRvCustomConnection* connection, const char* const (&names)[N]) {
    for (const char* name : names)
        connection->DefineColumn(name, report::dtString, 50, "Cím", "Description 1");
}

} // namespace

TMUnyomt::TMUnyomt() {
    for (TRvCustomConnection* connection : {&RvMunkaUtalvanyHead, &RvMunkaUtalvanyRows}) {
        connection->RuntimeVisibility = report::rtDeveloper;
        connection->OnFirst = report::Bind(this, &TMUnyomt::ConnectionFirst);
        connection->OnNext = report::Bind(this, &TMUnyomt::ConnectionNext);
    }
    RvMunkaUtalvanyHead.OnOpen = report::Bind(this, &TMUnyomt::RvMunkaUtalvanyHeadOpen);
    RvMunkaUtalvanyHead.OnEOF = report::Bind(this, &TMUnyomt::RvMunkaUtalvanyHeadEOF);
    RvMunkaUtalvanyHead.OnGetCols = report::Bind(this, &TMUnyomt::RvMunkaUtalvanyHeadGetCols);
    RvMunkaUtalvanyHead.OnGetRow = report::Bind(this, &TMUnyomt::RvMunkaUtalvanyHeadGetRow);
    RvMunkaUtalvanyRows.OnOpen = report::Bind(this, &TMUnyomt::RvMunkaUtalvanyRowsOpen);
    RvMunkaUtalvanyRows.OnEOF = report::Bind(this, &TMUnyomt::RvMunkaUtalvanyRowsEOF);
    RvMunkaUtalvanyRows.OnGetCols = report::Bind(this, &TMUnyomt::RvMunkaUtalvanyRowsGetCols);
    RvMunkaUtalvanyRows.OnGetRow = report::Bind(this, &TMUnyomt::RvMunkaUtalvanyRowsGetRow);
}

void TMUnyomt::ConnectionFirst(TRvCustomConnection* Connection) {
    Connection->DataIndex = 1;
}
void TMUnyomt::ConnectionNext(TRvCustomConnection* Connection) {
    ++Connection->DataIndex;
}

void TMUnyomt::RvMunkaUtalvanyHeadOpen(TRvCustomConnection* Connection) {
    Connection->DataRows = 1;
    headEnd_ = false;
}

void TMUnyomt::RvMunkaUtalvanyHeadEOF(TRvCustomConnection*, bool& Eof) {
    Eof = headEnd_;
}

void TMUnyomt::RvMunkaUtalvanyHeadGetCols(TRvCustomConnection* Connection) {
    DefineColumns(Connection, kHeadColumns);
}

void TMUnyomt::RvMunkaUtalvanyHeadGetRow(TRvCustomConnection* Connection) {
    for (ui::TEdit* edit : {Munkautalvany->Edit1, Munkautalvany->Edit2, Munkautalvany->Edit3,
                            Munkautalvany->Edit4, Munkautalvany->Edit5, Munkautalvany->Edit6})
        Connection->PutStringColumn("", edit->Text());
    headEnd_ = true;
}

void TMUnyomt::RvMunkaUtalvanyRowsOpen(TRvCustomConnection* Connection) {
    Connection->DataRows = 1;
    rowsEnd_ = false;
}

void TMUnyomt::RvMunkaUtalvanyRowsEOF(TRvCustomConnection*, bool& Eof) {
    Eof = rowsEnd_;
}

void TMUnyomt::RvMunkaUtalvanyRowsGetCols(TRvCustomConnection* Connection) {
    DefineColumns(Connection, kRowColumns);
}

// The row just written was the sheet's last: the walk ends.
void TMUnyomt::RvMunkaUtalvanyRowsGetRow(TRvCustomConnection* Connection) {
    const ui::TStringGrid& grid = *Munkautalvany->StringGrid1;
    for (int col = 0; col < ops::kSheetColumns; ++col)
        Connection->PutStringColumn("", grid.Cells(col, Connection->DataIndex));
    if (grid.RowCount() <= Connection->DataIndex + 1)
        rowsEnd_ = true;
}

// The work order: the title, the worker and the days over a ruled table of the sheet's
// lines, the date of issue and the issuer below, with room for both signatures.
const char* WorkOrderLayout() {
    return R"RAV(farmreport 1 version=1
# Munkautalvany.rav: the work order of one worker
page size=A4 orientation=landscape margin=12 font=9

title
text "{RvMunkaUtalvanyHead.Cim}" size=16 bold align=center
space 2
text "{RvMunkaUtalvanyHead.Nev}" size=11 bold width=150
text "{RvMunkaUtalvanyHead.Tol} {RvMunkaUtalvanyHead.Ig}" size=11 align=right sameline x=150 width=123
space 3

pageheader
text "{RvMunkaUtalvanyHead.Cim}" size=8 width=130
text "{RvMunkaUtalvanyHead.Nev}" size=8 align=right sameline x=130 width=143
line
space 1

band Sorok connection=RvMunkaUtalvanyRows rules=grid frame=0.4
column Munkamuvelet caption="Munkaművelet" width=48 wrap
column Muvter caption="Műv. ter.\n(ha)" width=18 align=right
column Helyszin caption="Helyszín" width=38 wrap
column Parcter caption="Parc. ter.\n(ha)" width=18 align=right
column Erogep caption="Erőgép" width=30 wrap
column Munkagep caption="Munkagép" width=38 wrap
column Ora caption="óra" width=12 align=right
column Perc caption="perc" width=13
column Irany caption="irány" width=16 wrap
column Melyseg caption="mélység" width=17
column Datum caption="Dátum" width=24 align=center
heading "Munkaidő" from=Ora to=Perc

summary
space 6
text "{RvMunkaUtalvanyHead.Datum}" width=120
space 10
text "{RvMunkaUtalvanyHead.Kiado}" width=120
text "Átvette:" align=right sameline x=150 width=123
space 8
text "........................................" width=120
text "........................................" align=right sameline x=150 width=123
text "munkakiadó" width=80
text "munkavégző" align=right sameline x=150 width=123

pagefooter
line
text "{#page}. oldal / {#pages}" size=8 align=right
)RAV";
}
