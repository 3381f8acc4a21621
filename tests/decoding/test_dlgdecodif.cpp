// The choose-decoding dialog, and the "Analiza" button and F3 key of the
// main window that run the analysis.
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "common/listasimagenes.h"
#include "decoding/DlgDecodif.h"
#include "main_window/frmVaro.h"
#include "store/catalogo.h"
#include "support/electorguionado.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

namespace {

QStringList Columna(const QTreeWidget* t, int c)
{
    QStringList l;
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        l << t->topLevelItem(i)->text(c);
    return l;
}

// Runs f as soon as the event loop of a modal dialog turns.
void Luego(std::function<void()> f) { QTimer::singleShot(0, std::move(f)); }

}  // namespace

class TestDlgDecodif : public QObject {
    Q_OBJECT
private slots:
    void aspecto();
    void ordenPorPuntosYPrimeraSeleccionada();
    void dobleClicEligeEsaFila();
    void aceptarSinSeleccionAvisa();
    void cancelarYCerrarNoEligen();
    void borrarListaYCasilla();
    void analizaHabilitaAunqueSeCancele();
    void f3SoloSeleccionadasSinTocarBotones();
    void dialogoPorDefectoUnoSolo();
};

void TestDlgDecodif::aspecto()
{
    ListasImagenes img;
    AvisosAnotados av;
    DlgDecodif d(img, av);
    QCOMPARE(d.windowTitle(), QString("Escoger la mejor decodificacion para..."));
    QCOMPARE(d.findChild<QCheckBox*>("chkMismoDir")->text(), QString("Si a todo el directorio. Si disco igual."));
    QCOMPARE(d.findChild<QPushButton*>("OKButton")->text(), QString("Aceptar"));
    QCOMPARE(d.findChild<QPushButton*>("CancelButton")->text(), QString("Cancelar"));
    QVERIFY(d.findChild<QLabel*>("lblnomfile"));
    auto* l = d.findChild<QTreeWidget*>("lstVOpc");
    QVERIFY(l);
    QStringList cabeceras;
    for (int c = 0; c < l->columnCount(); ++c)
        cabeceras << l->headerItem()->text(c);
    QCOMPARE(cabeceras, (QStringList{"Cancion", "Attributos", "Autor", "disco", "cancion", "posicion", "mascara"}));
    QVERIFY(l->isColumnHidden(4));
    for (int c : {0, 2, 3, 4, 5, 6})
        QVERIFY2(!l->headerItem()->icon(c).isNull(), qPrintable(QString::number(c)));
    QVERIFY(l->headerItem()->icon(1).isNull());
    QCOMPARE(l->header()->sortIndicatorSection(), 1);
    QCOMPARE(l->header()->sortIndicatorOrder(), Qt::DescendingOrder);
}

