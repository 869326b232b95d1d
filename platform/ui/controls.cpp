#include "controls.h"

#include "application.h"
#include "form.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <utility>

namespace ui {

// --- labels ---------------------------------------------------------------------------

TLabel::TLabel(QWidget* parent, const std::string& caption)
    : QLabel(Q(caption), Host(parent)), TControl(static_cast<QLabel&>(*this)) {
    adjustSize();
}

void TLabel::SetCaption(const std::string& caption) {
    setText(Q(caption));
    if (!wordWrap())
        resize(sizeHint().expandedTo(QSize(width(), 0)).width(), height());
}

void TLabel::SetBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    UserEvent(OnClick, this);
}

TStaticText::TStaticText(QWidget* parent, const std::string& caption) : TLabel(parent, caption) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

// --- edits ----------------------------------------------------------------------------

TEdit::TEdit(QWidget* parent) : QLineEdit(Host(parent)), TControl(static_cast<QLineEdit&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!settingText_)
            UserEvent(OnChange, this);
    });
}

void TEdit::SetText(const std::string& text) {
    // A change from code runs OnChange unguarded, so that its error reaches the caller.
    settingText_ = true;
    QString before = QLineEdit::text();
    setText(Q(text));
    settingText_ = false;
    if (before != QLineEdit::text())
        Fire(OnChange, this);
}

int TEdit::MaxLength() const {
    return maxLength() == 32767 ? 0 : maxLength();
}
void TEdit::SetMaxLength(int length) {
    setMaxLength(length <= 0 ? 32767 : length);
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    UserEvent(OnClick, this);
}

void TEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    UserEvent(OnDblClick, this);
}

// --- masked edit ----------------------------------------------------------------------

namespace {

// The Qt mask character for a position character of the original's masks; 0 for a
// character that is a literal.
char16_t QtPosition(char16_t c) {
    static constexpr std::pair<char16_t, char16_t> positions[] = {
        {u'9', u'0'}, {u'0', u'9'}, {u'a', u'n'}, {u'A', u'N'}, {u'l', u'a'},
        {u'L', u'A'}, {u'c', u'x'}, {u'C', u'X'}, {u'#', u'#'}};
    for (auto [original, qt] : positions)
        if (original == c)
            return qt;
    return 0;
}

} // namespace

QtMask TranslateEditMask(const std::string& mask) {
    QString source = Q(mask);
    QtMask result;
    QStringList parts = source.split(u';');
    if (parts.size() > 1)
        result.keepLiterals = parts[1] != u"0";
    result.blank = parts.size() > 2 && !parts[2].isEmpty() ? parts[2].front() : QChar(u'_');
    const QString& body = parts[0];
    auto addLiteral = [&](QChar literal) {
        result.mask += u'\\';
        result.mask += literal;
        result.literal.push_back(true);
    };
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'\\') {
            if (i + 1 < body.size())
                addLiteral(body[++i]);
        } else if (c == u'>' || c == u'<') {
            result.mask += c;
        } else if (const char16_t position = QtPosition(c.unicode())) {
            result.mask += QChar(position);
            result.literal.push_back(false);
        } else {
            addLiteral(c);
        }
    }
    result.mask += u';';
    result.mask += result.blank;
    return result;
}

TMaskEdit::TMaskEdit(QWidget* parent) : TEdit(parent) {}

void TMaskEdit::SetEditMask(const std::string& mask) {
    mask_ = mask;
    QtMask translated = TranslateEditMask(mask);
    literal_ = translated.literal;
    blank_ = translated.blank;
    setInputMask(translated.mask);
}

std::string TMaskEdit::Text() const {
    if (mask_.empty())
        return TEdit::Text();
    QString shown = displayText();
    QString text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        bool literal =
            static_cast<std::size_t>(i) < literal_.size() && literal_[static_cast<std::size_t>(i)];
        text += !literal && shown[i] == blank_ ? QChar(u' ') : shown[i];
    }
    return S(text);
}

