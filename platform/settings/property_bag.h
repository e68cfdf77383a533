#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

// A control instance's persisted settings: named values, keys matched without
// regard to case, kept in the order they were written.
class PropertyBag {
public:
    // The stored value, or defaultValue when the key is missing.
    QVariant read(QStringView key, const QVariant& defaultValue) const;
    // Stores value under key unless it equals defaultValue (then the key is left out).
    void write(const QString& key, const QVariant& value, const QVariant& defaultValue);
    // Stores value as given (the stored design uses it for its raw entries).
    void set(const QString& key, const QVariant& value);

    bool contains(QStringView key) const;
    QStringList keys() const;
    bool isEmpty() const { return entries_.isEmpty(); }

private:
    qsizetype indexOf(QStringView key) const;

    QList<QPair<QString, QVariant>> entries_;
};
