#include "support/sql_corpus.h"

#include "platform/db/field_value.h"
#include "platform/sys/datetime.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

using namespace db;

namespace sqlcorpus {

namespace {

const std::filesystem::path corpusDir =
    std::filesystem::path(FARM_SOURCE_DIR) / "tests" / "platform" / "db" / "sql_corpus";

std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::vector<std::string> split(const std::string& s, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto at = s.find(separator, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + separator.size();
    }
}

std::vector<TableSpec> loadSchema() {
    std::vector<TableSpec> tables;
    TableSpec* current = nullptr;
    int lineNo = 0;
    for (const std::string& raw : readLines(corpusDir / "schema.txt")) {
        ++lineNo;
        const std::string line = trim(raw);
        auto fail = [&](const std::string& why) {
            throw std::runtime_error("schema.txt:" + std::to_string(lineNo) + ": " + why);
        };
        if (line.empty() || line[0] == '#')
            continue;
        if (line == "==end") {
            if (!current)
                fail("==end outside a table");
            current = nullptr;
        } else if (startsWith(line, "== ")) {
            if (current)
                fail("table not closed");
            tables.push_back({trim(line.substr(3)), 0, {}, {}});
            current = &tables.back();
        } else if (!current) {
            fail("text outside a table");
        } else if (startsWith(line, "key ")) {
            current->keyFields = std::stoi(line.substr(4));
        } else if (startsWith(line, "index ")) {
            const auto colon = line.find(':');
            if (colon == std::string::npos)
                fail("index without ':'");
            IndexDef def;
            def.name = trim(line.substr(6, colon - 6));
            for (const std::string& f : split(trim(line.substr(colon + 1)), ";"))
                def.fields.push_back(trim(f));
            current->indexes.push_back(def);
        } else {
            FieldSpec field;
            std::string head = line;
            const auto eq = line.find(" = ");
            if (eq != std::string::npos) {
                head = trim(line.substr(0, eq));
                for (const std::string& v : split(line.substr(eq + 3), "|"))
                    field.values.push_back(trim(v));
                if (field.values.size() != rowsPerTable)
                    fail("expected " + std::to_string(rowsPerTable) + " values");
            } else if (line.size() >= 2 && line.substr(line.size() - 2) == " =") {
                fail("'=' without values");
            }
            std::istringstream words(head);
            std::string letter;
            words >> field.name >> letter;
            if (field.name.empty() || letter.size() != 1 || !typeFromLetter(letter[0]))
                fail("bad field line: " + line);
            field.letter = letter[0];
            words >> field.size;
            if (field.letter == 'A' && field.size <= 0)
                fail("text field without a size: " + field.name);
            current->fields.push_back(field);
        }
    }
    if (current)
        throw std::runtime_error("schema.txt: last table not closed");
    return tables;
}

std::vector<Case> loadCases() {
    std::vector<Case> cases;
    const std::vector<std::string> lines = readLines(corpusDir / "statements.txt");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!startsWith(lines[i], "== "))
            continue;
        Case c;
        c.line = static_cast<int>(i + 1);
        auto fail = [&](const std::string& why) {
            throw std::runtime_error("statements.txt:" + std::to_string(c.line) + ": " + why);
        };
        const std::string header = trim(lines[i].substr(3));
        const auto blank = header.find(' ');
        c.id = header.substr(0, blank);
        c.where = blank == std::string::npos ? "" : trim(header.substr(blank));
        std::size_t j = i + 1;
        for (; j < lines.size(); ++j) {
            const std::string& l = lines[j];
            if (startsWith(l, "origin:")) {
                c.origin = trim(l.substr(7));
            } else if (startsWith(l, "built:")) {
            } else if (startsWith(l, "params:")) {
                for (const std::string& p : split(trim(l.substr(7)), "; ")) {
                    const auto eq = p.find('=');
                    const auto colon = p.find(':', eq);
                    if (eq == std::string::npos || colon == std::string::npos)
                        fail("bad parameter: " + p);
                    c.params.push_back({trim(p.substr(0, eq)), p.substr(eq + 1, colon - eq - 1),
                                        p.substr(colon + 1)});
                }
            } else if (startsWith(l, "columns:")) {
                const std::string list = trim(l.substr(8));
                if (!list.empty())
                    for (const std::string& name : split(list, ", "))
                        c.columns.push_back(trim(name));
            } else if (startsWith(l, "adds:")) {
                std::istringstream words(trim(l.substr(5)));
                std::string qualified, letter;
                AddedField a;
                words >> qualified >> letter >> a.size;
                const auto dot = qualified.find('.');
                if (dot == std::string::npos || letter.size() != 1)
                    fail("bad adds line");
                a.table = qualified.substr(0, dot);
                a.field = qualified.substr(dot + 1);
                a.letter = letter[0];
                c.adds = a;
            } else {
                break;
            }
        }
        std::string text;
        bool closed = false;
        for (; j < lines.size(); ++j) {
            if (lines[j] == "==end") {
                closed = true;
                break;
            }
            if (!text.empty())
                text += '\n';
            text += lines[j];
        }
        if (!closed)
            fail("block not closed");
        c.text = text;
        cases.push_back(c);
        i = j;
    }
    return cases;
}

