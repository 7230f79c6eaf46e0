#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dorvel_doc.h"
#include "navigation.h"
#include "pages.h"
#include "session_link.h"

class QAction;
class QComboBox;
class QLabel;
class QStackedWidget;
class QTimer;

namespace dorvel {

class PatientPanel;
class Prompter;
class ProgressWindow;

// Command numbers of the menu, the toolbar and the panel.
enum Command : int {
    kCmdReceive = 1002,
    kCmdPortSettings = 1005,
    kCmdPatientList = 1006,
    kCmdExport = 1007,
    kCmdCertificate = 1008,
    kCmdPrevYear = 1009,
    kCmdPrevMonth = 1010,
    kCmdNextMonth = 1011,
    kCmdNextYear = 1012,
    kCmdDataList = 1013,
    kCmdLogbook = 1015,
    kCmdSummary = 1016,
    kCmdDayGraph = 1017,
    kCmdMealGraph = 1018,
    kCmdRangeBars = 1019,
    kCmdMealBars = 1020,
    kCmdUserSettings = 1021,
    kCmdDeletePatient = 1022,
    kCmdSearch = 1023,
    kCmdEraseMeter = 1025,
    kCmdGlucoseProfile = 1026,
    kCmdAssign = 1139,
    kCmdCreateId = 1140,
    kCmdPanelMenu = 32771,
    kCmdPatientBox = 32774,
    kCmdPictureViewer = 32778,
    kCmdMail = 32798,
    kCmdPrintSetup = 57606,
    kCmdPrint = 57607,
    kCmdPrintPreview = 57609,
    kCmdAbout = 57664,
    kCmdExit = 57665,
};

// The main window: menu, toolbar with the patient box, status bar, the
// patient panel, the page table and the host of the meter sessions.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    CMainFrame(CDorvelDoc& doc, Prompter& prompter, SessionLink* link,
               PageFactory pageFactory = MakePlaceholderPage, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Runs a command the way the menu does: only when it is enabled.
    void Run(int command);
    QAction* action(int command) const;
    void UpdateCommands();
    bool SessionVisible() const { return sessionVisible_; }

    CDorvelDoc& doc() { return doc_; }
    PatientPanel* panel() const { return panel_; }
    QComboBox* patientBox() const { return patientBox_; }
    // The IDs of the patient box's entries, in the box's order (file bytes).
    std::vector<std::string> PatientBoxIds() const;
    ProgressWindow* progressWindow() const { return progress_; }
    DorvelPage* page(int index) const { return pages_[index]; }
    QLabel* statusPane(int pane) const { return panes_[pane - 1]; }

    void SwitchPage(int from, int to);
    void FillPatientBox();
    void SelectCurrentPatientInBox();
    void LoadSelectedPatient();
    // Lists the users of gr_data.dat in the panel (after a decoded download).
    void OnRecordsReady();
    void OpenSearchResult(int row);
    void RestorePanel();  // a right click on the panel in search mode
    void UpdateStatusBar();

    // The export, mail and picture viewer commands (export_actions.h).
    std::function<void(int command)> exportHandler;

  private:
    void OpenAtPageSize();
    void BuildCommands();
    void BuildStatusBar();
    void Dispatch(int command);
    bool Enabled(int command) const;

    void ShowPage(int index);
    void ShowDataList();
    void Navigate(NavStep step);

    void OnReceiveMeterData();
    void OnDeleteMeterData();
    void ShowProgress();
    void EndSession();
    void OnSessionEnded(SessionEnd end, const std::string& detail);
    void OnCancelSession();

    void AssignReadings();
    void CreatePatientId();
    void DeletePatient();
    void SearchPatient();
    void LeaveSearchMode();
    void ShowUserSettings();
    void OnPortSettings();
    void OnPrintSetup();
    void OnAbout();
    void Message(const QString& text, const QString& caption);

    CDorvelDoc& doc_;
    Prompter& prompter_;
    SessionLink* link_;
    std::map<int, QAction*> actions_;
    QComboBox* patientBox_ = nullptr;
    std::array<QLabel*, 3> panes_{};
    PatientPanel* panel_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    std::array<DorvelPage*, kPageCount> pages_{};
    ProgressWindow* progress_ = nullptr;
    QTimer* clock_ = nullptr;
    bool sessionVisible_ = false;
    bool fillingBox_ = false;
};

}  // namespace dorvel
