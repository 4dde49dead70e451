#include "optionsmessage.h"

#include "core/strings.h"
#include "widgets/plainmessagebox.h"

#include <QPointer>

void OptionsMessage::operator()(QMessageBox::Icon icon, const QString &text) const
{
    (*this)(icon, loadResString(100), text);
}

void OptionsMessage::operator()(QMessageBox::Icon icon, const QString &title, const QString &text) const
{
    if (m_show)
        m_show(icon, title, text);
}

OptionsMessage optionsMessageBox(QWidget *parent)
{
    return [owner = QPointer<QWidget>(parent)](QMessageBox::Icon icon, const QString &title,
                                               const QString &text) {
        plainMessageBox(owner, icon, title, text);
    };
}
