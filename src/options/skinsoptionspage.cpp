#include "skinsoptionspage.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/strings.h"
#include "optionshost.h"
#include "taggedwidget.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *browseButton(const char *name)
{
    auto *button = taggedWidget(new QPushButton, name, 8061);
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    return button;
}

} // namespace

SkinsOptionsPage::SkinsOptionsPage(OptionsHost &host, QWidget *parent) : OptionsPage(host, parent)
{
    setObjectName(QStringLiteral("SkinsOptions1"));
    auto *frame = taggedWidget(new QGroupBox, "frameSkins", 8054);

    auto *skinGroup = taggedWidget(new QGroupBox, "fraSkin", 8055);
    auto *notice = new QLabel(resId(8056));
    notice->setWordWrap(true);
    notice->setStyleSheet(QStringLiteral("color: #0000ff"));
    m_skin = new QComboBox;
    m_skin->setObjectName(QStringLiteral("lstSkin"));
    auto *skinLayout = new QGridLayout(skinGroup);
    skinLayout->addWidget(notice, 0, 0, 1, 2);
    skinLayout->addWidget(new QLabel(resId(8057)), 1, 0);
    skinLayout->addWidget(m_skin, 1, 1);
    skinLayout->setColumnStretch(1, 1);

    auto *imageGroup = taggedWidget(new QGroupBox, "fraToolbarImage", 8058);
    m_largeImage = new QLineEdit;
    m_largeImage->setObjectName(QStringLiteral("txtToolbarImageLarge"));
    m_smallImage = new QLineEdit;
    m_smallImage->setObjectName(QStringLiteral("txtToolbarImageSmall"));
    auto *browseLarge = browseButton("btnNavigateLarge");
    auto *browseSmall = browseButton("btnNavigateSmall");
    auto *imageLayout = new QGridLayout(imageGroup);
    imageLayout->addWidget(new QLabel(resId(8059)), 0, 0);
    imageLayout->addWidget(m_largeImage, 0, 1);
    imageLayout->addWidget(browseLarge, 0, 2);
    imageLayout->addWidget(new QLabel(resId(8060)), 1, 0);
    imageLayout->addWidget(m_smallImage, 1, 1);
    imageLayout->addWidget(browseSmall, 1, 2);
    imageLayout->setColumnStretch(1, 1);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(skinGroup);
    frameLayout->addWidget(imageGroup);
    frameLayout->addStretch(1);
    fillPage(this, frame);

    localise();
    load();

    connect(browseLarge, &QPushButton::clicked, this, [this] { browse(m_largeImage); });
    connect(browseSmall, &QPushButton::clicked, this, [this] { browse(m_smallImage); });
}

void SkinsOptionsPage::load()
{
    // The skin already chosen for the next start is shown, so that saving the page again does
    // not undo an earlier choice; it is the running skin until one is chosen.
    const QString chosen = host().nextSkin();
    m_skin->addItems(AppState::skinNames);
    m_skin->setCurrentIndex(int(AppState::skinNames.lastIndexOf(chosen)));
    m_largeImage->setText(Paths::displayPath(AppState::settings.toolbarLargeBitmap));
    m_smallImage->setText(Paths::displayPath(AppState::settings.toolbarSmallBitmap));
}

namespace {

// Where the image dialog opens: the folder of the file shown (a shipped one is shown by its
// name within the asset folder).
QString startFolder(const QString &shown)
{
    if (shown.isEmpty())
        return QString();
    return QFileInfo(QFileInfo(shown).isAbsolute() ? shown : Paths::assetFile(shown)).path();
}

} // namespace

void SkinsOptionsPage::browse(QLineEdit *box)
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Select Image File..."),
                                                      startFolder(box->text()),
                                                      QStringLiteral("Bitmap Files (*.bmp)"));
    if (!file.isEmpty())
        box->setText(file);
}

void SkinsOptionsPage::save()
{
    // Without a selection the skin chosen before stays chosen.
    if (m_skin->currentIndex() >= 0)
        host().setNextSkin(m_skin->currentText());
    SettingsModel &s = AppState::settings;
    s.toolbarLargeBitmap = Paths::editedPath(m_largeImage->text(), s.toolbarLargeBitmap);
    s.toolbarSmallBitmap = Paths::editedPath(m_smallImage->text(), s.toolbarSmallBitmap);
}
