// Capture rings to pane text: byte rendering, where a ring's walk starts and
// ends, the UART placeholders and the I2C bus conditions.
#include "testmain.h"

#include "sniffframe.h"
#include "snifferprinter.h"

#include <vector>

namespace {

QString repeated(const char *entry, int times)
{
    return QString(QLatin1String(entry)).repeated(times);
}

// A ring of exactly `size` slots (so a read past it is caught by the
// sanitizers) holding `bytes` from slot `start` on, wrapping at the end.
std::vector<uint8_t> ring(int size, int start, const QByteArray &bytes)
{
    std::vector<uint8_t> cells(size_t(size), 0);
    for (int i = 0; i < bytes.size(); ++i)
        cells[size_t((start + i) % size)] = uint8_t(bytes[i]);
    return cells;
}

} // namespace

class TestSnifferPrinter : public QObject
{
    Q_OBJECT

private slots:
    void printedText_data()
    {
        QTest::addColumn<QString>("printer");   // "uart rx", "uart tx", "spi", "parallel", "i2c"
        QTest::addColumn<int>("start");         // first slot the bytes are placed in
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("flags");
        QTest::addColumn<int>("writeIndex");
        QTest::addColumn<QString>("options");  // of "ascii", "synchro", "circular", "wrapped"
        QTest::addColumn<QString>("expected");

        const auto hex = [](const char *text) { return QByteArray::fromHex(text); };

        QTest::newRow("uart hex") << "uart rx" << 0 << hex("48690a") << hex("010101") << 3 << "" << "48 69 0a ";
        QTest::newRow("uart ascii, control byte") << "uart rx" << 0 << hex("48690a") << hex("010101") << 3
                                                  << "ascii" << "H i _ ";
        QTest::newRow("uart synchronised receive") << "uart rx" << 0 << hex("410043") << hex("010203") << 3
                                                   << "synchro" << "41 .. 43 ";
        QTest::newRow("uart synchronised transmit, ascii") << "uart tx" << 0 << hex("006162") << hex("010203") << 3
                                                           << "synchro ascii" << ". a b ";
        QTest::newRow("uart unsynchronised shows every slot") << "uart rx" << 0 << hex("410043") << hex("010203")
                                                              << 3 << "" << "41 00 43 ";
        QTest::newRow("uart write index 0 empties") << "uart rx" << 0 << hex("41") << hex("01") << 0 << ""
                                                    << "";
        QTest::newRow("uart index past the ring shows it once") << "uart rx" << 0 << hex("41") << hex("01")
                                                                << 2000 << "" << "41 " + repeated("00 ", 1535);
        QTest::newRow("uart circular, not wrapped yet") << "uart rx" << 1534 << hex("414243") << hex("010101")
                                                        << 1 << "circular" << "43 ";
        QTest::newRow("uart wrapped starts at the write index")
            << "uart rx" << 1534 << hex("414243") << hex("010101") << 1 << "circular wrapped"
            << repeated("00 ", 1533) + "41 42 43 ";
        QTest::newRow("uart wrapped, index 1600 starts at slot 64")
            << "uart rx" << 64 << hex("5a") << hex("01") << 1600 << "circular wrapped" << "5a " + repeated("00 ", 1535);
        QTest::newRow("wrapped flag without circular mode") << "uart rx" << 1534 << hex("414243") << hex("010101")
                                                            << 1 << "wrapped" << "43 ";

        QTest::newRow("spi") << "spi" << 0 << hex("9f00") << QByteArray() << 2 << "" << "9f 00 ";
        QTest::newRow("spi index at the ring size") << "spi" << 0 << hex("01") << QByteArray() << 2048 << ""
                                                    << "01 " + repeated("00 ", 2047);
        QTest::newRow("parallel ascii is latin-1") << "parallel" << 0 << hex("2041e9") << QByteArray() << 3 << "ascii"
                                                   << QString::fromLatin1("  A \xe9 ");
        QTest::newRow("parallel ascii passes 7f and 80 through")
            << "parallel" << 0 << hex("7f801f") << QByteArray() << 3 << "ascii"
            << QString(QChar(0x7f)) + ' ' + QChar(0x80) + " _ ";
        QTest::newRow("parallel wrapped, index far past the ring")
            << "parallel" << 4095 << hex("aabb") << QByteArray() << 65535 << "circular wrapped"
            << "aa bb " + repeated("00 ", 4094);

        QTest::newRow("i2c write of two bytes") << "i2c" << 0 << hex("00a01f0000") << hex("8483818190") << 5 << ""
                                                << "<Start> <Address:>50<W><A> 1f<A> 00<A> <Stop>\n";
        QTest::newRow("i2c read address, not acknowledged")
            << "i2c" << 0 << hex("a1") << hex("82") << 1 << "" << QString("<Address:>50<R><") + QChar(0x1FB9) + "> ";
        QTest::newRow("i2c start and stop in one slot") << "i2c" << 0 << hex("00") << hex("94") << 1 << ""
                                                        << "<Start> ";
        QTest::newRow("i2c slots without the valid bit are skipped") << "i2c" << 0 << hex("4142") << hex("0181")
                                                                     << 2 << "" << "42<A> ";
        QTest::newRow("i2c restart, stop after time-out, time-out")
            << "i2c" << 0 << hex("000000") << hex("88c0a0") << 3 << "" << "\n<Restart> <Stop/Timeout>\n<Timeout>\n";
        QTest::newRow("i2c ascii data, address stays hex") << "i2c" << 0 << hex("a041") << hex("8381") << 2
                                                           << "ascii" << "<Address:>50<W><A> A<A> ";
        QTest::newRow("i2c circular walks the whole ring from the index")
            << "i2c" << 2047 << hex("5556") << hex("8181") << 2047 << "circular" << "55<A> 56<A> ";
        QTest::newRow("i2c circular, index far past the ring")
            << "i2c" << 2047 << hex("5556") << hex("8181") << 65535 << "circular" << "55<A> 56<A> ";
    }

