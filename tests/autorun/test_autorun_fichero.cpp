// autorun.dat as the writer leaves it beside the program.
#include <QtTest>

#include "autorun/arbol.h"
#include "autorun/escribeautorun.h"
#include "autorun/ficheroautorun.h"
#include "autorun/filas.h"
#include "decoding/campos.h"
#include "support/testsupport.h"

namespace {

QByteArray Lineas(const QList<QByteArray>& lineas)
{
    QByteArray b;
    for (const QByteArray& l : lineas)
        b += l + "\r\n";
    return b;
}

// One author Ana with a disc Hits: two songs and a cover in a sub-folder.
ListaTrabajo AnaHits(const QString& base)
{
    ListaTrabajo lista;
    AnadeFila(lista, "Ana\\Hits\\01-Uno.mp3", base + "/Ana/Hits/01-Uno.mp3", "f", "Ana", "Hits", "Uno", "01");
    AnadeFila(lista, "Ana\\Hits\\02-Dos.mp3", base + "/Ana/Hits/02-Dos.mp3", "f", "Ana", "Hits", "Dos", "02");
    AnadeFila(lista, "Covers\\front.jpg", base + "/Covers/front.jpg", "p", "Ana", "Hits");
    return lista;
}

}  // namespace

class TestFichero : public QObject {
    Q_OBJECT
private slots:
    void diezLineasEnLosDosModos()
    {
        QTemporaryDir dir;
        ListaTrabajo lista = AnaHits("/media/cd");
        CamposLlevados campos;
        const ArbolDiscos arbol = GeneraArbol(lista, campos);

        QVERIFY(EscribeAutorun(arbol, true, dir.path()).isEmpty());
        const QByteArray relativo = LeeFichero(dir.filePath("autorun.dat"));
        QCOMPARE(relativo, Lineas({"[label]", "Ana", "Hits", "[img]", "\\Covers\\front.jpg", "[canciones]",
                                   "\\Ana\\Hits\\01-Uno.mp3", "01-Uno", "\\Ana\\Hits\\02-Dos.mp3", "02-Dos"}));

        // Full picture paths for the preview; song paths stay relative. The
        // old file is replaced.
        QVERIFY(EscribeAutorun(arbol, false, dir.path() + "/").isEmpty());
        QCOMPARE(LeeFichero(dir.filePath("autorun.dat")),
                 Lineas({"[label]", "Ana", "Hits", "[img]", "/media/cd/Covers/front.jpg", "[canciones]",
                         "\\Ana\\Hits\\01-Uno.mp3", "01-Uno", "\\Ana\\Hits\\02-Dos.mp3", "02-Dos"}));

        // Rows added to the work list after the tree was built do not change
        // which picture the file names.
        AnadeFila(lista, "AAA\\otra.jpg", "/media/cd/AAA/otra.jpg", "p", "Ana", "Hits");
        QCOMPARE(TextoAutorun(arbol, true), relativo);
    }

    void seccionesVaciasYFotoDeAutor()
    {
        ListaTrabajo lista;
        lista.PonOrdenada(false);
        AnadeFila(lista, "Ana\\Fotos\\a.jpg", "/cd/Ana/Fotos/a.jpg", "p", "Ana", "Fotos");
        AnadeFila(lista, "Ana\\Fotos\\b.gif", "/cd/Ana/Fotos/b.gif", "p", "Ana", "Fotos");
        AnadeFila(lista, "Ana\\yo.jpg", "/cd/Ana/yo.jpg", "p", "Ana", "");
        AnadeFila(lista, "Bea\\Sol\\Uno.mp3", "/cd/Bea/Sol/Uno.mp3", "f", "Bea", "Sol", "Uno", "00");
        AnadeFila(lista, "Bea\\Sol\\Otro.mp3", "/cd/Bea/Sol/Otro.mp3", "f", "Bea", "Sol", "Uno", "00");
        AnadeFila(lista, "Hits\\01-Song.mp3", "/cd/Hits/01-Song.mp3", "v", "Performer", "Hits", "Song", "01");
        CamposLlevados campos;
        QCOMPARE(TextoAutorun(GeneraArbol(lista, campos), true),
                 Lineas({"[label]", "Ana", "Fotos", "[img]", "\\Ana\\Fotos\\a.jpg", "\\Ana\\Fotos\\b.gif", "[canciones]",
                         "[label]", "Bea", "Sol", "[img]", "[canciones]",
                         "\\Bea\\Sol\\Uno.mp3", "Uno", "\\Bea\\Sol\\Otro.mp3", "Uno",
                         "[label]", "<Varios Artistas>", "Hits", "[img]", "[canciones]",
                         "\\Hits\\01-Song.mp3", "01-Song#@#Performer"}));
    }

