#include <QApplication>
#include <QDir>
#include <QTimer>
#include <clocale>
#include <csignal>
#include <memory>

#include "dorvel_app.h"
#include "live_session_link.h"
#include "program_files.h"
#include "store/data_folder.h"

namespace {

// DORVEL_SCREENSHOT=FILE.png: show the current patient's data list, receive
// from the meter, save a picture of the window once the session has ended
// and quit (used for the documentation).
void TakeScreenshotAfterDownload(dorvel::CMainFrame& frame, const QString& file) {
    QTimer::singleShot(1000, &frame, [&frame, file] {
        frame.Run(dorvel::kCmdDataList);
        frame.Run(dorvel::kCmdReceive);
        auto* poll = new QTimer(&frame);
        auto waited = std::make_shared<int>(0);
        QObject::connect(poll, &QTimer::timeout, &frame, [&frame, file, poll, waited] {
            if (frame.SessionVisible() && ++*waited < 1200) {
                return;
            }
            poll->stop();
            QTimer::singleShot(500, &frame, [&frame, file] {
                frame.grab().save(file);
                QApplication::quit();
            });
        });
        poll->start(100);
    });
}

}  // namespace

int main(int argc, char** argv) {
    // Under a file-size limit a write then fails with EFBIG, which is
    // reported and leaves the old file, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    dorvel::InstallQtGermanTranslations(app);
    // Qt takes the user's locale for everything; numbers in our reports and
    // files keep their decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName("Kestrana");
    QApplication::setApplicationName("DorvelSuite");
    // The desktop matches the window to its menu entry by this name.
    QApplication::setDesktopFileName("de.kestrana.dorvel");
    QApplication::setWindowIcon(dorvel::ProgramIcon());
    const std::string working = QDir::currentPath().toStdString();
    dorvel::CDorvelApp dorvelApp(
        working, dorvel::MakeFilePatientStore(), std::make_unique<dorvel::WidgetPrompter>(),
        std::make_unique<dorvel::LiveSessionLink>(dorvel::ResolveDataFolder(working)));
    dorvel::CMainFrame& frame = dorvelApp.frame();
    frame.show();
    const QString shot = qEnvironmentVariable("DORVEL_SCREENSHOT");
    if (!shot.isEmpty()) {
        TakeScreenshotAfterDownload(frame, shot);
    }
    return app.exec();
}
