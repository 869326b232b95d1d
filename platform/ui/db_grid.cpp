#include "platform/ui/db_grid.h"

#include "platform/sys/datetime.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <algorithm>
#include <optional>
#include <set>

namespace ui {

namespace {

bool sameRow(const db::TBookmark& a, const db::TBookmark& b) {
    return a.identity == b.identity;
}

bool isEditing(const db::TDataSet& ds) {
    return ds.State() == db::DataSetState::Edit || ds.State() == db::DataSetState::Insert;
}

// The rows an item selection touches.
std::vector<int> selectionRows(const QItemSelection& selection) {
    std::set<int> rows;
    for (const QItemSelectionRange& range : selection)
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.insert(r);
    return {rows.begin(), rows.end()};
}

} // namespace

// --- the model ---------------------------------------------------------------------------

// The data set's view as a table: one row per view row (and the new row while the data
// set inserts), one column per visible grid column. Values are read when asked for.
class DbGridModel final : public QAbstractTableModel {
public:
    explicit DbGridModel(TDBGrid& grid) : QAbstractTableModel(&grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The user's cell text (guarded), or the editor's text a post asked for (thrown).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Reads the data set's shape again (rows, columns, the new row).
    void reload(bool open);
    // After the rows changed: a reset when their number changed, else a repaint.
    void refreshRows(bool open);
    void refreshRow(int row);

    // Grid column of a model column; the view row of a model row (none: the new row).
    TColumn* column(int modelColumn) const;
    // Whether a model column shows a date field of the open data set.
    bool showsDates(int modelColumn) const;
    std::optional<std::size_t> viewRow(int modelRow) const;
    // The model row of the data set's cursor, or -1.
    int cursorRow() const;
    int modelRow(std::size_t viewRow) const {
        const int row = static_cast<int>(viewRow);
        return insertAt_ >= 0 && row >= insertAt_ ? row + 1 : row;
    }

private:
    struct Shape {
        int rows = 0;
        int insertAt = -1;
        std::vector<int> columns; // grid column indexes
        std::vector<int> fields;  // their field numbers, -1 when missing
    };
    Shape shape(bool open) const;
    void apply(Shape s) {
        rows_ = s.rows;
        insertAt_ = s.insertAt;
        columns_ = std::move(s.columns);
        fields_ = std::move(s.fields);
    }
    db::TDataSet* dataSet() const {
        db::TDataSet* ds = grid_.DataSet();
        return open_ && ds && ds->Active() ? ds : nullptr;
    }
    std::string cellText(int row, int column) const;
    void writeCell(const QModelIndex& index, const std::string& text);

    TDBGrid& grid_;
    bool open_ = false;
    int rows_ = 0;
    int insertAt_ = -1;
    std::vector<int> columns_;
    std::vector<int> fields_;
};

DbGridModel::Shape DbGridModel::shape(bool open) const {
    Shape s;
    db::TDataSet* ds = grid_.DataSet();
    const bool active = open && ds && ds->Active();
    TDBGridColumns& columns = grid_.columns_;
    for (int c = 0; c < columns.Count(); ++c) {
        if (!columns[c].Visible())
            continue;
        s.columns.push_back(c);
        const db::TField* f = active ? ds->FindField(columns[c].FieldName()) : nullptr;
        s.fields.push_back(f ? f->Index() : -1);
    }
    if (!active)
        return s;
    s.rows = ds->RecordCount();
    if (ds->State() == db::DataSetState::Insert) {
        s.insertAt = s.rows ? ds->RecNo() - 1 : 0;
        ++s.rows;
    }
    return s;
}

void DbGridModel::reload(bool open) {
    beginResetModel();
    open_ = open;
    apply(shape(open));
    endResetModel();
}

void DbGridModel::refreshRows(bool open) {
    Shape s = shape(open);
    if (open != open_ || s.rows != rows_ || s.insertAt != insertAt_ || s.columns != columns_ ||
        s.fields != fields_) {
        reload(open);
        return;
    }
    if (rows_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

void DbGridModel::refreshRow(int row) {
    if (row >= 0 && row < rows_ && !columns_.empty())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

TColumn* DbGridModel::column(int modelColumn) const {
    if (modelColumn < 0 || modelColumn >= columnCount())
        return nullptr;
    const int c = columns_[static_cast<std::size_t>(modelColumn)];
    return c < grid_.columns_.Count() ? &grid_.columns_[c] : nullptr;
}

std::optional<std::size_t> DbGridModel::viewRow(int modelRow) const {
    if (modelRow < 0 || modelRow == insertAt_)
        return std::nullopt;
    return static_cast<std::size_t>(insertAt_ >= 0 && modelRow > insertAt_ ? modelRow - 1
                                                                           : modelRow);
}

int DbGridModel::cursorRow() const {
    const db::TDataSet* ds = dataSet();
    if (!ds || rows_ == 0)
        return -1;
    if (insertAt_ >= 0)
        return insertAt_;
    return std::min(ds->RecNo(), rows_) - 1;
}

bool DbGridModel::showsDates(int modelColumn) const {
    db::TDataSet* ds = dataSet();
    if (!ds || modelColumn < 0 || modelColumn >= columnCount())
        return false;
    const int field = fields_[static_cast<std::size_t>(modelColumn)];
    return field >= 0 && ds->Fields(field).DataType() == db::FieldType::Date;
}

std::string DbGridModel::cellText(int row, int column) const {
    db::TDataSet* ds = dataSet();
    const int field = fields_[static_cast<std::size_t>(column)];
    if (!ds || field < 0)
        return {};
    const std::optional<std::size_t> view = viewRow(row);
    if (!view)
        return ds->Fields(field).AsString(); // the new row's buffer
    return rowText(*ds, *view, field);
}

QVariant DbGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return Q(cellText(index.row(), index.column()));
}

QVariant DbGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const TColumn* c = column(section);
    if (!c)
        return {};
    return Q(c->TitleCaption().empty() ? c->FieldName() : c->TitleCaption());
}

Qt::ItemFlags DbGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    const db::TDataSet* ds = dataSet();
    const TColumn* c = column(index.column());
    if (!ds || !c || grid_.ReadOnly() || grid_.RowSelect() || c->ReadOnly() || ds->ReadOnly())
        return result;
    const int field = fields_[static_cast<std::size_t>(index.column())];
    if (field >= 0 && !grid_.DataSet()->Fields(field).Calculated())
        result |= Qt::ItemIsEditable;
    return result;
}

bool DbGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !dataSet() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const std::string text = value.toString().toStdString();
    if (grid_.committing_) {
        writeCell(index, text);
        return true;
    }
    bool written = false;
    Guarded([&] {
        writeCell(index, text);
        written = true;
    });
    return written;
}

void DbGridModel::writeCell(const QModelIndex& index, const std::string& text) {
    db::TDataSet* ds = dataSet();
    const int field = fields_[static_cast<std::size_t>(index.column())];
    if (const auto view = viewRow(index.row()); view && index.row() != cursorRow())
        grid_.moveCursorTo(*view);
    if (!isEditing(*ds) && text == ds->Fields(field).AsString())
        return; // nothing typed: the row stays unedited
    if (!isEditing(*ds))
        ds->Edit();
    ds->Fields(field).SetAsString(text);
}

// --- columns -----------------------------------------------------------------------------

void TColumn::changed() {
    owner_->customized_ = true;
    owner_->changed();
}

void TColumn::SetFieldName(std::string name) {
    fieldName_ = std::move(name);
    changed();
}

void TColumn::SetTitleCaption(std::string caption) {
    caption_ = std::move(caption);
    changed();
}

void TColumn::SetWidth(int width) {
    width_ = width;
    changed();
}

void TColumn::SetVisible(bool visible) {
    visible_ = visible;
    changed();
}

void TColumn::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    changed();
}