void TestDlgDecodif::ordenPorPuntosYPrimeraSeleccionada()
{
    ListasImagenes img;
    AvisosAnotados av;
    DlgDecodif d(img, av);
    d.BorrarLista();
    d.AnadeCandidato({"A30", "D", "C30", "<vacio>", "m30", 30});
    d.AnadeCandidato({"A50", "D", "C50", "01", "m50", 50});
    d.AnadeCandidato({"A10", "D", "C10", "<vacio>", "m10", 10});
    d.AnadeCandidato({"B50", "Disco de nombre bastante largo para la columna", "D50", "02", "n50 - x(a)\\d\\p c", 50});
    d.PonCarpeta(3, 200);
    QCOMPARE(Columna(Hijo<QTreeWidget>(d, "lstVOpc"), 1), (QStringList{"50", "50", "30", "10"}));
    QCOMPARE(Columna(Hijo<QTreeWidget>(d, "lstVOpc"), 0), (QStringList{"C50", "D50", "C30", "C10"}));
    QCOMPARE(Columna(Hijo<QTreeWidget>(d, "lstVOpc"), 6), (QStringList{"m50", "n50 - x(a)\\d\\p c", "m30", "m10"}));
    QVERIFY(Hijo<QTreeWidget>(d, "lstVOpc")->topLevelItem(0)->isSelected());
    QCOMPARE(Hijo<QTreeWidget>(d, "lstVOpc")->selectedItems().size(), 1);

    Luego([&] {
        QCOMPARE(Hijo<QLabel>(d, "lblnomfile")->text(), QString("Dover\\01-Judas.mp3"));
        QVERIFY(d.isVisible() && d.isModal());
        QCOMPARE(d.windowTitle(), QString("Escoger la mejor decodificacion para... (carpeta 3 de 200)"));
        // Every column shows its content whole, and all of them are in view.
        auto* l = Hijo<QTreeWidget>(d, "lstVOpc");
        int ancho = 0;
        for (int c = 0; c < l->columnCount(); ++c) {
            if (l->isColumnHidden(c))
                continue;
            for (int i = 0; i < l->topLevelItemCount(); ++i)
                QVERIFY2(l->columnWidth(c) > l->fontMetrics().horizontalAdvance(l->topLevelItem(i)->text(c)),
                         qPrintable(l->topLevelItem(i)->text(c)));
            QVERIFY2(l->columnWidth(c) >= l->header()->sectionSizeHint(c), qPrintable(QString::number(c)));
            ancho += l->columnWidth(c);
        }
        QVERIFY(ancho <= l->viewport()->width());
        // Enter accepts the selected candidate.
        QTest::keyClick(l, Qt::Key_Return);
    });
    QCOMPARE(d.Muestra("Dover\\01-Judas.mp3"), 1);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.Eleccion(), QString("1"));
    QCOMPARE(d.Candidato(1), (CandidatoDecodificacion{"A50", "D", "C50", "01", "m50", 50}));
    QCOMPARE(d.Candidato(3).mascara, QString("m30"));
    QVERIFY(av.textos.isEmpty());
}

void TestDlgDecodif::dobleClicEligeEsaFila()
{
    ListasImagenes img;
    AvisosAnotados av;
    DlgDecodif d(img, av);
    d.AnadeCandidato({"A", "D", "uno", "01", "m1", 50});
    d.AnadeCandidato({"B", "D", "dos", "02", "m2", 30});
    d.AnadeCandidato({"C", "D", "tres", "03", "m3", 10});
    Luego([&] {
        QWidget* vp = Hijo<QTreeWidget>(d, "lstVOpc")->viewport();
        const QPoint p = Hijo<QTreeWidget>(d, "lstVOpc")->visualItemRect(Hijo<QTreeWidget>(d, "lstVOpc")->topLevelItem(2)).center();
        QTest::mouseClick(vp, Qt::LeftButton, {}, p);
        QTest::mouseDClick(vp, Qt::LeftButton, {}, p);
    });
    QCOMPARE(d.Muestra("x.mp3"), 3);
    QCOMPARE(d.Candidato(3).cancion, QString("tres"));
}

void TestDlgDecodif::aceptarSinSeleccionAvisa()
{
    ListasImagenes img;
    AvisosAnotados av;
    DlgDecodif d(img, av);
    d.AnadeCandidato({"A", "D", "uno", "01", "m1", 50});
    d.show();
    Hijo<QTreeWidget>(d, "lstVOpc")->clearSelection();
    Hijo<QPushButton>(d, "OKButton")->click();
    QVERIFY(d.isVisible());
    QCOMPARE(d.Eleccion(), QString("0"));
    QCOMPARE(av.textos, QStringList{"Has de selecionar una mascara correcta. Si no pulsa cancelar y dala de alta"});
    QCOMPARE(av.titulos, QStringList{"Has de elegir..."});
    // An empty list can only be given up.
    d.BorrarLista();
    Hijo<QPushButton>(d, "OKButton")->click();
    QVERIFY(d.isVisible());
    QCOMPARE(av.textos.size(), 2);
    d.hide();
}

