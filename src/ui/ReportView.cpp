#include "ui/ReportView.h"

#include "ui/FocusMark.h"
#include "ui/TextSearch.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cstring>

namespace orv::ui {

namespace {

constexpr int Margin = 4;

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t characters(std::string_view line) {
    return static_cast<std::size_t>(std::count_if(line.begin(), line.end(), [](char c) { return !isContinuation(c); }));
}

QString lineText(std::string_view line) {
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

// The UTF-16 units QString::fromUtf8 makes of a line's first `bytes` bytes,
// and back; a character of four bytes is a surrogate pair.
int unitsOf(std::string_view line, std::size_t bytes) {
    int units = 0;
    for (std::size_t i = 0; i < bytes && i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (!isContinuation(line[i]))
            units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}

std::size_t bytesOf(std::string_view line, int units) {
    std::size_t i = 0;
    while (i < line.size() && units > 0) {
        const auto c = static_cast<unsigned char>(line[i]);
        units -= c >= 0xF0 ? 2 : 1;
        ++i;
        while (i < line.size() && isContinuation(line[i]))
            ++i;
    }
    return i;
}

std::size_t previousCharacter(std::string_view text, std::size_t offset) {
    if (offset == 0)
        return 0;
    --offset;
    while (offset > 0 && isContinuation(text[offset]))
        --offset;
    return offset;
}

std::size_t nextCharacter(std::string_view text, std::size_t offset) {
    if (offset >= text.size())
        return text.size();
    ++offset;
    while (offset < text.size() && isContinuation(text[offset]))
        ++offset;
    return offset;
}

} // namespace

ReportView::ReportView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    searchTimer_ = new QTimer(this);
    searchTimer_->setSingleShot(true);
    searchTimer_->setInterval(0);
    connect(searchTimer_, &QTimer::timeout, this, &ReportView::continueSearch);
    setText({});
}

ReportView::~ReportView() = default;

void ReportView::setText(std::string_view text) {
    cancelSearch();
    text_ = text;
    starts_.clear();
    starts_.push_back(0);
    longestLine_ = 0;
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const char* lineStart = begin;
    for (;;) {
        const void* found =
            lineStart == end ? nullptr : std::memchr(lineStart, '\n', static_cast<std::size_t>(end - lineStart));
        const char* lineEnd = found ? static_cast<const char*>(found) : end;
        // Counting characters costs a look at every byte; a line shorter
        // in bytes than the longest in characters cannot be longer.
        const auto bytes = static_cast<std::size_t>(lineEnd - lineStart);
        if (bytes > longestLine_)
            longestLine_ = std::max(longestLine_, characters(std::string_view(lineStart, bytes)));
        if (!found)
            break;
        lineStart = lineEnd + 1;
        starts_.push_back(static_cast<std::size_t>(lineStart - begin));
    }
    starts_.shrink_to_fit();
    anchor_ = caret_ = 0;
    wantedX_ = -1;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

QString ReportView::toPlainText() const {
    return lineText(text_);
}

std::string_view ReportView::line(std::size_t index) const {
    if (index >= starts_.size())
        return {};
    return text_.substr(starts_[index], lineEnd(index) - starts_[index]);
}

std::size_t ReportView::lineEnd(std::size_t index) const {
    return index + 1 < starts_.size() ? starts_[index + 1] - 1 : text_.size();
}

std::size_t ReportView::lineOf(std::size_t offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

void ReportView::setSelection(std::size_t anchor, std::size_t caret) {
    anchor_ = std::min(anchor, text_.size());
    caret_ = std::min(caret, text_.size());
    wantedX_ = -1;
    ensureCaretVisible();
    viewport()->update();
}

void ReportView::selectAll() {
    anchor_ = 0;
    caret_ = text_.size();
    viewport()->update();
}

std::string_view ReportView::selectedText() const {
    const std::size_t from = std::min(anchor_, caret_);
    return text_.substr(from, std::max(anchor_, caret_) - from);
}

std::size_t ReportView::firstVisibleLine() const {
    return static_cast<std::size_t>(verticalScrollBar()->value());
}

void ReportView::copySelection() {
    if (anchor_ == caret_)
        return;
    const QString selected = lineText(selectedText());
    if (copy_)
        copy_(selected);
    else
        QGuiApplication::clipboard()->setText(selected);
}

int ReportView::charWidth() const {
    return fontMetrics().horizontalAdvance(QLatin1Char('M'));
}

int ReportView::widthForColumns(int columns) const {
    return columns * charWidth() + 2 * Margin + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
}

int ReportView::heightForLines(int lines) const {
    return lines * fontMetrics().lineSpacing() + 2 * Margin + 2 * frameWidth() +
           horizontalScrollBar()->sizeHint().height();
}

QSize ReportView::sizeHint() const {
    return {widthForColumns(80), heightForLines(25)};
}

int ReportView::visibleLines() const {
    return std::max(1, (viewport()->height() - Margin) / fontMetrics().lineSpacing());
}

void ReportView::updateScrollBars() {
    const auto lines = static_cast<long long>(starts_.size());
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, static_cast<int>(std::clamp<long long>(lines - visibleLines(), 0, INT_MAX)));
    vertical->setPageStep(visibleLines());
    vertical->setSingleStep(1);
    const long long width = static_cast<long long>(longestLine_) * charWidth() + 2 * Margin;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, static_cast<int>(std::clamp<long long>(width - viewport()->width(), 0, INT_MAX)));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(charWidth() * 2);
}

void ReportView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ReportView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateScrollBars();
}

void ReportView::layoutLine(QTextLayout& layout, std::size_t index) const {
    layout.setText(lineText(line(index)));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    if (textLine.isValid())
        textLine.setPosition(QPointF(0, 0));
    layout.endLayout();
}

void ReportView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    const int lineHeight = fontMetrics().lineSpacing();
    const std::size_t first = firstVisibleLine();
    const std::size_t last = std::min(starts_.size(), first + static_cast<std::size_t>(visibleLines()) + 2);
    const qreal x = Margin - horizontalScrollBar()->value();
    const std::size_t selFrom = std::min(anchor_, caret_);
    const std::size_t selTo = std::max(anchor_, caret_);
    painter.setPen(colours.color(QPalette::Text));
    for (std::size_t i = first; i < last; ++i) {
        const qreal y = Margin + static_cast<qreal>(i - first) * lineHeight;
        QTextLayout layout;
        layoutLine(layout, i);
        QList<QTextLayout::FormatRange> selection;
        const std::size_t start = starts_[i];
        const std::size_t end = lineEnd(i);
        if (selFrom < selTo && selFrom <= end && selTo > start) {
            const std::string_view bytes = line(i);
            const int from = unitsOf(bytes, selFrom > start ? selFrom - start : 0);
            const int to = unitsOf(bytes, std::min(selTo, end) - start);
            QTextLayout::FormatRange range;
            range.start = from;
            range.length = to - from;
            range.format.setBackground(colours.brush(QPalette::Highlight));
            range.format.setForeground(colours.brush(QPalette::HighlightedText));
            selection.append(range);
            // A selected line break shows as a blank at the line's end.
            if (selTo > end && end < text_.size()) {
                const qreal breakX = x + layout.lineAt(0).cursorToX(to);
                painter.fillRect(QRectF(breakX, y, charWidth(), lineHeight), colours.brush(QPalette::Highlight));
            }
        }
        layout.draw(&painter, QPointF(x, y), selection);
        if (hasFocus() && caret_ >= start && caret_ <= end)
            layout.drawCursor(&painter, QPointF(x, y), unitsOf(line(i), caret_ - start));
    }
    // The caret may lie outside the lines on screen.
    if (hasFocus())
        paintFocusMark(painter, viewport()->rect(), colours);
}

