// Runs a harness over every file of the folders (or the files) named on the
// command line, so that the suite checks each corpus without libFuzzer.
#include "fuzzinput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace
{
bool replayFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "cannot read " << path << '\n';
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    return true;
}
}

int main(int argc, char *argv[])
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QStringList files;
        if (QFileInfo(path).isDir()) {
            for (const QString &name : QDir(path).entryList(QDir::Files, QDir::Name))
                files.append(QDir(path).filePath(name));
        } else {
            files.append(path);
        }
        for (const QString &file : files) {
            if (!replayFile(file))
                return 1;
            ++replayed;
        }
    }
    QTextStream(stdout) << replayed << " inputs replayed\n";
    // An empty corpus checks nothing: a misnamed folder must not pass.
    return replayed > 0 ? 0 : 1;
}
