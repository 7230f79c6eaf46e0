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
    const auto box = [&](double from, double to, int left, const std::string& text,
                         unsigned flags = kLeftLine) {
        surface.Text(Rect{paper.X(left), paper.Y(from), paper.X(5000), paper.Y(to)}, text, flags);
    };

    box(8, 9, -5000, "Patient Profile");
    box(9, 10, -4000, "Name : " + u(p.name));
    box(9, 10, 500, "ID : " + u(facts.patientId));
    box(10, 11, -4000,
        "Geb.datum : " + FormatProfileDate(p.birthDate, facts.dateFormat).value_or(""));
    box(10, 11, 500, p.sex == 1 ? "Geschlecht : Weiblich" : "Geschlecht : Männlich");
    box(11, 12, -4000, "Tel. : " + u(p.telephone));
    box(11, 12, 500, "Handy : " + u(p.mobile));
    box(12, 13, -4000, "Email : " + u(p.email));
    box(12, 13, 500, "Fax : " + u(p.fax));
    box(13, 14, -4000, "Anschrift : " + u(p.address));
    box(14, 15, -4000, "Pflegeeinrichtung : " + u(p.careHome));
    box(14, 15, 500, "Vermerk : " + u(p.remark));

    box(16, 17, -5000, "Diagnose");
    static constexpr std::string_view types[] = {"Type I", "Type II", "Gestations-Diabetes",
                                                 "Andere"};
    const std::string_view type =
        p.diabetesType >= 0 && p.diabetesType <= 3 ? types[p.diabetesType] : std::string_view();
    box(17, 18, -4000, "Diabetes-Typ : " + std::string(type));
    box(18, 19, -4000, "Komplikationen : " + u(p.complications));
    box(19, 19.5, -4000, "Bemerkungen :");
    box(19, 24, -3000, u(p.diagnosisComments), kTopBlock);

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
    box(26, 26.5, -4000, "Bemerkungen :", kAlignLeft | kAlignTop | kSingleLine);
    box(26, 31, -3000, u(p.treatmentComments), kTopBlock);
}

}  // namespace dorvel::reports
