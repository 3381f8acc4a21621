#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString EscribeFichero(const QString& ruta, const QByteArray& contenido)
{
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly))
        f.write(contenido);
    return ruta;
}

QByteArray LeeFichero(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
