#include "accessible_labels.h"

#include <QPointer>
#include <QWidget>

namespace {

// Kept on the widgets themselves, so a link ends with either of them.
const char* const LabelKey = "quorvaneAccessibleLabel";
const char* const FieldsKey = "quorvaneAccessibleFields";

using WidgetRefs = QList<QPointer<QWidget>>;

} // namespace

void AccessibleLabels::link(QWidget* label, QWidget* field)
{
    field->setProperty(LabelKey, QVariant::fromValue(QPointer<QWidget>(label)));
    WidgetRefs fields = label->property(FieldsKey).value<WidgetRefs>();
    fields.append(field);
    label->setProperty(FieldsKey, QVariant::fromValue(fields));
}

QWidget* AccessibleLabels::labelOf(const QObject* field)
{
    return field->property(LabelKey).value<QPointer<QWidget>>().data();
}

QList<QWidget*> AccessibleLabels::fieldsOf(const QObject* label)
{
    QList<QWidget*> result;
    for (const QPointer<QWidget>& field : label->property(FieldsKey).value<WidgetRefs>()) {
        if (field)
            result.append(field.data());
    }
    return result;
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> AccessibleLabels::relations(const QObject* object,
                                                                                       QAccessible::Relation match)
{
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> result;
    if (match & QAccessible::Label) {
        if (QWidget* label = labelOf(object)) {
            if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(label))
                result.append({iface, QAccessible::Label});
        }
    }
    if (match & QAccessible::Labelled) {
        for (QWidget* field : fieldsOf(object)) {
            if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(field))
                result.append({iface, QAccessible::Labelled});
        }
    }
    return result;
}
