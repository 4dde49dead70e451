#pragma once

#include <QDialog>

class QCheckBox;

// Asks at start-up whether Quarvel is to become the default web browser. Yes (or the Y key)
// registers it at once; N, Esc and the close box count as No. However it closes, the answer is
// stored for later starts, and a ticked "don't ask" turns the question off.
class DefaultBrowserDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DefaultBrowserDialog(QWidget *parent = nullptr);

    // The start-up check: when Quarvel is not the default browser, asks while "CheckIfDefault"
    // is on, else registers it silently when the user once said yes. Only a desktop session
    // has a default browser: on a headless platform nothing is checked.
    static void checkAtStartUp(QWidget *parent);

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void onYes();

    QCheckBox *m_dontAskAgain = nullptr;
    bool m_answeredYes = false;
};
