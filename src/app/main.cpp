#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>

#include "dorvel_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Kestrana");
    QApplication::setApplicationName("DorvelSuite");
    dorvel::CDorvelApp dorvelApp(QDir::currentPath().toStdString(), dorvel::MakeFilePatientStore(),
                                 std::make_unique<dorvel::WidgetPrompter>(), nullptr);
    dorvel::CMainFrame& frame = dorvelApp.frame();
    frame.show();
    // DORVEL_SCREENSHOT=FILE.png: show the data list of the current patient,
    // save a picture of the window and end (used for the documentation).
    const QString shot = qEnvironmentVariable("DORVEL_SCREENSHOT");
    if (!shot.isEmpty()) {
        QTimer::singleShot(1500, &frame, [&frame, shot] {
            frame.Run(dorvel::kCmdDataList);
            frame.OnRecordsReady();
            QTimer::singleShot(500, &frame, [&frame, shot] {
                frame.grab().save(shot);
                QApplication::quit();
            });
        });
    }
    return app.exec();
}
