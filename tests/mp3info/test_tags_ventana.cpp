// "Poner Tag's" and "Borrar tag's" over the main window's work list.
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window/frmVaro.h"
#include "store/catalogo.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

class TestTagsVentana : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QByteArray audio;

    // A row as the analysis leaves it: kind, author, disc, song, position, mask.
    static void Analizada(ListaTrabajo& l, int i, const QString& autor, const QString& disco, const QString& cancion)
    {
        l.PonSubItem(i, columna::kAutor, autor);
        l.PonSubItem(i, columna::kDisco, disco);
        l.PonSubItem(i, columna::kCancion, cancion);
        l.PonSubItem(i, columna::kPosicion, QStringLiteral("1"));
    }

private slots:
    void initTestCase()
    {
        const QString ruta = CreaMp3(dir.filePath("fuente.mp3"), 1.4, {"-b", "64"});
        QVERIFY(!ruta.isEmpty());
        audio = LeeFichero(ruta);
    }

    void buttonsWalkTheListInOrder()
    {
        QTemporaryDir tmp;
        Catalogo bd(tmp.filePath("anterior.mdb"), "tv1");
        UnidadesFalsas unidades;
        AvisosAnotados avisos;
        frmVaro w(bd, unidades, avisos, tmp.path());
        w.Form_Load();

        const QString base = tmp.path() + "/cd/";
        const QString uno = EscribeFichero(base + "a/uno.mp3", audio);
        const QString varios = EscribeFichero(base + "a/varios.mp3", audio);
        const QString nunca = EscribeFichero(base + "a/nunca.mp3", audio);
        const QString foto = EscribeFichero(base + "a/foto.jpg", "JPEG....");
        const QString texto = EscribeFichero(base + "a/leeme.txt", "hola");
        const QString lista = EscribeFichero(base + "a/lista.m3u", "uno.mp3\n");
        ListaTrabajo& l = w.Lista();
        l.PonOrdenada(false);
        l.Anade("a\\", base, "#", "Carpeta");
        Analizada(l, l.Anade("a\\uno.mp3", uno, "f", "Mp3"), "Autor Uno", "Disco", "Canción");
        Analizada(l, l.Anade("a\\varios.mp3", varios, "v", "Mp3"), "", "", "");
        l.Anade("a\\nunca.mp3", nunca, "f", "Mp3");  // never analysed
        for (const auto& [nombre, ruta, tipo] : {std::tuple{"a\\foto.jpg", foto, "p"}, {"a\\leeme.txt", texto, "c"},
                                                 {"a\\lista.m3u", lista, "l"}})
            Analizada(l, l.Anade(nombre, ruta, tipo, "Otro"), "X", "Y", "Z");
        w.RefrescaLista();
        const QByteArray fotoAntes = LeeFichero(foto), textoAntes = LeeFichero(texto), listaAntes = LeeFichero(lista);
        const int filas = l.Cuenta();

        Hijo<QPushButton>(w, "cmdWriteTag")->setEnabled(true);
        QTest::mouseClick(Hijo<QPushButton>(w, "cmdWriteTag"), Qt::LeftButton);
        QCOMPARE(LeeFichero(uno).size(), audio.size() + 128);
        QCOMPARE(LeeFichero(uno).right(128).mid(3, 30), QByteArray("Canci\xF3n").leftJustified(30));
        QCOMPARE(LeeFichero(uno).right(128).mid(33, 30), QByteArray("Autor Uno").leftJustified(30));
        QCOMPARE(LeeFichero(varios).right(128), QByteArray("TAG") + QByteArray(94, ' ') +
                                                    "TAG puesto por Brenvo by Tarn'0");
        QCOMPARE(LeeFichero(nunca), audio);
        QCOMPARE(LeeFichero(foto), fotoAntes);
        QCOMPARE(LeeFichero(texto), textoAntes);
        QCOMPARE(LeeFichero(lista), listaAntes);
        QVERIFY(avisos.textos.isEmpty());

        // Pressed again, the tags are rewritten in place.
        w.cmdWriteTag_Click();
        QCOMPARE(LeeFichero(uno).size(), audio.size() + 128);

        w.cmdDeleteTag_Click();
        QCOMPARE(LeeFichero(uno), audio + QByteArray(127, '\0') + '0');
        QCOMPARE(LeeFichero(varios), audio + QByteArray(127, '\0') + '0');
        QCOMPARE(LeeFichero(nunca), audio);
        QCOMPARE(LeeFichero(foto), fotoAntes);
        QVERIFY(avisos.textos.isEmpty());
        // Neither button changes the list.
        QCOMPARE(l.Cuenta(), filas);
        QCOMPARE(l.SubItem(2, columna::kCancion), QString("Canción"));
    }

    void failureStopsTheRunAndNamesTheFile()
    {
        QTemporaryDir tmp;
        Catalogo bd(tmp.filePath("anterior.mdb"), "tv2");
        UnidadesFalsas unidades;
        AvisosAnotados avisos;
        frmVaro w(bd, unidades, avisos, tmp.path());
        w.Form_Load();

        const QString base = tmp.path() + "/cd/";
        const QString primero = EscribeFichero(base + "1.mp3", audio);
        const QString perdido = base + "2.mp3";  // removed after the list was made
        const QString tercero = EscribeFichero(base + "3.mp3", audio);
        ListaTrabajo& l = w.Lista();
        for (const QString& ruta : {primero, perdido, tercero})
            Analizada(l, l.Anade(ruta.mid(base.size()), ruta, "f", "Mp3"), "A", "D", "C");
        w.RefrescaLista();

        w.cmdWriteTag_Click();
        QCOMPARE(avisos.textos.size(), 1);
        QVERIFY(avisos.textos.first().contains(perdido));
        QCOMPARE(avisos.titulos.first(), QString("Poner Tag's"));
        QCOMPARE(LeeFichero(primero).size(), audio.size() + 128);
        QVERIFY(!QFile::exists(perdido));
        QCOMPARE(LeeFichero(tercero), audio);

        w.cmdDeleteTag_Click();
        QCOMPARE(avisos.textos.size(), 2);
        QVERIFY(avisos.textos.last().contains(perdido));
        QCOMPARE(LeeFichero(primero), audio + QByteArray(127, '\0') + '0');
        QVERIFY(!QFile::exists(perdido));
    }
};

QTEST_MAIN(TestTagsVentana)
#include "test_tags_ventana.moc"
