// Saving, loading, recording and playing traces, and screenshots, through
// the window without an instrument.
#include "testmain.h"
#include "logcapture.h"
#include "modalanswerer.h"
#include "scopeframefeeder.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"
#include "freefilename.h"
#include "recordframes.h"
#include "wavetext.h"

#include <QTemporaryDir>

using namespace ScopeFrameFeeder;

namespace
{
QVector<double> valuesOf(const QCPGraph *graph)
{
    QVector<double> values;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        values << it->value;
    return values;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<unreadable>");
}

QString readText(const QString &path)
{
    return QString::fromUtf8(readBytes(path));
}

// Files of the folder with the given suffix.
QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}

void writeText(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

// A frame of CH1 whose samples are its frame number, so each one is recognisable.
QByteArray numberedFrame(int number)
{
    FrameRecipe recipe;
    recipe.frameNumber = number;
    recipe.ch1Sample = [number](int) { return number; };
    return makeFrame(recipe);
}

void show(VeskInterface &w, const QByteArray &frame)
{
    deliver(w, frame);
    tick(w);
}
}

class TestWaveFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void init()
    {
        QVERIFY(folder.isValid());
        QVERIFY(QDir::setCurrent(folder.path()));
        for (const QString &name : QDir(folder.path()).entryList(QDir::Files))
            QFile::remove(folder.filePath(name));
    }

    void saveAsksForTheFolderOnce()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        ModalAnswerer answerer;
        answerer.fileAnswers << folder.path();
        const QByteArray frame = numberedFrame(1);
        show(w, frame);
        const QVector<double> shown = valuesOf(w.ch1Graph);

        w.ui->saveWave->click();
        tick(w);   // the redraw the button asks for saves the frame on screen
        QCOMPARE(answerer.fileDialogTitles, QStringList{"Choose Destination Folder"});
        QStringList files = filesIn(folder.path(), "waveFile*.vsp");
        QCOMPARE(files.size(), 1);
        QVERIFY(QRegularExpression("^waveFile\\d{6}\\.vsp$").match(files.first()).hasMatch());
        QCOMPARE(w.ui->notifLabel->text(), "File " + files.first() + " created!");
        WaveText::Frame expected;
        expected.traces[0] = shown;
        QCOMPARE(readText(folder.filePath(files.first())), WaveText::waveFile(expected));
        QVERIFY(w.ch1WaveData.isEmpty());
        QCOMPARE(w.defaultDirectory, folder.path());

        // The folder is kept for the life of the window.
        QTest::qWait(1100);
        w.ui->saveWave->click();
        tick(w);
        QCOMPARE(answerer.fileDialogTitles.size(), 1);
        QCOMPARE(filesIn(folder.path(), "waveFile*.vsp").size(), 2);
    }

    // Names by the time of day repeat: whatever second the saves fall in,
    // their names are taken, and both files are written beside the old ones.
    void takenNamesGetANumber()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalAnswerer answerer;
        answerer.fileAnswers << folder.path();
        QStringList kept;
        for (int second = 0; second < 3; ++second) {
            const QString time = QTime::currentTime().addSecs(second).toString("hhmmss");
            kept << "waveFile" + time + ".vsp" << "screenShot" + time + ".png";
        }
        for (const QString &name : kept)
            writeText(folder.filePath(name), "kept");
        for (int save = 0; save < 2; ++save) {
            show(w, numberedFrame(1 + save));
            w.ui->saveWave->click();
            tick(w);
            QVERIFY(w.ui->notifLabel->text().contains(QRegularExpression("^File waveFile\\d{6}-[23]\\.vsp created!$")));
            w.ui->screenShotButton->click();
            QVERIFY(w.ui->notifLabel->text().contains(QRegularExpression("^File screenShot\\d{6}-[23]\\.png created!$")));
        }
        QCOMPARE(filesIn(folder.path(), "waveFile*-*.vsp").size(), 2);
        QCOMPARE(filesIn(folder.path(), "screenShot*-*.png").size(), 2);
        for (const QString &name : kept)
            QCOMPARE(readText(folder.filePath(name)), QString("kept"));
    }

    void freeNames_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << QStringList{"other.vsp"} << "waveFile090507.vsp" << "waveFile090507.vsp";
        QTest::newRow("taken") << QStringList{"waveFile090507.vsp"} << "waveFile090507.vsp" << "waveFile090507-2.vsp";
        QTest::newRow("taken twice") << QStringList{"waveFile090507.vsp", "waveFile090507-2.vsp"}
                                     << "waveFile090507.vsp" << "waveFile090507-3.vsp";
        QTest::newRow("a gap is used") << QStringList{"a.png", "a-3.png"} << "a.png" << "a-2.png";
        QTest::newRow("dots in the stem") << QStringList{"record2024-03-0114-02-09.vsp"}
                                          << "record2024-03-0114-02-09.vsp" << "record2024-03-0114-02-09-2.vsp";
        QTest::newRow("no extension") << QStringList{"shot"} << "shot" << "shot-2";
    }
    void freeNames()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        for (const QString &file : present)
            writeText(folder.filePath(file), "x");
        QCOMPARE(FreeFileName::in(folder.path(), name), expected);
    }

    void cancelledFolderWritesNothing()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        ModalAnswerer answerer;
        answerer.fileAnswers << QString();
        const QByteArray frame = numberedFrame(1);
        show(w, frame);
        w.ui->saveWave->click();
        tick(w);
        QCOMPARE(answerer.fileDialogTitles.size(), 1);
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
        QVERIFY(w.ui->notifLabel->text().isEmpty());
        QVERIFY(!w.saveWaveRequest);
    }

    void loadedWaveReplacesLiveTraces()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        const QString path = folder.filePath("loaded.vsp");
        WaveText::Frame stored;
        stored.traces[0] = {700, 640.5};
        stored.traces[3] = {1, 2, 3};
        writeText(path, WaveText::waveFile(stored));
        ModalAnswerer answerer;
        answerer.fileAnswers << path;
        w.ui->loadWave->click();
        QCOMPARE(answerer.messages, QStringList());
        QCOMPARE(answerer.fileDialogTitles, QStringList{"Open File"});
        QVERIFY(w.waveLoaded);
        QCOMPARE(w.ch1WaveData, stored.traces[0]);
        QCOMPARE(w.logicWaveData[1], stored.traces[3]);

        const QByteArray live = numberedFrame(5);
        show(w, live);
        QCOMPARE(valuesOf(w.ch1Graph), stored.traces[0]);

        // Saving the loaded wave keeps it on screen.
        answerer.fileAnswers << folder.path();
        w.ui->saveWave->click();
        tick(w);
        QCOMPARE(filesIn(folder.path(), "waveFile*.vsp").size(), 1);
        QCOMPARE(w.ch1WaveData, stored.traces[0]);
        show(w, live);
        QCOMPARE(valuesOf(w.ch1Graph), stored.traces[0]);

        w.ui->clearWaveButton->click();
        QVERIFY(!w.waveLoaded);
        QVERIFY(w.ch1WaveData.isEmpty() && w.logicWaveData[1].isEmpty());
        show(w, live);
        QCOMPARE(valuesOf(w.ch1Graph).size(), 256);
    }

    // A recording opened with Load shows its first frame, each trace on its channel.
    void loadedRecordShowsItsFirstFrame()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        WaveText::Frame first, second;
        first.traces[0] = {10, 20};
        first.traces[1] = {30, 40, 50};
        first.traces[9] = {1, 0};
        second.traces[0] = {99};
        const QString path = folder.filePath("record.vsp");
        writeText(path, WaveText::recordBlock(5, first) + WaveText::recordBlock(6, second));
        ModalAnswerer answerer;
        answerer.fileAnswers << path;
        w.ui->loadWave->click();
        QVERIFY(w.waveLoaded);
        QCOMPARE(w.ch1WaveData, first.traces[0]);
        QCOMPARE(w.ch2WaveData, first.traces[1]);
        QCOMPARE(w.logicWaveData[7], first.traces[9]);
    }

    // A wave file is one frame, and one too large to be a frame is refused;
    // a record of any length shows its first frame, read alone.
    void loadBoundsOnlyWaveFiles()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        WaveText::Frame first, other;
        first.traces[0] = {10, 20};
        other.traces[0] = QVector<double>(3840, 640.5);
        QString record = WaveText::recordBlock(5, first);
        while (record.size() <= 4 << 20)
            record += WaveText::recordBlock(6, other);
        const QString recordPath = folder.filePath("record.vsp");
        writeText(recordPath, record);
        const QString wavePath = folder.filePath("wave.vsp");
        writeText(wavePath, "CH1," + QString("640.5,").repeated((4 << 20) / 6 + 1));
        ModalAnswerer answerer;
        answerer.fileAnswers << wavePath << recordPath;
        w.ui->loadWave->click();
        QVERIFY(!w.waveLoaded);
        QCOMPARE(w.ui->notifLabel->text(), QString("File wave.vsp is too large."));
        w.ui->loadWave->click();
        QVERIFY(w.waveLoaded);
        QCOMPARE(w.ch1WaveData, first.traces[0]);
    }

    // A wave or reference of another length than the live frame is drawn
    // where both coordinates exist, without a word in the log each frame.
    void otherLengthsDrawQuietly()
    {
        VeskInterface w;
        FrameRecipe recipe;
        recipe.ch2 = true;
        configure(w, recipe);
        QVector<double> longWave(300);
        for (int i = 0; i < longWave.size(); ++i)
            longWave[i] = 600 + i;
        WaveText::Frame stored;
        stored.traces[0] = longWave;
        const QString path = folder.filePath("long.vsp");
        writeText(path, WaveText::waveFile(stored));
        ModalAnswerer answerer;
        answerer.fileAnswers << path;
        w.ui->loadWave->click();
        w.ui->refCH1->setChecked(true);
        w.ui->captureButton->click();
        LogCapture log;
        recipe.frameNumber = 1;
        const QByteArray live = makeFrame(recipe);
        show(w, live);
        QCOMPARE(valuesOf(w.ch1Graph), longWave.mid(0, 256));
        QCOMPARE(valuesOf(w.ch2Graph).size(), 0);
        recipe.blocks = 2;
        configure(w, recipe);
        recipe.frameNumber = 2;
        const QByteArray longer = makeFrame(recipe);
        show(w, longer);
        QCOMPARE(valuesOf(w.ch1Graph), longWave);
        QCOMPARE(log.messages().filter("sizes"), QStringList());
        QCOMPARE(valuesOf(w.ch1RefGraph).size(), 256);
    }

    void truncatedWaveFileLoadsWhatItHas()
    {
        VeskInterface w;
        const QString path = folder.filePath("short.vsp");
        writeText(path, "CH1,1,2,<*>\nCH2,3,");
        ModalAnswerer answerer;
        answerer.fileAnswers << path;
        LogCapture log;
        w.ui->loadWave->click();
        QVERIFY(w.waveLoaded);
        QCOMPARE(w.ch1WaveData, (QVector<double>{1, 2}));
        QCOMPARE(w.ch2WaveData, QVector<double>{3});
        QCOMPARE(log.count("Wave file " + path + ": 8 of 10 traces missing, left empty"), 1);
    }

    // Each new frame once, written as it comes, so nothing is lost if the
    // program ends while recording.
    void recordingWritesEachNewFrameOnce()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        w.ui->samplingSlider->setValue(9);
        w.ui->recordButton->click();
        QCOMPARE(w.ui->recordButton->text(), QString("Stop"));
        QCOMPARE(w.ui->label_13->text(), QString("Recording wave."));
        const QStringList files = filesIn(folder.path(), "record*.vsp");
        QCOMPARE(files.size(), 1);
        QVERIFY(QRegularExpression("^record\\d{4}-\\d\\d-\\d{4}-\\d\\d-\\d\\d\\.vsp$")
                    .match(files.first())
                    .hasMatch());

        // Samples whose plot values need no more than six digits.
        const QByteArray first = numberedFrame(2), second = numberedFrame(4);
        show(w, first);
        const QVector<double> firstShown = valuesOf(w.ch1Graph);
        w.replotRequest = true;   // a redraw of the same frame is not recorded again
        tick(w);
        show(w, second);
        const QVector<double> secondShown = valuesOf(w.ch1Graph);

        QString error;
        QList<WaveText::RecordedFrame> frames = recordFrames(readBytes(folder.filePath(files.first())), &error);
        QCOMPARE(frames.size(), 2);

        ModalAnswerer answerer;
        w.ui->recordButton->click();
        QTRY_COMPARE(answerer.messages, QStringList{"Success / File " + files.first() + " saved."});
        QCOMPARE(w.ui->recordButton->text(), QString("Record"));
        QVERIFY(w.ui->label_13->text().isEmpty());
        frames = recordFrames(readBytes(folder.filePath(files.first())), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].sampling, 9);
        QCOMPARE(frames[0].frame.traces[0], firstShown);
        QCOMPARE(frames[1].frame.traces[0], secondShown);

        show(w, numberedFrame(6));
        QCOMPARE(recordFrames(readBytes(folder.filePath(files.first())), &error).size(), 2);
    }

    void recordingThatCannotStartSaysSo()
    {
        VeskInterface w;
        {
            QTemporaryDir gone;
            QVERIFY(QDir::setCurrent(gone.path()));
        }
        LogCapture log;
        w.ui->recordButton->click();
        QVERIFY(!w.recording);
        QCOMPARE(w.ui->recordButton->text(), QString("Record"));
        QVERIFY(w.ui->label_13->text().startsWith("Recording failed: "));
        QCOMPARE(log.messages().size(), 1);
    }

    void playbackShowsRecordedFramesThenRestores()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        w.ui->samplingSlider->setValue(7);
        WaveText::Frame a, b;
        a.traces[0] = {10, 20};
        b.traces[0] = {30};
        b.traces[9] = {1, 0};
        const QString path = folder.filePath("played.vsp");
        writeText(path, WaveText::recordBlock(3, a) + WaveText::recordBlock(12, b));

        w.wavePlay(path);
        QVERIFY(w.playActive);
        QCOMPARE(w.ui->label_13->text(), QString("Load recorded wave"));
        const QByteArray live = numberedFrame(4);
        show(w, live);
        QCOMPARE(valuesOf(w.ch1Graph), a.traces[0]);
        QCOMPARE(w.ui->samplingSlider->value(), 3);
        show(w, live);
        QCOMPARE(valuesOf(w.ch1Graph), b.traces[0]);
        QCOMPARE(w.ui->samplingSlider->value(), 12);
        show(w, live);
        QVERIFY(!w.playActive);
        QCOMPARE(w.ui->samplingSlider->value(), 7);
        QVERIFY(w.ui->label_13->text().isEmpty());
        QCOMPARE(valuesOf(w.ch1Graph).size(), 256);
    }

    // A file that cannot be played leaves no playback behind, nor the one
    // that ran before it: every index goes to the instrument, so one it
    // cannot take refuses the file, wherever it lies.
    void refusedRecordLeavesNoPlayback_data()
    {
        WaveText::Frame a;
        a.traces[0] = {10, 20};
        const QByteArray good = WaveText::recordBlock(3, a).toUtf8();
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("playing");
        for (int sampling : {22, 99, -5})
            QTest::addRow("index %d", sampling) << good + WaveText::recordBlock(sampling, a).toUtf8()
                                                << QString("frame 2 has the time/div index %1, outside 0..21").arg(sampling)
                                                << false;
        QTest::newRow("bad index, while playing") << good + good + WaveText::recordBlock(22, a).toUtf8()
                                                  << "frame 3 has the time/div index 22, outside 0..21" << true;
        QTest::newRow("no file") << QByteArray() << "No such file or directory" << false;
        QTest::newRow("no file, while playing") << QByteArray() << "No such file or directory" << true;
        QTest::newRow("empty") << QByteArray("") << "the file holds no frame" << false;
        QTest::newRow("a wave file") << WaveText::waveFile(a).toUtf8() << "frame 1 has no separator" << false;
    }
    void refusedRecordLeavesNoPlayback()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        QFETCH(bool, playing);
        VeskInterface w;
        configure(w, FrameRecipe());
        w.ui->samplingSlider->setValue(7);
        const QByteArray live = numberedFrame(4);
        if (playing) {
            WaveText::Frame b;
            b.traces[0] = {30};
            const QString before = folder.filePath("before.vsp");
            writeText(before, WaveText::recordBlock(12, b) + WaveText::recordBlock(12, b));
            w.wavePlay(before);
            show(w, live);
            QCOMPARE(w.ui->samplingSlider->value(), 12);
        }
        const QString path = folder.filePath("refused.vsp");
        if (!text.isNull())
            writeText(path, QString::fromUtf8(text));
        LogCapture log;
        w.wavePlay(path);
        QVERIFY(!w.playActive);
        QVERIFY(!w.playReader);
        QVERIFY(!w.playTimer.isActive());
        QCOMPARE(w.ui->label_13->text(), "Not played: " + reason);
        QCOMPARE(log.count("Record file " + path + " not played: " + reason), 1);
        QCOMPARE(w.ui->samplingSlider->value(), 7);
        show(w, live);
        QCOMPARE(w.ui->samplingSlider->value(), 7);
        QCOMPARE(valuesOf(w.ch1Graph).size(), 256);
        QCOMPARE(w.ui->label_13->text(), "Not played: " + reason);
    }

    // With no frames coming (stopped, not connected), playback goes on by
    // itself and ends.
    void playbackWithoutFramesReachesItsEnd()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        w.ui->samplingSlider->setValue(12);
        WaveText::Frame a, b;
        a.traces[0] = {10, 20};
        b.traces[0] = {30};
        const QString path = folder.filePath("played.vsp");
        writeText(path, WaveText::recordBlock(0, a) + WaveText::recordBlock(2, b));
        w.wavePlay(path);
        QTRY_VERIFY(!w.playActive);
        QCOMPARE(w.ui->samplingSlider->value(), 12);
        QVERIFY(w.ui->label_13->text().isEmpty());
    }

    void damagedRecordPlaysItsWholeFrames()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        WaveText::Frame a;
        a.traces[0] = {10, 20};
        const QString path = folder.filePath("damaged.vsp");
        writeText(path, WaveText::recordBlock(3, a) + "5<*>\nCH1,1,<*>\nCH2,");
        LogCapture log;
        w.wavePlay(path);
        QVERIFY(w.playActive);
        const QByteArray live = numberedFrame(4);
        show(w, live);
        QCOMPARE(valuesOf(w.ch1Graph), a.traces[0]);
        QCOMPARE(w.ui->samplingSlider->value(), 3);
        show(w, live);
        QVERIFY(!w.playActive);
        QCOMPARE(log.count("Record file " + path + ": frame 2 has no separator, played the 1 frames before it"), 1);
    }

    // A record past the size a whole read could take plays to its end, a
    // chunk and a frame in memory at a time; a bad index in its last frame
    // refuses it before anything plays.
    void largeRecordPlaysToItsEnd()
    {
        VeskInterface w;
        configure(w, FrameRecipe());
        w.ui->samplingSlider->setValue(7);
        // Frames of the largest buffer with every trace on, each value of
        // twelve characters: few frames make up the size.
        WaveText::Frame frame;
        for (int trace = 0; trace < WaveText::traceCount; ++trace) {
            for (int i = 0; i < 3840; ++i)
                frame.traces[size_t(trace)].append(-1234567.0 * (1 + (i + trace) % 7));
        }
        const QByteArray block = WaveText::recordBlock(5, frame).toUtf8();
        const QString path = folder.filePath("large.vsp");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        int frames = 0;
        for (; file.size() <= qint64(256) << 20; ++frames)
            QCOMPARE(file.write(block), qint64(block.size()));
        const qint64 size = file.size();
        QVERIFY(file.write(WaveText::recordBlock(22, frame).toUtf8()) > block.size());
        file.close();

        LogCapture log;
        w.wavePlay(path);
        // The first pass goes on between the window's events.
        QVERIFY(w.playReader);
        QTRY_VERIFY_WITH_TIMEOUT(!w.playReader, 60000);
        QVERIFY(!w.playActive);
        QCOMPARE(w.ui->label_13->text(),
                 QString("Not played: frame %1 has the time/div index 22, outside 0..21").arg(frames + 1));
        QCOMPARE(w.ui->samplingSlider->value(), 7);

        QVERIFY(QFile::resize(path, size));
        w.wavePlay(path);
        QTRY_VERIFY_WITH_TIMEOUT(w.playActive, 60000);
        QCOMPARE(w.ui->label_13->text(), QString("Load recorded wave"));
        const QByteArray live = numberedFrame(4);
        int played = 0;
        qint64 buffered = 0;
        while (w.playActive) {
            played = w.playReader->framesRead();
            buffered = qMax(buffered, w.playReader->bufferedBytes());
            show(w, live);
        }
        QCOMPARE(played, frames);
        QCOMPARE(log.messages().filter("Record file"), QStringList{"Record file " + path + " not played: "
                                                                    + QString("frame %1 has the time/div index 22, outside 0..21").arg(frames + 1)});
        QCOMPARE(valuesOf(w.ch1Graph).size(), 256);
        QCOMPARE(w.ui->samplingSlider->value(), 7);
        // A chunk of the file and one frame: a few MiB of a file of 256.
        QVERIFY2(buffered < 4 << 20, qPrintable(QString::number(buffered)));
        QVERIFY(QFile::remove(path));
    }

    void screenshotOfThePlotArea()
    {
        VeskInterface w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalAnswerer answerer;
        answerer.fileAnswers << folder.path();
        w.ui->screenShotButton->click();
        const QStringList files = filesIn(folder.path(), "screenShot*.png");
        QCOMPARE(files.size(), 1);
        QVERIFY(QRegularExpression("^screenShot\\d{6}\\.png$").match(files.first()).hasMatch());
        QCOMPARE(w.ui->notifLabel->text(), "File " + files.first() + " created!");
        const QImage shot(folder.filePath(files.first()));
        QCOMPARE(shot.width(), w.ui->widget->width());
        // The scale labels below the plot are in it whole.
        for (const QLabel *label : {w.ui->ch1Label, w.ui->ch2Label, w.ui->timeLabel})
            QVERIFY(label->mapTo(w.ui->widget, QPoint(0, label->height())).y() <= shot.height());
        QVERIFY(shot.height() <= w.ui->widget->height());
    }
};

VESK_TEST_MAIN(TestWaveFiles)
#include "tst_wavefiles.moc"
