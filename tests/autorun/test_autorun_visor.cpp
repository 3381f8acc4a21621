// The viewer window reading autorun.dat files written by hand and by the writer.
#include <QtTest>
#include <QPushButton>

#include "autorun/arbol.h"
#include "autorun/escribeautorun.h"
#include "autorun/filas.h"
#include "autorun/frmAuto.h"
#include "decoding/campos.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

namespace {

QByteArray Lineas(const QStringList& lineas)
{
    QByteArray b;
    for (const QString& l : lineas)
        b += l.toUtf8() + "\r\n";
    return b;
}

// n discs "Autor k" / "Disco k", each with one song.
QStringList Discos(int n)
{
    QStringList l;
    for (int k = 1; k <= n; ++k)
        l << "[label]" << QString("Autor %1").arg(k) << QString("Disco %1").arg(k) << "[img]" << "[canciones]"
          << QString("\\a\\%1.mp3").arg(k) << QString("Cancion %1").arg(k);
    return l;
}

template <typename Caja>
QList<int> Visibles(const std::array<Caja*, 21>& cajas)
{
    QList<int> v;
    for (int d = 0; d < 21; ++d)
        if (!cajas[d]->isHidden())
            v << d;
    return v;
}

QList<int> Uno_A(int n)
{
    QList<int> v;
    for (int d = 1; d <= n; ++d)
        v << d;
    return v;
}

// Width of the picture a cover box holds (pictures are told apart by width).
int AnchoImagen(const CajaDisco* c) { return c->pixmap().isNull() ? 0 : c->pixmap().width(); }

}  // namespace

class TestVisor : public QObject {
    Q_OBJECT
private slots:
    void textoDeLaCajaYCabeceras()
    {
        LectorAutorun l;
        l.Lee({"prologo ignorado", "[label]", "Ana", "Hits", "[img]x", "\\c.jpg", "[canciones]", "\\Ana\\1.mp3",
               "01-Uno", "\\Ana\\2.mp3", "02-Dos#@#Otro", "[label]basura", "bea", "", "[canciones]"});
        QCOMPARE(l.numDiscos, 2);
        QCOMPARE(l.Texto(1), QString("ANA---Hits\r\n\r\n01-Uno\r\n02-Dos (Otro)\r\n"));
        QCOMPARE(l.texto2[1], QString("ANA---Hits\r\n\r\n"));
        QCOMPARE(l.rutaImagen[1][1], QString("\\c.jpg"));
        QCOMPARE(l.imagenesDisco[1], 1);
        QCOMPARE(l.Texto(2), QString("BEA---\r\n\r\n"));
        QCOMPARE(l.imagenActual[2], 0);
        QCOMPARE(l.lineasDeMas, 0);
    }

