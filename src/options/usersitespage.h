#pragma once

#include "optionspage.h"

#include <array>

class QLineEdit;
class QPushButton;

// The five user sites: two home pages, the search, news and mail sites.
class UserSitesPage : public OptionsPage
{
    Q_OBJECT
public:
    static constexpr int kSiteLimit = 250;

    explicit UserSitesPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    void fillSelected(const QString &address);

    std::array<QLineEdit *, 5> m_sites{};
    QPushButton *m_useCurrent = nullptr;
    // The box that last had the focus; the buttons fill it.
    int m_selectedSite = 0;
};