void TestDlgDecodif::cancelarYCerrarNoEligen()
{
    ListasImagenes img;
    AvisosAnotados av;
    DlgDecodif d(img, av);
    d.AnadeCandidato({"A", "D", "uno", "01", "m1", 50});
    Luego([&] { Hijo<QPushButton>(d, "CancelButton")->click(); });
    QCOMPARE(d.Muestra("x.mp3"), 0);
    Luego([&] { d.close(); });  // the title bar's close
    QCOMPARE(d.Muestra("x.mp3"), 0);
    Luego([&] { QTest::keyClick(&d, Qt::Key_Escape); });
    QCOMPARE(d.Muestra("x.mp3"), 0);
    // Picked once, then given up: the choice does not linger.
    Luego([&] { Hijo<QPushButton>(d, "OKButton")->click(); });
    QCOMPARE(d.Muestra("x.mp3"), 1);
    Luego([&] { d.close(); });
    QCOMPARE(d.Muestra("x.mp3"), 0);
    QVERIFY(av.textos.isEmpty());
}

void TestDlgDecodif::borrarListaYCasilla()
{
    ListasImagenes img;
    AvisosAnotados av;
    DlgDecodif d(img, av);
    d.AnadeCandidato({"A", "D", "uno", "01", "m1", 50});
    d.BorrarLista();
    QCOMPARE(Hijo<QTreeWidget>(d, "lstVOpc")->topLevelItemCount(), 0);
    QCOMPARE(d.Candidato(1), CandidatoDecodificacion{});
    d.AnadeCandidato({"B", "D", "dos", "02", "m2", 10});
    QCOMPARE(d.Candidato(1).autor, QString("B"));
    Hijo<QCheckBox>(d, "chkMismoDir")->setChecked(true);
    QVERIFY(d.MismoDir());
    d.LimpiaMismoDir();
    QVERIFY(!d.MismoDir() && !Hijo<QCheckBox>(d, "chkMismoDir")->isChecked());
}

namespace {
struct Ventana {
    QTemporaryDir dir;
    Catalogo bd;
    UnidadesFalsas unidades;
    AvisosAnotados avisos;
    frmVaro w;
    explicit Ventana(const QString& conexion)
        : bd(dir.filePath("anterior.mdb"), conexion), w(bd, unidades, avisos, dir.path())
    {
        w.Form_Load();
    }
    void Filas(const QStringList& textos)
    {
        for (const QString& t : textos)
            w.Lista().Anade(t, "/cd/" + t, t.endsWith('\\') ? "#" : "f", "mp3");
        w.RefrescaLista();
    }
};
}  // namespace

void TestDlgDecodif::analizaHabilitaAunqueSeCancele()
{
    Ventana v("analiza");
    ElectorGuionado el;
    v.w.PonElector(&el);
    v.Filas({"Dover\\", "Dover\\01-Judas.mp3", "Dover\\02-Intro.mp3", "Zeta\\", "Zeta\\01-Uno.mp3"});
    el.responde = [&](const ElectorGuionado::Vista& vista, bool&) {
        // While the run goes on, "Compara" and "Genera" are off.
        if (Hijo<QPushButton>(v.w, "cmdCompara")->isEnabled() || Hijo<QPushButton>(v.w, "cmdGenera")->isEnabled())
            return -1;
        return vista.ruta.startsWith("Zeta") ? 0 : ElectorGuionado::FilaDe(vista, "a\\c");
    };
    Hijo<QPushButton>(v.w, "cmdAnaliza")->setEnabled(true);
    Hijo<QPushButton>(v.w, "cmdAnaliza")->click();
    QCOMPARE(el.vistas.size(), 3);
    QVERIFY(Hijo<QPushButton>(v.w, "cmdCompara")->isEnabled());
    QVERIFY(Hijo<QPushButton>(v.w, "cmdGenera")->isEnabled());
    QCOMPARE(v.w.Lista().SubItem(2, columna::kCancion), QString("01-Judas"));
    QCOMPARE(v.w.Lista().SubItem(1, columna::kAutor), QString("Dover"));
    QCOMPARE(v.w.Lista().CuentaSubItems(5), 1);
    // The view shows what the rows hold.
    QCOMPARE(Hijo<QTreeView>(v.w, "lstVBusca")->model()->index(1, 4).data().toString(), QString("01-Judas"));
}

