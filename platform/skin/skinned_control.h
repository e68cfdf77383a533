#pragma once

#include "element_host.h"
#include "settings/settings_schema.h"
#include "twips.h"

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

signals:
    // A property changed; the host persists it under this name.
    void PropertyChanged(const QString& name);

protected:
    // Lays the elements out again from twipsWidth() and twipsHeight().
    virtual void layoutElements() {}
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOutPendingResize();
};
