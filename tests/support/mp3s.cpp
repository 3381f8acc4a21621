#include "support/mp3s.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QtEndian>
#include <cmath>

#include "support/testsupport.h"

namespace {
QByteArray wav(double segundos, int sampleRate, int canales)
{
    const qint64 muestras = qint64(std::llround(segundos * sampleRate));
    const qint64 bytesDatos = muestras * canales * 2;
    QByteArray d;
    d.reserve(int(44 + bytesDatos));
    auto u32 = [&d](quint32 v) { char b[4]; qToLittleEndian(v, b); d.append(b, 4); };
    auto u16 = [&d](quint16 v) { char b[2]; qToLittleEndian(v, b); d.append(b, 2); };
    d.append("RIFF");
    u32(quint32(36 + bytesDatos));
    d.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(quint16(canales));
    u32(quint32(sampleRate));
    u32(quint32(sampleRate * canales * 2));
    u16(quint16(canales * 2));
    u16(16);
    d.append("data");
    u32(quint32(bytesDatos));
    for (qint64 i = 0; i < muestras; ++i) {
        const double t = double(i) / sampleRate;
        const qint16 v = qint16(8000 * std::sin(2 * M_PI * 440 * t) + 3000 * std::sin(2 * M_PI * 1234 * t));
        for (int c = 0; c < canales; ++c)
            u16(quint16(v));
    }
    return d;
}
}  // namespace

QString CreaMp3(const QString& ruta, double segundos, const QStringList& extra, int sampleRate, int canales)
{
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    const QString temporal = ruta + QStringLiteral(".wav");
    EscribeFichero(temporal, wav(segundos, sampleRate, canales));
    QProcess lame;
    lame.start(QStringLiteral("lame"), QStringList{QStringLiteral("--quiet")} + extra + QStringList{temporal, ruta});
    const bool ok = lame.waitForFinished(120000) && lame.exitStatus() == QProcess::NormalExit && lame.exitCode() == 0;
    QFile::remove(temporal);
    return ok ? ruta : QString();
}

qint64 TramasDecodificadas(const QString& ruta, int* frecuencia)
{
    QProcess p;
    p.start(QStringLiteral("ffprobe"), {"-v", "error", "-count_frames", "-select_streams", "a:0", "-show_entries",
                                        "stream=sample_rate,nb_read_frames", "-of", "default=nw=1:nk=1", ruta});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return -1;
    const QStringList v = QString::fromLatin1(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    bool ok = false;
    const qint64 n = v.value(1).toLongLong(&ok);
    if (frecuencia)
        *frecuencia = v.value(0).toInt();
    return v.size() == 2 && ok ? n : -1;
}

QString CreaImagen(const QString& ruta, int ancho, int alto)
{
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QImage img(ancho, alto, QImage::Format_RGB32);
    img.fill(QColor(200, 80, 40));
    if (QFileInfo(ruta).suffix().toLower() == QLatin1String("gif")) {
        // Qt reads GIF but does not write it: a 1 x 1 red picture, byte by byte.
        static const char gif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                                  ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
        EscribeFichero(ruta, QByteArray(gif, sizeof(gif) - 1));
        return ruta;
    }
    return img.save(ruta, "JPG") ? ruta : QString();
}
