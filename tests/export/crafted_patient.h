#pragma once

#include <string>

#include "store/reading.h"
#include "store/text_encoding.h"
#include "store/user_settings.h"
#include "support/records.h"

namespace dorvel::test {

// A patient whose profile holds what a CSV must survive: umlauts and the euro
// sign, a comma, quotes and a line break inside values, a formula-like room
// and bed, a telephone number starting with "+". Its "Schlaf" slot starts at
// 01:00, so one reading lies before the first slot.
inline PatientProfile CraftedProfile() {
    PatientProfile p;
    p.name = Utf8ToCp1252("Jürgen Weiß");
    p.sex = 0;
    p.birthDate = {1948, 2, 29};
    p.telephone = "+49 89 1234567";
    p.mobile = "0171 5550123";
    p.email = "j.weiss@example.de";
    p.fax = "089 1234568";
    p.address = Utf8ToCp1252("Hauptstraße 5, 80331 München");
    p.careHome = "Haus Sonnenblick \"Am See\"";
    p.remark = Utf8ToCp1252("Zuzahlung 10 € bezahlt");
    p.room = "=SUMME(A1:A9)";
    p.bed = "@Fenster";
    p.carer = Utf8ToCp1252("Maria Weiß");
    p.carerRemark = "Abends anrufen\r\nnicht vor 18 Uhr";
    p.physician = Utf8ToCp1252("Dr. Ömer Çelik");
    p.hospital = Utf8ToCp1252("Klinikum Süd");
    p.physicianTelephone = "089 3000";
    p.physicianMobile = "0172 4000";
    p.physicianEmail = "praxis@celik.de";
    p.physicianFax = "089 3001";
    p.diabetesType = 1;
    p.diagnosisDate = {2009, 5, 4};
    p.complications = "Retinopathie";
    p.diagnosisComments = "HbA1c 7,2 %";
    p.treatDiet = 1;
    p.treatInsulinPump = 1;
    p.treatOral = 1;
    p.treatmentComments = Utf8ToCp1252("Insulin: 3× täglich");
    return p;
}

inline UserSettings CraftedSettings() {
    UserSettings s;
    s.slotStart[0] = {1, 0, 0};
    return s;
}

// Two meter users; a control reading, one without temperature, one before
// the first slot, the value ends 10 and 600, every marker.
inline std::string CraftedRecords() {
    return StoredRecord(121, 0, 2011, 6, 30, 7, 15, 85, 235) +
           StoredRecord(121, 5, 2011, 6, 30, 8, 15, 85, 0) +
           StoredRecord(121, 3, 2011, 6, 30, 8, 15, 85, 230) +
           StoredRecord(1, 1, 2011, 7, 1, 0, 30, 160, 210) +
           StoredRecord(1, 2, 2011, 7, 1, 13, 0, 600, 199) +
           StoredRecord(1, 4, 2011, 7, 1, 19, 0, 10, 350) +
           StoredRecord(1, 0, 2011, 7, 1, 23, 59, 155, 7);
}

inline constexpr Date kExportDay{2026, 3, 10};

}  // namespace dorvel::test
