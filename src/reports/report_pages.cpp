#include "report_pages.h"

#include <map>
#include <memory>

#include "analysis/month_walk.h"
#include "data_list_page.h"
#include "day_graph_page.h"
#include "glucose_profile_page.h"
#include "logbook_page.h"
#include "mealtime_bar_page.h"
#include "mealtime_graph_page.h"
#include "patient_list_page.h"
#include "range_bar_page.h"
#include "summary_page.h"

namespace dorvel::reports {

ReportData MakeReportData(const ReadingList& readings, const UserSettings& settings,
                          const RunSettings& run, const Date& today, const Date& selectedDate) {
    ReportData data;
    data.readings = &readings;
    data.settings = settings;
    data.run = run;
    data.today = today;
    data.selectedDate = selectedDate;
    data.stats = Recompute(readings, settings, selectedDate);
    data.dataListStart = static_cast<int>(readings.size());
    data.facts.dateFormat = settings.dateFormat;
    return data;
}

void DrawReportScreen(int pageIndex, Surface& surface, const ReportData& data, Growth growth) {
    switch (pageIndex) {
        case kDataListIndex:
            DrawDataListScreen(
                surface,
                MakeDataListView(*data.readings, data.dataListStart, data.settings, data.run),
                growth);
            break;
        case kLogbookIndex:
            DrawLogbookScreen(surface, data, growth);
            break;
        case kSummaryIndex:
            DrawSummaryScreen(surface, data, growth);
            break;
        case kDayGraphIndex:
            DrawDayGraphScreen(surface, data, growth);
            break;
        case kMealtimeGraphIndex:
            DrawMealtimeGraphScreen(surface, data, growth);
            break;
        case kRangeBarIndex:
            DrawRangeBarScreen(surface, data, growth);
            break;
        case kMealtimeBarIndex:
            DrawMealtimeBarScreen(surface, data, growth);
            break;
        case kPatientListIndex:
            DrawPatientListScreen(surface, data, growth);
            break;
        case kGlucoseProfileIndex:
            DrawGlucoseProfileScreen(surface, data, growth);
            break;
        default:
            break;
    }
}

int ReportScreenHeight(int pageIndex, const ReportData& data) {
    if (pageIndex == kPatientListIndex)
        return PatientListScreenHeight(data);
    return kBaseScreenHeight;
}

void DrawReportPaper(int pageIndex, Surface& surface, const PaperMetrics& paper,
                     const PrintFonts& fonts, const ReportData& data, int sheet) {
    switch (pageIndex) {
        case 0:
            DrawCoverSheet(surface, paper, fonts, data.facts);
            break;
        case kDataListIndex:
            DrawDataListPaper(
                surface, paper,
                MakeDataListView(*data.readings, data.dataListStart, data.settings, data.run));
            break;
        case kLogbookIndex:
            DrawLogbookPaper(surface, paper, data);
            break;
        case kSummaryIndex:
            DrawSummaryPaper(surface, paper, data);
            break;
        case kDayGraphIndex:
            DrawDayGraphPaper(surface, paper, data);
            break;
        case kMealtimeGraphIndex:
            DrawMealtimeGraphPaper(surface, paper, data);
            break;
        case kRangeBarIndex:
            DrawRangeBarPaper(surface, paper, data);
            break;
        case kMealtimeBarIndex:
            DrawMealtimeBarPaper(surface, paper, data);
            break;
        case kPatientListIndex:
            DrawPatientListPaper(surface, paper, data, sheet);
            break;
        case kGlucoseProfileIndex:
            DrawGlucoseProfilePaper(surface, paper, data);
            break;
        default:
            break;
    }
}

int ReportSheets(int pageIndex, const ReportData& data) {
    return pageIndex == kPatientListIndex ? PatientListSheets(data) : 1;
}

JobSizes JobSizesOf(const ReportData& data) {
    JobSizes sizes;
    const ReadingList& list = *data.readings;
    sizes.listedReadings = static_cast<int>(list.size());
    if (data.run.controlDisplay == 1)
        sizes.listedReadings -= static_cast<int>(list.ControlCount());
    sizes.monthPages = MonthPages(list, data.today);
    sizes.listSheets = PatientListSheets(data);
    return sizes;
}

namespace {

bool IsMonthlyReport(int pageIndex) {
    return (pageIndex >= kLogbookIndex && pageIndex <= kMealtimeBarIndex) ||
           pageIndex == kGlucoseProfileIndex;
}

// The certificate's monthly pages, newest month first. Every monthly report
// walks the same months, so each month's statistics are computed once.
class MonthlyData {
  public:
    explicit MonthlyData(const ReportData& data)
        : base_(data), months_(MonthsWithReadings(*data.readings, data.today)) {
        dateKeys_.reserve(data.readings->size());
        for (const Reading& r : *data.readings)
            dateKeys_.push_back(DateKeyOf(std::string_view(r.timestamp).substr(0, 8)));
    }

