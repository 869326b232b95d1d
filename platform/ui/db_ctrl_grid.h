#pragma once
// TDBCtrlGrid: a panel repeated for successive rows of a data set. The program gives a
// factory that builds one row's panel; the grid shows RowCount panels around the cursor,
// marks the current row's panel, and moves the cursor when a panel is clicked or the Up
// and Down keys are pressed. Panels are built again when the rows or the window change.
//
//     DBCtrlGrid1 = new TDBCtrlGrid(this);
//     DBCtrlGrid1->SetDataSource(DataSource1);
//     DBCtrlGrid1->SetRowCount(4);
//     DBCtrlGrid1->SetPanelFactory([](const DbRow& row) {
//         return new QLabel(QString::fromStdString(row.AsString("Agazat")));
//     });

#include "platform/ui/control.h"
#include "platform/ui/db_link.h"

#include <QFrame>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QVBoxLayout;

namespace ui {

// One row of a data set as a panel reads it, without moving the cursor.
class DbRow {
public:
    DbRow(db::TDataSet& dataSet, std::size_t row) : dataSet_(dataSet), row_(row) {}
    std::size_t Row() const { return row_; }
    db::Value Value(std::string_view field) const;
    std::string AsString(std::string_view field) const;
    bool IsCurrent() const { return static_cast<int>(row_) == dataSet_.RecNo() - 1; }

private:
    db::TDataSet& dataSet_;
    std::size_t row_;
};

class TDBCtrlGrid : public QFrame, public TControl {
public:
    using PanelFactory = std::function<QWidget*(const DbRow& row)>;

    explicit TDBCtrlGrid(QWidget* parent = nullptr);

    void SetDataSource(db::TDataSource* source);
    db::TDataSource* DataSource() const { return link_.source(); }
    // Panels shown at once.
    void SetRowCount(int rows);
    int RowCount() const { return rowCount_; }
    void SetPanelFactory(PanelFactory factory);

    // The panels shown, the view row of the first, and the current row's panel (-1).
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QWidget* Panel(int index) const { return panels_.at(static_cast<std::size_t>(index)); }
    int TopRow() const { return top_; }
    int PanelIndex() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void dataSetEvent(db::DataEvent event);
    bool placeWindow();
    void rebuild();
    void clearPanels();
    void markCurrent();
    // Moves the cursor to a view row (the user's move: guarded).
    void moveTo(int row);

    PanelFactory factory_;
    QVBoxLayout* layout_;
    std::vector<QFrame*> panels_; // children of the grid
    int rowCount_ = 3;
    int top_ = 0;
    DataLink link_; // last: it lets go of the data set first
};

} // namespace ui
