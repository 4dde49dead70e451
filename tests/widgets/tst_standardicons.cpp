#include "widgets/standardicons.h"

#include <QCommonStyle>
#include <QWidget>
#include <QtTest>

// A standard picture is made once per style and is the style's own picture.
class TestStandardIcons : public QObject
{
    Q_OBJECT

private slots:
    void eachPictureIsMadeOncePerStyle()
    {
        QWidget widget;
        const QIcon first = StandardIcons::icon(&widget, QStyle::SP_FileIcon);
        QVERIFY(!first.isNull());
        QCOMPARE(StandardIcons::icon(&widget, QStyle::SP_FileIcon).cacheKey(), first.cacheKey());
        QCOMPARE(StandardIcons::icon(nullptr, QStyle::SP_FileIcon).cacheKey(), first.cacheKey());
        QCOMPARE(first.pixmap(16).toImage(),
                 widget.style()->standardIcon(QStyle::SP_FileIcon).pixmap(16).toImage());
        QVERIFY(StandardIcons::icon(&widget, QStyle::SP_FileLinkIcon).cacheKey() != first.cacheKey());

        // A widget with a style of its own gets that style's picture, and the picture goes with
        // the style.
        auto *own = new QCommonStyle;
        widget.setStyle(own);
        const QIcon ofOwn = StandardIcons::icon(&widget, QStyle::SP_FileIcon);
        QVERIFY(ofOwn.cacheKey() != first.cacheKey());
        widget.setStyle(nullptr);
        delete own;
        auto *again = new QCommonStyle;
        widget.setStyle(again);
        QVERIFY(StandardIcons::icon(&widget, QStyle::SP_FileIcon).cacheKey() != ofOwn.cacheKey());
        widget.setStyle(nullptr);
        delete again;
    }
};

QTEST_MAIN(TestStandardIcons)
#include "tst_standardicons.moc"
