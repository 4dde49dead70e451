#include "mousegesturespage.h"

#include "core/appstate.h"
#include "taggedwidget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

struct Gesture
{
    const char *list;
    const char *stroke; // the stroke's directions as arrows
    qint32 SettingsModel::*setting;
};

const Gesture kGestureTable[MouseGesturesPage::kGestures] = {
    {"lstUp", "\u2191", &SettingsModel::mouseUp},
    {"lstDown", "\u2193", &SettingsModel::mouseDown},
    {"lstRight", "\u2192", &SettingsModel::mouseRight},
    {"lstLeft", "\u2190", &SettingsModel::mouseLeft},
    {"lstUpRight", "\u2191\u2192", &SettingsModel::mouseUpRight},
    {"lstUpLeft", "\u2191\u2190", &SettingsModel::mouseUpLeft},
    {"lstDownRight", "\u2193\u2192", &SettingsModel::mouseDownRight},
    {"lstDownLeft", "\u2193\u2190", &SettingsModel::mouseDownLeft},
    {"lstRightUp", "\u2192\u2191", &SettingsModel::mouseRightUp},
    {"lstRightDown", "\u2192\u2193", &SettingsModel::mouseRightDown},
    {"lstLeftUp", "\u2190\u2191", &SettingsModel::mouseLeftUp},
    {"lstLeftDown", "\u2190\u2193", &SettingsModel::mouseLeftDown},
};

// The items' texts; an item's index is its action number, as the frame's gesture commands
// number them.
const char *const kActionNames[MouseGesturesPage::kActions] = {
    "Not used",         "Back",
    "Forward",          "Refresh",
    "Stop",             "Close",
    "New Primary Home", "New Secondary Home",
    "New Blank Page",   "Duplicate Current Page",
    "New from Clipboard", "Mail",
    "Search",           "News",
    "Options",          "Add to favorites",
    "Organize favorites", "Add to popup killer whitelist",
};

} // namespace

MouseGesturesPage::MouseGesturesPage(OptionsHost &host, QWidget *parent) : OptionsPage(host, parent)
{
    setObjectName(QStringLiteral("MouseGestures1"));
    auto *frame = taggedWidget(new QGroupBox, "frameGestures", 8105);
    auto *actions = taggedWidget(new QGroupBox, "fraGestureActions", 8106);

    QStringList names;
    for (const char *name : kActionNames)
        names.append(QLatin1String(name));
    auto *grid = new QGridLayout(actions);
    for (int i = 0; i < kGestures; ++i) {
        auto *stroke = new QLabel(QString::fromUtf8(kGestureTable[i].stroke));
        QFont font = stroke->font();
        font.setPointSizeF(font.pointSizeF() * 1.4);
        stroke->setFont(font);
        auto *list = new QComboBox;
        list->setObjectName(QLatin1String(kGestureTable[i].list));
        list->addItems(names);
        grid->addWidget(stroke, i, 0);
        grid->addWidget(list, i, 1);
        m_lists[i] = list;
    }
    grid->setColumnStretch(1, 1);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(actions);
    frameLayout->addStretch(1);
    fillPage(this, frame);

    localise();
    load();
}

void MouseGesturesPage::load()
{
    // A stored number without an item selects nothing and stays stored.
    const SettingsModel &s = AppState::settings;
    for (int i = 0; i < kGestures; ++i) {
        const qint32 action = s.*kGestureTable[i].setting;
        m_lists[i]->setCurrentIndex(action >= 0 && action < kActions ? action : -1);
    }
}

void MouseGesturesPage::save()
{
    SettingsModel &s = AppState::settings;
    for (int i = 0; i < kGestures; ++i) {
        if (m_lists[i]->currentIndex() >= 0)
            s.*kGestureTable[i].setting = m_lists[i]->currentIndex();
    }
}
