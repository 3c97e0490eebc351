// The window icon compiled into the windows' library: present, square, drawn, and not blank.
#include <QImage>
#include <QtTest>

class IconTest : public QObject {
    Q_OBJECT

private slots:
    void resourceIsTheDrawnIcon()
    {
        const QImage icon(QStringLiteral(":/icons/tablix.png"));
        QVERIFY2(!icon.isNull(), "the resource :/icons/tablix.png is missing or unreadable");
        QCOMPARE(icon.size(), QSize(256, 256));
        QVERIFY(icon.hasAlphaChannel());

        // Transparent around the posts and the board, opaque inside the board.
        QCOMPARE(qAlpha(icon.pixel(2, 128)), 0);
        QCOMPARE(qAlpha(icon.pixel(128, 2)), 0);
        QCOMPARE(qAlpha(icon.pixel(128, 120)), 255);
        // More than a flat colour: the rows of the board differ.
        QVERIFY(icon.pixel(128, 60) != icon.pixel(128, 150));
    }
};

QTEST_MAIN(IconTest)
#include "test_icon.moc"
