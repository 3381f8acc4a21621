// The work list in the window: the drive check, drops, "Busca", "Nueva" and
// "Explorar" on a folder presented as a ready CD.
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QSettings>
#include <QTimer>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>
#include <QtTest>

#include "common/lodrinerror.h"
#include "main_window/frmVaro.h"
#include "store/catalogo.h"
#include "support/electorguionado.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

namespace {

// A drive layer that may fail, as a vanished drive does.
class UnidadesRotas : public UnidadesFalsas {
public:
    using UnidadesFalsas::UnidadesFalsas;
    QList<Volumen> Lista() override
    {
        if (rota)
            throw LodrinError("la unidad no responde");
        return UnidadesFalsas::Lista();
    }
    bool rota = false;
};

struct Ventana {
    Ventana(Unidades& u, const QString& conexion)
        : bd((AjustesEn(dir.filePath("config")), dir.filePath("anterior.mdb")), conexion), w(bd, u, avisos, dir.path())
    {
        w.Form_Load();
    }
    QTemporaryDir dir;
    Catalogo bd;
    AvisosAnotados avisos;
    frmVaro w;
};

}  // namespace

class TestFrmVaroLista : public QObject {
    Q_OBJECT
private slots:
    void comprobacionDeUnidad();
    void unidadesQueCambianOFallan();
    void soltarBuscaYNueva();
    void explorarElCd();
    void caminoDelTeclado();
    void focoTrasCadaTarea();
    void deshacerSoloCuandoCambia();
};

// Without a mouse: Ctrl+O and a folder typed in Qt's chooser, "Busca" by its
// Alt+letter, "Nueva" undone and redone, Ctrl+F to the catalogue's search box.
void TestFrmVaroLista::caminoDelTeclado()
{
    QTemporaryDir musica;
    EscribeFichero(musica.filePath("Rock/01 Intro.mp3"), "x");
    UnidadesFalsas u;
    Ventana v(u, "teclado");
    frmVaro& w = v.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    QString titulo;
    QTimer::singleShot(0, this, [&] {
        auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialogo);
        titulo = dialogo->windowTitle();
        auto* nombre = dialogo->findChild<QLineEdit*>("fileNameEdit");
        // Typed as pasted: the completer's list would take the keys meanwhile.
        nombre->setText(musica.filePath("Rock"));
        QTest::keyClick(nombre, Qt::Key_Return);
    });
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(titulo, QString("Añadir carpeta"));
    QCOMPARE(Mostrados(w), QStringList{"Rock\\"});
    QCOMPARE(QSettings(kAjustes, kAjustes).value("frmVaro/ultimaCarpeta").toString(), musica.filePath("Rock"));

    // The offscreen platform has no window manager to give the focus back.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(Mostrados(w), (QStringList{"Rock\\", "Rock\\01 Intro.mp3"}));
    QVERIFY(Hijo<QPushButton>(w, "cmdAnaliza")->isEnabled());
    QTest::keyClick(&w, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(Mostrados(w), QStringList());
    QVERIFY(!Hijo<QPushButton>(w, "cmdAnaliza")->isEnabled());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Mostrados(w), (QStringList{"Rock\\", "Rock\\01 Intro.mp3"}));
    QVERIFY(Hijo<QPushButton>(w, "cmdAnaliza")->isEnabled());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Mostrados(w), QStringList());
    QVERIFY(v.avisos.textos.isEmpty());

    // On "Base de datos" Tab goes from the search box to its list, then to "Limpia BD".
    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("txtBuscaBD"));
    QStringList orden;
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        orden << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(orden, (QStringList{"lstVBD", "cmbLimpia"}));
}

