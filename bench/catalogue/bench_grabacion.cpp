// Time of "Graba" for a CD of 1,000 songs (100 discs of 10 songs, one cover
// each) into an empty catalogue and into one holding 200,000 songs.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "catalogue/catalogo.h"
#include "catalogue/grabacion.h"
#include "common/lodrinerror.h"
#include "common/rutas.h"
#include "main_window/listatrabajo.h"

namespace {

constexpr int kDiscos = 100;
constexpr int kPorDisco = 10;

// Three seconds of silence through the encoder.
QString HazMp3(const QString& carpeta)
{
    const QString wav = QDir(carpeta).filePath(QStringLiteral("s.wav"));
    const QString mp3 = QDir(carpeta).filePath(QStringLiteral("s.mp3"));
    const quint32 datos = 44100 * 2 * 2 * 3;
    QByteArray d("RIFF");
    auto u32 = [&d](quint32 v) { char b[4]; qToLittleEndian(v, b); d.append(b, 4); };
    auto u16 = [&d](quint16 v) { char b[2]; qToLittleEndian(v, b); d.append(b, 2); };
    u32(36 + datos);
    d.append("WAVEfmt ");
    u32(16); u16(1); u16(2); u32(44100); u32(44100 * 4); u16(4); u16(16);
    d.append("data");
    u32(datos);
    d.append(QByteArray(int(datos), '\0'));
    QFile f(wav);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(d);
    f.close();
    QProcess lame;
    lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), wav, mp3});
    return lame.waitForFinished(60000) && lame.exitCode() == 0 ? mp3 : QString();
}

// An explored and analysed CD: a folder row, ten songs and a cover per disc.
ListaTrabajo HazCd(const QString& base, const QString& mp3, const QString& cover, const QString& marca)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    for (int d = 0; d < kDiscos; ++d) {
        const QString autor = QStringLiteral("Autor %1 %2").arg(d / 2).arg(marca);
        const QString disco = QStringLiteral("Disco %1").arg(d);
        const QString carpeta = QStringLiteral("%1 - %2\\").arg(autor, disco);
        QDir().mkpath(rutas::Nativa(base, carpeta));
        int i = l.Anade(carpeta, rutas::Nativa(base, carpeta), QStringLiteral("#"), QStringLiteral("abierta"));
        l.PonSubItem(i, columna::kAutor, autor);
        l.PonSubItem(i, columna::kDisco, disco);
        for (int c = 1; c <= kPorDisco; ++c) {
            const QString texto = carpeta + QStringLiteral("%1 - Cancion %2.mp3").arg(c, 2, 10, QLatin1Char('0')).arg(c);
            const QString ruta = rutas::Nativa(base, texto);
            if (!QFileInfo::exists(ruta))
                QFile::copy(mp3, ruta);
            i = l.Anade(texto, ruta, QStringLiteral("f"), QStringLiteral("mp3"));
            l.PonSubItem(i, columna::kAutor, autor);
            l.PonSubItem(i, columna::kDisco, disco);
            l.PonSubItem(i, columna::kCancion, QStringLiteral("Cancion %1 de %2").arg(c).arg(d));
            l.PonSubItem(i, columna::kPosicion, QStringLiteral("%1").arg(c, 2, 10, QLatin1Char('0')));
            l.PonSubItem(i, columna::kMascara, QStringLiteral("a - d\\p - c"));
        }
        const QString texto = carpeta + QStringLiteral("cover.jpg");
        const QString ruta = rutas::Nativa(base, texto);
        if (!QFileInfo::exists(ruta))
            QFile::copy(cover, ruta);
        i = l.Anade(texto, ruta, QStringLiteral("p"), QStringLiteral("img"));
        l.PonSubItem(i, columna::kAutor, autor);
        l.PonSubItem(i, columna::kDisco, disco);
        for (int k = columna::kCancion; k <= columna::kMascara; ++k)
            l.PonSubItem(i, k, QString());
    }
    return l;
}

