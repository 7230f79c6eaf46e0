#pragma once

#include <string>
#include <string_view>

#include "store/calendar.h"
#include "store/user_settings.h"

namespace dorvel::exports {

// The certification CSV in Windows-1252: the medical certificate of one
// patient (profile, diagnosis, treatment, physician), no readings. `today`
// is written with `dateFormat`; the date of birth always as "%Y-%m-%d %a".
std::string CertificateCsv(const PatientProfile& profile, std::string_view patientId,
                           const Date& today, int dateFormat);

}  // namespace dorvel::exports
