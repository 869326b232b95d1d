// The report project: file names, opening, the errors of a missing or foreign file, the
// set-up dialog's answer.

#include "platform/ui/form.h"
#include "report_test_support.h"
#include "support/ui_test.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace reporttest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const char* const kSimple = R"(farmreport 1
title
text "Első sor"
)";

TEST(ProjectFile, NameWithoutPointGetsRavAppended) {
    QObject owner;
    TRvProject project(&owner, "RvProject1");
    EXPECT_EQ(project.ProjectFile(), "");
    project.SetProjectFile("GN01Cim");
    EXPECT_EQ(project.ProjectFile(), "GN01Cim.rav");
    project.SetProjectFile("GN01Cim.rav");
    EXPECT_EQ(project.ProjectFile(), "GN01Cim.rav");
    project.SetProjectFile("Lista.v2.txt");
    EXPECT_EQ(project.ProjectFile(), "Lista.v2.txt");
    project.SetProjectFile("");
    EXPECT_EQ(project.ProjectFile(), "");
    EXPECT_EQ(TRvProject(&owner, "RvProject2", "Tablak").ProjectFile(), "Tablak.rav");
}

TEST(ProjectFile, FullPathIsInTheWorkingDirectoryAndFoundInAnyLetterCase) {
    QObject owner;
    TRvProject project(&owner, "RvProject1", "Tablak");
    EXPECT_EQ(project.FullPath(), fs::current_path() / "Tablak.rav");
    writeFile("TABLAK.RAV", kSimple);
    EXPECT_EQ(project.FullPath(), fs::current_path() / "TABLAK.RAV");
}

class ProjectRun : public ReportTest {};

TEST_F(ProjectRun, MissingFileRaisesTheEnginesErrorAndPrintsNothing) {
    TRvProject project(&owner, "RvProject1", "Nincsilyen");
    bool opened = false;
    project.OnBeforeOpen = [&](QObject*) { opened = true; };
    try {
        project.ExecuteActiveReport();
        FAIL() << "no error";
    } catch (const report::ProjectMissingError& error) {
        EXPECT_EQ(std::string(error.what()), "The following reporting project does not exist:\n\"" +
                                                 (fs::current_path() / "Nincsilyen.rav").string() +
                                                 "\"");
    }
    EXPECT_FALSE(opened);
    EXPECT_TRUE(output.asked.empty());
    EXPECT_TRUE(output.documents.empty());
    // Once the file is there, the same component runs it.
    writeFile("Nincsilyen.rav", kSimple);
    project.ExecuteActiveReport();
    EXPECT_TRUE(opened);
    ASSERT_EQ(output.documents.size(), 1u);
}

TEST_F(ProjectRun, FileIsOpenedOnceAndOnBeforeOpenRunsOncePerComponent) {
    writeFile("Egy.rav", kSimple);
    TRvProject project(&owner, "RvProject1", "Egy");
    int opens = 0;
    project.OnBeforeOpen = [&](QObject* sender) {
        EXPECT_EQ(sender, &project);
        EXPECT_TRUE(output.asked.empty() || opens == 0);
        ++opens;
    };
    project.ExecuteActiveReport();
    // The file read at the first run is used again even after it changed on disk.
    writeFile("Egy.rav", "farmreport 1\ntitle\ntext \"Második\"\n");
    project.ExecuteActiveReport();
    EXPECT_EQ(opens, 1);
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_THAT(lines(output.documents[1], 0), ElementsAre("Első sor"));
    // A second component opens the file anew.
    TRvProject other(&owner, "RvProject2", "Egy");
    other.OnBeforeOpen = [&](QObject*) { ++opens; };
    other.ExecuteActiveReport();
    EXPECT_EQ(opens, 2);
    EXPECT_THAT(lines(output.documents[2], 0), ElementsAre("Második"));
}

TEST_F(ProjectRun, AnotherProjectFileIsReadAtTheNextRun) {
    writeFile("Egy.rav", kSimple);
    writeFile("Ketto.rav", "farmreport 1\ntitle\ntext \"Kettő\"\n");
    TRvProject project(&owner, "RvProject1", "Egy.rav");
    project.ExecuteActiveReport();
    project.SetProjectFile("Ketto");
    project.ExecuteActiveReport();
    EXPECT_THAT(lines(output.documents.at(1), 0), ElementsAre("Kettő"));
}

TEST_F(ProjectRun, CancelledSetUpDialogReadsNoDataAndDeliversNothing) {
    writeFile("Egy.rav", R"(farmreport 1
band Sor connection=RvSor
column Nev
)");
    TRvCustomConnection connection(&owner, "RvSor");
    int opened = 0;
    connection.OnOpen = [&](TRvCustomConnection*) { ++opened; };
    output.answer.reset();
    TRvProject project(&owner, "RvProject1", "Egy");
    project.ExecuteActiveReport();
    EXPECT_THAT(output.asked, ElementsAre("Egy.rav"));
    EXPECT_TRUE(output.documents.empty());
    EXPECT_EQ(opened, 0);
}

