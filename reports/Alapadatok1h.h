#pragma once
// "Alapadatok I.": the parcel summary sheets of the farming diary.

#include "platform/db/session.h"

#include <string>

// The 2004-2009 parcel summary (GN 03): the form shown modally with "GN03Parcellak.rav",
// its year box visible and its field query's "AKG" parameter true.
void OpenParcelSummary(db::Session& session);

// The 2009-2014 summary of the fields outside the scheme (GN-06): printed through the form
// without showing it, with "09GN06Parcellak.rav", for the farming year given.
void PrintParcelSummaryUnshown(db::Session& session, const std::string& farmingYear);
