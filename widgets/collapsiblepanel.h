#ifndef COLLAPSIBLEPANEL_H
#define COLLAPSIBLEPANEL_H

#include <QIcon>
#include <QSize>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QSpacerItem;
class QToolButton;

// Header bar of a foldable section: fold toggle, optional check box, title
// and a right-hand summary text. It only announces its states; the owner
// shows or hides the section's content on collapsedChanged.
class CollapsiblePanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(bool checkable READ isCheckable WRITE setCheckable)
    Q_PROPERTY(bool checked READ isChecked WRITE setChecked NOTIFY checkedChanged)
    Q_PROPERTY(QIcon icon READ icon WRITE setIcon)
    Q_PROPERTY(QSize iconSize READ iconSize WRITE setIconSize)
    Q_PROPERTY(bool collapsed READ isCollapsed WRITE setCollapsed NOTIFY collapsedChanged)
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit CollapsiblePanel(QWidget *parent = nullptr);

    void setCollapsed(bool collapsed);
    bool isCollapsed() const;
    // Re-announces the current fold state. It hides QWidget::update(), so
    // repaints from inside this class must name QWidget::update().
    void update();

    void setChecked(bool checked);
    bool isChecked() const;
    void setCheckable(bool checkable);
    bool isCheckable() const;

    void setIcon(const QIcon &icon);
    QIcon icon() const;
    void setIconSize(const QSize &size);
    QSize iconSize() const;

    void setTitle(const QString &title);
    QString title() const;
    void setText(const QString &text);
    QString text() const;
    void setTextVisible(bool visible);

    void setCollapsiblePanelArrow(bool collapsed);

signals:
    void checkedChanged(bool checked);
    void collapsedChanged(bool collapsed);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // A null icon shows an arrow that follows the fold state; any other icon
    // replaces the arrow (its On image shows while expanded).
    void setCollapsiblePanelIcon(const QIcon &icon);
    void toggleButtonChanged();

    bool textVisible;
    QToolButton *toggleButton;
    QCheckBox *checkBox;
    QLabel *titleLabel;
    QSpacerItem *spacer;
    QLabel *textLabel;
};

#endif // COLLAPSIBLEPANEL_H
