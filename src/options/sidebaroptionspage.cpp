#include "sidebaroptionspage.h"

#include "core/appstate.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "optionshost.h"
#include "taggedwidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

constexpr int kDefaultFontSize = 12;
constexpr int kSwatchSize = 24;

std::optional<QFont> fontDialog(const QFont &current, QWidget *parent)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, current, parent, QString(), QFontDialog::ScalableFonts);
    return ok ? std::optional<QFont>(font) : std::nullopt;
}

std::optional<QColor> colorDialog(const QColor &current, QWidget *parent)
{
    const QColor color = QColorDialog::getColor(current, parent);
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

// One frame with a refresh period: caption, slider with its label, and the rebuild button.
QGroupBox *periodGroup(const char *name, int caption, int sliderCaption, QSlider *slider,
                       QLabel *label, QPushButton *button)
{
    slider->setRange(0, SidebarOptionsPage::kMaxRefreshMinutes);
    slider->setSingleStep(1);
    slider->setPageStep(5);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(5);
    slider->setToolTip(QStringLiteral("Auto-Refresh (minutes)"));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(SidebarOptionsPage::periodText(88)));

    auto *group = taggedWidget(new QGroupBox, name, caption);
    auto *layout = new QGridLayout(group);
    layout->addWidget(new QLabel(resId(sliderCaption)), 0, 0, 1, 2);
    layout->addWidget(slider, 1, 0);
    layout->addWidget(label, 1, 1);
    layout->addWidget(button, 2, 0, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(0, 1);
    return group;
}

} // namespace

SidebarOptionsPage::SidebarOptionsPage(OptionsHost &host, QWidget *parent)
    : OptionsPage(host, parent), m_message(optionsMessageBox(this)), m_chooseFont(fontDialog),
      m_chooseColor(colorDialog)
{
    setObjectName(QStringLiteral("SideBarOptions1"));
    auto *frame = taggedWidget(new QGroupBox, "frameSidebar", 8035);
    m_enableSidebar = taggedWidget(new QCheckBox, "chkEnableSidebar", 8036);

    auto *notesGroup = taggedWidget(new QGroupBox, "fraQuickNotes", 8037);
    m_preview = new QLineEdit(QStringLiteral("Quick Notes Preview"));
    m_preview->setObjectName(QStringLiteral("txtPreview"));
    auto *fontButton = taggedWidget(new QPushButton, "btnFont", 8040);
    fontButton->setMaximumWidth(fontButton->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    m_swatch = new QToolButton;
    m_swatch->setObjectName(QStringLiteral("picColor"));
    m_swatch->setFixedSize(kSwatchSize * 2, kSwatchSize);
    auto *notesLayout = new QGridLayout(notesGroup);
    notesLayout->addWidget(m_preview, 0, 0, 1, 4);
    notesLayout->addWidget(new QLabel(resId(8039)), 1, 0);
    notesLayout->addWidget(fontButton, 1, 1);
    notesLayout->addWidget(new QLabel(resId(8041)), 1, 2, Qt::AlignRight);
    notesLayout->addWidget(m_swatch, 1, 3);
    notesLayout->setColumnStretch(2, 1);

    m_favorites.slider = new QSlider(Qt::Horizontal);
    m_favorites.slider->setObjectName(QStringLiteral("slideFavorites"));
    m_favorites.label = taggedWidget(new QLabel(resId(8044)), "lblFavorites", 8044);
    auto *refreshFavorites = taggedWidget(new QPushButton, "cmdRefreshFavorites", 8045);
    m_history.slider = new QSlider(Qt::Horizontal);
    m_history.slider->setObjectName(QStringLiteral("slideHistory"));
    m_history.label = new QLabel;
    m_history.label->setObjectName(QStringLiteral("lblHistory"));
    auto *refreshHistory = taggedWidget(new QPushButton, "cmdRefreshHistory", 8048);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_enableSidebar);
    frameLayout->addWidget(notesGroup);
    frameLayout->addWidget(periodGroup("fraFavorites", 8042, 8043, m_favorites.slider,
                                       m_favorites.label, refreshFavorites));
    frameLayout->addWidget(periodGroup("fraHistory", 8046, 8047, m_history.slider,
                                       m_history.label, refreshHistory));
    frameLayout->addStretch(1);
    fillPage(this, frame);

    localise();
    load();

    connect(fontButton, &QPushButton::clicked, this, &SidebarOptionsPage::chooseFont);
    connect(m_swatch, &QToolButton::clicked, this, &SidebarOptionsPage::chooseColor);
    for (Period *period : {&m_favorites, &m_history}) {
        connect(period->slider, &QSlider::valueChanged, this, [period](int minutes) {
            period->minutes = qint16(minutes);
            period->label->setText(periodText(minutes));
        });
    }
    connect(refreshFavorites, &QPushButton::clicked, this,
            [this, refreshFavorites] { refreshFavoritesNow(refreshFavorites); });
    connect(refreshHistory, &QPushButton::clicked, this,
            [this, refreshHistory] { refreshHistoryNow(refreshHistory); });
}

