// The report layouts the program ships (each subsystem's layouts/*.rav, embedded in the
// program): every one is read as start-up registers it, carries its version, and names
// only connections of the form that runs it and columns those connections have.

#include "operations/Munyomth.h"
#include "operations/commands.h"
#include "platform/report/connection.h"
#include "platform/report/layout.h"
#include "platform/report/layouts.h"
#include "platform/report/project.h"
#include "platform/sys/text.h"
#include "register/Fhaszntervh.h"
#include "register/Parclisth.h"
#include "register/Tablaleker.h"
#include "register/Tablalistac.h"
#include "register/Talajmintalisth.h"
#include "register/Ujtulajok.h"
#include "register/layouts.h"
#include "register/lists_fixture.h"
#include "reports/Alapadatok1h.h"
#include "reports/Gazdnapvalasztoh.h"
#include "reports/Gepmuvlekerh.h"
#include "reports/Gn0914valasztou.h"
#include "reports/Gn1909vismajoru.h"
#include "reports/Gncimh.h"
#include "reports/Gnkapcsdoch.h"
#include "reports/Gnnovvedmegfh.h"
#include "reports/Gnparcmuvszoloh.h"
#include "reports/Gnparszukh.h"
#include "reports/Gntalajvh.h"
#include "reports/Hozah.h"
#include "reports/Mezeih.h"
#include "reports/Muveleteklist.h"
#include "reports/Parcinputh.h"
#include "reports/Permnaploh.h"
#include "reports/Permnaploszukh.h"
#include "reports/commands.h"
#include "resources/Fogalomh.h"
#include "resources/Gazolajszlaosszh.h"
#include "resources/Geplisth.h"
#include "resources/Keszlisth.h"
#include "resources/Szaktanh.h"
#include "resources/commands.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

void RegisterAll() {
    reg::RegisterLayouts();
    RegisterResourceLayouts();
    RegisterOperationLayouts();
    RegisterReportLayouts();
}

TEST(ShippedLayoutFiles, EveryLayoutParsesAndCarriesItsVersion) {
    RegisterAll();
    ASSERT_GE(report::BuiltInLayouts().size(), 51u);
    for (const report::BuiltInLayout& shipped : report::BuiltInLayouts()) {
        SCOPED_TRACE(shipped.fileName);
        const report::Layout layout = report::ParseLayout(shipped.text, shipped.fileName);
        EXPECT_FALSE(layout.bands.empty() && layout.title.empty());
        EXPECT_GE(layout.version, 1);
    }
}

// The names a layout reads, by connection: "" stands for the band's own connection.
class NamesRead {
public:
    explicit NamesRead(const report::Layout& layout) {
        for (const report::Block* block :
             {&layout.title, &layout.pageHeader, &layout.pageFooter, &layout.summary})
            for (const report::BlockItem& item : block->items)
                if (item.kind == report::BlockItem::Kind::Text)
                    Text(item.text, {});
        for (const report::Band& band : layout.bands) {
            connectionOf_[band.name] = band.connection;
            std::set<std::string>& own = columns[band.connection];
            for (const report::Column& c : band.columns)
                own.insert(c.name);
            for (const auto& [detail, master] : band.links) {
                own.insert(detail);
                columns[connectionOf_[band.master]].insert(master);
            }
            for (const report::TextLine& caption : band.captions)
                Text(caption, band.connection);
            for (const report::Group& g : band.groups) {
                own.insert(g.column);
                for (const auto* line : {&g.head, &g.continued})
                    if (*line)
                        Text(**line, band.connection);
                Footer(g.foot, band.connection);
            }
            for (const report::Footer* f :
                 {&band.foot, &band.pageFoot, &band.carryFoot, &band.carryHead})
                Footer(*f, band.connection);
        }
    }

    std::map<std::string, std::set<std::string>> columns; // connection -> columns

private:
    void Text(const report::TextLine& line, const std::string& bandConnection) {
        for (const report::Piece& piece : line.text.pieces)
            if (piece.kind == report::Piece::Kind::Column)
                columns[bandConnection].insert(piece.text);
            else if (piece.kind == report::Piece::Kind::Reference)
                columns[piece.connection].insert(piece.text);
    }
    void Footer(const report::Footer& f, const std::string& bandConnection) {
        if (f.label)
            Text(*f.label, bandConnection);
        for (const report::Total& t : f.totals)
            columns[bandConnection].insert(t.column);
    }
    std::map<std::string, std::string> connectionOf_;
};

// A form that runs shipped layouts, and the layouts its projects (by component name) are
// given at run time besides the project files they are built with.
struct ReportForm {
    const char* name;
    std::function<std::unique_ptr<QObject>(db::Session&)> make;
    std::vector<std::pair<std::string, std::string>> alsoRuns; // project, layout file
    // The parts of the form that own projects of their own, beside the form.
    std::function<std::vector<QObject*>(QObject&)> parts = [](QObject&) {
        return std::vector<QObject*>{};
    };
};

// The side-data sheet of one kind (orchard, fruit, grazing), as its showing sets it up.
ReportForm SideSheet(std::uint8_t kind) {
    return {"TGNParcMuvSzolo",
            [kind](db::Session& s) {
                auto form = std::make_unique<TGNParcMuvSzolo>(s);
                form->SheetKind = kind;
                form->RvProject1.SetProjectFile(SideDataOfKind(kind).layoutFile);
                return form;
            },
            {}};
}

template <class Form>
ReportForm Of(const char* name, std::vector<std::pair<std::string, std::string>> alsoRuns = {}) {
    return {name, [](db::Session& s) { return std::make_unique<Form>(s); }, std::move(alsoRuns)};
}

