#include "meal_slots.h"

#include "byte_key.h"

namespace dorvel {

TimeKey TimeKeyOf(std::string_view hhmm) {
    return PackedBytes<TimeKey, 4>(hhmm);
}

TimeKey TimeKeyOf(const TimeOfDay& time) {
    // "%H%M" of a valid time; other values are brought into the day the way
    // the time formatting of the settings sheet would never produce them.
    const int hour = ((time.hour % 24) + 24) % 24;
    const int minute = ((time.minute % 60) + 60) % 60;
    const char text[4] = {static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10),
                          static_cast<char>('0' + minute / 10),
                          static_cast<char>('0' + minute % 10)};
    return TimeKeyOf(std::string_view(text, 4));
}

SlotKeys::SlotKeys(const UserSettings& settings) {
    for (int i = 0; i < kSlotCount; ++i)
        start[i] = TimeKeyOf(settings.slotStart[i]);
}

std::optional<int> FullSlotOf(TimeKey t, const SlotKeys& keys) {
    const auto& s = keys.start;
    for (int i = 0; i < kSlotCount - 1; ++i) {
        if (s[i] <= t && t < s[i + 1])
            return i + 1;
    }
    if (s[kSlotCount - 1] <= t)
        return kSlotCount;
    return std::nullopt;
}

std::optional<int> CombinedSlotOf(TimeKey t, const SlotKeys& keys) {
    const auto& s = keys.start;
    if (s[0] <= t && t < s[1])
        return 0;
    if (s[1] <= t && t < s[3])
        return 1;
    if (s[3] <= t && t < s[5])
        return 2;
    if (s[5] <= t && t < s[7])
        return 3;
    if (s[7] <= t)
        return 4;
    return std::nullopt;
}

std::optional<int> SeparateSlotOf(TimeKey t, const SlotKeys& keys) {
    const auto& s = keys.start;
    for (int i = 1; i < kSlotCount - 1; ++i) {
        if (s[i] <= t && t < s[i + 1])
            return i - 1;
    }
    return std::nullopt;
}

std::string_view RangeClassText(RangeClass c) {
    switch (c) {
        case RangeClass::Low:
            return "Niedrig";
        case RangeClass::Target:
            return "Zielbereich";
        case RangeClass::High:
            return "Hoch";
    }
    return {};
}

RangeClass RangeClassOf(int value, const TargetRange& range) {
    if (value < range.low)
        return RangeClass::Low;
    if (value > range.high)
        return RangeClass::High;
    return RangeClass::Target;
}

const TargetRange& TargetRangeOfSlot(std::optional<int> fullSlot, const UserSettings& settings) {
    if (!fullSlot)
        return settings.overall;
    switch (*fullSlot) {
        case 2:
        case 4:
        case 6:
            return settings.beforeMeal;
        case 3:
        case 5:
        case 7:
            return settings.afterMeal;
        default:
            return settings.overall;
    }
}

RangeClass RangeClassOf(int value, std::optional<int> fullSlot, const UserSettings& settings) {
    return RangeClassOf(value, TargetRangeOfSlot(fullSlot, settings));
}

const TargetRange& SlotCountRange(TimeKey t, const SlotKeys& keys, const UserSettings& settings) {
    return TargetRangeOfSlot(FullSlotOf(t, keys), settings);
}

}  // namespace dorvel
