#include "main_frame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "dialogs.h"
#include "meter/messages.h"
#include "meter/received_data.h"
#include "patient_panel.h"
#include "program_files.h"
#include "prompter.h"
#include "qt_text.h"
#include "settings_sheet.h"
#include "store/data_folder.h"
#include "store/file_io.h"
#include "store/patient_data_file.h"
#include "texts.h"
#include "wildcard.h"

namespace dorvel {
namespace {

QString Unreadable(const char* text, const std::string& detail) {
    return QString(text).arg(QString::fromStdString(detail));
}

struct CommandText {
    int id;
    const char* menu;     // the German menu entry, empty for toolbar-only commands
    const char* tooltip;  // toolbar tooltip
    QStyle::StandardPixmap icon;
};

const CommandText kCommands[] = {
    {kCmdReceive, "&Messwerte abrufen", "Messwerte abrufen", QStyle::SP_ArrowDown},
    {kCmdEraseMeter, "", "Daten im Messgerät löschen", QStyle::SP_TrashIcon},
    {kCmdPortSettings, "&Anschluss-Einstellungen", "Anschluss-Einstellungen",
     QStyle::SP_DriveNetIcon},
    {kCmdPatientList, "&Patienten", "Patienten", QStyle::SP_FileDialogListView},
    {kCmdExport, "&Export...", "Export", QStyle::SP_DialogSaveButton},
    {kCmdCertificate, "&Bescheinigung exportieren...", "Bescheinigung exportieren",
     QStyle::SP_DialogSaveButton},
    {kCmdPrevYear, "", "Zurück/ Daten vorheriges Jahr", QStyle::SP_MediaSkipBackward},
    {kCmdPrevMonth, "", "Zurück/ Daten vorheriger Monat", QStyle::SP_MediaSeekBackward},
    {kCmdNextMonth, "", "Vor/ Daten nächster Monat", QStyle::SP_MediaSeekForward},
    {kCmdNextYear, "", "Vor/ Daten nächstes Jahr", QStyle::SP_MediaSkipForward},
    {kCmdDataList, "&Daten", "Daten", QStyle::SP_FileDialogDetailedView},
    {kCmdLogbook, "&Tagebuch", "Tagebuch", QStyle::SP_FileDialogContentsView},
    {kCmdSummary, "&Zusammenfassung", "Zusammenfassung", QStyle::SP_FileDialogInfoView},
    {kCmdDayGraph, "&Grafik Tag", "Grafik Tag", QStyle::SP_ComputerIcon},
    {kCmdMealGraph, "Grafik &Mahlzeiten", "Grafik Mahlzeiten", QStyle::SP_DesktopIcon},
    {kCmdRangeBars, "&Balkendiagramm nach Zielwert", "Balkendiagramm nach Zielwert",
     QStyle::SP_DirHomeIcon},
    {kCmdMealBars, "D&urchschnittswerte nach Mahlzeit", "Durchschnittswerte nach Mahlzeit",
     QStyle::SP_DirIcon},
    {kCmdGlucoseProfile, "&Glukoseprofil", "Glukoseprofil", QStyle::SP_FileDialogInfoView},
    {kCmdUserSettings, "&Benutzer-Einstellungen", "Benutzer-Einstellungen",
     QStyle::SP_FileDialogNewFolder},
    {kCmdDeletePatient, "", "Benutzer-Informationen löschen", QStyle::SP_DialogDiscardButton},
    {kCmdSearch, "Patient &suchen...", "Patient suchen", QStyle::SP_FileDialogStart},
    {kCmdAssign, "", texts::kAssignButton, QStyle::SP_DialogApplyButton},
    {kCmdCreateId, "", texts::kCreateButton, QStyle::SP_FileIcon},
    {kCmdPanelMenu, "", "", QStyle::SP_TitleBarMenuButton},
    {kCmdPatientBox, "", "Patient", QStyle::SP_FileIcon},
    {kCmdPictureViewer, "Bild&betrachter", "Bildbetrachter", QStyle::SP_DirOpenIcon},
    {kCmdMail, "Emai&l senden", "Email senden", QStyle::SP_DirLinkIcon},
    {kCmdPrintSetup, "Dr&uckeinstellungen...", "Druckeinstellungen", QStyle::SP_FileIcon},
    {kCmdPrint, "D&ruck...\tStrg+P", "Drucken", QStyle::SP_FileDialogToParent},
    {kCmdPrintPreview, "Seitenans&icht", "Seitenansicht", QStyle::SP_FileDialogContentsView},
    {kCmdAbout, "&Info / Handbuch", "Info / Handbuch", QStyle::SP_MessageBoxInformation},
    {kCmdExit, "&Beenden", "Beenden", QStyle::SP_DialogCloseButton},
};

// Page slot and redraw timer of each page command.
struct PageCommand {
    int command;
    int page;
    int timerId;
};
const PageCommand kPageCommands[] = {
    {kCmdDataList, kDataListPage, 100},
    {kCmdLogbook, kLogbookPage, 200},
    {kCmdSummary, kSummaryPage, 300},
    {kCmdDayGraph, kDayGraphPage, 800},
    {kCmdMealGraph, kMealGraphPage, 400},
    {kCmdRangeBars, kRangeBarPage, 200},
    {kCmdMealBars, kMealBarPage, 300},
    {kCmdPatientList, kPatientListPage, 0},
    {kCmdGlucoseProfile, kGlucoseProfilePage, 900},
};

int RedrawTimerOf(int page) {
    for (const auto& pc : kPageCommands) {
        if (pc.page == page) {
            return pc.timerId;
        }
    }
    return 0;
}

// Each patient box entry carries its ID and name as stored (file bytes): the
// shown "ID - Name" cannot be split again when an ID holds " - " itself.
constexpr int kIdRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;

std::string EntryData(const QComboBox& box, int index, int role) {
    return index < 0 ? std::string() : box.itemData(index, role).toByteArray().toStdString();
}

}  // namespace

std::vector<std::string> CMainFrame::PatientBoxIds() const {
    std::vector<std::string> ids;
    for (int i = 0; i < patientBox_->count(); ++i) {
        ids.push_back(EntryData(*patientBox_, i, kIdRole));
    }
    return ids;
}

CMainFrame::CMainFrame(CDorvelDoc& doc, Prompter& prompter, SessionLink* link,
                       PageFactory pageFactory, QWidget* parent)
    : QMainWindow(parent), doc_(doc), prompter_(prompter), link_(link) {
    setWindowTitle(texts::kCaption);
    move(50, 50);
    BuildCommands();
    BuildStatusBar();

    panel_ = new PatientPanel;
    auto* dock = new QDockWidget(this);
    dock->setObjectName("patientPanel");
    dock->setWidget(panel_);
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setTitleBarWidget(new QWidget(dock));
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    connect(panel_->assignButton(), &QPushButton::clicked, this, [this] { Run(kCmdAssign); });
    connect(panel_->createButton(), &QPushButton::clicked, this, [this] { Run(kCmdCreateId); });
    connect(panel_, &PatientPanel::rowClicked, this, &CMainFrame::OpenSearchResult);
    connect(panel_, &PatientPanel::contextRequested, this, &CMainFrame::RestorePanel);

    stack_ = new QStackedWidget(this);
    setCentralWidget(stack_);
    pages_[kStartPage] = new CDorvelView(doc_, stack_);
    for (int i = 1; i < kPageCount; ++i) {
        pages_[i] = pageFactory(i, doc_, stack_);
    }
    for (DorvelPage* p : pages_) {
        stack_->addWidget(p);
    }
    stack_->setCurrentIndex(kStartPage);
    doc_.currentPage = kStartPage;
    OpenAtPageSize();

    progress_ = new ProgressWindow(this);
    progress_->SetTitle(texts::kProgressIdleTitle);
    progress_->SetMessage(texts::kProgressIdleMessage);
    connect(progress_, &ProgressWindow::cancelled, this, &CMainFrame::OnCancelSession);
    if (link_) {
        SessionHooks hooks;
        hooks.title = [this](const QString& t) { progress_->SetTitle(t); };
        hooks.message = [this](const QString& m) { progress_->SetMessage(m); };
        hooks.position = [this](int p) { progress_->SetPosition(p); };
        hooks.ended = [this](SessionEnd end, const std::string& detail) {
            OnSessionEnded(end, detail);
        };
        link_->SetHooks(std::move(hooks));
    }

    FillPatientBox();
    SelectCurrentPatientInBox();
    if (patientBox_->count() > 0) {
        doc_.currentPatientId = EntryData(*patientBox_, patientBox_->currentIndex(), kIdRole);
        doc_.store().StorePatientId(doc_.currentPatientId);
    } else {
        doc_.currentPatientId.clear();
    }

    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &CMainFrame::UpdateStatusBar);
    clock_->start();
    UpdateStatusBar();
    UpdateCommands();
}