TColumn& TDBGridColumns::Add(std::string fieldName, std::string caption, int width) {
    if (!customized_)
        columns_.clear(); // the program's columns replace the ones made from the fields
    customized_ = true;
    columns_.push_back(std::unique_ptr<TColumn>(new TColumn(*this, Count())));
    TColumn& c = *columns_.back();
    c.fieldName_ = std::move(fieldName);
    c.caption_ = std::move(caption);
    c.width_ = width;
    changed();
    return c;
}

void TDBGridColumns::Clear() {
    columns_.clear();
    customized_ = false;
    changed();
}

void TDBGridColumns::makeDefault(db::TDataSet& dataSet) {
    columns_.clear();
    for (int f = 0; f < dataSet.FieldCount(); ++f) {
        columns_.push_back(std::unique_ptr<TColumn>(new TColumn(*this, f)));
        columns_.back()->fieldName_ = dataSet.Fields(f).FieldName();
    }
}

// --- marked rows ---------------------------------------------------------------------------

bool TBookmarkList::Contains(const db::TBookmark& bookmark) const {
    return std::any_of(items_.begin(), items_.end(),
                       [&](const db::TBookmark& b) { return sameRow(b, bookmark); });
}

void TBookmarkList::add(const db::TBookmark& bookmark) {
    if (!bookmark.identity.empty() && !Contains(bookmark))
        items_.push_back(bookmark);
}

