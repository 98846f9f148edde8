#pragma once

#include <QAbstractScrollArea>
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

class QTextLayout;

namespace orv::ui {

// A read-only view of a report's UTF-8 text that lays out only the lines on
// screen, so that a report of hundreds of megabytes opens at once and
// scrolls smoothly. It reads the text where it lies (the text must outlive
// the view and stay unchanged) and keeps only the start of every line
// beside it. Lines are never wrapped; the longest one sets the horizontal
// scroll range. Text is selected with the mouse or, from the caret, with
// the keyboard; Ctrl+C copies the selection and Ctrl+A selects everything.
class ReportView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit ReportView(QWidget* parent = nullptr);
    ~ReportView() override;

    void setText(std::string_view text);
    std::string_view text() const { return text_; }
    // The whole text as a QString (a copy: for small reports and tests).
    QString toPlainText() const;

    std::size_t lineCount() const { return starts_.size(); }
    std::string_view line(std::size_t index) const;
    // The longest line, in characters.
    std::size_t longestLine() const { return longestLine_; }

    // Byte offsets into the text; the caret is where keyboard moves start.
    void setSelection(std::size_t anchor, std::size_t caret);
    void selectAll();
    std::size_t selectionAnchor() const { return anchor_; }
    std::size_t caret() const { return caret_; }
    std::string_view selectedText() const;
    // The first line shown at the top.
    std::size_t firstVisibleLine() const;

    // Where Ctrl+C sends the selection; the system clipboard when unset.
    void setCopyHandler(std::function<void(const QString&)> handler) { copy_ = std::move(handler); }
    void copySelection();

    // The width of the view that shows `columns` characters of a line
    // without scrolling, frame and vertical scroll bar included.
    int widthForColumns(int columns) const;
    int heightForLines(int lines) const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    std::size_t lineOf(std::size_t offset) const;
    std::size_t lineEnd(std::size_t index) const;
    int visibleLines() const;
    int charWidth() const;
    void updateScrollBars();
    void layoutLine(QTextLayout& layout, std::size_t index) const;
    std::size_t offsetAt(const QPoint& viewportPos) const;
    void moveCaret(std::size_t offset, bool extend);
    void ensureCaretVisible();

    std::string_view text_;
    std::vector<std::size_t> starts_;
    std::size_t longestLine_ = 0;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    // The column kept by up and down moves across shorter lines.
    int wantedX_ = -1;
    std::function<void(const QString&)> copy_;
};

} // namespace orv::ui
