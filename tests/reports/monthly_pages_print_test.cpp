// The logbook and the summary as printed: every text in its box, in a PDF,
// against the reference files, and month by month on the certificate.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <sstream>

#include "monthly_page_support.h"
#include "reports/logbook_page.h"
#include "reports/painter_surface.h"
#include "reports/report_text.h"
#include "reports/text_metrics.h"
#include "support/cli_fixture.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

using test::Patient;
using test::TextIn;

const PaperMetrics kA4 = PaperMetrics::FromMillimetres(202, 289);

RecordingSurface Body(int pageIndex, const ReportData& data) {
    RecordingSurface sheet;
    DrawReportPaper(pageIndex, sheet, kA4, PrintFonts::ForScale(kA4.scale), data, 1);
    return sheet;
}

// Every report page, in both units with meals together and apart, keeps each
// text inside its box and clear of the others with a month of readings, none,
// years of them and figures at their extremes: on screen at its size, grown
// and shrunk, and printed with header and footer on A4 upright and lying and
// on A5 lying, where the room between header and footer is low.
TEST(ReportPages, EveryTextFitsOnScreenAndPaper) {
    PatientFacts facts;
    facts.patientId = "KLINIK-STATION-7";
    facts.profile.physician = "Dr. med. Friedrich-Wilhelm Oberndorfer";
    facts.profile.room = "12";
    facts.profile.bed = "3";
    const Patient june = test::JunePatient();
    const ReadingList years = ReadingsFromImage(test::RandomStoredRecords(4000, 3, 1, 1));
    for (int mode = 0; mode < 4; ++mode) {
        UserSettings s;
        s.glucoseUnit = s.dateFormat = mode & 1;
        s.separateMeals = s.timeFormat = mode >> 1;
        const Date end{2025, 6, 30};
        std::vector<ReportData> cases = {
            june.Data(s, test::kJuneEnd), Patient().Data(s, test::kJuneEnd),
            MakeReportData(years, s, RunSettings{}, end, end), june.Data(s, test::kJuneEnd)};
        // Long counts, limits close together, averages at the axis ends.
        ReportData& extreme = cases.back();
        extreme.settings.overall = {80, 95};
        extreme.settings.beforeMeal = {70, 80};
        extreme.settings.afterMeal = {75, 90};
        Statistics& stats = extreme.stats;
        stats.overall.overallLowCount = stats.overall.overallSlotLowCount = 12345;
        stats.overall.overallTargetCount = stats.overall.overallSlotTargetCount = 30000;
        stats.perSlot.combinedMean = {600, 10, 599, 300, 155};
        stats.perSlot.separateMean = {600, 590, 10, 20, 150, 151};
        stats.perSlot.combinedCount.fill(1);
        stats.perSlot.separateCount.fill(1);
        for (size_t k = 0; k < cases.size(); ++k) {
            for (const int page :
                 {kLogbookIndex, kSummaryIndex, kDayGraphIndex, kMealtimeGraphIndex, kRangeBarIndex,
                  kMealtimeBarIndex, kGlucoseProfileIndex}) {
                SCOPED_TRACE(testing::Message()
                             << "page " << page << " mode " << mode << " case " << k);
                for (const Growth growth : {Growth{}, Growth{400, 250}, Growth{-20, 0}}) {
                    RecordingSurface screen;
                    DrawReportScreen(page, screen, cases[k], growth);
                    EXPECT_TRUE(test::TextsFitTheirBoxes(screen)) << growth.width;
                }
                for (const PaperMetrics& paper : {kA4, PaperMetrics::FromMillimetres(289, 202),
                                                  PaperMetrics::FromMillimetres(202, 140)}) {
                    EXPECT_TRUE(
                        test::TextsFitTheirBoxes(test::FramedSheet(page, paper, cases[k], facts)))
                        << paper.width << " x " << paper.height;
                }
            }
        }
    }
}

TEST(MonthlyPages, DrawingsMatchTheirReferences) {
    const Patient june = test::JunePatient();
    const ReportData data = june.Data(UserSettings{}, test::kJuneEnd);
    RecordingSurface screen;
    DrawReportScreen(kLogbookIndex, screen, data, Growth{});
    test::ExpectReference(test::Dump(screen), "logbook-screen.txt");
    test::ExpectReference(test::Dump(Body(kSummaryIndex, data)), "summary-paper.txt");
}

