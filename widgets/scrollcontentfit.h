#ifndef SCROLLCONTENTFIT_H
#define SCROLLCONTENTFIT_H

#include <QObject>

class QScrollArea;

// Keeps a resizable scroll area from squeezing its content. A form's widgets
// may carry minimum heights below what they show, so a content laid out at
// its minimum height cuts them; once the viewport is shorter than the floor
// the content takes the height its size hint asks for and scrolls. Above the
// floor the content fills the viewport as the scroll area lays it out.
class ScrollContentFit : public QObject
{
    Q_OBJECT

public:
    enum class Floor {
        Minimum,  // the content's minimum size hint: it fills the viewport down to that
        SizeHint, // the content's size hint: it is never shorter
    };

    // Fits the scroll area's content for as long as the scroll area lives.
    static void install(QScrollArea *area, Floor floor);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ScrollContentFit(QScrollArea *area, Floor floor);
    void fit();

    QScrollArea *area;
    Floor floor;
};

#endif // SCROLLCONTENTFIT_H
