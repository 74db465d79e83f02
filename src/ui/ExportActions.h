// Export and print of the views: one view (from its tool bar's export button) or every
// visible view, laid out as on the screen, with a title block (program, date, dialect,
// extent of the path, scale, machining time) under them.
//
// PNG takes the views' pictures as shown; SVG, PDF and the printer get the tool path as
// vector lines (over the shaded cut, a picture, where a view shows the cut). The format
// follows the file's extension. The window gets two actions with shortcuts: Ctrl+E exports
// and Ctrl+P prints every visible view (exportAllAction, printAllAction); each view's
// export button (exportButton) has them in its menu, after exportViewAction and
// printViewAction for the view alone.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "pictures/PictureSheet.h"

class QAction;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class MainWindow;
class UiDialogs;
class ViewPane;

class ExportActions : public QObject {
    Q_OBJECT
  public:
    ExportActions(MainWindow& window, UiDialogs& dialogs, const Settings& settings);

    // Gives the view its export button.
    void AttachView(ViewPane* view);

    // The views shown now (the layout's), or only the given one.
    std::vector<ViewPane*> Views(ViewPane* only) const;
    // The sheet of those views with its title block.
    PictureSheet Sheet(const std::vector<ViewPane*>& views) const;
    // Asks for a file and writes the views there; a message when that fails.
    void Export(ViewPane* only);
    // Writes the views to path; false with a message shown when that fails.
    bool ExportTo(const std::vector<ViewPane*>& views, const QString& path);
    // Asks for a printer (Qt's print dialog) and prints the views fitted to the page.
    void Print(ViewPane* only);

  private:
    MainWindow& window_;
    UiDialogs& dialogs_;
    const Settings& settings_;
    QAction* exportAll_ = nullptr;
    QAction* printAll_ = nullptr;
};

}  // namespace cuttrace::ui
