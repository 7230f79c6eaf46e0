#include "reports/page_frame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "reports/data_list_page.h"
#include "reports/recording_surface.h"

namespace dorvel::reports {
namespace {

PatientFacts Facts() {
    PatientFacts f;
    f.patientId = "P17";
    f.dateFormat = 0;
    PatientProfile& p = f.profile;
    p.name = "M\xfcller Anna";  // Windows-1252 ü
    p.telephone = "0301234";
    p.mobile = "0170999";
    p.email = "anna@example.org";
    p.room = "12";
    p.bed = "3";
    p.physician = "Dr. Berg";
    p.carer = "Tom";
    p.hospital = "St. Georg";
    p.physicianTelephone = "0305555";
    p.physicianMobile = "0171888";
    p.physicianEmail = "berg@example.org";
    p.physicianFax = "0305556";
    p.diagnosisDate = Date{2011, 6, 30};
    return f;
}

TEST(PaperMetrics, ScaleAndPositions) {
    const PaperMetrics a4 = PaperMetrics::FromMillimetres(202, 289);
    EXPECT_EQ(a4.width, 11451);
    EXPECT_EQ(a4.height, 16384);
    EXPECT_NEAR(a4.scale, 1.0, 0.001);

    // Narrow paper shrinks distances and fonts, never the vertical fortieths.
    const PaperMetrics half = PaperMetrics::FromTwips(11451 / 2, 16384);
    EXPECT_LT(half.X(5000) - half.CentreX(), 2500);
    EXPECT_EQ(half.Y(33), a4.Y(33));
    EXPECT_EQ(PrintFonts::ForScale(half.scale).title.height, -20 * 9);  // 20 pt x 0.49995
    EXPECT_EQ(PrintFontHeight(10, 0.05f), 0);  // below one point: the default height
}

TEST(PageFrame, HeaderOfEveryKind) {
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    const PatientFacts facts = Facts();
    for (int kind = 0; kind <= 10; ++kind) {
        SCOPED_TRACE(kind);
        RecordingSurface s;
        const Font before{"Arial", 14, 400};
        s.SetFont(before);
        DrawHeader(s, paper, fonts, kind, facts, FrameStyleOf(kDataListIndex), false);
        EXPECT_EQ(s.font(), before);  // the header gives the font back

        const auto texts = s.Texts();
        ASSERT_FALSE(texts.empty());
        const auto& title = *texts[0];
        EXPECT_EQ(title.text, PageKindTitle(kind));
        // The longest titles are set smaller to stay on the sheet.
        const bool longTitle = kind == 5 || kind == 6 || kind == 8;
        EXPECT_EQ(title.font == fonts.title, !longTitle);
        EXPECT_EQ(
            std::count_if(s.ops().begin(), s.ops().end(),
                          [](const auto& op) { return op.kind == RecordingSurface::Kind::Line; }),
            2);
        if (kind == 9) {
            EXPECT_EQ(texts.size(), 1u);  // no patient lines
        } else {
            ASSERT_EQ(texts.size(), 6u);
            const bool cover = kind == 1;
            EXPECT_EQ(texts[1]->text, cover ? "" : "Patient : Müller Anna");
            EXPECT_EQ(texts[2]->text, cover ? "" : "ID : P17");
            EXPECT_EQ(texts[4]->text, cover ? "" : "Handy : 0170999");
        }
    }
}

TEST(PageFrame, HeaderVariantsOfThePrintingPage) {
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    PatientFacts facts = Facts();

    RecordingSurface graph;
    DrawHeader(graph, paper, fonts, 5, facts, FrameStyleOf(kDayGraphIndex), true);
    // Pages that do not name the patient leave the name box empty, label and all.
    EXPECT_EQ(graph.FindTextStarting("Patient"), nullptr);
    EXPECT_NE(graph.FindText(""), nullptr);
    EXPECT_NE(graph.FindText("Mobil : 0170999"), nullptr);
    EXPECT_NE(graph.FindText("Festgestellt am : 2011-06-30 Thu"), nullptr);

    facts.dateFormat = 1;
    RecordingSurface us;
    DrawHeader(us, paper, fonts, 3, facts, FrameStyleOf(kLogbookIndex), true);
    EXPECT_NE(us.FindText("Festgestellt am : 06/30/2011 Thu"), nullptr);
    EXPECT_NE(us.FindText("Handy : 0170999"), nullptr);
    // Every loaded profile has the day-first format: its date is printed, not left out.
    facts.dateFormat = 2;
    RecordingSurface other;
    DrawHeader(other, paper, fonts, 9, facts, FrameStyleOf(kPatientListIndex), true);
    EXPECT_NE(other.FindText("Festgestellt am : 30/06/2011 Thu"), nullptr);
    facts.profile.birthDate = Date{1948, 2, 29};
    RecordingSurface cover;
    DrawCoverSheet(cover, paper, fonts, facts);
    EXPECT_NE(cover.FindText("Geb.datum : 29/02/1948 Sun"), nullptr);
}

TEST(PageFrame, FooterVariants) {
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    const PatientFacts facts = Facts();
    const std::string b30(30, ' ');

    RecordingSurface data;
    DrawFooter(data, paper, fonts, 2, facts, FrameStyleOf(kDataListIndex));
    auto t = data.Texts();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0]->text, "Zimmer Nr. : 12" + b30 + "Bett Nr. : 3");
    EXPECT_EQ(t[0]->font, fonts.text);
    EXPECT_EQ(t[1]->text, "Arzt : Dr. Berg" + std::string(31, ' ') + "Betreuer(in) : Tom");
    EXPECT_EQ(t[1]->font, fonts.largeText);
    EXPECT_EQ(t[2]->text, "Hospital : St. Georg" + b30);
    EXPECT_EQ(t[3]->text, "Tel. : 0305555" + b30 + "Handy : 0171888");
    EXPECT_EQ(t[4]->text, "Email : berg@example.org\t" + b30 + "Fax : 0305556");

    RecordingSurface list;
    DrawFooter(list, paper, fonts, 9, facts, FrameStyleOf(kPatientListIndex));
    t = list.Texts();
    ASSERT_EQ(t.size(), 3u);  // neither room nor physician line
    EXPECT_EQ(t[0]->text, "Hospital : St. Georg" + b30);
    EXPECT_EQ(t[0]->font, fonts.text);
    EXPECT_EQ(t[1]->text, "Tel. : 0305555" + b30 + "Mobil : 0171888");

    RecordingSurface logbook;
    DrawFooter(logbook, paper, fonts, 3, facts, FrameStyleOf(kLogbookIndex));
    t = logbook.Texts();
    ASSERT_EQ(t.size(), 5u);
    for (const auto* op : t)
        EXPECT_EQ(op->text, "");
}

}  // namespace
}  // namespace dorvel::reports