void TMaskEdit::SetText(const std::string& text) {
    if (mask_.empty())
        return TEdit::SetText(text);
    QString source = Q(text);
    QString placed;
    for (qsizetype i = 0; i < source.size(); ++i) {
        bool literal =
            static_cast<std::size_t>(i) < literal_.size() && literal_[static_cast<std::size_t>(i)];
        placed += !literal && source[i] == u' ' ? blank_ : source[i];
    }
    TEdit::SetText(S(placed));
}

// --- buttons --------------------------------------------------------------------------

TButton::TButton(QWidget* parent, const std::string& caption)
    : QPushButton(Q(caption), Host(parent)), TControl(static_cast<QPushButton&>(*this)) {
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] { Guarded([this] { Click(); }); });
}

void TButton::Click() {
    if (!isEnabled())
        return;
    if (modalResult_ != mrNone)
        if (TForm* form = FormOf(this))
            form->SetModalResult(modalResult_);
    Fire(OnClick, this);
}

TBitBtn::TBitBtn(QWidget* parent, const std::string& caption) : TButton(parent, caption) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
    switch (kind) {
    case bkOK:
        SetCaption("OK");
        SetDefault(true);
        SetModalResult(mrOk);
        break;
    case bkCancel:
        SetCaption("Mégse");
        SetCancel(true);
        SetModalResult(mrCancel);
        break;
    case bkYes:
        SetCaption("Igen");
        SetModalResult(mrYes);
        break;
    case bkNo:
        SetCaption("Nem");
        SetModalResult(mrNo);
        break;
    case bkClose:
        SetCaption("Bezárás");
        break;
    case bkCustom:
        break;
    }
}

void TBitBtn::SetGlyph(const QImage& picture) {
    setIcon(QIcon(QPixmap::fromImage(picture)));
    setIconSize(picture.size());
}

// --- check boxes and radio buttons ------------------------------------------------------

TCheckBox::TCheckBox(QWidget* parent, const std::string& caption)
    : QCheckBox(Q(caption), Host(parent)), TControl(static_cast<QCheckBox&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QCheckBox::clicked, this, [this] { UserEvent(OnClick, this); });
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == isChecked())
        return;
    setChecked(checked);
    Fire(OnClick, this);
}

TRadioButton::TRadioButton(QWidget* parent, const std::string& caption)
    : QRadioButton(Q(caption), Host(parent)), TControl(static_cast<QRadioButton&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QRadioButton::clicked, this, [this] { UserEvent(OnClick, this); });
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == isChecked())
        return;
    setChecked(checked);
    if (checked)
        Fire(OnClick, this);
}

TRadioGroup::TRadioGroup(QWidget* parent, const std::string& caption)
    : QGroupBox(Q(caption), Host(parent)), TControl(static_cast<QGroupBox&>(*this)) {
    new QGridLayout(this);
    ControlStrings::Hooks hooks;
    hooks.count = [this] { return static_cast<int>(texts_.size()); };
    hooks.get = [this](int i) { return texts_[static_cast<std::size_t>(i)]; };
    hooks.set = [this](int i, const std::string& t) {
        texts_[static_cast<std::size_t>(i)] = t;
        Rebuild();
    };
    hooks.insert = [this](int i, const std::string& t) {
        texts_.insert(texts_.begin() + i, t);
        Rebuild();
    };
    hooks.erase = [this](int i) {
        texts_.erase(texts_.begin() + i);
        Rebuild();
    };
    hooks.clear = [this] {
        texts_.clear();
        Rebuild();
    };
    items_ = std::make_unique<ControlStrings>(std::move(hooks));
}

TRadioGroup::~TRadioGroup() = default;

