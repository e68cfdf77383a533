#pragma once

#include <QAccessibleWidget>

// The window as assistive technology sees it: a frame, without the scratch text boxes
// that lie beyond its edge.
class FrmMainAccessible : public QAccessibleWidget {
public:
    explicit FrmMainAccessible(QWidget* form);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QAccessibleInterface*> shownChildren() const;
};
