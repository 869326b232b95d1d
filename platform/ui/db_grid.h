#pragma once
// TDBGrid: a table view over a data source's data set. It follows the data set's cursor
// and order, moves the cursor when the user moves in it, reads the rows it shows on
// demand (a 100 000-row table costs only the visible rows), keeps the rows marked with
// Ctrl and Shift as bookmarks in the order they were marked, and, when editable, edits
// the current row's fields and posts them when the row is left.
//
//     DBGrid1 = new TDBGrid(this);
//     DBGrid1->SetDataSource(DataSource1);
//     DBGrid1->Columns().Add("Evj", "G. év");
//     DBGrid1->Columns().Add("Agazat", "Ágazat", 120);
//     DBGrid1->SetReadOnly(true);
//     DBGrid1->SetMultiSelect(true);
//     for (int i = 0; i < DBGrid1->SelectedRows().Count(); ++i)
//         Table1->GotoBookmark(DBGrid1->SelectedRows()[i]);
//
// What the user does runs guarded: a row that cannot be posted when the user leaves it
// (a key violation), or a cell text its field refuses, goes to the error display, and the
// grid stays on the row being edited.

#include "platform/db/dataset.h"
#include "platform/ui/control.h"
#include "platform/ui/db_link.h"

#include <QTableView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class TDBGrid;
class TDBGridColumns;
class DbGridModel;

// One column: the field it shows, its title, width in pixels (0: the default) and
// whether it is shown.
class TColumn {
public:
    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(std::string name);
    // Title.Caption: the header text; empty shows the field name.
    const std::string& TitleCaption() const { return caption_; }
    void SetTitleCaption(std::string caption);
    int Width() const { return width_; }
    void SetWidth(int width);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    int Index() const { return index_; }

private:
    friend class TDBGridColumns;
    TColumn(TDBGridColumns& owner, int index) : owner_(&owner), index_(index) {}
    void changed();

    TDBGridColumns* owner_;
    int index_;
    std::string fieldName_;
    std::string caption_;
    int width_ = 0;
    bool visible_ = true;
    bool readOnly_ = false;
};

// The grid's columns. Without columns added, the grid shows every field of the data
// set (made again each time it opens).
class TDBGridColumns {
public:
    explicit TDBGridColumns(std::function<void()> changed) : changed_(std::move(changed)) {}
    TDBGridColumns(const TDBGridColumns&) = delete;
    TDBGridColumns& operator=(const TDBGridColumns&) = delete;

    TColumn& Add(std::string fieldName = {}, std::string caption = {}, int width = 0);
    void Clear();
    int Count() const { return static_cast<int>(columns_.size()); }
    TColumn& Items(int index) { return *columns_.at(static_cast<std::size_t>(index)); }
    TColumn& operator[](int index) { return Items(index); }
    // Whether the columns were added by the program, not made from the fields.
    bool Customized() const { return customized_; }

private:
    friend class TColumn;
    friend class TDBGrid;
    void makeDefault(db::TDataSet& dataSet);
    void changed() {
        if (changed_)
            changed_();
    }

    std::function<void()> changed_;
    std::vector<std::unique_ptr<TColumn>> columns_;
    bool customized_ = false;
};

// The rows marked in a multi-select grid, as bookmarks in the order they were marked. A
// marked row that left the view keeps its bookmark until the marks are cleared.
class TBookmarkList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const db::TBookmark& Items(int index) const {
        return items_.at(static_cast<std::size_t>(index));
    }
    const db::TBookmark& operator[](int index) const { return Items(index); }
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool selected);
    void Clear();
    // Whether the bookmarked row is marked.
    bool Contains(const db::TBookmark& bookmark) const;

private:
    friend class TDBGrid;
    explicit TBookmarkList(TDBGrid& grid) : grid_(grid) {}
    void add(const db::TBookmark& bookmark);
    void remove(const db::TBookmark& bookmark);

    TDBGrid& grid_;
    std::vector<db::TBookmark> items_;
};

class TDBGrid : public QTableView, public TControl {
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;
    TDBGrid(const TDBGrid&) = delete;
    TDBGrid& operator=(const TDBGrid&) = delete;

    void SetDataSource(db::TDataSource* source);
    db::TDataSource* DataSource() const { return link_.source(); }
    db::TDataSet* DataSet() const { return link_.dataSet(); }

    TDBGridColumns& Columns() { return columns_; }
    const TDBGridColumns& Columns() const { return columns_; }

    // Options: editing (not read-only), whole-row selection, multi-selection.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool rowSelect);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect);

    TBookmarkList& SelectedRows() { return selected_; }
    const TBookmarkList& SelectedRows() const { return selected_; }
    // The column of the current cell (SelectedIndex), or -1.
    int SelectedIndex() const;
    TColumn* SelectedColumn();

    // Events: a click on a cell (after the cursor moved to its row; a key that moves the
    // current row or changes the marked rows runs it too), a double click, and
    // a key pressed or released (Qt key codes; setting the key to 0 swallows it). A key
    // typed goes to OnKeyPress, as on every control of a form.
    std::function<void(TColumn& column)> OnCellClick;
    TNotifyEvent OnDblClick;
    using KeyEvent = std::function<void(int& key, Qt::KeyboardModifiers modifiers)>;
    KeyEvent OnKeyDown;
    KeyEvent OnKeyUp;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class TBookmarkList;
    friend class DbGridModel;

    void dataSetEvent(db::DataEvent event);
    void applyOptions();
    void columnsChanged();
    void rebuild();
    void commitEditor();
    void applyWidths();
    void showCursor();
    void applySelection();
    void currentRowChanged(const QModelIndex& current);
    void marksChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void cellClicked(const QModelIndex& index);
    // Moves the data set's cursor to a view row, posting the row being left.
    void moveCursorTo(std::size_t row);
    static bool keyHandled(const KeyEvent& handler, const QKeyEvent* event);

    TDBGridColumns columns_;
    TBookmarkList selected_;
    DbGridModel* model_; // a child of the grid
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool multiSelect_ = false;
    int syncing_ = 0;         // the grid changes its own view: the handlers stay out
    bool committing_ = false; // the data set asks for the editor's text before a post
    DataLink link_;           // last: it lets go of the data set first
};

} // namespace ui