void TRadioGroup::Rebuild() {
    int chosen = ItemIndex();
    for (QRadioButton* button : buttons_)
        delete button;
    buttons_.clear();
    auto* grid = static_cast<QGridLayout*>(layout());
    int rows = (static_cast<int>(texts_.size()) + columns_ - 1) / columns_;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        auto* button = new QRadioButton(Q(texts_[i]), this);
        int index = static_cast<int>(i);
        grid->addWidget(button, rows ? index % rows : 0, rows ? index / rows : 0);
        connect(button, &QRadioButton::clicked, this, [this] { UserEvent(OnClick, this); });
        buttons_.push_back(button);
    }
    if (chosen >= 0 && chosen < static_cast<int>(buttons_.size()))
        buttons_[static_cast<std::size_t>(chosen)]->setChecked(true);
}

int TRadioGroup::ItemIndex() const {
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int index) {
    if (index == ItemIndex())
        return;
    for (QRadioButton* button : buttons_)
        button->setAutoExclusive(false), button->setChecked(false), button->setAutoExclusive(true);
    if (index >= 0 && index < static_cast<int>(buttons_.size()))
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
    Fire(OnClick, this);
}

void TRadioGroup::SetColumns(int columns) {
    columns_ = std::max(1, columns);
    Rebuild();
}

// --- combo box ------------------------------------------------------------------------

TComboBox::TComboBox(QWidget* parent, TComboBoxStyle style)
    : QComboBox(Host(parent)), TControl(static_cast<QComboBox&>(*this)), style_(style) {
    setFocusPolicy(Qt::StrongFocus);
    SetStyle(style);
    setInsertPolicy(QComboBox::NoInsert);
    ControlStrings::Hooks hooks;
    hooks.count = [this] { return count(); };
    hooks.get = [this](int i) { return S(itemText(i)); };
    hooks.set = [this](int i, const std::string& t) { setItemText(i, Q(t)); };
    hooks.insert = [this](int i, const std::string& t) { Quietly([&] { insertItem(i, Q(t)); }); };
    hooks.erase = [this](int i) { Quietly([&] { removeItem(i); }); };
    hooks.clear = [this] { Clear(); };
    items_ = std::make_unique<ControlStrings>(std::move(hooks));
    connect(this, &QComboBox::activated, this, [this] {
        UserEvent(OnChange, this);
        UserEvent(OnClick, this);
        UserEvent(OnSelect, this);
    });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!quiet_ && lineEdit() && lineEdit()->isModified())
            UserEvent(OnChange, this);
    });
}

TComboBox::~TComboBox() = default;

void TComboBox::Quietly(const std::function<void()>& change) {
    bool was = quiet_;
    quiet_ = true;
    std::string text = style_ == csDropDown ? Text() : std::string();
    int index = currentIndex();
    change();
    if (index < 0)
        setCurrentIndex(-1); // adding items chooses none of them
    if (style_ == csDropDown && index < 0)
        setEditText(Q(text)); // and keeps a typed text
    quiet_ = was;
}

// A box that takes typed text keeps it as typed: no completion to a listed item, which
// would store another invoice's number or tax number for a half-typed one.
void TComboBox::SetStyle(TComboBoxStyle style) {
    style_ = style;
    setEditable(style == csDropDown);
    if (style == csDropDown)
        setCompleter(nullptr);
}

std::string TComboBox::Text() const {
    if (style_ == csDropDown)
        return S(currentText());
    return currentIndex() >= 0 ? S(itemText(currentIndex())) : std::string();
}

