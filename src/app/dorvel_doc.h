#pragma once

#include <QPageLayout>
#include <functional>
#include <optional>
#include <string>

#include "analysis/statistics.h"
#include "navigation.h"
#include "patient_store.h"
#include "store/clock.h"
#include "store/reading.h"
#include "store/user_settings.h"

namespace dorvel {

// Page table indices.
enum PageIndex {
    kStartPage = 0,
    kDataListPage = 1,
    kLogbookPage = 2,
    kSummaryPage = 3,
    kDayGraphPage = 4,
    kMealGraphPage = 5,
    kRangeBarPage = 6,
    kMealBarPage = 7,
    kPatientListPage = 8,
    kGlucoseProfilePage = 9,
    kPageCount = 10
};

// The program-wide state: one current patient with its readings, profile and
// settings, the period and the navigation. Owned by the application object
// and handed to the windows by reference.
class CDorvelDoc {
  public:
    CDorvelDoc(std::string dataFolder, PatientStore& store, Clock clock);

    const std::string& dataFolder() const { return dataFolder_; }
    PatientStore& store() { return store_; }
    const Clock& clock() const { return clock_; }

    std::string currentPatientId;
    ReadingList readings;
    PatientProfile profile;
    UserSettings settings;
    RunSettings runSettings;
    Date selectedDate;
    int currentPage = kStartPage;
    DataListCursor dataList;
    int listPositionA = 0;  // the data list's own position state, reset on every show
    int listPositionB = 0;
    bool searchMode = false;
    bool deletionPending = false;
    // Paper and orientation from the print setup, for every later print and
    // preview; unset until the user chose one.
    std::optional<QPageLayout> pageLayout;

    // Base client size of the start view and the growth of the pages from it.
    int baseWidth = 0;
    int baseHeight = 0;
    int growthWidth = 0;
    int growthHeight = 0;

    // Reads the current patient's profile and data file, period = today.
    // Returns why the data file could not be read (the readings are then
    // empty), empty when it could.
    std::string LoadCurrentPatient();
    void ResetListPosition() {
        listPositionA = 0;
        listPositionB = 0;
    }
    // Rebuilds the data set and statistics for the current patient and period.
    void Recompute();
    // Rebuilds the patient list file and keeps its image for the patient list page.
    void RebuildPatientList() { patientList = store_.RebuildPatientList(dataFolder_); }
    std::string patientList;
    int recomputeCount() const { return recomputeCount_; }

    // Every statistic of the current patient and period, from the last Recompute.
    Statistics statistics;

  private:
    std::string dataFolder_;
    PatientStore& store_;
    Clock clock_;
    int recomputeCount_ = 0;
};

}  // namespace dorvel
