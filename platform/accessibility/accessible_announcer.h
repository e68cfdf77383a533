#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <initializer_list>
#include <utility>

class QAccessibleEvent;
class QWidget;
class SkinnedControl;

// Tells assistive technology that a widget's name, description, value or state changed,
// or that it has more children.
// The long loops change captions and values on every item, so changes are coalesced:
// the first is told at once, later ones at most once per interval, the last one always.
// Nothing at all happens while no assistive technology listens.
class AccessibleAnnouncer : public QObject {
    Q_OBJECT
public:
    enum Change { Name = 1, Description = 2, Value = 4, ChildrenAdded = 8, Enabled = 16 };
    static constexpr int IntervalMs = 100;

    // The widget's announcer, made on first use and owned by the widget.
    static AccessibleAnnouncer* of(QWidget* widget);
    // Announces the listed properties of a control when it reports them changed.
    static void watch(SkinnedControl* control, std::initializer_list<std::pair<const char*, Change>> properties);

    void changed(Change change);

    // Whether anyone listens: an assistive technology, or a test's own sink.
    static bool listening();
    // Hands an event to the assistive technology, or to the sink while one is set.
    static void send(QAccessibleEvent* event);
    using Sink = void (*)(QAccessibleEvent*);
    // Lets a test see announcements where no assistive technology runs; nullptr ends it.
    static void setSink(Sink sink);

private:
    explicit AccessibleAnnouncer(QWidget* widget);
    void flush();

    QWidget* widget_;
    int pending_ = 0;
    QElapsedTimer sinceLast_;
    QTimer timer_;
};
