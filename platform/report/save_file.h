#pragma once
// Writing a file a report is saved to through a temporary beside it, so that the file is
// either its earlier version or the complete new one.

#include <filesystem>
#include <functional>
#include <string>

class QIODevice;

namespace report {

// Writes the file through a temporary beside it: `write` writes the contents into the
// device, or answers false to give up (false is returned, the file stays as it was). The
// file is replaced only when every byte was written; otherwise it stays as it was and
// ReportError says "<what> nem írható" with the file's name.
bool SaveFileThrough(const std::filesystem::path& file, const std::string& what,
                     const std::function<bool(QIODevice& out)>& write);

} // namespace report
