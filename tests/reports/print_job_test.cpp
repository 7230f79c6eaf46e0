#include "reports/print_job.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "reports/painter_surface.h"
#include "reports/recording_surface.h"
#include "support/cli_fixture.h"
#include "support/records.h"

namespace dorvel::reports {
namespace {

ReadingList Readings(int count) {
    ReadingList list;
    for (int i = 0; i < count; ++i) {
        const Date d = CivilFromDays(DaysFromCivil(2011, 1, 1) + i);
        list.push_back(ReadingFromRecord(
            test::StoredRecord(1, i % 6, d.year, d.month, d.day, 7 + i % 12, 5, 60 + i % 150)));
    }
    return list;
}

PatientFacts Facts() {
    PatientFacts f;
    f.patientId = "P42";
    f.dateFormat = 0;
    f.profile.name = "J\xf6rg Beispiel";
    f.profile.telephone = "030-111";
    f.profile.physician = "Dr. Wei\xdf";
    f.profile.hospital = "Klinikum Nord";
    f.profile.diabetesType = 1;
    f.profile.treatDiet = 1;
    f.profile.treatOral = 1;
    f.profile.diagnosisComments = "Seit 2009 bekannt, gut eingestellt.";
    return f;
}

TEST(PrintJob, CertificateDataPagesTakeThirtyReadingsEach) {
    const ReadingList list = Readings(60);
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    const BodyPainter body = DataListBody(list, UserSettings{}, RunSettings{}, Facts(), 1,
                                          static_cast<int>(list.size()));

    const auto rowsOn = [&](int inKind) {
        RecordingSurface s;
        body(s, paper, fonts, PagePlace{kDataListKind, inKind});
        return s;
    };
    const RecordingSurface first = rowsOn(1);
    EXPECT_EQ(first.Texts().size(), 8u + 30u * 8u);
    EXPECT_EQ(first.Texts()[8]->text, "1");
    EXPECT_EQ(first.Texts()[8]->rect.top, paper.Y(7.8));
    const RecordingSurface second = rowsOn(2);
    EXPECT_EQ(second.Texts()[8]->text, "31");
    EXPECT_EQ(second.Texts().back()->rect.bottom, paper.Y(8.6 + 0.8 * 29));
    EXPECT_EQ(rowsOn(3).Texts().size(), 8u);  // header only

    RecordingSurface cover;
    body(cover, paper, fonts, PagePlace{kCoverKind, 1});
    EXPECT_NE(cover.FindText("Name : Jörg Beispiel"), nullptr);
    EXPECT_NE(cover.FindText("Diabetes-Typ : Type II"), nullptr);
    EXPECT_NE(cover.FindText("Behandlung :  Diät.  Medikament oral."), nullptr);
    EXPECT_NE(cover.FindText("Seit 2009 bekannt, gut eingestellt."), nullptr);
}

TEST(PrintJob, PdfCertificateHoldsHeaderPatientAndTableTexts) {
    test::TempFolder folder;
    const ReadingList list = Readings(45);
    PrintJob job;
    job.facts = Facts();
    job.choices.Open(kDataListIndex);
    job.choices.ChooseRange(1, kDataListIndex);
    job.sizes.listedReadings = static_cast<int>(list.size());
    job.body =
        DataListBody(list, UserSettings{}, RunSettings{}, job.facts, 1, job.sizes.listedReadings);
    int pages = 0;
    const std::string pdf = folder.File("cert.pdf");
    ASSERT_TRUE(PrintToPdf(pdf, job, &pages).ok());
    EXPECT_EQ(pages, 3);

    const std::string text = test::PdfText(pdf, true);
    for (const char* expected :
         {"ÄRZTLICHE BESCHEINIGUNG", "DATEN", "Patient Profile", "Name : Jörg Beispiel",
          "Patient : Jörg Beispiel", "ID : P42", "Tel. : 030-111", "Arzt : Dr. Weiß",
          "Hospital : Klinikum Nord", "Messbereich", "Tageszeit", "Kontroll-Lösung", "Zielbereich",
          "14.02.2011 Mo", "Nach Medikamenten-", "Einnahme"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(text.find("Patient : \n"), std::string::npos);
}

TEST(PrintJob, ScreenPageOnAnImageHasTheRangeColours) {
    ReadingList list;
    list.push_back(ReadingFromRecord(test::StoredRecord(1, 0, 2011, 5, 1, 9, 0, 300)));
    list.push_back(ReadingFromRecord(test::StoredRecord(1, 5, 2011, 5, 2, 9, 0, 90)));
    QImage image(811, 651, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        PainterSurface surface(painter);
        DrawDataListScreen(surface, MakeDataListView(list, 2, UserSettings{}, RunSettings{}),
                           Growth{});
    }
    const auto at = [&](int x, int y) { return image.pixelColor(x, y); };
    EXPECT_EQ(at(5, 5), QColor(Qt::white));
    EXPECT_EQ(at(0, 0), QColor(Qt::black));        // background outline
    EXPECT_EQ(at(12, 12), QColor(192, 192, 192));  // header cell
    EXPECT_EQ(at(12, 30), QColor(192, 255, 255));  // row 0: control
    EXPECT_EQ(at(12, 50), QColor(255, 192, 192));  // row 1: high
    EXPECT_EQ(at(12, 70), QColor(Qt::white));      // no row 2
    EXPECT_EQ(at(10, 40), QColor(Qt::black));      // cell grid
}

}  // namespace
}  // namespace dorvel::reports
