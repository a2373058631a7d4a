// XML documents: parsed, then every element read with each kind of value.
#include "fuzzinput.h"

#include "qxmlget.h"

namespace
{
void readAll(QXmlGet reader, int depth)
{
    // An empty tag matches any element.
    for (bool found = reader.find(QString()); found; found = reader.findNext(QString())) {
        reader.getString();
        reader.getInt();
        reader.getDouble();
        reader.getBool();
        reader.getDateTime();
        reader.getColor();
        reader.getIntVector();
        reader.getDoubleVector();
        reader.getBoolVector();
        reader.getByteArray();
        reader.getRect();
        reader.getRectF();
        reader.getStringList();
        for (const QString &name : {QStringLiteral("a"), QStringLiteral("file")}) {
            reader.getAttributeInt(name);
            reader.getAttributeDouble(name);
            reader.getAttributeColor(name);
            reader.getAttributeIntVector(name);
            reader.getAttributeDoubleVector(name);
            reader.getAttributeBoolVector(name);
        }
        if (depth < 16 && reader.hasChildren())
            readAll(reader.descended(), depth + 1);
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QXmlGet reader;
    if (reader.fromString(QString::fromUtf8(reinterpret_cast<const char *>(data), int(size))))
        readAll(reader, 0);
    return 0;
}
