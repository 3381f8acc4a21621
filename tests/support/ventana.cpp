#include "support/ventana.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTreeView>
#include <QUrl>
#include <QtTest>

#include "main_window/frmVaro.h"

void Suelta(frmVaro& w, const QStringList& rutas)
{
    QMimeData datos;
    QList<QUrl> urls;
    for (const QString& r : rutas)
        urls << QUrl::fromLocalFile(r);
    datos.setUrls(urls);
    QWidget* lista = Hijo<QTreeView>(w, "lstVBusca")->viewport();
    QDragEnterEvent entra(QPoint(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(lista, &entra);
    QDropEvent suelta(QPointF(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(lista, &suelta);
}

QStringList Mostrados(frmVaro& w)
{
    QAbstractItemModel* m = Hijo<QTreeView>(w, "lstVBusca")->model();
    QStringList r;
    for (int i = 0; i < m->rowCount(); ++i)
        r << m->index(i, 0).data().toString();
    return r;
}

void Pulsa(frmVaro& w, const char* boton) { QTest::mouseClick(Hijo<QPushButton>(w, boton), Qt::LeftButton); }

void AjustesEn(const QString& carpeta)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta);
}
