#pragma once

#include "font_value.h"
#include "property_bag.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <vector>

enum class PropertyType { Boolean, Integer, Color, String, Font, Picture };

// What the host offers a control: its font and the name it gives a new instance.
struct AmbientProperties {
    FontValue font;
    QString displayName;
};

// Converts a stored value (as the stored design or a bag holds it) to the property's
// type; returns an invalid QVariant when it cannot be read as that type.
QVariant toPropertyType(const QVariant& stored, PropertyType type);

template <class Control>
struct PersistedProperty {
    QString key;
    PropertyType type;
    QVariant defaultValue; // invalid for a font: the host's ambient font
    std::function<QVariant(const Control&)> get;
    std::function<void(Control&, const QVariant&)> load;

    QVariant defaultFor(const AmbientProperties& ambient) const
    {
        if (type == PropertyType::Font && !defaultValue.isValid())
            return QVariant::fromValue(ambient.font);
        return defaultValue;
    }
};

// A control's persisted keys, declared once in read order, read and written through here.
template <class Control>
class SettingsSchema {
public:
    SettingsSchema(std::initializer_list<PersistedProperty<Control>> properties) : properties_(properties) {}

    void read(Control& control, const PropertyBag& bag, const AmbientProperties& ambient) const
    {
        for (const auto& property : properties_) {
            const QVariant fallback = property.defaultFor(ambient);
            const QVariant value = toPropertyType(bag.read(property.key, fallback), property.type);
            property.load(control, value.isValid() ? value : fallback);
        }
    }

    void write(const Control& control, PropertyBag& bag, const AmbientProperties& ambient) const
    {
        for (const auto& property : properties_)
            bag.write(property.key, property.get(control), property.defaultFor(ambient));
    }

    QStringList keys() const
    {
        QStringList result;
        for (const auto& property : properties_)
            result.append(property.key);
        return result;
    }

private:
    std::vector<PersistedProperty<Control>> properties_;
};