void TestDlgDecodif::f3SoloSeleccionadasSinTocarBotones()
{
    Ventana v("f3");
    ElectorGuionado el;
    v.w.PonElector(&el);
    v.Filas({"Dover\\", "Dover\\01-Judas.mp3", "Dover\\02-Intro.mp3", "Dover\\03-Fin.mp3"});
    el.responde = ElectorGuionado::Elige("a\\c");
    v.w.Aplica(Suceso::AnalizaEmpieza);  // "Compara" and "Genera" off
    auto* sel = Hijo<QTreeView>(v.w, "lstVBusca")->selectionModel();
    const QAbstractItemModel* m = Hijo<QTreeView>(v.w, "lstVBusca")->model();
    sel->select(m->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    sel->select(m->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Hijo<QTreeView>(v.w, "lstVBusca")->setFocus();
    QTest::keyClick(Hijo<QTreeView>(v.w, "lstVBusca"), Qt::Key_F3);
    QCOMPARE(el.vistas.size(), 2);
    QCOMPARE(el.vistas[0].ruta, QString("Dover\\02-Intro.mp3"));
    QCOMPARE(v.w.Lista().CuentaSubItems(2), 1);
    QCOMPARE(v.w.Lista().SubItem(3, columna::kCancion), QString("02-Intro"));
    QCOMPARE(v.w.Lista().SubItem(4, columna::kCancion), QString("03-Fin"));
    QVERIFY(!Hijo<QPushButton>(v.w, "cmdCompara")->isEnabled());
    QVERIFY(!Hijo<QPushButton>(v.w, "cmdGenera")->isEnabled());
    // The selection survives the run.
    QCOMPARE(sel->selectedRows().size(), 2);
}

void TestDlgDecodif::dialogoPorDefectoUnoSolo()
{
    Ventana v("defecto");
    ElectorDecodificacion& e = v.w.Elector();
    QCOMPARE(&v.w.Elector(), &e);
    auto* d = dynamic_cast<DlgDecodif*>(&e);
    QVERIFY(d);
    QCOMPARE(d->parent(), &v.w);
    QCOMPARE(v.w.findChildren<DlgDecodif*>().size(), 1);

    // A whole run through the real dialog: the first file is picked there,
    // the second follows on its own.
    v.Filas({"Dover\\", "Dover\\Devil come to me\\01-Judas.mp3", "Dover\\Devil come to me\\02-Intro.mp3"});
    int vistas = 0;
    std::function<void()> pulsa = [&] {
        if (!d->isVisible())
            return Luego(pulsa);
        ++vistas;
        QCOMPARE(Hijo<QTreeWidget>(*d, "lstVOpc")->topLevelItem(0)->text(6), QString("a\\d\\p-c"));
        Hijo<QPushButton>(*d, "OKButton")->click();
    };
    Luego(pulsa);
    v.w.cmdAnaliza_Click();
    QCOMPARE(vistas, 1);
    QCOMPARE(v.w.Lista().SubItem(3, columna::kPosicion), QString("02"));
    QCOMPARE(v.w.Lista().SubItem(3, columna::kMascara), QString("a\\d\\p-c"));
    QCOMPARE(v.w.Lista().SubItem(1, columna::kDisco), QString("Devil come to me"));
}

QTEST_MAIN(TestDlgDecodif)
#include "test_dlgdecodif.moc"
