#include <QApplication>
#include <QDir>

#include "dorvel_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Kestrana");
    QApplication::setApplicationName("DorvelSuite");
    dorvel::CDorvelApp dorvelApp(QDir::currentPath().toStdString(), dorvel::MakeFilePatientStore(),
                                 std::make_unique<dorvel::WidgetPrompter>(), nullptr);
    dorvelApp.frame().show();
    return app.exec();
}
