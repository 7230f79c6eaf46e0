#pragma once

#include <QWidget>

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

    void Clear();
    void AddRow(const QString& first, const QString& second);
    int RowCount() const;
    QString Cell(int row, int column) const;
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
