// The logbook and the summary on paper: printed into a PDF, and placed on
// the certificate month by month.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <sstream>

#include "monthly_page_support.h"
#include "reports/logbook_page.h"
#include "reports/painter_surface.h"
#include "reports/print_job.h"
#include "reports/report_text.h"
#include "support/cli_fixture.h"

namespace dorvel::reports {
namespace {

using test::Patient;
using test::TextIn;

// The lines of the printed page, blanks collapsed.
std::vector<std::string> PrintedLines(const ReportData& data, int pageIndex) {
    test::TempFolder folder;
    PrintChoices choices;
    choices.Open(pageIndex);
    const std::string pdf = folder.File("page.pdf");
    int pages = 0;
    EXPECT_TRUE(PrintToPdf(pdf, MakeReportPrintJob(data, pageIndex, choices), &pages).ok());
    EXPECT_EQ(pages, 1);
    std::vector<std::string> lines;
    std::istringstream in(test::Words(test::PdfText(pdf, true)));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

// A line that holds `wanted` (the left and the right table share a line).
bool HasLineWith(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(wanted) != std::string::npos; });
}

TEST(MonthlyPagesPrint, PrintedLogbookHoldsEveryDayWithItsValues) {
    const std::vector<std::string> lines =
        PrintedLines(test::JunePatient().Data(UserSettings{}, test::kJuneEnd), kLogbookIndex);
    EXPECT_TRUE(HasLine(lines, "31.05.2011"));
    EXPECT_TRUE(HasLine(lines, "15.06.2011"));
    for (int d = 1; d <= 30; ++d) {
        if (d == 15)
            continue;
        std::string row = Printf("%02d.06.2011 %3d %3d (%3d / %3d) %3d (%3d / %3d) ", d, 60 + d,
                                 125 + d, 100 + d, 150 + d, 110 + d, 90 + d, 130 + d);
        if (d % 2 == 0)
            row += Printf("%3d (%3d / %3d) ", 190 + d, 170 + d, 210 + d);
        row += Printf("%3d", 200 + d);
        EXPECT_TRUE(HasLine(lines, test::Words(row))) << row;
    }
    EXPECT_TRUE(HasLineWith(lines, "Frühstück (vor/nach) Mittagessen (vor/nach)"));
}

TEST(MonthlyPagesPrint, PrintedSummaryHoldsEveryFigure) {
    UserSettings s;
    s.timeFormat = 1;
    const ReportData data = test::JunePatient().Data(s, test::kJuneEnd);
    const std::vector<std::string> lines = PrintedLines(data, kSummaryIndex);
    const OverallStats& o = data.stats.overall;
    const PeriodStats& p = data.stats.period;
    const auto n = [](int v) { return std::to_string(v); };
    for (const std::string& row :
         {"Gesamtdurchschnitt " + n(o.overallMean) + " Zeitraum 31.05.2011 ~ 30.06.2011",
          "Tagesdurchschnitt " + n(o.overallDailyMean) + " Monatsdurchschnitt " + n(p.periodMean),
          "Standardabweichung " + n(o.overallSD) + " Tagesdurchschnitt " + n(p.periodDailyMean),
          "Anzahl der Messungen " + n(o.readingCount) + " Standardabweichung " + n(p.periodSD),
          "Tage mit Messung " + n(o.overallDays) + " Anzahl der Messungen " +
              n(p.periodReadingCount),
          "Höchster Messwert " + n(o.overallMax) + " Tage mit Messung " + n(p.periodReadingDays),
          "Niedrigster Messwert " + n(o.overallMin) + " Höchster Messwert " + n(p.periodMax),
          "Niedrigster Messwert " + n(p.periodMin)}) {
        EXPECT_TRUE(HasLine(lines, row)) << row;
    }
    // 29 days, 204 readings (one control reading besides): every count below
    // is the slot-judged one, as with meals separate.
    ASSERT_EQ(o.readingCount - o.controlCount, 204);
    const auto percent = [](int count, int of) { return std::to_string(count * 100 / of) + "%"; };
    const std::string ranges[] = {"121(156)~600", "65(100)~120(155)", "0~ 64( 99)"};
    const int overall[] = {o.overallSlotHighCount, o.overallSlotTargetCount, o.overallSlotLowCount};
    const int month[] = {p.periodSlotHighCount, p.periodSlotTargetCount, p.periodSlotLowCount};
    const char* names[] = {"Hoher Bereich", "Zielbereich", "Niedriger Bereich"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(HasLineWith(lines, std::string(names[k]) + " [Übersicht] " + ranges[k] + " " +
                                           n(overall[k]) + " " + percent(overall[k], 204)));
        EXPECT_TRUE(HasLineWith(lines, std::string(names[k]) + " [Monats-Übersicht] " + ranges[k] +
                                           " " + n(month[k]) + " " +
                                           percent(month[k], p.periodReadingCount)));
    }
    const PerSlotStats& perSlot = data.stats.perSlot;
    const std::string times[] = {"00:00 ~ 04:59", "05:00 ~ 07:59", "08:00 ~ 10:59",
                                 "11:00 ~ 12:59", "13:00 ~ 14:59", "15:00 ~ 16:59",
                                 "17:00 ~ 18:59", "19:00 ~ 23:59"};
    for (size_t k = 0; k < 8; ++k) {
        const bool night = k == 0;
        const bool evening = k == 7;
        const size_t c = night ? 0 : 4;
        const size_t sep = k - 1;
        const int mean = night || evening ? perSlot.combinedMean[c] : perSlot.separateMean[sep];
        const int sd = night || evening ? perSlot.combinedSD[c] : perSlot.separateSD[sep];
        const int count = night || evening ? perSlot.combinedCount[c] : perSlot.separateCount[sep];
        const std::string row = times[k] + " " + n(mean) + " " + n(sd) + " " + n(count);
        EXPECT_TRUE(HasLineWith(lines, row)) << row;
    }
}

TEST(MonthlyPagesPrint, CertificatePageOfMonthKShowsMonthK) {
    // Three months with readings, newest first: June 2011, April 2011, January 2010.
    Patient p;
    p.Add(2010, 1, 10, 8, 0, 80).Add(2011, 4, 10, 8, 0, 100).Add(2011, 4, 11, 8, 0, 140);
    p.Add(2011, 6, 10, 8, 0, 200);
    const ReportData data = p.Data(UserSettings{}, {2011, 6, 30});
    PrintChoices choices;
    choices.Open(kLogbookIndex);
    choices.Open(kSummaryIndex);
    choices.ChooseRange(1, kSummaryIndex);
    const PrintJob job = MakeReportPrintJob(data, kSummaryIndex, choices);
    const PageCount count = CountPages(job.choices, job.shownPageIndex, job.sizes);
    ASSERT_EQ(count.pages, 1 + 3 + 3);

    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    const auto x = [&](int screen) { return paper.width * screen / 800; };
    const auto logbookFirstDay = [&](const RecordingSurface& page) {
        const auto edges = LogbookPaperEdges(paper);
        return TextIn(page, Rect{edges[0], paper.Y(7.74 + 0.78), edges[1], paper.Y(8.52 + 0.78)});
    };
    struct Month {
        const char* firstDay;
        const char* span;
        const char* mean;
    };
    const Month months[] = {{"31.05.2011", "31.05.2011 ~ 30.06.2011", "200"},
                            {"31.03.2011", "31.03.2011 ~ 30.04.2011", "120"},
                            {"31.12.2009", "31.12.2009 ~ 30.01.2010", "80"}};
    for (int n = 2; n <= count.pages; ++n) {
        const PagePlace place = PlaceOfPage(n, count.boundary);
        ASSERT_GE(place.inKind, 1);
        const Month& m = months[place.inKind - 1];
        RecordingSurface page;
        job.body(page, paper, fonts, place);
        if (place.kind == kLogbookIndex + 1) {
            EXPECT_EQ(logbookFirstDay(page), m.firstDay) << n;
            continue;
        }
        ASSERT_EQ(place.kind, kSummaryIndex + 1);
        EXPECT_EQ(TextIn(page, Rect{x(630), paper.Y(12), x(760), paper.Y(13)}), m.span) << n;
        EXPECT_EQ(TextIn(page, Rect{x(630), paper.Y(13), x(760), paper.Y(14)}), m.mean) << n;
        // The overall figures are those of every reading on every page.
        EXPECT_EQ(TextIn(page, Rect{x(250), paper.Y(12), x(380), paper.Y(13)}), "130") << n;
        EXPECT_EQ(TextIn(page, Rect{x(250), paper.Y(15), x(380), paper.Y(16)}), "4") << n;
    }
}

// Tables on screen draw their thin outlines as pixel bands; the pixels must
// be the stroker's.
TEST(MonthlyPagesPrint, ScreenOutlinesAreTheStrokersPixels) {
    const Rect rects[] = {{10, 10, 100, 48}, {5, 5, 6, 30}, {20, 60, 40, 61}, {50, 50, 52, 52}};
    for (const bool hollow : {false, true}) {
        QImage fast(120, 80, QImage::Format_RGB32);
        QImage stroked(120, 80, QImage::Format_RGB32);
        fast.fill(Qt::gray);
        stroked.fill(Qt::gray);
        {
            QPainter painter(&fast);
            PainterSurface surface(painter);
            surface.SetBrush(Brush{kHighFill, hollow});
            for (const Rect& r : rects)
                surface.Rectangle(r);
        }
        {
            QPainter painter(&stroked);
            QPen pen(Qt::black);
            pen.setWidth(0);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.setBrush(hollow ? QBrush(Qt::NoBrush) : QBrush(QColor(255, 192, 192)));
            for (const Rect& r : rects)
                painter.drawRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
        }
        EXPECT_EQ(fast, stroked) << hollow;
    }
}

}  // namespace
}  // namespace dorvel::reports
