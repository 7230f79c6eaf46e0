#pragma once

#include <QDialog>
#include <array>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimeEdit;

namespace dorvel {

class CDorvelDoc;
class Prompter;

// "Benutzer-Einstellungen": the editor of the current patient's profile and
// settings. Every committed control changes the document at once; the
// profile is written by "Bestätigen" and "OK".
class CMyPropertySheet : public QDialog {
    Q_OBJECT
  public:
    CMyPropertySheet(CDorvelDoc& doc, Prompter& prompter, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    QLineEdit* idEdit() const { return idEdit_; }
    QLineEdit* nameEdit() const { return nameEdit_; }
    QPlainTextEdit* diagnosisCommentsEdit() const { return diagnosisComments_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QRadioButton* unitButton(int unit) const { return unit_[unit]; }
    // 0/1 before meal low/high, 2/3 after meal, 4/5 overall.
    QLineEdit* targetEdit(int i) const { return targets_[i]; }
    QTimeEdit* slotEdit(int slot) const { return slots_[slot]; }
    QLabel* slotEnd(int slot) const { return slotEnds_[slot]; }
    const std::vector<QRadioButton*>& formatButtons() const { return formatButtons_; }
    bool modified() const { return modified_; }
    // The last write of the profile failed: the document holds edits the file lacks.
    bool unsaved() const { return unsaved_; }

    // Commits the ID edit (what losing the focus does).
    void CommitId();
    // Commits one target edit.
    void CommitTarget(int i);
    void Apply();

  private:
    QWidget* BuildProfilePage();
    QWidget* BuildDiagnosisPage();
    QWidget* BuildTimePage();
    QWidget* BuildDataPage();
    // Shows the document's profile and settings on every page, as after a
    // switch to another patient.
    void FillPages();
    void FillProfilePage();
    void FillDiagnosisPage();
    void FillTimePage();
    void FillDataPage();
    void ShowTargets();
    void ShowSlotEnds();
    void MarkModified();

    CDorvelDoc& doc_;
    Prompter& prompter_;
    QTabWidget* tabs_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
    bool modified_ = false;
    bool unsaved_ = false;
    bool filling_ = false;

    QLineEdit* idEdit_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* sex_ = nullptr;
    QDateEdit* birth_ = nullptr;
    std::vector<std::pair<QLineEdit*, std::string*>> texts_;
    QComboBox* diabetesType_ = nullptr;
    QDateEdit* diagnosisDate_ = nullptr;
    QPlainTextEdit* diagnosisComments_ = nullptr;
    QPlainTextEdit* treatmentComments_ = nullptr;
    std::vector<std::pair<QCheckBox*, int*>> treatments_;
    QCheckBox* separate_ = nullptr;
    std::array<QRadioButton*, 2> unit_{};
    std::array<QRadioButton*, 2> temperature_{};
    std::array<QRadioButton*, 2> control_{};
    std::array<QLineEdit*, 6> targets_{};
    std::array<QTimeEdit*, 8> slots_{};
    std::array<QLabel*, 8> slotEnds_{};
    std::vector<QRadioButton*> formatButtons_;
};

}  // namespace dorvel
