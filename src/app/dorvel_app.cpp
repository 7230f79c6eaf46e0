#include "dorvel_app.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "export_actions.h"
#include "report_page_view.h"
#include "store/data_folder.h"
#include "texts.h"

namespace dorvel {

QTranslator* InstallQtGermanTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

CDorvelApp::CDorvelApp(const std::string& workingFolder, std::unique_ptr<PatientStore> store,
                       std::unique_ptr<Prompter> prompter, std::unique_ptr<SessionLink> link,
                       PageFactory pages)
    : store_(std::move(store)), prompter_(std::move(prompter)), link_(std::move(link)) {
    const std::string folder = ResolveDataFolder(workingFolder);
    EnsureDataFolder(folder);
    doc_ = std::make_unique<CDorvelDoc>(folder, *store_, Clock::FromEnvironment());
    // The last patient, when it still has a profile; otherwise the box's first entry.
    doc_->currentPatientId = store_->StoredPatientId();
    if (!pages) {
        pages = MakeReportPageFactory(*prompter_);
    }
    frame_ = std::make_unique<CMainFrame>(*doc_, *prompter_, link_.get(), std::move(pages));
    exports_ = new ExportActions(*frame_, *doc_, *prompter_);
    frame_->exportHandler = [this](int command) { exports_->Run(command); };
    if (link_) {
        link_->ScanForAdapter();
    }
    doc_->RebuildPatientList();
    const std::string problem = doc_->LoadCurrentPatient();
    if (!problem.empty()) {
        prompter_->Message(frame_.get(),
                           QString(texts::kUnreadableReadings).arg(QString::fromStdString(problem)),
                           texts::kCaption);
    }
}

CDorvelApp::~CDorvelApp() {
    frame_.reset();  // the frame ends a running session before the link goes
}

}  // namespace dorvel