std::size_t ReportView::offsetAt(const QPoint& pos) const {
    if (starts_.empty())
        return 0;
    const int lineHeight = fontMetrics().lineSpacing();
    const long long row = pos.y() < Margin ? -1 : (pos.y() - Margin) / lineHeight;
    long long index = static_cast<long long>(firstVisibleLine()) + row;
    if (index < 0)
        index = 0;
    if (index >= static_cast<long long>(starts_.size()))
        return text_.size();
    const auto lineIndex = static_cast<std::size_t>(index);
    QTextLayout layout;
    layoutLine(layout, lineIndex);
    const int units = layout.lineAt(0).xToCursor(pos.x() - Margin + horizontalScrollBar()->value());
    return starts_[lineIndex] + bytesOf(line(lineIndex), units);
}

void ReportView::ensureCaretVisible() {
    const std::size_t index = lineOf(caret_);
    QScrollBar* vertical = verticalScrollBar();
    const auto first = static_cast<std::size_t>(vertical->value());
    if (index < first)
        vertical->setValue(static_cast<int>(index));
    else if (index >= first + static_cast<std::size_t>(visibleLines()))
        vertical->setValue(static_cast<int>(index + 1 - static_cast<std::size_t>(visibleLines())));
    QTextLayout layout;
    layoutLine(layout, index);
    const int caretX = static_cast<int>(layout.lineAt(0).cursorToX(unitsOf(line(index), caret_ - starts_[index])));
    QScrollBar* horizontal = horizontalScrollBar();
    const int room = viewport()->width() - 2 * Margin;
    if (caretX < horizontal->value())
        horizontal->setValue(caretX);
    else if (caretX > horizontal->value() + room)
        horizontal->setValue(caretX - room);
}

