// The receive hand-off between the USB worker and the GUI thread. Kept with
// the USB tests so that it also runs under ThreadSanitizer.
#include "testmain.h"
#include "receivehandoff.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace {

// A numbered read whose every byte and whose length follow from its number,
// so a torn or mismatched read shows.
int lengthOf(quint32 number)
{
    return 8 + int(number * 37 % 4000);
}

void writeRead(unsigned char *buffer, quint32 number)
{
    std::memcpy(buffer, &number, sizeof(number));
    std::memset(buffer + 4, int(number & 0xFF), size_t(lengthOf(number) - 4));
}

// The read's number, or 0 when the buffer does not hold a whole read of the given length.
quint32 checkRead(const unsigned char *buffer, int count)
{
    quint32 number;
    std::memcpy(&number, buffer, sizeof(number));
    if (count != lengthOf(number))
        return 0;
    for (int i = 4; i < count; ++i) {
        if (buffer[i] != (number & 0xFF))
            return 0;
    }
    return number;
}

} // namespace

class TestReceiveHandoff : public QObject
{
    Q_OBJECT

private slots:
    // One thread: what the consumer sees after a sequence of publishes.
    void consumerSeesTheLatest_data()
    {
        QTest::addColumn<int>("publishes");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<quint32>("number");

        QTest::newRow("nothing published") << 0 << false << quint32(0);
        QTest::newRow("one read") << 1 << true << quint32(1);
        QTest::newRow("reads merge into the latest") << 5 << true << quint32(5);
    }
    void consumerSeesTheLatest()
    {
        QFETCH(int, publishes);
        ReceiveHandoff handoff;
        for (int i = 1; i <= publishes; ++i) {
            writeRead(handoff.producerBuffer(), quint32(i));
            handoff.publish(lengthOf(quint32(i)));
        }
        QTEST(handoff.take(), "taken");
        QVERIFY(!handoff.take()); // nothing new since
        QCOMPARE(handoff.publishedCount(), quint64(publishes));
        if (publishes > 0)
            QTEST(checkRead(handoff.consumerBuffer(), handoff.consumerCount()), "number");
        else
            QCOMPARE(handoff.consumerCount(), 0);
    }

    // The producer never writes into what the consumer holds, and what the
    // consumer holds stays as it was while the producer goes on.
    void consumerBufferStaysStable()
    {
        ReceiveHandoff handoff;
        writeRead(handoff.producerBuffer(), 1);
        handoff.publish(lengthOf(1));
        QVERIFY(handoff.take());
        const unsigned char *held = handoff.consumerBuffer();
        for (quint32 i = 2; i < 50; ++i) {
            QVERIFY(handoff.producerBuffer() != held);
            writeRead(handoff.producerBuffer(), i);
            handoff.publish(lengthOf(i));
        }
        QCOMPARE(handoff.consumerBuffer(), held);
        QCOMPARE(checkRead(held, handoff.consumerCount()), quint32(1));
        handoff.clearConsumerBuffer();
        QCOMPARE(int(held[5]), 0);
        QVERIFY(handoff.take());
        QCOMPARE(checkRead(handoff.consumerBuffer(), handoff.consumerCount()), quint32(49));
    }

    void countIsBoundedByTheBuffer()
    {
        ReceiveHandoff handoff;
        handoff.publish(ReceiveHandoff::BufferSize + 100);
        QVERIFY(handoff.take());
        QCOMPARE(handoff.consumerCount(), ReceiveHandoff::BufferSize);
        handoff.publish(-5);
        QVERIFY(handoff.take());
        QCOMPARE(handoff.consumerCount(), 0);
    }

    // Two threads at full speed: every read the consumer takes is whole,
    // numbers only rise, and the last read is never lost.
    void concurrentReadsAreWholeAndInOrder()
    {
        constexpr quint32 total = 200000;
        ReceiveHandoff handoff;
        std::atomic<bool> producerDone{false};
        std::thread producer([&] {
            unsigned char *buffer = handoff.producerBuffer();
            for (quint32 number = 1; number <= total; ++number) {
                writeRead(buffer, number);
                buffer = handoff.publish(lengthOf(number));
            }
            producerDone.store(true);
        });

        quint32 last = 0;
        quint64 taken = 0;
        quint64 torn = 0;
        quint64 backwards = 0;
        for (;;) {
            const bool finished = producerDone.load();
            if (handoff.take()) {
                const quint32 number = checkRead(handoff.consumerBuffer(), handoff.consumerCount());
                if (number == 0)
                    ++torn;
                else if (number <= last)
                    ++backwards;
                last = number;
                ++taken;
            }
            if (finished && !handoff.take())
                break;
        }
        producer.join();

        QCOMPARE(torn, quint64(0));
        QCOMPARE(backwards, quint64(0));
        QCOMPARE(last, total);
        QVERIFY(taken > 0 && taken <= total);
        QCOMPARE(handoff.publishedCount(), quint64(total));
    }
};

VESK_TEST_MAIN(TestReceiveHandoff)
#include "tst_receivehandoff.moc"
