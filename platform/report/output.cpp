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

} // namespace report
