#pragma once
// The engine's own windows: the print set-up dialog and the preview.

#include "platform/report/document.h"
#include "platform/report/output.h"

#include <QDialog>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace report {

// "Nyomtatás": preview, printer or PDF file with its name.
class SetupDialog : public QDialog {
public:
    explicit SetupDialog(const std::string& reportName, QWidget* parent = nullptr);
    // The choice made, as the dialog's controls stand.
    OutputChoice Choice() const;

    QRadioButton* PreviewButton;
    QRadioButton* PrinterButton;
    QRadioButton* PdfButton;
    QLineEdit* PdfFile;
    QPushButton* BrowseButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;

private:
    void Update();
    void Browse();
};

// The preview: one page at a time, zoom, page navigation and printing.
class PreviewWindow : public QDialog {
public:
    explicit PreviewWindow(const Document& document, QWidget* parent = nullptr);

    int CurrentPage() const { return page_; } // 0-based
    void ShowPage(int page);
    // Percent of the real size on a 96 dpi screen.
    double Zoom() const { return zoom_; }
    void SetZoom(double percent);

    QPushButton* FirstButton;
    QPushButton* PriorButton;
    QPushButton* NextButton;
    QPushButton* LastButton;
    QComboBox* ZoomBox;
    QPushButton* PrintButton;
    QPushButton* SaveButton; // "Mentés...": PDF, plain text or editable document
    QPushButton* CloseButton;
    QLabel* PageLabel;
    QLabel* PageView;
    // While the pages are laid out: how far it has got, and the button that stops it.
    QLabel* LayoutLabel;
    QPushButton* StopButton;

    // The document grows while the window shows it: printing and saving wait for the
    // end, and the page count stands as "…" on the pages.
    void BeginLayout();
    // `pages` pages are laid out so far.
    void LayoutProgress(int pages);
    // The last page is laid out; `stopped`: the user stopped the layout, the pages so far
    // can be looked at only.
    void EndLayout(bool stopped);
    // Stop pressed, or the window closed, while the pages are laid out.
    bool StopRequested() const { return stopRequested_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    // The pages that can be shown.
    int PageCount() const;
    void UpdateControls();
    void Refresh();
    void Print();
    void Save();
    void ZoomChosen(int index);

    const Document& document_;
    bool laying_ = false;  // the pages are being laid out
    bool complete_ = true; // every page is there and the page count filled in
    bool stopRequested_ = false;
    int shown_ = 0; // while laying out: the pages finished
    int page_ = 0;
    double zoom_ = 100;
    QScrollArea* scroll_;
};

// Sends the document to the printer through the print dialog; false when cancelled, when
// there is no printer, or when the printer failed (each told in a Hungarian message).
bool PrintWithDialog(const Document& document, QWidget* parent);

// The text of the message shown when no printer is installed.
extern const char* const kNoPrinterMessage;

} // namespace report
