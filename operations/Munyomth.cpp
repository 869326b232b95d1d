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
