#include "cdprueba.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "common/rutas.h"
#include "support/mp3s.h"

bool CreaModelosCd(const QString& carpeta, QString& mp3, QString& portada)
{
    mp3 = CreaMp3(QDir(carpeta).filePath(QStringLiteral("modelo.mp3")), 3.2);
    portada = QDir(carpeta).filePath(QStringLiteral("modelo.jpg"));
    QImage img(300, 300, QImage::Format_RGB32);
    img.fill(Qt::darkRed);
    return !mp3.isEmpty() && img.save(portada, "JPG");
}

QList<AlbumPrueba> CreaCdPrueba(const QString& base, const QString& mp3, const QString& portada, const QString& marca)
{
    QList<AlbumPrueba> cd;
    for (int d = 0; d < kDiscosCdPrueba; ++d) {
        AlbumPrueba a;
        a.autor = marca.isEmpty() ? QStringLiteral("Grupo %1").arg(d / 2 + 1)
                                  : QStringLiteral("Grupo %1 %2").arg(d / 2 + 1).arg(marca);
        a.disco = QStringLiteral("Disco %1").arg(d + 1);
        a.carpeta = a.autor + QLatin1Char('\\') + a.disco + QLatin1Char('\\');
        QDir().mkpath(rutas::Nativa(base, a.carpeta));
        for (int c = 1; c <= kCancionesPorDiscoPrueba; ++c) {
            const QString texto =
                a.carpeta + QStringLiteral("%1-Cancion %2 de %3.mp3").arg(c, 2, 10, QLatin1Char('0')).arg(c).arg(d + 1);
            const QString ruta = rutas::Nativa(base, texto);
            if (!QFileInfo::exists(ruta))
                QFile::copy(mp3, ruta);
            a.canciones << texto;
        }
        a.portada = a.carpeta + QStringLiteral("cover.jpg");
        const QString ruta = rutas::Nativa(base, a.portada);
        if (!QFileInfo::exists(ruta))
            QFile::copy(portada, ruta);
        cd << a;
    }
    return cd;
}