TEST_F(ProjectRun, BinaryFileOfTheOriginalProgramIsNamedWithItsLine) {
    std::string binary("RAV\x02\x00\x00\x10\xff\xfe", 9);
    binary += "\nstill binary";
    writeFile("Tablak.rav", binary);
    TRvProject project(&owner, "RvProject1", "Tablak");
    try {
        project.ExecuteActiveReport();
        FAIL() << "no error";
    } catch (const report::LayoutError& error) {
        EXPECT_EQ(error.file(), fs::current_path() / "Tablak.rav");
        EXPECT_EQ(error.line(), 1);
        EXPECT_THAT(error.what(), HasSubstr("Hibás jelentésfájl:\n\"" +
                                            (fs::current_path() / "Tablak.rav").string() +
                                            "\"\n1. sor: nem ennek a programnak"));
    }
    EXPECT_TRUE(output.documents.empty());
    // A binary byte further down names its own line.
    writeFile("Tablak.rav", std::string("farmreport 1\ntitle\ntext \"x\"\n\x01\x02", 29));
    TRvProject again(&owner, "RvProject2", "Tablak");
    try {
        again.ExecuteActiveReport();
        FAIL() << "no error";
    } catch (const report::LayoutError& error) {
        EXPECT_EQ(error.line(), 4);
    }
}

class LayoutErrors : public ::testing::TestWithParam<std::tuple<const char*, int, const char*>> {};

TEST_P(LayoutErrors, NameTheLineAndTheFault) {
    const auto& [text, line, problem] = GetParam();
    try {
        report::ParseLayout(text, "Hibas.rav");
        FAIL() << "no error for: " << text;
    } catch (const report::LayoutError& error) {
        EXPECT_EQ(error.line(), line) << error.what();
        EXPECT_THAT(error.problem(), HasSubstr(problem));
        EXPECT_THAT(error.what(), HasSubstr("\"Hibas.rav\""));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Parser, LayoutErrors,
    ::testing::Values(
        std::make_tuple("", 0, "üres jelentésfájl"),
        std::make_tuple("# csak megjegyzés\n\n", 0, "üres jelentésfájl"),
        std::make_tuple("<?xml version=\"1.0\"?>\n", 1, "nem ennek a programnak"),
        std::make_tuple("farmreport 2\n", 1, "ismeretlen formátumváltozat"),
        std::make_tuple("farmreport 1 version=x\n", 1, "hibás változatszám"),
        std::make_tuple("farmreport 1 kiadas=2\n", 1, "csak version=N"),
        std::make_tuple("farmreport 1\ntitle\nframe\ntext \"a\"\npagefooter\n", 3,
                        "lezáratlan frame"),
        std::make_tuple("farmreport 1\ntitle\nendframe\n", 3, "endframe előtt"),
        std::make_tuple("farmreport 1\nband A connection=X rules=dupla\n", 2,
                        "ismeretlen vonalazás"),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn a\nheading \"h\"\n", 4,
                        "from= beállítása kötelező"),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn a\ncolumn b\n"
                        "heading \"h\" from=a to=b\nheading \"i\" from=b\n",
                        6, "másikra lóg"),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn a\ncolumn b\n"
                        "heading \"h\" from=b to=a\n",
                        5, "nem állhat a from="),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn a\ncarryfoot \"Átvitel\"\n", 2,
                        "carry sor is kell"),
        std::make_tuple("farmreport 1\nband A connection=X pagerows=2.5\n", 2, "pagerows"),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn a\ncarry b sum\n", 4,
                        "nem oszlopa a sávnak"),
        std::make_tuple("farmreport 1\ntitle\ncolum Ter\n", 3, "ismeretlen kulcsszó: \"colum\""),
        std::make_tuple("farmreport 1\ntitle\ntext \"nyitott\n", 3, "lezáratlan idézőjel"),
        std::make_tuple("farmreport 1\ntitle\ntext \"a\" colour=red\n", 3,
                        "ismeretlen beállítás: \"colour\""),
        std::make_tuple("farmreport 1\ntitle\ntext \"{Ter}\"\n", 3, "csak sávban"),
        std::make_tuple("farmreport 1\ntitle\ntext \"{#oldal}\"\n", 3, "ismeretlen mező"),
        std::make_tuple("farmreport 1\ntitle\ntext \"{A.B\"\n", 3, "lezáratlan {"),
        std::make_tuple("farmreport 1\ntext \"a\"\n", 2, "csak title"),
        std::make_tuple("farmreport 1\ncolumn Ter\n", 2, "csak band"),
        std::make_tuple("farmreport 1\nband A\n", 2, "connection= beállítása kötelező"),
        std::make_tuple("farmreport 1\nband A connection=X master=B\n", 2, "fősáv"),
        std::make_tuple("farmreport 1\nband A connection=X\nband a connection=Y\n", 3,
                        "már van ilyen nevű sáv"),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn Ter width=sok\n", 3,
                        "hibás szám"),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn Ter format=\"abc\"\n", 3,
                        "hibás számformátum"),
        std::make_tuple("farmreport 1\nband A connection=X\ntotal Ter sum\n", 3,
                        "nem oszlopa a sávnak"),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn Ter\ntotal Ter avg\n", 4,
                        "sum vagy count"),
        std::make_tuple("farmreport 1\nband A connection=X\ngroupfoot \"x\"\n", 3,
                        "előtt a group sornak"),
        std::make_tuple("farmreport 1\npage size=A5\n", 2, "ismeretlen papírméret"),
        std::make_tuple("farmreport 1\nband A connection=X\ncolumn\n", 3, "oszlopnév"),
        std::make_tuple("farmreport 1\ntitle\ntext \"a\" sameline\n", 3, "másik text sor után"),
        std::make_tuple("farmreport 1\nband A connection=X\nband B connection=Y link=\"a=b\"\n", 3,
                        "csak master= mellett")));

