// The cover sheet of the certificate: patient profile, diagnosis, treatment.
#include "data_list_page.h"
#include "store/text_encoding.h"

namespace dorvel::reports {

void DrawCoverSheet(Surface& surface, const PaperMetrics& paper, const PrintFonts& fonts,
                    const PatientFacts& facts) {
    const FontRestorer restore(surface);
    surface.SetFont(fonts.text);
    surface.SetTextColor(kBlack);
    surface.SetBackground(kWhite, true);
    const PatientProfile& p = facts.profile;
    const auto u = [](const std::string& cp1252) { return Cp1252ToUtf8(cp1252); };
    // A box of the left column ends where the right column begins, so a long
    // value is set smaller instead of running into its neighbour.
    const auto box = [&](double from, double to, int left, const std::string& text,
                         unsigned flags = kLeftLine, int right = 5000) {
        surface.Text(Rect{paper.X(left), paper.Y(from), paper.X(right), paper.Y(to)}, text, flags);
    };
    const auto leftOfPair = [&](double from, double to, const std::string& text) {
        box(from, to, -4000, text, kLeftLine, 400);
    };

    box(8, 9, -5000, "Patient Profile");
    leftOfPair(9, 10, "Name : " + u(p.name));
    box(9, 10, 500, "ID : " + u(facts.patientId));
    leftOfPair(10, 11, "Geb.datum : " + DateWithWeekday(p.birthDate, facts.dateFormat));
    box(10, 11, 500, p.sex == 1 ? "Geschlecht : Weiblich" : "Geschlecht : Männlich");
    leftOfPair(11, 12, "Tel. : " + u(p.telephone));
    box(11, 12, 500, "Handy : " + u(p.mobile));
    leftOfPair(12, 13, "Email : " + u(p.email));
    box(12, 13, 500, "Fax : " + u(p.fax));
    box(13, 14, -4000, "Anschrift : " + u(p.address));
    leftOfPair(14, 15, "Pflegeeinrichtung : " + u(p.careHome));
    box(14, 15, 500, "Vermerk : " + u(p.remark));

    box(16, 17, -5000, "Diagnose");
    static constexpr std::string_view types[] = {"Type I", "Type II", "Gestations-Diabetes",
                                                 "Andere"};
    const std::string_view type =
        p.diabetesType >= 0 && p.diabetesType <= 3 ? types[p.diabetesType] : std::string_view();
    box(17, 18, -4000, "Diabetes-Typ : " + std::string(type));
    box(18, 19, -4000, "Komplikationen : " + u(p.complications));
    // The remarks start on the line under their label.
    box(19, 20, -4000, "Bemerkungen :");
    box(20, 24, -3000, u(p.diagnosisComments), kTopBlock);

    std::string treatment = "Behandlung :";
    const std::pair<int, std::string_view> flags[] = {
        {p.treatDiet, "  Diät."},
        {p.treatSport, "  Sportl. Aktivität."},
        {p.treatInsulinInjection, "  Insulin-Injektion."},
        {p.treatInsulinPump, "  Insulinpumpe."},
        {p.treatOral, "  Medikament oral."},
        {p.treatOther, "  Andere."}};
    for (const auto& [on, text] : flags) {
        if (on == 1)
            treatment += text;
    }
    box(25, 26, -5000, treatment);
    box(26, 27, -4000, "Bemerkungen :");
    box(27, 31, -3000, u(p.treatmentComments), kTopBlock);
}

}  // namespace dorvel::reports
