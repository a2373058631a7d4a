#include "testmain.h"
#include "common.h"

class TestBuildStamp : public QObject
{
    Q_OBJECT
private slots:
    void stampIsTenDigits()
    {
        QVERIFY(QRegularExpression("^\\d{10}$").match(compilationTime()).hasMatch());
    }
};

VESK_TEST_MAIN(TestBuildStamp)
#include "tst_buildstamp.moc"
