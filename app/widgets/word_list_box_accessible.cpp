#include "word_list_box_accessible.h"

#include "accessibility/accessible_labels.h"
#include "word_list_box.h"

#include <QScrollBar>
#include <QWindow>

#include <limits>

WordListBoxAccessible::WordListBoxAccessible(WordListBox* list) : ControlAccessible(list, QAccessible::Table) {}

WordListBoxAccessible::~WordListBoxAccessible() { forgetRows(); }

WordListBox* WordListBoxAccessible::list() const { return static_cast<WordListBox*>(widget()); }

void WordListBoxAccessible::forgetRows() const
{
    const QHash<int, QAccessible::Id> rows = std::exchange(rows_, {});
    for (QAccessible::Id id : rows)
        QAccessible::deleteAccessibleInterface(id);
}

QString WordListBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && list()->accessibleName().isEmpty())
        return labelName();
    return ControlAccessible::text(t);
}

int WordListBoxAccessible::childCount() const
{
    return int(std::min<qsizetype>(list()->count(), std::numeric_limits<int>::max()));
}

QAccessibleInterface* WordListBoxAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (auto it = rows_.constFind(index); it != rows_.constEnd())
        return QAccessible::accessibleInterface(*it);
    // A reader walking a million rows must not leave a million interfaces behind.
    if (rows_.size() >= KeptRows)
        forgetRows();
    auto* row = new WordListRowAccessible(list(), index);
    rows_.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int WordListBoxAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* row = dynamic_cast<const WordListRowAccessible*>(child);
    return row && row->list() == list() && row->isValid() ? row->row() : -1;
}

QAccessibleInterface* WordListBoxAccessible::childAt(int x, int y) const
{
    const qsizetype row = list()->rowAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
    return row >= 0 && row < childCount() ? child(int(row)) : nullptr;
}

QAccessibleInterface* WordListBoxAccessible::focusChild() const
{
    if (!list()->hasFocus())
        return nullptr;
    const qsizetype row = list()->currentRow();
    return row >= 0 && row < childCount() ? child(int(row)) : nullptr;
}

void* WordListBoxAccessible::interface_cast(QAccessible::InterfaceType t)
{
    return t == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                            : ControlAccessible::interface_cast(t);
}

QAccessibleInterface* WordListBoxAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

QList<int> WordListBoxAccessible::selectedRows() const
{
    const qsizetype row = list()->currentRow();
    return row >= 0 && row < childCount() ? QList<int>{int(row)} : QList<int>{};
}

QList<QAccessibleInterface*> WordListBoxAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows())
        cells.append(child(row));
    return cells;
}

bool WordListBoxAccessible::isRowSelected(int row) const { return selectedRows().contains(row); }

WordListRowAccessible::WordListRowAccessible(WordListBox* list, int row) : list_(list), row_(row) {}

bool WordListRowAccessible::isValid() const { return list_ && row_ < list_->count(); }

QWindow* WordListRowAccessible::window() const { return list_ ? list_->window()->windowHandle() : nullptr; }

QAccessibleInterface* WordListRowAccessible::parent() const
{
    return list_ ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
}

QString WordListRowAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return QString();
    // An entry of millions of characters is read out as its start, like it is shown.
    const WordView item = list_->item(row_);
    const QString shown = item.left(WordListBox::ShownLength);
    return shown.size() < item.size() ? shown + QChar(0x2026) : shown;
}

QRect WordListRowAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect box = list_->rowRect(row_);
    return box.isEmpty() ? QRect() : QRect(list_->viewport()->mapToGlobal(box.topLeft()), box.size());
}

QAccessible::State WordListRowAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = state.selected && list_->hasFocus();
    if (list_->rowRect(row_).isEmpty())
        state.offscreen = true;
    return state;
}

bool WordListRowAccessible::isSelected() const { return isValid() && list_->currentRow() == row_; }

void* WordListRowAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
}

QStringList WordListRowAccessible::actionNames() const { return {setFocusAction()}; }

void WordListRowAccessible::doAction(const QString& actionName)
{
    if (actionName != setFocusAction() || !isValid())
        return;
    list_->setFocus(Qt::OtherFocusReason);
    list_->setCurrentRow(row_);
}
