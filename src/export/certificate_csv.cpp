#include "certificate_csv.h"

#include "csv_text.h"
#include "store/text_encoding.h"

namespace dorvel::exports {

namespace {

std::string Cp(std::string_view utf8) {
    return Utf8ToCp1252(utf8);
}

// The certificate puts a label before the value in the same cell (": Anna");
// the whole cell is quoted when the value needs it.
std::string Labelled(std::string_view label, std::string_view value) {
    std::string cell(label);
    cell.append(value);
    return CsvCell(cell);
}

std::string Value(std::string_view value) {
    return Labelled(": ", value);
}

std::string DiabetesTypeText(int type) {
    switch (type) {
        case 1:
            return "Type II";
        case 2:
            return "Gestations-Diabetes";
        case 3:
            return "Andere";
        default:
            return "Type I";
    }
}

// ",Behandlung :" directly followed by one line per ticked treatment; with
// none ticked the label stands alone and the next line follows it directly.
std::string TreatmentLines(const PatientProfile& p) {
    std::string text = ",Behandlung :";
    const std::pair<int, const char*> items[] = {
        {p.treatDiet, "  Diät.,"},
        {p.treatSport, "  Sportl. Aktivität.,"},
        {p.treatInsulinInjection, "  Insulin-Injektion.,"},
        {p.treatInsulinPump, "  Insulinpumpe.,"},
        {p.treatOral, "  Medikament oral.,"},
        {p.treatOther, "  Andere.,"},
    };
    for (const auto& [ticked, item] : items) {
        if (ticked == 1) {
            text += Cp(item);
            text += kLineEnd;
        }
    }
    return text;
}

}  // namespace

std::string CertificateCsv(const PatientProfile& p, std::string_view patientId, const Date& today,
                           int dateFormat) {
    std::string out;
    const auto line = [&out](std::string_view text) {
        out.append(text);
        out.push_back(kLineEnd);
    };
    const auto emptyLines = [&line](int count) {
        for (int i = 0; i < count; ++i)
            line("");
    };

    emptyLines(2);
    line(Cp(",,ÄRZTLICHE BESCHEINIGUNG,,,,"));
    line(std::string(58, '='));
    line("Festgestellt am : " + DateWithWeekday(today, dateFormat) + ",");
    emptyLines(1);
    line("[Patient Profile]");
    line(",NAME," + Value(p.name) + ",,ID," + Value(patientId) + ",,,");
    const std::string birth = DateWithWeekday(p.birthDate, 0);
    line(
        Cp(p.sex == 1 ? ",Geschlecht,: Weiblich,,DOB,: " : ",Geschlecht,: Männlich,,Geb.datum,: ") +
        birth + " ");
    line(",Tel.," + Value(p.telephone) + ",,Handy," + Value(p.mobile) + ",,,");
    line(",Email," + Value(p.email) + ",,Fax," + Value(p.fax) + ",,,");
    line(",Anschrift," + Value(p.address) + ",,,,,,");
    line(",Pflegeeinrichtung," + Value(p.careHome) + ",,,,,,");
    line(",Zimmer Nr," + Value(p.room) + ",,Bett Nr.," + Value(p.bed) + ",");
    line(",Remark," + Value(p.remark) + ",,,,,,");
    emptyLines(2);
    line("[Diagnosis]");
    line(",Diabetes-Typ ,: " + DiabetesTypeText(p.diabetesType) + ",");
    line(",Komplikationen," + Value(p.complications) + ",,");
    line(",Bemerkungen," + Value(p.diagnosisComments) + ",,");
    emptyLines(6);
    line("[Behandlung]");
    out += TreatmentLines(p);
    emptyLines(1);
    line(",Bemerkungen," + Value(p.treatmentComments) + ",,");
    emptyLines(10);
    line("[Physician]");
    line("," + Labelled("Physician Name: ", p.physician) + Cp(",,°Betreuer,") + Value(p.carer) +
         ",");
    line(",Krankenhaus," + Value(p.hospital) + ",,");
    line(",Tel.," + Value(p.physicianTelephone) + ",,Handy," + Value(p.physicianMobile) + ",");
    line(",Email," + Value(p.physicianEmail) + ",,FAX," + Value(p.physicianFax) + ",");
    return out;
}

}  // namespace dorvel::exports
