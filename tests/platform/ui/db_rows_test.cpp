// What the data-aware controls read from a data set besides its cursor: any row of the
// view without moving, bookmarks of rows, and the request to write typed text that comes
// before a post even while the controls are disabled.

#include "platform/ui/db_test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace uitest;

namespace {

struct Recorder final : db::DataSetObserver {
    void dataSetEvent(db::TDataSet&, db::DataEvent event) override { events.push_back(event); }
    std::vector<db::DataEvent> events;
};

std::string text(const db::Value& value) {
    const auto* s = std::get_if<std::string>(&value);
    return s ? *s : "<not text>";
}

} // namespace

TEST(DataSetRows, ReadsAnyRowWithoutMovingAndTheEditBufferForTheCurrentOne) {
    db::Session session;
    makeParcels(session, 4);
    db::TTable t(session);
    t.SetTableName("parcellak");
    t.AddCalcField("Jel", db::FieldType::Alpha, 10);
    t.OnCalcFields = [](db::TDataSet& d) {
        d.FieldByName("Jel").SetAsString("#" + d.FieldByName("Kod").AsString());
    };
    t.Open();
    t.MoveBy(1);
    EXPECT_EQ(text(t.rowValue(3, 0)), "P00003");
    EXPECT_EQ(t.RecNo(), 2);
    EXPECT_EQ(text(t.rowValue(1, 5)), "#P00001");
    EXPECT_EQ(text(t.rowValue(2, 5)), "#P00002"); // calculated for its own row
    EXPECT_EQ(t.RecNo(), 2);
    EXPECT_EQ(t.FieldByName("Jel").AsString(), "#P00001");
    EXPECT_TRUE(db::isNull(t.rowValue(9, 0)));

    t.Edit();
    t.FieldByName("Agazat").SetAsString("rozs");
    EXPECT_EQ(text(t.rowValue(1, 2)), "rozs");
    EXPECT_EQ(text(t.rowValue(2, 2)), "ágazat 2");
    t.Cancel();
    t.Insert(); // the new row is no row of the view
    EXPECT_EQ(text(t.rowValue(1, 0)), "P00001");
    t.Cancel();
}

TEST(DataSetRows, BookmarksOfRowsFollowTheirRows) {
    db::Session session;
    makeParcels(session, 4);
    db::TTable t(session);
    t.SetTableName("parcellak");
    t.Open();
    const db::TBookmark third = t.rowBookmark(2);
    EXPECT_EQ(t.bookmarkRow(third), 2u);
    EXPECT_TRUE(t.rowBookmark(7).identity.empty());
    t.SetIndexFieldNames("Aktiv;Kod"); // P0 P2 P1 P3
    EXPECT_EQ(t.bookmarkRow(third), 1u);
    t.GotoBookmark(third);
    EXPECT_EQ(t.FieldByName("Kod").AsString(), "P00002");
    t.Delete();
    EXPECT_FALSE(t.bookmarkRow(third).has_value());
    EXPECT_FALSE(t.BookmarkValid(third));
}

TEST(DataSetRows, AsksForTypedTextBeforePostingEvenWithControlsDisabled) {
    db::Session session;
    makeParcels(session, 2);
    db::TTable t(session);
    t.SetTableName("parcellak");
    t.Open();
    Recorder recorder;
    t.addObserver(&recorder);
    t.DisableControls();
    t.Edit();
    t.Post();
    t.EnableControls();
    t.removeObserver(&recorder);
    EXPECT_EQ(recorder.events, (std::vector<db::DataEvent>{db::DataEvent::UpdateRecord,
                                                           db::DataEvent::RowsChanged}));
}
