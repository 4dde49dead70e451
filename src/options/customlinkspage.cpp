#include "customlinkspage.h"
#include "widgets/standardicons.h"

#include "customlinkdialog.h"
#include "pageframe.h"

#include "core/appstate.h"
#include "core/strings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <limits>

namespace {

enum Column { IconColumn, NameColumn, AddressColumn };

QPushButton *button(QWidget *parent, const char *name, int caption)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    if (caption > 0)
        b->setProperty(kTagProperty, resId(caption));
    return b;
}

} // namespace

CustomLinksPage::CustomLinksPage(OptionsHost &host, QWidget *parent) : OptionsPage(host, parent)
{
    QGroupBox *frame = addPageFrame(this, "frameCustomLinks", 8049);

    auto *intro = new QLabel(resId(8050), frame);
    intro->setObjectName(QStringLiteral("Label13"));
    intro->setWordWrap(true);

    m_list = new QTreeWidget(frame);
    m_list->setObjectName(QStringLiteral("lstCustomLinks"));
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHeaderLabels({QString(), QStringLiteral("Site"), QStringLiteral("Link")});
    m_list->header()->setSectionResizeMode(IconColumn, QHeaderView::Fixed);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(IconColumn, 24);
    m_list->setColumnWidth(NameColumn, 110);
    m_list->installEventFilter(this);

    auto *add = button(frame, "btnAddLink", 8051);
    m_edit = button(frame, "btnEditLink", 8052);
    m_delete = button(frame, "btnDeleteLink", 8053);
    auto *import = button(frame, "btnImportLinks", 8506);
    m_up = button(frame, "btnUp", 0);
    m_up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_down = button(frame, "btnDown", 0);
    m_down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));

    connect(add, &QPushButton::clicked, this, &CustomLinksPage::addLink);
    connect(m_edit, &QPushButton::clicked, this, &CustomLinksPage::editLink);
    connect(m_delete, &QPushButton::clicked, this, &CustomLinksPage::deleteLink);
    connect(import, &QPushButton::clicked, this, &CustomLinksPage::importLinks);
    connect(m_up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { move(1); });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CustomLinksPage::updateButtons);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CustomLinksPage::editLink);

    auto *moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(m_up);
    moves->addWidget(m_down);
    moves->addStretch();
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(moves);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    auto *importRow = new QHBoxLayout;
    importRow->addStretch();
    importRow->addWidget(import);

    auto *inner = new QVBoxLayout(frame);
    inner->addWidget(intro);
    inner->addLayout(listRow, 1);
    inner->addLayout(buttons);
    inner->addLayout(importRow);

    localise();
    load();
}

void CustomLinksPage::load()
{
    const SettingsModel &s = AppState::settings;
    for (int i = 0; i < s.customLinksCount; ++i)
        appendLink(s.customLinksName.value(i), s.customLinksURL.value(i));
    updateButtons();
}

void CustomLinksPage::save()
{
    SettingsModel &s = AppState::settings;
    const int rows = qMin(m_list->topLevelItemCount(), int(std::numeric_limits<qint16>::max()));
    s.customLinksCount = qint16(rows);
    s.customLinksName.clear();
    s.customLinksURL.clear();
    for (int i = 0; i < rows; ++i) {
        const QTreeWidgetItem *row = m_list->topLevelItem(i);
        s.customLinksName.append(row->text(NameColumn));
        s.customLinksURL.append(row->text(AddressColumn));
    }
}

int CustomLinksPage::execModal(QDialog &dialog)
{
    return dialog.exec();
}

bool CustomLinksPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteLink();
        return true;
    }
    return OptionsPage::eventFilter(watched, event);
}

void CustomLinksPage::appendLink(const QString &name, const QString &address)
{
    auto *row = new QTreeWidgetItem(m_list);
    row->setIcon(IconColumn, StandardIcons::icon(this, QStyle::SP_FileLinkIcon));
    row->setText(NameColumn, name);
    row->setText(AddressColumn, address);
}

int CustomLinksPage::selectedRow() const
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first());
}

void CustomLinksPage::updateButtons()
{
    const int row = selectedRow();
    m_edit->setEnabled(row >= 0);
    m_delete->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row < m_list->topLevelItemCount() - 1);
}

void CustomLinksPage::addLink()
{
    CustomLinkDialog dialog(host(), this);
    dialog.setWindowTitle(loadResString(7002));
    if (execModal(dialog) == QDialog::Accepted)
        appendLink(dialog.name(), dialog.address());
}

void CustomLinksPage::editLink()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    CustomLinkDialog dialog(host(), this);
    dialog.setWindowTitle(loadResString(7003));
    dialog.setName(item->text(NameColumn));
    dialog.setAddress(item->text(AddressColumn));
    if (execModal(dialog) == QDialog::Accepted) {
        item->setText(NameColumn, dialog.name());
        item->setText(AddressColumn, dialog.address());
    }
}

void CustomLinksPage::deleteLink()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    QMessageBox question(QMessageBox::Question, loadResString(15008), loadResString(15007),
                         QMessageBox::Yes | QMessageBox::No, this);
    if (execModal(question) != QMessageBox::Yes)
        return;
    delete m_list->takeTopLevelItem(row);
    m_list->clearSelection();
    m_list->setCurrentItem(nullptr);
    updateButtons();
}

void CustomLinksPage::move(int by)
{
    const int row = selectedRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= m_list->topLevelItemCount())
        return;
    QTreeWidgetItem *item = m_list->takeTopLevelItem(row);
    m_list->insertTopLevelItem(target, item);
    m_list->setCurrentItem(item);
    item->setSelected(true);
    updateButtons();
}

void CustomLinksPage::importLinks()
{
    if (m_list->topLevelItemCount() > 0) {
        QMessageBox question(QMessageBox::Question, loadResString(100), loadResString(15003),
                             QMessageBox::Yes | QMessageBox::No, this);
        if (execModal(question) != QMessageBox::Yes)
            return;
    }
    if (AppState::linkNames.isEmpty()) {
        QMessageBox warning(QMessageBox::Warning, loadResString(100), loadResString(15004),
                            QMessageBox::Ok, this);
        execModal(warning);
        return;
    }
    m_list->clear();
    for (qsizetype i = 0; i < AppState::linkNames.size(); ++i)
        appendLink(AppState::linkNames[i], AppState::linkUrls.value(i));
    updateButtons();
}
