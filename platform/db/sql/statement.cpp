// The public statement: parsed once, bound and run against a session on each call.

#include "platform/db/error.h"
#include "platform/db/error_text.h"
#include "platform/db/session.h"
#include "platform/db/sql/ast.h"
#include "platform/db/sql/bound.h"
#include "platform/db/sql/lexer.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

namespace db::sql {

namespace {

const Statement::Ast& astOf(const std::unique_ptr<Statement::Ast>& ast) {
    if (!ast)
        throw SqlError("üres utasítás");
    return *ast;
}

std::string tableName(std::string name) {
    if (name.size() > 3 && sys::equalsNoCase(std::string_view(name).substr(name.size() - 3), ".db"))
        name.resize(name.size() - 3);
    return name;
}

} // namespace

Statement::Statement() = default;
Statement::~Statement() = default;
Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;

Statement Statement::parse(std::string_view text) {
    Statement s;
    s.text_ = std::string(text);
    s.ast_ = parseStatement(s.text_);
    return s;
}

const std::string& Statement::text() const {
    return text_;
}

bool Statement::isSelect() const {
    return ast_ && ast_->isSelect;
}

std::vector<std::string> Statement::parameters() const {
    return ast_ ? ast_->params : std::vector<std::string>{};
}

ResultSet Statement::select(Session& session, const std::map<std::string, Value>& params) const {
    const Ast& ast = astOf(ast_);
    if (!ast.isSelect)
        throw SqlError("nem SELECT utasítás:\n" + text_);
    BoundSelect plan = bindSelect(ast.select, text_, session, params);
    return runSelect(plan);
}

std::vector<FieldDef> Statement::select(Session& session,
                                        const std::map<std::string, Value>& params,
                                        const RowBatchSink& sink, RunMeasure* measure) const {
    const Ast& ast = astOf(ast_);
    if (!ast.isSelect)
        throw SqlError("nem SELECT utasítás:\n" + text_);
    BoundSelect plan = bindSelect(ast.select, text_, session, params);
    runSelect(plan, sink, measure);
    std::vector<FieldDef> defs;
    for (const OutputColumn& column : plan.columns)
        defs.push_back(column.def);
    return defs;
}

std::vector<FieldDef> Statement::columns(Session& session,
                                         const std::map<std::string, Value>& params) const {
    const Ast& ast = astOf(ast_);
    if (!ast.isSelect)
        throw SqlError("nem SELECT utasítás:\n" + text_);
    const BoundSelect plan = bindSelect(ast.select, text_, session, params, true);
    std::vector<FieldDef> defs;
    for (const OutputColumn& column : plan.columns)
        defs.push_back(column.def);
    return defs;
}

void Statement::execute(Session& session, const std::map<std::string, Value>&) const {
    const Ast& ast = astOf(ast_);
    if (ast.isSelect)
        throw SqlError("a SELECT utasítás nem futtatható végrehajtásként (ExecSQL):\n" + text_);
    const AlterStmt& a = ast.alter;
    const std::string name = tableName(a.table);
    if (!session.exists(name))
        failAt(text_, a.tableBegin, "nincs '" + a.table + "' nevű tábla");
    try {
        session.open(name)->addFields(a.added);
    } catch (const DbError& e) {
        failAt(text_, a.tableBegin,
               "a(z) " + e.file().filename().string() +
                   " tábla nem bővíthető: " + hungarianReason(e));
    }
}

std::string quoteSqlText(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    return out + "'";
}

std::string sqlInteger(std::string_view text) {
    const auto n = sys::tryParseInt(sys::trim(text));
    if (!n)
        throw SqlError("'" + std::string(text) + "' nem egész szám");
    return sys::intToText(*n);
}

} // namespace db::sql
