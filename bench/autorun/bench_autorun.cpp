// Times the autorun chain on a large work list: the tree, the file text, and
// the viewer reading a full 16-disc file.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "autorun/arbol.h"
#include "autorun/escribeautorun.h"
#include "autorun/lectorautorun.h"
#include "decoding/campos.h"
#include "worklist/listatrabajo.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int autores = argc > 1 ? std::atoi(argv[1]) : 1000;
    ListaTrabajo lista;
    lista.PonOrdenada(false);  // rows come already in order
    for (int a = 0; a < autores; ++a)
        for (int d = 0; d < 4; ++d) {
            const QString carpeta = QString("Autor %1\\Disco %2\\").arg(a, 5, 10, QChar('0')).arg(d);
            for (int c = 0; c <= 10; ++c) {
                const bool foto = c == 10;
                const QString texto = carpeta + (foto ? QString("front.jpg") : QString("%1-Cancion.mp3").arg(c + 1, 2, 10, QChar('0')));
                const int i = lista.Anade(texto, "/cd/" + texto, foto ? "p" : "f", foto ? "img" : "mp3");
                lista.PonSubItem(i, columna::kAutor, QString("Autor %1").arg(a));
                lista.PonSubItem(i, columna::kDisco, QString("Disco %1").arg(d));
                lista.PonSubItem(i, columna::kCancion, "Cancion");
                lista.PonSubItem(i, columna::kPosicion, QString("%1").arg(c + 1, 2, 10, QChar('0')));
            }
        }
    CamposLlevados campos;
    QElapsedTimer t;
    t.start();
    const ArbolDiscos arbol = GeneraArbol(lista, campos);
    const qint64 msArbol = t.elapsed();
    t.restart();
    const QByteArray texto = TextoAutorun(arbol, true);
    const qint64 msTexto = t.elapsed();
    QTemporaryDir dir;
    t.restart();
    const QString fallo = EscribeAutorun(arbol, true, dir.path());
    const qint64 msEscribe = t.elapsed();
    std::printf("rows %d, nodes %d: tree %lld ms, text %lld ms (%lld KB), write %lld ms %s\n", lista.Cuenta(),
                arbol.Cuenta(), msArbol, msTexto, (long long)texto.size() / 1024, msEscribe, qPrintable(fallo));

    // The viewer reads the whole file though it keeps only 16 discs; with a
    // 16-disc file it lays them all out.
    t.restart();
    LectorAutorun l;
    l.Lee(LeeLineas(dir.filePath("autorun.dat")));
    std::printf("viewer reading %d discs: %lld ms\n", l.numDiscos, t.elapsed());
    return fallo.isEmpty() ? 0 : 1;
}