QString SidebarOptionsPage::periodText(int minutes)
{
    // A negative period, which only a hand-edited store holds, stops the timer as 0 does.
    return minutes <= 0 ? QStringLiteral("Stopped") : QStringLiteral("%1 minutes").arg(minutes);
}

void SidebarOptionsPage::load()
{
    const SettingsModel &s = AppState::settings;
    m_enableSidebar->setChecked(s.enableSidebar);

    m_font = QFont(s.qnFontName.isEmpty() ? QStringLiteral("Verdana") : s.qnFontName);
    m_font.setPointSize(s.qnFontSize > 0 ? s.qnFontSize : kDefaultFontSize);
    m_font.setBold(s.qnBold);
    m_font.setItalic(s.qnItalic);
    m_font.setUnderline(s.qnUnderline);
    m_preview->setFont(m_font);

    m_color = quint32(s.qnColor);
    showColor();

    loadPeriod(m_favorites, s.favRefresh);
    loadPeriod(m_history, s.histRefresh);
}

void SidebarOptionsPage::loadPeriod(Period &period, qint16 minutes)
{
    // The slider shows the nearest period it has; the label and the save keep the stored one
    // until the slider is moved.
    period.slider->setValue(qBound(0, int(minutes), kMaxRefreshMinutes));
    period.minutes = minutes;
    period.label->setText(periodText(minutes));
}

void SidebarOptionsPage::save()
{
    SettingsModel &s = AppState::settings;
    // OK shows or hides the side bar with the setting, and the View menu's mark follows it.
    s.enableSidebar = m_enableSidebar->isChecked();

    s.qnFontName = m_font.family();
    // Whole points, an exact half to the even neighbour.
    const double points = std::nearbyint(m_font.pointSizeF());
    s.qnFontSize = qint16(points >= 1 ? qMin<double>(points, std::numeric_limits<qint16>::max())
                                      : kDefaultFontSize);
    s.qnBold = m_font.bold();
    s.qnItalic = m_font.italic();
    s.qnUnderline = m_font.underline();
    s.qnColor = qint32(m_color);

    s.favRefresh = m_favorites.minutes;
    s.histRefresh = m_history.minutes;
}

void SidebarOptionsPage::chooseFont()
{
    const std::optional<QFont> chosen = m_chooseFont(m_font, this);
    if (!chosen)
        return;
    QFont font(chosen->family());
    if (chosen->pointSizeF() > 0)
        font.setPointSizeF(chosen->pointSizeF());
    else
        font.setPointSizeF(m_font.pointSizeF());
    font.setBold(chosen->bold());
    font.setItalic(chosen->italic());
    font.setUnderline(chosen->underline());
    m_font = font;
    m_preview->setFont(m_font);
}

void SidebarOptionsPage::chooseColor()
{
    const std::optional<QColor> chosen = m_chooseColor(storedColorToQColor(m_color), this);
    if (!chosen || !chosen->isValid())
        return;
    m_color = qColorToStoredColor(*chosen);
    showColor();
}

void SidebarOptionsPage::showColor()
{
    const QColor color = storedColorToQColor(m_color);
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::Text, color);
    m_preview->setPalette(palette);
    m_swatch->setStyleSheet(QStringLiteral("QToolButton { background-color: %1; border: 1px solid palette(dark); }")
                                .arg(color.name()));
}

void SidebarOptionsPage::refreshFavoritesNow(QPushButton *button)
{
    button->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = host().reloadFavorites();
    QApplication::restoreOverrideCursor();
    button->setEnabled(true);
    m_message(QMessageBox::NoIcon, loadResString(ok ? 15012 : 15013));
}

void SidebarOptionsPage::refreshHistoryNow(QPushButton *button)
{
    // The tree is built in the background: the outcome is told when it is known, unless the
    // dialog has closed by then.
    button->setEnabled(false);
    host().reloadHistory([page = QPointer<SidebarOptionsPage>(this), button](bool ok) {
        if (!page)
            return;
        button->setEnabled(true);
        page->m_message(QMessageBox::NoIcon, loadResString(ok ? 15014 : 15015));
    });
}
