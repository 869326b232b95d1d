#pragma once
// Keeps a printout as a PDF in FARM_SCREENSHOT_DIR when it is set, to be looked at.

#include "platform/report/document.h"
#include "platform/report/output.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace regtest {

inline void KeepPdf(const report::Document& document, const std::string& name) {
    if (const char* folder = std::getenv("FARM_SCREENSHOT_DIR"))
        report::WritePdf(document, std::filesystem::path(folder) / name);
}

} // namespace regtest