void TComboBox::SetText(const std::string& text) {
    int index = findText(Q(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    quiet_ = true;
    if (style_ == csDropDown) {
        setCurrentIndex(index);
        setEditText(Q(text));
    } else if (index >= 0) {
        setCurrentIndex(index);
    }
    quiet_ = false;
}

int TComboBox::ItemIndex() const {
    if (currentIndex() < 0)
        return -1;
    if (style_ == csDropDown && currentText() != itemText(currentIndex()))
        return -1;
    return currentIndex();
}

void TComboBox::SetItemIndex(int index) {
    quiet_ = true;
    setCurrentIndex(index < 0 || index >= count() ? -1 : index);
    if (index < 0 && style_ == csDropDown)
        setEditText({});
    quiet_ = false;
}

void TComboBox::SetMaxLength(int length) {
    if (lineEdit())
        lineEdit()->setMaxLength(length <= 0 ? 32767 : length);
}

void TComboBox::Clear() {
    quiet_ = true;
    QComboBox::clear();
    if (lineEdit())
        setEditText({});
    quiet_ = false;
}

// --- list box -------------------------------------------------------------------------

TListBox::TListBox(QWidget* parent)
    : QListWidget(Host(parent)), TControl(static_cast<QListWidget&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    ControlStrings::Hooks hooks;
    hooks.count = [this] { return count(); };
    hooks.get = [this](int i) { return S(item(i)->text()); };
    hooks.set = [this](int i, const std::string& t) { item(i)->setText(Q(t)); };
    hooks.insert = [this](int i, const std::string& t) { insertItem(i, Q(t)); };
    hooks.erase = [this](int i) { delete takeItem(i); };
    hooks.clear = [this] { QListWidget::clear(); };
    items_ = std::make_unique<ControlStrings>(std::move(hooks));
    connect(this, &QListWidget::itemClicked, this, [this] { UserEvent(OnClick, this); });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { UserEvent(OnDblClick, this); });
}

TListBox::~TListBox() = default;

int TListBox::ItemIndex() const {
    return currentRow();
}
void TListBox::SetItemIndex(int index) {
    setCurrentRow(index);
}

void TListBox::SetMultiSelect(bool multi) {
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                           : QAbstractItemView::SingleSelection);
}

bool TListBox::Selected(int index) const {
    return item(index) && item(index)->isSelected();
}

void TListBox::SetSelected(int index, bool selected) {
    if (QListWidgetItem* it = item(index))
        it->setSelected(selected);
}

int TListBox::SelCount() const {
    return static_cast<int>(selectedItems().size());
}

// --- memo and rich edit -----------------------------------------------------------------

namespace {

// Lines of a plain-text document, kept as one text.
template <class Edit>
ControlStrings::Hooks LineHooks(Edit* edit) {
    auto lines = [edit] {
        QString text = edit->toPlainText();
        QStringList list = text.split(u'\n');
        if (!text.isEmpty() && text.endsWith(u'\n'))
            list.removeLast();
        if (text.isEmpty())
            list.clear();
        return list;
    };
    auto store = [edit](const QStringList& list) { edit->setPlainText(list.join(u'\n')); };
    ControlStrings::Hooks hooks;
    hooks.count = [lines] { return static_cast<int>(lines().size()); };
    hooks.get = [lines](int i) { return S(lines().at(i)); };
    hooks.set = [lines, store](int i, const std::string& t) {
        QStringList list = lines();
        list[i] = Q(t);
        store(list);
    };
    hooks.insert = [lines, store](int i, const std::string& t) {
        QStringList list = lines();
        list.insert(i, Q(t));
        store(list);
    };
    hooks.erase = [lines, store](int i) {
        QStringList list = lines();
        list.removeAt(i);
        store(list);
    };
    hooks.clear = [edit] { edit->clear(); };
    return hooks;
}

} // namespace

TMemo::TMemo(QWidget* parent)
    : QPlainTextEdit(Host(parent)), TControl(static_cast<QPlainTextEdit&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    setTabChangesFocus(true);
    lines_ = std::make_unique<ControlStrings>(LineHooks(this));
    connect(this, &QPlainTextEdit::textChanged, this, [this] { UserEvent(OnChange, this); });
}

TMemo::~TMemo() = default;

