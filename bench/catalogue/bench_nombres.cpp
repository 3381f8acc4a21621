// Times 10,000 find-or-inserts of authors, discs and songs into an empty
// catalogue and into one already holding 200,000 songs.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "catalogue/catalogo.h"
#include "catalogue/nombres.h"

namespace {

// Fills the catalogue quickly in one transaction: 10,000 authors, 20,000
// discs, 200,000 songs.
void llena(Catalogo& bd)
{
    bd.Ejecuta("begin");
    for (int a = 0; a < 10000; ++a)
        bd.Ejecuta(QString("insert into tlautor (dsautor, dsautor_std, intautor) values ('Autor %1', 'AUTOR%1', 0)")
                       .arg(a));
    for (int d = 0; d < 20000; ++d)
        bd.Ejecuta(QString("insert into tldisco (dsdisco, dsdisco_std, cdautord) values ('Disco %1', 'DISCO%1', %2)")
                       .arg(d)
                       .arg(d / 2 + 1));
    for (int c = 0; c < 200000; ++c)
        bd.Ejecuta(QString("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, "
                           "wntime) values ('Cancion %1', 1, %2, %3, %4, 'x\\\\y.mp3', False, 200)")
                       .arg(c)
                       .arg(c / 10 + 1)
                       .arg(c / 20 + 1)
                       .arg(c % 10 + 1));
    bd.Ejecuta("commit");
}

double mide(Catalogo& bd, const QString& prefijo)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 10000; ++i) {
        QString autor = QString("%1 autor %2").arg(prefijo).arg(i / 10);
        const qint64 idAutor = DameAutor(bd, autor, true);
        QString disco = QString("%1 disco %2").arg(prefijo).arg(i / 10);
        const qint64 idDisco = DameDisco(bd, disco, idAutor, true);
        QString titulo = QString("%1 cancion %2").arg(prefijo).arg(i);
        QString ruta = QString("%1\\%2.mp3").arg(prefijo).arg(i);
        DameCancion(bd, titulo, idAutor, idDisco, 1, i % 10, ruta, false, true, 180);
    }
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
    std::printf("  empty catalogue:         %.3f s\n", t1);
    std::printf("  with 200,000 songs:      %.3f s  (ratio %.2f, goal <= 1.5)\n", t2, t2 / t1);
    return 0;
}
