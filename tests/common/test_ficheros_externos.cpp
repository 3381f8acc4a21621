// Paths that come from outside (a CD, a dropped file, a line of autorun.dat)
// may name a FIFO: every reader of them refuses it at once, and the user sees
// what a missing or unreadable file gives. A reader that waited for the FIFO's
// writer would hang this test until CTest's timeout. Files of /proc and /sys
// are refused the same way.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

#include "autorun/frmAuto.h"
#include "store/catalogo.h"
#include "catalogue/objetos.h"
#include "common/lodrinerror.h"
#include "mp3info/infomp3.h"
#include "mp3info/tagid3.h"
#include "support/motorprueba.h"
#include "support/testsupport.h"

class TestFicherosExternos : public QObject {
    Q_OBJECT
private slots:
    void fifoNeverWaits();
};

void TestFicherosExternos::fifoNeverWaits()
{
    QTemporaryDir dir;
    const QString programa = dir.filePath("prog");
    QDir().mkpath(programa);
    Catalogo bd(CatalogoDePrueba(programa), "fifos");
    bd.AbreBaseDatos();
    AvisosAnotados avisos;
    const QString cd = dir.filePath("cd");

    struct Fila {
        const char* lector;
        QString fifo;  // where the FIFO is made
        std::function<QString()> muestra;  // what the user sees after the reader ran
        QString esperado;
    };
    auto visor = [&](const QString& carpeta) {
        frmAuto w(carpeta, 5, avisos);
        w.cmdImagenes_Click();
        return QStringLiteral("%1 discos, caratula %2").arg(w.discosMostrados).arg(
            w.discosMostrados ? (w.imgdisco[1]->pixmap().isNull() ? w.imgdisco[1]->text().trimmed() : "imagen") : "-");
    };
    const QString conPortada = dir.filePath("conportada");
    EscribeFichero(conPortada + "/autorun.dat",
                   "[label]\r\nAna\r\nPrimero\r\n[img]\r\n\\portada.jpg\r\n[canciones]\r\n\\a.mp3\r\nUna\r\n");
    const QList<Fila> filas{
        {"mp3", cd + "/a.mp3",
         [&] {
             HP hp;
             return QStringLiteral("%1 %2").arg(DameInfoMp3(cd + "/a.mp3", hp)).arg(hp.tiempo);
         },
         "0 0"},
        {"tag", cd + "/b.mp3", [&] { return QString::number(TieneTag(cd + "/b.mp3")); }, "0"},
        {"autorun.dat", dir.filePath("visor/autorun.dat"), [&] { return visor(dir.filePath("visor")); },
         "0 discos, caratula -"},
        {"cover in the viewer", conPortada + "/portada.jpg", [&] { return visor(conPortada); },
         "1 discos, caratula ANA---Primero"},
        {"picture recorded from the list", cd + "/portada.jpg",
         [&] {
             try {
                 GrabaObjeto(bd, programa, "d", 1, "\\portada.jpg", cd + "/portada.jpg", true);
                 return QStringLiteral("grabada");
             } catch (const LodrinError& e) {
                 return e.message();
             }
         },
         "No se ha podido guardar la imagen \\portada.jpg en el catálogo " + programa +
             "/anterior.mdb: No se puede copiar la imagen " + cd + "/portada.jpg: no es un fichero normal"},
        // The browser's cover and the listing both take the copy from here.
        {"copy of a picture", CarpetaImagenes(programa) + "/7.jpg",
         [&] { return "[" + CopiaExistente(programa, 7) + "]"; }, "[]"},
    };
    // Then the same paths as links into /proc, whose files pass for regular
    // ones: they are refused alike.
    for (const bool nucleo : {false, true}) {
        for (const Fila& f : filas) {
            QDir().mkpath(QFileInfo(f.fifo).path());
            QFile::remove(f.fifo);
            QVERIFY2(nucleo ? QFile::link(QStringLiteral("/proc/self/status"), f.fifo)
                            : mkfifo(QFile::encodeName(f.fifo).constData(), 0600) == 0,
                     f.lector);
            const QString visto = f.muestra();
            QVERIFY2(visto == f.esperado, qPrintable(QStringLiteral("%1%2: %3").arg(f.lector, nucleo ? " (/proc)" : "", visto)));
        }
    }
}

QTEST_MAIN(TestFicherosExternos)
#include "test_ficheros_externos.moc"
