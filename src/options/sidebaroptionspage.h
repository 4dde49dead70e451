#pragma once

#include "optionsmessage.h"
#include "optionspage.h"

#include <QFont>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;

// Page 4 of the options: whether the side bar shows, the quick notes' font and colour with a
// preview, and how often the favorites and history trees are rebuilt, with buttons that rebuild
// them at once (whether or not the dialog is confirmed). A period the sliders cannot show and a
// colour the user did not pick stay as stored.
class SidebarOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    // The font or colour the user picks starting from the current one; nothing when cancelled.
    using FontChooser = std::function<std::optional<QFont>(const QFont &current, QWidget *parent)>;
    using ColorChooser = std::function<std::optional<QColor>(const QColor &current, QWidget *parent)>;

    static constexpr int kMaxRefreshMinutes = 60;

    explicit SidebarOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

    void setMessageFunction(OptionsMessage message) { m_message = std::move(message); }
    void setFontChooser(FontChooser chooser) { m_chooseFont = std::move(chooser); }
    void setColorChooser(ColorChooser chooser) { m_chooseColor = std::move(chooser); }

    // What a refresh label shows for a period: "Stopped" or the minutes.
    static QString periodText(int minutes);

private:
    struct Period
    {
        QSlider *slider = nullptr;
        QLabel *label = nullptr;
        qint16 minutes = 0;
    };

    void load();
    void loadPeriod(Period &period, qint16 minutes);
    void chooseFont();
    void chooseColor();
    void showColor();
    // The rebuild buttons: tell whether the tree could be built again.
    void refreshFavoritesNow(QPushButton *button);
    void refreshHistoryNow(QPushButton *button);

    QCheckBox *m_enableSidebar;
    QLineEdit *m_preview;
    QToolButton *m_swatch;
    Period m_favorites;
    Period m_history;
    QFont m_font;
    quint32 m_color = 0; // as stored: 0x00BBGGRR or a system colour
    OptionsMessage m_message;
    FontChooser m_chooseFont;
    ColorChooser m_chooseColor;
};
