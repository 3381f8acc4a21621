// Opening another catalogue without restarting: every tab shows the one open
// now, the work list stays, and one that cannot be opened leaves it in use.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "catalogue/catalogo_relleno.h"
#include "common/controles.h"
#include "decoding/mascaras.h"
#include "main_window/eleccioncatalogo.h"
#include "main_window/frmVaro.h"
#include "store/sesion.h"
#include "support/motorprueba.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

namespace {

// Answers the window's choices from what the test sets.
struct EleccionGuionada : EleccionCatalogo {
    QString fichero;
    UbicacionCatalogo servidor;
    QString csv;
    int preguntasServidor = 0;
    QString Fichero(const QString&) override { return fichero; }
    bool Servidor(UbicacionCatalogo& u) override
    {
        ++preguntasServidor;
        if (servidor.base.isEmpty())
            return false;
        u = servidor;
        return true;
    }
    QString FicheroCsv(const QString&) override { return csv; }
};

// A catalogue holding a CD of two songs, one of them also on a second CD,
// and a mask of its own.
UbicacionCatalogo Llena(const UbicacionCatalogo& u, const QString& cd, const QString& mascara)
{
    Catalogo bd(u, QStringLiteral("relleno"));
    bd.AbreBaseDatos();
    GrabaCancionPrueba(bd, cd, QStringLiteral("Coro Añil"), QStringLiteral("Álbum del Ñandú"), cd + QStringLiteral(" uno"), 1);
    GrabaCancionPrueba(bd, cd, QStringLiteral("Coro Añil"), QStringLiteral("Álbum del Ñandú"), QStringLiteral("Otoño"), 2);
    GrabaCancionPrueba(bd, cd + QStringLiteral(" bis"), QStringLiteral("Coro Añil"), QStringLiteral("Otros"),
                       QStringLiteral("OTOÑO"), 7);
    AnadeMascara(bd, mascara);
    return u;
}

QStringList Textos(QTreeWidget* t, int columna = 0)
{
    QStringList r;
    for (QTreeWidgetItemIterator it(t); *it; ++it)
        r << (*it)->text(columna);
    return r;
}

}  // namespace

class TestCatalogos : public QObject {
    Q_OBJECT
private slots:
    void cambiaDeCatalogo();
};

