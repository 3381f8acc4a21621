// "Genera", "Autorun" and "Ver Autorun" on the main window.
#include <QtTest>
#include <QPushButton>
#include <QTreeWidget>

#include "autorun/filas.h"
#include "autorun/genera_ui.h"
#include "main_window/frmVaro.h"
#include "store/catalogo.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

namespace {

// The tree view as indented "text key" lines.
QStringList Dibuja(QTreeWidgetItem* n, int nivel = 0)
{
    QStringList l{QString(nivel * 2, u' ') + n->text(0) + " " + n->data(0, Qt::UserRole).toString()};
    for (int i = 0; i < n->childCount(); ++i)
        l << Dibuja(n->child(i), nivel + 1);
    return l;
}

QByteArray Lineas(const QStringList& lineas)
{
    QByteArray b;
    for (const QString& l : lineas)
        b += l.toUtf8() + "\r\n";
    return b;
}

struct Ventana {
    explicit Ventana(const QString& carpeta, const QString& programa)
        : bd(QDir(carpeta).filePath("anterior.mdb"), "autorun_ventana"), w(bd, unidades, avisos, programa)
    {
        w.Form_Load();
    }
    UnidadesFalsas unidades;
    AvisosAnotados avisos;
    Catalogo bd;
    frmVaro w;
};

}  // namespace

class TestVentanaAutorun : public QObject {
    Q_OBJECT
private slots:
    void generaLlenaTvYHabilita()
    {
        QTemporaryDir dir;
        Ventana v(dir.path(), dir.path());
        frmVaro& w = v.w;
        QVERIFY(!Hijo<QPushButton>(w, "cmdauto")->isEnabled() && !Hijo<QPushButton>(w, "cmdVerAuto")->isEnabled());
        AnadeFila(w.Lista(), "Ana\\Hits\\01-Uno.mp3", "/cd/Ana/Hits/01-Uno.mp3", "f", "Ana", "Hits", "Uno", "01");
        AnadeFila(w.Lista(), "Ana\\Hits\\front.jpg", "/cd/Ana/Hits/front.jpg", "p", "Ana", "Hits");
        AnadeFila(w.Lista(), "Bea\\Sol\\Dos.mp3", "/cd/Bea/Sol/Dos.mp3", "f", "Bea", "Sol", "Dos", "00");
        w.RefrescaLista();
        w.Aplica(Suceso::AnalizaTermina);
        QVERIFY(Hijo<QPushButton>(w, "cmdGenera")->isEnabled());
        Hijo<QPushButton>(w, "cmdGenera")->click();

        QCOMPARE(Hijo<QTreeWidget>(w, "Tv")->topLevelItemCount(), 1);
        QTreeWidgetItem* raiz = Hijo<QTreeWidget>(w, "Tv")->topLevelItem(0);
        QCOMPARE(Dibuja(raiz), (QStringList{
            "nuevo nuevo",
            "  Ana a#Ana",
            "    Hits d#Hitsa#Ana",
            "      01-Uno c#Ana\\Hits\\01-Uno.mp3d#Hitsa#Ana",
            "      front.jpg p#/cd/Ana/Hits/front.jpg",
            "  Bea a#Bea",
            "    Sol d#Sola#Bea",
            "      Dos c#Bea\\Sol\\Dos.mp3d#Sola#Bea",
        }));
        QTreeWidgetItem* hits = raiz->child(0)->child(0);
        QCOMPARE(hits->child(0)->data(0, Qt::UserRole + 1).toString(), QString("Ana\\Hits\\01-Uno.mp3"));
        QCOMPARE(hits->child(1)->data(0, Qt::UserRole + 1).toInt(), 2);
        QVERIFY(!hits->child(1)->icon(0).isNull());
        // Root and authors open, so every disc is in view; songs are not.
        QVERIFY(raiz->isExpanded() && raiz->child(0)->isExpanded() && raiz->child(1)->isExpanded());
        QVERIFY(!hits->isExpanded());
        for (QPushButton* b : {Hijo<QPushButton>(w, "cmdauto"), Hijo<QPushButton>(w, "cmdVerAuto"), Hijo<QPushButton>(w, "cmdWriteTag"), Hijo<QPushButton>(w, "cmdDeleteTag")})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        QCOMPARE(w.Campos().autor, QString("Bea"));
        QCOMPARE(w.Campos().disco, QString("Sol"));

        // A new run starts from an empty tree; an empty list leaves the root.
        w.Lista().Limpia();
        w.RefrescaLista();
        w.Aplica(Suceso::Nueva);
        w.Aplica(Suceso::AnalizaTermina);
        Hijo<QPushButton>(w, "cmdGenera")->click();
        QCOMPARE(Hijo<QTreeWidget>(w, "Tv")->topLevelItemCount(), 1);
        QCOMPARE(Dibuja(Hijo<QTreeWidget>(w, "Tv")->topLevelItem(0)), QStringList{"nuevo nuevo"});
        QVERIFY(Hijo<QPushButton>(w, "cmdauto")->isEnabled() && Hijo<QPushButton>(w, "cmdVerAuto")->isEnabled());
    }