void ReportView::moveCaret(std::size_t offset, bool extend) {
    caret_ = std::min(offset, text_.size());
    if (!extend)
        anchor_ = caret_;
    ensureCaretVisible();
    viewport()->update();
}

void ReportView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const std::size_t index = lineOf(caret_);
    // Up and down keep the caret's column, as far as the line reaches.
    const auto toLine = [&](long long target) {
        const auto clamped =
            static_cast<std::size_t>(std::clamp<long long>(target, 0, static_cast<long long>(starts_.size()) - 1));
        QTextLayout here;
        layoutLine(here, index);
        if (wantedX_ < 0)
            wantedX_ = static_cast<int>(here.lineAt(0).cursorToX(unitsOf(line(index), caret_ - starts_[index])));
        QTextLayout there;
        layoutLine(there, clamped);
        const int keep = wantedX_;
        moveCaret(starts_[clamped] + bytesOf(line(clamped), there.lineAt(0).xToCursor(keep)), extend);
        wantedX_ = keep;
    };
    switch (event->key()) {
    case Qt::Key_Up: toLine(static_cast<long long>(index) - 1); return;
    case Qt::Key_Down: toLine(static_cast<long long>(index) + 1); return;
    case Qt::Key_PageUp: toLine(static_cast<long long>(index) - visibleLines()); return;
    case Qt::Key_PageDown: toLine(static_cast<long long>(index) + visibleLines()); return;
    default: break;
    }
    wantedX_ = -1;
    switch (event->key()) {
    case Qt::Key_Left: moveCaret(previousCharacter(text_, caret_), extend); return;
    case Qt::Key_Right: moveCaret(nextCharacter(text_, caret_), extend); return;
    case Qt::Key_Home: moveCaret(control ? 0 : starts_[index], extend); return;
    case Qt::Key_End: moveCaret(control ? text_.size() : lineEnd(index), extend); return;
    default: break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ReportView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    wantedX_ = -1;
    moveCaret(offsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void ReportView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    moveCaret(offsetAt(event->position().toPoint()), true);
}

void ReportView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // A word: the run of letters, digits and the like around the click.
    const std::size_t at = offsetAt(event->position().toPoint());
    const auto inWord = [&](std::size_t i) {
        const char c = text_[i];
        return c != ' ' && c != '\n' && c != '\t';
    };
    std::size_t from = at, to = at;
    while (from > 0 && inWord(from - 1))
        --from;
    while (to < text_.size() && inWord(to))
        ++to;
    anchor_ = from;
    moveCaret(to, true);
}

void ReportView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copy = menu.addAction(tr("&Copy"), QKeySequence::Copy);
    copy->setEnabled(anchor_ != caret_);
    QAction* all = menu.addAction(tr("Select &All"), QKeySequence::SelectAll);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == copy)
        copySelection();
    else if (chosen == all)
        selectAll();
}

void ReportView::find(const QString& text, bool forward) {
    cancelSearch();
    const QByteArray needle = text.toUtf8();
    const std::size_t from = forward ? std::max(anchor_, caret_) : std::min(anchor_, caret_);
    search_ = std::make_unique<TextSearch>(text_, std::string_view(needle.constData(), std::size_t(needle.size())),
                                           from, forward);
    continueSearch();
}

bool ReportView::searching() const {
    return search_ && search_->state() == TextSearch::State::Searching;
}

void ReportView::cancelSearch() {
    searchTimer_->stop();
    search_.reset();
}

void ReportView::continueSearch() {
    if (!search_)
        return;
    if (search_->step(SearchSlice) == TextSearch::State::Searching) {
        searchTimer_->start();
        return;
    }
    // Done: whoever hears of it may start the next search at once.
    const std::unique_ptr<TextSearch> done = std::move(search_);
    const bool found = done->state() == TextSearch::State::Found;
    if (found)
        setSelection(done->matchStart(), done->matchStart() + done->matchLength());
    emit searchFinished(found, found && done->wrapped());
}

void ReportView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ReportView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace orv::ui
