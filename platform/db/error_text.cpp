#include "platform/db/error_text.h"

#include "platform/db/error.h"
#include "platform/sys/error_text.h"

#include <algorithm>

namespace db {

namespace {

struct Meaning {
    const char* words; // as the engine's problem says it
    const char* text;  // what the user reads
};

// The engine's problems by what they mean to the user, the most telling first.
constexpr Meaning kMeanings[] = {
    {"no such table", "a tábla fájlja nem található"},
    {"no such file", "a fájl nem található"},
    {"read-only", "a tábla csak olvasásra van megnyitva"},
    {"left by an interrupted change", "egy félbeszakadt módosítás maradt a fájlban"},
    {"journal", "a megszakadt módosítás naplója nem olvasható"},
    {"encrypted", "a tábla titkosított, ilyen táblát a program nem kezel"},
    {"is full", "a tábla megtelt"},
    {"too large", "a tábla megtelt"},
    {"already exists", "a tábla már létezik"},
    {"is taken", "ilyen nevű mező már van a táblában"},
    {"file ends before", "a fájl csonka"},
    {"egy másik program használja", "a táblát egy másik program használja"},
};

// The engine words its problems in English for the developer; a problem worded in
// Hungarian (accented letters) was written for the user and is shown as it is.
bool WordedForTheUser(const std::string& problem) {
    return std::any_of(problem.begin(), problem.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string WithFullStop(std::string text) {
    if (!text.empty() && text.back() != '.' && text.back() != '!' && text.back() != '?')
        text += '.';
    return text;
}

} // namespace

std::string hungarianReason(const DbError& error) {
    if (dynamic_cast<const KeyViolation*>(&error))
        return "ilyen kulcsú sor már van a táblában";
    if (std::string system = sys::systemReasonText(error.problem()); !system.empty())
        return system;
    if (dynamic_cast<const CorruptFileError*>(&error))
        return "a fájl sérült";
    for (const Meaning& meaning : kMeanings)
        if (error.problem().find(meaning.words) != std::string::npos)
            return meaning.text;
    return "a fájl nem olvasható vagy nem írható";
}

std::string hungarianText(const DbError& error) {
    const std::string file = error.file().filename().string();
    if (WordedForTheUser(error.problem()))
        return file + ": " + WithFullStop(error.problem());
    return "Adatbázis hiba a(z) " + file + " fájlban: " + hungarianReason(error) + ".\n(" +
           error.problem() + ")";
}

} // namespace db

namespace db {

std::optional<FileErrorText> describeFileError(const std::exception& error) {
    if (const auto* fileError = dynamic_cast<const DbError*>(&error))
        return FileErrorText{fileError->file().filename().string(), hungarianReason(*fileError),
                             fileError->problem(), hungarianText(*fileError)};
    try {
        std::rethrow_if_nested(error);
    } catch (const std::exception& inner) {
        return describeFileError(inner);
    } catch (...) {
    }
    return std::nullopt;
}

std::optional<std::string> hungarianTextOf(const std::exception& error) {
    if (std::optional<FileErrorText> described = describeFileError(error))
        return described->text;
    return std::nullopt;
}

} // namespace db
