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
        QCOMPARE(icon.size(), QSize(64, 64));
        QVERIFY(icon.hasAlphaChannel());

        // Transparent around the posts and the board, opaque inside the board.
        QCOMPARE(qAlpha(icon.pixel(0, 32)), 0);
        QCOMPARE(qAlpha(icon.pixel(32, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(32, 30)), 255);
        // More than a flat colour: the rows of the board differ.
        QVERIFY(icon.pixel(32, 15) != icon.pixel(32, 37));
    }
};

QTEST_MAIN(IconTest)
#include "test_icon.moc"