void TMemo::SetWordWrap(bool wrap) {
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

TRichEdit::TRichEdit(QWidget* parent)
    : QTextEdit(Host(parent)), TControl(static_cast<QTextEdit&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    setTabChangesFocus(true);
    setAcceptRichText(false);
    lines_ = std::make_unique<ControlStrings>(LineHooks(this));
}

TRichEdit::~TRichEdit() = default;

// --- containers -------------------------------------------------------------------------

TPanel::TPanel(QWidget* parent, const std::string& caption)
    : QFrame(Host(parent)), TControl(static_cast<QFrame&>(*this)),
      caption_(new QLabel(Q(caption), this)) {
    caption_->setAlignment(Qt::AlignCenter);
    caption_->lower();
    SetBevelOuter(bvRaised);
}

void TPanel::SetCaption(const std::string& caption) {
    caption_->setText(Q(caption));
}

void TPanel::SetBevelOuter(TBevelCut cut) {
    setFrameStyle(cut == bvNone
                      ? QFrame::NoFrame
                      : QFrame::Panel | (cut == bvRaised ? QFrame::Raised : QFrame::Sunken));
}

void TPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    caption_->setGeometry(rect());
}

void TPanel::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    UserEvent(OnClick, this);
}

// Opaque, as the original's group boxes are: one shown over a grid hides the grid.
TGroupBox::TGroupBox(QWidget* parent, const std::string& caption)
    : QGroupBox(Q(caption), Host(parent)), TControl(static_cast<QGroupBox&>(*this)) {
    setAutoFillBackground(true);
}

TBevel::TBevel(QWidget* parent) : QFrame(Host(parent)), TControl(static_cast<QFrame&>(*this)) {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    lower();
}

TShape::TShape(QWidget* parent) : QWidget(Host(parent)), TControl(static_cast<QWidget&>(*this)) {
    lower();
}

void TShape::SetBrushColor(const QColor& color) {
    brush_ = color;
    update();
}

void TShape::SetPenColor(const QColor& color) {
    pen_ = color;
    update();
}

void TShape::SetShape(TShapeType shape) {
    shape_ = shape;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(pen_);
    painter.setBrush(brush_);
    QRect box = rect().adjusted(0, 0, -1, -1);
    if (shape_ == stEllipse)
        painter.drawEllipse(box);
    else if (shape_ == stRoundRect)
        painter.drawRoundedRect(box, 8, 8);
    else
        painter.drawRect(box);
}

// --- page control -----------------------------------------------------------------------

TTabSheet::TTabSheet(TPageControl* pageControl, const std::string& caption)
    : QWidget(nullptr), TControl(static_cast<QWidget&>(*this)), pageControl_(pageControl),
      caption_(caption) {
    pageControl_->AddPage(this);
}

void TTabSheet::SetCaption(const std::string& caption) {
    caption_ = caption;
    int index = pageControl_->indexOf(this);
    if (index >= 0)
        pageControl_->setTabText(index, Q(caption));
}

void TTabSheet::SetTabVisible(bool visible) {
    tabVisible_ = visible;
    pageControl_->ShowTab(this, visible);
}

int TTabSheet::PageIndex() const {
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

TPageControl::TPageControl(QWidget* parent)
    : QTabWidget(Host(parent)), TControl(static_cast<QTabWidget&>(*this)) {
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (!quiet_)
            UserEvent(OnChange, this);
    });
}

void TPageControl::AddPage(TTabSheet* page) {
    pages_.push_back(page);
    quiet_ = true;
    addTab(page, Q(page->Caption()));
    quiet_ = false;
}

void TPageControl::ShowTab(TTabSheet* page, bool visible) {
    quiet_ = true;
    setTabVisible(indexOf(page), visible);
    quiet_ = false;
}

TTabSheet* TPageControl::ActivePage() const {
    return dynamic_cast<TTabSheet*>(currentWidget());
}

void TPageControl::SetActivePage(TTabSheet* page) {
    quiet_ = true;
    setCurrentWidget(page);
    quiet_ = false;
}

int TPageControl::ActivePageIndex() const {
    TTabSheet* page = ActivePage();
    return page ? page->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(Pages(index));
}

} // namespace ui
