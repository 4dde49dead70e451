#include "frmfirstformfill.h"

#include "core/strings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmFirstFormFill::frmFirstFormFill(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFirstFormFill"));
    setProperty(kTagProperty, ResId(19500));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(ResId(19501), this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    heading->setFont(bold);
    layout->addWidget(heading);
    for (int id : {19502, 19503, 19504, 19505}) {
        auto *label = new QLabel(ResId(id), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setProperty(kTagProperty, ResId(111));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    LoadResStrings(this);
    setFixedWidth(420);
}