CMainFrame::~CMainFrame() {
    if (link_) {
        link_->SetHooks({});
        if (link_->Running()) {
            link_->Cancel();
        }
    }
}

void CMainFrame::OpenAtPageSize() {
    // The window opens with room for a page at its base size, 810 x 650
    // pixels, beside the panel (any less cuts off the data list's last
    // column), as far as the screen allows. The user may resize it.
    stack_->setMinimumSize(810, 650);
    QSize wanted = sizeHint();
    stack_->setMinimumSize(0, 0);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        wanted = wanted.boundedTo(screen->availableGeometry().size());
    }
    resize(wanted);
}

void CMainFrame::BuildCommands() {
    QStyle* st = style();
    for (const auto& c : kCommands) {
        QString text = *c.menu ? QString(c.menu).section('\t', 0, 0) : QString(c.tooltip);
        auto* a = new QAction(st->standardIcon(c.icon), text, this);
        a->setToolTip(c.tooltip);
        a->setStatusTip(c.tooltip);
        const int id = c.id;
        connect(a, &QAction::triggered, this, [this, id] { Run(id); });
        actions_[id] = a;
    }
    actions_[kCmdPrint]->setShortcut(QKeySequence::Print);

    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu("&Datei");
    file->addAction(actions_[kCmdExport]);
    file->addAction(actions_[kCmdCertificate]);
    file->addSeparator();
    file->addAction(actions_[kCmdPrint]);
    file->addAction(actions_[kCmdPrintPreview]);
    file->addAction(actions_[kCmdPrintSetup]);
    file->addAction(actions_[kCmdMail]);
    file->addSeparator();
    file->addAction(actions_[kCmdExit]);
    QMenu* meter = bar->addMenu("&Messgerät");
    meter->addAction(actions_[kCmdReceive]);
    meter->addAction(actions_[kCmdPortSettings]);
    QMenu* view = bar->addMenu("&Ansicht");
    for (int id : {kCmdDataList, kCmdLogbook, kCmdSummary, kCmdDayGraph, kCmdMealGraph,
                   kCmdRangeBars, kCmdMealBars}) {
        view->addAction(actions_[id]);
    }
    view->addSeparator();
    view->addAction(actions_[kCmdPatientList]);
    view->addAction(actions_[kCmdGlucoseProfile]);
    view->addSeparator();
    view->addAction(actions_[kCmdPictureViewer]);
    QMenu* user = bar->addMenu("B&enutzer");
    user->addAction(actions_[kCmdUserSettings]);
    user->addAction(actions_[kCmdSearch]);
    QMenu* help = bar->addMenu("&Hilfe");
    help->addAction(actions_[kCmdAbout]);

    QToolBar* tb = addToolBar("Standard");
    tb->setObjectName("standardToolbar");
    tb->setMovable(false);
    for (int id : std::initializer_list<int>{kCmdReceive,
                                             kCmdEraseMeter,
                                             kCmdPortSettings,
                                             0,
                                             kCmdPatientList,
                                             0,
                                             kCmdPrevYear,
                                             kCmdPrevMonth,
                                             kCmdNextMonth,
                                             kCmdNextYear,
                                             0,
                                             kCmdDataList,
                                             kCmdLogbook,
                                             kCmdSummary,
                                             kCmdDayGraph,
                                             kCmdMealGraph,
                                             kCmdRangeBars,
                                             kCmdMealBars,
                                             kCmdGlucoseProfile,
                                             0}) {
        if (id == 0) {
            tb->addSeparator();
        } else {
            tb->addAction(actions_[id]);
        }
    }
    patientBox_ = new QComboBox(tb);
    patientBox_->setFixedWidth(180);
    patientBox_->setMaxVisibleItems(10);
    patientBox_->setToolTip("Patient");
    tb->addWidget(patientBox_);
    connect(patientBox_, &QComboBox::currentIndexChanged, this, [this](int) {
        if (!fillingBox_) {
            Run(kCmdPatientBox);
        }
    });
    for (int id : {kCmdUserSettings, kCmdDeletePatient, kCmdSearch}) {
        tb->addAction(actions_[id]);
    }
}