// From start to a recorded CD and back to the search box, keys only: after
// each long task the keyboard is on the control used (after "Explorar", on
// the description to check), and Ctrl+Tab turns the tabs from anywhere.
void TestFrmVaroLista::focoTrasCadaTarea()
{
    QTemporaryDir cd;
    QVERIFY(!CreaMp3(cd.filePath("Coro Añil/Álbum del Ñandú/01 Alba.mp3"), 0.5).isEmpty());
    UnidadesFalsas u(cd.path(), "CORO_ANIL", 42);
    Ventana v(u, "foco");
    frmVaro& w = v.w;
    ElectorGuionado elector;
    elector.responde = [](const ElectorGuionado::Vista&, bool&) { return 1; };
    w.PonElector(&elector);
    Suelta(w, {cd.filePath("Coro Añil")});
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    const struct {
        Qt::Key tecla;
        Qt::KeyboardModifiers con;
        const char* foco;
        const char* pestana;
    } pasos[] = {
        {Qt::Key_B, Qt::AltModifier, "cmdBusca", "Ficheros"},
        {Qt::Key_L, Qt::AltModifier, "cmdAnaliza", "Ficheros"},
        {Qt::Key_Tab, Qt::ControlModifier, "Drive1", "Analiza CD"},
        {Qt::Key_X, Qt::AltModifier, "txtCDROM", "Analiza CD"},
        {Qt::Key_G, Qt::AltModifier, "cmdGraba", "Analiza CD"},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "lstVBusca", "Ficheros"},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "qt_tabwidget_tabbar", "Acerca de,,,"},
        {Qt::Key_Tab, Qt::ControlModifier, "lstVBusca", "Ficheros"},
        {Qt::Key_F, Qt::ControlModifier, "txtBuscaBD", "Base de datos"},
    };
    auto* pestanas = Hijo<QTabWidget>(w, "SSTab2");
    for (const auto& p : pasos) {
        QWidget* antes = QApplication::focusWidget();
        QTest::keyClick(antes ? antes : &w, p.tecla, p.con);
        QTRY_COMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
                     QString::fromUtf8(p.foco));
        QCOMPARE(pestanas->tabText(pestanas->currentIndex()), QString::fromUtf8(p.pestana));
    }
    QCOMPARE(Hijo<QLabel>(w, "lblEstado")->text(), QString("Grabado el CD «CORO_ANIL»: 1 disco, 1 canción"));
    QCOMPARE(v.avisos.textos, QStringList());
}

// Each command leaves one step to undo when it changed the rows, and none
// when it did not: Ctrl+Z never spends a press on nothing.
void TestFrmVaroLista::deshacerSoloCuandoCambia()
{
    QTemporaryDir cd;
    EscribeFichero(cd.filePath("Coro Añil/Álbum del Ñandú/01 Alba.mp3"), "x");
    EscribeFichero(cd.filePath("Coro Añil/Álbum del Ñandú/02 Ola.mp3"), "x");
    UnidadesFalsas u(cd.path(), "CORO_ANIL", 42);
    Ventana v(u, "deshacer");
    frmVaro& w = v.w;
    ElectorGuionado elector;
    elector.responde = [](const ElectorGuionado::Vista&, bool&) { return 1; };
    w.PonElector(&elector);
    const struct {
        const char* que;
        std::function<void()> haz;
        int pasos;
    } ordenes[] = {
        {"Nueva on an empty list", [&] { w.cmdNueva_Click(); }, 0},
        {"a drop that no longer exists", [&] { w.lstVBusca_OLEDragDrop({cd.filePath("no está")}); }, 0},
        {"a drop", [&] { w.lstVBusca_OLEDragDrop({cd.filePath("Coro Añil")}); }, 1},
        {"Busca", [&] { w.cmdBusca_Click(); }, 1},
        {"Busca with nothing left to open", [&] { w.cmdBusca_Click(); }, 0},
        {"Analiza", [&] { w.cmdAnaliza_Click(); }, 1},
        {"Analiza with the same answers", [&] { w.cmdAnaliza_Click(); }, 0},
        {"Compara", [&] { w.cmdCompara_Click(); }, 1},
        {"Compara again", [&] { w.cmdCompara_Click(); }, 0},
        {"Supr with nothing selected", [&] { w.lstVBusca_KeyDown(Qt::Key_Delete); }, 0},
        {"Explorar, whole", [&] { w.cmdExplorar_Click(); }, 1},
        {"Explorar the same CD again", [&] { w.cmdExplorar_Click(); }, 0},
        {"Explorar with no CD", [&] {
             u.volumenes[1].lista = false;
             w.cmdExplorar_Click();
         }, 0},
        {"Nueva", [&] { w.cmdNueva_Click(); }, 1},
    };
    int pasos = 0;
    for (const auto& o : ordenes) {
        o.haz();
        pasos += o.pasos;
        QVERIFY2(w.Deshacer().count() == pasos, o.que);
    }
    // Undone once, "Nueva" gives back the explored CD; once more, the list
    // before "Explorar".
    w.Deshacer().undo();
    QCOMPARE(Mostrados(w).size(), 5);
    QCOMPARE(Mostrados(w).first(), QString());
    w.Deshacer().undo();
    QCOMPARE(Mostrados(w).first(), QString("Coro Añil\\"));
}