FieldType fieldType(char letter) {
    return *typeFromLetter(letter);
}

FieldDef fieldDef(const FieldSpec& f) {
    const FieldType type = fieldType(f.letter);
    return {f.name, type, storedSize(type, f.size), 0};
}

const std::vector<std::string>& defaultValues(const FieldSpec& f) {
    static const std::vector<std::string> code{"100000", "100001", "100002", "100003"};
    static const std::vector<std::string> text{"őszi búza", "kukorica", "Árpa, tavaszi", "-"};
    static const std::vector<std::string> integer{"1", "2", "1", "-"};
    static const std::vector<std::string> counter{"1", "2", "3", "4"};
    static const std::vector<std::string> number{"12000.5", "8000", "0", "-"};
    static const std::vector<std::string> date{"2009-03-05", "2009-10-01", "2010-04-20", "-"};
    static const std::vector<std::string> flag{"false", "true", "false", "-"};
    switch (fieldType(f.letter)) {
    case FieldType::Alpha:
        return f.size <= 6 ? code : text;
    case FieldType::Short:
    case FieldType::Long:
        return integer;
    case FieldType::AutoInc:
        return counter;
    case FieldType::Number:
    case FieldType::Currency:
        return number;
    case FieldType::Date:
        return date;
    case FieldType::Logical:
        return flag;
    default:
        throw std::runtime_error("no default values for field " + f.name);
    }
}

sys::DateTime parseIsoDate(const std::string& text) {
    int y = 0, m = 0, d = 0;
    char dash1 = 0, dash2 = 0;
    std::istringstream in(text);
    in >> y >> dash1 >> m >> dash2 >> d;
    if (!in || dash1 != '-' || dash2 != '-')
        throw std::runtime_error("bad date " + text);
    return sys::encodeDate(y, m, d);
}

bool parseBoolean(const std::string& text) {
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    throw std::runtime_error("bad boolean " + text);
}

Value fieldValue(const std::string& text, const FieldDef& def) {
    if (text == "-" || text.empty())
        return Null{};
    switch (def.type) {
    case FieldType::Alpha:
        return valueFromString(text, def);
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return valueFromInteger(std::stoll(text), def);
    case FieldType::Number:
    case FieldType::Currency:
        return valueFromFloat(std::stod(text), def);
    case FieldType::Date:
        return valueFromDateTime(parseIsoDate(text), def);
    case FieldType::Logical:
        return valueFromBoolean(parseBoolean(text), def);
    default:
        throw std::runtime_error("unsupported fixture type for " + def.name);
    }
}

} // namespace

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

Value paramValue(const Param& p) {
    if (p.type == "text")
        return p.value;
    if (p.type == "integer")
        return static_cast<std::int32_t>(std::stol(p.value));
    if (p.type == "float")
        return std::stod(p.value);
    if (p.type == "boolean")
        return parseBoolean(p.value);
    if (p.type == "date")
        return valueFromDateTime(parseIsoDate(p.value), FieldDef{"", FieldType::Date, 4, 0});
    throw std::runtime_error("unknown parameter type " + p.type);
}

bool sameName(const std::string& a, const std::string& b) {
    return lower(a) == lower(b);
}

void createFixture(Session& session, const std::vector<TableSpec>& tables,
                   const std::optional<AddedField>& without) {
    for (const TableSpec& t : tables) {
        std::vector<const FieldSpec*> kept;
        for (const FieldSpec& f : t.fields)
            if (!(without && sameName(without->table, t.name) && sameName(without->field, f.name)))
                kept.push_back(&f);
        TableSchema schema;
        for (const FieldSpec* f : kept)
            schema.fields.push_back(fieldDef(*f));
        schema.keyFields = t.keyFields;
        auto table = session.create(t.name, schema, t.indexes);
        for (int row = 0; row < rowsPerTable; ++row) {
            Record record;
            for (std::size_t i = 0; i < kept.size(); ++i) {
                const FieldSpec& f = *kept[i];
                const auto& values = f.values.empty() ? defaultValues(f) : f.values;
                record.push_back(
                    fieldValue(values[static_cast<std::size_t>(row)], schema.fields[i]));
            }
            table->insert(record);
        }
    }
}

const std::vector<TableSpec>& schemaTables() {
    static const std::vector<TableSpec> tables = loadSchema();
    return tables;
}

const std::vector<Case>& corpus() {
    static const std::vector<Case> cases = loadCases();
    return cases;
}

} // namespace sqlcorpus
