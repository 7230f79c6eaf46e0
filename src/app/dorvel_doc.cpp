#include "dorvel_doc.h"

#include "store/patient_data_file.h"

namespace dorvel {

CDorvelDoc::CDorvelDoc(std::string dataFolder, PatientStore& store, Clock clock)
    : selectedDate(clock.Today()),
      dataFolder_(std::move(dataFolder)),
      store_(store),
      clock_(clock) {}

std::string CDorvelDoc::LoadCurrentPatient() {
    store_.ReadProfile(dataFolder_, currentPatientId, profile, settings);
    std::string problem;
    readings = currentPatientId.empty() ? ReadingList{}
                                        : LoadReadings(dataFolder_, currentPatientId, &problem);
    selectedDate = clock_.Today();
    ResetListPosition();
    // A patient's data list opens on its newest readings (row 1 is the newest).
    dataList = DataListCursor{0, true};
    Recompute();
    return problem;
}

void CDorvelDoc::Recompute() {
    ++recomputeCount_;
    int count = static_cast<int>(readings.size());
    if (runSettings.controlDisplay == 1) {
        count -= static_cast<int>(readings.ControlCount());
    }
    dataList = ClampDataList(dataList, count);
    statistics = ::dorvel::Recompute(readings, settings, selectedDate);
}

}  // namespace dorvel
