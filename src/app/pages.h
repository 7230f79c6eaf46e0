#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "dorvel_doc.h"

class QTimer;

namespace dorvel {

// What the frame needs of every report page: a deferred redraw.
class DorvelPage : public QWidget {
    Q_OBJECT
  public:
    explicit DorvelPage(QWidget* parent = nullptr);
    // Starts the page's one-shot 100 ms redraw timer with the page table's id.
    virtual void StartRedrawTimer(int timerId);
    virtual QString Title() const = 0;
    // The print command of the frame; the report pages print themselves.
    virtual void PrintPage() {}
    // The print command on a preview instead of the printer.
    virtual void PrintPreview() {}
    int redrawCount() const { return redrawCount_; }
    int lastTimerId() const { return lastTimerId_; }

  protected:
    virtual void Redraw() { update(); }

  private:
    QTimer* timer_;
    int redrawCount_ = 0;
    int lastTimerId_ = 0;
};

// Stands in a page slot until the report page exists: shows the page title.
class PlaceholderPage : public DorvelPage {
    Q_OBJECT
  public:
    PlaceholderPage(QString title, QWidget* parent = nullptr);
    QString Title() const override { return title_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString title_;
};

// The start view: the data folder's picture, or a hint when it has none. The
// first resize defines the base size from which every page measures its growth.
class CDorvelView : public DorvelPage {
    Q_OBJECT
  public:
    CDorvelView(CDorvelDoc& doc, QWidget* parent = nullptr);
    QString Title() const override { return {}; }
    QString PicturePath() const;
    bool firstSize() const { return firstSize_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    CDorvelDoc& doc_;
    bool firstSize_ = true;
};

// The title of each page slot (empty for the start view).
QString PageTitle(int index);

// Makes the widget of one page slot (1..9); the report pages plug in here.
using PageFactory = std::function<DorvelPage*(int index, CDorvelDoc& doc, QWidget* parent)>;
DorvelPage* MakePlaceholderPage(int index, CDorvelDoc& doc, QWidget* parent);

}  // namespace dorvel
