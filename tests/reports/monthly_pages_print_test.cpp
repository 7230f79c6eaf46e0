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

TEST(MonthlyPages, EveryTextFitsItsBoxOnScreenAndPaper) {
    const Patient june = test::JunePatient();
    PatientFacts facts;
    facts.patientId = "P1";
    facts.profile.physician = "Dr. med. Friedrich-Wilhelm Oberndorfer";
    for (const int page : {kLogbookIndex, kSummaryIndex}) {
        for (const int unit : {0, 1}) {
            for (const int separate : {0, 1}) {
                UserSettings s;
                s.glucoseUnit = unit;
                s.separateMeals = separate;
                s.timeFormat = separate;
                s.dateFormat = unit;
                const ReportData data = june.Data(s, test::kJuneEnd);
                for (const int grown : {0, -20}) {
                    RecordingSurface screen;
                    DrawReportScreen(page, screen, data, Growth{grown, 0});
                    EXPECT_TRUE(test::TextsFitTheirBoxes(screen)) << page << unit << separate;
                }
                EXPECT_TRUE(test::TextsFitTheirBoxes(test::FramedSheet(page, kA4, data, facts)))
                    << page << unit << separate;
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
