#include "common/cajaimagen.h"

void CajaImagen::mousePressEvent(QMouseEvent* e)
{
    QLabel::mousePressEvent(e);
    emit Click();
}

void CajaImagen::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLabel::mouseDoubleClickEvent(e);
    emit DobleClick();
}
