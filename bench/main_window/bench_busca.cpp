// "Busca" over 20,000 files in 2,000 folders, with the rows shown in the
// window, against `find` listing the same tree. Prints both medians.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "arbolbusca.h"
#include "exploring/exploracion.h"
#include "main_window/frmVaro.h"
#include "medida.h"
#include "sinperifericos.h"
#include "store/catalogo.h"

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString raiz = dir.path() + "/Musica";
    const int ficheros = CreaArbolBusca(raiz);
    constexpr int kVueltas = 7;

    QList<double> cpuFind, cpuBusca;
    const QList<double> find = TiemposFind(raiz, kVueltas, &cpuFind);

    // The list alone, without the window, to see what the view costs.
    QList<double> logica;
    for (int i = 0; i <= kVueltas; ++i) {
        ListaTrabajo l;
        AnadeSoltadas(l, {raiz});
        QElapsedTimer t;
        t.start();
        Busca(l);
        if (i > 0)
            logica << t.nsecsElapsed() / 1e6;
    }

    Catalogo bd(dir.path() + "/anterior.mdb", "bench");
    SinUnidades unidades;
    SinAvisos avisos;
    frmVaro w(bd, unidades, avisos, dir.path());
    w.Form_Load();
    w.show();
    int filas = 0;
    const QList<double> busca = TiemposBusca(w, raiz, kVueltas, filas, &cpuBusca);

    const double mf = Mediana(find);
    const double mb = Mediana(busca);
    std::printf("tree: %d files, %d rows in the list\n", ficheros, filas);
    std::printf("find  : median %.1f ms over %d runs\n", mf, kVueltas);
    std::printf("list  : median %.1f ms without the window\n", Mediana(logica));
    std::printf("Busca : median %.1f ms over %d runs (%.2f x find)\n", mb, kVueltas, mb / mf);
    std::printf("processor time: find %.1f ms, Busca %.1f ms (%.2f x; medians, what a machine shared with other "
                "work cannot stretch)\n",
                Mediana(cpuFind), Mediana(cpuBusca), Mediana(cpuBusca) / Mediana(cpuFind));
    return mb <= 1.5 * mf ? 0 : 1;
}
