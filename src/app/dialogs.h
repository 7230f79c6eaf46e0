#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace dorvel {

class Prompter;

// "Suchen...": asks for a patient name or part of one.
class CSearchDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CSearchDialog(QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; }

  private:
    QLineEdit* edit_;
};

// The entered text exactly as typed, or nothing when the dialog was cancelled.
std::optional<QString> AskSearchName(Prompter& prompter, QWidget* parent);

// "Anschluss-Einstellungen": chooses COM1..COM20.
class CPortDialog : public QDialog {
    Q_OBJECT
  public:
    // `labels` names the twenty ports as the user knows them, each with its
    // device ("COM20 (/dev/pts/3)"); missing entries read "COM<n>".
    // `storedPort` is the stored 1-based port number; 0 or above 20 selects nothing.
    CPortDialog(const QStringList& labels, int storedPort, QWidget* parent = nullptr);
    QComboBox* list() const { return list_; }
    int selectedIndex() const;  // -1 when nothing is selected

  private:
    QComboBox* list_;
};

// The progress window of a meter session: one per frame, reused.
class ProgressWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    void SetTitle(const QString& title) { setWindowTitle(title); }
    void SetMessage(const QString& text);
    void SetRange(int low, int high, int step);
    void SetPosition(int position);
    QString message() const;
    int position() const;
    QPushButton* cancelButton() const { return cancel_; }

  signals:
    void cancelled();

  protected:
    void reject() override;  // Escape and the close box act as Cancel

  private:
    QLabel* message_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

// "Über Merovan Infomation"; its help button opens the user's guide.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    CAboutDlg(Prompter& prompter, QString guidePath, QWidget* parent = nullptr);
    QPushButton* helpButton() const { return help_; }

  private:
    QPushButton* help_;
};

}  // namespace dorvel
