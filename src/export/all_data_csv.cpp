#include "all_data_csv.h"

#include "analysis/statistics.h"
#include "csv_text.h"
#include "store/text_encoding.h"

namespace dorvel::exports {

namespace {

// Fixed texts are written here in UTF-8 and go to the file in Windows-1252.
std::string Cp(std::string_view utf8) {
    return Utf8ToCp1252(utf8);
}

class Lines {
  public:
    void Add(std::string_view line) {
        out_.append(line);
        out_.push_back(kLineEnd);
    }
    // A label cell (",Name:,") followed by one value cell.
    void Field(std::string_view label, std::string_view value) {
        out_.append(label);
        out_.append(CsvCell(value));
        out_.push_back(kLineEnd);
    }
    std::string Finish() { return std::move(out_); }

  private:
    std::string out_;
};

void PatientBlock(Lines& lines, const PatientProfile& p, CsvLayout layout) {
    lines.Field(",Name:,", p.name);
    lines.Field(",Geschlecht:,", Cp(p.sex == 0 ? "Männlich" : "Weiblich"));
    lines.Field(",Geb.datum:,", FormatIsoDate(p.birthDate));
    lines.Field(",Tel.:,", p.telephone);
    lines.Field(",Handy:,", p.mobile);
    lines.Field(",Email:,", p.email);
    lines.Field(",FAX:,", p.fax);
    lines.Field(",Anschrift:,", p.address);
    lines.Field(",Pflegeeinrichtung:,", p.careHome);
    lines.Field(",Vermerk:,", p.remark);
    lines.Field(",Zimmer Nr.:,", p.room);
    lines.Field(",Bett Nr.:,", p.bed);
    lines.Add("");
    lines.Add("[Betreuer(in)]");
    lines.Field(",Name:,", p.carer);
    lines.Field(",Vermerk:,", p.carerRemark);
    lines.Add("");
    lines.Add("[Arzt]");
    lines.Field(",Name:,", p.physician);
    lines.Field(",Krankenhaus:,", p.hospital);
    lines.Field(",Tel.:,", p.physicianTelephone);
    lines.Field(layout == CsvLayout::Mail ? ",Mobil:," : ",Handy:,", p.physicianMobile);
    lines.Field(",Email:,", p.physicianEmail);
    lines.Field(",FAX:,", p.physicianFax);
}

// Characters `pos`.. of the timestamp; a short (damaged) one gives what is there.
std::string_view Part(std::string_view timestamp, size_t pos, size_t length) {
    return pos < timestamp.size() ? timestamp.substr(pos, length) : std::string_view();
}

std::string IconText(int marker) {
    // The control marker is written as its digit, like any code without a text.
    if (marker != kControlMarker) {
        if (const std::string_view text = MarkerText(marker); !text.empty())
            return std::string(text);
    }
    return std::to_string(marker);
}

std::string TemperatureText(int tenths, int temperatureUnit) {
    if (tenths == 0)
        return ".";
    if (temperatureUnit == 1)
        return std::to_string(ToFahrenheit(tenths));
    return OneDecimal(tenths / 10.0);
}

}  // namespace

std::string ReadingLine(int number, const Reading& r, const UserSettings& settings,
                        const SlotKeys& slots, int temperatureUnit) {
    const std::string_view ts = r.timestamp;
    const std::optional<int> slot = FullSlotOf(TimeKeyOf(Part(ts, 8, 4)), slots);
    const int value = r.Value().value;

    std::string line = std::to_string(number);
    const auto cell = [&line](std::string_view text) {
        line.push_back(',');
        line.append(CsvCell(text));
    };
    cell(std::string(Part(ts, 0, 4)) + "-" + std::string(Part(ts, 4, 2)) + "-" +
         std::string(Part(ts, 6, 2)));
    cell(std::string(Part(ts, 8, 2)) + ":" + std::string(Part(ts, 10, 2)));
    cell(IconText(r.marker));
    cell(slot ? MealSlotName(*slot) : std::string_view());
    cell(settings.glucoseUnit == 1 ? OneDecimal(ToMmolPerL(value)) : r.valueText);
    cell(TemperatureText(r.temperature, temperatureUnit));
    cell(r.IsControl() ? kControlClassText : RangeClassText(RangeClassOf(value, slot, settings)));
    return line;
}

std::string AllDataCsv(const PatientProfile& profile, const UserSettings& settings,
                       int temperatureUnit, const ReadingList& readings, const Date& today,
                       CsvLayout layout) {
    Lines lines;
    PatientBlock(lines, profile, layout);
    if (readings.empty())
        return lines.Finish();

    lines.Add("");
    lines.Add("Anzahl,Datum,Zeit,Icon,Mahlzeit,Messwert,Temperatur,Konzentration");
    const SlotKeys slots(settings);
    int number = 0;
    for (const Reading& r : readings)
        lines.Add(ReadingLine(++number, r, settings, slots, temperatureUnit));
    lines.Add("");
    lines.Add(",,Date,: " + DateWithWeekday(today, settings.dateFormat) + ",,,,,");
    return lines.Finish();
}

}  // namespace dorvel::exports