TEST_F(ProjectRun, UnknownConnectionOrColumnIsNamedWithTheLayoutLine) {
    writeFile("Egy.rav", R"(farmreport 1
title
text "{RvNincs.Cim}"
)");
    TRvProject project(&owner, "RvProject1", "Egy");
    try {
        project.ExecuteActiveReport();
        FAIL() << "no error";
    } catch (const report::LayoutError& error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_EQ(error.problem(),
                  "a(z) \"RvNincs\" adatkapcsolat nincs a jelentést futtató űrlapon: QObject");
    }
    writeFile("Ketto.rav", R"(farmreport 1
band Sor connection=RvSor
column Nev
column Nincs
)");
    TRvCustomConnection connection(&owner, "RvSor");
    connection.OnGetCols = [](TRvCustomConnection* c) {
        c->DefineColumn("Nev", dtString, 50, "Cím", "Description 1");
    };
    TRvProject second(&owner, "RvProject2", "Ketto");
    try {
        second.ExecuteActiveReport();
        FAIL() << "no error";
    } catch (const report::LayoutError& error) {
        EXPECT_EQ(error.line(), 4);
        EXPECT_EQ(error.problem(), "a(z) \"RvSor\" adatkapcsolatnak nincs \"Nincs\" oszlopa");
    }
}

// The project reads the connections of its own form only: a namesake on another live
// form is not read in its place, and a name only another form has stops the report with
// an error naming the connection and the form.
TEST_F(ProjectRun, ConnectionsOfItsOwnFormOnly) {
    QObject otherForm;
    auto oneRow = [](TRvCustomConnection& c, std::string value, bool& done) {
        c.OnOpen = [&done](TRvCustomConnection*) { done = false; };
        c.OnEOF = [&done](TRvCustomConnection*, bool& eof) { eof = done; };
        c.OnGetCols = [](TRvCustomConnection* x) {
            x->DefineColumn("Cim", dtString, 50, "Cím", "Description 1");
        };
        c.OnGetRow = [value, &done](TRvCustomConnection* x) {
            x->PutStringColumn("", value);
            done = true;
        };
    };
    bool d1 = false, d2 = false, d3 = false;
    TRvCustomConnection theirs(&otherForm, "RvCim");
    oneRow(theirs, "másik űrlap", d1);
    TRvCustomConnection mine(&owner, "rvcim");
    oneRow(mine, "saját", d2);
    TRvCustomConnection onlyTheirs(&otherForm, "RvMasik");
    oneRow(onlyTheirs, "csak ott", d3);
    EXPECT_THAT(lines(run("farmreport 1\ntitle\ntext \"{RvCim.Cim}\"\n"), 0), ElementsAre("saját"));

    testui::Qt();
    ui::TForm form;
    form.SetCaption("Lista a nyílvántartott területekről(hrsz)");
    writeFile("Masik.rav", "farmreport 1\ntitle\ntext \"{RvCim.Cim} / {RvMasik.Cim}\"\n");
    TRvProject project(&form, "RvProject1", "Masik");
    TRvCustomConnection formsOwn(&form, "RvCim");
    oneRow(formsOwn, "saját", d2);
    try {
        project.ExecuteActiveReport();
        FAIL() << "no error";
    } catch (const report::LayoutError& error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_EQ(error.problem(),
                  "a(z) \"RvMasik\" adatkapcsolat nincs a jelentést futtató "
                  "űrlapon: TForm (\"Lista a nyílvántartott területekről(hrsz)\")");
    }
    EXPECT_FALSE(d3) << "the other form's connection was not read";
}

// The error of a report run started by a handler reaches the application's error display
// and the form goes on.
class ProjectOnForm : public testui::UiTest {};

TEST_F(ProjectOnForm, MissingFileIsShownByTheErrorDisplay) {
    report::CaptureOutput output;
    report::ScopedOutput use(output);
    QObject form;
    TRvProject project(&form, "RvProject1", "Tulajdonosok.rav");
    dialogs.Expect("The following reporting project does not exist:\n\"" +
                   (fs::current_path() / "Tulajdonosok.rav").string() + "\"");
    ui::Guarded([&] { project.ExecuteActiveReport(); });
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Last().kind, ui::MessageKind::Error);
    EXPECT_TRUE(output.documents.empty());
}

} // namespace
