#include <gtest/gtest.h>

#include "analysis/meal_slots.h"

namespace dorvel {
namespace {

TEST(MealSlots, DefaultStartsAtTheBorders) {
    const UserSettings settings;
    const SlotKeys keys(settings);
    struct {
        const char* time;
        std::optional<int> full, combined, separate;
    } const cases[] = {
        {"0000", 1, 0, std::nullopt},
        {"0459", 1, 0, std::nullopt},
        {"0500", 2, 1, 0},
        {"0759", 2, 1, 0},
        {"0800", 3, 1, 1},
        {"1100", 4, 2, 2},
        {"1300", 5, 2, 3},
        {"1500", 6, 3, 4},
        {"1700", 7, 3, 5},
        {"1859", 7, 3, 5},
        {"1900", 8, 4, std::nullopt},
        {"2359", 8, 4, std::nullopt},
    };
    for (const auto& c : cases) {
        const TimeKey t = TimeKeyOf(c.time);
        EXPECT_EQ(FullSlotOf(t, keys), c.full) << c.time;
        EXPECT_EQ(CombinedSlotOf(t, keys), c.combined) << c.time;
        EXPECT_EQ(SeparateSlotOf(t, keys), c.separate) << c.time;
    }
}

TEST(MealSlots, TimeBeforeTheFirstStartIsInNoSlotButCountsAgainstTheOverallRange) {
    UserSettings settings;
    settings.slotStart[0] = {1, 0, 59};  // seconds do not matter
    settings.overall = {70, 150};
    const SlotKeys keys(settings);
    EXPECT_EQ(keys.start[0], TimeKeyOf("0100"));
    const TimeKey t = TimeKeyOf("0030");
    EXPECT_EQ(FullSlotOf(t, keys), std::nullopt);
    EXPECT_EQ(CombinedSlotOf(t, keys), std::nullopt);
    EXPECT_EQ(SeparateSlotOf(t, keys), std::nullopt);
    EXPECT_EQ(&SlotCountRange(t, keys, settings), &settings.overall);
    EXPECT_EQ(RangeClassOf(69, FullSlotOf(t, keys), settings), RangeClass::Low);
}

TEST(MealSlots, RangeClassesUseTheRangeOfTheSlot) {
    const UserSettings settings;  // before 65..120, after 100..155, overall 65..155
    struct {
        int value;
        int slot;
        RangeClass expected;
    } const cases[] = {
        {65, 2, RangeClass::Target},  {64, 2, RangeClass::Low},   {121, 2, RangeClass::High},
        {120, 4, RangeClass::Target}, {121, 6, RangeClass::High}, {99, 3, RangeClass::Low},
        {155, 5, RangeClass::Target}, {156, 7, RangeClass::High}, {121, 1, RangeClass::Target},
        {155, 8, RangeClass::Target}, {64, 8, RangeClass::Low},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RangeClassOf(c.value, c.slot, settings), c.expected) << c.value << " " << c.slot;
}

TEST(MealSlots, StartsOutOfOrderDecideByTableOrder) {
    UserSettings settings;
    settings.slotStart[4] = {10, 0, 0};  // lunch-after starts before lunch-before
    settings.slotStart[5] = {10, 30, 0};
    const SlotKeys keys(settings);
    // 12:00: not 11:00 <= t < 10:00, not 10:00 <= t < 10:30, so 10:30 <= t < 17:00.
    EXPECT_EQ(FullSlotOf(TimeKeyOf("1200"), keys), 6);
    EXPECT_EQ(FullSlotOf(TimeKeyOf("1015"), keys), 3);  // slot 5 holds too; 3 comes first
    // Table order also means a time past S2 always finds a slot, even before
    // S1; only a time before both is in none and counts with the overall range.
    settings = UserSettings{};
    settings.slotStart[0] = {6, 0, 0};
    const SlotKeys late(settings);
    EXPECT_EQ(FullSlotOf(TimeKeyOf("0530"), late), 2);
    EXPECT_EQ(&SlotCountRange(TimeKeyOf("0530"), late, settings), &settings.beforeMeal);
    EXPECT_EQ(FullSlotOf(TimeKeyOf("0400"), late), std::nullopt);
    EXPECT_EQ(&SlotCountRange(TimeKeyOf("0400"), late, settings), &settings.overall);
}

}  // namespace
}  // namespace dorvel
