#include "word_list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

WordListBox::WordListBox(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void WordListBox::append(QStringView item)
{
    items_.append(item);
    scheduleRefresh();
}

void WordListBox::clear()
{
    items_.clear();
    current_ = -1;
    shownCount_ = 0;
    verticalScrollBar()->setRange(0, 0);
    viewport()->update();
}

void WordListBox::setCurrentRow(qsizetype row)
{
    row = std::clamp<qsizetype>(row, -1, items_.size() - 1);
    if (row == current_)
        return;
    current_ = row;
    if (row >= 0) {
        const qsizetype first = firstVisibleRow();
        if (row < first)
            verticalScrollBar()->setValue(int(row));
        else if (row >= first + visibleRows())
            verticalScrollBar()->setValue(int(row - visibleRows() + 1));
    }
    viewport()->update();
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
    shownCount_ = items_.size();
    verticalScrollBar()->setRange(0, int(std::max<qsizetype>(0, items_.size() - visibleRows())));
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
                         items_.at(row));
    }
}

void WordListBox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    refresh();
}

void WordListBox::mousePressEvent(QMouseEvent* event)
{
    const qsizetype row = firstVisibleRow() + qsizetype(event->position().y()) / rowHeight();
    if (row < shownCount_)
        setCurrentRow(row);
}

void WordListBox::keyPressEvent(QKeyEvent* event)
{
    const qsizetype page = visibleRows();
    switch (event->key()) {
    case Qt::Key_Up: setCurrentRow(std::max<qsizetype>(0, current_ - 1)); break;
    case Qt::Key_Down: setCurrentRow(current_ + 1); break;
    case Qt::Key_PageUp: setCurrentRow(std::max<qsizetype>(0, current_ - page)); break;
    case Qt::Key_PageDown: setCurrentRow(std::min(items_.size() - 1, current_ + page)); break;
    case Qt::Key_Home: setCurrentRow(0); break;
    case Qt::Key_End: setCurrentRow(items_.size() - 1); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
}

void WordListBox::scrollContentsBy(int, int) { viewport()->update(); }
