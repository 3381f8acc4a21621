// Times the songs on more than one CD on 200,000 songs of which 5,000 titles
// stand on two CDs: the reading, and the reading with the window filled. On
// the file, and under scripts/pg_temporal.sh on the server too.
#include <QApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

#include "catalogogrande.h"
#include "catalogue/copia.h"
#include "catalogue/repetidas.h"
#include "catalogue/repetidas_ui.h"
#include "common/lodrinerror.h"
#include "medida.h"
#include "store/catalogo.h"
#include "store/sesion.h"
#include "support/motorprueba.h"

namespace {

constexpr int kRepetidas = 5000;

void Mide(Catalogo& bd, const char* donde)
{
    QList<double> lectura, ventana;
    size_t n = 0;
    // This program's own processor time too: on a busy machine the wall
    // clock says more about the others.
    const std::clock_t antes = std::clock();
    for (int vez = 0; vez < 5; ++vez)
        lectura << ::Mide([&] { n = CancionesRepetidas(bd).size(); });
    const double cpu = double(std::clock() - antes) / CLOCKS_PER_SEC / 5;
    SesionCatalogo sesion(bd, QString());
    VentanaRepetidas v(sesion);
    for (int vez = 0; vez < 5; ++vez)
        ventana << ::Mide([&] { v.Lee(); });
    std::printf("%-8s %zu canciones en varios CD: lectura %.0f ms (%.0f ms de procesador de este programa),"
                " con la ventana %.0f ms (medianas de 5; objetivo <= 1000 ms)\n",
                donde, n, 1000 * Mediana(lectura), 1000 * cpu, 1000 * Mediana(ventana));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString ruta = dir.filePath("anterior.mdb");
    {
        Catalogo bd(ruta, "llena");
        bd.AbreBaseDatos();
        LlenaCatalogoGrande(bd);
        // Songs 100,001 to 105,000 take the author and title of the song
        // 100,000 before, which is on another CD.
        QSqlQuery q(bd.db());
        q.exec(QStringLiteral("update tlcancion set"
                              " cdautor = (select x.cdautor from tlcancion x where x.idcancion = tlcancion.idcancion - 100000),"
                              " dscancion = (select x.dscancion from tlcancion x where x.idcancion = tlcancion.idcancion - 100000),"
                              " dscancion_clave = (select x.dscancion_clave from tlcancion x"
                              "   where x.idcancion = tlcancion.idcancion - 100000)"
                              " where idcancion > 100000 and idcancion <= %1")
                   .arg(100000 + kRepetidas));
    }
    Catalogo bd(ruta, "bench");
    bd.AbreBaseDatos();
    Mide(bd, "fichero");
    if (qEnvironmentVariableIsSet("LODRIN_PG_HOST")) {
        try {
            const UbicacionCatalogo u = BaseDePrueba(dir.filePath("servidor.ini"));
            CopiaCatalogo(bd, dir.path(), u);
            Catalogo servidor(u, "servidor");
            servidor.AbreBaseDatos();
            Mide(servidor, "servidor");
        } catch (const LodrinError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }
    return 0;
}
