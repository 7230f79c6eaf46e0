#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace dorvel {

// The narrow bar at the left: received meter users or search results, and
// the assign and create buttons. The frame decides what it shows.
class PatientPanel : public QWidget {
    Q_OBJECT
  public:
    explicit PatientPanel(QWidget* parent = nullptr);

    QLabel* title() const { return title_; }
    QTreeWidget* list() const { return list_; }
    QPushButton* assignButton() const { return assign_; }
    QPushButton* createButton() const { return create_; }

    // What a row stands for. The texts are for reading only: an ID may
    // hold any characters the box or list would show ("Max - 1").
    enum class RowKind { Note, MeterUser, Patient };

    void Clear();
    // `key` is the meter user ("GUEST", "001") or the patient ID (file bytes).
    // A note (such as "No Result...") cannot be selected.
    void AddRow(const QString& first, const QString& second, RowKind kind = RowKind::Note,
                const std::string& key = {});
    int RowCount() const;
    QString Cell(int row, int column) const;
    RowKind Kind(int row) const;
    std::string Key(int row) const;
    // The first selected row in list order, or -1.
    int FirstSelectedRow() const;
    void SelectRow(int row, bool add = false);
    void RemoveRow(int row);
    void SetButtonsEnabled(bool on);
    void SetButtonsVisible(bool on);

  signals:
    void rowClicked(int row);
    void contextRequested();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QLabel* title_;
    QTreeWidget* list_;
    QPushButton* assign_;
    QPushButton* create_;
};

}  // namespace dorvel
