// Times 10,000 find-or-inserts, in one operation as recording makes them, of authors, discs and songs into an empty
// catalogue and into one already holding 200,000 songs.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "catalogue/nombres.h"
#include "store/catalogo.h"

namespace {

// Fills the catalogue quickly in one transaction: 10,000 authors, 20,000
// discs, 200,000 songs.
void llena(Catalogo& bd)
{
    Operacion(bd, "llenar", [&](Transaccion&) {
        for (int a = 0; a < 10000; ++a)
            bd.Ejecuta("insert into tlautor (dsautor, dsautor_std, intautor) values (?, ?, 0)",
                       {QString("Autor %1").arg(a), QString("AUTOR%1").arg(a)});
        for (int d = 0; d < 20000; ++d)
            bd.Ejecuta("insert into tldisco (dsdisco, dsdisco_std, cdautord) values (?, ?, ?)",
                       {QString("Disco %1").arg(d), QString("DISCO%1").arg(d), d / 2 + 1});
        for (int c = 0; c < 200000; ++c)
            bd.Ejecuta("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime,"
                       " dscancion_clave) values (?, 1, ?, ?, ?, 'x\\y.mp3', 0, 200, ?)",
                       {QString("Cancion %1").arg(c), c / 10 + 1, c / 20 + 1, c % 10 + 1,
                        QString("cancion %1").arg(c)});
    });
}

double mide(Catalogo& bd, const QString& prefijo)
{
    QElapsedTimer t;
    t.start();
    // As recording does them: inside one operation, committed once.
    Operacion(bd, "medir", [&](Transaccion&) {
    for (int i = 0; i < 10000; ++i) {
        QString autor = QString("%1 autor %2").arg(prefijo).arg(i / 10);
        const qint64 idAutor = DameAutor(bd, autor, true);
        QString disco = QString("%1 disco %2").arg(prefijo).arg(i / 10);
        const qint64 idDisco = DameDisco(bd, disco, idAutor, true);
        QString titulo = QString("%1 cancion %2").arg(prefijo).arg(i);
        QString ruta = QString("%1\\%2.mp3").arg(prefijo).arg(i);
        DameCancion(bd, titulo, idAutor, idDisco, 1, i % 10, ruta, false, true, 180);
    }
    });
    return t.elapsed() / 1000.0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Catalogo vacio(dir.filePath("vacio.mdb"), "vacio");
    vacio.AbreBaseDatos();
    const double t1 = mide(vacio, "Nuevo");

    Catalogo lleno(dir.filePath("lleno.mdb"), "lleno");
    lleno.AbreBaseDatos();
    llena(lleno);
    const double t2 = mide(lleno, "Nuevo");

    std::printf("10,000 DameAutor/DameDisco/DameCancion find-or-inserts\n");
    std::printf("  empty catalogue:         %.3f s  (goal <= 0.3 s: %s)\n", t1, t1 <= 0.3 ? "met" : "NOT met");
    std::printf("  with 200,000 songs:      %.3f s  (goal <= 0.3 s: %s; ratio %.2f, goal <= 1.5)\n", t2,
                t2 <= 0.3 ? "met" : "NOT met", t2 / t1);
    return 0;
}
