#ifndef CUSTOMWAVECSV_H
#define CUSTOMWAVECSV_H

#include <QString>
#include <QVector>

// A custom wave read from comma-separated text: decimal integers separated
// by commas or line ends (one number a line is fine), blanks around a number
// are ignored, a blank between two commas is 0, at most the first 512
// numbers are used. A part that is no whole number, or one that fits no
// 16-bit sample (signed, or unsigned and kept as its low 16 bits), spoils
// the whole wave: `error` says which, and no samples are given.
class CustomWaveCsv
{
public:
    static constexpr int maxSamples = 512;
    // Far more than 512 numbers can take; a larger file is no wave.
    static constexpr qint64 maxFileBytes = 1024 * 1024;

    static CustomWaveCsv parse(const QString &text);
    // Reads the file as UTF-8 text and parses it.
    static CustomWaveCsv load(const QString &path);

    bool isValid() const { return error.isEmpty(); }

    QVector<qint16> samples;
    // Numbers in the text, the ignored ones beyond 512 included.
    int numberCount = 0;
    QString error;

private:
    static CustomWaveCsv readText(const QString &text, const QString &source);
};

#endif // CUSTOMWAVECSV_H
