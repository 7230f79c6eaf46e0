#include "reading.h"

#include <algorithm>
#include <cstring>

#include "decimal.h"

namespace dorvel {

MgDl Reading::Value() const {
    return MgDl{LeadingInt(valueText)};
}

DateTime Reading::When() const {
    std::string_view t = timestamp;
    if (t.size() < 12)
        return {};
    return DateTime{
        Date{LeadingInt(t.substr(0, 4)), LeadingInt(t.substr(4, 2)), LeadingInt(t.substr(6, 2))},
        TimeOfDay{LeadingInt(t.substr(8, 2)), LeadingInt(t.substr(10, 2)), 0}};
}

std::string_view MarkerText(int marker) {
    switch (marker) {
        case 0:
            return "Keine Markierung";
        case 1:
            return "Nach Medikamenten-Einnahme";
        case 2:
            return "Nach sportl. Aktivit\xE4t";
        case 3:
            return "Nach dem Essen";
        case 4:
            return "Vor dem Essen";
        case 5:
            return "Kontroll-L\xF6sung";
        default:
            return {};
    }
}

Reading ReadingFromRecord(std::string_view record) {
    Reading r;
    r.meterUserId.assign(record.substr(0, 3));
    r.marker = LeadingInt(record.substr(3, 1));
    r.timestamp.reserve(12);
    r.timestamp.assign(record.substr(4, 8));
    r.timestamp.append(record.substr(12, 4));
    r.valueText.assign(record.substr(16, 3));
    r.temperature = LeadingInt(record.substr(19, 3));
    return r;
}

void AppendRecord(const Reading& r, std::string& image) {
    image += r.meterUserId;
    image += std::to_string(r.marker);
    image += r.timestamp;
    image += r.valueText;
    // One digit gets "00", two digits "0"; three stand as they are.
    std::string t = std::to_string(r.temperature);
    if (t.size() == 1)
        image += "00";
    if (t.size() == 2)
        image += "0";
    image += t;
}

std::string RecordFromReading(const Reading& reading) {
    std::string record;
    record.reserve(kRecordSize);
    AppendRecord(reading, record);
    return record;
}

namespace {
// Byte-wise comparison of user number then timestamp.
bool KeyLess(const Reading& a, const Reading& b) {
    const int user = a.meterUserId.compare(b.meterUserId);
    if (user != 0)
        return user < 0;
    return a.timestamp < b.timestamp;
}
}  // namespace

void ReadingList::Sort() {
    std::stable_sort(items_.begin(), items_.end(), KeyLess);
}

size_t ReadingList::ControlCount() const {
    return static_cast<size_t>(std::count_if(items_.begin(), items_.end(),
                                             [](const Reading& r) { return r.IsControl(); }));
}

size_t BuildRecordImage(const ReadingList& list, std::string& image) {
    image.clear();
    image.reserve(list.size() * kRecordSize);
    for (const Reading& r : list)
        AppendRecord(r, image);
    return list.size();
}

ReadingList ReadingsFromImage(std::string_view image) {
    const size_t count = image.size() / kRecordSize;
    std::vector<Reading> readings;
    readings.reserve(count);
    for (size_t k = 0; k < count; ++k) {
        readings.push_back(ReadingFromRecord(image.substr(k * kRecordSize, kRecordSize)));
    }
    ReadingList list(std::move(readings));
    list.Sort();
    return list;
}

}  // namespace dorvel
