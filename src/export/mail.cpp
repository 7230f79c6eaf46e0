#include "mail.h"

#include <filesystem>

#include "all_data_csv.h"
#include "csv_text.h"
#include "store/data_folder.h"
#include "store/patient_data_file.h"
#include "store/profile_file.h"
#include "store/text_encoding.h"

namespace dorvel::exports {

namespace {

constexpr std::string_view kBody =
    "<<Remark>> Please save the attached files to <.\\DATA\\MAIL> folder.";

// The recipient becomes an argument of the mail program, which builds a
// mailto: link from it. Anything that could be read as an option or add a
// header or a second address to that link is not an address to send to.
bool PlainAddress(std::string_view address) {
    if (address.empty() || address.front() == '-')
        return false;
    for (const char c : address) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F ||
            std::string_view(",;:<>\"()[]\\?&%").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

MailFile Refused(std::string_view id, std::string path, std::string why) {
    return {std::string(id), std::move(path), {WriteStatus::Failed, std::move(why)}};
}

}  // namespace

std::string MailFolder(const std::string& dataFolder) {
    return JoinPath(dataFolder, kMailFolderName);
}

std::string MailCsvPath(const std::string& dataFolder, std::string_view patientId) {
    return JoinPath(MailFolder(dataFolder), std::string(patientId) + ".csv");
}

MailFile WriteMailCsv(const std::string& dataFolder, std::string_view patientId, const Date& today,
                      int temperatureUnit, const ReadingList* readings) {
    if (auto problem = PatientIdProblem(patientId))
        return Refused(patientId, {}, *problem);
    std::string path = MailCsvPath(dataFolder, patientId);

    const ProfileRead profile = ReadProfile(dataFolder, patientId);
    if (profile.unreadable)
        return Refused(patientId, path, "Profil nicht lesbar: " + profile.problem);
    ReadingList fromFile;
    if (readings == nullptr) {
        const RecordFile file =
            ReadRecordFile(PatientFilePath(dataFolder, patientId, kDataFileExtension));
        if (file.unreadable)
            return Refused(patientId, path, "Messwerte nicht lesbar: " + file.detail);
        fromFile = ReadingsFromImage(file.image);
        readings = &fromFile;
    }
    const std::string csv = AllDataCsv(profile.profile, profile.settings, temperatureUnit,
                                       *readings, today, CsvLayout::Mail);
    return {std::string(patientId), path, WriteExportFile(path, csv)};
}

MailMessage MakeMailMessage(const PatientProfile& current, std::vector<std::string> attachments) {
    MailMessage message;
    message.subject = Cp1252ToUtf8(current.carer) + "'s Report";
    message.body = kBody;
    if (current.physicianEmail.size() > 4 && PlainAddress(current.physicianEmail))
        message.recipient = Cp1252ToUtf8(current.physicianEmail);
    message.attachments = std::move(attachments);
    return message;
}

std::vector<std::string> MailProgramArguments(const MailMessage& message) {
    std::vector<std::string> args = {"xdg-email",     "--utf8", "--subject",
                                     message.subject, "--body", message.body};
    for (const std::string& file : message.attachments) {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(file, ec);
        args.push_back("--attach");
        args.push_back(ec ? file : full.string());
    }
    if (!message.recipient.empty())
        args.push_back(message.recipient);
    return args;
}

}  // namespace dorvel::exports
