#include "platform/report/error.h"

namespace report {

ProjectMissingError::ProjectMissingError(const std::filesystem::path& fullPath)
    : ReportError("The following reporting project does not exist:\n\"" + fullPath.string() +
                  "\"") {}

namespace {

std::string layoutMessage(const std::filesystem::path& file, int line, const std::string& problem) {
    std::string text = "Hibás jelentésfájl:\n\"" + file.string() + "\"\n";
    if (line > 0)
        text += std::to_string(line) + ". sor: ";
    return text + problem;
}

} // namespace

LayoutError::LayoutError(const std::filesystem::path& file, int line, const std::string& problem)
    : ReportError(layoutMessage(file, line, problem)), file_(file), line_(line), problem_(problem) {
}

} // namespace report
