#include "export_actions.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "dorvel_doc.h"
#include "export/all_data_csv.h"
#include "export/certificate_csv.h"
#include "export/csv_text.h"
#include "export/mail.h"
#include "export/mail_program.h"
#include "main_frame.h"
#include "prompter.h"
#include "qt_text.h"
#include "reports/page_frame.h"
#include "store/file_io.h"
#include "store/profile_file.h"
#include "texts.h"

namespace dorvel {

namespace {

// How often a mail program that is still running is asked whether it ended.
constexpr int kMailPollMs = 200;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

ExportActions::ExportActions(CMainFrame& frame, CDorvelDoc& doc, Prompter& prompter)
    : QObject(&frame), frame_(frame), doc_(doc), prompter_(prompter) {}

void ExportActions::Run(int command) {
    switch (command) {
        case kCmdExport:
            ExportAllData();
            break;
        case kCmdCertificate:
            ExportCertification();
            break;
        case kCmdMail:
            SendReportMail();
            break;
        case kCmdPictureViewer:
            OpenPictureViewer();
            break;
        default:
            break;
    }
}

void ExportActions::Message(const QString& text) {
    prompter_.Message(&frame_, text, texts::kCaption);
}

std::optional<QString> ExportActions::AskCsvFile() {
    QFileDialog dialog(&frame_, "Speichern unter", QString::fromStdString(doc_.dataFolder()),
                       "CSV File (*.csv)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("csv");
    dialog.selectFile(FromStored(doc_.currentPatientId) + ".csv");
    if (prompter_.Exec(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) {
        return std::nullopt;
    }
    return chosen.front();
}

bool ExportActions::WriteFile(const QString& path, const std::string& bytes) {
    const WriteResult written = exports::WriteExportFile(LocalPath(path), bytes);
    if (!written.ok()) {
        Message(QString::fromStdString(exports::WriteFailureText(path.toStdString(), written)));
        return false;
    }
    return true;
}

std::optional<PatientProfile> ExportActions::ReadableProfile() {
    // A profile that exists but cannot be read would export an empty
    // patient, or a certificate of nobody.
    ProfileRead profile = ReadProfile(doc_.dataFolder(), doc_.currentPatientId);
    if (profile.unreadable || !profile.problem.empty()) {
        Message("Das Patientenprofil kann nicht gelesen werden; es wurde nichts exportiert. (" +
                QString::fromStdString(profile.problem) + ")");
        return std::nullopt;
    }
    return std::move(profile.profile);
}

void ExportActions::ExportAllData() {
    if (doc_.currentPatientId.empty()) {
        return;
    }
    const auto profile = ReadableProfile();
    const auto path = profile ? AskCsvFile() : std::nullopt;
    if (!path) {
        return;
    }
    const std::string csv =
        exports::AllDataCsv(*profile, doc_.settings, doc_.runSettings.temperatureUnit,
                            doc_.readings, doc_.clock().Today());
    if (!WriteFile(*path, csv)) {
        return;
    }
    // A file with the patient block only is not worth a spreadsheet.
    if (!doc_.readings.empty()) {
        prompter_.OpenWithDesktop(*path);
    }
}

void ExportActions::ExportCertification() {
    if (doc_.currentPatientId.empty() || !ReadableProfile()) {
        return;
    }
    const auto path = AskCsvFile();
    if (!path) {
        return;
    }
    const std::string csv = exports::CertificateCsv(doc_.profile, doc_.currentPatientId,
                                                    doc_.clock().Today(), doc_.settings.dateFormat);
    if (WriteFile(*path, csv)) {
        prompter_.OpenWithDesktop(*path);
    }
}

void ExportActions::SendReportMail() {
    QComboBox* box = frame_.patientBox();
    if (box->count() == 0) {
        Message("No files..");
        frame_.Run(kCmdDataList);
        return;
    }
    const std::string folder = exports::MailFolder(doc_.dataFolder());
    if (!EnsureFolder(folder)) {
        Message(QString("Der Ordner %1 kann nicht angelegt werden; es wurde keine E-Mail erstellt.")
                    .arg(QString::fromStdString(folder)));
        frame_.Run(kCmdDataList);
        return;
    }

    // In search mode only the patient shown, from the readings in memory.
    std::vector<std::string> ids;
    if (doc_.searchMode) {
        ids.push_back(doc_.currentPatientId);
    } else {
        ids = frame_.PatientBoxIds();
    }
    const Date today = doc_.clock().Today();
    std::vector<std::string> attachments;
    QStringList failed;
    for (const std::string& id : ids) {
        const exports::MailFile file =
            exports::WriteMailCsv(doc_.dataFolder(), id, today, doc_.runSettings.temperatureUnit,
                                  doc_.searchMode ? &doc_.readings : nullptr);
        if (file.ok()) {
            attachments.push_back(file.path);
        } else {
            failed << FromStored(id) + ": " +
                          QString::fromStdString(exports::WriteFailureText(file.path, file.write));
        }
    }
    if (!failed.isEmpty()) {
        Message("Diese Dateien konnten nicht geschrieben werden und werden nicht angehängt:\n" +
                failed.join('\n'));
    }

    if (!attachments.empty()) {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(folder, ec);
        const QString where = QFile::decodeName(ec ? folder.c_str() : full.c_str());
        const exports::MailMessage message =
            exports::MakeMailMessage(doc_.profile, std::move(attachments));
        auto run = std::make_shared<exports::MailRun>(
            exports::StartMailProgram(exports::MailProgramArguments(message)));
        if (run->state == exports::MailRun::State::Running) {
            // The mail program shows its window on its own; a failure it
            // ends with is told when it comes.
            auto* poll = new QTimer(this);
            connect(poll, &QTimer::timeout, this, [this, run, poll, where] {
                exports::PollMailProgram(*run);
                if (run->state == exports::MailRun::State::Running) {
                    return;
                }
                poll->stop();
                poll->deleteLater();
                if (run->state == exports::MailRun::State::Failed) {
                    Message(QString::fromStdString(
                        exports::MailProblemText(*run, where.toStdString())));
                }
            });
            poll->start(kMailPollMs);
        } else if (run->state != exports::MailRun::State::HandedOver) {
            Message(QString::fromStdString(exports::MailProblemText(*run, where.toStdString())));
        }
    }
    frame_.Run(kCmdDataList);
}

void ExportActions::OpenPictureViewer() {
    // The newest page saved with "Capture View".
    std::optional<std::filesystem::file_time_type> newestTime;
    std::string newest;
    for (int page = 1; page < kPageCount; ++page) {
        const std::string_view name = reports::CaptureFileName(page);
        if (name.empty()) {
            continue;
        }
        const std::string path = JoinPath(doc_.dataFolder(), name);
        std::error_code ec;
        const auto time = std::filesystem::last_write_time(path, ec);
        if (!ec && FileExists(path) && (!newestTime || time > *newestTime)) {
            newestTime = time;
            newest = path;
        }
    }
    if (newest.empty()) {
        Message(
            "Es gibt noch kein gespeichertes Bild einer Seite. \"Capture View\" im "
            "Kontextmenü einer Seite speichert sie im Datenordner.");
        return;
    }
    prompter_.OpenWithDesktop(QFile::decodeName(newest.c_str()));
}

}  // namespace dorvel
