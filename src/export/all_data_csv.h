#pragma once

#include <string>

#include "analysis/meal_slots.h"
#include "store/calendar.h"
#include "store/reading.h"
#include "store/user_settings.h"

namespace dorvel::exports {

// The mail attachments use the export's layout with one label of their own.
enum class CsvLayout {
    Export,  // the physician's mobile line reads ",Handy:,"
    Mail,    // it reads ",Mobil:,"
};

// The all-data CSV of one patient in Windows-1252: the patient block from
// the profile; then, when there are readings, the reading block (every
// reading in list order, control readings included) and the footer with
// `today`. The glucose unit, meal slots and target ranges are `settings`';
// `temperatureUnit` is the run's switch (0 Celsius, 1 Fahrenheit).
std::string AllDataCsv(const PatientProfile& profile, const UserSettings& settings,
                       int temperatureUnit, const ReadingList& readings, const Date& today,
                       CsvLayout layout = CsvLayout::Export);

// One line of the reading block, without its line feed: running number,
// date, time, marker text, meal slot, value, temperature, range class. A
// time before the first slot has an empty meal cell and is judged with the
// overall range.
std::string ReadingLine(int number, const Reading& reading, const UserSettings& settings,
                        const SlotKeys& slots, int temperatureUnit);

}  // namespace dorvel::exports