void TestCatalogos::cambiaDeCatalogo()
{
    QTemporaryDir dir;
    AjustesEn(dir.filePath("config"));
    const QString dirA = dir.filePath("a"), dirB = dir.filePath("b");
    QDir().mkpath(dirA);
    QDir().mkpath(dirB);
    const UbicacionCatalogo a = Llena(UbicacionCatalogo::Fichero(Catalogo::RutaCatalogo(dirA)), "Cede Alfa", "A\\M");
    const UbicacionCatalogo b = Llena(UbicacionCatalogo::Fichero(dirB + "/otro, y más.mdb"), "Cede Beta", "B\\M");
    EscribeFichero(dirB + "/roto.mdb", QByteArray("esto no es un catálogo").repeated(100));

    Catalogo bd(a);
    UnidadesFalsas unidades;
    AvisosAnotados avisos;
    EleccionGuionada eleccion;
    frmVaro w(bd, unidades, avisos, dirA);
    w.PonEleccion(&eleccion);
    w.Form_Load();
    Hijo<QComboBox>(w, "cmbISort")->activated(2);  // the tree by CDs, shown before the change
    Suelta(w, {dirB});
    const QStringList lista = Mostrados(w);

    struct Paso {
        const char* que;
        QString fichero;           // chosen in the file chooser
        UbicacionCatalogo servidor;  // typed in the server's dialog
        QString cd, mascara, carpeta, titulo;
        bool falla = false;
    };
    QList<Paso> pasos = {
        {"B, a file of another name", b.fichero, {}, "Cede Beta", "B\\M", dirB + "/otro, y más.lodrin",
         "Lodrin - " + QDir::toNativeSeparators(b.fichero)},
        {"not a catalogue: B stays", dirB + "/roto.mdb", {}, "Cede Beta", "B\\M", dirB + "/otro, y más.lodrin",
         "Lodrin - " + QDir::toNativeSeparators(b.fichero), true},
        {"back to A", a.fichero, {}, "Cede Alfa", "A\\M", dirA, "Lodrin - " + QDir::toNativeSeparators(a.fichero)},
    };
    if (PruebaEnServidor()) {
        UbicacionCatalogo c = Llena(BaseDePrueba(dir.filePath("c.ini")), "Cede Gamma", "C\\M");
        c.fichero.clear();
        pasos.insert(2, {"C, on the server", QString(), c, "Cede Gamma", "C\\M", dirA, "Lodrin - " + c.Nombre()});
    }
    for (const Paso& p : pasos) {
        avisos.fallos.clear();
        eleccion.fichero = p.fichero;
        eleccion.servidor = p.servidor;
        if (p.servidor.base.isEmpty())
            w.AbrirCatalogo();
        else
            w.AbrirServidor();
        QCOMPARE(avisos.fallos.size(), p.falla ? 1 : 0);
        if (p.falla)
            QVERIFY2(avisos.fallos.first().contains("roto.mdb"), qPrintable(avisos.fallos.first()));
        QCOMPARE(w.windowTitle(), p.titulo);
        QCOMPARE(w.DirPrograma(), p.carpeta);
        QVERIFY(Hijo<QLabel>(w, "lblAcerca")->text().endsWith(QDir::toNativeSeparators(p.carpeta)));
        // The tree in the order chosen, the masks, the listing's CDs and a
        // search: all of the catalogue open now.
        QVERIFY2(Textos(Hijo<QTreeWidget>(w, "tvBD")).contains(p.cd), p.que);
        QCOMPARE(Textos(Hijo<QTreeWidget>(w, "lstMascaras")).contains(p.mascara), true);
        Hijo<ComboImagen>(w, "cmbCd")->showPopup();
        Hijo<ComboImagen>(w, "cmbCd")->hidePopup();
        QVERIFY(Hijo<QComboBox>(w, "cmbCd")->findText(p.cd) >= 0);
        Hijo<QLineEdit>(w, "txtBuscaBD")->setText("uno");
        QTRY_COMPARE(Textos(Hijo<QTreeWidget>(w, "lstVBD"), columnaBD::kCancion), QStringList{p.cd + " uno"});
        Hijo<QLineEdit>(w, "txtBuscaBD")->clear();
        QCOMPARE(Mostrados(w), lista);
    }
    // The recent catalogues, newest first, a server by its name; choosing one
    // opens it again (a server asks its password again).
    auto* recientes = Hijo<QMenu>(w, "mnuRecientes");
    QStringList vistos;
    for (QAction* accion : recientes->actions())
        vistos << accion->text();
    QCOMPARE(vistos.size(), PruebaEnServidor() ? 3 : 2);
    QCOMPARE(Hijo<QAction>(w, "mnuAbrirCatalogo")->shortcut(), QKeySequence("Ctrl+Shift+O"));
    QVERIFY(vistos.first().endsWith(QDir::toNativeSeparators(a.fichero)));
    QVERIFY(vistos.at(1).contains(PruebaEnServidor() ? pasos.at(2).servidor.Nombre() : QString("otro, y más.mdb")));
    if (PruebaEnServidor())
        eleccion.servidor = pasos.at(2).servidor;
    recientes->actions().at(1)->trigger();
    QCOMPARE(eleccion.preguntasServidor, PruebaEnServidor() ? 2 : 0);
    const QString cd = PruebaEnServidor() ? "Cede Gamma" : "Cede Beta";
    QVERIFY(Textos(Hijo<QTreeWidget>(w, "tvBD")).contains(cd));

    // The song on two CDs, from the keyboard; a double click on its second
    // place shows it on that CD in "Base de datos".
    auto* mnuRepetidas = Hijo<QAction>(w, "mnuRepetidas");
    QCOMPARE(mnuRepetidas->shortcut(), QKeySequence("Ctrl+R"));
    mnuRepetidas->trigger();
    auto* repetidas = Hijo<QTreeWidget>(w, "lstRepetidas");
    QCOMPARE(Textos(repetidas), (QStringList{"Coro Añil - Otoño", cd, cd + " bis"}));
    QTreeWidgetItem* segundo = repetidas->topLevelItem(0)->child(1);
    emit repetidas->itemDoubleClicked(segundo, 0);
    QCOMPARE(Hijo<QTabWidget>(w, "SSTab2")->currentWidget()->objectName(), QString("BaseDatos"));
    QTreeWidgetItem* actual = Hijo<QTreeWidget>(w, "lstVBD")->currentItem();
    QVERIFY(actual);
    QCOMPARE(actual->text(columnaBD::kCancion) + actual->text(columnaBD::kCd), "OTOÑO" + cd + " bis");
    // Every song of the catalogue open now, into the file chosen.
    eleccion.csv = dir.filePath("todo.csv");
    Hijo<QAction>(w, "mnuExportar")->trigger();
    QCOMPARE(QString::fromUtf8(LeeFichero(eleccion.csv)).count("\r\n"), 4);
}

QTEST_MAIN(TestCatalogos)
#include "test_catalogos.moc"
