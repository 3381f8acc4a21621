#include "casosmp3.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>

#include "medida.h"
#include "mp3info/etiquetas.h"
#include "mp3info/infomp3.h"
#include "support/etiquetasprueba.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

namespace {

struct Fuente {
    QStringList opciones;
    int frecuencia;
    int canales;
};

QByteArray Be32(quint32 v, bool syncsafe)
{
    QByteArray b(4, '\0');
    for (int i = 3; i >= 0; --i) {
        b[i] = char(syncsafe ? (v & 0x7F) : (v & 0xFF));
        v >>= syncsafe ? 7 : 8;
    }
    return b;
}

// A well-formed ID3v2 tag with a title and a picture of `bytesImagen` random bytes.
QByteArray Id3v2(QRandomGenerator& azar, int bytesImagen, int version, bool pie)
{
    const bool v4 = version == 4;
    auto marco = [v4](const char* id, const QByteArray& datos) {
        return QByteArray(id) + Be32(quint32(datos.size()), v4) + QByteArray(2, '\0') + datos;
    };
    QByteArray imagen(bytesImagen, '\0');
    for (char& c : imagen)
        c = char(azar.bounded(256));
    QByteArray cuerpo = marco("TIT2", QByteArray(1, '\0') + "Una cancion");
    cuerpo += marco("APIC", QByteArray(1, '\0') + "image/jpeg" + '\0' + char(3) + '\0' + imagen);
    if (!pie)
        cuerpo += QByteArray(azar.bounded(2048), '\0');
    QByteArray cabecera = QByteArray("ID3") + char(version) + char(0) + char(pie ? 0x10 : 0) +
                          Be32(quint32(cuerpo.size()), true);
    QByteArray tag = cabecera + cuerpo;
    if (pie)
        tag += QByteArray("3DI") + cabecera.mid(3);
    return tag;
}

QByteArray Id3v1()
{
    return QByteArray("TAG") + QByteArray("Titulo").leftJustified(30) + QByteArray("Autor").leftJustified(30) +
           QByteArray("Disco").leftJustified(30) + "2000" + QByteArray(30, ' ') + char(12);
}

qint64 SegundosTagLib(const QString& ruta)
{
    TagLib::MPEG::File f(QFile::encodeName(ruta).constData());
    if (!f.isValid() || !f.audioProperties())
        return 0;
    return f.audioProperties()->lengthInMilliseconds() / 1000;
}

struct Base {
    QByteArray datos;
    qint64 segundos;
    ClaseMp3 clase;
};

// Whole seconds of the frames a full decode finds; -1 when it cannot tell.
qint64 SegundosDecodificados(const QString& ruta)
{
    int frecuencia = 0;
    const qint64 tramas = TramasDecodificadas(ruta, &frecuencia);
    return tramas >= 0 && frecuencia > 0 ? tramas * (frecuencia >= 32000 ? 1152 : 576) / frecuencia : -1;
}

QList<Base> Codifica(const QString& carpeta, const QList<Fuente>& fuentes, int desde = 0)
{
    QList<Base> bases;
    for (int i = 0; i < fuentes.size(); ++i) {
        // Lengths a few tenths past the second, clear of the encoder's end padding.
        const double segundos = 2 + ((i + desde) * 5) % 11 + 0.2 + 0.03 * (((i + desde) * 7) % 10);
        const Fuente& f = fuentes[i];
        const QString r = CreaMp3(carpeta + QStringLiteral("/fuente%1.mp3").arg(i + desde), segundos, f.opciones,
                                  f.frecuencia, f.canales);
        if (r.isEmpty())
            return {};
        const qint64 decodificados = SegundosDecodificados(r);
        const bool sinCabecera = f.opciones.contains(QStringLiteral("-t"));
        const bool vbr = f.opciones.contains(QStringLiteral("-V"));
        bases.append({LeeFichero(r), decodificados >= 0 ? decodificados : qint64(std::floor(segundos)),
                      !sinCabecera ? ClaseMp3::ConCabecera
                      : vbr        ? ClaseMp3::VbrSinCabecera
                                   : ClaseMp3::CbrSinCabecera});
        QFile::remove(r);
    }
    return bases;
}

const QList<Fuente>& FuentesVbrSinCabecera()
{
    static const QList<Fuente> f{
        {{"-t", "-V", "0"}, 44100, 2}, {{"-t", "-V", "2"}, 44100, 2}, {{"-t", "-V", "4"}, 48000, 2},
        {{"-t", "-V", "6"}, 44100, 2}, {{"-t", "-V", "9"}, 32000, 1}, {{"-t", "-V", "5"}, 22050, 2},
        {{"-t", "-V", "7"}, 8000, 1},  {{"-t", "-p", "-V", "3"}, 44100, 2},
    };
    return f;
}

}  // namespace

