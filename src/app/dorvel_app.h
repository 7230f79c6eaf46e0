#pragma once

#include <memory>
#include <string>

#include "dorvel_doc.h"
#include "main_frame.h"
#include "patient_store.h"
#include "prompter.h"

class QCoreApplication;
class QTranslator;

namespace dorvel {

class ExportActions;

// Qt's own German texts: standard buttons, file and print dialogs, page
// setup, print preview and the names of shortcuts ("Strg+P"). The program's
// own texts are German already. Nothing when the translations are not
// installed (the package qt6-translations-l10n); the texts then stay English.
QTranslator* InstallQtGermanTranslations(QCoreApplication& app);

// Start-up in order: data folder, store and document, the frame with its
// panel and patient box, the current patient's data, then the window.
class CDorvelApp {
  public:
    // `workingFolder` is the folder the program runs in; its DATA folder holds the files.
    // Without a page factory the frame gets the report pages.
    CDorvelApp(const std::string& workingFolder, std::unique_ptr<PatientStore> store,
               std::unique_ptr<Prompter> prompter, std::unique_ptr<SessionLink> link,
               PageFactory pages = {});
    ~CDorvelApp();

    CDorvelDoc& doc() { return *doc_; }
    CMainFrame& frame() { return *frame_; }
    Prompter& prompter() { return *prompter_; }
    SessionLink* link() { return link_.get(); }

  private:
    std::unique_ptr<PatientStore> store_;
    std::unique_ptr<Prompter> prompter_;
    std::unique_ptr<SessionLink> link_;
    std::unique_ptr<CDorvelDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    ExportActions* exports_ = nullptr;  // owned by the frame
};

}  // namespace dorvel
