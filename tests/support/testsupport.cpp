#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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

QString FicheroSinAudio()
{
    static QTemporaryDir dir;
    static const QString ruta = EscribeFichero(dir.filePath(QStringLiteral("sin audio.mp3")), QByteArray(4000, '\0'));
    return ruta;
}
