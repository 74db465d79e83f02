// The cut's findings as a list: each rapid move that removed material and each cutting
// move below the stock's bottom, with its file and line. Clicking one selects its motion:
// the views draw it highlighted and the status line names its place.
//
// Object names: findingsPanel (the dock), findingsList.
#pragma once

#include <QDockWidget>

class QListWidget;

namespace cuttrace::ui {

class CutView;

class FindingsPanel : public QDockWidget {
    Q_OBJECT
  public:
    FindingsPanel(CutView& cut, QWidget* parent = nullptr);

    QListWidget& List() const { return *list_; }
    static constexpr int kShownRows = 5;   // the height the panel takes when findings come
    static constexpr int kTitleRoom = 40;  // pixels for its title bar and frame

    // Lists the cut's findings anew; the panel shows only while there is something to list.
    void Refresh();

  signals:
    // A finding was chosen: its place as "FILE:LINE".
    void Chosen(const QString& place);

  private:
    CutView& cut_;
    QListWidget* list_ = nullptr;
    std::size_t listed_ = 0;
    int64_t total_ = -1;
    bool hadFindings_ = false;
};

}  // namespace cuttrace::ui
