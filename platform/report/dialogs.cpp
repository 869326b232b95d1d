#include "platform/report/dialogs.h"

#include "platform/report/error.h"
#include "platform/report/render.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

namespace report {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// The PDF file offered first: the report's name with ".pdf", in the working directory.
std::string defaultPdfName(const std::string& reportName) {
    std::filesystem::path name = std::filesystem::path(reportName).filename();
    name.replace_extension(".pdf");
    return (std::filesystem::current_path() / name).string();
}

constexpr double kScreenDotsPerMm = 96.0 / 25.4;

// One page of a document whose page count is not known yet, "…" standing for it.
Document WithoutPageCount(const Document& document, int page) {
    Document one;
    one.width = document.width;
    one.height = document.height;
    FillPageCount(one.pages.emplace_back(document.pages.at(static_cast<std::size_t>(page))),
                  "\u2026");
    return one;
}

} // namespace

// --- set-up dialog ---------------------------------------------------------------------------

SetupDialog::SetupDialog(const std::string& reportName, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Nyomtatás"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(q("Jelentés: " + reportName), this));
    auto* box = new QGroupBox(QStringLiteral("Kimenet"), this);
    auto* boxLayout = new QVBoxLayout(box);
    PreviewButton = new QRadioButton(QStringLiteral("Nyomtatási kép"), box);
    PrinterButton = new QRadioButton(QStringLiteral("Nyomtató"), box);
    PdfButton = new QRadioButton(QStringLiteral("PDF fájl"), box);
    PreviewButton->setChecked(true);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* button : {PreviewButton, PrinterButton, PdfButton}) {
        group->addButton(button);
        boxLayout->addWidget(button);
    }
    auto* fileRow = new QHBoxLayout;
    PdfFile = new QLineEdit(q(defaultPdfName(reportName)), box);
    BrowseButton = new QPushButton(QStringLiteral("Tallózás..."), box);
    fileRow->addSpacing(20);
    fileRow->addWidget(PdfFile, 1);
    fileRow->addWidget(BrowseButton);
    boxLayout->addLayout(fileRow);
    layout->addWidget(box);
    auto* buttons = new QHBoxLayout;
    OkButton = new QPushButton(QStringLiteral("Rendben"), this);
    CancelButton = new QPushButton(QStringLiteral("Mégsem"), this);
    OkButton->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
    resize(460, sizeHint().height());

    connect(group, &QButtonGroup::buttonToggled, this, [this] { Update(); });
    connect(PdfFile, &QLineEdit::textChanged, this, [this] { Update(); });
    connect(BrowseButton, &QPushButton::clicked, this, [this] { Browse(); });
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    Update();
}

OutputChoice SetupDialog::Choice() const {
    OutputChoice choice;
    if (PrinterButton->isChecked()) {
        choice.destination = Destination::Printer;
    } else if (PdfButton->isChecked()) {
        choice.destination = Destination::PdfFile;
        std::filesystem::path file = PdfFile->text().trimmed().toStdString();
        if (file.extension().empty())
            file += ".pdf";
        choice.pdfFile = file;
    }
    return choice;
}

void SetupDialog::Update() {
    const bool pdf = PdfButton->isChecked();
    PdfFile->setEnabled(pdf);
    BrowseButton->setEnabled(pdf);
    OkButton->setEnabled(!pdf || !PdfFile->text().trimmed().isEmpty());
}

void SetupDialog::Browse() {
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("PDF fájl"), PdfFile->text(), QStringLiteral("PDF fájlok (*.pdf)"));
    if (!file.isEmpty())
        PdfFile->setText(file);
}

// --- preview ---------------------------------------------------------------------------------

namespace {

// 900 x 1000 pixels, less where the screen the window opens on (its parent's) is
// smaller: the window frame keeps room for its title bar and borders.
void FitScreen(QWidget& window, QWidget* parent) {
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 900, 1000);
    const int width = std::min(900, room.width() - 16);
    const int height = std::min(1000, room.height() - 48);
    window.resize(std::max(width, 400), std::max(height, 300));
    window.move(room.left() + (room.width() - window.width()) / 2,
                room.top() + std::max(0, (room.height() - 48 - window.height()) / 2));
}

} // namespace

