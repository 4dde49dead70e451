#include "dialogbuttonrow.h"

#include "core/strings.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace {

QPushButton *captionedButton(QWidget *parent, DialogButtonRow::Button button)
{
    auto *pushButton = new QPushButton(loadResString(button.captionId), parent);
    if (button.objectName && *button.objectName)
        pushButton->setObjectName(QLatin1String(button.objectName));
    pushButton->setProperty(kTagProperty, resId(button.captionId));
    return pushButton;
}

} // namespace

DialogButtonRow::DialogButtonRow(QWidget *parent, Button acceptButton, Button rejectButton)
    : row(new QHBoxLayout), accept(captionedButton(parent, acceptButton)),
      reject(captionedButton(parent, rejectButton))
{
    accept->setDefault(true);
    row->addStretch();
    row->addWidget(accept);
    row->addWidget(reject);
}
