#ifndef DOCKSCROLLAREA_H
#define DOCKSCROLLAREA_H

#include <QScrollArea>

// Holds a dock's content. Where the dock has the room the content asks for,
// the content fills it as if it were the dock's widget itself: no frame, no
// scroll bar, and the dock asks for the content's whole size (a plain scroll
// area would ask for no more than a few dozen lines of text). Given less
// room, the content keeps its minimum size and scrolls.
class DockScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit DockScrollArea(QWidget *content, QWidget *parent = nullptr);

    QSize sizeHint() const override;
};

#endif // DOCKSCROLLAREA_H
