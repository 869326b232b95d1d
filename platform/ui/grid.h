#pragma once
// A grid of strings: Cells(col, row) addressed as in the original, fixed (heading) rows
// and columns counted among the cells, editable cells, rows inserted and deleted, and
// hidden columns (width 0 or -1) whose cells keep their texts.

#include "control.h"

#include <QTableWidget>
#include <string>
#include <vector>

namespace ui {

class TStringGrid : public QTableWidget, public TControl {
public:
    explicit TStringGrid(QWidget* parent);

    int ColCount() const { return columnCount(); }
    int RowCount() const { return rowCount(); }
    void SetColCount(int count);
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    void SetFixedCols(int count);
    void SetFixedRows(int count);

    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    // The cells of one row, left to right.
    std::vector<std::string> Rows(int row) const;
    void SetRows(int row, const std::vector<std::string>& cells);

    int ColWidths(int col) const;
    // A width of 0 or less hides the column; its cells keep their texts.
    void SetColWidths(int col, int width);
    void SetDefaultRowHeight(int height);

    // Cells can be typed into (except the fixed ones).
    void SetEditing(bool editing);
    // Inserts an empty row before `row` / deletes a row; the rows below move.
    void InsertRow(int row);
    void DeleteRow(int row);

    // The current cell.
    int Col() const { return currentColumn(); }
    int Row() const { return currentRow(); }
    void SetCol(int col);
    void SetRow(int row);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    // The current cell moved; CanSelect false keeps it where it was.
    std::function<void(TObject*, int col, int row, bool& CanSelect)> OnSelectCell;
    // A cell's text was edited by the user.
    std::function<void(TObject*, int col, int row, const std::string& value)> OnSetEditText;

private:
    void StyleFixed();
    void StyleCell(int row, int col);
    bool quiet_ = false;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    bool editing_ = false;
};

} // namespace ui
