// Times the song search on a large catalogue: 10,000 authors and 200,000
// songs. The catalogue is filled behind the program's back, then opened as
// the program opens it, which builds the index the way a real first opening
// would; searches then go through the store as the window's do. Under
// scripts/pg_temporal.sh the same catalogue is copied to the server and
// searched there too.
#include <QCoreApplication>
#include <QTemporaryDir>
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
    if (!qEnvironmentVariableIsSet("LODRIN_PG_HOST"))
        return 0;
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
    return 0;
}
