#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "page_frame.h"
#include "store/file_io.h"
#include "store/reading.h"
#include "store/user_settings.h"
#include "surface.h"

namespace dorvel::reports {

inline constexpr int kDataListRows = 30;

// One entry of the page window: the reading a row shows.
struct DataListRow {
    DateTime when;
    int marker = 0;
    int value = -1;        // mg/dL; below 1 means no value
    int temperature = -1;  // tenths of a degree Celsius; 0 means none
};

// Everything the data list draws from. The document fills it from its
// page window and statistics; PageWindowRows() builds the rows from a list.
struct DataListView {
    std::vector<DataListRow> rows;  // newest first, at most 30
    int dataListStart = 0;
    int readingCount = 0;
    int controlCount = 0;
    UserSettings settings;
    RunSettings run;
};

// The list cursor brought into the list: at least 30 when there are that
// many readings, never more than the count.
int ClampDataListStart(int dataListStart, int readingCount);
// The rows of the screen page whose newest reading is at list position
// dataListStart - 1. With control readings hidden the rows always start at
// the newest reading of the list and step over every control reading.
std::vector<DataListRow> PageWindowRows(const ReadingList& list, int dataListStart,
                                        bool hideControl);
// List position of the reading that row r shows, or -1 when the row is empty.
int ListPositionOfRow(const ReadingList& list, int dataListStart, int row, bool hideControl);
// A view of the list at the cursor, counts included.
DataListView MakeDataListView(const ReadingList& list, int dataListStart,
                              const UserSettings& settings, const RunSettings& run);

// Meal-time slot 1..8 of a row, 0 when its time lies before the first slot.
int SlotOfRow(const DataListRow& row, const UserSettings& settings);

enum class RowClass { Control, None, Low, Target, High };
RowClass ClassOfRow(const DataListRow& row, const UserSettings& settings);
Color FillOf(RowClass c);
std::string_view ClassText(RowClass c);
std::string_view DataListMarkerText(int marker);
std::string_view SlotText(int slot, bool paper);

inline constexpr std::array<std::string_view, 8> kDataListColumns = {
    "Anzahl", "Datum", "Zeit", "Markierung", "Tageszeit", "Messwert", "Temperatur", "Messbereich"};

// The eight cell texts of row r (UTF-8).
std::array<std::string, 8> RowTexts(const DataListView& view, int r, bool paper);

// Column edges b0..b8 on screen for the page's extra width.
std::array<int, 9> ScreenColumnEdges(int growthWidth);
std::array<int, 9> PaperColumnEdges(const PaperMetrics& paper);

void DrawDataListScreen(Surface& surface, const DataListView& view, Growth growth);
void DrawDataListPaper(Surface& surface, const PaperMetrics& paper, const DataListView& view);

// The cover sheet of the certificate, under the common header.
void DrawCoverSheet(Surface& surface, const PaperMetrics& paper, const PrintFonts& fonts,
                    const PatientFacts& facts);

// The selected row and its red band.
class DataListSelection {
  public:
    int selectedRow() const { return selectedRow_; }
    void Activate() { selectedRow_ = 0; }
    // A right click at (x, y): restores the grid under the old band, picks
    // the row under the pointer inside the table and outlines it.
    void RightButton(Surface& surface, int x, int y, int growthWidth, int dataListStart);
    // The popup menu opens only over a shown row of the data list.
    bool MenuOpens(int dataListStart, int shownPageIndex) const {
        return selectedRow_ < dataListStart && shownPageIndex == kDataListIndex;
    }

  private:
    static Rect Band(int row, int growthWidth, int dataListStart);
    int selectedRow_ = 0;
};

struct MenuItem {
    std::string_view text;  // empty for a separator
    int command = 0;
    bool enabled = true;
};
inline constexpr int kChangeDateFormatCommand = 32799;
inline constexpr int kChangeTimeFormatCommand = 32800;
inline constexpr int kToggleUnitCommand = 32802;
inline constexpr int kToggleMealsCommand = 32772;
inline constexpr int kDeleteReadingCommand = 32771;
const std::vector<MenuItem>& DataListMenu();

// The two switches of the menu; the caller saves the profile and starts
// the repaint timer.
inline void ToggleUnit(UserSettings& s) {
    s.glucoseUnit = s.glucoseUnit == 0 ? 1 : 0;
}
inline void ToggleSeparateMeals(UserSettings& s) {
    s.separateMeals = s.separateMeals == 0 ? 1 : 0;
}

inline constexpr std::string_view kDeleteQuestion = "Wirklich alle Daten löschen?";

struct DeleteOutcome {
    bool removed = false;  // a reading was taken out of the list
    WriteResult write;     // what became of the patient's file
    std::string message;   // for the user when the file was not written; empty otherwise
};

// Removes the reading of the selected row from `list` and from the
// patient's file (re-read under the folder lock, so readings another copy
// imported meanwhile stay). Asking the question is the caller's part.
DeleteOutcome DeleteSelectedReading(const std::string& dataFolder, const std::string& patientId,
                                    ReadingList& list, int dataListStart, int selectedRow,
                                    bool hideControl);

}  // namespace dorvel::reports
