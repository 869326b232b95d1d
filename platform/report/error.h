#pragma once
// Errors of report runs; what() is the text the application's error display shows.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace report {

class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The project file is not in the working directory:
// The following reporting project does not exist:
// "/full/path/Tablak.rav"
class ProjectMissingError : public ReportError {
public:
    explicit ProjectMissingError(const std::filesystem::path& fullPath);
};

// A layout file that is not ours (a binary file of the original program, another
// text) or that has a fault; names the file and the line (1-based; 0 when the fault is
// not on one line):
// Hibás jelentésfájl:
// "/full/path/Tablak.rav"
// 3. sor: ismeretlen kulcsszó: "colum"
class LayoutError : public ReportError {
public:
    LayoutError(const std::filesystem::path& file, int line, const std::string& problem);
    const std::filesystem::path& file() const { return file_; }
    int line() const { return line_; }
    const std::string& problem() const { return problem_; }

private:
    std::filesystem::path file_;
    int line_;
    std::string problem_;
};

} // namespace report
