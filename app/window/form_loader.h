#pragma once

#include "settings/property_bag.h"
#include "settings/settings_schema.h"

#include <QHash>
#include <QString>
#include <QWidget>

// Builds a window from its stored design: each control's class, geometry in twips,
// containment and persisted settings. Skinned controls read their settings through
// their own readProperties(); the standard ones take the few settings they have here.
class FormLoader {
public:
    // Reads the design; a broken design is a build fault, so it aborts with the reason.
    explicit FormLoader(const QString& path);

    QString caption() const { return caption_; }
    FontValue font() const { return font_; }

    // Creates every control as a child of `form` (or of its stored parent).
    void load(QWidget* form);

    // The control named so (an array element when index >= 0); aborts when missing.
    template <class T>
    T* control(const QString& name, int index = -1) const
    {
        auto* widget = qobject_cast<T*>(find(name, index));
        Q_ASSERT_X(widget, "FormLoader::control", qPrintable(name));
        return widget;
    }
    // Settings of a control that is no widget (the file dialog).
    PropertyBag settings(const QString& name) const { return bags_.value(name); }

private:
    QWidget* find(const QString& name, int index) const;
    QWidget* create(const QString& className, const QString& name, QWidget* parent, const PropertyBag& bag) const;

    QByteArray json_;
    QString caption_;
    FontValue font_;
    QHash<QString, QWidget*> widgets_;
    QHash<QString, PropertyBag> bags_;
};
