#include "optionsmessage.h"

#include "core/strings.h"
#include "widgets/plainmessagebox.h"

#include <QPointer>

OptionsMessage optionsMessageBox(QWidget *parent)
{
    return [owner = QPointer<QWidget>(parent)](QMessageBox::Icon icon, const QString &text) {
        plainMessageBox(owner, icon, loadResString(100), text);
    };
}
