#include "patient_panel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "texts.h"
#include "ui/hover_button.h"

namespace dorvel {

PatientPanel::PatientPanel(QWidget* parent)
    : QWidget(parent),
      title_(new QLabel(texts::kPanelTitle, this)),
      list_(new QTreeWidget(this)),
      assign_(new HoverButton(texts::kAssignButton, this)),
      create_(new HoverButton(texts::kCreateButton, this)) {
    setFixedWidth(190);
    title_->setAutoFillBackground(true);
    title_->setAlignment(Qt::AlignCenter);
    title_->setWordWrap(true);
    title_->setStyleSheet(
        "QLabel { color: rgb(123, 104, 238); background: white; font-size: 12pt; }");
    title_->setMinimumHeight(36);

    list_->setColumnCount(2);
    list_->setHeaderLabels({"ID", "Anzahl Werte"});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->header()->resizeSection(0, 50);
    list_->header()->setStretchLastSection(true);
    list_->setStyleSheet(
        "QTreeWidget { background: rgb(135, 206, 235); color: rgb(255, 69, 0); }"
        "QTreeWidget::item { background: rgb(245, 245, 245); }"
        "QTreeWidget::item:selected { background: rgb(0, 120, 215); color: white; }");
    list_->setMinimumHeight(280);
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        emit rowClicked(list_->indexOfTopLevelItem(item));
    });

    assign_->setMinimumHeight(46);
    create_->setMinimumHeight(46);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(list_);
    layout->addWidget(assign_);
    layout->addWidget(create_);
    layout->addStretch();
}

void PatientPanel::Clear() {
    list_->clear();
}

namespace {
constexpr int kKindRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;
}  // namespace

void PatientPanel::AddRow(const QString& first, const QString& second, RowKind kind,
                          const std::string& key) {
    auto* item = new QTreeWidgetItem({first, second});
    item->setData(0, kKindRole, static_cast<int>(kind));
    item->setData(0, kKeyRole, QByteArray::fromStdString(key));
    if (kind == RowKind::Note) {
        item->setFlags(Qt::ItemIsEnabled);
    }
    list_->addTopLevelItem(item);
}

int PatientPanel::RowCount() const {
    return list_->topLevelItemCount();
}

QString PatientPanel::Cell(int row, int column) const {
    auto* item = list_->topLevelItem(row);
    return item ? item->text(column) : QString();
}

PatientPanel::RowKind PatientPanel::Kind(int row) const {
    auto* item = list_->topLevelItem(row);
    return item ? static_cast<RowKind>(item->data(0, kKindRole).toInt()) : RowKind::Note;
}

std::string PatientPanel::Key(int row) const {
    auto* item = list_->topLevelItem(row);
    return item ? item->data(0, kKeyRole).toByteArray().toStdString() : std::string();
}

int PatientPanel::FirstSelectedRow() const {
    for (int i = 0; i < RowCount(); ++i) {
        if (list_->topLevelItem(i)->isSelected()) {
            return i;
        }
    }
    return -1;
}

void PatientPanel::SelectRow(int row, bool add) {
    if (!add) {
        list_->clearSelection();
    }
    if (auto* item = list_->topLevelItem(row)) {
        item->setSelected(true);
    }
}

void PatientPanel::RemoveRow(int row) {
    delete list_->takeTopLevelItem(row);
}

void PatientPanel::SetButtonsEnabled(bool on) {
    assign_->setEnabled(on);
    create_->setEnabled(on);
}

void PatientPanel::SetButtonsVisible(bool on) {
    assign_->setVisible(on);
    create_->setVisible(on);
}

void PatientPanel::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    emit contextRequested();
}

}  // namespace dorvel
