#include "historycleanerpanel.h"

#include "core/appstate.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "historytree.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>

namespace {

struct CleanerBox
{
    const char *box;
    const char *label;
    int text;
    int top; // twips
    HistoryCleaner::Kind kind;
};
constexpr CleanerBox kBoxes[] = {
    {"chkManAddress", "Label3", 8018, 120, HistoryCleaner::AddressList},
    {"chkManSearch", "Label4", 8019, 438, HistoryCleaner::SearchList},
    {"chkManCookies", "Label5", 8020, 756, HistoryCleaner::Cookies},
    {"chkManHistory", "Label6", 8021, 1074, HistoryCleaner::InternetHistory},
    {"chkManTemp", "Label7", 8022, 1395, HistoryCleaner::TemporaryFiles},
};
constexpr int kLeftTwips = 120;
constexpr int kButtonTopTwips = 1680;
constexpr int kButtonTwips = 495;
constexpr int kLabelGap = 4; // pixels between a box and its label

QToolButton *cleanerButton(QWidget *panel, const char *name, int toolTip, QStyle::StandardPixmap picture,
                           int leftTwips)
{
    auto *button = new QToolButton(panel);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(loadResString(toolTip));
    button->setIcon(panel->style()->standardIcon(picture));
    button->setAutoRaise(true);
    button->setGeometry(twipsToPixels(leftTwips), twipsToPixels(kButtonTopTwips),
                        twipsToPixels(kButtonTwips), twipsToPixels(kButtonTwips));
    return button;
}

} // namespace

HistoryCleanerPanel::HistoryCleanerPanel(QWidget *panel, const SidebarHost &host, HistoryTree *tree,
                                         QObject *parent)
    : QObject(parent), m_panel(panel), m_host(host), m_tree(tree)
{
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        const CleanerBox &row = kBoxes[i];
        auto *box = new QCheckBox(panel);
        box->setObjectName(QLatin1String(row.box));
        box->adjustSize();
        box->move(twipsToPixels(kLeftTwips), twipsToPixels(row.top));
        connect(box, &QCheckBox::toggled, this, &HistoryCleanerPanel::updateCleanSelected);
        m_boxes[i] = box;

        auto *label = new QLabel(loadResString(row.text), panel);
        label->setObjectName(QLatin1String(row.label));
        label->installEventFilter(this);
        m_labels[i] = label;
    }
    m_cleanAllButton = cleanerButton(panel, "btnCleanAll", 1193, QStyle::SP_TrashIcon, kLeftTwips);
    m_cleanSelectedButton = cleanerButton(panel, "btnCleanSel", 1194,
                                          QStyle::SP_DialogDiscardButton, kLeftTwips + kButtonTwips);
    m_cleanSelectedButton->setEnabled(false);
    connect(m_cleanAllButton, &QToolButton::clicked, this, &HistoryCleanerPanel::cleanAll);
    connect(m_cleanSelectedButton, &QToolButton::clicked, this,
            &HistoryCleanerPanel::cleanSelected);

    panel->installEventFilter(this);
    layoutLabels();
}

HistoryCleaner::Kinds HistoryCleanerPanel::selectedKinds() const
{
    HistoryCleaner::Kinds kinds;
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes[i]->isChecked())
            kinds |= kBoxes[i].kind;
    }
    return kinds;
}

bool HistoryCleanerPanel::cleanAll()
{
    if (m_busy)
        return false;
    if (m_host.message(m_panel, QMessageBox::Question, loadResString(8512),
                       QMessageBox::Yes | QMessageBox::No, loadResString(8513))
        != QMessageBox::Yes)
        return false;
    return clean(HistoryCleaner::AllKinds, true);
}

bool HistoryCleanerPanel::cleanSelected()
{
    if (m_busy)
        return false;
    const HistoryCleaner::Kinds kinds = selectedKinds();
    return clean(kinds, bool(kinds & HistoryCleaner::TreeKinds));
}

bool HistoryCleanerPanel::clean(HistoryCleaner::Kinds kinds, bool reloadTree)
{
    // A second click while events are handled during the cleaning must not start another.
    m_busy = true;
    m_cleanAllButton->setEnabled(false);
    m_cleanSelectedButton->setEnabled(false);
    QPointer<HistoryCleanerPanel> self(this);
    HistoryCleaner::deleteHistory(m_host, kinds, m_panel->window(), m_tree ? m_tree->store() : nullptr,
                                  [self, reloadTree](bool ok) {
                                      if (self)
                                          self->finishCleaning(ok, reloadTree);
                                  });
    return true;
}

void HistoryCleanerPanel::finishCleaning(bool ok, bool reloadTree)
{
    if (reloadTree && m_tree)
        m_tree->loadHistory();
    m_busy = false;
    m_cleanAllButton->setEnabled(true);
    updateCleanSelected();
    m_host.message(m_panel, ok ? QMessageBox::Information : QMessageBox::Warning,
                   loadResString(ok ? 15000 : 15001));
    Q_EMIT cleaned(ok);
}

void HistoryCleanerPanel::cleanAtExit(const SidebarHost &host, QWidget *owner)
{
    const SettingsModel &s = AppState::settings;
    HistoryCleaner::Kinds kinds;
    kinds.setFlag(HistoryCleaner::AddressList, s.cleanAddress);
    kinds.setFlag(HistoryCleaner::SearchList, s.cleanSearch);
    kinds.setFlag(HistoryCleaner::Cookies, s.cleanCookies);
    kinds.setFlag(HistoryCleaner::InternetHistory, s.cleanHistory);
    kinds.setFlag(HistoryCleaner::TemporaryFiles, s.cleanTemp);
    HistoryCleaner::deleteHistory(host, kinds, owner, nullptr, [](bool ok) {
        if (!ok)
            qWarning("Closing: the traces chosen for deletion at exit could not all be deleted");
    });
}

void HistoryCleanerPanel::updateCleanSelected()
{
    m_cleanSelectedButton->setEnabled(!m_busy && selectedKinds() != HistoryCleaner::Kinds());
}

void HistoryCleanerPanel::layoutLabels()
{
    for (size_t i = 0; i < m_labels.size(); ++i) {
        const QRect box = m_boxes[i]->geometry();
        const int left = box.right() + 1 + kLabelGap;
        m_labels[i]->setGeometry(left, box.top(), qMax(0, m_panel->width() - left), box.height());
    }
}

bool HistoryCleanerPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel && event->type() == QEvent::Resize) {
        layoutLabels();
    } else if (event->type() == QEvent::MouseButtonRelease
               && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        for (size_t i = 0; i < m_labels.size(); ++i) {
            if (watched == m_labels[i] && m_labels[i]->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
                m_boxes[i]->toggle();
        }
    }
    return QObject::eventFilter(watched, event);
}