    void autorunYVistaPrevia()
    {
        QTemporaryDir dir, cd;
        Ventana v(dir.path(), dir.path());
        frmVaro& w = v.w;
        const QString portada = CreaImagen(cd.filePath("Covers/front.jpg"), 21, 21);
        AnadeFila(w.Lista(), "Ana\\Hits\\01-Uno.mp3", cd.filePath("Ana/Hits/01-Uno.mp3"), "f", "Ana", "Hits", "Uno", "01");
        AnadeFila(w.Lista(), "Covers\\front.jpg", portada, "p", "Ana", "Hits");
        w.Aplica(Suceso::AnalizaTermina);
        w.cmdGenera_Click();
        w.Aplica(Suceso::Nueva);  // the buttons off; the handlers still run when called
        w.cmdauto_Click();
        QVERIFY(Hijo<QPushButton>(w, "cmdVerAuto")->isEnabled());
        const QString fichero = dir.filePath("autorun.dat");
        QCOMPARE(LeeFichero(fichero), Lineas({"[label]", "Ana", "Hits", "[img]", "\\Covers\\front.jpg", "[canciones]",
                                               "\\Ana\\Hits\\01-Uno.mp3", "01-Uno"}));

        Hijo<QPushButton>(w, "cmdVerAuto")->click();
        QCOMPARE(LeeFichero(fichero), Lineas({"[label]", "Ana", "Hits", "[img]", QDir::toNativeSeparators(portada),
                                               "[canciones]", "\\Ana\\Hits\\01-Uno.mp3", "01-Uno"}));
        QPointer<frmAuto> previa = w.findChild<frmAuto*>();
        QVERIFY(previa);
        QVERIFY(previa->isVisible());
        QVERIFY(w.isEnabled());  // the preview does not block the main window
        QVERIFY(previa->lblInfo->text().startsWith("Autorun generado con BRENVO 1.33 de Tarn'00 "));
        QCOMPARE(previa->discosMostrados, 1);
        previa->cmdImagenes->click();
        QCOMPARE(previa->imgdisco[1]->pixmap().width(), 21);

        // A second preview while it is open: the file is rewritten, the same
        // window comes forward without reading it again.
        AnadeFila(w.Lista(), "Bea\\Sol\\Dos.mp3", cd.filePath("Bea/Sol/Dos.mp3"), "f", "Bea", "Sol", "Dos", "02");
        w.cmdGenera_Click();
        w.cmdVerAuto_Click();
        QVERIFY(LeeFichero(fichero).contains("Bea"));
        QCOMPARE(w.findChild<frmAuto*>(), previa.data());
        QCOMPARE(previa->discosMostrados, 1);
        // After "Salir" the next preview is a new window reading the file anew.
        previa->cmdSalir->click();
        QTRY_VERIFY(previa.isNull());
        w.cmdVerAuto_Click();
        QVERIFY(w.findChild<frmAuto*>());
        QCOMPARE(w.findChild<frmAuto*>()->discosMostrados, 2);
        // Escape closes the preview.
        previa = w.findChild<frmAuto*>();
        previa->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(previa));
        QTest::keyClick(previa, Qt::Key_Escape);
        QTRY_VERIFY(previa.isNull());
        QCOMPARE(v.avisos.textos, QStringList());
    }

    void ficheroQueNoSePuedeEscribir()
    {
        QTemporaryDir dir;
        const QString programa = dir.filePath("no_esta");
        Ventana v(dir.path(), programa);
        frmVaro& w = v.w;
        AnadeFila(w.Lista(), "Ana\\Hits\\01-Uno.mp3", "/cd/Ana/Hits/01-Uno.mp3", "f", "Ana", "Hits", "Uno", "01");
        w.cmdGenera_Click();
        w.Aplica(Suceso::Nueva);
        w.cmdauto_Click();
        const QString ruta = QDir::toNativeSeparators(programa + "/autorun.dat");
        QCOMPARE(v.avisos.textos, QStringList{"No se ha podido escribir el fichero " + ruta});
        QVERIFY(!Hijo<QPushButton>(w, "cmdVerAuto")->isEnabled());
        w.cmdVerAuto_Click();
        QCOMPARE(v.avisos.textos.size(), 2);
        QVERIFY(!w.findChild<frmAuto*>());
        QVERIFY(!QFileInfo::exists(programa));
    }
};

QTEST_MAIN(TestVentanaAutorun)
#include "test_autorun_ventana.moc"
