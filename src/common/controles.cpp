#include "common/controles.h"

void ComboImagen::showPopup()
{
    emit DropDown();
    QComboBox::showPopup();
}

QTreeWidget* Arbol(QWidget* padre, const char* nombre, const QString& ayuda)
{
    auto* t = Control<QTreeWidget>(padre, nombre, QString(), ayuda);
    t->setHeaderHidden(true);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return t;
}

QTreeWidget* Informe(QWidget* padre, const char* nombre, const QString& ayuda)
{
    auto* t = Control<QTreeWidget>(padre, nombre, QString(), ayuda);
    t->setRootIsDecorated(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setUniformRowHeights(true);
    return t;
}

QLabel* Ayuda(QWidget* padre, const char* nombre)
{
    auto* l = Control<QLabel>(padre, nombre);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    QFont f = l->font();
    f.setPointSize(8);
    l->setFont(f);
    return l;
}
