// The rows of ProgramLines on screen, with their line numbers: a scroll area that paints only
// the rows in sight and keeps nothing per row, so ten million lines scroll as smoothly as
// ten (an item view lays out and remembers every row).
//
// A click or the arrow, page, Home and End keys choose a row (rowChosen); a double click or
// Enter activates it (rowActivated). SetCurrentRow selects a row without telling.
#pragma once

#include <QAbstractScrollArea>

namespace cuttrace::ui {

class ProgramLines;

class ProgramLinesView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    ProgramLinesView(ProgramLines& lines, QWidget* parent = nullptr);

    int CurrentRow() const { return current_; }
    void SetCurrentRow(int row);
    // Brings row into sight (centred, or just inside the edge nearer to it).
    void ScrollTo(int row, bool centre);
    // The row under a point of the viewport (-1: none).
    int RowAt(const QPoint& point) const;
    // The viewport rectangle of row.
    QRect RowRect(int row) const;
    int RowHeight() const;

  signals:
    void rowChosen(int row);
    void rowActivated(int row);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void UpdateScrollBars();
    int VisibleRows() const;
    int GutterWidth() const;
    void Choose(int row);

    ProgramLines& lines_;
    int current_ = -1;
    int widest_ = 0;  // the widest text painted so far (the horizontal scroll range)
};

}  // namespace cuttrace::ui
