// Wave files, recordings, playback and screenshots of the oscilloscope page.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "freefilename.h"
#include "protocol.h"
#include "recordreader.h"
#include "scopevalues.h"
#include "wavetext.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalBlocker>

#include <limits>

namespace
{
// A wave file is one frame: under half a MiB as the program writes it
// (ten traces of 3840 samples). Eight times that reads in a tenth of a
// second and keeps each later frame, which redraws the loaded wave, within
// a tick.
constexpr qint64 maxWaveFileBytes = 4 * 1024 * 1024;
// The first pass over a record goes on in slices of this many bytes, with
// the window's events between them.
constexpr qint64 playCheckSliceBytes = 32 * 1024 * 1024;

QString timeStampedName(const QString &prefix, const QString &suffix)
{
    return prefix + QTime::currentTime().toString(QStringLiteral("hh:mm:ss")).remove(QLatin1Char(':')) + suffix;
}

WaveText::Frame frameOf(const TraceBuilder::Traces &traces)
{
    WaveText::Frame frame;
    frame.traces[0] = traces.ch1;
    frame.traces[1] = traces.ch2;
    for (int bit = 0; bit < TraceBuilder::logicChannels; ++bit)
        frame.traces[size_t(2 + bit)] = traces.logicLevels[size_t(bit)];
    return frame;
}
}

void VeskInterface::on_saveWave_clicked()
{
    saveWaveRequest = true;
    requestReplot();
}

void VeskInterface::on_clearWaveButton_clicked()
{
    waveLoaded = false;
    waveSetData(WaveText::Frame());
    requestReplot();
}

bool VeskInterface::waveChooseDirectory()
{
    if (waveDirectory.isEmpty())
        waveDirectory = QFileDialog::getExistingDirectory(this, tr("Choose Destination Folder"), defaultDirectory,
                                                          QFileDialog::ShowDirsOnly);
    if (waveDirectory.isEmpty())
        return false;
    defaultDirectory = waveDirectory;
    return true;
}

WaveText::Frame VeskInterface::waveData() const
{
    WaveText::Frame frame;
    frame.traces[0] = ch1WaveData;
    frame.traces[1] = ch2WaveData;
    for (int bit = 0; bit < 8; ++bit)
        frame.traces[size_t(2 + bit)] = logicWaveData[bit];
    return frame;
}

void VeskInterface::waveSetData(const WaveText::Frame &frame)
{
    ch1WaveData = frame.traces[0];
    ch2WaveData = frame.traces[1];
    for (int bit = 0; bit < 8; ++bit)
        logicWaveData[bit] = frame.traces[size_t(2 + bit)];
}

// A loaded wave stays on screen, so it is not emptied by writing it.
WaveText::Frame VeskInterface::waveTakeData()
{
    const WaveText::Frame frame = waveData();
    if (!waveLoaded)
        waveSetData(WaveText::Frame());
    return frame;
}

void VeskInterface::saveWavetoFile()
{
    const QString stamped = timeStampedName(QStringLiteral("waveFile"), QStringLiteral(".vsp"));
    if (!waveChooseDirectory())
        return;
    const QString name = FreeFileName::in(waveDirectory, stamped);
    const WaveText::Frame frame = waveTakeData();
    QFile file(waveDirectory + QDir::separator() + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)
        || file.write(WaveText::waveFile(frame).toUtf8()) < 0 || !file.flush()) {
        logToFile(QStringLiteral("Wave file ") + file.fileName() + QStringLiteral(" not written: ")
                      + file.errorString(), 2);
        ui->notifLabel->setText(tr("File ") + name + tr(" not written!"));
        return;
    }
    file.close();
    ui->notifLabel->setText(tr("File ") + name + tr(" created!"));
}

QString VeskInterface::saveWavetoString()
{
    return WaveText::frameBlock(waveTakeData());
}

void VeskInterface::on_recordButton_clicked()
{
    if (!recording) {
        ui->recordButton->setText(tr("Stop"));
        ui->recordButton->setIcon(QIcon(QStringLiteral(":/icons/ico-record-active.png")));
        ui->label_13->setText(tr("Recording wave."));
        recording = true;
        recordFile->setFileName(FreeFileName::in(
            QDir::currentPath(),
            QStringLiteral("record") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddhh-mm-ss"))
                + QStringLiteral(".vsp")));
        if (!recordFile->open(QIODevice::WriteOnly | QIODevice::Text)) {
            recording = false;
            logToFile(QStringLiteral("Recording not started: ") + recordFile->fileName() + QStringLiteral(": ")
                          + recordFile->errorString(), 2);
            waveShowRecordIdle();
            ui->label_13->setText(tr("Recording failed: ") + recordFile->errorString());
            return;
        }
        recordStream = new QTextStream(recordFile);
        recordStream->setCodec("UTF-8");
        return;
    }
    waveShowRecordIdle();
    const bool written = recordStream->status() == QTextStream::Ok;
    closeRecordFile();
    if (written)
        QMessageBox::information(this, tr("Success"), tr("File ") + recordFile->fileName() + tr(" saved."));
    else
        QMessageBox::warning(this, tr("Recording"), tr("File ") + recordFile->fileName() + tr(" is incomplete."));
}

