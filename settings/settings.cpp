#include "settings.h"
#include "ui_settings.h"

#include "globalsettings.h"
#include "multimeterdisplaysettings.h"
#include "optionsmetatypes.h"
#include "pythonconsolesettings.h"
#include "scopesettings.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSignalBlocker>
#include <QVBoxLayout>

Settings::Settings(QWidget *parent, QMap<QString, QVariant *> *options, const QString &item)
    : QDialog(parent)
    , ui(new Ui::Settings)
{
    ui->setupUi(this);
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral(" - ") + tr("Settings"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    {
        // The start row is chosen once every page is in place.
        const QSignalBlocker blocker(ui->listWidget);
        pythonConsoleSettings = addPage<PythonConsoleOptions, PythonConsoleSettings>(
            options, QStringLiteral("PythonConsoleOptions"));
        scopeSettings = addPage<ScopeOptions, ScopeSettings>(options, QStringLiteral("ScopeOptions"));
        multimeterDisplaySettings = addPage<MultimeterDisplayOptions, MultimeterDisplaySettings>(
            options, QStringLiteral("MultimeterDisplayOptions"));
        globalSettings = addPage<GlobalOptions, GlobalSettings>(options, QStringLiteral("GlobalOptions"));
    }

    if (ui->listWidget->count() > 0)
        ui->listWidget->setCurrentRow(qMax(0, pageNames.indexOf(item)));
}

Settings::~Settings()
{
    delete ui;
}

// Appends the page of the options held under key, in a container of its own
// so that list row k shows stack page k. Options missing from the map get
// no page rather than a page editing nothing.
template<typename OptionsType, typename PageType>
PageType *Settings::addPage(QMap<QString, QVariant *> *options, const QString &key)
{
    QVariant *variant = options ? options->value(key) : nullptr;
    OptionsType *object = variant ? variant->value<OptionsType *>() : nullptr;
    if (!object) {
        qWarning().noquote() << "Settings: no options under" << key << "- its page is left out";
        return nullptr;
    }
    auto *container = new QWidget;
    auto *layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    ui->stackedWidget->addWidget(container);
    auto *page = new PageType(container, object);
    layout->addWidget(page);
    ui->listWidget->addItem(new QListWidgetItem(object->getIcon(), object->getCommonName()));
    pageNames << object->getName();
    return page;
}

void Settings::on_listWidget_itemSelectionChanged()
{
    ui->stackedWidget->setCurrentIndex(ui->listWidget->currentRow());
    if (const QListWidgetItem *current = ui->listWidget->currentItem())
        ui->labelConfigurationName->setText(current->text());
}

// The global page has nothing to copy.
void Settings::on_pushButtonApply_clicked()
{
    if (pythonConsoleSettings)
        pythonConsoleSettings->applyOptions();
    if (scopeSettings)
        scopeSettings->applyOptions();
    if (multimeterDisplaySettings)
        multimeterDisplaySettings->applyOptions();
    emit applyRequest();
}

void Settings::on_pushButtonOk_clicked()
{
    on_pushButtonApply_clicked();
    accept();
}

void Settings::on_pushButtonCancel_clicked()
{
    reject();
}
