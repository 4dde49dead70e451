#include "windowlistdialog.h"
#include "widgets/standardicons.h"

#include "core/fixeddialog.h"
#include "core/strings.h"
#include "document/documentwindow.h"
#include "widgets/dialogbuttonrow.h"

#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

WindowListDialog::WindowListDialog(const QList<DocumentWindow *> &documents, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMoreWindows"));
    setProperty(kTagProperty, resId(15500));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setColumnCount(1);
    m_list->setRootIsDecorated(false);
    m_list->headerItem()->setData(0, kHeaderTagRole, resId(2503));
    const DialogButtonRow buttons(this, {"cmdOK", 3503}, {"cmdCancel", 3504});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons.row);
    loadResStrings(this);

    for (DocumentWindow *document : documents) {
        if (!document || !document->isVisible())
            continue;
        auto *item = new QTreeWidgetItem(QStringList{document->windowTitle()});
        item->setIcon(0, StandardIcons::icon(this, QStyle::SP_FileIcon));
        if (document->isActive()) {
            QFont font = item->font(0);
            font.setBold(true);
            item->setFont(0, font);
        }
        m_list->addTopLevelItem(item);
        m_documents.append(document);
    }
    connect(buttons.accept, &QPushButton::clicked, this, &WindowListDialog::onOkClicked);
    connect(buttons.reject, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &WindowListDialog::onOkClicked);
    resize(360, 300);
    makeFixedDialog(this);
}

void WindowListDialog::onOkClicked()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row >= 0 && row < m_documents.size())
        m_chosen = m_documents.at(row);
    accept();
}
