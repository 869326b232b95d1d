#pragma once
// Where a finished report goes. Every report run asks one output service: the set-up
// dialog ("Nyomtatás": "Nyomtatási kép", "Nyomtató" or "PDF fájl" with a file name),
// the progress of a long report, and the delivery of the pages. The program uses the Qt
// dialogs (the default service, nothing to install); a test installs a CaptureOutput
// that answers the set-up dialog and keeps the pages:
//
//     report::CaptureOutput output;          // answers "Nyomtatási kép"
//     report::ScopedOutput use(output);
//     form->Button2->click();
//     ASSERT_EQ(output.documents.size(), 1u);
//     EXPECT_THAT(report::PageLines(output.documents[0].pages[0]), Contains("..."));

#include "platform/report/document.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class QImage;

namespace report {

enum class Destination { Preview, Printer, PdfFile };

struct OutputChoice {
    Destination destination = Destination::Preview;
    std::filesystem::path pdfFile; // PdfFile only
};

// Told how far a long report has got (rows read, then pages written); answers false
// when the user cancelled it.
class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;
    virtual bool Step(int done) = 0;
    // The document's last page is laid out (but for the page count); answers false when
    // the user cancelled.
    virtual bool PageDone(const Document& document) {
        static_cast<void>(document);
        return true;
    }
};

// Lays a report's pages out into the document, telling the reporter how far it got; a
// cancel raises ReportCancelled.
using LayOut = std::function<void(Document& into, ProgressReporter* progress)>;

class OutputService {
public:
    virtual ~OutputService() = default;
    // The set-up dialog for the report of that name; nullopt when the user cancels.
    virtual std::optional<OutputChoice> Choose(const std::string& reportName) = 0;
    // Progress while the pages are laid out; the reporter lives until they are done.
    virtual std::unique_ptr<ProgressReporter> StartProgress(const std::string& reportName);
    // Sends the pages to the chosen destination; returns when the user is done with them.
    virtual void Deliver(const Document& document, const OutputChoice& choice) = 0;
    // Lays the report out and delivers it. Here every page is laid out first, with the
    // progress of StartProgress, and then delivered; a cancel (ReportCancelled) delivers
    // nothing.
    virtual void Run(const std::string& reportName, const OutputChoice& choice,
                     const LayOut& layOut);
};

// The program's service: Qt dialogs, the preview window, the print dialog, PDF files.
class QtOutputService : public OutputService {
public:
    std::optional<OutputChoice> Choose(const std::string& reportName) override;
    std::unique_ptr<ProgressReporter> StartProgress(const std::string& reportName) override;
    void Deliver(const Document& document, const OutputChoice& choice) override;
    // The preview opens as soon as its first page is laid out and shows the rest as they
    // come, with a progress line and a cancel.
    void Run(const std::string& reportName, const OutputChoice& choice,
             const LayOut& layOut) override;
};

// The service of the tests: answers the set-up dialog with `answer` (nullopt: cancel)
// and keeps every delivered document; a PDF choice also writes the file.
class CaptureOutput : public OutputService {
public:
    std::optional<OutputChoice> answer = OutputChoice{};
    std::vector<std::string> asked; // the report names the set-up dialog was shown for
    std::vector<Document> documents;
    // Told each page as soon as it is laid out (the benchmarks time the first one).
    std::function<void(const Document&)> OnPageDone;

    std::optional<OutputChoice> Choose(const std::string& reportName) override;
    void Deliver(const Document& document, const OutputChoice& choice) override;
    // Lays the pages out straight into `documents`.
    void Run(const std::string& reportName, const OutputChoice& choice,
             const LayOut& layOut) override;
};

// The service every report run uses (the Qt one unless replaced).
OutputService& Output();
// Replaces the service; returns the previous one.
OutputService& SetOutput(OutputService& service);

// Installs a service for a scope.
class ScopedOutput {
public:
    explicit ScopedOutput(OutputService& service) : previous_(SetOutput(service)) {}
    ~ScopedOutput() { SetOutput(previous_); }
    ScopedOutput(const ScopedOutput&) = delete;
    ScopedOutput& operator=(const ScopedOutput&) = delete;

private:
    OutputService& previous_;
};

// --- painting (a Qt application must exist) ----------------------------------------------

// Paints a page on a painter whose device has `dotsPerMm` pixels per millimetre, in
// DejaVu Sans, white background not included.
void PaintPage(QPainter& painter, const Page& page, double dotsPerMm);
// A page as a picture for the screen, white paper, at `dotsPerMm`.
QImage PageImage(const Document& document, int page, double dotsPerMm);
// Writes the document as a PDF file; a file that cannot be written (no such folder, a
// full disk) raises ReportError naming it. With a reporter, each page written is a
// step; a cancel returns false and leaves the file of that name as it was.
bool WritePdf(const Document& document, const std::filesystem::path& file,
              ProgressReporter* progress = nullptr);
// Prints on a printer already set up (paper size and orientation are set here); a
// printer that cannot be reached or reports an error raises ReportError in Hungarian.
void PrintDocument(const Document& document, QPrinter& printer);

// --- the preview's other renderers -----------------------------------------------------------

// The pages as plain text: each row of texts on one line, the texts at the character
// columns of their places on the sheet; pages apart by a form feed.
std::string DocumentText(const Document& document);
// Writes DocumentText as a UTF-8 text file.
void WriteTextFile(const Document& document, const std::filesystem::path& file);
// Writes the pages as an editable document (OpenDocument text, ".odt"): each row of texts
// one paragraph, the texts at tab stops where they stand on the sheet, each page from a
// new page.
void WriteOdf(const Document& document, const std::filesystem::path& file);

// Saves the pages in the format the file's extension names: ".txt" plain text, ".odt" an
// editable document, anything else PDF.
void SaveDocumentAs(const Document& document, const std::filesystem::path& file);

// Replaces the file with the bytes once they are all written (through a temporary file
// beside it); the file stays as it was when anything fails, and ReportError says
// "<what> nem írható" with the file's name.
void SaveFileContents(const std::filesystem::path& file, const std::string& bytes,
                      const std::string& what);

} // namespace report