void TBookmarkList::remove(const db::TBookmark& bookmark) {
    std::erase_if(items_, [&](const db::TBookmark& b) { return sameRow(b, bookmark); });
}

bool TBookmarkList::CurrentRowSelected() const {
    const db::TDataSet* ds = grid_.DataSet();
    return ds && ds->Active() && Contains(ds->GetBookmark());
}

void TBookmarkList::SetCurrentRowSelected(bool selected) {
    const db::TDataSet* ds = grid_.DataSet();
    if (!ds || !ds->Active())
        return;
    if (selected)
        add(ds->GetBookmark());
    else
        remove(ds->GetBookmark());
    grid_.applySelection();
}

void TBookmarkList::Clear() {
    items_.clear();
    grid_.applySelection();
}

// --- the grid ------------------------------------------------------------------------------

TDBGrid::TDBGrid(QWidget* parent)
    : QTableView(Host(parent)), TControl(static_cast<QTableView&>(*this)),
      columns_([this] { columnsChanged(); }), selected_(*this), model_(new DbGridModel(*this)),
      link_([this](db::DataEvent e) { dataSetEvent(e); }) {
    setModel(model_);
    // Tab leaves the list for the next control; the arrows move within it.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    applyOptions();
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { currentRowChanged(current); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& s, const QItemSelection& d) { marksChanged(s, d); });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { cellClicked(index); });
}

TDBGrid::~TDBGrid() = default;

void TDBGrid::SetDataSource(db::TDataSource* source) {
    link_.setSource(source);
}

void TDBGrid::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
}

void TDBGrid::SetRowSelect(bool rowSelect) {
    rowSelect_ = rowSelect;
    applyOptions();
}

void TDBGrid::SetMultiSelect(bool multiSelect) {
    multiSelect_ = multiSelect;
    if (!multiSelect)
        selected_.items_.clear();
    applyOptions();
    applySelection();
}

void TDBGrid::applyOptions() {
    setSelectionBehavior(rowSelect_ || multiSelect_ ? SelectRows : SelectItems);
    setSelectionMode(multiSelect_ ? ExtendedSelection : SingleSelection);
}

int TDBGrid::SelectedIndex() const {
    const TColumn* c = model_->column(currentIndex().column());
    return c ? c->Index() : -1;
}

TColumn* TDBGrid::SelectedColumn() {
    return model_->column(currentIndex().column());
}

void TDBGrid::dataSetEvent(db::DataEvent event) {
    using db::DataEvent;
    switch (event) {
    case DataEvent::Opened:
        rebuild();
        return;
    case DataEvent::Closing:
    case DataEvent::Destroying:
        ++syncing_;
        model_->reload(false);
        --syncing_;
        return;
    case DataEvent::Scrolled:
        showCursor();
        return;
    case DataEvent::UpdateRecord:
        commitEditor();
        return;
    case DataEvent::FieldChanged:
        model_->refreshRow(model_->cursorRow());
        return;
    case DataEvent::RowsChanged:
    case DataEvent::StateChanged:
        ++syncing_;
        model_->refreshRows(true);
        --syncing_;
        // A marked row that a filter (or a delete) took out of the view is no longer
        // marked: what the form prints from the marks is what the user still sees.
        if (const db::TDataSet* ds = DataSet())
            std::erase_if(selected_.items_,
                          [&](const db::TBookmark& b) { return !ds->bookmarkRow(b); });
        applySelection();
        showCursor();
        return;
    }
}

// An open cell editor's text goes into the field before the row is posted.
void TDBGrid::commitEditor() {
    QWidget* editor = QApplication::focusWidget();
    if (state() != EditingState || !editor || !viewport()->isAncestorOf(editor))
        return;
    const QScopedValueRollback<bool> asked(committing_, true);
    commitData(editor);
}

void TDBGrid::rebuild() {
    db::TDataSet* ds = DataSet();
    if (ds && ds->Active() && !columns_.Customized())
        columns_.makeDefault(*ds);
    columnsChanged();
}

void TDBGrid::columnsChanged() {
    const db::TDataSet* ds = DataSet();
    ++syncing_;
    model_->reload(ds && ds->Active());
    --syncing_;
    applyWidths();
    applySelection();
    showCursor();
}

