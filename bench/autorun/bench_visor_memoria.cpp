// The viewer's memory with a full CD: 16 discs of 9 covers of 3000 x 3000
// pixels, after "Ver imagenes" and after every cover has been clicked through.
// Run: QT_QPA_PLATFORM=offscreen bench_visor_memoria
#include <QApplication>
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
    return pico < 150 ? 0 : 1;
}