void VeskInterface::waveShowRecordIdle()
{
    ui->recordButton->setText(tr("Record"));
    ui->recordButton->setIcon(QIcon(QStringLiteral(":/icons/ico-record.png")));
    ui->label_13->setText(QString());
}

void VeskInterface::on_loadWave_clicked()
{
    on_clearWaveButton_clicked();
    const QString name = QFileDialog::getOpenFileName(this, tr("Open File"), defaultDirectory,
                                                      QStringLiteral("Vesk files (*.vsp)"));
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        logToFile(QStringLiteral("Cannot read ") + name + QStringLiteral(": ") + file.errorString(), 2);
        return;
    }
    int sampling = 0;
    if (WaveText::recordSampling(file.peek(WaveText::samplingLineBytes), &sampling) >= 0) {
        // A recording shows its first frame; its time/div line is no trace.
        RecordReader reader(&file);
        WaveText::RecordedFrame first;
        if (!reader.next(&first)) {
            logToFile(QStringLiteral("Record file ") + name + QStringLiteral(": ") + reader.error(), 2);
            ui->notifLabel->setText(tr("File ") + QFileInfo(name).fileName() + tr(" holds no whole frame."));
            return;
        }
        waveSetData(first.frame);
    } else {
        QString text;
        if (!waveReadText(file, &text))
            return;
        int missing = 0;
        QString error;
        const WaveText::Frame frame = WaveText::parseWaveFile(text, &missing, &error);
        if (!error.isEmpty()) {
            logToFile(QStringLiteral("Wave file ") + name + QStringLiteral(" not loaded: ") + error, 2);
            ui->notifLabel->setText(tr("File ") + QFileInfo(name).fileName() + tr(" not loaded: ") + error);
            return;
        }
        if (missing > 0)
            logToFile(QStringLiteral("Wave file ") + name + QStringLiteral(": %1 of %2 traces missing, left empty")
                                                                .arg(missing)
                                                                .arg(WaveText::traceCount),
                      2);
        waveSetData(frame);
    }
    waveLoaded = true;
    requestReplot();
}

bool VeskInterface::waveReadText(QFile &file, QString *text)
{
    if (file.size() > maxWaveFileBytes) {
        logToFile(QStringLiteral("Cannot read ") + file.fileName() + QStringLiteral(": larger than %1 MiB")
                                                                  .arg(maxWaveFileBytes >> 20),
                  2);
        ui->notifLabel->setText(tr("File ") + QFileInfo(file.fileName()).fileName() + tr(" is too large."));
        return false;
    }
    QByteArray bytes = file.readAll();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    *text = QString::fromUtf8(bytes);
    return true;
}

void VeskInterface::on_playButton_clicked()
{
    ui->label_13->setText(tr("Reading data from file. Please wait"));
    const QString name = QFileDialog::getOpenFileName(nullptr, QStringLiteral("Choose file with recorded wave"),
                                                      QString(), QStringLiteral("Vesk files (*.vsp)"));
    activateWindow();
    if (name.isEmpty())
        ui->label_13->setText(QString());
    else
        wavePlay(name);
}

void VeskInterface::wavePlay(QString fileName)
{
    wavePlayEnd();
    playSavedSampling = ui->samplingSlider->value();
    playFile.setFileName(fileName);
    if (!playFile.open(QIODevice::ReadOnly)) {
        wavePlayRefuse(playFile.errorString());
        return;
    }
    playReader = std::make_unique<RecordReader>(&playFile);
    wavePlayCheck();
}

void VeskInterface::wavePlayCheck()
{
    QString reason;
    switch (playReader->check(playCheckSliceBytes, &reason)) {
    case RecordReader::Check::Pending:
        playTimer.start(0);
        return;
    case RecordReader::Check::Refused:
        wavePlayRefuse(reason);
        return;
    case RecordReader::Check::Passed:
        ui->label_13->setText(tr("Load recorded wave"));
        playActive = true;
        playTimer.start(dataTimerInterval);
        return;
    }
}

void VeskInterface::wavePlayRefuse(const QString &reason)
{
    logToFile(QStringLiteral("Record file ") + playFile.fileName() + QStringLiteral(" not played: ") + reason, 2);
    ui->label_13->setText(tr("Not played: ") + reason);
    wavePlayRelease();
}

