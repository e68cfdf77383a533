#pragma once

#include "words/word_array.h"

#include <QAbstractScrollArea>
#include <QAccessible>

// A list box for millions of rows, showing the elements of a word array that another owner
// fills (the store behind the window's lists), so no text is copied: the list itself keeps
// a row count. Rows of one height, painted straight from the array. Appends are cheap: the
// scroll range and the picture catch up once the event loop runs.
class WordListBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit WordListBox(QWidget* parent = nullptr);

    // Rows from `source`, its element `first` on; set while the list is empty.
    void showRowsOf(const WordArray& source, qsizetype first);
    // One more row: the source's next element, which its owner writes before the list
    // is next painted or read.
    void appendRow();
    void clear();
    // Keeps the first `rows` rows.
    void truncate(qsizetype rows);
    qsizetype count() const { return count_; }
    // The row's text, valid until the list changes; empty past the end (as for the first row
    // of an empty list). A view, so that looking at a row never copies an entry of millions
    // of characters.
    WordView item(qsizetype row) const
    {
        const qsizetype index = first_ + row;
        return source_ && row >= 0 && row < count_ && index < source_->size() ? source_->view(index) : WordView();
    }

    qsizetype currentRow() const { return current_; }
    void setCurrentRow(qsizetype row);

    // Characters of an entry a row shows at most: more than fit in any row, few enough
    // that an entry of millions of characters paints as fast as a word.
    static constexpr qsizetype ShownLength = 512;
    // Where the row is in the viewport; empty while it is scrolled out of view.
    QRect rowRect(qsizetype row) const;
    // The row at a viewport point; -1 for none.
    qsizetype rowAt(const QPoint& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void scheduleRefresh();
    void refresh();
    int rowHeight() const;
    int visibleRows() const;
    qsizetype firstVisibleRow() const;
    void announceRow(QAccessible::Event type, qsizetype row);
    void announceCurrentRow();

    const WordArray* source_ = nullptr;
    qsizetype first_ = 0;
    qsizetype count_ = 0;
    qsizetype current_ = -1;
    qsizetype shownCount_ = 0; // rows the scroll range and picture account for
    bool refreshPending_ = false;
};
