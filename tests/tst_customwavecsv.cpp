// Custom waves from comma-separated text: what becomes a sample, and the
// files and texts that are refused whole rather than half used.
#include "testmain.h"

#include "customwavecsv.h"

#include <QFile>
#include <QTemporaryDir>

using Samples = QVector<qint16>;
Q_DECLARE_METATYPE(Samples)

class TestCustomWaveCsv : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Samples>("samples");
        QTest::addColumn<QString>("error");
        QTest::newRow("blanks around numbers") << " 1 ,\t2,3 " << Samples{1, 2, 3} << "";
        QTest::newRow("an empty part is no sample") << "1,,2" << Samples{1, 2} << "";
        QTest::newRow("a blank between two commas is 0") << "1, ,2" << Samples{1, 0, 2} << "";
        QTest::newRow("blanks between two commas are 0") << "1,\t \t,2" << Samples{1, 0, 2} << "";
        QTest::newRow("comma at each line end") << "1,2,\r\n3,\n" << Samples{1, 2, 3} << "";
        QTest::newRow("blank after a comma at a line end") << "1, 2, \n3" << Samples{1, 2, 3} << "";
        QTest::newRow("blanks at the ends of the text") << " ,1, " << Samples{1} << "";
        QTest::newRow("one number a line, LF") << "1\n-2\n3\n" << Samples{1, -2, 3} << "";
        QTest::newRow("one number a line, CR LF") << "1\r\n-2\r\n3" << Samples{1, -2, 3} << "";
        QTest::newRow("one number a line, CR") << "1\r-2\r3\r" << Samples{1, -2, 3} << "";
        QTest::newRow("blank lines") << "\n1\n\n \n2\n\n" << Samples{1, 2} << "";
        QTest::newRow("mixed commas and line ends") << "1,2,3\n4,5" << Samples{1, 2, 3, 4, 5} << "";
        QTest::newRow("blanks, one a line") << "  7 \n\t8\t\n" << Samples{7, 8} << "";
        QTest::newRow("explicit plus sign") << "+5" << Samples{5} << "";
        QTest::newRow("unsigned 16 bits keep their bits") << "40000,65535" << Samples{-25536, -1} << "";
        QTest::newRow("signed limits") << "-32768,32767" << Samples{-32768, 32767} << "";
        QTest::newRow("two numbers in one entry") << "1,2,3 4,5" << Samples{}
                                                  << "Custom wave: number 3 is not a whole number: \"3 4\"";
        QTest::newRow("the first bad entry is named") << "1\nx\n2.5" << Samples{}
                                                      << "Custom wave: number 2 is not a whole number: \"x\"";
        QTest::newRow("decimal fraction") << "1,1.5" << Samples{}
                                          << "Custom wave: number 2 is not a whole number: \"1.5\"";
        QTest::newRow("hexadecimal") << "0x10" << Samples{} << "Custom wave: number 1 is not a whole number: \"0x10\"";
        QTest::newRow("beyond 16 bits") << "7,70000" << Samples{} << "Custom wave: number 2 does not fit 16 bits: 70000";
        QTest::newRow("below 16 bits") << "-32769" << Samples{} << "Custom wave: number 1 does not fit 16 bits: -32769";
        QTest::newRow("beyond 64 bits") << "99999999999999999999" << Samples{}
                                        << "Custom wave: number 1 is not a whole number: \"99999999999999999999\"";
        QTest::newRow("nothing but separators") << " ,\n, " << Samples{} << "Custom wave: no numbers found";
        QTest::newRow("empty") << "" << Samples{} << "Custom wave: no numbers found";
    }
    void parse()
    {
        QFETCH(QString, text);
        const CustomWaveCsv wave = CustomWaveCsv::parse(text);
        QTEST(wave.error, "error");
        QTEST(wave.samples, "samples");
    }

    // Numbers past the 512th are not used, and not even looked at.
    void onlyTheFirst512NumbersAreUsed_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::newRow("commas") << ",";
        QTest::newRow("one a line") << "\r\n";
    }
    void onlyTheFirst512NumbersAreUsed()
    {
        QFETCH(QString, separator);
        QStringList numbers;
        for (int i = 0; i < 600; ++i)
            numbers.append(QString::number(i));
        numbers[550] = QStringLiteral("junk");
        const CustomWaveCsv wave = CustomWaveCsv::parse(numbers.join(separator));
        QVERIFY(wave.isValid());
        QCOMPARE(wave.numberCount, 600);
        QCOMPARE(wave.samples.size(), 512);
        QCOMPARE(wave.samples.last(), qint16(511));
    }

    void load_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Samples>("samples");
        QTest::addColumn<QString>("error");
        QTest::newRow("spreadsheet export, CR LF") << "spreadsheet.csv" << Samples{100, -200, 300, 400, -1} << "";
        QTest::newRow("text file, signed limits") << "signed.txt" << Samples{0, 16384, 32767, -16384, -32768} << "";
        QTest::newRow("one number a line") << "column.csv" << Samples{1, 2, 3} << "";
        QTest::newRow("a fraction on line 3") << "fraction.csv" << Samples{}
                                              << "Custom wave: fraction.csv: number 3 is not a whole number: \"0.5\"";
        QTest::newRow("UTF-16") << "utf16.csv" << Samples{} << "Custom wave: utf16.csv is not a text file";
        QTest::newRow("missing") << "missing.csv" << Samples{} << "Custom wave: cannot open missing.csv";
    }
    void load()
    {
        QFETCH(QString, file);
        const CustomWaveCsv wave = CustomWaveCsv::load(VeskTest::sourcePath("tests/data/customwave/" + file));
        QTEST(wave.error, "error");
        QTEST(wave.samples, "samples");
    }

    void aFileAboveTheSizeLimitIsNotRead()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("huge.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray line(1023, ' ');
        for (int i = 0; i < 1025; ++i)
            file.write(line + ',');
        file.close();
        const CustomWaveCsv wave = CustomWaveCsv::load(file.fileName());
        QCOMPARE(wave.error, QStringLiteral("Custom wave: huge.csv is larger than 1 MiB"));
        QVERIFY(wave.samples.isEmpty());
    }
};

VESK_TEST_MAIN(TestCustomWaveCsv)
#include "tst_customwavecsv.moc"
