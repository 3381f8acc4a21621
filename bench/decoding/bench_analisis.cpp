// Times a whole analysis of a large work list: 1,000 album folders of ten
// MP3 rows each; the first file of every folder is answered by a script, the
// rest must follow on their own. Goal: under one second.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "decoding/analisis.h"
#include "decoding/decodificador.h"
#include "decoding/mascaras.h"
#include "store/catalogo.h"
#include "support/electorguionado.h"
#include "worklist/listatrabajo.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "bench");
    bd.AbreBaseDatos();

    ListaTrabajo base;
    base.PonOrdenada(false);
    for (int a = 0; a < 1000; ++a) {
        const QString carpeta = QString("Autor %1\\Disco %2\\").arg(a, 4, 10, QChar('0')).arg(a % 37);
        base.Anade(carpeta, "/cd/" + carpeta, "#", "abierta");
        for (int c = 1; c <= 10; ++c) {
            const QString t = carpeta + QString("%1-Cancion numero %2.mp3").arg(c, 2, 10, QChar('0')).arg(c);
            base.Anade(t, "/cd/" + t, "f", "mp3");
        }
    }

    std::vector<qint64> tiempos;
    for (int vuelta = 0; vuelta < 5; ++vuelta) {
        ListaTrabajo lista = base;
        ListaMascaras mascaras;
        ElectorGuionado elector;
        elector.responde = ElectorGuionado::Elige("a\\d\\p-c");
        ContextoDecodificacion ctx{bd, mascaras, elector};
        CamposLlevados campos;
        QElapsedTimer t;
        t.start();
        const bool completa = AnalizaLista(lista, campos, ctx, false);
        tiempos.push_back(t.nsecsElapsed() / 1000);
        if (!completa || elector.vistas.size() != 1000 || lista.SubItem(lista.Cuenta(), columna::kPosicion) != "10") {
            std::fprintf(stderr, "unexpected result: %d choices\n", int(elector.vistas.size()));
            return 1;
        }
    }
    std::sort(tiempos.begin(), tiempos.end());
    std::printf("analysis of %d rows (1000 folders, 1000 choices): best %.3f s, median %.3f s, worst %.3f s\n",
                base.Cuenta(), tiempos.front() / 1e6, tiempos[tiempos.size() / 2] / 1e6, tiempos.back() / 1e6);
    return tiempos[tiempos.size() / 2] < 1000000 ? 0 : 2;
}
