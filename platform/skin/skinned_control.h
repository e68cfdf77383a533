#pragma once

#include "element_host.h"
#include "settings/ole_color.h"
#include "settings/settings_schema.h"
#include "twips.h"

#include <optional>

// The common ground of the skinned controls: windowless elements, a size in twips,
// the change notification the host persists from, and the lifecycle the host drives.
class SkinnedControl : public ElementHost {
    Q_OBJECT
public:
    explicit SkinnedControl(QWidget* parent = nullptr);

    // W and H of the layout rules, in twips.
    float twipsWidth() const { return Twips::fromPixels(width()); }
    float twipsHeight() const { return Twips::fromPixels(height()); }
    void setTwipsSize(float width, float height);
    void setTwipsGeometry(float left, float top, float width, float height);

    // Lifecycle: a brand-new instance (no persisted settings yet), then reading or
    // writing its persisted settings.
    virtual void initNew(const AmbientProperties& ambient);
    virtual void readProperties(const PropertyBag& bag, const AmbientProperties& ambient) = 0;
    virtual void writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const = 0;

    // The BackColor entry of a control's persisted settings, with that control's default.
    template <class Control>
    static PersistedProperty<Control> backColorSetting(OleColor defaultColor)
    {
        return {QStringLiteral("BackColor"), PropertyType::Color, QVariant::fromValue(defaultColor),
                [](const Control& c) { return QVariant::fromValue(c.BackColor()); },
                [](Control& c, const QVariant& v) { c.applyBackColor(v.value<OleColor>()); }};
    }

signals:
    // A property changed; the host persists it under this name.
    void PropertyChanged(const QString& name);

protected:
    // A control with a background colour of its own makes these public as its BackColor
    // property; one without never sets it and paints no background.
    OleColor BackColor() const { return backColor_.value_or(0); }
    // Refuses (returns false, changes nothing) what is no colour.
    bool setBackColor(OleColor color);
    // As loading sets it: no notification.
    bool applyBackColor(OleColor color);
    // Lays the elements out again from twipsWidth() and twipsHeight().
    virtual void layoutElements() {}
    void resizeEvent(QResizeEvent* event) override;
    void paintBackground(QPainter& painter) override;

private:
    void layOutPendingResize();

    std::optional<OleColor> backColor_;
};
