// "Poner Tag's" and "Borrar tag's" over the main window's work list.
#include <QProgressBar>
#include <utility>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window/frmVaro.h"
#include "support/etiquetasprueba.h"
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
        QCOMPARE(SinId3v2(LeeFichero(uno)).size(), audio.size() + 128);
        const qsizetype largo = LeeFichero(uno).size();
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
        QCOMPARE(LeeFichero(uno).size(), largo);

        w.cmdDeleteTag_Click();
        QCOMPARE(SinId3v2(LeeFichero(uno)), audio + QByteArray(127, '\0') + '0');
        QCOMPARE(SinId3v2(LeeFichero(varios)), audio + QByteArray(127, '\0') + '0');
        QCOMPARE(LeeFichero(nunca), audio);
        QCOMPARE(LeeFichero(foto), fotoAntes);
        QVERIFY(avisos.textos.isEmpty());
        // Neither button changes the list.
        QCOMPARE(l.Cuenta(), filas);
        QCOMPARE(l.SubItem(2, columna::kCancion), QString("Canción"));
    }

    // A batch goes on past the files that have gone and ends with one
    // summary naming them; cancelled, the files done keep their tags and the
    // summary names those left.
    void batchGoesOnPastMissingFilesAndCanBeCancelled()
    {
        QTemporaryDir tmp;
        AjustesEn(tmp.filePath("config"));
        Catalogo bd(tmp.filePath("anterior.mdb"), "tv2");
        UnidadesFalsas unidades;
        AvisosAnotados avisos;
        frmVaro w(bd, unidades, avisos, tmp.path());
        w.Form_Load();

        const QString base = tmp.path() + "/cd/";
        QStringList rutas;
        for (const char* nombre : {"1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3"})
            rutas << EscribeFichero(base + nombre, audio);
        ListaTrabajo& l = w.Lista();
        for (const QString& ruta : rutas)
            Analizada(l, l.Anade(ruta.mid(base.size()), ruta, "f", "Mp3"), "A", "D", "C");
        w.RefrescaLista();
        // Removed after the list was made.
        QVERIFY(QFile::remove(rutas[1]) && QFile::remove(rutas[3]));

        w.cmdWriteTag_Click();
        QCOMPARE(avisos.fallos.size(), 1);
        QCOMPARE(avisos.titulos.first(), QString("Poner Tag's"));
        QVERIFY(avisos.textos.first().startsWith("No se han podido hacer 2 de 5 ficheros"));
        QVERIFY(avisos.textos.first().contains(rutas[1]) && avisos.textos.first().contains(rutas[3]));
        for (int i : {0, 2, 4})
            QCOMPARE(SinId3v2(LeeFichero(rutas[i])).size(), audio.size() + 128);

        // Escape after the first file: it keeps its blanked tag, the others
        // keep theirs and are named.
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* barra = Hijo<QProgressBar>(w, "prgLoad");
        connect(barra, SIGNAL(Avanzado(int)), this, SLOT(pulsaEscape()));
        ventana_ = &w;
        w.cmdDeleteTag_Click();
        QCOMPARE(avisos.textos.size(), 2);
        QCOMPARE(avisos.textos.last(), "Cancelado: quedan sin hacer 4 de 5 ficheros:\n" + rutas.mid(1).join('\n'));
        QCOMPARE(avisos.fallos.size(), 1);  // a cancel is no failure
        QCOMPARE(SinId3v2(LeeFichero(rutas[0])), audio + QByteArray(127, '\0') + '0');
        for (int i : {2, 4})
            QCOMPARE(SinId3v2(LeeFichero(rutas[i])).size(), audio.size() + 128);
        QVERIFY(barra->isHidden());
        QVERIFY(Hijo<QPushButton>(w, "cmdNueva")->isEnabled());
    }

    void pulsaEscape()
    {
        if (ventana_)
            QTest::keyClick(std::exchange(ventana_, nullptr), Qt::Key_Escape);
    }

private:
    QWidget* ventana_ = nullptr;
};

QTEST_MAIN(TestTagsVentana)
#include "test_tags_ventana.moc"
