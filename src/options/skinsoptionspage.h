#pragma once

#include "optionspage.h"

class QComboBox;
class QLineEdit;

// Page 6 of the options: the skin of the next start and the navigation toolbar's two image
// strips. Neither changes the running window; the frame takes them at the next start.
class SkinsOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    explicit SkinsOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

private:
    void load();
    void browse(QLineEdit *box);

    QComboBox *m_skin;
    QLineEdit *m_largeImage;
    QLineEdit *m_smallImage;
};
