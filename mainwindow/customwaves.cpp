#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "customwavecsv.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QtEndian>

#include <algorithm>

void VeskInterface::on_openCSVButton_clicked()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open File"), defaultDirectory,
                                                      QStringLiteral("CSV files (*.csv *.txt);;All files (*.*)"));
    if (!path.isEmpty())
        customWaveLoadFile(path);
}

bool VeskInterface::customWaveLoadFile(const QString &path)
{
    const CustomWaveCsv wave = CustomWaveCsv::load(path);
    if (!wave.isValid()) {
        // The wave loaded before stays as it was; the user, who just chose
        // the file, is told at once which file and which entry.
        logToFile(wave.error, 2);
        QMessageBox::warning(this, tr("Custom wave"), wave.error);
        setInfoText(wave.error);
        return false;
    }
    // A shorter wave must not keep the tail of the one before.
    int16_t *samples = instrumentCommands.customWave.sample;
    std::fill(samples, samples + CUSTOM_WAVE_SAMPLES, 0);
    for (int i = 0; i < wave.samples.size(); ++i)
        samples[i] = qToLittleEndian(wave.samples.at(i));

    QString text = QStringLiteral("Custom wave loaded: %1 samples").arg(wave.samples.size());
    if (wave.numberCount > wave.samples.size())
        text += QStringLiteral(", %1 more ignored").arg(wave.numberCount - wave.samples.size());
    logToFile(text, 1);
    setInfoText(text);
    ui->saveAWGButton->setEnabled(true);
    return true;
}

void VeskInterface::on_saveAWGButton_clicked()
{
    if (!libUsbDevice.connected)
        return;
    // The instrument is told a wave is on its way while the two halves travel.
    ui->progressBar->setValue(0);
    customWaveUploading = true;
    sendMixedControls();
    ui->progressBar->setValue(4);
    const bool sent = instrumentCommands.sendCustomWave([this] { ui->progressBar->setValue(50); });
    customWaveUploading = false;
    sendMixedControls();
    if (!sent) {
        // A wave that did not arrive is not the instrument's wave type.
        const QString text = QStringLiteral("Custom wave upload failed");
        logToFile(text, 2);
        setInfoText(text);
        ui->progressBar->setValue(0);
        return;
    }
    ui->progressBar->setValue(100);
    ui->radioButtonCustom->setChecked(true);
    sendWaveType();
    ui->progressBar->setValue(0);
}
