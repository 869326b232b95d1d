#include "platform/report/output.h"

namespace report {

namespace {

class NoProgress : public ProgressReporter {
public:
    bool Step(int) override { return true; }
};

OutputService*& current() {
    static QtOutputService program;
    static OutputService* service = &program;
    return service;
}

} // namespace

std::unique_ptr<ProgressReporter> OutputService::StartProgress(const std::string&) {
    return std::make_unique<NoProgress>();
}

void OutputService::Run(const std::string& reportName, const OutputChoice& choice,
                        const LayOut& layOut) {
    Document document;
    {
        const std::unique_ptr<ProgressReporter> progress = StartProgress(reportName);
        layOut(document, progress.get());
    }
    Deliver(document, choice);
}

OutputService& Output() {
    return *current();
}

OutputService& SetOutput(OutputService& service) {
    OutputService& previous = *current();
    current() = &service;
    return previous;
}

std::optional<OutputChoice> CaptureOutput::Choose(const std::string& reportName) {
    asked.push_back(reportName);
    return answer;
}

void CaptureOutput::Deliver(const Document& document, const OutputChoice& choice) {
    documents.push_back(document);
    if (choice.destination == Destination::PdfFile)
        WritePdf(document, choice.pdfFile);
}

void CaptureOutput::Run(const std::string& reportName, const OutputChoice& choice,
                        const LayOut& layOut) {
    struct Pages : ProgressReporter {
        Pages(ProgressReporter& reporter, const std::function<void(const Document&)>& told)
            : inner(reporter), onPage(told) {}
        bool Step(int done) override { return inner.Step(done); }
        bool PageDone(const Document& document) override {
            if (onPage)
                onPage(document);
            return inner.PageDone(document);
        }
        ProgressReporter& inner;
        const std::function<void(const Document&)>& onPage;
    };
    Document document;
    {
        const std::unique_ptr<ProgressReporter> progress = StartProgress(reportName);
        Pages pages(*progress, OnPageDone);
        layOut(document, &pages);
    }
    if (OnPageDone && !document.pages.empty())
        OnPageDone(document);
    documents.push_back(std::move(document));
    if (choice.destination == Destination::PdfFile)
        WritePdf(documents.back(), choice.pdfFile);
}

} // namespace report
