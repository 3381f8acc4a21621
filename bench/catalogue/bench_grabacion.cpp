// Time of "Graba" for a CD of 1,000 songs (100 discs of 10 songs, one cover
// each) into an empty catalogue and into one holding 200,000 songs. Run
// under scripts/pg_temporal.sh (LODRIN_PG_FSYNC=on), also side by side with
// the server, as the median of 9 alternating pairs of empty catalogues: the
// CD grouped by author, the same with authors alternating row by row, and a
// CD of 20,000 songs; with the statements each sends; and the searches' times
// on the 200,000 songs copied to the server while 6 programs record.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTemporaryDir>
#include <cstdio>

#include "catalogogrande.h"
#include "catalogue/grabacion.h"
#include "cdprueba.h"
#include "common/lodrinerror.h"
#include "common/rutas.h"
#include "medida.h"
#include "store/catalogo.h"
#include "catalogue/copia.h"
#include "support/carga.h"
#include "support/motorprueba.h"
#include "worklist/listatrabajo.h"

namespace {

// The CD explored and analysed: a folder row, ten songs and a cover per disc.
// With alternando, the songs come a disc of each author in turn, row by row.
ListaTrabajo HazCd(const QString& base, const QString& mp3, const QString& cover, const QString& marca,
                   bool alternando = false)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    QList<AlbumPrueba> albumes = CreaCdPrueba(base, mp3, cover, marca);
    if (alternando) {
        QList<AlbumPrueba> unoAUno;
        for (int c = 0; c < kCancionesPorDiscoPrueba; ++c)
            for (const AlbumPrueba& a : albumes) {
                AlbumPrueba s = a;
                s.canciones = QStringList{a.canciones[c]};
                if (c + 1 < kCancionesPorDiscoPrueba)
                    s.portada.clear();
                unoAUno << s;
            }
        albumes = unoAUno;
    }
    for (const AlbumPrueba& a : albumes) {
        auto fila = [&](const QString& texto, const QString& tipo, const QString& icono) {
            const int i = l.Anade(texto, rutas::Nativa(base, texto), tipo, icono);
            l.PonSubItem(i, columna::kAutor, a.autor);
            l.PonSubItem(i, columna::kDisco, a.disco);
            return i;
        };
        if (!alternando)
            fila(a.carpeta, QStringLiteral("#"), QStringLiteral("abierta"));
        for (int c = 0; c < a.canciones.size(); ++c) {
            const int i = fila(a.canciones[c], QStringLiteral("f"), QStringLiteral("mp3"));
            const QString n = a.canciones[c].section(u'\\', -1).left(2);
            l.PonSubItem(i, columna::kCancion, QStringLiteral("Cancion %1 de %2").arg(n, a.disco));
            l.PonSubItem(i, columna::kPosicion, n);
            l.PonSubItem(i, columna::kMascara, QStringLiteral("a\\d\\p-c"));
        }
        if (a.portada.isEmpty())
            continue;
        const int i = fila(a.portada, QStringLiteral("p"), QStringLiteral("img"));
        for (int k = columna::kCancion; k <= columna::kMascara; ++k)
            l.PonSubItem(i, k, QString());
    }
    return l;
}

// 20,000 songs, 400 authors of 5 discs of 10, every row the same MP3.
ListaTrabajo HazCdGrande(const QString& mp3)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    for (int a = 1; a <= 400; ++a)
        for (int d = 1; d <= 5; ++d)
            for (int c = 1; c <= 10; ++c) {
                const QString autor = QStringLiteral("Autor grande %1").arg(a), disco = QStringLiteral("Disco %1").arg(d);
                const int i = l.Anade(QStringLiteral("%1\\%2\\%3.mp3").arg(autor, disco).arg(c), mp3, QStringLiteral("f"),
                                      QStringLiteral("mp3"));
                l.PonSubItem(i, columna::kAutor, autor);
                l.PonSubItem(i, columna::kDisco, disco);
                l.PonSubItem(i, columna::kCancion, QStringLiteral("Cancion %1").arg(c));
                l.PonSubItem(i, columna::kPosicion, QString::number(c));
                l.PonSubItem(i, columna::kMascara, QStringLiteral("a\\d\\p-c"));
            }
    return l;
}

QList<double> cpu;

double Graba(Catalogo& bd, const ListaTrabajo& lista, const QString& descripcion, const QString& dirPrograma)
{
    DatosGrabacion d;
    d.descripcion = descripcion;
    d.serial = QStringLiteral("1234-ABCD");
    d.dirPrograma = dirPrograma;
    const double c0 = Cpu();
    const double s = Mide([&] { GrabaCD(bd, lista, d); });
    cpu << Cpu() - c0;
    return s;
}