    // Names that look like section headers are read back as the names they
    // were, and files written before (no "[[" in front) read as they did.
    // Names written and read back as they were: those that look like headers
    // or hold the various-artists separator.
    void nombresComoCabeceras_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<bool>("varios");  // a various-artists song whose performer is the name too
        for (const char* n : {"[label] Sony", "[label]", "[img]", "[canciones]", "[img]x", "[[doble", "[[label]",
                              "[suelto]", "[", "normal", "#@#", "Título#@#Intérprete", "a#@@#b", "fin#@", "#@@"})
            for (const bool varios : {false, true})
                QTest::addRow("%s%s", n, varios ? ", varios" : "") << QString::fromUtf8(n) << varios;
    }
    void nombresComoCabeceras()
    {
        QFETCH(QString, nombre);
        QFETCH(bool, varios);
        ListaTrabajo lista;
        AnadeFila(lista, "a\\1.mp3", "/cd/a/1.mp3", varios ? "v" : "f", nombre, nombre, nombre, "00");
        CamposLlevados campos;
        QStringList lineas = QString::fromUtf8(TextoAutorun(GeneraArbol(lista, campos), true)).split("\r\n");
        lineas.removeLast();
        LectorAutorun l;
        l.Lee(lineas);
        QCOMPARE(l.numDiscos, 1);
        const QString autor = varios ? QString(kVariosArtistas) : nombre;
        QCOMPARE(l.Texto(1), autor.toUpper() + "---" + nombre + "\r\n\r\n" + nombre +
                                 (varios ? " (" + nombre + ")" : QString()) + "\r\n");
    }

    void lecturaDeLineas()
    {
        QTemporaryDir dir;
        // UTF-8 with a byte-order mark and a last line without its end.
        EscribeFichero(dir.filePath("a.dat"), "\xEF\xBB\xBF[label]\r\nNi\xC3\xB1" "a\nfin");
        QCOMPARE(LeeLineas(dir.filePath("a.dat")), (QStringList{"[label]", QStringLiteral("Niña"), "fin"}));
        // Written by hand in an 8-bit code page.
        EscribeFichero(dir.filePath("b.dat"), "A\xF1o\r\n\r\n");
        QCOMPARE(LeeLineas(dir.filePath("b.dat")), (QStringList{QStringLiteral("Año"), ""}));
        // Each line decides its own: a file cut inside a letter garbles only that line.
        EscribeFichero(dir.filePath("c.dat"), "FILARM\xC3\x93NICA\r\nCorte \xC3\r\nA\xF1o\r\n");
        QCOMPARE(LeeLineas(dir.filePath("c.dat")),
                 (QStringList{QStringLiteral("FILARMÓNICA"), QStringLiteral("Corte Ã"), QStringLiteral("Año")}));
        QCOMPARE(LeeLineas(dir.filePath("no.dat")), QStringList());
    }

    void rejillas_data()
    {
        QTest::addColumn<int>("discos");
        QTest::addColumn<int>("lado");
        QTest::newRow("4") << 4 << 2;
        QTest::newRow("5") << 5 << 3;
        QTest::newRow("10") << 10 << 4;
        QTest::newRow("16") << 16 << 4;
        QTest::newRow("1") << 1 << 2;
    }
    void rejillas()
    {
        QFETCH(int, discos);
        QFETCH(int, lado);
        QTemporaryDir dir;
        EscribeFichero(dir.filePath("autorun.dat"), Lineas(Discos(discos)));
        AvisosAnotados avisos;
        frmAuto w(dir.path(), 10, avisos);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(avisos.textos, QStringList());
        QCOMPARE(w.lado, lado);
        QCOMPARE(Visibles(w.txtdisco), Uno_A(discos));
        QCOMPARE(Visibles(w.txtdisco2), QList<int>());

        // Discs fill the grid column by column: disc d sits in column
        // (d-1) div lado, row (d-1) mod lado, all cells of one size.
        const QRect primero = w.txtdisco[1]->geometry();
        for (int d = 1; d <= discos; ++d) {
            const QRect r = w.txtdisco[d]->geometry();
            QCOMPARE(r.size(), primero.size());
            const int columna = (d - 1) / lado, fila = (d - 1) % lado;
            QVERIFY(qAbs(r.left() - (primero.left() + columna * primero.width())) <= 1);
            QVERIFY(qAbs(r.top() - fila * primero.height()) <= 1);
            // Inside the window and above the information text and buttons.
            QVERIFY(r.right() < w.width());
            QVERIFY(r.bottom() < w.lblInfo->geometry().top());
            QVERIFY(r.bottom() < w.cmdImagenes->geometry().top());
            QCOMPARE(w.txtdisco[d]->isReadOnly(), true);
        }
        QVERIFY(primero.top() == 0 && primero.left() > 0);
        // The grid spans most of the window whatever its size.
        QVERIFY(primero.width() * lado > w.width() * 8 / 10);
        QVERIFY(primero.height() * lado > w.lblInfo->geometry().top() * 9 / 10);
        QCOMPARE(w.txtdisco[discos]->toPlainText(),
                 QString("AUTOR %1---Disco %1\n\nCancion %1\n").arg(discos));
        QCOMPARE(w.txtdisco[1]->alignment(), Qt::AlignHCenter);
    }

    // A file larger than the window reads at once is read in the background:
    // the window is there at once, the songs come as rows of a list, and
    // closing it while it reads stops the reading.
    void ficheroGrandeEnSegundoPlano()
    {
        QTemporaryDir dir;
        QByteArray t = "[label]\r\nAna\r\nHits\r\n[img]\r\n[canciones]\r\n";
        const int canciones = 100000;
        for (int k = 0; k < canciones; ++k)
            t += "\\a\\" + QByteArray::number(k) + ".mp3\r\nCancion " + QByteArray::number(k) + "\r\n";
        QVERIFY(t.size() > frmAuto::kLecturaInmediata);
        EscribeFichero(dir.filePath("autorun.dat"), t);
        AvisosAnotados avisos;
        {
            frmAuto cerrada(dir.path(), 10, avisos);
            cerrada.cmdSalir->click();
        }
        frmAuto w(dir.path(), 10, avisos);
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(!w.Cargando(), 60000);
        QCOMPARE(w.discosMostrados, 1);
        QCOMPARE(w.txtdisco[1]->model()->rowCount(), canciones + 2);
        QCOMPARE(w.txtdisco[1]->model()->index(canciones + 1, 0).data().toString(), QString("Cancion 99999"));
        QCOMPARE(w.txtdisco[1]->model()->index(0, 0).data().toString(), QString("ANA---Hits"));
        QCOMPARE(avisos.textos, QStringList());
    }

    void diecisieteDiscosNo()
    {
        QTemporaryDir dir;
        QStringList l = Discos(17);
        l << "[img]" << "\\fuera.jpg";
        EscribeFichero(dir.filePath("autorun.dat"), Lineas(l));
        AvisosAnotados avisos;
        frmAuto w(dir.path(), 10, avisos);
        QCOMPARE(avisos.textos, QStringList{"numero de discos no tratable con autorun maximo 16: 17"});
        QCOMPARE(w.datos.lineasDeMas, 5);
        QCOMPARE(w.discosMostrados, 0);
        w.cmdImagenes->click();
        QCOMPARE(Visibles(w.txtdisco), QList<int>());
        QCOMPARE(Visibles(w.txtdisco2), QList<int>());
        w.cmdCanciones->click();
        QCOMPARE(Visibles(w.txtdisco), QList<int>());
        QCOMPARE(w.lblInfo->text(), QString("Autorun generado con BRENVO 1.10 de Tarn'00 \r\n"
                                            "lodrin@example.org - vistel@example.org"));
    }

    void muchisimosDiscosNoDanLaVuelta()
    {
        QTemporaryDir dir;
        QStringList l;
        for (int k = 0; k < 40000; ++k)
            l << "[label]" << "x";
        EscribeFichero(dir.filePath("autorun.dat"), Lineas(l));
        AvisosAnotados avisos;
        frmAuto w(dir.path(), 33, avisos);
        QCOMPARE(avisos.textos, QStringList{"numero de discos no tratable con autorun maximo 16: 40000"});
        QCOMPARE(Visibles(w.txtdisco), QList<int>());
    }

    void sinFicheroOSinDiscos()
    {
        QTemporaryDir dir;
        AvisosAnotados avisos;
        {
            frmAuto w(dir.path(), 33, avisos);
            QVERIFY(w.lblInfo->text().startsWith("Autorun generado con BRENVO 1.33 de Tarn'00 \r\n"));
            // Both lines fit the label.
            for (const QString& linea : w.lblInfo->text().split("\r\n"))
                QVERIFY(QFontMetrics(w.lblInfo->font()).horizontalAdvance(linea) <= w.lblInfo->width());
            QCOMPARE(w.discosMostrados, 0);
            QCOMPARE(w.cmdImagenes->toolTip(), QString("Nos muestra todas las imagenes"));
            QCOMPARE(w.cmdCanciones->toolTip(), QString("Nos muestra todas las canciones"));
            w.cmdImagenes->click();
            QCOMPARE(Visibles(w.txtdisco), QList<int>());
            QCOMPARE(Visibles(w.txtdisco2), QList<int>());
        }
        EscribeFichero(dir.filePath("autorun.dat"), Lineas({"[img]", "\\a.jpg", "[canciones]", "\\x.mp3", "x"}));
        frmAuto w(dir.path(), 33, avisos);
        w.cmdImagenes->click();
        QCOMPARE(Visibles(w.txtdisco), QList<int>());
        QCOMPARE(Visibles(w.txtdisco2), QList<int>());
        QCOMPARE(avisos.textos, QStringList());
    }

    void docePortadasGuardaNueveYDaLaVuelta()
    {
        QTemporaryDir dir;
        QStringList l{"[label]", "Ana", "Hits", "[img]"};
        for (int k = 1; k <= 12; ++k) {
            CreaImagen(dir.filePath(QString("Covers/c%1.jpg").arg(k)), 10 + k, 20);
            l << QString("\\Covers\\c%1.jpg").arg(k);
        }
        l << "[canciones]" << "\\Ana\\1.mp3" << "01-Uno";
        // A second disc with exactly one picture, given by its full path.
        CreaImagen(dir.filePath("una.jpg"), 50, 20);
        l << "[label]" << "Bea" << "Sol" << "[img]" << QDir::toNativeSeparators(dir.filePath("una.jpg")) << "[canciones]";
        EscribeFichero(dir.filePath("autorun.dat"), Lineas(l));
        AvisosAnotados avisos;
        frmAuto w(dir.path(), 10, avisos);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.datos.imagenesDisco[1], 9);
        QCOMPARE(w.datos.rutaImagen[1][10], QString());

        w.cmdImagenes->click();
        QVERIFY(w.txtdisco[1]->isHidden() && !w.imgdisco[1]->isHidden());
        QCOMPARE(AnchoImagen(w.imgdisco[1]), 19);
        QCOMPARE(w.imgdisco[1]->geometry(), w.txtdisco[1]->geometry());
        QVERIFY(w.imgdisco[1]->hasScaledContents());
        QList<int> vistas;
        for (int k = 0; k < 10; ++k) {
            QTest::mouseClick(w.imgdisco[1], Qt::LeftButton);
            vistas << AnchoImagen(w.imgdisco[1]) - 10;
        }
        QCOMPARE(vistas, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 1}));

        QCOMPARE(AnchoImagen(w.imgdisco[2]), 50);
        QTest::mouseClick(w.imgdisco[2], Qt::LeftButton);
        QCOMPARE(AnchoImagen(w.imgdisco[2]), 50);
        QCOMPARE(w.datos.imagenActual[2], 1);
        QCOMPARE(avisos.textos, QStringList());
    }

    // What a box cannot show is not kept: a cover larger than its box is
    // cached at the box's size, and a line longer than the box could ever
    // show is cut with an ellipsis.
    void loQueNoCabeNoSeGuarda()
    {
        QTemporaryDir dir;
        CreaImagen(dir.filePath("grande.jpg"), 1600, 1200);
        CreaImagen(dir.filePath("pequena.jpg"), 30, 20);
        const QString larga = QString(100000, u'x');
        EscribeFichero(dir.filePath("autorun.dat"),
                       Lineas({"[label]", larga, "Hits", "[img]", "\\pequena.jpg", "\\grande.jpg", "[canciones]",
                               "\\1.mp3", "01-" + larga, "[label]", "Bea", larga, "[img]", "\\no.jpg", "[canciones]"}));
        AvisosAnotados avisos;
        frmAuto w(dir.path(), 10, avisos);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.cmdImagenes->click();
        const QSize caja = w.imgdisco[1]->size() * w.imgdisco[1]->devicePixelRatioF();
        QCOMPARE(w.imgdisco[1]->pixmap().size(), caja);
        QTest::mouseClick(w.imgdisco[1], Qt::LeftButton);
        QCOMPARE(w.imgdisco[1]->pixmap().size(), QSize(30, 20));
        w.cmdCanciones->click();
        const QStringList lineas = w.txtdisco[1]->toPlainText().split(u'\n');
        QCOMPARE(lineas.size(), 4);
        QVERIFY(lineas[0].startsWith("XXX") && lineas[0].endsWith(u'…') && lineas[0].size() < 20000);
        QVERIFY(lineas[2].startsWith("01-xxx") && lineas[2].endsWith(u'…') && lineas[2].size() < 20000);
        QVERIFY(w.imgdisco[2]->pixmap().isNull());
        const QString titulo = w.imgdisco[2]->text();
        QVERIFY(titulo.startsWith("BEA---xxx") && titulo.contains(u'…') && titulo.size() < 20000);
        QCOMPARE(w.datos.texto2[2], "BEA---" + larga + "\r\n\r\n");
    }

    void doblesClicks()
    {
        QTemporaryDir dir;
        CreaImagen(dir.filePath("a.jpg"), 11, 11);
        CreaImagen(dir.filePath("b.gif"));
        EscribeFichero(dir.filePath("autorun.dat"),
                       Lineas({"[label]", "Ana", "Hits", "[img]", "\\a.jpg", "\\b.gif", "[canciones]", "\\1.mp3", "Uno",
                               "[label]", "Bea", "Sol", "[img]", "[canciones]", "\\2.mp3", "Dos",
                               "[label]", "Cris", "Mar", "[img]", "\\no\\esta.jpg", "[canciones]"}));
        AvisosAnotados avisos;
        frmAuto w(dir.path(), 10, avisos);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        // A double click on one song list shows only that disc's cover.
        QTest::mouseDClick(w.txtdisco[2]->viewport(), Qt::LeftButton);
        QCOMPARE(Visibles(w.txtdisco), (QList<int>{1, 3}));
        QCOMPARE(Visibles(w.txtdisco2), QList<int>{2});
        QCOMPARE(w.txtdisco2[2]->toPlainText(), QString("BEA---Sol\n\n"));
        QVERIFY(w.imgdisco[1]->isHidden());
        QTest::mouseDClick(w.txtdisco2[2]->viewport(), Qt::LeftButton);
        QCOMPARE(Visibles(w.txtdisco), (QList<int>{1, 2, 3}));
        QCOMPARE(Visibles(w.txtdisco2), QList<int>());

        w.cmdImagenes->click();
        QCOMPARE(Visibles(w.txtdisco), QList<int>());
        // A picture that is not there: the cover box shows the title block.
        QVERIFY(!w.imgdisco[3]->isHidden());
        QVERIFY(w.imgdisco[3]->pixmap().isNull());
        QCOMPARE(w.imgdisco[3]->text(), QString("CRIS---Mar\n\n"));
        // A double click on a cover of two pictures: next picture, then songs.
        QCOMPARE(AnchoImagen(w.imgdisco[1]), 1);
        QTest::mouseDClick(w.imgdisco[1], Qt::LeftButton);
        QCOMPARE(w.datos.imagenActual[1], 1);
        QCOMPARE(AnchoImagen(w.imgdisco[1]), 11);
        QVERIFY(w.imgdisco[1]->isHidden() && !w.txtdisco[1]->isHidden());
        QVERIFY(!w.imgdisco[3]->isHidden() && w.txtdisco[3]->isHidden());
        w.cmdCanciones->click();
        QCOMPARE(Visibles(w.txtdisco), (QList<int>{1, 2, 3}));
        QVERIFY(w.imgdisco[3]->isHidden() && w.txtdisco2[2]->isHidden());
        QCOMPARE(avisos.textos, QStringList());
    }

    void ficheroDelEscritor()
    {
        // The writer's file, with full picture paths, read back by the viewer.
        QTemporaryDir cd, programa;
        ListaTrabajo lista;
        AnadeFila(lista, QStringLiteral("Niña\\Año\\01-Canción.mp3"), cd.filePath("x.mp3"), "f", QStringLiteral("Niña"),
                  QStringLiteral("Año"), QStringLiteral("Canción"), "01");
        AnadeFila(lista, "Covers\\front.jpg", CreaImagen(cd.filePath("Covers/front.jpg"), 33, 20), "p",
                  QStringLiteral("Niña"), QStringLiteral("Año"));
        AnadeFila(lista, "Hits\\01-Song.mp3", cd.filePath("Hits/01-Song.mp3"), "v", "Performer", "Hits", "Song", "01");
        CamposLlevados campos;
        const ArbolDiscos arbol = GeneraArbol(lista, campos);
        QVERIFY(EscribeAutorun(arbol, false, programa.path()).isEmpty());
        AvisosAnotados avisos;
        frmAuto w(programa.path(), 33, avisos);
        QCOMPARE(w.discosMostrados, 2);
        QCOMPARE(w.txtdisco[1]->toPlainText(), QStringLiteral("NIÑA---Año\n\n01-Canción\n"));
        QCOMPARE(w.txtdisco[2]->toPlainText(), QStringLiteral("<VARIOS ARTISTAS>---Hits\n\n01-Song (Performer)\n"));
        w.cmdImagenes->click();
        QCOMPARE(AnchoImagen(w.imgdisco[1]), 33);
        QCOMPARE(Visibles(w.txtdisco2), QList<int>{2});

        // The same tree with relative paths, autorun.dat at the root of the CD.
        QVERIFY(EscribeAutorun(arbol, true, cd.path()).isEmpty());
        frmAuto enCd(cd.path(), 10, avisos);
        QCOMPARE(enCd.RutaImagen("\\Covers\\front.jpg"), QDir::toNativeSeparators(cd.filePath("Covers/front.jpg")));
        enCd.cmdImagenes->click();
        QCOMPARE(AnchoImagen(enCd.imgdisco[1]), 33);
        QCOMPARE(avisos.textos, QStringList());
    }
};

QTEST_MAIN(TestVisor)
#include "test_autorun_visor.moc"
