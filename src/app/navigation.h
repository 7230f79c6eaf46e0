#pragma once

#include "analysis/page_window.h"
#include "store/calendar.h"

namespace dorvel {

// The four period commands of the toolbar.
enum class NavStep { PreviousYear, PreviousMonth, NextMonth, NextYear };

inline constexpr int kEarliestYear = 2002;

// Moves the selected date one step. The day is first aligned to today's day
// of the month (a later day pushes the date into the following month), then
// year and month move, never before January 2002 and never past the current
// month. The result's day is today's day, limited to the length of the month
// where the arithmetic would otherwise run over.
Date StepPeriod(Date selected, NavStep step, const Date& today);

// The data list cursor: readings counted from the oldest up to the newest one
// on screen, moved in screen pages of 30. It settles by the page window's own
// rule, so the screen and the cursor never disagree.
inline constexpr int kDataListStep = kPageWindowSize;

struct DataListCursor {
    int start = 0;
    bool jumpToNewest = false;
};

// Applies a navigation step to the data list cursor and clamps it to a list of
// `count` readings the way the page window is built.
DataListCursor StepDataList(DataListCursor cursor, NavStep step, int count);
DataListCursor ClampDataList(DataListCursor cursor, int count);

}  // namespace dorvel
