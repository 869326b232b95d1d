// Copying operations with their irrigation, workers, materials and stock, and realising
// planned operations.

#include "operations/copy_operation.h"
#include "register/field_fixture.h"

#include <gtest/gtest.h>

namespace {

class CopyOperationTest : public regtest::FieldTest {
protected:
    CopyOperationTest() {
        AddField("100000", 2025, 1);
        AddField("100001", 2025, 2, {{"Ter", "25000"}});
        AddField("100002", 2025, 3);
    }

    double Stock(const std::string& material) {
        double sum = 0;
        for (const std::string& q :
             Column("Raktarmozgas", "Menny", "Anyagkod = '" + material + "'"))
            sum += std::stod(q);
        return sum;
    }

    // An operation with irrigation, two workers and two material uses, each with its
    // withdrawal; the second use has a second ledger row.
    void AddFullOperation(bool planned, const std::string& muvkod, const std::string& field) {
        const std::string p = planned ? "Terv" : "";
        Insert(planned ? "Tervelvmuv" : "ElvMuv", {{"Muvkod", muvkod},
                                                   {"Tablakod", field},
                                                   {"Datum", "2025. 04. 01."},
                                                   {"Muvnev", "Műtrágyázás"},
                                                   {"Muvid", "100003"},
                                                   {"Ter", "10000"},
                                                   {"Nha", "1.5"},
                                                   {"Agazat", "búza"},
                                                   {"Gepora", "2"},
                                                   {"Szolg", "NEM"}});
        Insert(
            planned ? "Tervontozes" : "Ontozes",
            {{"Muvkod", muvkod}, {"Parckod", field}, {"Ko", "6"}, {"Uora", "3"}, {"Menny", "40"}});
        for (const char* worker : {"1", "2"})
            Insert(planned ? "Tervmunkas" : "Munkavegz",
                   {{"Muvkod", muvkod}, {"Szemkod", worker}, {"Mora", "4"}});
        int n = 0;
        for (const auto& [material, quantity] :
             {std::pair{"100000", 200}, std::pair{"200000", 3}}) {
            const std::string felhkod = std::to_string(std::stoi(muvkod) + 500 + n++);
            Insert(planned ? "Tervfanyag" : "felhanyag", {{"Felhkod", felhkod},
                                                          {"Muvkod", muvkod},
                                                          {"Tablakod", field},
                                                          {"Anyagkod", material},
                                                          {"Menny", std::to_string(quantity)},
                                                          {"Mert", "kg"}});
            Insert(planned ? "Tervrmozgas" : "Raktarmozgas", {{"Anyagkod", material},
                                                              {"Menny", std::to_string(-quantity)},
                                                              {"Felhanykod", felhkod},
                                                              {"Datum", "2025. 04. 01."}});
        }
        Insert(planned ? "Tervrmozgas" : "Raktarmozgas",
               {{"Anyagkod", "200000"},
                {"Menny", "-1"},
                {"Felhanykod", std::to_string(std::stoi(muvkod) + 501)},
                {"Datum", "2025. 04. 02."}});
    }

