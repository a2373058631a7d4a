// The instrument pulled out at random moments while it streams oscilloscope
// frames, answers meter polls or runs the sniffer, then plugged back in and
// connected with the Connect button, cycle after cycle: each time the window
// shows the lost link, sends nothing meanwhile, and the new connection starts
// on a clean wire (the identification first, the settings block whole) and
// restores every setting the instrument had.
//
// VESK_UNPLUG_CYCLES sets the number of cycles (10), VESK_UNPLUG_SEED the seed
// of the moments; the seed is printed so that a failed run can be repeated.
// A long run by hand needs -maxwarnings 0, or the figures at its end are cut:
//   VESK_UNPLUG_CYCLES=100 tst_unplugcycles -maxwarnings 0
#include "usbtestmain.h"

#include "usbwindowtest.h"
#include "protocol.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QElapsedTimer>
#include <QSignalSpy>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace {

const QString titleConnected = QStringLiteral("Vesk v.1.2   Interface - USB Connected");
const QString titleNotConnected = QStringLiteral("Vesk v.1.2   Interface - Not Connected");
const QString titleLost = QStringLiteral("Vesk v.1.2   Interface - Connection lost... wait");
// Generous: on a loaded or sanitized machine a step may take seconds, and
// only a hang takes longer.
constexpr int stepTimeoutMs = 15000;
constexpr int meterTab = 1;
constexpr int defaultCycles = 10;
constexpr unsigned defaultSeed = 16;
// The unplug falls anywhere in this window after the activity was seen
// running: many frames, sniffer frames and meter polls long, and past the
// oscilloscope start that follows a connection by two seconds.
constexpr int latestUnplugUs = 2200000;

enum class Activity { Scope, Meter, Sniffer };

const char *activityName(Activity activity)
{
    switch (activity) {
    case Activity::Scope: return "oscilloscope";
    case Activity::Meter: return "meter";
    case Activity::Sniffer: return "sniffer";
    }
    return "?";
}

int environmentNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

bool isRequest(const WireRecord &record, uint8_t request, int index = -1)
{
    return record.kind == WireRecord::Control && record.request == request && (index < 0 || record.index == index);
}

} // namespace

class TestUnplugCycles : public UsbWindowTest
{
    Q_OBJECT

private:
    Ui_VeskInterface *ui() const { return window->ui; }

    size_t meterReads() const
    {
        size_t reads = 0;
        for (const WireRecord &record : instrument->controlRequests(REQ_READ))
            reads += record.index == READ_METER ? 1 : 0;
        return reads;
    }

    // Puts the window to `activity` and waits until the instrument is seen at it.
    bool startActivity(Activity activity)
    {
        switch (activity) {
        case Activity::Scope: {
            ui()->mainTabWidget->setCurrentIndex(0);
            const uint64_t frames = instrument->framesSent() + 3;
            return QTest::qWaitFor([&] { return instrument->framesSent() >= frames; }, stepTimeoutMs);
        }
        case Activity::Meter: {
            ui()->mainTabWidget->setCurrentIndex(meterTab);
            const size_t polls = meterReads() + 2;
            return QTest::qWaitFor([&] { return meterReads() >= polls; }, stepTimeoutMs);
        }
        case Activity::Sniffer: {
            ui()->mainTabWidget->setCurrentWidget(ui()->protocolSnifferTab);
            if (ui()->startSnifferButton->text() == QStringLiteral("START"))
                ui()->startSnifferButton->click();
            if (!QTest::qWaitFor([&] { return instrument->snifferRunning(); }, stepTimeoutMs))
                return false;
            const uint64_t frames = instrument->framesSent() + 2;
            return QTest::qWaitFor([&] { return instrument->framesSent() >= frames; }, stepTimeoutMs);
        }
        }
        return false;
    }

