#include "platform/db/error_text.h"

#include "platform/db/error.h"
#include "platform/sys/error_text.h"

#include <algorithm>
#include <string_view>

namespace db {

namespace {

// The engine's problems by what they mean to the user, the most telling first.
constexpr ProblemMeaning kMeanings[] = {
    {"no such table", "a tábla fájlja nem található"},
    {"no such file", "a fájl nem található"},
    {"read-only", "a tábla csak olvasásra van megnyitva"},
    {"interrupted", "egy félbeszakadt módosítás maradt a fájlban"},
    {"journal", "a megszakadt módosítás naplója nem olvasható"},
    {"encrypted", "a tábla titkosított, ilyen táblát a program nem kezel"},
    {"is full", "a tábla megtelt"},
    {"too large", "a tábla megtelt"},
    {"more than a table can have", "a tábla megtelt"},
    {"already exists", "a tábla már létezik"},
    {"is taken", "ilyen nevű mező már van a táblában"},
    {"is longer than", "a mező neve túl hosszú"},
    {"has no name", "a mezőnek nincs neve"},
    {"auto-increment field cannot be added", "számláló mező nem adható a táblához"},
    {"file ends before", "a fájl csonka"},
    {"cannot lock", "a tábla nem zárolható"},
    {"egy másik program használja", "a táblát egy másik program használja"},
    {"the save was undone", "a mentés egy része nem sikerült, ezért semmi sem íródott ki"},
    {"layout cannot change inside a save", "a tábla szerkezete mentés közben nem változtatható"},
    {"is not in the folder", "a fájl nem az adatbázis mappájában van"},
    {"index", "a tábla indexe nem hozható létre"},
    {"cannot rename", "a fájl nem nevezhető át"},
    {"cannot delete", "a fájl nem törölhető"},
    {"cannot open", "a fájl nem nyitható meg"},
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

// A value a field cannot hold: "field Terulet: <why>"; the field's name, or none.
std::optional<std::string> FieldOf(const std::string& problem) {
    constexpr std::string_view kField = "field ";
    const std::size_t colon = problem.find(": ");
    if (problem.rfind(kField, 0) != 0 || colon == std::string::npos)
        return std::nullopt;
    return problem.substr(kField.size(), colon - kField.size());
}

// The problem without a leading "field <name>: ".
std::string WithoutField(const std::string& problem) {
    return FieldOf(problem) ? problem.substr(problem.find(": ") + 2) : problem;
}

} // namespace

std::string hungarianReason(const DbError& error) {
    if (dynamic_cast<const KeyViolation*>(&error))
        return "ilyen kulcsú sor már van a táblában";
    if (std::string system = sys::systemReasonText(error.problem()); !system.empty())
        return system;
    if (dynamic_cast<const CorruptFileError*>(&error))
        return "a fájl sérült";
    const std::string problem = WithoutField(error.problem());
    for (const ProblemMeaning& meaning : kMeanings)
        if (problem.find(meaning.words) != std::string::npos)
            return std::string(meaning.text);
    if (WordedForTheUser(problem))
        return problem;
    if (const std::optional<std::string> field = FieldOf(error.problem()))
        return "a(z) " + *field + " mező értéke nem írható a táblába";
    return "a fájl nem olvasható vagy nem írható";
}

// The engine's own words stay in DbError::problem for whoever repairs the file; the user
// reads Hungarian only.
std::string hungarianText(const DbError& error) {
    const std::string file = error.file().filename().string();
    const std::string problem = WithoutField(error.problem());
    if (WordedForTheUser(problem))
        return file + ": " + WithFullStop(problem);
    return "Adatbázis hiba a(z) " + file + " fájlban: " + hungarianReason(error) + ".";
}

std::span<const ProblemMeaning> problemMeanings() {
    return kMeanings;
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
