#pragma once

#include <QObject>

// Tells the running program that a save was refused because something other than a regular
// file stood where it would have written (UserFile::takeRefusedSaves lists them).
class SaveRefusalNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // Emitted from the thread that saved, once for each refusal noted.
    void saveRefused();
};
