#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// How the options dialog and its pages tell the user something: a message box titled with the
// program's name by default; tests put a recorder in its place.
using OptionsMessage = std::function<void(QMessageBox::Icon icon, const QString &text)>;

// The message box shown over parent.
OptionsMessage optionsMessageBox(QWidget *parent);
