#include "data_list_page.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "analysis/statistics.h"
#include "report_text.h"
#include "store/patient_data_file.h"

namespace dorvel::reports {

namespace {

constexpr std::string_view kGermanDays[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};

// The hhmm key of a time, as the slot comparison uses it.
int TimeKey(int hour, int minute) {
    return hour * 100 + minute;
}

std::string TemperatureText(int t, int unit, bool paper) {
    if (t == 0)
        return ".";
    if (unit == 1)
        return Printf("%d", ToFahrenheit(t));
    if (paper || t % 10 < 5)
        return OneDecimal(t / 10.0);
    // Tenths of five and more are rounded up to the whole degree (23.6 shows as 24.0).
    const double whole = std::atof(Printf("%2.0f", std::trunc(t + 5.0) / 10.0).c_str());
    return OneDecimal(whole);
}

const TargetRange& RangeOfSlot(int slot, const UserSettings& s) {
    switch (slot) {
        case 2:
        case 4:
        case 6:
            return s.beforeMeal;
        case 3:
        case 5:
        case 7:
            return s.afterMeal;
        default:
            return s.overall;
    }
}

void DrawCells(Surface& surface, const std::array<int, 9>& edges, int top, int bottom,
               const std::array<std::string, 8>& texts) {
    for (size_t c = 0; c < 8; ++c) {
        const Rect cell{edges[c], top, edges[c + 1], bottom};
        surface.Rectangle(cell);
        surface.Text(cell, texts[c], kCentredLine);
    }
}

std::array<std::string, 8> HeaderTexts() {
    std::array<std::string, 8> texts;
    for (size_t c = 0; c < 8; ++c)
        texts[c] = std::string(kDataListColumns[c]);
    return texts;
}

}  // namespace

int ListPositionOfRow(const ReadingList& list, int dataListStart, int row, bool hideControl) {
    if (row < 0 || row >= kDataListRows || row >= dataListStart)
        return -1;
    const int wanted = dataListStart - 1 - row;  // among the listed readings, oldest first
    if (!hideControl)
        return wanted < static_cast<int>(list.size()) ? wanted : -1;
    int listed = 0;
    for (size_t position = 0; position < list.size(); ++position) {
        if (list[position].IsControl())
            continue;
        if (listed++ == wanted)
            return static_cast<int>(position);
    }
    return -1;
}

DataListView MakeDataListView(const ReadingList& list, int dataListStart,
                              const UserSettings& settings, const RunSettings& run) {
    DataListView view;
    view.settings = settings;
    view.run = run;
    view.readingCount = static_cast<int>(list.size());
    view.controlCount = static_cast<int>(list.ControlCount());
    ListCursor cursor;
    cursor.dataListStart = dataListStart;
    cursor.controlDisplay = run.controlDisplay;
    view.window = BuildPageWindow(list, cursor);
    view.dataListStart = cursor.dataListStart;
    return view;
}

int SlotOfRow(const DataListRow& row, const UserSettings& s) {
    const int t = TimeKey(row.when.time.hour, row.when.time.minute);
    const auto start = [&](int k) {
        const TimeOfDay& st = s.slotStart[static_cast<size_t>(k - 1)];
        return TimeKey(st.hour, st.minute);
    };
    for (int k = 1; k <= 7; ++k) {
        if (t >= start(k) && t < start(k + 1))
            return k;
    }
    return t >= start(8) ? 8 : 0;
}

RowClass ClassOfRow(const DataListRow& row, const UserSettings& s) {
    if (row.marker == kControlMarker)
        return RowClass::Control;
    if (row.value < 1)
        return RowClass::None;
    // A time before the first slot is judged against the overall range, as
    // the statistics judge it.
    const TargetRange& range = RangeOfSlot(SlotOfRow(row, s), s);
    if (row.value < range.low)
        return RowClass::Low;
    if (row.value <= range.high)
        return RowClass::Target;
    return RowClass::High;
}

Color FillOf(RowClass c) {
    switch (c) {
        case RowClass::Control:
            return kControlFill;
        case RowClass::Low:
            return kLowFill;
        case RowClass::Target:
            return kTargetFill;
        case RowClass::High:
            return kHighFill;
        case RowClass::None:
            break;
    }
    return kWhite;
}

std::string_view ClassText(RowClass c) {
    switch (c) {
        case RowClass::Control:
            return "Kontroll-Lösung";
        case RowClass::Low:
            return RangeClassText(RangeClass::Low);
        case RowClass::Target:
            return RangeClassText(RangeClass::Target);
        case RowClass::High:
            return RangeClassText(RangeClass::High);
        case RowClass::None:
            break;
    }
    return {};
}

std::string_view DataListMarkerText(int marker) {
    static constexpr std::string_view texts[] = {
        "Keine Markierung",       "Nach Medikamenten-Einnahme",
        "Nach sportl. Aktivität", "Nach dem Essen",
        "Vor dem Essen",          "Kontroll-Lösung."};
    return marker >= 0 && marker <= 5 ? texts[marker] : std::string_view();
}

std::string_view SlotText(int slot, bool paper) {
    static constexpr std::string_view texts[] = {
        "Schlaf",         "vor Frühstück",  "nach Frühstück",  "vor Mittagessen",
        "Nach dem Essen", "vor Abendessen", "nach Abendessen", "Abend"};
    if (slot == 5 && paper)
        return "Nach Mittagessen";
    return slot >= 1 && slot <= 8 ? texts[slot - 1] : std::string_view();
}

std::array<std::string, 8> RowTexts(const DataListView& view, int r, bool paper) {
    const DataListRow& row = view.row(r);
    const UserSettings& s = view.settings;
    std::array<std::string, 8> t;

    int number = view.readingCount - view.dataListStart + 1 + r;
    if (view.run.controlDisplay == 1)
        number -= view.controlCount;
    t[0] = Printf("%d", number);

    const Date& d = row.when.date;
    std::string date;
    if (s.dateFormat == 0)
        date = Printf("%04d.%02d.%02d", d.year, d.month, d.day);
    else if (s.dateFormat == 1)
        date = Printf("%02d.%02d.%04d", d.month, d.day, d.year);
    else
        date = Printf("%02d.%02d.%04d", d.day, d.month, d.year);
    t[1] = date + " " + std::string(kGermanDays[Weekday(d)]);

    t[2] = ClockText(row.when.time, s.timeFormat);

    t[3] = std::string(DataListMarkerText(row.marker));
    t[4] = std::string(SlotText(SlotOfRow(row, s), paper));
    t[5] = GlucoseText(row.value, s.glucoseUnit, 3);
    t[6] = TemperatureText(row.temperature, view.run.temperatureUnit, paper);
    t[7] = std::string(ClassText(ClassOfRow(row, s)));
    return t;
}

std::array<int, 9> ScreenColumnEdges(int growthWidth) {
    const int e = growthWidth == 0 ? 0 : growthWidth / 8 + growthWidth % 8 - 3;
    static constexpr std::array<int, 9> base = {10, 60, 180, 270, 410, 530, 610, 700, 790};
    std::array<int, 9> edges{};
    for (size_t i = 0; i < 9; ++i)
        edges[i] = base[i] + static_cast<int>(i) * e;
    return edges;
}

std::array<int, 9> PaperColumnEdges(const PaperMetrics& paper) {
    static constexpr std::array<int, 9> base = {50, 110, 220, 290, 410, 530, 610, 690, 750};
    std::array<int, 9> edges{};
    for (size_t i = 0; i < 9; ++i)
        edges[i] = paper.width * base[i] / 800;
    return edges;
}

void DrawDataListScreen(Surface& surface, const DataListView& view, Growth growth) {
    surface.SetFont(Font{"Arial", 14, 400});
    DrawScreenPage(surface, growth);

    const std::array<int, 9> edges = ScreenColumnEdges(growth.width);
    surface.SetBrush(Brush{kSilver});
    surface.SetTextColor(kBlack);
    surface.SetBackground(kSilver, true);
    DrawCells(surface, edges, 10, 30, HeaderTexts());

    surface.SetTextColor(kBlue);
    const int rows = std::min(view.rowCount(), view.dataListStart);
    for (int r = 0; r < rows; ++r) {
        const Color fill = FillOf(ClassOfRow(view.row(r), view.settings));
        surface.SetBrush(Brush{fill});
        surface.SetBackground(fill, true);
        DrawCells(surface, edges, 27 + 17 * r, 47 + 17 * r, RowTexts(view, r, false));
    }
}

void DrawDataListPaper(Surface& surface, const PaperMetrics& paper, const DataListView& view) {
    const FontRestorer restore(surface);
    surface.SetFont(Font{"Arial", paper.width * 12 / 800, 400});
    surface.SetPen(Pen{kBlack, 1, PenStyle::Solid});

    const std::array<int, 9> edges = PaperColumnEdges(paper);
    surface.SetBrush(Brush{kSilver});
    surface.SetTextColor(kBlack);
    surface.SetBackground(kSilver, true);
    DrawCells(surface, edges, paper.Y(7.0), paper.Y(7.8), HeaderTexts());

    surface.SetTextColor(kBlue);
    const int rows = std::min(view.rowCount(), view.dataListStart);
    for (int r = 0; r < rows; ++r) {
        const Color fill = FillOf(ClassOfRow(view.row(r), view.settings));
        surface.SetBrush(Brush{fill});
        surface.SetBackground(fill, true);
        DrawCells(surface, edges, paper.Y(7.8 + 0.8 * r), paper.Y(8.6 + 0.8 * r),
                  RowTexts(view, r, true));
    }
    surface.SetBackground(kWhite, true);
    surface.SetTextColor(kBlack);
}

Rect DataListSelection::Band(int row, int growthWidth, int dataListStart) {
    const int extra = growthWidth > 5 ? growthWidth + 10 : 0;
    const bool last = row == kDataListRows - 1 || row == dataListStart - 1;
    return Rect{10, 27 + 17 * row, 789 + extra, 27 + 17 * (row + 1) + (last ? 2 : 0)};
}

void DataListSelection::RightButton(Surface& surface, int x, int y, int growthWidth,
                                    int dataListStart) {
    surface.SetBrush(Brush{kWhite, true});
    if (selectedRow_ < dataListStart) {
        surface.SetPen(Pen{kBlack, 1, PenStyle::Solid});
        surface.Rectangle(Band(selectedRow_, growthWidth, dataListStart));
    }
    if (x < 60 || x > 789 || y < 28 || y > 539)
        return;
    selectedRow_ = kDataListRows;
    for (int r = 0; r < kDataListRows; ++r) {
        if (y > 27 + 17 * r && y <= 27 + 17 * (r + 1)) {
            selectedRow_ = r;
            break;
        }
    }
    if (selectedRow_ < dataListStart) {
        surface.SetPen(Pen{kRed, 1, PenStyle::Dot});
        surface.Rectangle(Band(selectedRow_, growthWidth, dataListStart));
    }
}

const std::vector<MenuItem>& DataListMenu() {
    static const std::vector<MenuItem> menu = {
        {"&Datenformat ändern", kChangeDateFormatCommand, false},
        {"&Zeitformat ändern", kChangeTimeFormatCommand, false},
        {"Messein&heit ändern", kToggleUnitCommand, true},
        {"", 0, true},
        {"&Mahlzeiten trennen [kombinieren]", kToggleMealsCommand, true},
        {"", 0, true},
        {"Daten löschen", kDeleteReadingCommand, true},
        {"Capture View", kCaptureViewCommand, true},
    };
    return menu;
}

namespace {

ToggleOutcome Save(const UserSettings& s, const SaveSettings& save) {
    ToggleOutcome outcome;
    outcome.write = save ? save(s) : WriteResult{WriteStatus::Failed, "kein Patient"};
    switch (outcome.write.status) {
        case WriteStatus::Written:
            break;
        case WriteStatus::ReadOnly:
            outcome.message =
                "Das Patientenprofil ist schreibgeschützt; die Einstellung gilt nur bis zum "
                "Programmende.";
            break;
        case WriteStatus::Unsynced:
            // The profile holds the setting; only the folder entry may not survive a power loss.
            outcome.message =
                "Die Einstellung steht im Patientenprofil, ist aber nicht sicher auf dem "
                "Datenträger gespeichert: nach einem Stromausfall könnte sie fehlen. (" +
                outcome.write.detail + ")";
            break;
        case WriteStatus::Failed:
            outcome.message =
                "Das Patientenprofil konnte nicht gespeichert werden; die Einstellung gilt nur "
                "bis zum Programmende. (" +
                outcome.write.detail + ")";
    }
    return outcome;
}

}  // namespace

SaveSettings ProfileSaver(SettingsStore& store, std::string dataFolder, std::string patientId,
                          const PatientProfile& profile) {
    return [&store, folder = std::move(dataFolder), id = std::move(patientId),
            &profile](const UserSettings& settings) {
        return WriteProfileAndRememberPatient(store, folder, id, profile, settings);
    };
}

ToggleOutcome ToggleUnit(UserSettings& s, const SaveSettings& save) {
    s.glucoseUnit = s.glucoseUnit == 0 ? 1 : 0;
    return Save(s, save);
}

ToggleOutcome ToggleSeparateMeals(UserSettings& s, const SaveSettings& save) {
    s.separateMeals = s.separateMeals == 0 ? 1 : 0;
    return Save(s, save);
}

DeleteOutcome DeleteSelectedReading(const std::string& dataFolder, const std::string& patientId,
                                    ReadingList& list, int dataListStart, int selectedRow,
                                    bool hideControl) {
    DeleteOutcome outcome;
    if (list.empty() || selectedRow >= dataListStart)
        return outcome;
    const int position = ListPositionOfRow(list, dataListStart, selectedRow, hideControl);
    if (position < 0)
        return outcome;
    // The row's own reading goes. Time and value alone could name another
    // meter user's reading of the same minute, which sorts first.
    const auto it = list.begin() + position;
    const Reading removed = *it;
    list.erase(it);
    outcome.removed = true;
    outcome.write = RemoveReadings(dataFolder, patientId, {removed});
    switch (outcome.write.status) {
        case WriteStatus::Written:
            break;
        case WriteStatus::ReadOnly:
            outcome.message =
                "Die Patientendatei ist schreibgeschützt; der Messwert bleibt in der Datei "
                "gespeichert.";
            break;
        case WriteStatus::Unsynced:
            // The file no longer holds the reading; a power loss could bring it back.
            outcome.message =
                "Der Messwert ist aus der Patientendatei gelöscht, die Änderung ist aber nicht "
                "sicher auf dem Datenträger gespeichert: nach einem Stromausfall könnte er "
                "wieder erscheinen. (" +
                outcome.write.detail + ")";
            break;
        case WriteStatus::Failed:
            outcome.message =
                "Die Patientendatei konnte nicht geschrieben werden; der Messwert bleibt in der "
                "Datei gespeichert. (" +
                outcome.write.detail + ")";
    }
    return outcome;
}

}  // namespace dorvel::reports