QList<CasoMp3> CreaCasosMp3(const QString& carpeta, int total)
{
    QRandomGenerator azar(5000);
    const QList<Fuente> fuentes{
        {{"-b", "32"}, 44100, 2},          {{"-b", "64"}, 44100, 2},        {{"-b", "96"}, 44100, 2},
        {{"-b", "128"}, 44100, 2},         {{"-b", "192"}, 44100, 2},       {{"-b", "256"}, 44100, 2},
        {{"-b", "320"}, 48000, 2},         {{"-t", "-b", "48"}, 44100, 2},  {{"-t", "-b", "112"}, 44100, 2},
        {{"-t", "-b", "160"}, 32000, 2},   {{"-t", "-b", "224"}, 44100, 2}, {{"-V", "0"}, 44100, 2},
        {{"-V", "2"}, 44100, 2},           {{"-V", "4"}, 44100, 2},         {{"-V", "6"}, 48000, 2},
        {{"-V", "9"}, 44100, 2},           {{"--abr", "96"}, 44100, 2},     {{"--abr", "192"}, 44100, 2},
        {{"-b", "64"}, 22050, 2},          {{"-V", "5"}, 24000, 2},         {{"-t", "-b", "32"}, 16000, 1},
        {{"-b", "24"}, 11025, 1},          {{"-V", "7"}, 8000, 1},          {{"-b", "96"}, 44100, 1},
        {{"-p", "-t", "-b", "128"}, 44100, 2}, {{"-p", "-V", "3"}, 44100, 2},
    };
    const QList<Base> bases = Codifica(carpeta, fuentes);
    const QList<Base> vbr = Codifica(carpeta, FuentesVbrSinCabecera(), int(fuentes.size()));
    if (bases.isEmpty() || vbr.isEmpty())
        return {};

    QList<CasoMp3> casos;
    for (int i = 0; i < total; ++i) {
        // One in five is VBR that only its frames can measure.
        const Base& b = i % 5 == 4 ? vbr[(i / 5) % vbr.size()] : bases[(i - i / 5) % bases.size()];
        ClaseMp3 clase = b.clase;
        QByteArray d;
        qint64 segundos = b.segundos;
        switch (azar.bounded(20)) {
        case 0: {  // not audio at all
            d.resize(azar.bounded(2000, 60000));
            for (char& c : d)
                c = char(azar.bounded(256));
            segundos = 0;
            clase = ClaseMp3::NoAudio;
            break;
        }
        case 1: case 2: d = Id3v2(azar, azar.bounded(60000, 400000), 3, false) + b.datos + Id3v1(); break;
        case 3: d = Id3v2(azar, 3000, 4, true) + Id3v2(azar, 20000, 3, false) + b.datos; break;
        case 4: case 5: case 6: case 7: d = b.datos + Id3v1(); break;
        case 8: case 9: case 10: case 11: d = Id3v2(azar, azar.bounded(500, 8000), 3, false) + b.datos + Id3v1(); break;
        default: d = b.datos; break;
        }
        const QString ruta = EscribeFichero(carpeta + QStringLiteral("/f%1.mp3").arg(i, 5, 10, QLatin1Char('0')), d);
        casos.append({ruta, segundos, clase});
    }
    return casos;
}

// Processor time of this thread, ms: a machine shared with other work slows
// the wall clock of both readers alike, but not this.
double MsProceso()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

QList<CasoMp3> DeClase(const QList<CasoMp3>& casos, ClaseMp3 clase)
{
    QList<CasoMp3> r;
    for (const CasoMp3& c : casos)
        if (c.clase == clase)
            r << c;
    return r;
}

