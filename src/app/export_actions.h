#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>

#include "store/user_settings.h"

namespace dorvel {

class CDorvelDoc;
class CMainFrame;
class Prompter;

// The export commands of the main window: the all-data CSV, the
// certification CSV, e-mail of the mail CSVs, and the picture viewer for
// the pages saved with "Capture View". Every question and file dialog goes
// through the prompter; the spreadsheet and the picture viewer are the
// desktop's programs for the file.
class ExportActions : public QObject {
  public:
    ExportActions(CMainFrame& frame, CDorvelDoc& doc, Prompter& prompter);

    // Runs kCmdExport, kCmdCertificate, kCmdMail or kCmdPictureViewer.
    void Run(int command);

  private:
    void ExportAllData();
    void ExportCertification();
    void SendReportMail();
    void OpenPictureViewer();

    // The current patient's profile file (the defaults without one);
    // nothing, after telling the user, when it exists but cannot be read.
    std::optional<PatientProfile> ReadableProfile();
    // The file-save dialog for a CSV file; nothing when cancelled.
    std::optional<QString> AskCsvFile();
    // Writes an export file; tells the user and returns false when it fails.
    bool WriteFile(const QString& path, const std::string& bytes);
    void Message(const QString& text);

    CMainFrame& frame_;
    CDorvelDoc& doc_;
    Prompter& prompter_;
};

}  // namespace dorvel