    // Wire records from `from` on that a clean new connection cannot hold:
    // anything before the identification, a request that failed, a settings
    // block cut short or not committed at once. Empty when clean.
    static QString wireFault(const std::vector<WireRecord> &wire, size_t from)
    {
        if (wire.size() <= from)
            return QStringLiteral("nothing sent");
        if (!isRequest(wire[from], REQ_READ, READ_DEVICE_INFO) || wire[from].length != REPLY_DEVICE_INFO_LENGTH)
            return QStringLiteral("first: ") + QString::fromStdString(wire[from].toText());
        bool block = false;
        for (size_t i = from; i < wire.size(); ++i) {
            const WireRecord &record = wire[i];
            if (record.outcome != WireRecord::Answered)
                return QStringLiteral("failed: ") + QString::fromStdString(record.toText());
            if (record.kind == WireRecord::BulkOut) {
                if (record.data.size() != size_t(BULK_BLOCK_SIZE) || i + 1 == wire.size()
                    || !isRequest(wire[i + 1], REQ_COMMIT_BULK, BULK_SETTINGS))
                    return QStringLiteral("block: ") + QString::fromStdString(record.toText());
                block = true;
            }
        }
        return block ? QString() : QStringLiteral("no settings block");
    }

private slots:
    void unplugAtRandomMoments()
    {
        const int cycles = environmentNumber("VESK_UNPLUG_CYCLES", defaultCycles);
        const unsigned seed = unsigned(environmentNumber("VESK_UNPLUG_SEED", int(defaultSeed)));
        qInfo("%d unplug cycles, seed %u (VESK_UNPLUG_CYCLES, VESK_UNPLUG_SEED)", cycles, seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> unplugDelayUs(0, latestUnplugUs);

        window.reset(new VeskInterface);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), titleConnected, stepTimeoutMs);
        QElapsedTimer clock;
        clock.start();
        for (int cycle = 0; cycle < cycles; ++cycle) {
            const Activity activity = Activity(cycle % 3);
            const int delayUs = unplugDelayUs(random);
            const QByteArray where = QByteArray("cycle ") + QByteArray::number(cycle + 1) + ", "
                                     + activityName(activity) + ", unplugged after "
                                     + QByteArray::number(delayUs) + " us";
            QVERIFY2(startActivity(activity), where.constData());
            const std::array<int32_t, 36> configured = instrument->configuration();

            // From another thread, so the moment may fall inside a request of
            // the window's as well as inside a read of the worker's.
            QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
            std::atomic<bool> unplugged{false};
            std::thread unplugger([&] {
                std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
                instrument->unplug();
                unplugged.store(true);
            });
            const bool unpluggedInTime = QTest::qWaitFor([&] { return unplugged.load(); }, stepTimeoutMs);
            unplugger.join();
            QVERIFY2(unpluggedInTime, where.constData());

            // The lost link, shown.
            QVERIFY2(QTest::qWaitFor([&] { return window->windowTitle() == titleNotConnected; }, stepTimeoutMs),
                     where.constData());
            QVERIFY2(titles.contains(QVariantList{titleLost}), where.constData());
            QCOMPARE(ui()->infoLabel->text(), QStringLiteral("Connection lost"));
            QCOMPARE(ui()->connectButton->text(), QStringLiteral("Connect"));
            QCOMPARE(ui()->connectLabel->text(), QStringLiteral("Not Connected"));
            QVERIFY(ui()->centralWidget->isEnabled());
            QVERIFY(!window->libUsbDevice.connected);
            QVERIFY2(QTest::qWaitFor([&] { return !instrument->deviceOpen(); }, stepTimeoutMs), where.constData());

            // Nothing goes out while no instrument is connected, also once
            // one is plugged in again: a meter poll's period at least.
            const size_t lostAt = instrument->wireLog().size();
            std::string error;
            QVERIFY2(instrument->replug(&error), error.c_str());
            QTest::qWait(450);
            QCOMPARE(instrument->wireLog().size(), lostAt);

            ui()->connectButton->click();
            QCOMPARE(window->windowTitle(), titleConnected);
            QVERIFY(window->libUsbDevice.connected);
            const QString fault = wireFault(instrument->wireLog(), lostAt);
            QVERIFY2(fault.isEmpty(), (where + ": " + fault.toUtf8()).constData());

            // Nothing lost: at the same activity the instrument holds the same settings.
            QVERIFY2(startActivity(activity), (where + ", after the reconnect").constData());
            const std::array<int32_t, 36> restored = instrument->configuration();
            for (size_t item = 0; item < configured.size(); ++item) {
                // The trigger source doubles as the counter's input: the AC
                // and DC pages read neither, and which one it holds there
                // depends on the page shown before.
                if (activity == Activity::Meter && item == CFG_TRIGGER_SOURCE)
                    continue;
                QVERIFY2(restored[item] == configured[item],
                         (where + ": item " + QByteArray::number(int(item)) + " is "
                          + QByteArray::number(restored[item]) + ", was " + QByteArray::number(configured[item]))
                             .constData());
            }
        }
        const qint64 cyclesMs = clock.elapsed();

        // Closing after the cycles, as the window's close button does.
        clock.restart();
        window->close();
        window.reset();
        const qint64 closeMs = clock.elapsed();
        QVERIFY(!instrument->interfaceClaimed());
        qInfo("%d cycles in %.1f s, %.0f ms per cycle; closing took %lld ms", cycles, cyclesMs / 1000.0,
              cycles > 0 ? double(cyclesMs) / cycles : 0.0, closeMs);
    }
};

VESK_USB_TEST_MAIN(TestUnplugCycles)
#include "tst_unplugcycles.moc"
