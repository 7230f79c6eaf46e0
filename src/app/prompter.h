#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace dorvel {

// Everything that asks the user goes through here, so tests and the headless
// road answer by script and nothing ever waits on a modal window.
class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual void Message(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual bool AskOkCancel(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
    // Runs a modal dialog; returns QDialog::Accepted or Rejected.
    virtual int Exec(QDialog& dialog) = 0;
    // Hands a file or folder to the desktop's program for it. False when no
    // program for it could be started; the caller then tells the user where
    // the file is.
    virtual bool OpenWithDesktop(const QString& path) = 0;
};

// Real message boxes and dialogs.
class WidgetPrompter : public Prompter {
  public:
    void Message(QWidget* parent, const QString& text, const QString& caption) override;
    bool AskOkCancel(QWidget* parent, const QString& text, const QString& caption) override;
    bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) override;
    int Exec(QDialog& dialog) override;
    bool OpenWithDesktop(const QString& path) override;
};

}  // namespace dorvel
