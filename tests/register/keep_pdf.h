#pragma once
// The printouts as PDF: kept in FARM_SCREENSHOT_DIR when it is set, to be looked at, and
// read back as text with pdftotext.

#include "platform/report/document.h"
#include "platform/report/output.h"
#include "support/test_env.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace regtest {

inline void KeepPdf(const report::Document& document, const std::string& name) {
    if (const char* folder = std::getenv("FARM_SCREENSHOT_DIR"))
        report::WritePdf(document, std::filesystem::path(folder) / name);
}

// The text of the document written as a PDF, as pdftotext reads it (its layout kept);
// "" when pdftotext is not installed.
inline std::string PdfText(const report::Document& document) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        return "";
    const std::filesystem::path pdf = std::filesystem::current_path() / "printout.pdf";
    report::WritePdf(document, pdf);
    return testenv::run("pdftotext -layout '" + pdf.string() + "' -").out;
}

} // namespace regtest
