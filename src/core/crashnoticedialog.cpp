#include "crashnoticedialog.h"

#include "fixeddialog.h"
#include "strings.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CrashNoticeDialog::CrashNoticeDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWarning"));
    setProperty(kTagProperty, resId(16500));
    setFixedSize(392, 363); // 5880 x 5445 twips

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(QIcon(QStringLiteral(":/quarvel/quarvel.png")).pixmap(48, 48));

    auto *title = new QLabel(resId(16500), this);
    title->setObjectName(QStringLiteral("Label11"));
    QFont titleFont(QStringLiteral("Tahoma"));
    titleFont.setPointSizeF(27.75);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto *headline = new QLabel(resId(16501), this);
    headline->setObjectName(QStringLiteral("Label1"));
    QFont headlineFont(QStringLiteral("Tahoma"));
    headlineFont.setPointSize(12);
    headlineFont.setBold(true);
    headline->setFont(headlineFont);
    headline->setWordWrap(true);

    auto *body = new QLabel(resId(16502), this);
    body->setObjectName(QStringLiteral("Label2"));
    QFont bodyFont(QStringLiteral("Tahoma"));
    bodyFont.setPointSize(9);
    body->setFont(bodyFont);
    body->setWordWrap(true);
    body->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setProperty(kTagProperty, resId(111));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *header = new QHBoxLayout;
    header->addWidget(picture);
    header->addWidget(title, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(headline);
    layout->addWidget(body, 1);
    layout->addLayout(buttons);

    loadResStrings(this);
    makeFixedDialog(this);
}

void CrashNoticeDialog::showEvent(QShowEvent *event)
{
    // Centred on the screen: the frame behind it is not shown yet.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}
