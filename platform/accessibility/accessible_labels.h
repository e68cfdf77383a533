#pragma once

#include <QAccessible>
#include <QList>
#include <QPair>

class QObject;
class QWidget;

// Which label names which field, for widgets that are not QLabel buddies: the label
// reports the field as labelled by it, the field reports the label.
namespace AccessibleLabels {

void link(QWidget* label, QWidget* field);
QWidget* labelOf(const QObject* field);
QList<QWidget*> fieldsOf(const QObject* label);

// The Label and Labelled relations of `object` that `match` asks for.
QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(const QObject* object,
                                                                     QAccessible::Relation match);

} // namespace AccessibleLabels
