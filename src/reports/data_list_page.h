#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/page_window.h"
#include "page_frame.h"
#include "store/file_io.h"
#include "store/reading.h"
#include "store/settings_store.h"
#include "store/user_settings.h"
#include "surface.h"

namespace dorvel::reports {

inline constexpr int kDataListRows = kPageWindowSize;

// A row of the table: one entry of the page window.
using DataListRow = PageEntry;

// Everything the data list draws from: the page window at the list cursor
// and the counts of the patient's readings.
struct DataListView {
    PageWindow window;
    int dataListStart = 0;
    int readingCount = 0;
    int controlCount = 0;
    UserSettings settings;
    RunSettings run;

    int rowCount() const { return window.filled; }
    const DataListRow& row(int r) const { return window.entries[static_cast<size_t>(r)]; }
};

// A view of the list at the cursor, built as the document builds its page
// window (the cursor is settled the same way), counts included.
DataListView MakeDataListView(const ReadingList& list, int dataListStart,
                              const UserSettings& settings, const RunSettings& run);

// List position of the reading that row r of the window at `dataListStart`
// shows, or -1 when the row is empty. With control readings hidden the
// cursor counts only the listed readings, as the page window does.
int ListPositionOfRow(const ReadingList& list, int dataListStart, int row, bool hideControl);

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

// Saves the patient's settings; the document hands in its profile writer.
using SaveSettings = std::function<WriteResult(const UserSettings&)>;

// A saver that writes the patient's profile file with the new settings and
// makes the patient the one loaded at the next start. It keeps references:
// the store and the profile must outlive it.
SaveSettings ProfileSaver(SettingsStore& store, std::string dataFolder, std::string patientId,
                          const PatientProfile& profile);

struct ToggleOutcome {
    WriteResult write;
    std::string message;  // for the user when the profile was not saved; empty otherwise
};

// The two switches of the menu: flip the setting and save the profile at
// once. The switch holds for this run even when the file could not be
// written; the caller shows the message and starts the repaint timer.
ToggleOutcome ToggleUnit(UserSettings& s, const SaveSettings& save);
ToggleOutcome ToggleSeparateMeals(UserSettings& s, const SaveSettings& save);

inline constexpr std::string_view kDeleteQuestion = "Diesen Messwert wirklich löschen?";

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
