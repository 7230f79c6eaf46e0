#include "reports/data_list_page.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>

#include "reports/recording_surface.h"
#include "store/patient_data_file.h"
#include "store/profile_file.h"
#include "store/settings_store.h"
#include "support/file_faults.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace dorvel::reports {
namespace {

Reading Make(int year, int month, int day, int hour, int minute, int value, int marker = 0,
             int temperature = 235) {
    return ReadingFromRecord(
        test::StoredRecord(1, marker, year, month, day, hour, minute, value, temperature));
}

// `count` readings one per day from 2011-01-01 at 07:00, values 100 + i.
ReadingList Days(int count) {
    ReadingList list;
    for (int i = 0; i < count; ++i) {
        const Date d = CivilFromDays(DaysFromCivil(2011, 1, 1) + i);
        list.push_back(Make(d.year, d.month, d.day, 7, 0, 100 + i % 400));
    }
    return list;
}

TEST(DataListPage, CellTextsAndFills) {
    ReadingList list;
    list.push_back(Make(2011, 6, 27, 4, 59, 64));          // Schlaf, overall 65..155: low
    list.push_back(Make(2011, 6, 28, 7, 30, 65, 4, 236));  // before meal, = low bound: target
    list.push_back(Make(2011, 6, 29, 13, 15, 156, 3, 0));  // slot 5, after meal 100..155: high
    list.push_back(Make(2011, 6, 30, 19, 0, 0, 5, 234));   // control solution with value 0
    list.Sort();
    UserSettings settings;
    settings.dateFormat = 0;
    settings.timeFormat = 0;
    DataListView view = MakeDataListView(list, 4, settings, RunSettings{});
    ASSERT_EQ(view.rowCount(), 4);

    using Texts = std::array<std::string, 8>;
    EXPECT_EQ(RowTexts(view, 0, false), (Texts{"1", "2011.06.30 Do", "07:00 PM", "Kontroll-Lösung.",
                                               "Abend", "  0", "23.4", "Kontroll-Lösung"}));
    EXPECT_EQ(RowTexts(view, 1, false), (Texts{"2", "2011.06.29 Mi", "01:15 PM", "Nach dem Essen",
                                               "Nach dem Essen", "156", ".", "Hoch"}));
    EXPECT_EQ(RowTexts(view, 1, true)[4], "Nach Mittagessen");
    EXPECT_EQ(RowTexts(view, 2, false), (Texts{"3", "2011.06.28 Di", "07:30 AM", "Vor dem Essen",
                                               "vor Frühstück", " 65", "24.0", "Zielbereich"}));
    EXPECT_EQ(RowTexts(view, 2, true)[6], "23.6");  // paper never rounds
    EXPECT_EQ(RowTexts(view, 3, false)[7], "Niedrig");
    EXPECT_EQ(RowTexts(view, 3, false)[4], "Schlaf");

    view.settings.glucoseUnit = 1;
    view.settings.dateFormat = 2;
    view.settings.timeFormat = 1;
    view.run.temperatureUnit = 1;
    const Texts other = RowTexts(view, 1, false);
    EXPECT_EQ(other[1], "29.06.2011 Mi");
    EXPECT_EQ(other[2], "13:15");
    EXPECT_EQ(other[5], "8.6");  // 156 / 18 = 8.67, truncated
    view.settings.dateFormat = 1;
    EXPECT_EQ(RowTexts(view, 2, false)[1], "06.28.2011 Di");
    EXPECT_EQ(RowTexts(view, 2, false)[6], "74");  // 23.6 °C

    // The range column's fill by row; no fifth row.
    RecordingSurface s;
    DrawDataListScreen(s, MakeDataListView(list, 4, settings, RunSettings{}), Growth{});
    const Color fills[] = {kControlFill, kHighFill, kTargetFill, kLowFill};
    for (int row = 0; row < 4; ++row) {
        const auto cells = s.RectanglesAt(Rect{700, 27 + 17 * row, 790, 47 + 17 * row});
        ASSERT_EQ(cells.size(), 1u) << row;
        EXPECT_EQ(cells[0]->brush.color, fills[row]) << row;
    }
    EXPECT_TRUE(s.RectanglesAt(Rect{700, 27 + 17 * 4, 790, 47 + 17 * 4}).empty());
    EXPECT_EQ(s.FindText("Kontroll-Lösung")->textColor, kBlue);
}

// The program runs with the user's locale (the window framework sets it), and
// a German one writes decimals with a comma; the table keeps its points.
TEST(DataListPage, DecimalTextsIgnoreTheProcessLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale installed";
    ReadingList list;
    list.push_back(Make(2011, 6, 28, 7, 30, 100, 0, 234));
    list.push_back(Make(2011, 6, 29, 7, 30, 600, 0, 236));
    list.Sort();
    UserSettings settings;
    settings.glucoseUnit = 1;
    const DataListView view = MakeDataListView(list, 2, settings, RunSettings{});
    const auto newest = RowTexts(view, 0, false);
    const auto older = RowTexts(view, 1, false);
    const std::string paper = RowTexts(view, 0, true)[6];
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(newest[5], "33.3");
    EXPECT_EQ(newest[6], "24.0");
    EXPECT_EQ(paper, "23.6");
    EXPECT_EQ(older[5], "5.5");
    EXPECT_EQ(older[6], "23.4");
}

TEST(DataListPage, RowNumbersAndWindowFollowTheCursor) {
    const ReadingList list = Days(45);
    DataListView newest = MakeDataListView(list, 45, UserSettings{}, RunSettings{});
    EXPECT_EQ(newest.rowCount(), 30);
    EXPECT_EQ(RowTexts(newest, 0, false)[0], "1");
    EXPECT_EQ(RowTexts(newest, 0, false)[5], "144");
    EXPECT_EQ(RowTexts(newest, 29, false)[0], "30");

    DataListView oldest = MakeDataListView(list, 10, UserSettings{}, RunSettings{});
    EXPECT_EQ(RowTexts(oldest, 0, false)[0], "16");  // a short cursor is raised to a full page
    EXPECT_EQ(RowTexts(oldest, 29, false)[5], "100");

    // Hidden control readings: numbering leaves them out and rows skip them.
    ReadingList withControl = Days(3);
    withControl.push_back(Make(2011, 1, 2, 8, 0, 90, 5));
    withControl.Sort();
    RunSettings hide;
    hide.controlDisplay = 1;
    DataListView hidden = MakeDataListView(withControl, 4, UserSettings{}, hide);
    ASSERT_EQ(hidden.rowCount(), 3);
    EXPECT_EQ(RowTexts(hidden, 0, false)[0], "1");
    EXPECT_EQ(RowTexts(hidden, 1, false)[1], "02.01.2011 So");
    EXPECT_EQ(RowTexts(hidden, 1, false)[3], "Keine Markierung");

    // With control readings hidden the cursor still pages back through the
    // listed readings, and a deletion takes the reading the row shows.
    ReadingList many = Days(40);
    for (int i = 0; i < 5; ++i)
        many.push_back(Make(2011, 1, 3 + 5 * i, 8, 0, 90, 5));
    many.Sort();
    const DataListView back = MakeDataListView(many, 30, UserSettings{}, hide);
    EXPECT_EQ(back.dataListStart, 30);
    EXPECT_EQ(RowTexts(back, 0, false)[0], "11");  // 40 listed - 30 + 1
    EXPECT_EQ(RowTexts(back, 0, false)[5], "129");
    EXPECT_EQ(RowTexts(back, 29, false)[5], "100");
    const int position = ListPositionOfRow(many, 30, 0, true);
    ASSERT_GE(position, 0);
    EXPECT_EQ(many[static_cast<size_t>(position)].Value().value, 129);
    EXPECT_EQ(ListPositionOfRow(many, 30, 30, true), -1);
}

TEST(DataListPage, ColumnEdgesShareTheExtraWidth) {
    EXPECT_EQ(ScreenColumnEdges(83)[8], 790 + 80);
    EXPECT_EQ(ScreenColumnEdges(-13)[1], 60 - 9);  // quotient -1, remainder -5
    EXPECT_EQ(PaperColumnEdges(PaperMetrics::FromTwips(8000, 16000))[8], 7500);
}

TEST(DataListPage, SelectionBand) {
    RecordingSurface s;
    DataListSelection selection;
    // x = 59 and y = 540 lie outside the table: nothing changes.
    selection.RightButton(s, 59, 100, 0, 5);
    selection.RightButton(s, 300, 540, 0, 5);
    EXPECT_EQ(selection.selectedRow(), 0);

    s.clear();
    selection.RightButton(s, 60, 27 + 17 * 2 + 1, 0, 5);  // first pixel of row 2
    EXPECT_EQ(selection.selectedRow(), 2);
    ASSERT_EQ(s.ops().size(), 2u);
    EXPECT_EQ(s.ops()[0].rect, (Rect{10, 27, 789, 44}));  // grid restored under row 0
    EXPECT_EQ(s.ops()[1].pen, (Pen{kRed, 1, PenStyle::Dot}));
    EXPECT_EQ(s.ops()[1].rect, (Rect{10, 61, 789, 78}));

    // The last shown row's band reaches 2 pixels lower; wider pages widen it.
    s.clear();
    selection.RightButton(s, 789, 27 + 17 * 5, 20, 5);
    EXPECT_EQ(selection.selectedRow(), 4);
    EXPECT_EQ(s.ops()[1].rect, (Rect{10, 95, 789 + 30, 114}));

    // Row 7 of five readings: selected, no outline, no menu.
    s.clear();
    selection.RightButton(s, 300, 27 + 17 * 7 + 5, 0, 5);
    EXPECT_EQ(selection.selectedRow(), 7);
    EXPECT_EQ(s.ops().size(), 1u);  // only the old band's grid
    EXPECT_FALSE(selection.MenuOpens(5, kDataListIndex));
    selection.Activate();
    EXPECT_TRUE(selection.MenuOpens(5, kDataListIndex));
    EXPECT_FALSE(selection.MenuOpens(5, kLogbookIndex));
}

TEST(DataListPage, EachToggleSavesTheProfile) {
    test::TempFolder folder;
    SettingsStore store(QString::fromStdString(folder.File("settings.ini")));
    PatientProfile profile;
    profile.name = "Erika";
    UserSettings settings;
    const SaveSettings save = ProfileSaver(store, folder.path(), "P1", profile);

    ASSERT_TRUE(ToggleUnit(settings, save).write.ok());
    EXPECT_EQ(ReadProfile(folder.path(), "P1").settings.glucoseUnit, 1);
    EXPECT_EQ(store.CurrentPatientId(), "P1");
    ASSERT_TRUE(ToggleSeparateMeals(settings, save).write.ok());
    const ProfileRead read = ReadProfile(folder.path(), "P1");
    EXPECT_EQ(read.settings.separateMeals, 0);
    EXPECT_EQ(read.profile.name, "Erika");  // the rest of the profile is written unchanged

    // A read-only profile keeps its bytes; the switch still holds and the user hears why.
    const std::string before = folder.Read("P1.info");
    ::chmod(folder.File("P1.info").c_str(), 0444);
    const ToggleOutcome ro = ToggleSeparateMeals(settings, save);
    EXPECT_EQ(ro.write.status, WriteStatus::ReadOnly);
    EXPECT_FALSE(ro.message.empty());
    EXPECT_EQ(settings.separateMeals, 1);
    EXPECT_EQ(folder.Read("P1.info"), before);
}

TEST(DataListPage, DeleteRemovesTheShownReadingFromListAndFile) {
    test::TempFolder folder;
    ReadingList list = Days(5);
    list.push_back(Make(2011, 1, 4, 9, 0, 80, 5));
    list.Sort();
    ASSERT_TRUE(SaveReadings(folder.path(), "P1", list).ok());

    // Nothing selected below the last row, nothing in an empty list.
    EXPECT_FALSE(DeleteSelectedReading(folder.path(), "P1", list, 6, 6, false).removed);
    ReadingList empty;
    EXPECT_FALSE(DeleteSelectedReading(folder.path(), "P1", empty, 0, 0, false).removed);

    // Row 1 with control readings hidden is 2011-01-04 07:00, not the control reading.
    const DeleteOutcome hidden = DeleteSelectedReading(folder.path(), "P1", list, 5, 1, true);
    ASSERT_TRUE(hidden.removed);
    EXPECT_TRUE(hidden.write.ok());
    ReadingList onDisk = LoadReadings(folder.path(), "P1");
    ASSERT_EQ(onDisk.size(), 5u);
    EXPECT_EQ(onDisk.ControlCount(), 1u);
    EXPECT_EQ(list.items(), onDisk.items());

    // A read-only file stays as it is and the user hears of it.
    ::chmod(folder.File("P1.gdt").c_str(), 0444);
    const DeleteOutcome ro = DeleteSelectedReading(folder.path(), "P1", list, 5, 0, false);
    EXPECT_TRUE(ro.removed);
    EXPECT_EQ(ro.write.status, WriteStatus::ReadOnly);
    EXPECT_FALSE(ro.message.empty());
    EXPECT_EQ(list.size(), 4u);
    EXPECT_EQ(LoadReadings(folder.path(), "P1").size(), 5u);

    // The file is replaced but the folder cannot be synced: the reading is
    // gone from the file, and the user hears it may come back, not that it stayed.
    ::chmod(folder.File("P1.gdt").c_str(), 0644);
    {
        test::FileFaults faults;
        faults.FailFolderSync();
        const DeleteOutcome unsynced =
            DeleteSelectedReading(folder.path(), "P1", list, 4, 0, false);
        EXPECT_EQ(unsynced.write.status, WriteStatus::Unsynced);
        EXPECT_NE(unsynced.message.find("gelöscht"), std::string::npos) << unsynced.message;
        EXPECT_EQ(unsynced.message.find("bleibt"), std::string::npos) << unsynced.message;
    }
    EXPECT_EQ(LoadReadings(folder.path(), "P1").size(), 4u);

    // Two meter users measured the same value in the same minute: the row's
    // own reading goes, not the first one with that time and value.
    test::TempFolder shared;
    ReadingList twins;
    twins.push_back(Make(2011, 1, 5, 8, 0, 120));
    twins.push_back(ReadingFromRecord(test::StoredRecord(121, 3, 2011, 1, 5, 8, 0, 120, 0)));
    twins.Sort();
    ASSERT_TRUE(SaveReadings(shared.path(), "P2", twins).ok());
    ASSERT_EQ(twins[1].meterUserId, "121");  // row 0 shows the guest's reading
    ASSERT_TRUE(DeleteSelectedReading(shared.path(), "P2", twins, 2, 0, false).removed);
    ASSERT_EQ(twins.size(), 1u);
    EXPECT_EQ(twins[0].meterUserId, "001");
    EXPECT_EQ(twins[0].marker, 0);
    EXPECT_EQ(LoadReadings(shared.path(), "P2").items(), twins.items());
}

}  // namespace
}  // namespace dorvel::reports