std::vector<ReportForm> ReportForms() {
    return {
        Of<TParcList>("TParcList"),
        Of<TTalajmintalist>("TTalajmintalist"),
        Of<Tfoldhasznterv>("Tfoldhasznterv"),
        Of<TTablalekerdez>("TTablalekerdez"),
        Of<Tujtulaj>("Tujtulaj"),
        Of<TTablalista>("TTablalista"),
        {"TMUnyomt", [](db::Session&) { return std::make_unique<TMUnyomt>(); }, {}},
        Of<TSzaktan>("TSzaktan"),
        Of<TKeszlist>("TKeszlist"),
        Of<TGazolajszlaossz>("TGazolajszlaossz"),
        Of<TGeplist>("TGeplist"),
        Of<TForgalom>("TForgalom"),
        SideSheet(0),
        SideSheet(1),
        SideSheet(2),
        {"TGN200914",
         [](db::Session& s) { return std::make_unique<TGN200914>(s); },
         {{"RvProject2", "09GN02SzParcellak.rav"}, {"RvProject3", "09GN03GyParcellak.rav"}},
         [](QObject& form) {
             return std::vector<QObject*>{&static_cast<TGN200914&>(form).KetSheets};
         }},
        Of<Tpermnaploszuk>("Tpermnaploszuk", {{"RvProject1", "09GN10Permetez.rav"}}),
        Of<TGazdNaploValaszto>("TGazdNaploValaszto"),
        Of<TAlapadatok1>("TAlapadatok1", {{"RvProject1", "GN03Parcellak.rav"},
                                          {"RvProject1", "09GN06Parcellak.rav"}}),
        Of<TGNNovVedMegf>("TGNNovVedMegf", {{"RvProject1", "09GN09Novvedmegf.rav"}}),
        Of<TGNKapcsdoc>("TGNKapcsdoc"),
        Of<TGNcim>("TGNcim"),
        Of<TGNParSzuk>("TGNParSzuk", {{"RvProject3", "09GN07MuvAdatok.rav"},
                                      {"RvProject4", "09GN11Ontozes.rav"},
                                      {"RvProject5", "09GN12TraNapl.rav"}}),
        Of<TGN1909vismajor>("TGN1909vismajor"),
        Of<TMezei>("TMezei"),
        Of<TGepmuvleker>("TGepmuvleker"),
        Of<TParcInput>("TParcInput"),
        Of<TMuvList>("TMuvList"),
        Of<TPermNaplo>("TPermNaplo"),
        Of<TGNTalajv>("TGNTalajv"),
        Of<THozam>("THozam"),
    };
}

const report::BuiltInLayout* Shipped(const std::string& fileName) {
    for (const report::BuiltInLayout& shipped : report::BuiltInLayouts())
        if (sys::equalsNoCase(shipped.fileName, fileName))
            return &shipped;
    return nullptr;
}

// The columns of a connection as a report reads them; nothing when it cannot be read
// before the form prepares it (a query whose statement a print builds).
std::optional<std::set<std::string>> ColumnsOf(report::Connection& connection) {
    try {
        connection.BeginRead();
    } catch (const std::exception&) {
        connection.EndRead();
        return std::nullopt;
    }
    std::set<std::string> names;
    for (const report::ColumnInfo& c : connection.Columns())
        names.insert(sys::toUpper(c.name));
    connection.EndRead();
    return names;
}

class ShippedLayoutNames : public regtest::ListsTest {};

TEST_F(ShippedLayoutNames, EveryLayoutNamesOnlyConnectionsAndColumnsOfItsForm) {
    RegisterAll();
    std::set<std::string> checked;
    int columnsChecked = 0;
    for (const ReportForm& f : ReportForms()) {
        SCOPED_TRACE(f.name);
        const std::unique_ptr<QObject> form = f.make(session);
        // Each layout with the owner of the project that runs it (the form or a part of it).
        std::vector<std::pair<std::string, QObject*>> files;
        QList<QObject*> owners = form->findChildren<QObject*>();
        for (QObject* part : f.parts(*form)) {
            owners.push_back(part);
            for (QObject* child : part->findChildren<QObject*>())
                owners.push_back(child);
        }
        for (QObject* child : owners)
            if (const auto* project = dynamic_cast<const report::TRvProject*>(child)) {
                if (!project->ProjectFile().empty())
                    files.emplace_back(project->ProjectFile(), project->Owner());
                for (const auto& [name, file] : f.alsoRuns)
                    if (project->Name() == name)
                        files.emplace_back(file, project->Owner());
            }
        for (const auto& [file, owner] : files) {
            SCOPED_TRACE(file);
            const report::BuiltInLayout* shipped = Shipped(file);
            ASSERT_NE(shipped, nullptr) << "the form runs a layout the program does not ship";
            checked.insert(shipped->fileName);
            const NamesRead names(report::ParseLayout(shipped->text, file));
            for (const auto& [connectionName, columns] : names.columns) {
                report::Connection* connection = report::FindConnection(owner, connectionName);
                ASSERT_NE(connection, nullptr) << "no connection " << connectionName;
                const std::optional<std::set<std::string>> has = ColumnsOf(*connection);
                if (!has)
                    continue;
                for (const std::string& column : columns) {
                    EXPECT_TRUE(has->count(sys::toUpper(column)))
                        << connectionName << " has no column " << column;
                    ++columnsChecked;
                }
            }
        }
    }
    for (const report::BuiltInLayout& shipped : report::BuiltInLayouts())
        EXPECT_TRUE(checked.count(shipped.fileName)) << shipped.fileName << " is run by no form";
    EXPECT_GT(columnsChecked, 0);
}

} // namespace