    void Purchase(const std::string& material, int quantity) {
        Insert("Raktarmozgas", {{"Anyagkod", material},
                                {"Menny", std::to_string(quantity)},
                                {"Datum", "2025. 03. 01."}});
    }
};

TEST_F(CopyOperationTest, CopiesTheOperationWithIrrigationWorkersAndMaterialsAndBooksTheStock) {
    Purchase("100000", 1000);
    Purchase("200000", 10);
    AddFullOperation(false, "100000", "100000");
    ASSERT_EQ(Stock("100000"), 800);

    EXPECT_EQ(ops::CopyOperation(session, false, "100000", "100001", true), "100001");

    EXPECT_EQ(Column("ElvMuv", "Tablakod", "Muvkod = '100001'"),
              std::vector<std::string>{"100001"});
    // Area and normal hectares stay the source's, although the target field is larger.
    EXPECT_EQ(Column("ElvMuv", "Ter", "Muvkod = '100001'"), std::vector<std::string>{"10000"});
    EXPECT_EQ(Column("ElvMuv", "Nha", "Muvkod = '100001'"), std::vector<std::string>{"1,5"});
    EXPECT_EQ(Column("ElvMuv", "Datum", "Muvkod = '100001'"),
              Column("ElvMuv", "Datum", "Muvkod = '100000'"));
    EXPECT_EQ(Column("ElvMuv", "Muvnev", "Muvkod = '100001'"),
              std::vector<std::string>{"Műtrágyázás"});
    EXPECT_EQ(Column("ElvMuv", "Irany", "Muvkod = '100001'"), std::vector<std::string>{""});
    EXPECT_EQ(Column("Ontozes", "Parckod", "Muvkod = '100001'"),
              std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("Ontozes", "Menny", "Muvkod = '100001'"), std::vector<std::string>{"40"});
    EXPECT_EQ(Column("Munkavegz", "Szemkod", "Muvkod = '100001'"),
              (std::vector<std::string>{"1", "2"}));
    // The uses take consecutive codes after the last one.
    EXPECT_EQ(Column("felhanyag", "Felhkod", "Muvkod = '100001'"),
              (std::vector<std::string>{"100502", "100503"}));
    EXPECT_EQ(Column("felhanyag", "Tablakod", "Muvkod = '100001'"),
              (std::vector<std::string>{"100001", "100001"}));
    // One ledger row per use, from its first movement.
    EXPECT_EQ(Count("Raktarmozgas", "Felhanykod = '100502'"), 1u);
    EXPECT_EQ(Count("Raktarmozgas", "Felhanykod = '100503'"), 1u);
    EXPECT_EQ(Stock("100000"), 600);
    EXPECT_EQ(Stock("200000"), 3);
}

TEST_F(CopyOperationTest, WithStockKeepingOffTheUsesAreCopiedWithoutLedgerRows) {
    AddFullOperation(false, "100000", "100000");
    const std::size_t ledger = Count("Raktarmozgas");
    ops::CopyOperation(session, false, "100000", "100002", false);
    EXPECT_EQ(Count("felhanyag", "Muvkod = '100001'"), 2u);
    EXPECT_EQ(Count("Raktarmozgas"), ledger);
}

TEST_F(CopyOperationTest, AnEmptyTableGivesTheFirstCodesAndAMissingSourceWritesNothing) {
    EXPECT_EQ(ops::CopyOperation(session, false, "100000", "100001", true), "");
    EXPECT_EQ(Count("ElvMuv"), 0u);
    Insert("Tervelvmuv", {{"Muvkod", "100007"}, {"Tablakod", "100000"}});
    Insert("Tervfanyag", {{"Felhkod", "100009"}, {"Muvkod", "100007"}, {"Anyagkod", "100000"}});
    EXPECT_EQ(ops::CopyOperation(session, true, "100007", "100000", true), "100000");
    EXPECT_EQ(Column("felhanyag", "Felhkod"), std::vector<std::string>{"100000"});
    // An operation alone is copied as its row alone.
    EXPECT_EQ(Count("Ontozes"), 0u);
    EXPECT_EQ(Count("Munkavegz"), 0u);
    EXPECT_EQ(Count("Raktarmozgas"), 0u);
    // No target field: nothing.
    EXPECT_EQ(ops::CopyOperation(session, true, "100007", "", true), "");
    EXPECT_EQ(Count("ElvMuv"), 1u);
}

TEST_F(CopyOperationTest, CopyAllOntoTheSameFieldCopiesEachOperationOnce) {
    AddFullOperation(false, "100000", "100000");
    Insert("ElvMuv", {{"Muvkod", "100001"}, {"Tablakod", "100000"}, {"Muvnev", "Vetés"}});
    Insert("ElvMuv", {{"Muvkod", "100002"}, {"Tablakod", "100001"}});
    EXPECT_EQ(ops::CopyAllOperations(session, "100000", "100000", true), 2);
    EXPECT_EQ(Column("ElvMuv", "Muvkod", "Tablakod = '100000'"),
              (std::vector<std::string>{"100000", "100001", "100003", "100004"}));
    EXPECT_EQ(Column("ElvMuv", "Muvnev", "Muvkod = '100004'"), std::vector<std::string>{"Vetés"});
    EXPECT_EQ(Count("felhanyag", "Muvkod = '100003'"), 2u);
}

TEST_F(CopyOperationTest, RealisingAPlanMovesItsRowsAndStockAndRemovesThePlan) {
    Purchase("100000", 1000);
    Purchase("200000", 10);
    AddFullOperation(true, "100000", "100001");
    Insert("ElvMuv", {{"Muvkod", "100004"}, {"Tablakod", "100000"}});

    EXPECT_EQ(ops::RealisePlannedOperation(session, "100000", true), "100005");

    EXPECT_EQ(Column("ElvMuv", "Tablakod", "Muvkod = '100005'"),
              std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("ElvMuv", "Datum", "Muvkod = '100005'"),
              std::vector<std::string>{"2025. 04. 01."});
    EXPECT_EQ(Count("Ontozes", "Muvkod = '100005'"), 1u);
    EXPECT_EQ(Count("Munkavegz", "Muvkod = '100005'"), 2u);
    EXPECT_EQ(Count("felhanyag", "Muvkod = '100005'"), 2u);
    EXPECT_EQ(Stock("100000"), 800);
    EXPECT_EQ(Stock("200000"), 7);
    for (const char* table :
         {"Tervelvmuv", "Tervfanyag", "Tervrmozgas", "Tervontozes", "Tervmunkas"})
        EXPECT_EQ(Count(table), 0u) << table;
    // A second realisation of the same plan finds nothing to copy.
    EXPECT_EQ(ops::RealisePlannedOperation(session, "100000", true), "");
    EXPECT_EQ(Count("ElvMuv"), 2u);
}

TEST_F(CopyOperationTest, RealisingWithStockKeepingOffWritesNoLedgerRowAndDropsThePlannedOnes) {
    AddFullOperation(true, "100000", "100001");
    EXPECT_EQ(ops::RealisePlannedOperation(session, "100000", false), "100000");
    EXPECT_EQ(Count("felhanyag"), 2u);
    EXPECT_EQ(Count("Raktarmozgas"), 0u);
    EXPECT_EQ(Count("Tervrmozgas"), 0u);
}

} // namespace
