#include "prompter.h"

#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
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

namespace {

// The desktop opens files through xdg-open, which is started detached: a
// missing program for the file type shows only in its exit code, long after
// the start was reported a success. So the desktop is asked first. When it
// cannot be asked, the start itself decides.
bool DesktopHasProgramFor(const QString& path) {
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start("xdg-mime", {"query", "default", type});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

bool WidgetPrompter::OpenWithDesktop(const QString& path) {
    if (!DesktopHasProgramFor(path)) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace dorvel
