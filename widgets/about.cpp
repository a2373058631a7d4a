#include "about.h"
#include "ui_about.h"

#include "common.h"
#include "globaloptions.h"

#include <QFile>
#include <QPushButton>
#include <libusb.h>
#include <qcustomplot.h>

#if __has_include(<Python.h>)
#include <patchlevel.h>
// Python.h, which this pulls in, has a member named like Qt's `slots` macro.
#pragma push_macro("slots")
#undef slots
#include <pybind11/detail/common.h>
#pragma pop_macro("slots")
#define VESK_PYTHON_VERSION PY_VERSION
#define VESK_PYBIND11_VERSION QT_STRINGIFY(PYBIND11_VERSION_MAJOR) "." QT_STRINGIFY(PYBIND11_VERSION_MINOR) "." QT_STRINGIFY(PYBIND11_VERSION_PATCH)
#else
#define VESK_PYTHON_VERSION ""
#define VESK_PYBIND11_VERSION ""
#endif

namespace {

// One entry per library linked into the program: name, version, licence.
QString credits()
{
    const libusb_version *usb = libusb_get_version();
    const QString usbVersion = QString("%1.%2.%3").arg(usb->major).arg(usb->minor).arg(usb->micro);
    const struct {
        QString name;
        QString version;
        QString licence;
    } libraries[] = {
        {"Qt", QT_VERSION_STR, "GNU LGPL 3.0"},
        {"QCustomPlot", QCUSTOMPLOT_VERSION_STR, "GNU GPL 3.0"},
        {"libusb-1.0", usbVersion, "GNU LGPL 2.1"},
        {"CPython", VESK_PYTHON_VERSION, "PSF License 2.0"},
        {"pybind11", VESK_PYBIND11_VERSION, "BSD 3-Clause License"},
    };

    QString html = "<html><head/><body><p>Copyright &copy; 2026 the Vesk developers</p><p>"
                   + QCoreApplication::translate("About", "Built with:");
    for (const auto &library : libraries) {
        html += "<br/>" + library.name.toHtmlEscaped();
        if (!library.version.isEmpty())
            html += " " + library.version.toHtmlEscaped();
        html += " (" + library.licence.toHtmlEscaped() + ")";
    }
    return html + "</p></body></html>";
}

} // namespace

About::About(QWidget *parent, GlobalOptions *options)
    : QDialog(parent)
    , ui(new Ui_About)
{
    ui->setupUi(this);

    setWindowTitle(QCoreApplication::applicationName() + " - " + tr("About"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    ui->labelVersion->setText(tr("version:") + " " + QCoreApplication::applicationVersion() + "."
                              + compilationTime() + " " + tr("with Qt %1").arg(QT_VERSION_STR));
    ui->labelAuthor->setText(credits());

    QFile licence(":/license/COPYING");
    if (licence.open(QIODevice::ReadOnly | QIODevice::Text))
        ui->plainTextEditLicenseText->setPlainText(QString::fromUtf8(licence.readAll()));
    else
        qWarning("About: the licence text is missing from the resources");

    const float scaleX = options ? options->scaleX : 1.0f;
    const float scaleY = options ? options->scaleY : 1.0f;
    // A larger minimum grows the dialog first; the resize then scales that size.
    setMinimumSize(int(minimumWidth() * scaleX), int(minimumHeight() * scaleY));
    resize(int(width() * scaleX), int(height() * scaleY));
}

About::~About()
{
    delete ui;
}

void About::closeForm()
{
    ui->buttonBox->button(QDialogButtonBox::Close)->click();
}
