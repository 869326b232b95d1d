#include "form_helpers.h"

#include "controls.h"
#include "db_grid.h"
#include "form.h"
#include "menus.h"
#include "platform/db/dataset.h"
#include "platform/db/session.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <stdexcept>
#include <string>
#include <vector>

namespace ui {

bool Shortcuts(TKey& key, std::initializer_list<Shortcut> table) {
    for (const Shortcut& entry : table) {
        if (key != ctrlKey(entry.letter))
            continue;
        key = keyNone;
        if (entry.button)
            entry.button->Click();
        return true;
    }
    return false;
}

void CloseOnEscape(TForm* form) {
    form->OnShortCut = [form, own = std::move(form->OnShortCut)](TWMKey& msg, bool& handled) {
        if (own)
            own(msg, handled);
        if (handled || msg.CharCode != VK_ESCAPE || msg.Shift != 0)
            return;
        handled = true;
        form->Close();
    };
}

void OpenOnFirstActivate(TForm* form, std::initializer_list<db::TDataSet*> dataSets) {
    for (db::TDataSet* dataSet : dataSets) {
        if (dataSet->Active())
            continue;
        dataSet->Open();
        form->CloseOnClose(dataSet);
    }
}

namespace {

constexpr const char* kBoxOverList = "ui.BoxOverList";

// Disables the box's siblings while the box is shown (explicitly, whether or not its
// window is on screen yet) and gives back the ones it disabled when the box is hidden.
// A hidden sibling that is itself such a box is left alone: opened from this one, it
// disables this one in turn. The focus, when the box took it with it, goes back to the
// control that had it when the box opened (else to the next one that takes it), so that
// no key reaches a hidden button of the box.
class BoxOverList : public QObject {
public:
    explicit BoxOverList(QWidget& box) : QObject(&box), box_(box) {
        setObjectName(kBoxOverList);
        box.installEventFilter(this);
        if (!box.isHidden())
            Open();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &box_ && event->type() == QEvent::ShowToParent)
            Open();
        else if (watched == &box_ && event->type() == QEvent::HideToParent)
            Close();
        return false;
    }

private:
    static bool IsHiddenBox(QWidget& widget) {
        return widget.isHidden() &&
               widget.findChild<QObject*>(kBoxOverList, Qt::FindDirectChildrenOnly) != nullptr;
    }
    bool Inside(const QWidget* widget) const {
        return widget == &box_ || box_.isAncestorOf(widget);
    }
    void Open() {
        QWidget* parent = box_.parentWidget();
        if (!parent || !disabled_.empty())
            return;
        QWidget* focus = QApplication::focusWidget();
        opener_ = focus && !Inside(focus) && focus->window() == box_.window() ? focus : nullptr;
        for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (sibling != &box_ && !sibling->isWindow() &&
                !sibling->testAttribute(Qt::WA_Disabled) && !IsHiddenBox(*sibling)) {
                sibling->setEnabled(false);
                disabled_.emplace_back(sibling);
            }
    }
    void Close() {
        for (const QPointer<QWidget>& sibling : disabled_)
            if (sibling)
                sibling->setEnabled(true);
        disabled_.clear();
        GiveFocusBack();
    }
    static bool TakesFocus(const QWidget& widget) {
        return widget.isEnabled() && widget.isVisibleTo(widget.window()) &&
               (widget.focusPolicy() & Qt::TabFocus);
    }
    void GiveFocusBack() {
        QWidget* focus = QApplication::focusWidget();
        if (focus && !Inside(focus))
            return;
        if (opener_ && TakesFocus(*opener_)) {
            opener_->setFocus();
            return;
        }
        for (QWidget* w = box_.nextInFocusChain(); w && w != &box_; w = w->nextInFocusChain())
            if (!Inside(w) && w->window() == box_.window() && TakesFocus(*w)) {
                w->setFocus();
                return;
            }
    }

    QWidget& box_;
    QPointer<QWidget> opener_;
    std::vector<QPointer<QWidget>> disabled_;
};

} // namespace

void EditBoxOverList(QWidget* box) {
    new BoxOverList(*box);
}

TPopupMenu* ButtonMenu(QWidget* owner, std::initializer_list<MenuEntry> items) {
    auto* menu = new TPopupMenu(owner);
    for (const MenuEntry& entry : items)
        menu->Add(entry.caption, entry.button);
    return menu;
}

TLabel* AddLabel(QWidget* parent, const std::string& caption, int left, int top, int width) {
    return Make<TLabel>(parent, {left, top + 3, width, 16}, caption);
}

TEdit* AddEdit(QWidget* parent, int left, int top, int width, int maxLength) {
    auto* edit = Make<TEdit>(parent, {left, top, width, 22});
    if (maxLength > 0)
        edit->SetMaxLength(maxLength);
    return edit;
}

TEdit* CaptionedEdit(QWidget* parent, const std::string& caption, int left, int top,
                     int captionWidth, int width, int maxLength) {
    AddLabel(parent, caption, left, top, captionWidth);
    return AddEdit(parent, left + captionWidth, top, width, maxLength);
}

TDBGrid* ListGrid(QWidget* parent, Bounds bounds, db::TDataSource* source,
                  std::initializer_list<GridColumn> columns) {
    auto* grid = Make<TDBGrid>(parent, bounds);
    grid->SetDataSource(source);
    grid->SetReadOnly(true);
    grid->SetRowSelect(true);
    for (const GridColumn& column : columns)
        grid->Columns().Add(column.field, column.caption, column.width);
    return grid;
}

int TextFieldWidth(db::Session& session, std::string_view table, std::string_view field) {
    const auto layout = session.layout(table);
    const int index = layout->fieldIndex(std::string(field));
    if (index < 0 || layout->fields()[static_cast<std::size_t>(index)].type != db::FieldType::Alpha)
        throw std::invalid_argument("no text field " + std::string(field) + " in " +
                                    std::string(table));
    return layout->fields()[static_cast<std::size_t>(index)].size;
}

void FitToFields(db::Session& session, std::string_view table,
                 std::initializer_list<FieldBox> boxes) {
    for (const FieldBox& box : boxes) {
        const int width = TextFieldWidth(session, table, box.field);
        if (box.edit)
            box.edit->SetMaxLength(width);
        else
            box.combo->SetMaxLength(width);
    }
}

void YearBox(TComboBox* box) {
    box->setCompleter(nullptr);
}

} // namespace ui
