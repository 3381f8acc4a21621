#include "arbolbusca.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTreeView>
#include <ctime>
#include <sys/resource.h>

#include "main_window/frmVaro.h"

int CreaArbolBusca(const QString& raiz)
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

namespace {
// Processor ms used by the children waited for so far.
double MsHijos()
{
    rusage u{};
    ::getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}
// Processor ms used by this process so far.
double MsPropios()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
}  // namespace

QList<double> TiemposFind(const QString& raiz, int vueltas, QList<double>* cpu)
{
    QList<double> r;
    for (int i = 0; i <= vueltas; ++i) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer t;
        const double c = MsHijos();
        t.start();
        p.start("find", {raiz});
        p.waitForFinished(-1);
        if (i > 0) {
            r << double(t.nsecsElapsed()) / 1e6;
            if (cpu)
                *cpu << MsHijos() - c;
        }
    }
    return r;
}

QList<double> TiemposBusca(frmVaro& w, const QString& raiz, int vueltas, int& filas, QList<double>* cpu)
{
    QList<double> r;
    for (int i = 0; i <= vueltas; ++i) {
        w.cmdNueva_Click();
        w.lstVBusca_OLEDragDrop({raiz});
        QApplication::processEvents();
        QElapsedTimer t;
        const double c = MsPropios();
        t.start();
        w.cmdBusca_Click();
        w.findChild<QTreeView*>(QStringLiteral("lstVBusca"))->repaint();  // the rows drawn, not only listed
        QApplication::processEvents();
        if (i > 0) {
            r << double(t.nsecsElapsed()) / 1e6;
            if (cpu)
                *cpu << MsPropios() - c;
        }
        filas = w.findChild<QTreeView*>(QStringLiteral("lstVBusca"))->model()->rowCount();
    }
    return r;
}