// A date column is never narrower than a whole date: a cut date reads as another day. No
// column is narrower than its heading, so that "Mélység cm" never reads "Mélység c".
void TDBGrid::applyWidths() {
    const int dateWidth =
        fontMetrics().horizontalAdvance(Q(sys::dateToText(sys::encodeDate(2008, 12, 28)))) + 14;
    const int headingMargins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 2;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const TColumn* column = model_->column(c);
        if (!column || column->Width() <= 0)
            continue;
        int width = std::max(column->Width(), model_->showsDates(c) ? dateWidth : 0);
        const QString heading = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        for (const QString& line : heading.split('\n'))
            width = std::max(width, horizontalHeader()->fontMetrics().horizontalAdvance(line) +
                                        headingMargins);
        horizontalHeader()->resizeSection(c, width);
    }
}

// Puts the view's current row on the data set's cursor.
void TDBGrid::showCursor() {
    const int row = model_->cursorRow();
    if (row < 0)
        return;
    const int column = std::max(currentIndex().column(), 0);
    const QModelIndex index = model_->index(row, std::min(column, model_->columnCount() - 1));
    if (!index.isValid() || index == currentIndex())
        return;
    ++syncing_;
    const auto command =
        multiSelect_ ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect;
    selectionModel()->setCurrentIndex(index, command);
    --syncing_;
    scrollTo(index);
}

// Marks in the view the rows the bookmark list holds.
void TDBGrid::applySelection() {
    db::TDataSet* ds = DataSet();
    if (!multiSelect_ || !ds || !ds->Active() || model_->columnCount() == 0)
        return;
    QItemSelection selection;
    for (const db::TBookmark& bookmark : selected_.items_)
        if (const auto row = ds->bookmarkRow(bookmark)) {
            const int r = model_->modelRow(*row);
            selection.select(model_->index(r, 0), model_->index(r, model_->columnCount() - 1));
        }
    ++syncing_;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    --syncing_;
}

void TDBGrid::moveCursorTo(std::size_t row) {
    db::TDataSet* ds = DataSet();
    if (!ds || !ds->Active())
        return;
    const db::TBookmark target = ds->rowBookmark(row);
    if (isEditing(*ds)) { // the row is left: its changes are posted
        if (ds->Modified())
            ds->Post();
        else
            ds->Cancel();
    }
    const std::size_t place = ds->bookmarkRow(target).value_or(row);
    ds->MoveBy(static_cast<int>(place) - (ds->RecNo() - 1));
}

// The user moved to another row. A row that cannot be posted keeps the cursor, and the
// view goes back to it.
void TDBGrid::currentRowChanged(const QModelIndex& current) {
    if (syncing_ || !current.isValid())
        return;
    if (const auto row = model_->viewRow(current.row())) {
        Guarded([&] { moveCursorTo(*row); });
        showCursor();
    }
}

// The user marked or unmarked rows: the bookmark list follows, new marks at its end with
// the row clicked last.
void TDBGrid::marksChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    db::TDataSet* ds = DataSet();
    if (syncing_ || !multiSelect_ || !ds || !ds->Active())
        return;
    for (int r : selectionRows(deselected))
        if (const auto row = model_->viewRow(r))
            selected_.remove(ds->rowBookmark(*row));
    std::vector<int> rows = selectionRows(selected);
    if (rows.size() > 1 && rows.front() == currentIndex().row())
        std::reverse(rows.begin(), rows.end());
    for (int r : rows)
        if (const auto row = model_->viewRow(r))
            selected_.add(ds->rowBookmark(*row));
}

void TDBGrid::cellClicked(const QModelIndex& index) {
    if (!OnCellClick)
        return;
    if (TColumn* column = model_->column(index.column()))
        Guarded([&] { OnCellClick(*column); });
}

// Runs a key handler guarded; whether it swallowed the key.
bool TDBGrid::keyHandled(const KeyEvent& handler, const QKeyEvent* event) {
    if (!handler)
        return false;
    int key = event->key();
    Guarded([&] { handler(key, event->modifiers()); });
    return key == 0;
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    if (keyHandled(OnKeyDown, event))
        return;
    db::TDataSet* ds = DataSet();
    if (event->key() == Qt::Key_Escape && ds && ds->Active() && isEditing(*ds)) {
        Guarded([ds] { ds->Cancel(); });
        return;
    }
    // A key that moves the current row or changes the marks (arrows, Shift+arrows, Ctrl+A)
    // is a choice as a click is: the form hears of it the same way.
    const int row = currentIndex().row();
    const std::vector<db::TBookmark> marked = selected_.items_;
    QTableView::keyPressEvent(event);
    if (currentIndex().row() != row || selected_.items_ != marked)
        cellClicked(currentIndex());
}

void TDBGrid::keyReleaseEvent(QKeyEvent* event) {
    keyHandled(OnKeyUp, event);
    QTableView::keyReleaseEvent(event);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    UserEvent(OnDblClick, this);
}

} // namespace ui
