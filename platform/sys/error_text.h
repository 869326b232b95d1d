#pragma once
// The operating system's reasons for a failed file operation, said in Hungarian.

#include <string>

namespace sys {

// The Hungarian reason for a problem text that quotes the system's own reason (as
// strerror words it, "No space left on device"); "" when the text quotes none known.
std::string systemReasonText(const std::string& problem);

} // namespace sys
