// The diary's shared routines: yields, seed names and the crops before and after a field,
// and the lookups of use rights, land use, block and incorporation date.

#include "diary_fixture.h"

#include <gtest/gtest.h>

namespace {

using diarytest::DiaryTest;

TEST_F(DiaryTest, YieldIsTheHarvestPerHectareRoundedUpWithoutByProducts) {
    Field("100000", 2008, 1, "Búza", 20000);
    Operation({.muvkod = "100000", .field = "100000", .ter = 20000, .hozam = 5});
    Operation({.muvkod = "100001", .field = "100000", .ter = 10000, .hozam = 3});
    Operation(
        {.muvkod = "100002", .field = "100000", .ter = 20000, .hozam = 9, .mellek = "szalma"});
    Operation({.muvkod = "100003", .field = "100001", .ter = 10000, .hozam = 2.0001});
    GNParMuvNy->Refresh();
    EXPECT_EQ(GNParMuvNy->GetParcelYield("100000", 20000), "6,5;");
    EXPECT_EQ(GNParMuvNy->GetParcelYield("100001", 10000), "2,001;");
    EXPECT_EQ(GNParMuvNy->GetParcelYield("100000", 0), "");
    EXPECT_EQ(GNParMuvNy->GetParcelYield("199999", 10000), "");
}

TEST_F(DiaryTest, SecondCropsAndPredecessorsListSectorsSeedsAndYields) {
    Field("100000", 2008, 1, "Búza", 10000);
    Field("100001", 2008, 2, "Mustár", 10000, "IGEN");
    Field("100002", 2008, 3, "Pohánka", 10000, "IGEN");
    Field("100003", 2009, 1, "Kukorica", 10000);
    Rotation("100001", "100000");
    Rotation("100002", "100000");
    Rotation("100003", "100000");
    Seed("300000", "Mv Magdaléna");
    Seed("300001", "Sárga mustár");
    Seed("300002", "Pohánka V");
    Operation({.muvkod = "100000", .field = "100000", .hozam = 6});
    Operation({.muvkod = "100001", .field = "100001", .hozam = 0});
    Operation({.muvkod = "100002", .field = "100002", .hozam = 1.5});
    Operation({.muvkod = "100003", .field = "100000"});
    Material({.felhkod = "100000",
              .muvkod = "100003",
              .field = "100000",
              .anyagkod = "300000",
              .anyagtip = "000002"});
    Material({.felhkod = "100001",
              .muvkod = "100001",
              .field = "100001",
              .anyagkod = "300001",
              .anyagtip = "000002"});
    Material({.felhkod = "100002",
              .muvkod = "100002",
              .field = "100002",
              .anyagkod = "300002",
              .anyagtip = "000002"});
    GNParMuvNy->Refresh();

    const CropLists second = GNParMuvNy->GetSecondCrops("100000");
    EXPECT_EQ(second.sectors, "Mustár; Pohánka; ");
    EXPECT_EQ(second.yields, "1,5;");
    EXPECT_EQ(second.seedNames, "Sárga mustár; Pohánka V; ");

    const CropLists before = GNParMuvNy->GetPredecessorCrop("100003");
    EXPECT_EQ(before.sectors, "Búza; ");
    EXPECT_EQ(before.yields, "6;");
    EXPECT_EQ(before.seedNames, "Mv Magdaléna; ");

    const CropLists none = GNParMuvNy->GetPredecessorCrop("100000");
    EXPECT_EQ(none.sectors + none.yields + none.seedNames, "");
}

TEST_F(DiaryTest, RoutinesReadTheDataOfTheirLastRefresh) {
    Field("100000", 2008, 1, "Búza", 10000);
    EXPECT_EQ(GNParMuvNy->GetParcelYield("100000", 10000), "");
    Operation({.muvkod = "100000", .field = "100000", .hozam = 4});
    EXPECT_EQ(GNParMuvNy->GetParcelYield("100000", 10000), "");
    GNParMuvNy->Refresh();
    EXPECT_EQ(GNParMuvNy->GetParcelYield("100000", 10000), "4;");
}

TEST_F(DiaryTest, UseRightLetterFollowsTheLandParcelsCodes) {
    LandParcel("100000", "T", 1000, "B1");
    LandParcel("100000", "B", 1000, "B2");
    LandParcel("100001", "SZ", 1000, "B3");
    LandParcel("100001", "SZ", 1000, "B4");
    LandParcel("100002", "sz", 1000, "B5");
    LandParcel("100003", "B", 1000, "B6");
    LandParcel("100003", "B", 1000, "B7");
    EXPECT_EQ(Func->UseRightLetter("100000"), "E");
    EXPECT_EQ(Func->UseRightLetter("100001"), "H");
    EXPECT_EQ(Func->UseRightLetter("100002"), "H");
    EXPECT_EQ(Func->UseRightLetter("100003"), "T");
    EXPECT_EQ(Func->UseRightLetter("199999"), "T");
}

TEST_F(DiaryTest, LandUseNameAndBlockOfTheFieldsParcels) {
    LandParcel("100000", "T", 3000, "K1", 0);
    LandParcel("100000", "T", 5000, "K2", 2);
    LandParcel("100000", "T", 5000, "K3", 2);
    LandParcel("100001", "T", 0, "K4", 14);
    LandParcel("100002", "T", 100, "K5", 13);
    EXPECT_EQ(Func->LandUseName("100000"), "pihentett terület");
    EXPECT_EQ(Func->LandUseName("100001"), "pihentett terület");
    EXPECT_EQ(Func->LandUseName("100002"), "konyhakert");
    EXPECT_EQ(Func->BlockOf("100000"), "K2");
    EXPECT_EQ(Func->BlockOf("100001"), "");
    EXPECT_EQ(Func->BlockOf("199999"), "");
}

class IncorporationDate : public DiaryTest {
protected:
    IncorporationDate() {
        OperationType("100000", "Szántás", 0);
        OperationType("100001", "Aratás", 4);
        OperationType("100002", "Műtrágyázás", 2);
        Fertiliser("100000", "Pétisó");
    }
    int Use(const std::string& muvkod, const std::string& field, sys::DateTime betido = 0) {
        return Material({.felhkod = muvkod,
                         .muvkod = muvkod,
                         .field = field,
                         .anyagkod = "100000",
                         .menny = 100,
                         .betido = betido});
    }
};

TEST_F(IncorporationDate, TheWalkStopsAtAHarvest) {
    Operation({.muvkod = "100000", .field = "100000", .datum = sys::encodeDate(2008, 3, 1)});
    Operation({.muvkod = "100001",
               .field = "100000",
               .datum = sys::encodeDate(2008, 3, 5),
               .muvid = "100002"});
    Operation({.muvkod = "100002",
               .field = "100000",
               .datum = sys::encodeDate(2008, 3, 2),
               .muvid = "100001"});
    Operation({.muvkod = "100003", .field = "100000", .datum = sys::encodeDate(2008, 3, 9)});
    const int felhid = Use("100001", "100000");
    EXPECT_EQ(Func->IncorporationDate(std::to_string(felhid), 2), "");
}

TEST_F(IncorporationDate, TheFirstSoilPreparationAfterTheUseWithoutAHarvest) {
    Operation({.muvkod = "100001",
               .field = "100000",
               .datum = sys::encodeDate(2008, 3, 5),
               .muvid = "100002"});
    Operation({.muvkod = "100003", .field = "100000", .datum = sys::encodeDate(2008, 3, 9)});
    Operation({.muvkod = "100004", .field = "100000", .datum = sys::encodeDate(2008, 3, 20)});
    Operation({.muvkod = "100005",
               .field = "100000",
               .datum = sys::encodeDate(2008, 4, 20),
               .muvid = "100001"});
    const int felhid = Use("100001", "100000");
    EXPECT_EQ(Func->IncorporationDate(std::to_string(felhid), 2),
              sys::dateToText(sys::encodeDate(2008, 3, 9)));
    EXPECT_EQ(Func->IncorporationDate(std::to_string(felhid), 4), "");
    EXPECT_EQ(Func->IncorporationDate("100001", 1), sys::dateToText(sys::encodeDate(2008, 3, 9)));
    // A sheet's batch answers the same from the rows it read at its start.
    TFunc::Batch batch(*Func);
    EXPECT_EQ(Func->IncorporationDate(std::to_string(felhid), 2),
              sys::dateToText(sys::encodeDate(2008, 3, 9)));
    EXPECT_EQ(Func->IncorporationDate(std::to_string(felhid), 4), "");
    EXPECT_EQ(Func->IncorporationDate("100001", 1), sys::dateToText(sys::encodeDate(2008, 3, 9)));
    EXPECT_EQ(Func->IncorporationDate("199999", 1), "");
}

TEST_F(IncorporationDate, AStoredDateIsTakenWithoutAWalk) {
    Operation({.muvkod = "100001",
               .field = "100000",
               .datum = sys::encodeDate(2008, 3, 5),
               .muvid = "100002"});
    Operation({.muvkod = "100003", .field = "100000", .datum = sys::encodeDate(2008, 3, 9)});
    const int felhid = Use("100001", "100000", sys::encodeDate(2008, 3, 6));
    EXPECT_EQ(Func->IncorporationDate(std::to_string(felhid), 2),
              sys::dateToText(sys::encodeDate(2008, 3, 6)));
    EXPECT_EQ(Func->IncorporationDate(std::to_string(felhid), 4),
              sys::dateToText(sys::encodeDate(2008, 3, 6)));
    EXPECT_EQ(Func->IncorporationDate("999999", 1), "");
    EXPECT_EQ(Func->IncorporationDate("1 OR 1=1", 2), "");
}

} // namespace
