#include "frmmorewindows.h"

#include "core/maincode.h"
#include "core/strings.h"
#include "document/frmdocument.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

frmMoreWindows::frmMoreWindows(const QList<frmDocument *> &documents, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMoreWindows"));
    setProperty(kTagProperty, ResId(15500));
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(1);
    ListView1->setRootIsDecorated(false);
    ListView1->headerItem()->setData(0, kHeaderTagRole, ResId(2503));
    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setProperty(kTagProperty, ResId(3503));
    ok->setDefault(true);
    auto *cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setProperty(kTagProperty, ResId(3504));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListView1);
    layout->addLayout(buttons);
    LoadResStrings(this);
    MainCode::ModalDialogClosed = false;

    for (frmDocument *document : documents) {
        if (!document || !document->isVisible())
            continue;
        auto *item = new QTreeWidgetItem(QStringList{document->windowTitle()});
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
        if (document->bActive) {
            QFont font = item->font(0);
            font.setBold(true);
            item->setFont(0, font);
        }
        ListView1->addTopLevelItem(item);
        m_documents.append(document);
    }
    connect(ok, &QPushButton::clicked, this, &frmMoreWindows::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &frmMoreWindows::cmdOK_Click);
    resize(360, 300);
}

frmMoreWindows::~frmMoreWindows()
{
    MainCode::ModalDialogClosed = true;
}

void frmMoreWindows::cmdOK_Click()
{
    const int row = ListView1->indexOfTopLevelItem(ListView1->currentItem());
    if (row >= 0 && row < m_documents.size())
        m_chosen = m_documents.at(row);
    accept();
}
