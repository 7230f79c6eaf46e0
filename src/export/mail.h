#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/calendar.h"
#include "store/file_io.h"
#include "store/reading.h"
#include "store/user_settings.h"

namespace dorvel::exports {

// The mail attachments live in "<data folder>/Mail", one "<ID>.csv" per patient.
inline constexpr std::string_view kMailFolderName = "Mail";
std::string MailFolder(const std::string& dataFolder);
std::string MailCsvPath(const std::string& dataFolder, std::string_view patientId);

struct MailFile {
    std::string patientId;  // Windows-1252, as the patient box shows it
    std::string path;
    WriteResult write;  // Failed with the reason (UTF-8) also when nothing could be read
    bool ok() const { return write.ok(); }
};

// Writes the mail CSV of one patient: the all-data layout with the mail's
// mobile label, from the patient's own profile and settings (the defaults
// without a profile) and the readings of its data file, or `readings` when
// given (the list in memory). A profile or data file that exists but cannot
// be read writes nothing and is reported. The mail folder must exist.
MailFile WriteMailCsv(const std::string& dataFolder, std::string_view patientId, const Date& today,
                      int temperatureUnit, const ReadingList* readings = nullptr);

// The message handed to the mail program. Texts in UTF-8.
struct MailMessage {
    std::string subject;
    std::string body;
    std::string recipient;  // empty: the mail program's window asks for one
    std::vector<std::string> attachments;
};

// Subject "<carer>'s Report", the fixed body, and the physician's e-mail as
// recipient when it is longer than four characters and a plain address.
MailMessage MakeMailMessage(const PatientProfile& current, std::vector<std::string> attachments);

// The command line that hands `message` over: "xdg-email", subject, body,
// one "--attach" per file (full paths), then the recipient.
std::vector<std::string> MailProgramArguments(const MailMessage& message);

}  // namespace dorvel::exports