ComparacionLectores ComparaLectores(const QList<CasoMp3>& casos)
{
    ComparacionLectores r;
    r.propio.resize(casos.size());
    r.taglib.resize(casos.size());
    for (int pasada = 0; pasada < 2; ++pasada) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < casos.size(); ++i) {
            HP hp;
            DameInfoMp3(casos[i].ruta, hp);
            r.propio[i] = hp.tiempo;
        }
        r.msPropio = t.elapsed();
        t.restart();
        for (int i = 0; i < casos.size(); ++i)
            r.taglib[i] = SegundosTagLib(casos[i].ruta);
        r.msTagLib = t.elapsed();
    }
    for (int i = 0; i < casos.size(); ++i) {
        r.fallosPropio += r.propio[i] != casos[i].segundos;
        r.fallosTagLib += r.taglib[i] != casos[i].segundos;
    }
    return r;
}

QList<CasoMp3> CreaCasosVbrSinCabecera(const QString& carpeta, int total)
{
    QRandomGenerator azar(7000);
    const QList<Base> bases = Codifica(carpeta, FuentesVbrSinCabecera());
    if (bases.isEmpty())
        return {};
    QList<CasoMp3> casos;
    for (int i = 0; i < total; ++i) {
        const Base& b = bases[i % bases.size()];
        QByteArray d;
        switch (azar.bounded(4)) {
        case 0: d = Id3v2(azar, azar.bounded(500, 8000), 3, false) + b.datos + Id3v1(); break;
        case 1: d = b.datos + Id3v1(); break;
        default: d = b.datos; break;
        }
        const QString ruta = EscribeFichero(carpeta + QStringLiteral("/v%1.mp3").arg(i, 5, 10, QLatin1Char('0')), d);
        casos.append({ruta, b.segundos, b.clase});
    }
    return casos;
}

LecturaPropia MideDameInfoMp3(const QList<CasoMp3>& casos)
{
    LecturaPropia r;
    for (int pasada = 0; pasada < 2; ++pasada) {
        r.fallos = 0;
        const double t = MsProceso();
        for (const CasoMp3& c : casos) {
            HP hp;
            DameInfoMp3(c.ruta, hp);
            r.fallos += hp.tiempo != c.segundos;
        }
        r.ms = MsProceso() - t;
    }
    return r;
}

