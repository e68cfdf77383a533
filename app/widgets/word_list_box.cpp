#include "word_list_box.h"

#include "accessibility/accessible_announcer.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <limits>
#include <utility>

WordListBox::WordListBox(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void WordListBox::showRowsOf(const WordArray& source, qsizetype first)
{
    Q_ASSERT(count_ == 0);
    source_ = &source;
    first_ = first;
}

void WordListBox::appendRow()
{
    ++count_;
    scheduleRefresh();
}

void WordListBox::clear()
{
    // Told while the rows are still there: a reader can only be pointed at a row it can find.
    if (count_ > 0)
        announceRow(QAccessible::ObjectDestroyed, 0);
    count_ = 0;
    current_ = -1;
    shownCount_ = 0;
    verticalScrollBar()->setRange(0, 0);
    viewport()->update();
}

void WordListBox::truncate(qsizetype rows)
{
    if (rows >= count_)
        return;
    clear();
    count_ = rows;
    scheduleRefresh();
}

void WordListBox::setCurrentRow(qsizetype row)
{
    row = std::clamp<qsizetype>(row, -1, count_ - 1);
    if (row == current_)
        return;
    const qsizetype previous = std::exchange(current_, row);
    if (row >= 0) {
        const qsizetype first = firstVisibleRow();
        if (row < first)
            verticalScrollBar()->setValue(int(row));
        else if (row >= first + visibleRows())
            verticalScrollBar()->setValue(int(row - visibleRows() + 1));
    }
    viewport()->update();
    announceRow(QAccessible::SelectionRemove, previous);
    announceCurrentRow();
}

void WordListBox::announceRow(QAccessible::Event type, qsizetype row)
{
    if (row < 0 || row > std::numeric_limits<int>::max() || !AccessibleAnnouncer::listening())
        return;
    QAccessibleEvent event(this, type);
    event.setChild(int(row));
    AccessibleAnnouncer::send(&event);
}

void WordListBox::announceCurrentRow()
{
    announceRow(QAccessible::Selection, current_);
    if (hasFocus())
        announceRow(QAccessible::Focus, current_);
}

QRect WordListBox::rowRect(qsizetype row) const
{
    const qsizetype first = firstVisibleRow();
    if (row < first || row >= std::min(shownCount_, first + visibleRows() + 1))
        return QRect();
    return QRect(0, int(row - first) * rowHeight(), viewport()->width(), rowHeight());
}

qsizetype WordListBox::rowAt(const QPoint& point) const
{
    if (point.y() < 0 || !viewport()->rect().contains(point))
        return -1;
    const qsizetype row = firstVisibleRow() + point.y() / rowHeight();
    return row < shownCount_ ? row : -1;
}

void WordListBox::scheduleRefresh()
{
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(this, &WordListBox::refresh, Qt::QueuedConnection);
}

void WordListBox::refresh()
{
    refreshPending_ = false;
    const qsizetype first = firstVisibleRow();
    const bool rowsAppearInView = shownCount_ < first + visibleRows();
    if (shownCount_ < count_ && AccessibleAnnouncer::listening())
        AccessibleAnnouncer::of(this)->changed(AccessibleAnnouncer::ChildrenAdded);
    shownCount_ = count_;
    verticalScrollBar()->setRange(0, int(std::max<qsizetype>(0, count_ - visibleRows())));
    verticalScrollBar()->setPageStep(visibleRows());
    if (rowsAppearInView)
        viewport()->update();
}

int WordListBox::rowHeight() const { return fontMetrics().height(); }

int WordListBox::visibleRows() const { return std::max(1, viewport()->height() / rowHeight()); }

qsizetype WordListBox::firstVisibleRow() const { return verticalScrollBar()->value(); }

void WordListBox::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int height = rowHeight();
    const qsizetype first = firstVisibleRow();
    const qsizetype last = std::min(shownCount_, first + visibleRows() + 1);
    const QPalette& colors = palette();
    for (qsizetype row = first; row < last; ++row) {
        const QRect box(0, int(row - first) * height, viewport()->width(), height);
        if (row == current_) {
            painter.fillRect(box, colors.brush(QPalette::Highlight));
            painter.setPen(colors.color(QPalette::HighlightedText));
        } else {
            painter.setPen(colors.color(QPalette::Text));
        }
        painter.drawText(box.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         item(row).left(ShownLength));
    }
    if (hasFocus()) {
        // A dotted frame round the current row, or where the first row goes while none is.
        const qsizetype row = current_ >= 0 ? current_ : first;
        const QRect box(0, int(row - first) * height, viewport()->width(), height);
        QPen pen(colors.color(row == current_ ? QPalette::HighlightedText : QPalette::Text));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
}

void WordListBox::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    announceCurrentRow();
}

void WordListBox::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void WordListBox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    refresh();
}

void WordListBox::mousePressEvent(QMouseEvent* event)
{
    const qsizetype row = rowAt(event->position().toPoint());
    if (row >= 0)
        setCurrentRow(row);
}

void WordListBox::keyPressEvent(QKeyEvent* event)
{
    const qsizetype page = visibleRows();
    switch (event->key()) {
    case Qt::Key_Up:
        setCurrentRow(std::max<qsizetype>(0, current_ - 1));
        break;
    case Qt::Key_Down:
        setCurrentRow(current_ + 1);
        break;
    case Qt::Key_PageUp:
        setCurrentRow(std::max<qsizetype>(0, current_ - page));
        break;
    case Qt::Key_PageDown:
        setCurrentRow(std::min(count_ - 1, current_ + page));
        break;
    case Qt::Key_Home:
        setCurrentRow(0);
        break;
    case Qt::Key_End:
        setCurrentRow(count_ - 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
}

void WordListBox::scrollContentsBy(int, int) { viewport()->update(); }
