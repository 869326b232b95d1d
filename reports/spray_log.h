#pragma once
// The spray log's rows and the columns worked out for each of them: every pesticide use
// of a performed operation with its field, operation and pesticide, narrowed by the
// conditions form's tail; the tractor, implement, workers and observation of the
// operation, read once per opening instead of one lookup per row.

#include "platform/db/key_table.h"
#include "platform/db/session.h"
#include "report_texts.h"

#include <string>
#include <vector>

namespace spray {

// The three SQL lines of the log, the condition tail appended to the fixed WHERE text.
std::vector<std::string> SprayLogSql(const std::string& conditionTail);

// The tail of the operations' conditions, its field part beginning "AND (" straight
// after the blank that ends the log's fixed WHERE text.
std::string SprayConditionTail(const lists::OperationChoices& choices);

// The operation's area in hectares: square metres × 0.0001 as a general float text.
std::string HectaresText(int squareMetres);

// The lookups of the calculated columns.
class SprayLookups {
public:
    // Reads the tractors, implements, workers and observation links.
    void Load(db::Session& session);

    std::string TractorType(const std::string& gepkod) const;   // Erogepek.Geptip
    std::string ImplementName(const std::string& gepkod) const; // Munkagepek.Gepnev
    // The workers' names in name order, one after the other with no separator.
    std::string WorkerNames(const std::string& muvkod) const;
    // The serial of the first observation linked to the operation.
    std::string ObservationSerial(const std::string& muvkod) const;

private:
    using Map = db::KeyTable<std::string>;
    Map tractors_, implements_, workers_, observations_;
};

} // namespace spray
