// export, certificate, mail: the CSV files of a patient and their hand-over
// to the mail program.
#include <filesystem>
#include <ostream>

#include "cli.h"
#include "export/all_data_csv.h"
#include "export/certificate_csv.h"
#include "export/csv_text.h"
#include "export/mail.h"
#include "export/mail_program.h"
#include "store/data_folder.h"
#include "store/patient_data_file.h"
#include "store/patient_list.h"
#include "store/profile_file.h"
#include "store/settings_store.h"
#include "store/text_encoding.h"

namespace dorvel::cli {

namespace {

// How long the command waits for the mail program to take the message; one
// still running then has its compose window open and is left to the user.
constexpr std::chrono::seconds kMailWait{15};

// PATIENT --out FILE [--fahrenheit]; false, after the message, on anything else.
struct FileArgs {
    std::string id;
    std::string out;
    bool fahrenheit = false;
};

bool ParseFileArgs(Context& ctx, const Args& args, std::string_view command, bool allowFahrenheit,
                   FileArgs& parsed) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            parsed.out = args[++i];
        } else if (allowFahrenheit && args[i] == "--fahrenheit") {
            parsed.fahrenheit = true;
        } else if (parsed.id.empty() && !args[i].starts_with("-")) {
            parsed.id = args[i];
        } else {
            UsageError(ctx, command);
            return false;
        }
    }
    if (parsed.id.empty() || parsed.out.empty()) {
        UsageError(ctx, command);
        return false;
    }
    return RequireKnownPatient(ctx, parsed.id);
}

bool ReadPatientProfile(Context& ctx, const std::string& id, ProfileRead& profile) {
    profile = ReadProfile(ctx.dataFolder, id);
    if (profile.unreadable) {
        Fail(ctx, "das Patientenprofil kann nicht gelesen werden: " + profile.problem);
        return false;
    }
    return true;
}

int WriteOut(Context& ctx, const std::string& path, const std::string& bytes) {
    const WriteResult written = exports::WriteExportFile(path, bytes);
    if (!written.ok())
        return Fail(ctx, exports::WriteFailureText(path, written));
    return kExitOk;
}

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// The patient whose physician and carer the message names: the one loaded
// last in the program when it is still listed, otherwise the first.
std::string CurrentPatient(const std::vector<std::string>& ids) {
    const std::string stored = AsciiUpper(SettingsStore().CurrentPatientId());
    for (const std::string& id : ids) {
        if (id == stored)
            return id;
    }
    return ids.front();
}

}  // namespace

int RunExport(Context& ctx, const Args& args) {
    FileArgs parsed;
    ProfileRead profile;
    if (!ParseFileArgs(ctx, args, "export", true, parsed) ||
        !ReadPatientProfile(ctx, parsed.id, profile)) {
        return kExitError;
    }
    const RecordFile file =
        ReadRecordFile(PatientFilePath(ctx.dataFolder, parsed.id, kDataFileExtension));
    if (file.unreadable)
        return Fail(ctx, file.detail);
    const std::string csv =
        exports::AllDataCsv(profile.profile, profile.settings, parsed.fahrenheit ? 1 : 0,
                            ReadingsFromImage(file.image), ctx.clock.Today());
    return WriteOut(ctx, parsed.out, csv);
}

int RunCertificate(Context& ctx, const Args& args) {
    FileArgs parsed;
    ProfileRead profile;
    if (!ParseFileArgs(ctx, args, "certificate", false, parsed) ||
        !ReadPatientProfile(ctx, parsed.id, profile)) {
        return kExitError;
    }
    const std::string csv = exports::CertificateCsv(profile.profile, parsed.id, ctx.clock.Today(),
                                                    profile.settings.dateFormat);
    return WriteOut(ctx, parsed.out, csv);
}

int RunMail(Context& ctx, const Args& args) {
    if (args.size() > 1 || (!args.empty() && args[0].starts_with("-")))
        return UsageError(ctx, "mail");

    std::vector<std::string> ids;
    if (!args.empty()) {
        if (!RequireKnownPatient(ctx, args[0]))
            return kExitError;
        ids.push_back(AsciiUpper(args[0]));
    } else {
        const PatientListRebuild list = RebuildPatientList(ctx.dataFolder);
        if (!list.write.ok())
            return Fail(ctx, "die Patientenliste in " + ctx.dataFolder +
                                 " kann nicht geschrieben werden: " + list.write.detail);
        for (const PatientListEntry& entry : WalkPatientList(list.image.bytes))
            ids.push_back(entry.id);
    }
    if (ids.empty())
        return Fail(ctx, "No files..");

    const std::string folder = exports::MailFolder(ctx.dataFolder);
    if (!EnsureFolder(folder))
        return Fail(ctx, "der Ordner " + folder + " kann nicht angelegt werden");
    std::vector<std::string> attachments;
    std::vector<std::string> shown;
    bool failed = false;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(folder, ec);
    const std::string absoluteFolder = ec ? folder : full.string();
    for (const std::string& id : ids) {
        const exports::MailFile file = exports::WriteMailCsv(ctx.dataFolder, id, ctx.clock.Today(),
                                                             /*temperatureUnit=*/0);
        if (!file.ok()) {
            failed = true;
            ctx.err << "dorvel-cli: " << Cp1252ToUtf8(id) << ": "
                    << exports::WriteFailureText(file.path, file.write) << '\n';
            continue;
        }
        attachments.push_back(file.path);
        shown.push_back(JoinPath(absoluteFolder, Cp1252ToUtf8(id + ".csv")));
    }
    if (attachments.empty())
        return kExitError;

    const ProfileRead current = ReadProfile(ctx.dataFolder, CurrentPatient(ids));
    const exports::MailMessage message =
        exports::MakeMailMessage(current.profile, std::move(attachments));
    exports::MailRun run = exports::StartMailProgram(exports::MailProgramArguments(message));
    exports::WaitForMailProgram(run, kMailWait);
    if (run.state == exports::MailRun::State::Missing ||
        run.state == exports::MailRun::State::Failed) {
        return Fail(ctx, exports::MailProblemText(run, absoluteFolder));
    }
    for (const std::string& path : shown)
        ctx.out << path << '\n';
    return failed ? kExitError : kExitOk;
}

}  // namespace dorvel::cli