// Fills a catalogue with 200,000 songs: 4,000 authors, 20,000 discs, 200 CDs.
void Llena(Catalogo& bd)
{
    QSqlDatabase db = bd.db();
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("insert into tlautor (dsautor, dsautor_std, intautor) values (?, ?, 0)"));
    for (int a = 1; a <= 4000; ++a) {
        q.addBindValue(QStringLiteral("Grupo %1").arg(a));
        q.addBindValue(QStringLiteral("GRUPO%1").arg(a));
        q.exec();
    }
    q.prepare(QStringLiteral("insert into tldisco (dsdisco, dsdisco_std, cdautord) values (?, ?, ?)"));
    for (int d = 1; d <= 20000; ++d) {
        q.addBindValue(QStringLiteral("Album %1").arg(d));
        q.addBindValue(QStringLiteral("ALBUM%1").arg(d));
        q.addBindValue((d - 1) / 5 + 1);
        q.exec();
    }
    q.prepare(QStringLiteral("insert into tlcd (dscd, sercd, lotienecd, dtcd) values (?, 'ABCD-0000', ' ', DATE())"));
    for (int c = 1; c <= 200; ++c) {
        q.addBindValue(QStringLiteral("Viejo %1").arg(c));
        q.exec();
    }
    q.prepare(QStringLiteral("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios,"
                             " wntime) values (?, ?, ?, ?, ?, ?, 0, 200)"));
    for (int s = 0; s < 200000; ++s) {
        const int disco = s / 10 + 1;
        q.addBindValue(QStringLiteral("Tema %1").arg(s % 10 + 1));
        q.addBindValue(disco / 100 + 1);
        q.addBindValue(disco);
        q.addBindValue((disco - 1) / 5 + 1);
        q.addBindValue(s % 10 + 1);
        q.addBindValue(QStringLiteral("Album %1\\%2.mp3").arg(disco).arg(s % 10 + 1));
        q.exec();
    }
    db.commit();
}

// Processor time of the whole process, to tell work from waiting on the
// disk, which other programs on the machine share.
double Cpu()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

QList<double> cpu;

double Graba(Catalogo& bd, const ListaTrabajo& lista, const QString& descripcion, const QString& dirPrograma)
{
    DatosGrabacion d;
    d.descripcion = descripcion;
    d.serial = QStringLiteral("1234-ABCD");
    d.dirPrograma = dirPrograma;
    QElapsedTimer t;
    const double c0 = Cpu();
    t.start();
    GrabaCD(bd, lista, d);
    cpu << Cpu() - c0;
    return t.nsecsElapsed() / 1e9;
}

double Mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        QTemporaryDir dir;
        const QString mp3 = HazMp3(dir.path());
        if (mp3.isEmpty()) {
            std::fprintf(stderr, "lame failed\n");
            return 1;
        }
        const QString cover = QDir(dir.path()).filePath(QStringLiteral("cover.jpg"));
        QImage img(300, 300, QImage::Format_RGB32);
        img.fill(Qt::darkRed);
        img.save(cover, "JPG");

        constexpr int kVueltas = 5;
        QList<double> vacio, lleno;
        for (int v = 0; v < kVueltas; ++v) {
            const QString prog = QDir(dir.path()).filePath(QStringLiteral("vacio%1").arg(v));
            QDir().mkpath(prog);
            Catalogo bd(Catalogo::RutaCatalogo(prog), QStringLiteral("vacio%1").arg(v));
            bd.AbreBaseDatos();
            const ListaTrabajo l = HazCd(QDir(dir.path()).filePath(QStringLiteral("cd")), mp3, cover, QString());
            vacio << Graba(bd, l, QStringLiteral("Nuevo"), prog);
        }

        const QString prog = QDir(dir.path()).filePath(QStringLiteral("lleno"));
        QDir().mkpath(prog);
        Catalogo bd(Catalogo::RutaCatalogo(prog), QStringLiteral("lleno"));
        bd.AbreBaseDatos();
        QElapsedTimer t;
        t.start();
        Llena(bd);
        std::printf("filling 200,000 songs: %.1f s (not timed)\n", t.elapsed() / 1000.0);
        for (int v = 0; v < kVueltas; ++v) {
            // New names each time, so every run inserts as much as into the empty one.
            const ListaTrabajo l = HazCd(QDir(dir.path()).filePath(QStringLiteral("cd")), mp3, cover,
                                         QStringLiteral("v%1").arg(v));
            lleno << Graba(bd, l, QStringLiteral("Nuevo %1").arg(v), prog);
        }
        Consulta r = bd.Abre(QStringLiteral("select count(*) as n from tlcancion"));
        std::printf("songs in the full catalogue at the end: %lld\n", r.Entero(QStringLiteral("n")));

        const double mv = Mediana(vacio), ml = Mediana(lleno);
        const double cv = Mediana(cpu.mid(0, kVueltas)), cl = Mediana(cpu.mid(kVueltas));
        std::printf("Graba, 1,000 songs + 100 covers (1,200 rows), median of %d:\n", kVueltas);
        std::printf("  empty catalogue:          %.3f s (processor %.3f s)\n", mv, cv);
        std::printf("  200,000-song catalogue:   %.3f s (processor %.3f s) (%.2fx)\n", ml, cl, ml / mv);
        std::printf("goal: under 2 s each, second within 1.5x -> %s\n",
                    (mv < 2 && ml < 2 && ml <= 1.5 * mv) ? "met" : "NOT met");
    } catch (const LodrinError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
