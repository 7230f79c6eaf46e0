#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calendar.h"

namespace dorvel {

// One stored record: user 3, marker 1, date 8, time 4, value 3, temperature 3.
inline constexpr size_t kRecordSize = 22;
// The data model bounds a patient to one 1,000,000-byte record image.
inline constexpr size_t kWorkBufferSize = 1'000'000;
inline constexpr size_t kMaxRecords = kWorkBufferSize / kRecordSize;  // 45,454

inline constexpr int kControlMarker = 5;
inline constexpr std::string_view kGuestUserId = "121";

// Glucose in mg/dL. A distinct type so that a display value in mmol/L can
// never be passed where a stored value is expected.
struct MgDl {
    int32_t value = 0;
    friend bool operator==(MgDl, MgDl) = default;
    friend auto operator<=>(MgDl, MgDl) = default;
};

struct Reading {
    std::string timestamp;    // YYYYMMDDhhmm
    std::string meterUserId;  // three digits, "121" is the guest
    int32_t marker = 0;       // 0..5, 5 = control solution
    std::string valueText;    // "010".."600"
    int32_t temperature = 0;  // tenths of a degree Celsius, 0 = none

    MgDl Value() const;
    bool IsControl() const { return marker == kControlMarker; }
    DateTime When() const;  // from the timestamp digits, unchecked

    friend bool operator==(const Reading&, const Reading&) = default;
};

// Text of the marker code as the exports write it; empty for an unknown code.
std::string_view MarkerText(int marker);

// Conversions between a reading and its 22-character stored form. The record
// must be at least kRecordSize bytes; only the first 22 are used.
Reading ReadingFromRecord(std::string_view record);
std::string RecordFromReading(const Reading& reading);
void AppendRecord(const Reading& reading, std::string& image);

// The current patient's readings, ordered by meter user then timestamp.
class ReadingList {
  public:
    using value_type = Reading;
    using iterator = std::vector<Reading>::iterator;
    using const_iterator = std::vector<Reading>::const_iterator;

    ReadingList() = default;
    explicit ReadingList(std::vector<Reading> readings) : items_(std::move(readings)) {}

    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    void clear() { items_.clear(); }
    void reserve(size_t n) { items_.reserve(n); }
    void push_back(Reading r) { items_.push_back(std::move(r)); }
    const Reading& operator[](size_t i) const { return items_[i]; }
    Reading& operator[](size_t i) { return items_[i]; }
    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }
    iterator erase(const_iterator pos) { return items_.erase(pos); }
    const std::vector<Reading>& items() const { return items_; }

    // Ascending by meter user, then timestamp (the 15-character key).
    void Sort();

    // Number of control-solution readings.
    size_t ControlCount() const;

  private:
    std::vector<Reading> items_;
};

// A scratch list with the same rules (newly received readings, another patient's file).
using StagingList = ReadingList;

// Writes every reading of `list`, in list order, back to back as stored
// records into `image` (replacing its content) and returns the record count.
size_t BuildRecordImage(const ReadingList& list, std::string& image);

// Splits a record image (whole records only; a shorter tail is ignored) into a sorted list.
ReadingList ReadingsFromImage(std::string_view image);

}  // namespace dorvel