    // The data of the n-th month with readings (1 the newest), or null.
    const ReportData* Month(int n) {
        if (n < 1 || n > static_cast<int>(months_.size()))
            return nullptr;
        auto it = cache_.find(n);
        if (it == cache_.end()) {
            ReportData month = base_;
            month.selectedDate = months_[static_cast<size_t>(n - 1)];
            month.stats = StatisticsOf(month.selectedDate);
            it = cache_.emplace(n, std::move(month)).first;
        }
        return &it->second;
    }

  private:
    // The period's statistics come from its own readings alone, so only
    // those are passed through the computation (in list order, as the whole
    // list would give them); the overall statistics are the same for every
    // month. Hundreds of months then cost little more than one pass.
    Statistics StatisticsOf(const Date& selected) const {
        const AnalysisPeriod period = ComputePeriod(selected);
        const ReadingList& all = *base_.readings;
        ReadingList inPeriod;
        for (size_t i = 0; i < all.size(); ++i) {
            if (period.KeyInRange(dateKeys_[i]))
                inPeriod.push_back(all[i]);
        }
        Statistics stats = Recompute(inPeriod, base_.settings, selected);
        stats.overall = base_.stats.overall;
        return stats;
    }

    ReportData base_;
    std::vector<Date> months_;
    std::vector<DateKey> dateKeys_;  // of each reading, in list order
    std::map<int, ReportData> cache_;
};

}  // namespace

BodyPainter ReportBody(const ReportData& data, int printRange) {
    auto monthly = std::make_shared<MonthlyData>(data);
    const BodyPainter dataList = DataListBody(*data.readings, data.settings, data.run, data.facts,
                                              printRange, data.dataListStart);
    return [data, printRange, monthly, dataList](Surface& surface, const PaperMetrics& paper,
                                                 const PrintFonts& fonts, const PagePlace& place) {
        const int pageIndex = place.kind - 1;
        if (pageIndex < 0)
            return;
        if (pageIndex <= kDataListIndex) {
            dataList(surface, paper, fonts, place);
            return;
        }
        if (printRange == 0 || !IsMonthlyReport(pageIndex)) {
            DrawReportPaper(pageIndex, surface, paper, fonts, data, place.inKind);
            return;
        }
        if (const ReportData* month = monthly->Month(place.inKind))
            DrawReportPaper(pageIndex, surface, paper, fonts, *month, 1);
    };
}

PrintJob MakeReportPrintJob(const ReportData& data, int shownPageIndex,
                            const PrintChoices& choices) {
    PrintJob job;
    job.facts = data.facts;
    job.choices = choices;
    job.shownPageIndex = shownPageIndex;
    job.sizes = JobSizesOf(data);
    job.body = ReportBody(data, choices.printRange);
    return job;
}

}  // namespace dorvel::reports