void TestFrmVaroLista::comprobacionDeUnidad()
{
    QTemporaryDir cd;
    UnidadesFalsas u(cd.path(), "MI_CD", -1234567);
    Ventana v(u, "c1");
    frmVaro& w = v.w;
    QCOMPARE(Hijo<QComboBox>(w, "Drive1")->currentIndex(), 1);
    QCOMPARE(Hijo<QLabel>(w, "lbserial")->text(), QStringLiteral("-1234567"));
    QCOMPARE(Hijo<QLabel>(w, "lbName")->text(), QStringLiteral("Nombre: MI_CD"));
    QCOMPARE(Hijo<QLineEdit>(w, "txtCDROM")->text(), QStringLiteral("MI_CD"));
    QVERIFY(Hijo<QPushButton>(w, "cmdExplorar")->isEnabled());

    // The hard disk: no serial, no name, the description stays.
    Hijo<QLineEdit>(w, "txtCDROM")->setText("Mis canciones");
    Hijo<QComboBox>(w, "Drive1")->setCurrentIndex(0);
    QCOMPARE(Hijo<QLabel>(w, "lbserial")->text() + Hijo<QLabel>(w, "lbName")->text(), QString());
    QVERIFY(!Hijo<QPushButton>(w, "cmdExplorar")->isEnabled());
    QCOMPARE(Hijo<QLineEdit>(w, "txtCDROM")->text(), QStringLiteral("Mis canciones"));
    // Back on the CD the volume name replaces what was typed.
    Hijo<QComboBox>(w, "Drive1")->setCurrentIndex(1);
    QCOMPARE(Hijo<QLineEdit>(w, "txtCDROM")->text(), QStringLiteral("MI_CD"));

    // The disc taken out: "Explorar" stops at the check, the list stays.
    QTemporaryDir musica;
    EscribeFichero(musica.path() + "/a.mp3", "x");
    Suelta(w, {musica.path() + "/a.mp3"});
    u.volumenes[1].lista = false;
    w.cmdExplorar_Click();
    QCOMPARE(Mostrados(w), QStringList({"a.mp3"}));
    QCOMPARE(Hijo<QLabel>(w, "lbserial")->text(), QString());
    QVERIFY(!Hijo<QPushButton>(w, "cmdExplorar")->isEnabled());
    QVERIFY(Hijo<QPushButton>(w, "cmdBusca")->isEnabled());

    // Starting on the hard disk: only the always-enabled buttons work.
    UnidadesFalsas enDisco(cd.path());
    enDisco.actual = 0;
    Ventana d(enDisco, "c2");
    QCOMPARE(Hijo<QLabel>(d.w, "lbserial")->text() + Hijo<QLineEdit>(d.w, "txtCDROM")->text(), QString());
    for (int b = 0; b < kBotones; ++b)
        QVERIFY2(!Hijo<QPushButton>(d.w, NombreBoton(Boton(b)))->isEnabled(), NombreBoton(Boton(b)));
}

