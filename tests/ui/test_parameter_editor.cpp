#include <QtTest>

class Tests : public QObject {
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_MAIN(Tests)
#include "test_parameter_editor.moc"
