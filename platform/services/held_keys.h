#pragma once

#include <QObject>
#include <QSet>

// Marks the presses that a held key repeats as auto-repeats, for every window of the
// program, so a button or a message box acts once for a held key, on its release, and
// never for a key held down before it took the focus. X sends a repeat as a release and
// a press that Qt flags only now and then; the server is asked to send the presses alone.
class HeldKeys : public QObject {
    Q_OBJECT
public:
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;

    QSet<quint64> down_;
};