void TestFrmVaroLista::unidadesQueCambianOFallan()
{
    QTemporaryDir cd;
    QTemporaryDir otro;
    UnidadesRotas u(cd.path(), "PRIMERO", 1);
    u.rota = true;
    Ventana v(u, "d1");  // start-up goes on although the check fails, and says so
    frmVaro& w = v.w;
    QCOMPARE(v.avisos.fallos.size(), 1);
    QVERIFY2(v.avisos.fallos[0].contains("la unidad no responde"), qPrintable(v.avisos.fallos[0]));
    QVERIFY(!Hijo<QPushButton>(w, "cmdExplorar")->isEnabled());
    u.rota = false;
    w.Drive1_Change();
    QCOMPARE(Hijo<QComboBox>(w, "Drive1")->count(), 2);
    QCOMPARE(Hijo<QLabel>(w, "lbserial")->text(), QStringLiteral("1"));

    // A disc mounted after start shows up when the list is opened.
    Volumen nuevo = u.volumenes[1];
    nuevo.raiz = otro.path() + "/";
    nuevo.nombre = "SEGUNDO";
    u.volumenes << nuevo;
    QTest::mousePress(Hijo<QComboBox>(w, "Drive1"), Qt::LeftButton);
    Hijo<QComboBox>(w, "Drive1")->hidePopup();
    QCOMPARE(Hijo<QComboBox>(w, "Drive1")->count(), 3);
    QCOMPARE(Hijo<QComboBox>(w, "Drive1")->currentIndex(), 1);  // the choice stays
    Hijo<QComboBox>(w, "Drive1")->setCurrentIndex(2);
    QCOMPARE(Hijo<QLabel>(w, "lbName")->text(), QStringLiteral("Nombre: SEGUNDO"));
    // Unmounted again: back to the current folder's volume, checked.
    u.volumenes.removeLast();
    u.actual = 0;
    QTest::keyClick(Hijo<QComboBox>(w, "Drive1"), Qt::Key_F4);
    Hijo<QComboBox>(w, "Drive1")->hidePopup();
    QCOMPARE(Hijo<QComboBox>(w, "Drive1")->currentIndex(), 0);
    QVERIFY(!Hijo<QPushButton>(w, "cmdExplorar")->isEnabled());
    // The list failing as it drops down is told too.
    u.rota = true;
    QTest::keyClick(Hijo<QComboBox>(w, "Drive1"), Qt::Key_F4);
    Hijo<QComboBox>(w, "Drive1")->hidePopup();
    QCOMPARE(v.avisos.fallos.size(), 2);
    u.rota = false;

    // A failing drive during "Explorar" ends the check, and says why.
    Hijo<QComboBox>(w, "Drive1")->setCurrentIndex(1);
    QVERIFY(Hijo<QPushButton>(w, "cmdExplorar")->isEnabled());
    u.rota = true;
    w.cmdExplorar_Click();
    QCOMPARE(Hijo<QLabel>(w, "lbserial")->text() + Hijo<QLabel>(w, "lbName")->text(), QString());
    QVERIFY(!Hijo<QPushButton>(w, "cmdExplorar")->isEnabled());
    QCOMPARE(w.Lista().Cuenta(), 0);
    QCOMPARE(v.avisos.fallos.size(), 3);
}