void VeskInterface::wavePlayRelease()
{
    playTimer.stop();
    playReader.reset();
    playFile.close();
}

void VeskInterface::wavePlayEnd()
{
    wavePlayRelease();
    if (!playActive)
        return;
    playActive = false;
    waveSetSampling(playSavedSampling);
    // The instrument, roll mode and the sampling label follow the restored time base.
    scopeSamplingSliderChanged(playSavedSampling);
    ui->label_13->setText(QString());
}

void VeskInterface::wavePlayStep(TraceBuilder::Traces &traces)
{
    if (!playActive)
        return;
    WaveText::RecordedFrame recorded;
    if (!playReader->next(&recorded)) {
        if (!playReader->error().isEmpty())
            logToFile(QStringLiteral("Record file ") + playFile.fileName() + QStringLiteral(": ")
                          + playReader->error()
                          + QStringLiteral(", played the %1 frames before it").arg(playReader->framesRead()),
                      2);
        wavePlayEnd();
        return;
    }
    const int sampling = recorded.sampling;
    libUsbDevice.controlWriteTransfer(REQ_SET_CONFIG, CFG_SAMPLING_RATE, sampling & 0xFF);
    waveSetSampling(sampling);
    const WaveText::Frame &frame = recorded.frame;
    traces.ch1 = frame.traces[0];
    traces.ch2 = frame.traces[1];
    int samples = qMax(traces.ch1.size(), traces.ch2.size());
    for (int bit = 0; bit < TraceBuilder::logicChannels; ++bit) {
        traces.logicLevels[size_t(bit)] = frame.traces[size_t(2 + bit)];
        traces.logicBaselines[size_t(bit)].clear();
        samples = qMax(samples, traces.logicLevels[size_t(bit)].size());
    }
    // Without a processed frame for as long as this one lasted, the next
    // comes by itself; one per tick at most.
    const double seconds = ScopeValues::samplesSeconds(samples, sampling);
    playTimer.start(qMax(dataTimerInterval, int(qMin(seconds * 1000, double(std::numeric_limits<int>::max())))));
}

void VeskInterface::wavePlayAdvance()
{
    if (!playActive) {
        if (playReader)
            wavePlayCheck();
        return;
    }
    if (mainMode != MODE_SCOPE) {
        playTimer.start();   // on hold while another page takes the frames
        return;
    }
    requestReplot();
    scopeDataShow();
}

void VeskInterface::waveSetSampling(int value)
{
    // The recorded time base is sent by the playback itself.
    const QSignalBlocker blocker(ui->samplingSlider);
    ui->samplingSlider->setValue(value);
    libUsbDevice.serialPort.setSamplingValue(value);
}

void VeskInterface::waveSaveStep(const TraceBuilder::Traces &traces)
{
    if (!saveWaveRequest)
        return;
    saveWaveRequest = false;
    waveStoreData(traces);
    saveWavetoFile();
}

void VeskInterface::waveStoreData(const TraceBuilder::Traces &traces)
{
    if (!waveLoaded)   // else the members hold the wave on screen
        waveSetData(frameOf(traces));
}

void VeskInterface::waveRecordStep(const TraceBuilder::Traces &traces)
{
    const int frameNumber = traces.header.frameNumber;
    if (frameNumber == lastFrameValue)
        return;
    lastFrameValue = frameNumber;
    if (!recording || !recordStream)
        return;
    waveStoreData(traces);
    // Written as it comes, so a recording survives the program ending.
    *recordStream << QString::number(ui->samplingSlider->value()) << QStringLiteral("<*>\n") << saveWavetoString();
    recordStream->flush();
}

void VeskInterface::on_screenShotButton_clicked()
{
    // Down to the row of scale labels, whole, so the image carries its scale.
    int labelsBottom = 0;
    for (const QWidget *label : {static_cast<QWidget *>(ui->ch1Label), static_cast<QWidget *>(ui->ch2Label),
                                 static_cast<QWidget *>(ui->timeLabel)})
        labelsBottom = qMax(labelsBottom, label->mapTo(ui->widget, QPoint(0, label->height())).y());
    const QPixmap shot = ui->widget->grab(QRect(0, 0, ui->widget->width(), qMin(labelsBottom, ui->widget->height())));
    const QString stamped = timeStampedName(QStringLiteral("screenShot"), QStringLiteral(".png"));
    if (!waveChooseDirectory())
        return;
    const QString name = FreeFileName::in(waveDirectory, stamped);
    const QString path = waveDirectory + QDir::separator() + name;
    if (shot.save(path))
        ui->notifLabel->setText(tr("File ") + name + tr(" created!"));
    else
        logToFile(QStringLiteral("Screenshot ") + path + QStringLiteral(" not written"), 2);
}