    void printedText()
    {
        QFETCH(QString, printer);
        QFETCH(int, start);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, flags);
        QFETCH(int, writeIndex);
        QFETCH(QString, options);
        QFETCH(QString, expected);

        SnifferPrinter::Format format;
        format.ascii = options.contains(QLatin1String("ascii"));
        format.synchronised = options.contains(QLatin1String("synchro"));
        format.circular = options.contains(QLatin1String("circular"));
        const bool fromStart = !options.contains(QLatin1String("wrapped"));

        QString text;
        if (printer.startsWith(QLatin1String("uart"))) {
            const std::vector<uint8_t> bytes = ring(SNIFF_UART_RING_SIZE, start, data);
            const std::vector<uint8_t> flagBytes = ring(SNIFF_UART_RING_SIZE, start, flags);
            const uint8_t mask = printer.endsWith(QLatin1String("rx")) ? SNIFF_UART_FLAG_RX : SNIFF_UART_FLAG_TX;
            text = SnifferPrinter::serial(bytes.data(), flagBytes.data(), mask, writeIndex, fromStart, format);
        } else if (printer == QLatin1String("i2c")) {
            const std::vector<uint8_t> bytes = ring(SNIFF_I2C_RING_SIZE, start, data);
            const std::vector<uint8_t> flagBytes = ring(SNIFF_I2C_RING_SIZE, start, flags);
            text = SnifferPrinter::i2c(bytes.data(), flagBytes.data(), writeIndex, format);
        } else {
            const int size = printer == QLatin1String("spi") ? SNIFF_SPI_RING_SIZE : SNIFF_PARALLEL_RING_SIZE;
            const std::vector<uint8_t> bytes = ring(size, start, data);
            text = SnifferPrinter::plain(bytes.data(), size, writeIndex, fromStart, format);
        }
        QCOMPARE(text, expected);
    }
};

VESK_TEST_MAIN(TestSnifferPrinter)
#include "tst_snifferprinter.moc"
