#include "platform/sys/error_text.h"

#include <cerrno>
#include <cstring>

namespace sys {

namespace {

struct Reason {
    int error;
    const char* text;
};

// The reasons a user can do something about; the rest stay in the technical detail.
constexpr Reason kReasons[] = {
    {ENOENT, "a fájl vagy a mappa nem található"},
    {EACCES, "nincs jogosultság a fájlhoz"},
    {EPERM, "a művelet nem engedélyezett"},
    {EROFS, "a lemez csak olvasható"},
    {ENOSPC, "betelt a lemez"},
    {EDQUOT, "elfogyott a lemezkvóta"},
    {EISDIR, "a név egy mappáé"},
    {ENOTDIR, "az útvonal egy eleme nem mappa"},
    {EEXIST, "a fájl már létezik"},
    {EIO, "a lemez olvasása vagy írása nem sikerült"},
    {EMFILE, "túl sok fájl van nyitva"},
    {EBUSY, "a fájlt más használja"},
    {EFBIG, "a fájl túl nagy"},
};

} // namespace

std::string systemReasonText(const std::string& problem) {
    for (const Reason& reason : kReasons)
        if (problem.find(std::strerror(reason.error)) != std::string::npos)
            return reason.text;
    return {};
}

} // namespace sys
