#include "form_loader.h"

#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "separator_line/xp_line.h"
#include "settings/ole_color.h"
#include "shadow_label/xp_shadow.h"
#include "skin/skinned_control.h"
#include "skin/twips.h"
#include "top_buttons/xp_top_buttons.h"
#include "widgets/word_list_box.h"
#include "window_canvas/xp_canvas2.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <qdrawutil.h>

#include <limits>

namespace {

QString keyOf(const QString& name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

PropertyBag bagOf(const QJsonObject& settings)
{
    PropertyBag bag;
    for (auto it = settings.begin(); it != settings.end(); ++it)
        bag.set(it.key(), it.value().toVariant());
    return bag;
}

QVariant setting(const PropertyBag& bag, const char* key, PropertyType type, const QVariant& fallback)
{
    const QVariant value = toPropertyType(bag.read(QString::fromLatin1(key), fallback), type);
    return value.isValid() ? value : fallback;
}

void applyColors(QWidget* widget, const PropertyBag& bag)
{
    QPalette palette = widget->palette();
    const QVariant back = setting(bag, "backcolor", PropertyType::Color, {});
    if (back.isValid()) {
        palette.setColor(QPalette::Window, Ole::toQColor(back.value<OleColor>()));
        widget->setBackgroundRole(QPalette::Window); // buttons fill with Button by default
        widget->setAutoFillBackground(true);
    }
    const QVariant fore = setting(bag, "forecolor", PropertyType::Color, {});
    if (fore.isValid())
        palette.setColor(QPalette::WindowText, Ole::toQColor(fore.value<OleColor>()));
    widget->setPalette(palette);
}

// A frame filled flat in its back colour, as its option buttons are, inside an etched edge.
class FlatFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!title().isEmpty())
            return QGroupBox::paintEvent(event);
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(backgroundRole()));
        qDrawShadeRect(&painter, rect(), palette(), true, 1);
    }
};

template <class Control>
QWidget* skinned(QWidget* parent, const PropertyBag& bag, const AmbientProperties& ambient)
{
    auto* control = new Control(parent);
    control->readProperties(bag, ambient);
    return control;
}

} // namespace

FormLoader::FormLoader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("stored design %s: %s", qPrintable(path), qPrintable(file.errorString()));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("stored design %s: %s", qPrintable(path), qPrintable(error.errorString()));
    json_ = document.toJson(QJsonDocument::Compact);
    const QJsonObject form = document.object();
    caption_ = form.value(QLatin1String("caption")).toString();
    font_ = toPropertyType(form.value(QLatin1String("font")).toVariant(), PropertyType::Font).value<FontValue>();
}

void FormLoader::load(QWidget* form)
{
    const QJsonArray controls = QJsonDocument::fromJson(json_).object().value(QLatin1String("controls")).toArray();
    for (const QJsonValue& entry : controls) {
        const QJsonObject object = entry.toObject();
        const QString name = object.value(QLatin1String("name")).toString();
        const int index = object.value(QLatin1String("index")).toInt(-1);
        const QString parentName = object.value(QLatin1String("parent")).toString();
        const PropertyBag bag = bagOf(object.value(QLatin1String("settings")).toObject());
        bags_.insert(keyOf(name, index), bag);
        QWidget* parent = parentName.isEmpty() ? form : find(parentName, -1);
        QWidget* widget = create(object.value(QLatin1String("class")).toString(), name, parent, bag);
        if (!widget)
            continue;
        widget->setObjectName(keyOf(name, index));
        const QJsonArray geometry = object.value(QLatin1String("geometry")).toArray();
        const QRectF twips(geometry.at(0).toDouble(), geometry.at(1).toDouble(), geometry.at(2).toDouble(),
                           geometry.at(3).toDouble());
        if (auto* control = qobject_cast<SkinnedControl*>(widget))
            control->setTwipsGeometry(float(twips.x()), float(twips.y()), float(twips.width()),
                                      float(twips.height()));
        else
            widget->setGeometry(Twips::toPixels(twips));
        widgets_.insert(keyOf(name, index), widget);
    }
}

QWidget* FormLoader::find(const QString& name, int index) const
{
    QWidget* widget = widgets_.value(keyOf(name, index));
    if (!widget)
        qFatal("stored design: no control %s", qPrintable(keyOf(name, index)));
    return widget;
}

QWidget* FormLoader::create(const QString& className, const QString& name, QWidget* parent,
                            const PropertyBag& bag) const
{
    const AmbientProperties ambient{font_, name};
    if (className == QLatin1String("XPCanvas2"))
        return skinned<XPCanvas2>(parent, bag, ambient);
    if (className == QLatin1String("XPTopButtons"))
        return skinned<XPTopButtons>(parent, bag, ambient);
    if (className == QLatin1String("XPShadow"))
        return skinned<XPShadow>(parent, bag, ambient);
    if (className == QLatin1String("XPButton"))
        return skinned<XPButton>(parent, bag, ambient);
    if (className == QLatin1String("XPProgressBar"))
        return skinned<XPProgressBar>(parent, bag, ambient);
    if (className == QLatin1String("XPLine"))
        return skinned<XPLine>(parent, bag, ambient);

    QWidget* widget = nullptr;
    const QString caption = setting(bag, "caption", PropertyType::String, QString()).toString();
    if (className == QLatin1String("TextBox")) {
        auto* box = new QLineEdit(parent);
        box->setMaxLength(std::numeric_limits<int>::max()); // Qt's default would cut letters at 32767
        box->setText(setting(bag, "text", PropertyType::String, QString()).toString());
        widget = box;
    } else if (className == QLatin1String("Frame")) {
        widget = new FlatFrame(caption, parent);
    } else if (className == QLatin1String("OptionButton")) {
        auto* option = new QRadioButton(caption, parent);
        option->setChecked(setting(bag, "value", PropertyType::Boolean, false).toBool());
        widget = option;
    } else if (className == QLatin1String("CheckBox")) {
        auto* check = new QCheckBox(caption, parent);
        check->setChecked(setting(bag, "value", PropertyType::Boolean, false).toBool());
        widget = check;
    } else if (className == QLatin1String("ListBox")) {
        widget = new WordListBox(parent);
    } else if (className == QLatin1String("CommonDialog")) {
        return nullptr; // no widget: its settings are read by the window
    } else {
        qFatal("stored design: unknown class %s", qPrintable(className));
    }
    widget->setFont(font_.toQFont());
    applyColors(widget, bag);
    widget->setVisible(setting(bag, "visible", PropertyType::Boolean, true).toBool());
    return widget;
}
