#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "store/user_settings.h"

namespace dorvel {

// A time of day as its four "hhmm" bytes packed big-endian, so that comparing
// two keys as numbers is the same as comparing the bytes: 0000 is the
// smallest time and 2359 the largest.
using TimeKey = uint32_t;

// The key of the first four bytes of `hhmm` (missing bytes count as 0).
TimeKey TimeKeyOf(std::string_view hhmm);
// The key of a slot start, written "%H%M"; seconds do not matter.
TimeKey TimeKeyOf(const TimeOfDay& time);

inline constexpr int kCombinedSlotCount = 5;  // Schlaf, Frühstück, Mittagessen, Abendessen, Abend
inline constexpr int kSeparateSlotCount = 6;  // before and after each of the three meals

// The eight slot starts of a patient as time keys.
struct SlotKeys {
    std::array<TimeKey, kSlotCount> start{};

    explicit SlotKeys(const UserSettings& settings);
};

// The slot schemes. Each tests its conditions in table order and the first
// that holds wins, so slot starts out of order still give one answer.
std::optional<int> FullSlotOf(TimeKey t, const SlotKeys& keys);      // 1..8
std::optional<int> CombinedSlotOf(TimeKey t, const SlotKeys& keys);  // 0..4
std::optional<int> SeparateSlotOf(TimeKey t, const SlotKeys& keys);  // 0..5

enum class RangeClass { Low, Target, High };

// "Niedrig", "Zielbereich", "Hoch" (Windows-1252).
std::string_view RangeClassText(RangeClass c);
// What is written where a control-solution reading would have a class.
inline constexpr std::string_view kControlClassText = "Kontroll-L\xF6sung";

RangeClass RangeClassOf(int value, const TargetRange& range);

// The target range of a full-scheme slot: before-meal for 2, 4, 6; after-meal
// for 3, 5, 7; the overall range for 1, 8 and for a time in no slot.
const TargetRange& TargetRangeOfSlot(std::optional<int> fullSlot, const UserSettings& settings);

RangeClass RangeClassOf(int value, std::optional<int> fullSlot, const UserSettings& settings);

// The range that the slot-dependent counts judge a reading at `t` with.
// Since the slots are looked up in table order, a time from S2 on always has
// a slot; a time in none lies before S1 and S2 and gets the overall range.
const TargetRange& SlotCountRange(TimeKey t, const SlotKeys& keys, const UserSettings& settings);

}  // namespace dorvel
