#include "windowlistdialog.h"

#include "core/fixeddialog.h"
#include "core/strings.h"
#include "document/documentwindow.h"

#include <QHBoxLayout>
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
    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setProperty(kTagProperty, resId(3503));
    ok->setDefault(true);
    auto *cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setProperty(kTagProperty, resId(3504));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    loadResStrings(this);

    for (DocumentWindow *document : documents) {
        if (!document || !document->isVisible())
            continue;
        auto *item = new QTreeWidgetItem(QStringList{document->windowTitle()});
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
        if (document->isActive()) {
            QFont font = item->font(0);
            font.setBold(true);
            item->setFont(0, font);
        }
        m_list->addTopLevelItem(item);
        m_documents.append(document);
    }
    connect(ok, &QPushButton::clicked, this, &WindowListDialog::onOkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
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