void TestFrmVaroLista::soltarBuscaYNueva()
{
    QTemporaryDir musica;
    const QString m = musica.path();
    EscribeFichero(m + "/Rock/Live/01 Intro.mp3", "x");
    EscribeFichero(m + "/Rock/tapa.jpg", "x");
    EscribeFichero(m + "/suelta.mp3", "x");
    EscribeFichero(m + "/ruido.wav", "x");
    UnidadesFalsas u;
    Ventana v(u, "s1");
    frmVaro& w = v.w;

    // An explored CD made "Graba" available; a drop takes it away, and one
    // of an unlisted type still offers "Busca".
    w.Aplica(Suceso::Explorar);
    Suelta(w, {m + "/ruido.wav"});
    QCOMPARE(w.Lista().Cuenta(), 0);
    QVERIFY(Hijo<QPushButton>(w, "cmdBusca")->isEnabled());
    QVERIFY(!Hijo<QPushButton>(w, "cmdGraba")->isEnabled());

    // A pen drive pulled out: what vanished before the drop or before "Busca"
    // is named over the window and skipped; the rest of the work stays.
    EscribeFichero(m + "/Pop/02 Otra.mp3", "x");
    Suelta(w, {m + "/Rock", m + "/suelta.mp3", m + "/Rock", m + "/Pop", m + "/no esta.mp3"});
    QCOMPARE(v.avisos.textos, QStringList{"Ya no existen y no se han añadido:\n" + m + "/no esta.mp3"});
    QVERIFY(QDir(m + "/Pop").removeRecursively());
    QCOMPARE(Mostrados(w), QStringList({"Pop\\", "Rock\\", "suelta.mp3"}));
    QCOMPARE(Hijo<QTreeView>(w, "lstVBusca")->model()->index(1, 1).data().toString(), QStringLiteral("D"));
    QVERIFY(!Hijo<QPushButton>(w, "cmdAnaliza")->isEnabled());

    Hijo<QPushButton>(w, "cmdBusca")->click();
    QCOMPARE(Mostrados(w), QStringList({"Pop\\", "Rock\\", "Rock\\Live\\", "Rock\\Live\\01 Intro.mp3",
                                        "Rock\\tapa.jpg", "suelta.mp3"}));
    QCOMPARE(v.avisos.textos.size(), 2);
    QVERIFY(v.avisos.textos.last().endsWith("\n" + m + "/Pop/"));
    QCOMPARE(w.Lista().Fila(4).tag, m + "/Rock/Live/01 Intro.mp3");
    w.Lista().Quita(1);
    QVERIFY(Hijo<QPushButton>(w, "cmdAnaliza")->isEnabled());
    Hijo<QPushButton>(w, "cmdBusca")->click();
    QCOMPARE(w.Lista().Cuenta(), 5);

    v.bd.autoresNuevos().AnadeAutorNuevo("Dover");
    w.Aplica(Suceso::Genera);
    Hijo<QPushButton>(w, "cmdNueva")->click();
    QCOMPARE(Mostrados(w), QStringList());
    QCOMPARE(v.bd.autoresNuevos().Cuantos(), 0);
    for (int b = 0; b < kBotones; ++b)
        if (Boton(b) != Boton::cmdExplorar)
            QVERIFY2(!Hijo<QPushButton>(w, NombreBoton(Boton(b)))->isEnabled(), NombreBoton(Boton(b)));
}

