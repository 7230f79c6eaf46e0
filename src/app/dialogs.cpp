#include "dialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "prompter.h"

namespace dorvel {

CSearchDialog::CSearchDialog(QWidget* parent) : QDialog(parent), edit_(new QLineEdit(this)) {
    setWindowTitle("Suchen...");
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Name des Patienten :", this));
    row->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

std::optional<QString> AskSearchName(Prompter& prompter, QWidget* parent) {
    CSearchDialog dialog(parent);
    if (prompter.Exec(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.edit()->text();
}

CPortDialog::CPortDialog(const QStringList& labels, int storedPort, QWidget* parent)
    : QDialog(parent), list_(new QComboBox(this)) {
    setWindowTitle("Anschluss-Einstellungen");
    for (int i = 0; i < 20; ++i) {
        list_->addItem(i < labels.size() ? labels[i] : QString("COM%1").arg(i + 1));
    }
    list_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list_->setEditable(false);  // chosen from, never typed into
    list_->setCurrentIndex(storedPort >= 1 && storedPort <= 20 ? storedPort - 1 : -1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Name Anschluss :", this));
    row->addWidget(list_);
    auto* connectButton = new QPushButton("Verbinden", this);
    connectButton->setDefault(true);
    auto* disconnectButton = new QPushButton("Trennen", this);
    connect(connectButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(disconnectButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(connectButton);
    buttons->addWidget(disconnectButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

int CPortDialog::selectedIndex() const {
    return list_->currentIndex();
}

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool),
      message_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton("Cancel", this)) {
    setModal(false);
    setFixedWidth(390);
    bar_->setTextVisible(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::reject);
}

void ProgressWindow::SetMessage(const QString& text) {
    message_->setText(text);
}
void ProgressWindow::SetRange(int low, int high, int) {
    bar_->setRange(low, high);
}
void ProgressWindow::SetPosition(int position) {
    bar_->setValue(position);
}
QString ProgressWindow::message() const {
    return message_->text();
}
int ProgressWindow::position() const {
    return bar_->value();
}

void ProgressWindow::reject() {
    hide();
    emit cancelled();
}

CAboutDlg::CAboutDlg(Prompter& prompter, QString guidePath, QWidget* parent)
    : QDialog(parent), help_(new QPushButton("Hilfe", this)) {
    setWindowTitle("Über Merovan Infomation");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Merovan Communication Program", this));
    layout->addWidget(new QLabel("Version  2.20", this));
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(help_);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(help_, &QPushButton::clicked, this, [this, &prompter, guidePath] {
        // Without a program for PDF files nothing would appear: say where the guide lies.
        QString problem;
        if (!QFile::exists(guidePath)) {
            problem = "Das Benutzerhandbuch fehlt. Es gehört hierher:";
        } else if (!prompter.OpenWithDesktop(guidePath)) {
            problem =
                "Es ist kein Programm zum Anzeigen von PDF-Dateien installiert. Das "
                "Benutzerhandbuch liegt hier:";
        }
        if (!problem.isEmpty()) {
            prompter.Message(this, problem + "\n" + QDir::toNativeSeparators(guidePath), "Merovan");
        }
    });
}

}  // namespace dorvel
