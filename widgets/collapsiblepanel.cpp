#include "collapsiblepanel.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSpacerItem>
#include <QStyleOption>
#include <QToolButton>

CollapsiblePanel::CollapsiblePanel(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    toggleButton = new QToolButton(this);
    toggleButton->setObjectName("__qt__passive_toggleButton");
    toggleButton->setStyleSheet("QToolButton {border: none; background-color: rgba(255, 255, 255, 0);}");
    setCollapsiblePanelIcon(QIcon());
    toggleButton->setCheckable(true);
    toggleButton->setChecked(false);
    toggleButton->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    toggleButton->setAttribute(Qt::WA_TranslucentBackground);
    toggleButton->setContentsMargins(0, 0, 0, 0);

    checkBox = new QCheckBox(this);
    checkBox->setObjectName("__qt__passive_comboBox");
    checkBox->setText(QString());
    checkBox->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    checkBox->setAttribute(Qt::WA_TranslucentBackground);
    checkBox->setLayoutDirection(Qt::RightToLeft);
    // No background rule: the style draws the indicator's frame and fill in
    // the background colour, so a transparent one would hide the box.
    checkBox->setStyleSheet("QCheckBox {border: none;}");

    titleLabel = new QLabel(this);
    titleLabel->setObjectName("__qt__passive_label");
    titleLabel->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    titleLabel->setAttribute(Qt::WA_TranslucentBackground);
    titleLabel->setLineWidth(0);

    textLabel = new QLabel(this);
    textLabel->setObjectName("__qt__passive_text");
    textLabel->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    textLabel->setAttribute(Qt::WA_TranslucentBackground);
    textLabel->setLineWidth(0);
    textVisible = true;
    textLabel->show();

    spacer = new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toggleButton, 0, Qt::AlignLeft);
    layout->addWidget(checkBox, 0, Qt::AlignLeft);
    layout->addWidget(titleLabel, 0, Qt::AlignLeft);
    layout->addSpacerItem(spacer);
    layout->addWidget(textLabel, 0, Qt::AlignLeft);

    connect(checkBox, &QCheckBox::clicked, this, &CollapsiblePanel::setChecked);
    connect(toggleButton, &QToolButton::clicked, this, &CollapsiblePanel::toggleButtonChanged);
}

void CollapsiblePanel::setCollapsed(bool collapsed)
{
    toggleButton->setChecked(!collapsed);
    setCollapsiblePanelIcon(toggleButton->icon());
    emit collapsedChanged(collapsed);
}

bool CollapsiblePanel::isCollapsed() const
{
    return !toggleButton->isChecked();
}

void CollapsiblePanel::update()
{
    setCollapsed(!toggleButton->isChecked());
}

void CollapsiblePanel::setChecked(bool checked)
{
    checkBox->setChecked(checked);
    // A non-checkable box refuses the change: announce what it really holds.
    emit checkedChanged(checkBox->isChecked());
}

bool CollapsiblePanel::isChecked() const
{
    return checkBox->isChecked();
}

void CollapsiblePanel::setCheckable(bool checkable)
{
    const bool wasChecked = checkBox->isChecked();
    checkBox->setCheckable(checkable);
    checkBox->setVisible(checkable);
    // A check box that stops being checkable drops its checked state; tell
    // the listeners rather than leave them with a state nobody holds.
    if (wasChecked && !checkBox->isChecked())
        emit checkedChanged(false);
}

bool CollapsiblePanel::isCheckable() const
{
    return checkBox->isCheckable();
}

void CollapsiblePanel::setIcon(const QIcon &icon)
{
    setCollapsiblePanelIcon(icon);
}

QIcon CollapsiblePanel::icon() const
{
    return toggleButton->icon();
}

void CollapsiblePanel::setIconSize(const QSize &size)
{
    toggleButton->setIconSize(size);
}

QSize CollapsiblePanel::iconSize() const
{
    return toggleButton->iconSize();
}

void CollapsiblePanel::setTitle(const QString &title)
{
    titleLabel->setText(title);
}

QString CollapsiblePanel::title() const
{
    return titleLabel->text();
}

void CollapsiblePanel::setText(const QString &text)
{
    textLabel->setText(text);
}

QString CollapsiblePanel::text() const
{
    return textLabel->text();
}

void CollapsiblePanel::setTextVisible(bool visible)
{
    textVisible = visible;
    textLabel->setVisible(visible);
}

void CollapsiblePanel::setCollapsiblePanelArrow(bool collapsed)
{
    toggleButton->setArrowType(collapsed ? Qt::DownArrow : Qt::UpArrow);
}

void CollapsiblePanel::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void CollapsiblePanel::changeEvent(QEvent *event)
{
    // A style sheet on a window above a panel that has its own style sheet
    // leaves the labels with a font of their own, which then no longer
    // follows the panel's (a bold header would show a plain title). Handing
    // the panel's font on keeps them in step.
    if (event->type() == QEvent::FontChange) {
        titleLabel->setFont(font());
        textLabel->setFont(font());
    }
    QWidget::changeEvent(event);
}

void CollapsiblePanel::setCollapsiblePanelIcon(const QIcon &icon)
{
    if (icon.isNull())
        toggleButton->setArrowType(toggleButton->isChecked() ? Qt::UpArrow : Qt::DownArrow);
    else
        toggleButton->setArrowType(Qt::NoArrow);
    toggleButton->setIcon(icon);
}

void CollapsiblePanel::toggleButtonChanged()
{
    update();
}