double MsLecturaMinima(const QList<CasoMp3>& casos)
{
    QList<QByteArray> nombres;
    for (const CasoMp3& c : casos)
        nombres << QFile::encodeName(c.ruta);
    char b[4096];
    qint64 leidos = 0;
    double ms = 0;
    for (int pasada = 0; pasada < 2; ++pasada) {
        const double t = MsProceso();
        for (const QByteArray& n : nombres) {
            const int fd = ::open(n.constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            struct stat st {};
            ::fstat(fd, &st);
            leidos += ::pread(fd, b, sizeof b, 0);
            leidos += ::pread(fd, b, sizeof b, qMax<off_t>(0, st.st_size - off_t(sizeof b)));
            ::close(fd);
        }
        ms = MsProceso() - t;
    }
    return leidos > 0 ? ms : -1;
}

ContraLecturaMinima ComparaConLecturaMinima(const QList<CasoMp3>& casos, int vueltas)
{
    QList<double> propio, minima;
    for (int i = 0; i < vueltas; ++i) {
        propio << MideDameInfoMp3(casos).ms;
        minima << MsLecturaMinima(casos);
    }
    return {Mediana(propio), Mediana(minima)};
}

QList<CasoMp3> CreaCasosVbrLargos(const QString& carpeta, double segundos, int total)
{
    QRandomGenerator azar(9000);
    const QList<Fuente> fuentes{{{"-t", "-V", "2"}, 44100, 2}, {{"-t", "-V", "5"}, 44100, 2},
                                {{"-t", "-V", "4"}, 48000, 2}, {{"-t", "-V", "6"}, 22050, 2}};
    QList<Base> bases;
    for (int i = 0; i < fuentes.size(); ++i) {
        const Fuente& f = fuentes[i];
        const QString r = CreaMp3(carpeta + QStringLiteral("/largo%1.mp3").arg(i), segundos, f.opciones, f.frecuencia,
                                  f.canales);
        if (r.isEmpty())
            return {};
        const qint64 s = SegundosDecodificados(r);
        bases.append({LeeFichero(r), s >= 0 ? s : qint64(std::floor(segundos)), ClaseMp3::VbrSinCabecera});
        QFile::remove(r);
    }
    QList<CasoMp3> casos;
    for (int i = 0; i < total; ++i) {
        const Base& b = bases[i % bases.size()];
        QByteArray d;
        switch (azar.bounded(4)) {
        case 0: d = Id3v2(azar, azar.bounded(500, 8000), 3, false) + b.datos + Id3v1(); break;
        case 1: d = b.datos + Id3v1(); break;
        default: d = b.datos; break;
        }
        const QString ruta =
            EscribeFichero(carpeta + QStringLiteral("/l%1_%2.mp3").arg(qint64(segundos)).arg(i, 4, 10, QLatin1Char('0')), d);
        casos.append({ruta, b.segundos, b.clase});
    }
    return casos;
}

double MsLecturaEntera(const QList<CasoMp3>& casos)
{
    QList<QByteArray> nombres;
    for (const CasoMp3& c : casos)
        nombres << QFile::encodeName(c.ruta);
    std::vector<char> b(1 << 20);
    qint64 leidos = 0;
    double ms = 0;
    for (int pasada = 0; pasada < 2; ++pasada) {
        const double t = MsProceso();
        for (const QByteArray& n : nombres) {
            const int fd = ::open(n.constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            struct stat st {};
            ::fstat(fd, &st);
            for (off_t pos = 0; pos < st.st_size;) {
                const ssize_t r = ::pread(fd, b.data(), b.size(), pos);
                if (r <= 0)
                    break;
                pos += r;
                leidos += r;
            }
            ::close(fd);
        }
        ms = MsProceso() - t;
    }
    return leidos > 0 ? ms : -1;
}

ContraLecturaMinima ComparaConLecturaEntera(const QList<CasoMp3>& casos, int vueltas)
{
    QList<double> propio, entera;
    for (int i = 0; i < vueltas; ++i) {
        propio << MideDameInfoMp3(casos).ms;
        entera << MsLecturaEntera(casos);
    }
    return {Mediana(propio), Mediana(entera)};
}

PortadaJpegPng MideEtiquetasConPortada(const QString& carpeta, int lado, int vueltas)
{
    // A picture with the detail a photograph has: smooth colour and grain.
    QImage imagen(lado, lado, QImage::Format_RGB32);
    QRandomGenerator azar(1500);
    for (int y = 0; y < lado; ++y) {
        auto* fila = reinterpret_cast<QRgb*>(imagen.scanLine(y));
        for (int x = 0; x < lado; ++x) {
            const int grano = azar.bounded(24);
            fila[x] = qRgb((x * 255 / lado + grano) % 256, (y * 255 / lado + grano) % 256, ((x + y) * 127 / lado + grano) % 256);
        }
    }
    const QByteArray audio = LeeFichero(CreaMp3(carpeta + QStringLiteral("/portada_audio.mp3"), 30, {"-b", "128"}));
    QStringList rutas;
    for (const char* formato : {"JPEG", "PNG"}) {
        QByteArray bytes;
        QBuffer b(&bytes);
        b.open(QIODevice::WriteOnly);
        imagen.save(&b, formato, formato == QByteArrayView("JPEG") ? 90 : -1);
        rutas << CreaMp3Etiquetado(carpeta + QStringLiteral("/portada_%1.mp3").arg(QLatin1String(formato)), audio,
                                   ClaseEtiqueta::Id3v24,
                                   {"Coro Añil", "Álbum del Ñandú", "", "Canción de cuna", 1, bytes, ""});
    }
    QList<double> jpeg, png;
    for (int i = 0; i < vueltas; ++i) {
        for (int k = 0; k < 2; ++k) {
            EtiquetasFichero e;
            const double s = Mide([&] { LeeEtiquetas(rutas[k], e); });
            (k == 0 ? jpeg : png) << s * 1000;
        }
    }
    return {Mediana(jpeg), Mediana(png), QFileInfo(rutas[0]).size(), QFileInfo(rutas[1]).size()};
}
