#pragma once
// The print holder of the work order, never shown: the report project "Munkautalvany.rav"
// and its two connections, which read the open work-order form (Munkautalvany): the
// header edits as one row, the sheet's rows from row 1 on as the rows.

#include "platform/report/report.h"
#include "platform/ui/vcl.h"

class TMUnyomt : public ui::TForm {
public:
    TMUnyomt();

    TRvProject RvProject1{this, "RvProject1", "Munkautalvany.rav"};
    TRvCustomConnection RvMunkaUtalvanyHead{this, "RvMunkaUtalvanyHead"};
    TRvCustomConnection RvMunkaUtalvanyRows{this, "RvMunkaUtalvanyRows"};

    void RvMunkaUtalvanyHeadOpen(TRvCustomConnection* Connection);
    void RvMunkaUtalvanyHeadEOF(TRvCustomConnection* Connection, bool& Eof);
    void RvMunkaUtalvanyHeadGetCols(TRvCustomConnection* Connection);
    void RvMunkaUtalvanyHeadGetRow(TRvCustomConnection* Connection);
    void RvMunkaUtalvanyRowsOpen(TRvCustomConnection* Connection);
    void RvMunkaUtalvanyRowsEOF(TRvCustomConnection* Connection, bool& Eof);
    void RvMunkaUtalvanyRowsGetCols(TRvCustomConnection* Connection);
    void RvMunkaUtalvanyRowsGetRow(TRvCustomConnection* Connection);
    // Both connections: the row index starts at 1 and counts up.
    void ConnectionFirst(TRvCustomConnection* Connection);
    void ConnectionNext(TRvCustomConnection* Connection);

private:
    bool headEnd_ = false;
    bool rowsEnd_ = false;
};
extern TMUnyomt* MUnyomt;
