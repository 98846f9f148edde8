#pragma once

#include <QAbstractScrollArea>
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class QTextLayout;
class QTimer;

namespace orv::ui {

// A read-only view of a report's UTF-8 text that lays out only the lines on
// screen, so that a report of hundreds of megabytes opens at once and
// scrolls smoothly. It reads the text where it lies (the text must outlive
// the view and stay unchanged) and keeps only the start of every line
// beside it. Lines are never wrapped; the longest one sets the horizontal
// scroll range. Text is selected with the mouse or, from the caret, with
// the keyboard; Ctrl+C copies the selection and Ctrl+A selects everything.
// A search looks through the text where it lies, a slice at a time.
class TextSearch;

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

    // Looks for `text` from the selection (forward: from its end; backward:
    // from its start), going round the report's end once, and selects the
    // match. The first slice of the text is searched at once; a search that
    // needs more goes on between events, so that the window never waits for
    // a whole report. searchFinished tells the outcome.
    void find(const QString& text, bool forward);
    bool searching() const;
    void cancelSearch();
    // Starting positions looked at per slice.
    static constexpr std::size_t SearchSlice = std::size_t{4} << 20;

  signals:
    void searchFinished(bool found, bool wrapped);

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
    void continueSearch();

    std::string_view text_;
    std::vector<std::size_t> starts_;
    std::size_t longestLine_ = 0;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    // The column kept by up and down moves across shorter lines.
    int wantedX_ = -1;
    std::function<void(const QString&)> copy_;
    std::unique_ptr<TextSearch> search_;
    QTimer* searchTimer_ = nullptr;
};

} // namespace orv::ui
