#include "deviceinformation.h"
#include "qxmlget.h"

#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

QStringList DeviceInformation::describe(const QString &descriptionPath, quint8 healthMask)
{
    QStringList lines;
    QXmlGet description;
    description.load(descriptionPath);
    if (description.docType() != QLatin1String("VeskHardware"))
        return lines;

    const QString indent = QStringLiteral("    ");
    if (description.findNext(QStringLiteral("info"))) {
        description.descend();
        while (description.findNext(QStringLiteral("description")))
            lines.append(indent + description.getString(QString()));
        description.rise();
    }
    if (description.findNext(QStringLiteral("health"))) {
        description.descend();
        lines.append(QStringLiteral("Health status"));
        while (description.findNext(QStringLiteral("status"))) {
            // Codes wrap at 32 and the mask has eight bits: 8..31 never read healthy.
            const int code = description.getAttributeInt(QStringLiteral("code"), 0);
            const bool healthy = (quint32(healthMask) >> (code & 31)) & 1u;
            lines.append(indent + description.getString(QString())
                         + (healthy ? QStringLiteral(": OK") : QStringLiteral(": Problem!")));
        }
        description.rise();
    }
    return lines;
}

void DeviceInformation::appendPlainText(QTextBrowser *pane, const QString &text)
{
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::End);
    if (!pane->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(text);
}
