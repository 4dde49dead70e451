#include "fixeddialog.h"

#include <QDialog>
#include <QLayout>

void makeFixedDialog(QDialog *dialog)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    if (dialog->minimumSize() == dialog->maximumSize())
        return; // sized once and for all already
    QLayout *layout = dialog->layout();
    if (layout && !dialog->testAttribute(Qt::WA_Resized))
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        dialog->setFixedSize(dialog->size().expandedTo(dialog->minimumSizeHint()));
}
