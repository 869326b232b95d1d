#include "grid.h"

#include "application.h"
#include "form.h"

#include <QHeaderView>

namespace ui {

TStringGrid::TStringGrid(QWidget* parent)
    : QTableWidget(Host(parent)), TControl(static_cast<QTableWidget&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false); // Tab leaves the grid for the next control
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setDefaultSectionSize(64);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnCount(5);
    setRowCount(5);
    SetFixedCols(1);
    SetFixedRows(1);
    connect(this, &QTableWidget::cellClicked, this, [this] {
        if (OnClick)
            Guarded([this] { OnClick(this); });
    });
    connect(this, &QTableWidget::cellDoubleClicked, this, [this] {
        if (OnDblClick)
            Guarded([this] { OnDblClick(this); });
    });
    connect(this, &QTableWidget::cellChanged, this, [this](int row, int col) {
        if (!quiet_ && OnSetEditText)
            Guarded([&] { OnSetEditText(this, col, row, Cells(col, row)); });
    });
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int oldRow, int oldCol) {
                if (quiet_ || !OnSelectCell || row < 0)
                    return;
                bool canSelect = true;
                Guarded([&] { OnSelectCell(this, col, row, canSelect); });
                if (!canSelect && oldRow >= 0) {
                    quiet_ = true;
                    setCurrentCell(oldRow, oldCol);
                    quiet_ = false;
                }
            });
}

void TStringGrid::SetColCount(int count) {
    quiet_ = true;
    setColumnCount(count);
    quiet_ = false;
    StyleFixed();
}

// The rows kept keep their style: only the rows added are styled (a grid grown one row
// at a time stays linear).
void TStringGrid::SetRowCount(int count) {
    const int before = rowCount();
    quiet_ = true;
    setRowCount(count);
    quiet_ = false;
    for (int row = before; row < rowCount(); ++row)
        for (int col = 0; col < columnCount(); ++col)
            StyleCell(row, col);
}

void TStringGrid::SetFixedCols(int count) {
    fixedCols_ = count;
    StyleFixed();
}

void TStringGrid::SetFixedRows(int count) {
    fixedRows_ = count;
    StyleFixed();
}

std::string TStringGrid::Cells(int col, int row) const {
    QTableWidgetItem* cell = item(row, col);
    return cell ? S(cell->text()) : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
    if (row < 0 || col < 0 || row >= rowCount() || col >= columnCount())
        throw std::out_of_range("Rácsindex a határokon kívül (" + std::to_string(col) + ", " +
                                std::to_string(row) + ")");
    quiet_ = true;
    QTableWidgetItem* cell = item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, col, cell);
    }
    cell->setText(Q(text));
    quiet_ = false;
    StyleCell(row, col);
}

std::vector<std::string> TStringGrid::Rows(int row) const {
    std::vector<std::string> cells;
    for (int col = 0; col < columnCount(); ++col)
        cells.push_back(Cells(col, row));
    return cells;
}

void TStringGrid::SetRows(int row, const std::vector<std::string>& cells) {
    for (int col = 0; col < columnCount(); ++col)
        SetCells(col, row,
                 col < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(col)] : "");
}

int TStringGrid::ColWidths(int col) const {
    return isColumnHidden(col) ? -1 : columnWidth(col);
}

void TStringGrid::SetColWidths(int col, int width) {
    setColumnHidden(col, width <= 0);
    if (width > 0)
        setColumnWidth(col, width);
}

void TStringGrid::SetDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
}

void TStringGrid::SetEditing(bool editing) {
    editing_ = editing;
    setEditTriggers(editing ? QAbstractItemView::AllEditTriggers
                            : QAbstractItemView::NoEditTriggers);
    StyleFixed();
}

void TStringGrid::InsertRow(int row) {
    quiet_ = true;
    insertRow(row);
    quiet_ = false;
    StyleFixed();
}

void TStringGrid::DeleteRow(int row) {
    quiet_ = true;
    removeRow(row);
    quiet_ = false;
}

void TStringGrid::SetCol(int col) {
    setCurrentCell(std::max(0, currentRow()), col);
}
void TStringGrid::SetRow(int row) {
    setCurrentCell(row, std::max(fixedCols_, currentColumn()));
}

void TStringGrid::StyleFixed() {
    for (int row = 0; row < rowCount(); ++row)
        for (int col = 0; col < columnCount(); ++col)
            StyleCell(row, col);
}

// Fixed cells look like headings and are neither chosen nor edited.
void TStringGrid::StyleCell(int row, int col) {
    quiet_ = true;
    bool fixed = row < fixedRows_ || col < fixedCols_;
    QTableWidgetItem* cell = item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, col, cell);
    }
    Qt::ItemFlags flags = fixed ? Qt::ItemIsEnabled
                                : Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                                      (editing_ ? Qt::ItemIsEditable : Qt::NoItemFlags);
    if (cell->flags() != flags)
        cell->setFlags(flags);
    QBrush background = fixed ? palette().button() : QBrush();
    if (cell->background() != background)
        cell->setBackground(background);
    quiet_ = false;
}

} // namespace ui
