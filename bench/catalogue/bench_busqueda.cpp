// Times the song search on a large catalogue: 10,000 authors and 200,000
// songs. The catalogue is filled behind the program's back, then opened as
// the program opens it, which builds the index the way a real first opening
// would; searches then go through the store as the window's do. Under
// scripts/pg_temporal.sh the same catalogue is copied to the server and
// searched there too. Then
// another program writes, and the window's search right after, and a read
// command's with rows waiting for the index, are timed (on the file).
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <limits>
#include <cstdio>

#include "catalogogrande.h"
#include "catalogue/copia.h"
#include "common/lodrinerror.h"
#include "medida.h"
#include "search/busqueda.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString ruta = dir.filePath("anterior.mdb");
    {
        Catalogo bd(ruta, "llena");
        bd.AbreBaseDatos();
        std::printf("llenando %d autores y %d canciones...\n", CatalogoGrande::kAutores, CatalogoGrande::kCanciones);
        std::printf("  %.2f s\n", Mide([&] { LlenaCatalogoGrande(bd); }));
    }
    Catalogo bd(ruta, "bench");
    std::printf("primera apertura, con el indice de busqueda: %.2f s\n", Mide([&] { bd.AbreBaseDatos(); }));

    struct Caso {
        const char* texto;
        const char* que;
    } casos[] = {
        {"cancion 123456", "una cancion (pocas)"},
        {"autor 00012", "un autor (pocas)"},
        {"disco 77-1", "mil"},
        {"cd 0042", "un CD (500)"},
        {"cancion 123", "miles"},
        {"autor 001", "miles"},
        {"disco 1", "muchas"},
        {"zzz", "ninguna"},
        {"7", "una cifra (corta)"},
        {"cancion 12 cd 0001", "corta con largas"},
    };
    const auto mideCasos = [&](Catalogo& c) {
        for (const Caso& k : casos) {
            QList<double> tiempos;
            ResultadoBusqueda r;
            for (int vez = 0; vez < 7; ++vez)
                tiempos << Mide([&] { r = BuscaCanciones(c, k.texto); });
            std::printf("%-22s %-20s %7lld de %7lld: %6.1f ms (mediana de 7)\n", k.texto, k.que,
                        (long long)r.filas.size(), (long long)r.total, 1000 * Mediana(tiempos));
        }
    };
    mideCasos(bd);
    // The same searches on a server, when the benchmark runs beside one.
    if (qEnvironmentVariableIsSet("LODRIN_PG_HOST")) {
        try {
            const UbicacionCatalogo u = BaseDePrueba(dir.filePath("servidor.ini"));
            std::printf("copiando al servidor: %.1f s (no medido)\n",
                        Mide([&] { CopiaCatalogo(bd, dir.path(), u); }));
            Catalogo servidor(u, "servidor");
            std::printf("servidor, primera apertura con el indice: %.2f s\n", Mide([&] { servidor.AbreBaseDatos(); }));
            mideCasos(servidor);
            std::printf("objetivo en el servidor: <= 50 ms una palabra rara, <= 150 ms con 10.000 coincidencias\n");
        } catch (const LodrinError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }

    // Another program writes: an author put back with REPLACE (its songs
    // wait for the index) and 20 songs added.
    const char* const otros[] = {"cancion 123456", "autor 00012", "disco 1"};
    auto escribeFuera = [&](int vez) {
        struct Quita {
            ~Quita() { QSqlDatabase::removeDatabase("fuera"); }
        } quita;
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "fuera");
        d.setDatabaseName(ruta);
        d.open();
        QSqlQuery q(d);
        q.exec("begin");
        q.exec(QString("insert or replace into tlautor (idautor, dsautor, dsautor_std, intautor)"
                       " select idautor, dsautor || ' %1', dsautor_std, 0 from tlautor where idautor = 14").arg(vez));
        q.exec(QString("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
                       " select dscancion || ' fuera %1', cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime"
                       " from tlcancion where idcancion <= 20").arg(vez));
        q.exec("commit");
        q.finish();
        d.close();
    };
    // The window: its search thread reads; the program's own connection
    // looks at data_version before each search.
    Catalogo hilo(ruta, "hilo");
    hilo.AbreParaLeer();
    std::printf("\nventana, antes y justo despues de que otro programa escriba (1 vez cada una, 5 rondas):\n");
    for (const char* texto : otros) {
        QList<double> antes, despues;
        for (int vez = 0; vez < 5; ++vez) {
            antes << Mide([&] { BuscaCanciones(hilo, texto); });
            escribeFuera(vez);
            despues << Mide([&] {
                bd.motor().MiraCambiosFuera(bd);
                BuscaCanciones(hilo, texto);
            });
        }
        std::printf("%-22s antes %6.1f ms, despues %6.1f ms (medianas)\n", texto, 1000 * Mediana(antes),
                    1000 * Mediana(despues));
    }

    // --buscar with rows waiting (nothing puts them in the index: it only
    // reads), against every song looked at.
    escribeFuera(99);
    const QString sinIndice = dir.filePath("sinindice.mdb");
    QFile::copy(ruta, sinIndice);
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "quita");
        d.setDatabaseName(sinIndice);
        d.open();
        QSqlQuery q(d);
        for (const char* t : {"tlbusca_fts", "tlbusca", "tlbusca_pendiente"})
            q.exec(QString("drop table %1").arg(t));
        q.finish();
        d.close();
    }
    QSqlDatabase::removeDatabase("quita");
    Catalogo lee(ruta, "lee");
    lee.AbreParaLeer();
    Catalogo todas(sinIndice, "todas");
    todas.AbreParaLeer();
    std::printf("\n--buscar con %lld canciones esperando el indice, frente a mirarlas todas:\n",
                (long long)lee.PrimerEntero("select count(*) from tlbusca_pendiente", {}));
    for (const char* texto : otros) {
        QList<double> conIndice, mirando;
        for (int vez = 0; vez < 5; ++vez) {
            conIndice << Mide([&] { BuscaCanciones(lee, texto, columnaBD::kAutor, std::numeric_limits<int>::max()); });
            mirando << Mide([&] { BuscaCanciones(todas, texto, columnaBD::kAutor, std::numeric_limits<int>::max()); });
        }
        std::printf("%-22s indice y esperando %7.1f ms, todas %7.1f ms (medianas de 5)\n", texto,
                    1000 * Mediana(conIndice), 1000 * Mediana(mirando));
    }
    return 0;
}
