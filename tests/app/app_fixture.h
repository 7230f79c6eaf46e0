#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/dorvel_app.h"
#include "support/temp_folder.h"

namespace dorvel::test {

// Answers every question by script and records what the user would have seen.
class ScriptedPrompter : public Prompter {
  public:
    struct Shown {
        QString text;
        QString caption;
    };
    std::vector<Shown> messages;
    std::vector<QString> questions;
    std::deque<bool> answers;  // for AskOkCancel/AskYesNo; an empty queue answers false
    std::function<int(QDialog&)> onDialog;  // default: every dialog is cancelled
    std::vector<QString> opened;

    void Message(QWidget*, const QString& text, const QString& caption) override {
        messages.push_back({text, caption});
    }
    bool AskOkCancel(QWidget*, const QString& text, const QString&) override {
        return Answer(text);
    }
    bool AskYesNo(QWidget*, const QString& text, const QString&) override { return Answer(text); }
    int Exec(QDialog& dialog) override {
        return onDialog ? onDialog(dialog) : static_cast<int>(QDialog::Rejected);
    }
    bool openSucceeds = true;  // false: as if the desktop had no program for the file
    bool OpenWithDesktop(const QString& path) override {
        opened.push_back(path);
        return openSucceeds;
    }

  private:
    bool Answer(const QString& text) {
        questions.push_back(text);
        if (answers.empty()) {
            return false;
        }
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
};

// A meter link that does what the test tells it.
class FakeSessionLink : public SessionLink {
  public:
    SessionHooks hooks;
    std::vector<RequestKind> started;
    int cancels = 0;
    bool running = false;
    int portIndex = 2;
    bool portOpen = false;
    bool openSucceeds = true;
    std::vector<int> opened;

    void SetHooks(SessionHooks h) override { hooks = std::move(h); }
    void Start(RequestKind kind) override {
        started.push_back(kind);
        running = true;
    }
    void Cancel() override {
        ++cancels;
        running = false;
    }
    bool Running() const override { return running; }
    void ScanForAdapter() override {}
    int PortIndex() const override { return portIndex; }
    QString PortLabel(int index) const override { return QString("COM%1").arg(index + 1); }
    bool OpenPort(int index) override {
        opened.push_back(index);
        if (openSucceeds) {
            portIndex = index;
            portOpen = true;
        }
        return openSucceeds;
    }
    void ClosePort() override { portOpen = false; }
    bool PortOpen() const override { return portOpen; }

    void End(SessionEnd end, const std::string& detail = {}) {
        running = false;
        hooks.ended(end, detail);
    }
};

// The file store with the stored "Id" and "Port" kept in memory, so tests
// never touch the user's settings.
class TestStore : public PatientStore {
  public:
    TestStore() : files_(MakeFilePatientStore()) {}
    std::string id = "default";
    int port = 1;
    int listRebuilds = 0;

    bool ProfileExists(const std::string& f, const std::string& i) override {
        return files_->ProfileExists(f, i);
    }
    void ReadProfile(const std::string& f, const std::string& i, PatientProfile& p,
                     UserSettings& s) override {
        files_->ReadProfile(f, i, p, s);
    }
    WriteResult WriteProfile(const std::string& f, const std::string& i, const PatientProfile& p,
                             const UserSettings& s) override {
        id = i;
        return files_->WriteProfile(f, i, p, s);
    }
    WriteResult RemovePatient(const std::string& f, const std::string& i) override {
        return files_->RemovePatient(f, i);
    }
    std::vector<PatientEntry> ListPatients(const std::string& f) override {
        return files_->ListPatients(f);
    }
    std::string RebuildPatientList(const std::string& f) override {
        ++listRebuilds;
        return files_->RebuildPatientList(f);
    }
    std::string StoredPatientId() override { return id; }
    void StorePatientId(const std::string& i) override { id = i; }
    int StoredPort() override { return port; }
    void StorePort(int p) override { port = p; }

  private:
    std::unique_ptr<PatientStore> files_;
};

// A program in a fresh working folder; patients can be laid down before it starts.
class AppTest : public ::testing::Test {
  protected:
    TempFolder work;
    std::string data() const { return work.path() + "/DATA"; }
    // Writes a profile (name only beyond the defaults) and optionally readings.
    void AddPatient(const std::string& id, const std::string& name,
                    const std::string& records = {});
    // `pages` makes the report pages from the scripted prompter; none: the program's own.
    void Start(const std::function<PageFactory(Prompter&)>& pages = {});
    void Show();           // the main window on screen
    std::string storedId;  // the "Id" the program finds at start
    void WriteReceived(const std::string& grData);

    std::unique_ptr<CDorvelApp> app;
    ScriptedPrompter* prompter = nullptr;
    FakeSessionLink* link = nullptr;
    TestStore* store = nullptr;
    CMainFrame& frame() { return app->frame(); }
    CDorvelDoc& doc() { return app->doc(); }
};

}  // namespace dorvel::test
