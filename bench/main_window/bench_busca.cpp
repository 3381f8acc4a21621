// "Busca" over 20,000 files in 2,000 folders, with the rows shown in the
// window, against `find` listing the same tree. Prints both medians.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>

#include "catalogue/catalogo.h"
#include "common/avisos.h"
#include "main_window/exploracion.h"
#include "main_window/frmVaro.h"
#include "main_window/unidades.h"

namespace {

class SinAvisos : public Avisos {
public:
    void Informa(const QString&, const QString&) override {}
};

class SinUnidades : public Unidades {
public:
    QList<Volumen> Lista() override { return {}; }
    int Actual() override { return -1; }
};

// 50 authors with 39 discs each: 2,000 folders. Ten files in each disc and
// author folder: 20,000 files, of which eight in ten are MP3s.
int CreaArbol(const QString& raiz)
{
    static const char* const nombres[10] = {"01 Uno.mp3", "02 Dos.mp3", "03 Tres.mp3", "04 Cuatro.mp3",
                                            "05 Cinco.mp3", "06 Seis.mp3", "07 Siete.mp3", "08 Ocho.mp3",
                                            "portada.jpg", "notas.txt"};
    int ficheros = 0;
    auto llena = [&](const QString& carpeta) {
        QDir().mkpath(carpeta);
        for (const char* n : nombres) {
            QFile f(carpeta + "/" + QLatin1String(n));
            if (f.open(QIODevice::WriteOnly))
                ++ficheros;
        }
    };
    for (int a = 0; a < 50; ++a) {
        const QString autor = QStringLiteral("%1/Autor %2").arg(raiz).arg(a, 2, 10, QLatin1Char('0'));
        llena(autor);
        for (int d = 0; d < 39; ++d)
            llena(QStringLiteral("%1/Disco %2").arg(autor).arg(d, 2, 10, QLatin1Char('0')));
    }
    return ficheros;
}

double Mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString raiz = dir.path() + "/Musica";
    const int ficheros = CreaArbol(raiz);
    constexpr int kVueltas = 7;

    QList<double> find;
    for (int i = 0; i <= kVueltas; ++i) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        p.start("find", {raiz});
        p.waitForFinished(-1);
        if (i > 0)  // the first run only warms the cache
            find << t.nsecsElapsed() / 1e6;
    }

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
    QList<double> busca;
    int filas = 0;
    for (int i = 0; i <= kVueltas; ++i) {
        w.cmdNueva_Click();
        w.lstVBusca_OLEDragDrop({raiz});
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        w.cmdBusca_Click();
        w.lstVBusca->repaint();  // the rows drawn, not only listed
        QApplication::processEvents();
        if (i > 0)
            busca << t.nsecsElapsed() / 1e6;
        filas = w.lstVBusca->model()->rowCount();
    }

    const double mf = Mediana(find);
    const double mb = Mediana(busca);
    std::printf("tree: %d files, %d rows in the list\n", ficheros, filas);
    std::printf("find  : median %.1f ms over %d runs\n", mf, kVueltas);
    std::printf("list  : median %.1f ms without the window\n", Mediana(logica));
    std::printf("Busca : median %.1f ms over %d runs (%.2f x find)\n", mb, kVueltas, mb / mf);
    return mb <= 3 * mf ? 0 : 1;
}