PreviewWindow::PreviewWindow(const Document& document, QWidget* parent)
    : QDialog(parent), document_(document) {
    setWindowTitle(q("Nyomtatási kép - " + document.name));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto button = [&](const char* text, const char* tip) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setToolTip(QString::fromUtf8(tip));
        b->setAutoDefault(false);
        bar->addWidget(b);
        return b;
    };
    FirstButton = button("<<", "Első oldal (Home)");
    PriorButton = button("<", "Előző oldal (Page Up)");
    PageLabel = new QLabel(this);
    PageLabel->setMinimumWidth(110);
    PageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(PageLabel);
    NextButton = button(">", "Következő oldal (Page Down)");
    LastButton = button(">>", "Utolsó oldal (End)");
    bar->addSpacing(16);
    ZoomBox = new QComboBox(this);
    for (const char* item :
         {"50%", "75%", "100%", "125%", "150%", "200%", "Oldalszélesség", "Teljes oldal"})
        ZoomBox->addItem(QString::fromUtf8(item));
    ZoomBox->setCurrentIndex(2);
    bar->addWidget(ZoomBox);
    bar->addStretch(1);
    PrintButton = button("Nyomtatás...", "Nyomtatás (Ctrl+P)");
    SaveButton = button("Mentés...", "Mentés PDF-, szöveg- vagy szerkeszthető fájlba (Ctrl+S)");
    CloseButton = button("Bezárás", "Bezárás (Esc)");
    layout->addLayout(bar);
    auto* progressRow = new QHBoxLayout;
    LayoutLabel = new QLabel(this);
    StopButton = new QPushButton(QStringLiteral("Mégsem"), this);
    StopButton->setToolTip(QStringLiteral("Az oldalak készítésének leállítása"));
    StopButton->setAutoDefault(false);
    progressRow->addWidget(LayoutLabel, 1);
    progressRow->addWidget(StopButton);
    layout->addLayout(progressRow);
    LayoutLabel->hide();
    StopButton->hide();
    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    PageView = new QLabel(scroll_);
    scroll_->setWidget(PageView);
    layout->addWidget(scroll_, 1);
    FitScreen(*this, parent);

    connect(FirstButton, &QPushButton::clicked, this, [this] { ShowPage(0); });
    connect(PriorButton, &QPushButton::clicked, this, [this] { ShowPage(page_ - 1); });
    connect(NextButton, &QPushButton::clicked, this, [this] { ShowPage(page_ + 1); });
    connect(LastButton, &QPushButton::clicked, this, [this] { ShowPage(PageCount() - 1); });
    connect(ZoomBox, &QComboBox::activated, this, [this](int index) { ZoomChosen(index); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { Print(); });
    connect(SaveButton, &QPushButton::clicked, this, [this] { Save(); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(StopButton, &QPushButton::clicked, this, [this] {
        stopRequested_ = true;
        StopButton->setEnabled(false);
    });
    Refresh();
}

int PreviewWindow::PageCount() const {
    return laying_ ? shown_ : static_cast<int>(document_.pages.size());
}

void PreviewWindow::BeginLayout() {
    laying_ = true;
    complete_ = false;
    shown_ = 0;
    LayoutLabel->show();
    StopButton->show();
    UpdateControls();
}

void PreviewWindow::LayoutProgress(int pages) {
    const bool first = shown_ == 0 && pages > 0;
    shown_ = pages;
    LayoutLabel->setText(QStringLiteral("Oldalak készítése: %1 oldal kész…").arg(pages));
    if (first)
        Refresh();
    else
        UpdateControls();
}

void PreviewWindow::EndLayout(bool stopped) {
    laying_ = false;
    complete_ = !stopped;
    StopButton->hide();
    if (stopped)
        LayoutLabel->setText(
            QStringLiteral("Az oldalak készítése leállítva: csak az első %1 oldal készült el, "
                           "ezért a jelentés így nem nyomtatható és nem menthető.")
                .arg(document_.pages.size()));
    else
        LayoutLabel->hide();
    page_ = std::clamp(page_, 0, std::max(PageCount() - 1, 0));
    Refresh();
}

void PreviewWindow::done(int result) {
    if (laying_)
        stopRequested_ = true;
    QDialog::done(result);
}

void PreviewWindow::ShowPage(int page) {
    const int count = PageCount();
    page_ = std::clamp(page, 0, std::max(count - 1, 0));
    Refresh();
    scroll_->verticalScrollBar()->setValue(0);
}

void PreviewWindow::SetZoom(double percent) {
    zoom_ = std::clamp(percent, 10.0, 800.0);
    Refresh();
}

void PreviewWindow::ZoomChosen(int index) {
    static constexpr double percents[] = {50, 75, 100, 125, 150, 200};
    if (index >= 0 && index < 6)
        return SetZoom(percents[index]);
    const QSize room = scroll_->viewport()->size() - QSize(24, 24);
    const double byWidth = room.width() / (document_.width * kScreenDotsPerMm) * 100;
    const double byHeight = room.height() / (document_.height * kScreenDotsPerMm) * 100;
    SetZoom(index == 6 ? byWidth : std::min(byWidth, byHeight));
}

void PreviewWindow::UpdateControls() {
    const int count = PageCount();
    PageLabel->setText(QStringLiteral("Oldal: %1 / %2%3")
                           .arg(count ? page_ + 1 : 0)
                           .arg(count)
                           .arg(laying_ ? QStringLiteral("…") : QString()));
    FirstButton->setEnabled(page_ > 0);
    PriorButton->setEnabled(page_ > 0);
    NextButton->setEnabled(page_ + 1 < count);
    LastButton->setEnabled(page_ + 1 < count);
    PrintButton->setEnabled(count > 0 && complete_);
    SaveButton->setEnabled(count > 0 && complete_);
}

void PreviewWindow::Refresh() {
    UpdateControls();
    const double dotsPerMm = kScreenDotsPerMm * zoom_ / 100;
    // A page is read back from the pages' temporary file, which can fail.
    ui::Guarded([&] {
        const QImage image = complete_ || page_ >= PageCount()
                                 ? PageImage(document_, page_, dotsPerMm)
                                 : PageImage(WithoutPageCount(document_, page_), 0, dotsPerMm);
        PageView->setPixmap(QPixmap::fromImage(image));
        PageView->resize(image.size());
    });
}

void PreviewWindow::Print() {
    if (complete_)
        PrintWithDialog(document_, this);
}

void PreviewWindow::Save() {
    if (!complete_)
        return;
    const QString pdf = QStringLiteral("PDF fájl (*.pdf)");
    const QString text = QStringLiteral("Szövegfájl (*.txt)");
    const QString odf = QStringLiteral("Szerkeszthető dokumentum (*.odt)");
    QString filter = pdf;
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Mentés"),
                                                q(defaultPdfName(document_.name)),
                                                pdf + ";;" + text + ";;" + odf, &filter);
    if (file.isEmpty())
        return;
    // The format chosen gives the name its extension when it has none.
    if (QFileInfo(file).suffix().isEmpty())
        file += filter == text ? ".txt" : filter == odf ? ".odt" : ".pdf";
    ui::Guarded([&] { SaveDocumentAs(document_, file.toStdString()); });
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        return ShowPage(page_ + 1);
    case Qt::Key_PageUp:
        return ShowPage(page_ - 1);
    case Qt::Key_Home:
        return ShowPage(0);
    case Qt::Key_End:
        return ShowPage(PageCount() - 1);
    case Qt::Key_P:
        if (event->modifiers() & Qt::ControlModifier)
            return Print();
        break;
    case Qt::Key_S:
        if (event->modifiers() & Qt::ControlModifier)
            return Save();
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

const char* const kNoPrinterMessage =
    "Nincs telepített nyomtató, a jelentés nem nyomtatható.\nA nyomtatási képből a jelentés "
    "PDF fájlba menthető, vagy a nyomtató telepítése után újra nyomtatható.";

bool PrintWithDialog(const Document& document, QWidget* parent) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ui::MessageDlg(kNoPrinterMessage, ui::mtWarning, ui::mbOK);
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(
        QPageSize(document.paper == "A3" ? QPageSize::A3 : QPageSize::A4),
        document.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    printer.setFromTo(1, static_cast<int>(document.pages.size()));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Nyomtatás"));
    dialog.setMinMax(1, static_cast<int>(document.pages.size()));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    try {
        PrintDocument(document, printer);
    } catch (const ReportError& error) {
        ui::MessageDlg(error.what(), ui::mtError, ui::mbOK);
        return false;
    }
    return true;
}

// --- the program's output service --------------------------------------------------------------

namespace {

// A progress window that appears only when the work lasts longer than half a second.
class QtProgress : public ProgressReporter {
public:
    QtProgress(std::string title, QString unit) : title_(std::move(title)), unit_(unit) {
        timer_.start();
    }

    bool Step(int done) override {
        if (!dialog_) {
            if (timer_.elapsed() < 500)
                return true;
            dialog_ = std::make_unique<QProgressDialog>();
            dialog_->setWindowTitle(QStringLiteral("Nyomtatás"));
            dialog_->setCancelButtonText(QStringLiteral("Mégsem"));
            dialog_->setRange(0, 0);
            dialog_->setMinimumDuration(0);
            dialog_->setWindowModality(Qt::ApplicationModal);
            dialog_->show();
        }
        if (timer_.elapsed() - shown_ >= 50) {
            shown_ = timer_.elapsed();
            dialog_->setLabelText(q(title_) + "\n" + unit_.arg(done));
            QCoreApplication::processEvents();
        }
        return !dialog_->wasCanceled();
    }

private:
    std::string title_;
    QString unit_;
    QElapsedTimer timer_;
    qint64 shown_ = 0;
    std::unique_ptr<QProgressDialog> dialog_;
};

QWidget* activeWindow() {
    return QApplication::activeWindow();
}

// The progress of a report laid out for the preview: the progress window until the first
// page is there, then the preview itself with its progress line. Events are handled every
// 50 ms meanwhile, so that the user can look at the pages laid out so far.
class PreviewProgress : public ProgressReporter {
public:
    PreviewProgress(PreviewWindow& preview, const std::string& reportName)
        : preview_(preview), rows_(std::make_unique<QtProgress>("Jelentés készítése: " + reportName,
                                                                QStringLiteral("%1 sor"))) {
        timer_.start();
    }

    bool Step(int done) override { return rows_ ? rows_->Step(done) : handleEvents(); }

    bool PageDone(const Document& document) override {
        pages_ = static_cast<int>(document.pages.size());
        if (!rows_) {
            preview_.LayoutProgress(pages_);
            return handleEvents();
        }
        rows_.reset();
        preview_.setWindowModality(Qt::ApplicationModal);
        preview_.BeginLayout();
        preview_.LayoutProgress(pages_);
        preview_.show();
        shown_ = timer_.elapsed();
        QCoreApplication::processEvents();
        return !preview_.StopRequested();
    }

    // Whether the preview is on the screen.
    bool Showing() const { return !rows_; }

private:
    bool handleEvents() {
        if (timer_.elapsed() - shown_ >= 50) {
            shown_ = timer_.elapsed();
            QCoreApplication::processEvents();
        }
        return !preview_.StopRequested();
    }

    PreviewWindow& preview_;
    std::unique_ptr<QtProgress> rows_;
    QElapsedTimer timer_;
    qint64 shown_ = 0;
    int pages_ = 0;
};

} // namespace

std::optional<OutputChoice> QtOutputService::Choose(const std::string& reportName) {
    SetupDialog dialog(reportName, activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

std::unique_ptr<ProgressReporter> QtOutputService::StartProgress(const std::string& reportName) {
    return std::make_unique<QtProgress>("Jelentés készítése: " + reportName,
                                        QStringLiteral("%1 sor"));
}

void QtOutputService::Run(const std::string& reportName, const OutputChoice& choice,
                          const LayOut& layOut) {
    if (choice.destination != Destination::Preview)
        return OutputService::Run(reportName, choice, layOut);
    Document document;
    PreviewWindow preview(document, activeWindow());
    preview.setWindowState(Qt::WindowMaximized);
    PreviewProgress progress(preview, reportName);
    bool stopped = false;
    try {
        layOut(document, &progress);
    } catch (const ReportCancelled&) {
        stopped = true;
    }
    // Cancelled before the first page, or the preview closed meanwhile: nothing to show.
    if ((stopped && !progress.Showing()) || (progress.Showing() && !preview.isVisible()))
        return;
    preview.EndLayout(stopped);
    preview.exec();
}

void QtOutputService::Deliver(const Document& document, const OutputChoice& choice) {
    switch (choice.destination) {
    case Destination::Preview: {
        PreviewWindow preview(document, activeWindow());
        preview.setWindowState(Qt::WindowMaximized);
        preview.exec();
        break;
    }
    case Destination::Printer:
        PrintWithDialog(document, activeWindow());
        break;
    case Destination::PdfFile: {
        QtProgress progress("PDF fájl írása: " + choice.pdfFile.string(),
                            QStringLiteral("%1. oldal"));
        WritePdf(document, choice.pdfFile, &progress);
        break;
    }
    }
}

} // namespace report
