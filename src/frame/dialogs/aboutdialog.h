#pragma once

#include <QDialog>

// The about box of the Help menu: the product, its version, the maker, the disclaimer and the
// versions of the web engine and of Qt the program runs on.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // The version of the engine that renders the pages ("108.0.5359.220"), and of Qt.
    static QString engineVersion();
    // The engine and Qt versions as the box shows them, one line each.
    static QString versionsText();
};
