// Time of "Graba" for a CD of 1,000 songs (100 discs of 10 songs, one cover
// each) into an empty catalogue and into one holding 200,000 songs; run
// under scripts/pg_temporal.sh (LODRIN_PG_FSYNC=on), also into an empty
// database on the server, against the first figure.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "catalogogrande.h"
#include "catalogue/grabacion.h"
#include "cdprueba.h"
#include "common/lodrinerror.h"
#include "common/rutas.h"
#include "medida.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"
#include "worklist/listatrabajo.h"

namespace {

// The CD explored and analysed: a folder row, ten songs and a cover per disc.
ListaTrabajo HazCd(const QString& base, const QString& mp3, const QString& cover, const QString& marca)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    for (const AlbumPrueba& a : CreaCdPrueba(base, mp3, cover, marca)) {
        auto fila = [&](const QString& texto, const QString& tipo, const QString& icono) {
            const int i = l.Anade(texto, rutas::Nativa(base, texto), tipo, icono);
            l.PonSubItem(i, columna::kAutor, a.autor);
            l.PonSubItem(i, columna::kDisco, a.disco);
            return i;
        };
        fila(a.carpeta, QStringLiteral("#"), QStringLiteral("abierta"));
        for (int c = 0; c < a.canciones.size(); ++c) {
            const int i = fila(a.canciones[c], QStringLiteral("f"), QStringLiteral("mp3"));
            l.PonSubItem(i, columna::kCancion, QStringLiteral("Cancion %1 de %2").arg(c + 1).arg(a.disco));
            l.PonSubItem(i, columna::kPosicion, QStringLiteral("%1").arg(c + 1, 2, 10, QLatin1Char('0')));
            l.PonSubItem(i, columna::kMascara, QStringLiteral("a\\d\\p-c"));
        }
        const int i = fila(a.portada, QStringLiteral("p"), QStringLiteral("img"));
        for (int k = columna::kCancion; k <= columna::kMascara; ++k)
            l.PonSubItem(i, k, QString());
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

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        QTemporaryDir dir;
        QString mp3, cover;
        if (!CreaModelosCd(dir.path(), mp3, cover)) {
            std::fprintf(stderr, "lame failed\n");
            return 1;
        }
        const QString cd = QDir(dir.path()).filePath(QStringLiteral("cd"));

        constexpr int kVueltas = 5;
        QList<double> vacio, lleno;
        for (int v = 0; v < kVueltas; ++v) {
            const QString prog = QDir(dir.path()).filePath(QStringLiteral("vacio%1").arg(v));
            QDir().mkpath(prog);
            Catalogo bd(Catalogo::RutaCatalogo(prog), QStringLiteral("vacio%1").arg(v));
            bd.AbreBaseDatos();
            vacio << Graba(bd, HazCd(cd, mp3, cover, QString()), QStringLiteral("Nuevo"), prog);
        }

        QList<double> servidor;
        for (int v = 0; v < kVueltas && qEnvironmentVariableIsSet("LODRIN_PG_HOST"); ++v) {
            const QString prog = QDir(dir.path()).filePath(QStringLiteral("servidor%1").arg(v));
            Catalogo bd(BaseDePrueba(QDir(prog).filePath(QStringLiteral("lodrin.ini"))),
                        QStringLiteral("servidor%1").arg(v));
            bd.AbreBaseDatos();
            servidor << Graba(bd, HazCd(cd, mp3, cover, QString()), QStringLiteral("Nuevo"), prog);
        }
        const QList<double> cpuServidor = cpu.mid(kVueltas);
        cpu = cpu.mid(0, kVueltas);

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
        Consulta r = bd.Abre(QStringLiteral("select count(*) as n from tlcancion"));
        std::printf("songs in the full catalogue at the end: %lld\n", r.Entero(QStringLiteral("n")));

        const double mv = Mediana(vacio), ml = Mediana(lleno);
        const double cv = Mediana(cpu.mid(0, kVueltas)), cl = Mediana(cpu.mid(kVueltas));
        std::printf("Graba, 1,000 songs + 100 covers (1,200 rows), median of %d:\n", kVueltas);
        std::printf("  empty catalogue:          %.3f s (processor %.3f s)\n", mv, cv);
        std::printf("  200,000-song catalogue:   %.3f s (processor %.3f s) (%.2fx)\n", ml, cl, ml / mv);
        std::printf("goal: at most 0.25 s each -> %s\n", (mv <= 0.25 && ml <= 0.25) ? "met" : "NOT met");
        if (!servidor.isEmpty()) {
            const double ms = Mediana(servidor);
            std::printf("  empty database on the server: %.3f s (processor %.3f s) (%.2fx the file)\n", ms,
                        Mediana(cpuServidor), ms / mv);
            std::printf("goal: at most 2x the file -> %s\n", ms <= 2 * mv ? "met" : "NOT met");
        }
    } catch (const LodrinError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
