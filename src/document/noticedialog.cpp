#include "noticedialog.h"

#include "core/fixeddialog.h"
#include "core/strings.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void buildNoticeDialog(QDialog *dialog, int captionId, int headingId, const QList<int> &textIds)
{
    dialog->setProperty(kTagProperty, resId(captionId));
    auto *layout = new QVBoxLayout(dialog);
    auto *heading = new QLabel(resId(headingId), dialog);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    heading->setFont(bold);
    layout->addWidget(heading);
    for (int id : textIds) {
        auto *label = new QLabel(resId(id), dialog);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto *ok = new QPushButton(dialog);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setProperty(kTagProperty, resId(111));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    loadResStrings(dialog);
    // The texts wrap at the notice's width; its height is what they need there.
    const int width = 420;
    dialog->setFixedSize(width, dialog->hasHeightForWidth() ? dialog->heightForWidth(width)
                                                            : dialog->sizeHint().height());
    makeFixedDialog(dialog);
}
