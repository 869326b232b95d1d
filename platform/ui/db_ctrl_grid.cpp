#include "platform/ui/db_ctrl_grid.h"

#include "platform/ui/application.h"
#include "platform/ui/form.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace ui {

db::Value DbRow::Value(std::string_view field) const {
    const db::TField* f = dataSet_.FindField(field);
    return f ? dataSet_.rowValue(row_, f->Index()) : db::Value{};
}

std::string DbRow::AsString(std::string_view field) const {
    const db::TField* f = dataSet_.FindField(field);
    return f ? rowText(dataSet_, row_, f->Index()) : std::string();
}

TDBCtrlGrid::TDBCtrlGrid(QWidget* parent)
    : QFrame(Host(parent)), TControl(static_cast<QFrame&>(*this)), layout_(new QVBoxLayout(this)),
      link_([this](db::DataEvent e) { dataSetEvent(e); }) {
    setFrameShape(StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    layout_->setContentsMargins(1, 1, 1, 1);
    layout_->setSpacing(0);
}

void TDBCtrlGrid::SetDataSource(db::TDataSource* source) {
    link_.setSource(source);
}

void TDBCtrlGrid::SetRowCount(int rows) {
    rowCount_ = std::max(rows, 1);
    placeWindow();
    rebuild();
}

void TDBCtrlGrid::SetPanelFactory(PanelFactory factory) {
    factory_ = std::move(factory);
    rebuild();
}

int TDBCtrlGrid::PanelIndex() const {
    const db::TDataSet* ds = link_.dataSet();
    if (!ds || !ds->Active() || ds->IsEmpty())
        return -1;
    const int index = ds->RecNo() - 1 - top_;
    return index >= 0 && index < PanelCount() ? index : -1;
}

void TDBCtrlGrid::dataSetEvent(db::DataEvent event) {
    switch (event) {
    case db::DataEvent::UpdateRecord:
        return;
    case db::DataEvent::Scrolled:
        if (placeWindow())
            rebuild();
        else
            markCurrent();
        return;
    case db::DataEvent::Closing:
    case db::DataEvent::Destroying:
        clearPanels();
        return;
    default:
        placeWindow();
        rebuild();
        return;
    }
}

// Keeps the cursor's row among the panels; whether the first panel's row changed.
bool TDBCtrlGrid::placeWindow() {
    const db::TDataSet* ds = link_.dataSet();
    const int before = top_;
    if (!ds || !ds->Active()) {
        top_ = 0;
        return before != top_;
    }
    const int rows = ds->RecordCount();
    const int cursor = std::max(ds->RecNo() - 1, 0);
    if (cursor < top_)
        top_ = cursor;
    else if (cursor >= top_ + rowCount_)
        top_ = cursor - rowCount_ + 1;
    top_ = std::clamp(top_, 0, std::max(rows - rowCount_, 0));
    return before != top_;
}

void TDBCtrlGrid::clearPanels() {
    for (QFrame* panel : panels_) {
        panel->hide();
        panel->deleteLater(); // a panel's own handler may have moved the cursor
    }
    panels_.clear();
}

void TDBCtrlGrid::rebuild() {
    clearPanels();
    db::TDataSet* ds = link_.dataSet();
    if (!ds || !ds->Active() || !factory_)
        return;
    const int rows = std::min(ds->RecordCount() - top_, rowCount_);
    for (int i = 0; i < rows; ++i) {
        auto* panel = new QFrame(this);
        auto* inner = new QVBoxLayout(panel);
        inner->setContentsMargins(4, 2, 4, 2);
        if (QWidget* content = factory_(DbRow(*ds, static_cast<std::size_t>(top_ + i))))
            inner->addWidget(content);
        layout_->addWidget(panel);
        panels_.push_back(panel);
    }
    markCurrent();
}

void TDBCtrlGrid::markCurrent() {
    const int current = PanelIndex();
    for (int i = 0; i < PanelCount(); ++i)
        panels_[static_cast<std::size_t>(i)]->setFrameShape(i == current ? Box : NoFrame);
}

void TDBCtrlGrid::moveTo(int row) {
    db::TDataSet* ds = link_.dataSet();
    if (ds && ds->Active())
        Guarded([ds, row] { ds->MoveBy(row - (ds->RecNo() - 1)); });
}

void TDBCtrlGrid::mousePressEvent(QMouseEvent* event) {
    setFocus();
    for (int i = 0; i < PanelCount(); ++i)
        if (panels_[static_cast<std::size_t>(i)]->geometry().contains(event->pos())) {
            moveTo(top_ + i);
            return;
        }
    QFrame::mousePressEvent(event);
}

void TDBCtrlGrid::keyPressEvent(QKeyEvent* event) {
    db::TDataSet* ds = link_.dataSet();
    if (ds && ds->Active() && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
        moveTo(ds->RecNo() - 1 + (event->key() == Qt::Key_Down ? 1 : -1));
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace ui
