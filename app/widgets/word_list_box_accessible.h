#pragma once

#include "accessibility/control_accessible.h"

#include <QHash>
#include <QPointer>

class WordListBox;

// A list box as assistive technology sees it: a list whose rows are made only when
// asked for, and only a bounded number of them kept, whatever the row count.
class WordListBoxAccessible : public ControlAccessible {
public:
    // Row interfaces kept before the oldest ones are let go.
    static constexpr int KeptRows = 256;

    explicit WordListBoxAccessible(WordListBox* list);
    ~WordListBoxAccessible() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    int keptRows() const { return int(rows_.size()); }

private:
    WordListBox* list() const;
    void forgetRows() const;

    mutable QHash<int, QAccessible::Id> rows_;
};

// One row, living as long as the list keeps it; it reads its text from the list each time.
class WordListRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    WordListRowAccessible(WordListBox* list, int row);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override { return {}; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int row() const { return row_; }
    WordListBox* list() const { return list_; }

private:
    QPointer<WordListBox> list_;
    int row_;
};
