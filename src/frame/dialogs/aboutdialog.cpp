#include "aboutdialog.h"

#include "core/fixeddialog.h"
#include "core/strings.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

namespace {

QFont tahoma(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel *wrappedLabel(const QString &text, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setProperty(kTagProperty, resId(9000));
    setFixedSize(387, 316); // 5805 x 4740 twips

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(QIcon(QStringLiteral(":/quarvel/quarvel.png")).pixmap(48, 48));

    auto *product = new QLabel(resId(100), this);
    product->setObjectName(QStringLiteral("Label11"));
    product->setFont(tahoma(27.75, true));

    auto *version = new QLabel(resId(107), this);
    version->setObjectName(QStringLiteral("Label12"));
    version->setFont(tahoma(12, true));

    auto *maker = new QLabel(QStringLiteral("\u00A9 2026 %1").arg(loadResString(101)), this);
    maker->setObjectName(QStringLiteral("lblMaker"));
    maker->setFont(tahoma(8.25));

    auto *engine = wrappedLabel(versionsText(), tahoma(8.25), this);
    engine->setObjectName(QStringLiteral("lblVersions"));
    engine->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *disclaimerTitle = new QLabel(resId(9001), this);
    disclaimerTitle->setObjectName(QStringLiteral("Label18"));
    disclaimerTitle->setFont(tahoma(8.25, true));
    auto *disclaimer = wrappedLabel(
        QStringLiteral("This program is provided \"as is\", without warranty of any kind. The "
                       "makers are not liable for any damage or loss of data arising from its "
                       "use. Web sites shown in it belong to their owners."),
        tahoma(8.25), this);
    disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *legal = wrappedLabel(
        QStringLiteral("Quarvel and its logo are marks of their owner. Parts of this program are "
                       "built on Qt and on the Chromium project, each under its own licence."),
        tahoma(6.75), this);
    legal->setObjectName(QStringLiteral("lblLegal"));

    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setProperty(kTagProperty, resId(111));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(0);
    titles->addWidget(product);
    titles->addWidget(version);
    titles->addWidget(maker);
    auto *header = new QHBoxLayout;
    header->addWidget(picture, 0, Qt::AlignTop);
    header->addSpacing(8);
    header->addLayout(titles, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(engine);
    layout->addWidget(disclaimerTitle);
    layout->addWidget(disclaimer);
    layout->addStretch();
    layout->addWidget(line);
    layout->addWidget(legal);
    layout->addLayout(buttons);

    // Esc closes the box as OK does (QDialog's own reject).
    loadResStrings(this);
    makeFixedDialog(this);
}

QString AboutDialog::engineVersion()
{
    return QString::fromLatin1(qWebEngineChromiumVersion());
}

QString AboutDialog::versionsText()
{
    return QStringLiteral("Web engine: Chromium %1 (Qt WebEngine %2)\nQt %3")
        .arg(engineVersion(), QString::fromLatin1(qWebEngineVersion()),
             QString::fromLatin1(qVersion()));
}
