// The full listing, with songs and pictures, of a catalogue of 200,000 songs,
// and the listings of one CD and of one author. Under scripts/pg_temporal.sh
// the same catalogue is copied to the server and listed there too.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "catalogue/copia.h"
#include "catalogue/objetos.h"
#include "common/lodrinerror.h"
#include "listing/listado.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"

namespace {

constexpr int kAutores = 2000;
constexpr int kDiscosPorAutor = 10;
constexpr int kCancionesPorDisco = 10;
constexpr int kRecopilaciones = 500;
constexpr int kCds = 40;

void ejecuta(QSqlQuery& q, const QString& sentencia)
{
    if (!q.exec(sentencia)) {
        std::fprintf(stderr, "fallo: %s\n", qPrintable(sentencia));
        std::exit(1);
    }
}

// Bulk filling in one transaction; the program's own find-or-insert would
// take minutes for this many rows and is not what is measured.
void llena(Catalogo& bd, const QString& dirPrograma)
{
    QSqlDatabase d = bd.db();
    d.transaction();
    QSqlQuery q(d);
    for (int i = 1; i <= kCds; ++i)
        ejecuta(q, QStringLiteral("insert into tlcd (dscd, sercd, lotienecd, dtcd, dscd_clave) values ('CD %1','%1',' ',DATE(),'cd %1')").arg(i));
    for (int a = 1; a <= kAutores; ++a)
        ejecuta(q, QStringLiteral("insert into tlautor (dsautor, dsautor_std, intautor) values ('Autor Ñandú %1','AUTORNANDU%2',0)")
                       .arg(a)
                       .arg(a, 5, 10, QLatin1Char('0')));
    ejecuta(q, QStringLiteral("insert into tlautor (dsautor, dsautor_std, intautor) values ('<Varios Artistas>','VARIOSARTISTAS',0)"));
    const int varios = kAutores + 1;

    QImage img(150, 150, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    const QString modelo = QDir(dirPrograma).filePath(QStringLiteral("modelo.jpg"));
    img.save(modelo, "JPG");
    const QString carpeta = CarpetaImagenes(dirPrograma);
    QDir().mkpath(carpeta);

    int disco = 0, canciones = 0;
    QSqlQuery ins(d);
    ins.prepare(QStringLiteral("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime,"
                               " dscancion_clave) values (?,?,?,?,?,?,?,?,?)"));
    auto discoNuevo = [&](int autor, const QString& nombre) {
        ++disco;
        ejecuta(q, QStringLiteral("insert into tldisco (dsdisco, dsdisco_std, cdautord) values ('%1','%2',%3)")
                       .arg(nombre, nombre.toUpper().remove(QLatin1Char(' ')))
                       .arg(autor));
        ejecuta(q, QStringLiteral("insert into tlobjetos (dstabla, idtabla, dspath) values ('d',%1,'x\\portada.jpg')").arg(disco));
        QFile::copy(modelo, QDir(carpeta).filePath(QStringLiteral("%1.jpg").arg(disco)));
        return disco;
    };
    auto cancion = [&](int iddisco, int autor, int posicion, bool esVarios) {
        ++canciones;
        ins.addBindValue(QStringLiteral("Canción & número %1").arg(canciones));
        ins.addBindValue(1 + iddisco % kCds);
        ins.addBindValue(iddisco);
        ins.addBindValue(autor);
        ins.addBindValue(posicion);
        ins.addBindValue(QStringLiteral("x\\%1.mp3").arg(canciones));
        ins.addBindValue(esVarios ? 1 : 0);
        ins.addBindValue(120 + canciones % 300);
        // The folded key as the program fills it, so the catalogue can be
        // copied to a server, where keys are unique.
        ins.addBindValue(QStringLiteral("canción & número %1").arg(canciones));
        if (!ins.exec())
            std::exit(1);
    };
    for (int a = 1; a <= kAutores; ++a)
        for (int k = 0; k < kDiscosPorAutor; ++k) {
            // Leave room for the compilations within the 200,000 songs.
            if (disco >= kAutores * kDiscosPorAutor - kRecopilaciones)
                break;
            const int id = discoNuevo(a, QStringLiteral("Disco %1").arg(k));
            for (int p = 1; p <= kCancionesPorDisco; ++p)
                cancion(id, a, p, false);
        }
    for (int r = 0; r < kRecopilaciones; ++r) {
        const int id = discoNuevo(varios, QStringLiteral("Recopilación %1").arg(r));
        for (int p = 1; p <= kCancionesPorDisco; ++p)
            cancion(id, 1 + (r * 7 + p * 13) % kAutores, p, true);
    }
    d.commit();
    std::printf("catalogo: %d discos, %d canciones, %d imagenes\n", disco, canciones, disco);
}

double mide(Catalogo& bd, const QString& dir, const OpcionesListado& op, const char* nombre)
{
    QElapsedTimer t;
    t.start();
    const std::clock_t cpu = std::clock();
    GeneraListado(bd, dir, QStringLiteral("listado.htm"), op);
    const double s = t.nsecsElapsed() / 1e9;
    // The machine is shared: processor time shows what the wall clock hides.
    std::printf("%-40s %7.3f s  (cpu %.3f s, %lld bytes)\n", nombre, s, double(std::clock() - cpu) / CLOCKS_PER_SEC,
                static_cast<long long>(QFileInfo(QDir(dir).filePath(QStringLiteral("listado.htm"))).size()));
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // A folder given on the command line keeps the catalogue for the next run.
    QTemporaryDir temporal;
    const QString carpeta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporal.path();
    QDir().mkpath(carpeta);
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("anterior.mdb"));
    const bool existia = QFileInfo::exists(ruta);
    Catalogo bd(ruta, QStringLiteral("bench"));
    bd.AbreBaseDatos();
    if (!existia) {
        QElapsedTimer t;
        t.start();
        llena(bd, carpeta);
        std::printf("llenado: %.1f s\n", t.nsecsElapsed() / 1e9);
    }
    struct {
        QString p;
        QString path() const { return p; }
    } dir{carpeta};

    OpcionesListado todo;
    todo.canciones = true;
    todo.imagenes = true;
    OpcionesListado cd = todo;
    cd.idcd = 3;
    OpcionesListado autor = todo;
    autor.idautor = 17;
    struct Cifras {
        double completo = 0, unCd = 0, unAutor = 0;
    };
    const auto mideTodo = [&](Catalogo& c, const QString& d) {
        Cifras f;
        for (int i = 0; i < 3; ++i)
            f.completo = qMax(f.completo, mide(c, d, todo, "completo, canciones e imagenes"));
        QList<double> cds, autores;
        for (int i = 0; i < 5; ++i) {
            cds << mide(c, d, cd, "un CD, canciones e imagenes");
            autores << mide(c, d, autor, "un autor con recopilaciones");
        }
        std::sort(cds.begin(), cds.end());
        std::sort(autores.begin(), autores.end());
        f.unCd = cds[2];
        f.unAutor = autores[2];
        return f;
    };
    const Cifras fichero = mideTodo(bd, dir.path());
    std::printf("fichero: peor completo %.3f s (objetivo < 1 s): %s; un CD %.3f s, un autor %.3f s (medianas de 5;"
                " objetivo <= 0,1 s): %s\n",
                fichero.completo, fichero.completo < 1.0 ? "OK" : "LENTO", fichero.unCd, fichero.unAutor,
                fichero.unCd <= 0.1 ? "OK" : "LENTO");
    if (qEnvironmentVariableIsSet("LODRIN_PG_HOST")) {
        try {
            const QString dirServidor = QDir(carpeta).filePath(QStringLiteral("servidor"));
            const UbicacionCatalogo u = BaseDePrueba(QDir(dirServidor).filePath(QStringLiteral("lodrin.ini")));
            QElapsedTimer t;
            t.start();
            CopiaCatalogo(bd, carpeta, u);
            std::printf("copiado al servidor: %.1f s (no medido)\n", t.nsecsElapsed() / 1e9);
            Catalogo servidor(u, QStringLiteral("servidor"));
            servidor.AbreBaseDatos();
            // The first listing brings every picture into the folder's cache.
            mide(servidor, dirServidor, todo, "servidor, primero (llena la cache)");
            const Cifras s = mideTodo(servidor, dirServidor);
            std::printf("servidor: peor completo %.3f s (%.2fx); un CD %.3f s (%.2fx), un autor %.3f s (%.2fx);"
                        " objetivo un CD <= 2x el fichero: %s\n",
                        s.completo, s.completo / fichero.completo, s.unCd, s.unCd / fichero.unCd, s.unAutor,
                        s.unAutor / fichero.unAutor, s.unCd <= 2 * fichero.unCd ? "OK" : "LENTO");
        } catch (const LodrinError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }
    return 0;
}
