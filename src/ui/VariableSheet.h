// One common-variable tab of the macro window: fifty texts in five columns of ten rows,
// drawn on a white sheet.
#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

namespace cuttrace::ui {

class VariableSheet : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRows = 10;
    static constexpr int kColumns = 5;

    explicit VariableSheet(QWidget* parent = nullptr);

    // Replaces the texts (entry i stands in row i mod rows, column i div rows) and repaints.
    void SetTexts(const QStringList& texts);
    // The rows of a column (10 unless set); the sheet is as tall as they need.
    void SetRows(int rows);
    const QStringList& Texts() const { return texts_; }
    // The width the five columns need in this font (at least 5 + 5 x 90 pixels).
    static int WidthFor(const QFont& font);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QStringList texts_;
    int rows_ = kRows;
};

}  // namespace cuttrace::ui
