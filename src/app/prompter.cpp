#include "prompter.h"

#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QUrl>

namespace dorvel {

void WidgetPrompter::Message(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

bool WidgetPrompter::AskOkCancel(QWidget* parent, const QString& text, const QString& caption) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

bool WidgetPrompter::AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

int WidgetPrompter::Exec(QDialog& dialog) {
    return dialog.exec();
}

void WidgetPrompter::OpenWithDesktop(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace dorvel
