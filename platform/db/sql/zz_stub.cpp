#include "platform/db/sql/sql.h"
namespace db::sql {
struct Statement::Ast {};
Statement Statement::parse(std::string_view) { throw SqlError("stub"); }
Statement::Statement() = default;
Statement::~Statement() = default;
Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;
const std::string& Statement::text() const { return text_; }
bool Statement::isSelect() const { return true; }
std::vector<std::string> Statement::parameters() const { return {}; }
ResultSet Statement::select(Session&, const std::map<std::string, Value>&) const { return {}; }
void Statement::execute(Session&, const std::map<std::string, Value>&) const {}
}
