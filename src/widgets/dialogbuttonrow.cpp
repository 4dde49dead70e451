#include "dialogbuttonrow.h"

#include "core/strings.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace {

QPushButton *captionedButton(QWidget *parent, DialogButtonRow::Button button)
{
    return taggedWidget(new QPushButton(loadResString(button.captionId), parent),
                        button.objectName ? button.objectName : "", button.captionId);
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
