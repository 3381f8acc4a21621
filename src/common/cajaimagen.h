#pragma once
#include <QLabel>

// A picture box that reports clicks: a click on the first press and a double
// click on the second, so a double click is a click followed by a double click.
class CajaImagen : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void Click();
    void DobleClick();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
};