void CMainFrame::BuildStatusBar() {
    const char* colours[] = {"rgb(255, 255, 192)", "rgb(0, 255, 255)", "rgb(192, 192, 255)"};
    for (int i = 0; i < 3; ++i) {
        panes_[i] = new QLabel(this);
        panes_[i]->setStyleSheet(
            QString("QLabel { background: %1; color: black; padding: 0 6px; }").arg(colours[i]));
        statusBar()->addPermanentWidget(panes_[i]);
    }
}

void CMainFrame::UpdateStatusBar() {
    DateTime now = doc_.clock().Now();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d.%02d.20%02d - %02d:%02d:%02d", now.date.day,
                  now.date.month, now.date.year % 100, now.time.hour, now.time.minute,
                  now.time.second);
    panes_[1]->setText(buf);
    panes_[2]->setText(texts::kVersionPane);
    int portIndex = link_ ? link_->PortIndex() : doc_.store().StoredPort() - 1;
    panes_[0]->setText(QString("COM : %1").arg(portIndex + 1));
}

QAction* CMainFrame::action(int command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

bool CMainFrame::Enabled(int command) const {
    const bool idle = !sessionVisible_;
    const bool report = doc_.currentPage != kStartPage;
    switch (command) {
        case kCmdPrint:
        case kCmdPrintPreview:
        case kCmdExport:
        case kCmdMail:
            return idle && report;
        case kCmdSearch:
            return idle && !doc_.deletionPending;
        case kCmdLogbook:
        case kCmdSummary:
        case kCmdDayGraph:
        case kCmdMealGraph:
        case kCmdRangeBars:
        case kCmdMealBars:
        case kCmdGlucoseProfile:
        case kCmdUserSettings:
            return idle && !doc_.searchMode && !doc_.deletionPending;
        case kCmdPrintSetup:
        case kCmdPatientList:
        case kCmdDataList:
        case kCmdPortSettings:
        case kCmdDeletePatient:
        case kCmdPatientBox:
        case kCmdPanelMenu:
            return idle;
        default:
            return true;
    }
}

void CMainFrame::UpdateCommands() {
    for (auto& [id, a] : actions_) {
        a->setEnabled(Enabled(id));
    }
    patientBox_->setEnabled(Enabled(kCmdPatientBox));
}

void CMainFrame::Run(int command) {
    if (!Enabled(command)) {
        return;
    }
    Dispatch(command);
    UpdateCommands();
}

void CMainFrame::Dispatch(int command) {
    for (const auto& pc : kPageCommands) {
        if (pc.command == command) {
            ShowPage(pc.page);
            return;
        }
    }
    switch (command) {
        case kCmdReceive:
            OnReceiveMeterData();
            break;
        case kCmdEraseMeter:
            OnDeleteMeterData();
            break;
        case kCmdPortSettings:
            OnPortSettings();
            break;
        case kCmdPrevYear:
            Navigate(NavStep::PreviousYear);
            break;
        case kCmdPrevMonth:
            Navigate(NavStep::PreviousMonth);
            break;
        case kCmdNextMonth:
            Navigate(NavStep::NextMonth);
            break;
        case kCmdNextYear:
            Navigate(NavStep::NextYear);
            break;
        case kCmdUserSettings:
            ShowUserSettings();
            break;
        case kCmdDeletePatient:
            DeletePatient();
            break;
        case kCmdSearch:
            SearchPatient();
            break;
        case kCmdAssign:
            AssignReadings();
            break;
        case kCmdCreateId:
            CreatePatientId();
            break;
        case kCmdPatientBox:
            LoadSelectedPatient();
            break;
        case kCmdExport:
        case kCmdCertificate:
        case kCmdMail:
            if (!sessionVisible_ && exportHandler) {
                exportHandler(command);
            }
            break;
        case kCmdPrint:
            if (doc_.currentPage != kStartPage) {
                pages_[doc_.currentPage]->PrintPage();
            }
            break;
        case kCmdPrintPreview:
            if (doc_.currentPage != kStartPage) {
                pages_[doc_.currentPage]->PrintPreview();
            }
            break;
        case kCmdPrintSetup:
            OnPrintSetup();
            break;
        case kCmdPictureViewer:
            if (exportHandler) {
                exportHandler(command);
            }
            break;
        case kCmdAbout:
            OnAbout();
            break;
        case kCmdExit:
            close();
            break;
        default:
            break;
    }
}

// ---- pages and navigation ----

void CMainFrame::SwitchPage(int from, int to) {
    if (to < 0 || to >= kPageCount) {
        return;
    }
    (void)from;
    stack_->setCurrentIndex(to);
    doc_.currentPage = to;
    UpdateCommands();
}

void CMainFrame::ShowDataList() {
    doc_.ResetListPosition();
    doc_.Recompute();
    if (doc_.currentPage == kDataListPage) {
        pages_[kDataListPage]->StartRedrawTimer(100);
    } else {
        SwitchPage(doc_.currentPage, kDataListPage);
    }
}

void CMainFrame::ShowPage(int index) {
    if (index == kDataListPage) {
        ShowDataList();
        return;
    }
    if (doc_.currentPage == index) {
        return;  // already shown: nothing to recompute
    }
    if (index != kPatientListPage) {
        doc_.Recompute();
    }
    SwitchPage(doc_.currentPage, index);
}

void CMainFrame::Navigate(NavStep step) {
    if (sessionVisible_) {
        return;
    }
    const int page = doc_.currentPage;
    if (page == kStartPage) {
        return;
    }
    // The glucose profile is a monthly report: it steps the period like the
    // other monthly pages.
    if (page == kDataListPage) {
        int count = static_cast<int>(doc_.readings.size());
        if (doc_.runSettings.controlDisplay == 1) {
            count -= static_cast<int>(doc_.readings.ControlCount());
        }
        doc_.dataList = StepDataList(doc_.dataList, step, count);
        doc_.Recompute();
        pages_[kDataListPage]->StartRedrawTimer(100);
        return;
    }
    doc_.selectedDate = StepPeriod(doc_.selectedDate, step, doc_.clock().Today());
    doc_.Recompute();
    if (int timer = RedrawTimerOf(page)) {
        pages_[page]->StartRedrawTimer(timer);
    }
}

// ---- patients ----

void CMainFrame::FillPatientBox() {
    fillingBox_ = true;
    patientBox_->clear();
    std::vector<std::pair<QString, PatientEntry>> items;
    for (auto& e : doc_.store().ListPatients(doc_.dataFolder())) {
        items.emplace_back(FromStored(e.id) + " - " + FromStored(e.name), std::move(e));
    }
    std::sort(items.begin(), items.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [text, e] : items) {
        patientBox_->addItem(text, QByteArray::fromStdString(e.id));
        patientBox_->setItemData(patientBox_->count() - 1, QByteArray::fromStdString(e.name),
                                 kNameRole);
    }
    fillingBox_ = false;
}

void CMainFrame::SelectCurrentPatientInBox() {
    fillingBox_ = true;
    const std::string current = AsciiLower(doc_.currentPatientId);
    int found = patientBox_->count() > 0 ? 0 : -1;
    for (int i = 0; i < patientBox_->count(); ++i) {
        if (AsciiLower(EntryData(*patientBox_, i, kIdRole)) == current) {
            found = i;
            break;
        }
    }
    patientBox_->setCurrentIndex(found);
    fillingBox_ = false;
}

void CMainFrame::LoadSelectedPatient() {
    if (sessionVisible_ || doc_.searchMode) {
        return;
    }
    doc_.currentPatientId = EntryData(*patientBox_, patientBox_->currentIndex(), kIdRole);
    if (const std::string problem = doc_.LoadCurrentPatient(); !problem.empty()) {
        Message(Unreadable(texts::kUnreadableReadings, problem), texts::kCaption);
    }
    doc_.store().StorePatientId(doc_.currentPatientId);
    doc_.deletionPending = false;
    ShowDataList();
}

void CMainFrame::AssignReadings() {
    if (sessionVisible_) {
        return;
    }
    // Only a received user can be assigned: never a search result or the
    // "No Result..." note, whose empty ID would read as meter user 000.
    const int row = panel_->FirstSelectedRow();
    if (row < 0 || doc_.searchMode || panel_->Kind(row) != PatientPanel::RowKind::MeterUser) {
        Message(texts::kChooseRow, texts::kCaption);
        return;
    }
    const std::string user = panel_->Key(row);
    auto received = ReadWholeFile(JoinPath(doc_.dataFolder(), kDataFileName));
    const std::string selected = SelectUserRecords(received.bytes, user);
    if (patientBox_->count() == 0 || doc_.currentPatientId.empty()) {
        Message(texts::kCreateFirst, texts::kCaption);
        return;
    }
    if (!received.ok()) {
        // Assigning nothing would pass the row off as done.
        Message(Unreadable(texts::kUnreadableReceived, received.detail), texts::kCaption);
        return;
    }
    ImportOutcome outcome = ImportIntoPatient(doc_.dataFolder(), doc_.currentPatientId, selected);
    if (!outcome.ok() && !outcome.unsynced()) {
        // The readings stay in gr_data.dat and in the list: the user can try again.
        Message(QString("Die Messwerte konnten nicht gespeichert werden: %1")
                    .arg(QString::fromStdString(outcome.write.detail)),
                texts::kCaption);
        return;
    }
    if (outcome.unsynced()) {
        // The file holds them, so they are shown; the row stays for a second try.
        Message(QString("%1\n(%2)")
                    .arg(QString::fromUtf8(kImportUnsyncedMessage),
                         QString::fromStdString(outcome.write.detail)),
                texts::kCaption);
    } else {
        panel_->RemoveRow(row);
    }
    // The patient list carries each patient's reading count.
    doc_.RebuildPatientList();
    std::string problem;
    doc_.readings = LoadReadings(doc_.dataFolder(), doc_.currentPatientId, &problem);
    if (!problem.empty()) {
        Message(Unreadable(texts::kUnreadableReadings, problem), texts::kCaption);
    }
    doc_.selectedDate = doc_.clock().Today();
    // The readings just assigned are the newest: show them.
    doc_.dataList.jumpToNewest = true;
    ShowDataList();
}

void CMainFrame::CreatePatientId() {
    if (!sessionVisible_) {
        Run(kCmdUserSettings);
    }
}

void CMainFrame::DeletePatient() {
    if (sessionVisible_ || doc_.searchMode || doc_.deletionPending) {
        return;
    }
    if (patientBox_->count() == 1) {
        return;  // the last patient is never deleted
    }
    if (!prompter_.AskOkCancel(this, texts::kConfirmDelete, texts::kCaption)) {
        return;
    }
    const std::string id = EntryData(*patientBox_, patientBox_->currentIndex(), kIdRole);
    if (!id.empty() && doc_.store().ProfileExists(doc_.dataFolder(), id)) {
        const WriteResult removed = doc_.store().RemovePatient(doc_.dataFolder(), id);
        if (!removed.ok()) {
            // A file that stays behind is not passed off as deleted.
            QString text = "Die Dateien des Patienten konnten nicht gelöscht werden.";
            if (!removed.detail.empty()) {
                text += "\n" + QString::fromStdString(removed.detail);
            }
            Message(text, texts::kCaption);
        }
    }
    FillPatientBox();
    SelectCurrentPatientInBox();
    doc_.RebuildPatientList();
    LoadSelectedPatient();
}

void CMainFrame::LeaveSearchMode() {
    doc_.searchMode = false;
    panel_->title()->setText(texts::kPanelTitle);
    panel_->SetButtonsVisible(true);
    panel_->SetButtonsEnabled(true);
}

void CMainFrame::SearchPatient() {
    if (patientBox_->count() == 0) {
        return;
    }
    if (panel_->RowCount() > 0 && !doc_.searchMode &&
        !prompter_.AskOkCancel(this, texts::kConfirmSearch, texts::kCaption)) {
        return;
    }
    auto name = AskSearchName(prompter_, this);
    if (!name || name->isEmpty()) {
        if (doc_.searchMode) {
            RestorePanel();
        }
        return;
    }
    doc_.searchMode = true;
    const std::string pattern = "*" + AsciiLower(ToStored(*name)) + "*";
    panel_->Clear();
    for (int i = 0; i < patientBox_->count(); ++i) {
        const std::string id = EntryData(*patientBox_, i, kIdRole);
        const std::string patientName = EntryData(*patientBox_, i, kNameRole);
        if (WildcardMatch(pattern, AsciiLower(patientName))) {
            panel_->AddRow(FromStored(id), FromStored(patientName), PatientPanel::RowKind::Patient,
                           id);
        }
    }
    if (panel_->RowCount() == 0) {
        panel_->AddRow(QString(), texts::kNoResult);
        LeaveSearchMode();
        return;
    }
    panel_->SetButtonsVisible(false);
    panel_->title()->setText(texts::kSearchTitle);
}

void CMainFrame::OpenSearchResult(int row) {
    if (sessionVisible_ || !doc_.searchMode) {
        return;
    }
    if (panel_->Kind(row) != PatientPanel::RowKind::Patient) {
        return;
    }
    doc_.currentPatientId = panel_->Key(row);
    if (const std::string problem = doc_.LoadCurrentPatient(); !problem.empty()) {
        Message(Unreadable(texts::kUnreadableReadings, problem), texts::kCaption);
    }
    doc_.store().StorePatientId(doc_.currentPatientId);
    ShowDataList();
    UpdateCommands();
}

void CMainFrame::RestorePanel() {
    if (sessionVisible_ || !doc_.searchMode) {
        return;
    }
    LeaveSearchMode();
    panel_->Clear();
    LoadSelectedPatient();
    UpdateCommands();
}

void CMainFrame::ShowUserSettings() {
    doc_.store().ReadProfile(doc_.dataFolder(), doc_.currentPatientId, doc_.profile, doc_.settings);
    const std::string before = doc_.currentPatientId;
    CMyPropertySheet sheet(doc_, prompter_, this);
    if (prompter_.Exec(sheet) != QDialog::Accepted && doc_.currentPatientId == before) {
        return;
    }
    // The sheet has written the profile; the new or changed patient appears
    // in the box. A patient switched to before "Abbrechen" stays switched
    // (its files are written), so the box and the readings follow it too:
    // otherwise the readings of one patient would be saved under another.
    FillPatientBox();
    SelectCurrentPatientInBox();
    doc_.RebuildPatientList();
    const std::string edited = doc_.currentPatientId;
    const PatientProfile profile = doc_.profile;
    const UserSettings settings = doc_.settings;
    LoadSelectedPatient();
    if (sheet.unsaved() && doc_.currentPatientId == edited) {
        // The reload read the old file back; the user was told the edits are
        // not saved, not that they are gone.
        doc_.profile = profile;
        doc_.settings = settings;
        ShowDataList();
    }
}

// ---- port settings and about ----

void CMainFrame::OnPortSettings() {
    int stored = doc_.store().StoredPort();
    if (stored == 0) {
        stored = 1;
        doc_.store().StorePort(1);
    }
    QStringList labels;
    for (int i = 0; i < 20 && link_; ++i) {
        labels << link_->PortLabel(i);
    }
    CPortDialog dialog(labels, stored, this);
    const bool connectPressed = prompter_.Exec(dialog) == QDialog::Accepted;
    if (!link_) {
        return;
    }
    if (!connectPressed) {
        if (link_->PortOpen()) {
            const QString name = link_->PortLabel(link_->PortIndex());
            link_->ClosePort();
            Message(QString("Verbindung für trennen %1.").arg(name), texts::kCaption);
        }
        return;
    }
    const int index = dialog.selectedIndex();
    if (index < 0 || index >= 20) {
        return;  // nothing chosen: nothing to open
    }
    if (link_->PortOpen()) {
        link_->ClosePort();
    }
    const QString name = link_->PortLabel(index);
    if (link_->OpenPort(index)) {
        doc_.store().StorePort(index + 1);
        Message(QString("Verbindung für %1 erfolgreich.").arg(name), texts::kCaption);
    } else {
        Message(QString("Verbindungsfehler für %1. Bitte wiederholen.").arg(name), texts::kCaption);
    }
    UpdateStatusBar();
}

void CMainFrame::OnPrintSetup() {
    // The same default printer the print command starts from, with the
    // paper chosen last time.
    QPrinter printer(QPrinter::HighResolution);
    if (doc_.pageLayout) {
        printer.setPageLayout(*doc_.pageLayout);
    }
    QPageSetupDialog dialog(&printer, this);
    if (prompter_.Exec(dialog) == QDialog::Accepted) {
        doc_.pageLayout = printer.pageLayout();
    }
}

void CMainFrame::OnAbout() {
    CAboutDlg about(prompter_, UserGuidePath(), this);
    prompter_.Exec(about);
}

void CMainFrame::Message(const QString& text, const QString& caption) {
    prompter_.Message(this, text, caption);
}

// ---- meter sessions ----

void CMainFrame::ShowProgress() {
    progress_->SetRange(0, 100, 1);
    progress_->SetPosition(0);
    progress_->SetTitle(texts::kProgressTitle);
    progress_->SetMessage(texts::kProgressMessage);
    if (isVisible()) {
        progress_->move(geometry().center() - progress_->rect().center());
    }
    progress_->show();
    sessionVisible_ = true;
    UpdateCommands();
}

void CMainFrame::EndSession() {
    progress_->hide();
    sessionVisible_ = false;
    panel_->SetButtonsEnabled(true);
    UpdateCommands();
}

void CMainFrame::OnReceiveMeterData() {
    panel_->SetButtonsEnabled(false);
    panel_->Clear();
    // The download session scans for the cable adapter as it starts.
    if (sessionVisible_) {
        if (link_ && link_->Running()) {
            link_->Cancel();
        }
        EndSession();
        Message(messages::kRepeat, messages::kMeterCaption);
        return;
    }
    if (doc_.searchMode || doc_.deletionPending) {
        LeaveSearchMode();
        doc_.deletionPending = false;
        LoadSelectedPatient();
        panel_->SetButtonsEnabled(false);
    }
    ShowProgress();
    if (!link_) {
        EndSession();
        Message(messages::kCheckCable, messages::kMeterCaption);
        return;
    }
    link_->Start(RequestKind::Download);
}

void CMainFrame::OnDeleteMeterData() {
    if (sessionVisible_ || doc_.deletionPending) {
        return;
    }
    if (!prompter_.AskOkCancel(this, messages::kConfirmErase, messages::kMeterCaption)) {
        return;
    }
    panel_->SetButtonsEnabled(false);
    panel_->Clear();
    ShowProgress();
    if (!link_) {
        EndSession();
        Message(messages::kCheckCable, messages::kMeterCaption);
        return;
    }
    link_->Start(RequestKind::Erase);
}

void CMainFrame::OnCancelSession() {
    // Cancel ends the session at once; nothing is written and nothing reported.
    if (link_ && link_->Running()) {
        link_->Cancel();
    }
    EndSession();
}

void CMainFrame::OnSessionEnded(SessionEnd end, const std::string& detail) {
    switch (end) {
        case SessionEnd::Decoded:
            EndSession();
            OnRecordsReady();
            break;
        case SessionEnd::Erased:
            progress_->SetTitle("On Receiving...");
            progress_->SetPosition(100);
            EndSession();
            Message(messages::kErased, messages::kMeterCaption);
            break;
        case SessionEnd::NoData:
            EndSession();
            Message(messages::kNoData, messages::kMeterCaption);
            break;
        case SessionEnd::NoAnswer:
            EndSession();
            Message(
                detail.empty() ? QString(messages::kCheckCable) : QString::fromStdString(detail),
                messages::kMeterCaption);
            break;
        case SessionEnd::Interrupted:
            EndSession();
            Message(messages::kRepeat, messages::kMeterCaption);
            break;
        case SessionEnd::CheckFailed:
            EndSession();
            Message(kCheckFailedMessage, messages::kCheckFailCaption);
            break;
        case SessionEnd::WriteFailed:
            EndSession();
            Message(QString("Die empfangenen Daten konnten nicht gespeichert werden: %1")
                        .arg(QString::fromStdString(detail)),
                    messages::kMeterCaption);
            break;
        case SessionEnd::Cancelled:
            EndSession();
            break;
    }
    UpdateStatusBar();
}

void CMainFrame::OnRecordsReady() {
    auto received = ReadWholeFile(JoinPath(doc_.dataFolder(), kDataFileName));
    panel_->Clear();
    if (received.status == ReadStatus::Failed) {
        Message(Unreadable(texts::kUnreadableReceived, received.detail), texts::kCaption);
    }
    for (const ReceivedUser& u : ListReceivedUsers(received.bytes)) {
        const std::string label = UserLabel(u.number);
        panel_->AddRow(QString::fromStdString(label), QString::number(u.count),
                       PatientPanel::RowKind::MeterUser, label);
    }
    panel_->SetButtonsEnabled(true);
}

}  // namespace dorvel
