#pragma once

#include <QMessageBox>
#include <QString>

// A message box whose text is shown as the text it is, never as markup: for every message that
// carries text from outside (pages, feeds, servers, file names).
QMessageBox::StandardButton plainMessageBox(QWidget *parent, QMessageBox::Icon icon,
                                            const QString &title, const QString &text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok);