// The statements the server ran for one recording, from its log: every
// statement is written there while the connection says so. Statements
// prepared (once per connection, on first use) are counted apart.
std::pair<qint64, qint64> Sentencias(Catalogo& bd, const QString& dirPrograma, const ListaTrabajo& lista)
{
    static int vez = 0;
    const QByteArray desde = "desde aqui " + QByteArray::number(++vez), hasta = "hasta aqui " + QByteArray::number(vez);
    QFile log(QDir(qEnvironmentVariable("LODRIN_PG_HOST")).filePath(QStringLiteral("servidor.log")));
    bd.PrimerEntero(QStringLiteral("select length(set_config('log_statement', ?, false))"), {QStringLiteral("all")});
    bd.PrimerEntero(QStringLiteral("select length(?)"), {QString::fromLatin1(desde)});
    Graba(bd, lista, QStringLiteral("Contado"), dirPrograma);
    bd.PrimerEntero(QStringLiteral("select length(?)"), {QString::fromLatin1(hasta)});
    bd.PrimerEntero(QStringLiteral("select length(set_config('log_statement', ?, false))"), {QStringLiteral("none")});
    QThread::msleep(200);
    if (!log.open(QIODevice::ReadOnly))
        return {-1, -1};
    qint64 n = -1, preparadas = 0;
    for (const QByteArray& linea : log.readAll().split('\n')) {
        if (linea.contains(desde)) {
            n = 0;
        } else if (linea.contains(hasta)) {
            break;
        } else if (n >= 0 && linea.contains("LOG:  statement:")) {
            if (linea.contains("LOG:  statement: PREPARE "))
                ++preparadas;
            else
                ++n;
            if (qEnvironmentVariableIsSet("LODRIN_BENCH_SENTENCIAS"))
                std::printf("    %s\n", linea.left(120).constData());
        }
    }
    return {n, preparadas};
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int salida = 0;
    if (EsHijoDeCarga(salida))
        return salida;
    try {
        QTemporaryDir dir;
        QString mp3, cover;
        if (!CreaModelosCd(dir.path(), mp3, cover)) {
            std::fprintf(stderr, "lame failed\n");
            return 1;
        }
        const QString cd = QDir(dir.path()).filePath(QStringLiteral("cd"));
        const bool servidor = qEnvironmentVariableIsSet("LODRIN_PG_HOST");

        constexpr int kVueltas = 5;
        QList<double> vacio, lleno;
        for (int v = 0; v < kVueltas; ++v) {
            const QString prog = QDir(dir.path()).filePath(QStringLiteral("vacio%1").arg(v));
            QDir().mkpath(prog);
            Catalogo bd(Catalogo::RutaCatalogo(prog), QStringLiteral("vacio%1").arg(v));
            bd.AbreBaseDatos();
            vacio << Graba(bd, HazCd(cd, mp3, cover, QString()), QStringLiteral("Nuevo"), prog);
        }
        const QString prog = QDir(dir.path()).filePath(QStringLiteral("lleno"));
        QDir().mkpath(prog);
        Catalogo bd(Catalogo::RutaCatalogo(prog), QStringLiteral("lleno"));
        bd.AbreBaseDatos();
        std::printf("filling 200,000 songs: %.1f s (not timed)\n", Mide([&] { LlenaCatalogoGrande(bd); }));
        for (int v = 0; v < kVueltas; ++v) {
            // New names each time, so every run inserts as much as into the empty one.
            const ListaTrabajo l = HazCd(cd, mp3, cover, QStringLiteral("v%1").arg(v));
            lleno << Graba(bd, l, QStringLiteral("Nuevo %1").arg(v), prog);
        }
        const double mv = Mediana(vacio), ml = Mediana(lleno);
        const double cv = Mediana(cpu.mid(0, kVueltas)), cl = Mediana(cpu.mid(kVueltas));
        std::printf("Graba, 1,000 songs + 100 covers (1,200 rows), median of %d:\n", kVueltas);
        std::printf("  empty catalogue:          %.3f s (processor %.3f s)\n", mv, cv);
        std::printf("  200,000-song catalogue:   %.3f s (processor %.3f s) (%.2fx)\n", ml, cl, ml / mv);
        std::printf("goal: at most 0.25 s each -> %s\n", (mv <= 0.25 && ml <= 0.25) ? "met" : "NOT met");
        if (!servidor)
            return 0;

        // Side by side: file and server in turn, each into an empty catalogue.
        struct Caso {
            const char* que;
            ListaTrabajo lista;
        } casos[] = {{"1,000 songs + 100 covers, grouped by author", HazCd(cd, mp3, cover, QString())},
                     {"the same, authors alternating row by row", HazCd(cd, mp3, cover, QString(), true)},
                     {"20,000 songs", HazCdGrande(mp3)}};
        constexpr int kPares = 9;
        std::printf("\nGraba, file against server, median of %d alternating pairs (empty catalogues):\n", kPares);
        std::printf("  %-46s %9s %9s %7s  %s\n", "", "file", "server", "ratio", "statements (+ prepared)");
        int n = 0;
        bool cumple = true;
        for (const Caso& c : casos) {
            QList<double> f, s;
            for (int v = 0; v < kPares; ++v) {
                const QString pf = QDir(dir.path()).filePath(QStringLiteral("f%1").arg(++n));
                const QString ps = QDir(dir.path()).filePath(QStringLiteral("s%1").arg(n));
                QDir().mkpath(pf);
                Catalogo fichero(Catalogo::RutaCatalogo(pf), QStringLiteral("f%1").arg(n));
                fichero.AbreBaseDatos();
                Catalogo server(BaseDePrueba(QDir(ps).filePath(QStringLiteral("lodrin.ini"))), QStringLiteral("s%1").arg(n));
                server.AbreBaseDatos();
                if (v % 2 == 0) {
                    f << Graba(fichero, c.lista, QStringLiteral("Nuevo"), pf);
                    s << Graba(server, c.lista, QStringLiteral("Nuevo"), ps);
                } else {
                    s << Graba(server, c.lista, QStringLiteral("Nuevo"), ps);
                    f << Graba(fichero, c.lista, QStringLiteral("Nuevo"), pf);
                }
            }
            const QString ps = QDir(dir.path()).filePath(QStringLiteral("s%1").arg(++n));
            Catalogo contado(BaseDePrueba(QDir(ps).filePath(QStringLiteral("lodrin.ini"))), QStringLiteral("s%1").arg(n));
            contado.AbreBaseDatos();
            const auto [sentencias, preparadas] = Sentencias(contado, ps, c.lista);
            const double mf = Mediana(f), ms = Mediana(s);
            cumple = cumple && ms <= 2 * mf;
            std::printf("  %-46s %8.3fs %8.3fs %6.2fx %6lld (+%lld)\n", c.que, mf, ms, ms / mf, sentencias, preparadas);
        }
        std::printf("goal: server at most 2x the file -> %s\n", cumple ? "met" : "NOT met");

        // Searching 200,000 songs on the server while 6 programs record.
        // LODRIN_BENCH_SEGUNDOS=0 leaves this part out.
        const QString dirCarga = QDir(dir.path()).filePath(QStringLiteral("carga"));
        OpcionesCarga o;
        o.dirPrograma = dirCarga;
        o.segundos = qEnvironmentVariableIsSet("LODRIN_BENCH_SEGUNDOS") ? qEnvironmentVariableIntValue("LODRIN_BENCH_SEGUNDOS")
                                                                        : 60;
        if (o.segundos <= 0)
            return 0;
        const UbicacionCatalogo u = BaseDePrueba(QDir(dirCarga).filePath(QStringLiteral("lodrin.ini")));
        std::printf("\ncopying the 200,000-song catalogue to the server: %.1f s (not timed)\n",
                    Mide([&] { CopiaCatalogo(bd, prog, u); }));
        {
            Catalogo base(u, QStringLiteral("base"));
            base.AbreBaseDatos();
            DatosGrabacion d;
            d.descripcion = kCdBaseCarga;
            d.dirPrograma = dirCarga;
            GrabaCD(base, CdDeCarga(kCdBaseCarga, o.cancionesPorCd, cover), d);
        }
        const ResultadoCarga r = CorreCarga(o);
        std::printf("%d programs recording, %d searching for %.0f s: %lld CDs of %d songs recorded, %lld searches,"
                    " %lld failures\n",
                    o.grabadores, o.buscadores, o.segundos, qlonglong(r.cds.size()), o.cancionesPorCd,
                    qlonglong(r.busquedas.size()), qlonglong(r.fallos.size()));
        const double p99 = Percentil(r.busquedas, 0.99);
        std::printf("search: median %.1f ms, 99th percentile %.1f ms (goal <= 150 ms -> %s)\n",
                    Percentil(r.busquedas, 0.5), p99, p99 <= 150 ? "met" : "NOT met");
        Catalogo mira(u, QStringLiteral("mira"));
        mira.AbreBaseDatos();
        const QStringList faltas = FaltasTrasCarga(mira, o, QStringList(r.cds) << kCdBaseCarga);
        std::printf("after the load: %lld songs, %lld faults%s%s\n",
                    mira.PrimerEntero(QStringLiteral("select count(*) from tlcancion"), {}), qlonglong(faltas.size()),
                    faltas.isEmpty() ? "" : ": ", qPrintable(faltas.join(QStringLiteral("; "))));
        for (const QString& f : r.fallos)
            std::printf("  failure: %s\n", qPrintable(f));
    } catch (const LodrinError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