    void textosEnUtf8()
    {
        ListaTrabajo lista;
        AnadeFila(lista, "Niña\\Canción.mp3", "/cd/Niña/Canción.mp3", "f", "Niña", "Año ñu", "Canción", "03");
        CamposLlevados campos;
        const QByteArray t = TextoAutorun(GeneraArbol(lista, campos), true);
        QVERIFY(!t.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(t), QStringLiteral(
            "[label]\r\nNiña\r\nAño ñu\r\n[img]\r\n[canciones]\r\n\\Niña\\Canción.mp3\r\n03-Canción\r\n"));
        // A line feed or tab in a name is written as a blank: no phantom line.
        ListaTrabajo raras;
        AnadeFila(raras, "Dos\nlineas\\Can\tcion.mp3", "/cd/x.mp3", "f", "Dos\nlineas", "Disco\r", "Can\tcion", "01");
        QCOMPARE(QString::fromUtf8(TextoAutorun(GeneraArbol(raras, campos), true)), QStringLiteral(
            "[label]\r\nDos lineas\r\nDisco \r\n[img]\r\n[canciones]\r\n\\Dos lineas\\Can cion.mp3\r\n01-Can cion\r\n"));
    }

    void arbolSinAutoresDaFicheroVacio()
    {
        QTemporaryDir dir;
        EscribeFichero(dir.filePath("autorun.dat"), "viejo\r\n");
        ListaTrabajo lista;
        CamposLlevados campos;
        QVERIFY(EscribeAutorun(GeneraArbol(lista, campos), true, dir.path()).isEmpty());
        QVERIFY(QFileInfo::exists(dir.filePath("autorun.dat")));
        QCOMPARE(LeeFichero(dir.filePath("autorun.dat")), QByteArray());
        // Never built at all: the same empty file.
        QVERIFY(EscribeAutorun(ArbolDiscos(), true, dir.path()).isEmpty());
        QCOMPARE(LeeFichero(dir.filePath("autorun.dat")), QByteArray());
    }

    void rutaDelFichero()
    {
        QCOMPARE(autorun::RutaFichero("/"), QDir::toNativeSeparators("/autorun.dat"));
        QCOMPARE(autorun::RutaFichero("/opt/lodrin"), QDir::toNativeSeparators("/opt/lodrin/autorun.dat"));
        QCOMPARE(autorun::RutaFichero("/opt/lodrin/"), QDir::toNativeSeparators("/opt/lodrin/autorun.dat"));
    }

    void carpetaQueNoSePuedeEscribir()
    {
        QTemporaryDir dir;
        // A file where the folder should be, and a folder that is not there.
        const QString fichero = EscribeFichero(dir.filePath("soy_un_fichero"), "x");
        ListaTrabajo lista = AnaHits(dir.path());
        CamposLlevados campos;
        const ArbolDiscos arbol = GeneraArbol(lista, campos);
        QCOMPARE(EscribeAutorun(arbol, true, fichero), autorun::RutaFichero(fichero));
        QCOMPARE(LeeFichero(fichero), QByteArray("x"));
        const QString falta = dir.filePath("no/existe");
        QCOMPARE(EscribeAutorun(arbol, true, falta), autorun::RutaFichero(falta));
        QVERIFY(!QFileInfo::exists(falta));
    }
};

QTEST_GUILESS_MAIN(TestFichero)
#include "test_autorun_fichero.moc"