void TestFrmVaroLista::explorarElCd()
{
    QTemporaryDir cd;
    const QString disco = cd.path() + "/Dover/Devil came to me/";
    QVERIFY(!CreaMp3(disco + "01 Judas.mp3", 1).isEmpty());
    QVERIFY(!CreaMp3(disco + "02 Serenade.mp3", 1).isEmpty());
    CreaImagen(disco + "portada.jpg");
    EscribeFichero(cd.path() + "/Dover/leeme.txt", "x");
    UnidadesFalsas u(cd.path(), "DOVER", 305419896);
    Ventana v(u, "e1");
    frmVaro& w = v.w;
    ElectorGuionado elector;  // the person picks "a\d\c" for the album's first song
    elector.responde = ElectorGuionado::Elige("a\\d\\c");
    w.PonElector(&elector);

    // What was there before goes.
    QTemporaryDir otra;
    EscribeFichero(otra.path() + "/vieja.mp3", "x");
    Suelta(w, {otra.path() + "/vieja.mp3"});
    v.bd.autoresNuevos().AnadeAutorNuevo("Alguien");
    Hijo<QLineEdit>(w, "txtCDROM")->setText("escrito a mano");

    QSignalSpy progreso(Hijo<QProgressBar>(w, "prgLoad"), &QProgressBar::valueChanged);
    Hijo<QPushButton>(w, "cmdExplorar")->click();
    QCOMPARE(Hijo<QLabel>(w, "lbserial")->text(), QStringLiteral("305419896"));
    QCOMPARE(Hijo<QLineEdit>(w, "txtCDROM")->text(), QStringLiteral("DOVER"));
    // "Nueva" emptied the chosen authors; the analysis then added the one picked.
    QCOMPARE(v.bd.autoresNuevos().Cuantos(), 1);
    QCOMPARE(v.bd.autoresNuevos().BuscaAutorNuevo("Alguien"), -1);
    const QStringList esperados = {"", "Dover\\", "Dover\\Devil came to me\\",
                                   "Dover\\Devil came to me\\01 Judas.mp3", "Dover\\Devil came to me\\02 Serenade.mp3",
                                   "Dover\\Devil came to me\\portada.jpg", "Dover\\leeme.txt"};
    QCOMPARE(Mostrados(w), esperados);
    QCOMPARE(w.Lista().Fila(1).tag, cd.path() + "/");
    QCOMPARE(w.Lista().Tipo(1), QStringLiteral("#"));
    QCOMPARE(w.Lista().Fila(4).tag, disco + "01 Judas.mp3");

    // Progress showed 0, 1 and 5 tenths and is hidden again.
    QList<int> valores;
    for (const QList<QVariant>& s : progreso)
        valores << s[0].toInt();
    QCOMPARE(valores, QList<int>({0, 1, 5}));
    QCOMPARE(Hijo<QProgressBar>(w, "prgLoad")->maximum(), 10);
    QVERIFY(Hijo<QProgressBar>(w, "prgLoad")->isHidden());
    QVERIFY(Hijo<QPushButton>(w, "cmdAnaliza")->isEnabled());
    // The analysis asked once, for the album's first song, and decoded both.
    QCOMPARE(elector.vistas.size(), 1);
    QCOMPARE(elector.vistas[0].ruta, QStringLiteral("Dover\\Devil came to me\\01 Judas.mp3"));
    QCOMPARE(w.Lista().SubItem(5, columna::kAutor), QStringLiteral("Dover"));
    QCOMPARE(w.Lista().SubItem(5, columna::kDisco), QStringLiteral("Devil came to me"));
    QCOMPARE(w.Lista().SubItem(5, columna::kCancion), QStringLiteral("02 Serenade"));
    QCOMPARE(w.Lista().SubItem(6, columna::kDisco), QStringLiteral("Devil came to me"));  // the cover
    // "Genera" built the tree, then "Graba" and "Autorun" became available.
    QVERIFY(Hijo<QTreeWidget>(w, "Tv")->topLevelItemCount() > 0);
    QVERIFY(Hijo<QPushButton>(w, "cmdGenera")->isEnabled());
    QVERIFY(Hijo<QPushButton>(w, "cmdGraba")->isEnabled());
    QVERIFY(Hijo<QPushButton>(w, "cmdauto")->isEnabled());

    Hijo<QPushButton>(w, "cmdExplorar")->click();  // again: the same list, not a doubled one
    QCOMPARE(Mostrados(w), esperados);
    QCOMPARE(elector.vistas.size(), 2);
}

QTEST_MAIN(TestFrmVaroLista)
#include "test_frmvaro_lista.moc"