// Every printed report page holds every text its body draws, a line of a
// broken text at a time; the logbook has each day on one line with its values.
TEST(ReportPages, PrintedPdfHoldsEveryTextOfThePage) {
    UserSettings s;
    s.timeFormat = 1;
    const Patient june = test::JunePatient();  // the data points into its readings
    const ReportData data = june.Data(s, test::kJuneEnd);
    test::TempFolder folder;
    for (const int page : {kLogbookIndex, kSummaryIndex, kDayGraphIndex, kMealtimeGraphIndex,
                           kRangeBarIndex, kMealtimeBarIndex, kGlucoseProfileIndex}) {
        PrintChoices choices;
        choices.Open(page);
        const std::string pdf = folder.File("page.pdf");
        ASSERT_TRUE(PrintToPdf(pdf, MakeReportPrintJob(data, page, choices)).ok());
        // A text set on several lines by the printer reads whole without the layout.
        const auto flat = [](const std::string& t) {
            std::istringstream words(t);
            std::string word, joined;
            while (words >> word)
                joined += word + " ";
            return joined;
        };
        const std::string text = test::Words(test::PdfText(pdf, true));
        const std::string raw = flat(test::PdfText(pdf));
        const RecordingSurface body = Body(page, data);
        for (const auto* op : body.Texts()) {
            std::istringstream lines(test::Words(op->text));
            for (std::string line; std::getline(lines, line);)
                EXPECT_TRUE(text.find(line) != std::string::npos ||
                            raw.find(flat(op->text)) != std::string::npos)
                    << page << ": " << line;
        }
        if (page != kLogbookIndex)
            continue;
        for (int d = 1; d <= 30; ++d) {
            std::string row = Printf("\n%02d.06.2011", d);
            if (d != 15)
                row += Printf(" %3d %3d (%3d / %3d) %3d (%3d / %3d) ", 60 + d, 125 + d, 100 + d,
                              150 + d, 110 + d, 90 + d, 130 + d);
            if (d != 15 && d % 2 == 0)
                row += Printf("%3d (%3d / %3d) ", 190 + d, 170 + d, 210 + d);
            if (d != 15)
                row += Printf("%3d", 200 + d);
            EXPECT_NE(text.find(test::Words(row + "\n")), std::string::npos) << row;
        }
    }
}

TEST(MonthlyPages, CertificatePageOfMonthKShowsMonthK) {
    // Three months with readings, newest first: June 2011, April 2011, January 2010.
    Patient p;
    p.Add(2010, 1, 10, 8, 0, 80).Add(2011, 4, 10, 8, 0, 100).Add(2011, 4, 11, 8, 0, 140);
    p.Add(2011, 6, 10, 8, 0, 200);
    PrintChoices choices;
    choices.Open(kLogbookIndex);
    choices.Open(kSummaryIndex);
    choices.ChooseRange(1, kSummaryIndex);
    const PrintJob job =
        MakeReportPrintJob(p.Data(UserSettings{}, {2011, 6, 30}), kSummaryIndex, choices);
    const PageCount count = CountPages(job.choices, job.shownPageIndex, job.sizes);
    ASSERT_EQ(count.pages, 1 + 3 + 3);

    const auto x = [](int screen) { return kA4.width * screen / 800; };
    const auto edges = LogbookPaperEdges(kA4);
    const char* firstDays[] = {"31.05.2011", "31.03.2011", "31.12.2009"};
    const char* means[] = {"200", "120", "80"};
    for (int n = 2; n <= count.pages; ++n) {
        const PagePlace place = PlaceOfPage(n, count.boundary);
        RecordingSurface page;
        job.body(page, kA4, PrintFonts::ForScale(kA4.scale), place);
        const auto k = static_cast<size_t>(place.inKind - 1);
        if (place.kind == kLogbookIndex + 1) {
            EXPECT_EQ(TextIn(page, Rect{edges[0], kA4.Y(8.52), edges[1], kA4.Y(9.30)}),
                      firstDays[k]);
            continue;
        }
        EXPECT_EQ(TextIn(page, Rect{x(630), kA4.Y(13), x(760), kA4.Y(14)}), means[k]) << n;
        // The overall mean is that of every reading on every page.
        EXPECT_EQ(TextIn(page, Rect{x(250), kA4.Y(12), x(380), kA4.Y(13)}), "130") << n;
    }
}

// Tables on screen draw their outlines as pixel bands and their one-line
// texts without a layout; the pixels must be those Qt's own paths give.
TEST(MonthlyPages, FastTablePathsDrawQtsOwnPixels) {
    const Rect rects[] = {{10, 10, 100, 48}, {5, 5, 6, 30}, {20, 60, 40, 61}, {50, 50, 52, 52}};
    const std::pair<unsigned, int> texts[] = {
        {kCentredLine, Qt::AlignCenter},
        {kLeftLine, Qt::AlignLeft | Qt::AlignVCenter},
        {kAlignRight | kAlignBottom, Qt::AlignRight | Qt::AlignBottom},
        {kAlignHCenter, Qt::AlignHCenter | Qt::AlignTop}};
    const Font font{"Arial", 13, 400};
    for (const bool hollow : {false, true}) {
        QImage fast(120, 80, QImage::Format_RGB32);
        fast.fill(Qt::gray);
        QImage qt = fast;
        {
            QPainter painter(&fast);
            PainterSurface surface(painter);
            surface.SetBrush(Brush{kHighFill, hollow});
            for (const Rect& r : rects)
                surface.Rectangle(r);
            surface.SetFont(font);
            surface.SetBackground(kWhite, false);
            for (const auto& [flags, qtFlags] : texts)
                surface.Text(Rect{10, 10, 100, 48}, "157 (14 / 1)", flags);
        }
        QPainter painter(&qt);
        QPen pen(Qt::black, 0);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(hollow ? QBrush(Qt::NoBrush) : QBrush(QColor(255, 192, 192)));
        for (const Rect& r : rects)
            painter.drawRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
        painter.setFont(QtFontFor(font));
        for (const auto& [flags, qtFlags] : texts)
            painter.drawText(QRect(10, 10, 90, 38), qtFlags, "157 (14 / 1)");
        painter.end();
        EXPECT_EQ(fast, qt) << hollow;
    }
}

}  // namespace
}  // namespace dorvel::reports
