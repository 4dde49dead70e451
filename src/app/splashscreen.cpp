#include "splashscreen.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

SplashScreen::SplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setProperty(kTagProperty, QStringLiteral("-1"));
    setFixedSize(324, 163); // 4860 x 2445 twips
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    auto makeLabel = [this](const char *name, const QString &id, qreal points, bool bold) {
        auto *label = new QLabel(id, this);
        label->setObjectName(QLatin1String(name));
        QFont font(QStringLiteral("Tahoma"));
        font.setPointSizeF(points);
        font.setBold(bold);
        label->setFont(font);
        return label;
    };
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QIcon(QStringLiteral(":/quarvel/quarvel.png")).pixmap(64, 64));
    QLabel *product = makeLabel("Label1", resId(100), 27.75, true);
    QLabel *version = makeLabel("Label2", resId(109), 9.75, false);
    QLabel *maker = makeLabel("Label3", resId(101), 8.25, false);
    QLabel *slogan = makeLabel("Label4", resId(116), 8.25, false);
    slogan->setWordWrap(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addWidget(maker);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->setContentsMargins(8, 8, 8, 0);
    top->addWidget(image, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(slogan);

    loadResStrings(this);

    AppState::settings.loadSkins(SettingsStore::instance());
    const QString skin = AppState::settings.currentSkin;
    if (skin != QLatin1String("none"))
        m_skinPicture.load(Paths::assetFile(QStringLiteral("skins/") + skin + QLatin1String(".qvs")));

    if (AppState::translucentWindows)
        setWindowOpacity(200.0 / 255.0);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashScreen::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_skinPicture.isNull() || m_skinPicture.width() <= 0 || m_skinPicture.height() <= 0)
        return;
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), m_skinPicture);
}
