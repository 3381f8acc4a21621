// The viewer's memory with a full CD: 16 discs of 9 covers of 3000 x 3000
// pixels, after "Ver imagenes" and after every cover has been clicked through.
// Then huge files: 16 discs in 50 MB, and one disc of 830,000 songs: the
// window's opening, "Salir" while the file is read, the reading, the last
// song shown, and the memory against the file's size.
// Run: QT_QPA_PLATFORM=offscreen bench_visor_memoria
#include <QApplication>
#include <QElapsedTimer>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "autorun/frmAuto.h"
#include "common/avisos.h"

namespace {

class SinAvisos : public Avisos {
public:
    void Informa(const QString&, const QString&) override {}
};

// Resident and peak memory of this process, MB.
void Memoria(double& actual, double& pico)
{
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& l : f.readAll().split('\n')) {
        if (l.startsWith("VmRSS:"))
            actual = l.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
        if (l.startsWith("VmHWM:"))
            pico = l.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
}

void OlvidaPico()
{
    QFile picos(QStringLiteral("/proc/self/clear_refs"));
    if (picos.open(QIODevice::WriteOnly))
        picos.write("5");
}

// `discos` discs of `canciones` songs each, with names of a real collection's length.
QByteArray Enorme(int discos, int canciones)
{
    QByteArray t;
    for (int d = 1; d <= discos; ++d) {
        const QByteArray autor = "Autor numero " + QByteArray::number(d);
        t += "[label]\r\n" + autor + "\r\nDisco de prueba\r\n[img]\r\n[canciones]\r\n";
        for (int c = 1; c <= canciones; ++c) {
            const QByteArray n = QByteArray::number(c).rightJustified(6, '0');
            t += "\\" + autor + "\\Disco de prueba\\" + n + "-Cancion " + n + ".mp3\r\n" + n + "-Cancion " + n +
                 "#@#Interprete\r\n";
        }
    }
    return t;
}

// Returns whether every goal was met.
bool MideEnorme(const char* nombre, const QByteArray& texto)
{
    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("autorun.dat")));
        f.open(QIODevice::WriteOnly);
        f.write(texto);
    }
    const double mb = texto.size() / 1048576.0;
    SinAvisos avisos;
    // "Salir" while the file is being read: the window goes, the reading stops.
    QElapsedTimer t;
    t.start();
    double msSalir = 0;
    {
        frmAuto w(dir.path(), 10, avisos);
        w.show();
        QApplication::processEvents();
        const bool leyendo = w.Cargando();
        t.restart();
        w.cmdSalir->click();
        QApplication::processEvents();
        msSalir = t.nsecsElapsed() / 1e6;
        if (!leyendo)
            std::printf("%s: the file was read before Salir\n", nombre);
    }
    const double msFin = t.nsecsElapsed() / 1e6;

    double base = 0, pico = 0;
    OlvidaPico();
    Memoria(base, pico);
    t.restart();
    frmAuto w(dir.path(), 10, avisos);
    w.show();
    QApplication::processEvents();
    const double msVentana = t.nsecsElapsed() / 1e6;
    while (w.Cargando() || w.discosMostrados == 0) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (t.elapsed() > 600000)
            break;
    }
    QApplication::processEvents();
    const double msLeido = t.nsecsElapsed() / 1e6;
    t.restart();
    w.txtdisco[1]->scrollToBottom();
    QApplication::processEvents();
    const double msFinal = t.nsecsElapsed() / 1e6;
    double actual = 0;
    Memoria(actual, pico);
    const double razon = (pico - base) / mb;
    std::printf("%s (%.1f MB, %d discs, %d rows in disc 1):\n"
                "  window open %.0f ms; Salir while reading %.0f ms, window gone and reading stopped %.0f ms"
                " (goal: under 1000 ms)\n"
                "  read and laid out %.0f ms; last song of disc 1 shown %.0f ms\n"
                "  memory %.1f MB over the %.1f MB before: %.2fx the file (goal: at most 4x)\n",
                nombre, mb, w.discosMostrados, w.txtdisco[1]->model() ? w.txtdisco[1]->model()->rowCount() : 0, msVentana,
                msSalir, msFin, msLeido, msFinal, pico - base, base, razon);
    return msVentana < 1000 && msFin < 1000 && razon <= 4;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    // Nine different covers, named by every disc.
    for (int k = 1; k <= 9; ++k) {
        QImage img(3000, 3000, QImage::Format_RGB32);
        img.fill(QColor::fromHsv(k * 35, 200, 200));
        QPainter p(&img);
        for (int i = 0; i < 3000; i += 50)
            p.drawLine(0, i, 3000, 3000 - i);
        p.end();
        img.save(dir.filePath(QStringLiteral("c%1.jpg").arg(k)), "JPG", 90);
    }
    QByteArray texto;
    for (int d = 1; d <= 16; ++d) {
        texto += "[label]\r\nAutor " + QByteArray::number(d) + "\r\nDisco\r\n[img]\r\n";
        for (int k = 1; k <= 9; ++k)
            texto += QFile::encodeName(dir.filePath(QStringLiteral("c%1.jpg").arg(k))) + "\r\n";
        texto += "[canciones]\r\n\\a.mp3\r\nUna\r\n";
    }
    QFile f(dir.filePath(QStringLiteral("autorun.dat")));
    f.open(QIODevice::WriteOnly);
    f.write(texto);
    f.close();

    // The covers made above are no part of the figure: the peak starts here.
    QFile picos(QStringLiteral("/proc/self/clear_refs"));
    if (picos.open(QIODevice::WriteOnly))
        picos.write("5");
    picos.close();
    double actual = 0, pico = 0;
    SinAvisos avisos;
    frmAuto w(dir.path(), 10, avisos);
    w.show();
    QApplication::processEvents();
    Memoria(actual, pico);
    std::printf("loaded:                 %6.1f MB resident, %6.1f MB peak\n", actual, pico);
    w.cmdImagenes->click();
    QApplication::processEvents();
    Memoria(actual, pico);
    std::printf("after Ver imagenes:     %6.1f MB resident, %6.1f MB peak\n", actual, pico);
    for (int d = 1; d <= w.discosMostrados; ++d)
        for (int k = 1; k < 9; ++k)
            QTest::mouseClick(w.imgdisco[d], Qt::LeftButton);
    QApplication::processEvents();
    Memoria(actual, pico);
    std::printf("after 144 covers shown: %6.1f MB resident, %6.1f MB peak (goal: under 150 MB)\n", actual, pico);
    bool bien = pico < 150;
    bien = MideEnorme("16 discs in 50 MB", Enorme(16, 33000)) && bien;
    bien = MideEnorme("one disc of 830,000 songs", Enorme(1, 830000)) && bien;
    return bien ? 0 : 1;
}
