// Whole roads through the main window, on real folders of real MP3s and a real
// catalogue in a temporary program folder: cataloguing a CD, preparing a CD
// for burning, and correcting what the masks got wrong.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "autorun/frmAuto.h"
#include "catalogue/navegador.h"
#include "catalogue/navegador_ui.h"
#include "decoding/entradadatos.h"
#include "main_window/frmVaro.h"
#include "store/catalogo.h"
#include "support/electorguionado.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

namespace {

// Answers the data-entry dialog: remembers what it was shown, then edits.
class EntradaGuionada : public EntradaDatos {
public:
    std::function<void(DatosEntrada&)> edita;
    QList<DatosEntrada> vistas;
    bool Pide(DatosEntrada& datos) override
    {
        vistas << datos;
        edita(datos);
        return true;
    }
};

// A CD as it would be burnt: an album with its cover, a compilation, a text
// file and a play list.
void CreaCd(const QString& raiz)
{
    const QString album = raiz + "/Dover/Devil came to me/";
    QVERIFY(!CreaMp3(album + "01 Judas.mp3", 2.4).isEmpty());
    QVERIFY(!CreaMp3(album + "02 Serenade.mp3", 3.6, {"-b", "192"}).isEmpty());
    QVERIFY(!CreaMp3(album + "03 Love is lost.mp3", 1.3, {"-V", "4"}).isEmpty());
    QVERIFY(!CreaImagen(album + "Portada.JPG").isEmpty());
    const QString varios = raiz + "/Exitos 2000/";
    QVERIFY(!CreaMp3(varios + "Ana Belen-Intro.mp3", 1.6).isEmpty());
    QVERIFY(!CreaMp3(varios + "Luis-Final.mp3", 2.2, {"-m", "m"}, 22050, 1).isEmpty());
    EscribeFichero(raiz + "/leeme.txt", "hola");
    EscribeFichero(raiz + "/todo.m3u", "Dover/Devil came to me/01 Judas.mp3\n");
}

// The person picks "a\d\p c" for the album and "d\a-c" for the compilation,
// ticking "the whole folder" there, since every song has another author.
void EligeComoUnaPersona(ElectorGuionado& elector)
{
    elector.responde = [](const ElectorGuionado::Vista& v, bool& mismoDir) {
        if (v.ruta.startsWith("Exitos 2000")) {
            mismoDir = true;
            return ElectorGuionado::FilaDe(v, "d\\a-c");
        }
        return ElectorGuionado::FilaDe(v, "a\\d\\p c");
    };
}

struct Programa {
    explicit Programa(Unidades& u, const QString& conexion)
        : bd(Catalogo::RutaCatalogo(dir.path()), conexion), w(bd, u, avisos, dir.path())
    {
        w.Form_Load();
        w.PonElector(&elector);
        EligeComoUnaPersona(elector);
        // The mask this CD needs is added on the "Mascaras" tab.
        w.findChild<QLineEdit*>("txtAñadir")->setText("a\\d\\p c");
        w.findChild<QPushButton*>("cmdAñadir")->click();
    }
    QTemporaryDir dir;
    Catalogo bd;
    AvisosAnotados avisos;
    ElectorGuionado elector;
    frmVaro w;
};

QStringList Columna(const Consulta& c0, const QString& campo)
{
    Consulta c = c0;
    QStringList r;
    for (; !c.Fin(); c.Siguiente())
        r << c.Texto(campo);
    return r;
}

QTreeWidgetItem* Hijo(QTreeWidgetItem* padre, const QString& texto)
{
    for (int i = 0; i < padre->childCount(); ++i)
        if (padre->child(i)->text(0) == texto)
            return padre->child(i);
    return nullptr;
}

void SeleccionaFilas(frmVaro& w, const QList<int>& filas)
{
    Hijo<QTreeView>(w, "lstVBusca")->clearSelection();
    for (int f : filas)
        Hijo<QTreeView>(w, "lstVBusca")->selectionModel()->select(Hijo<QTreeView>(w, "lstVBusca")->model()->index(f - 1, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

int FilaDe(const ListaTrabajo& l, const QString& texto)
{
    for (int i = 1; i <= l.Cuenta(); ++i)
        if (l.Fila(i).texto == texto)
            return i;
    return 0;
}

}  // namespace

class TestRecorridos : public QObject {
    Q_OBJECT
private slots:
    void catalogarUnCd();
    void prepararUnCdParaGrabar();
    void corregirFilasYCanciones();
};

void TestRecorridos::catalogarUnCd()
{
    QTemporaryDir cd;
    CreaCd(cd.path());
    UnidadesFalsas unidades(cd.path(), "MUSICA_2000", -559038737);
    Programa p(unidades, "cd");
    frmVaro& w = p.w;
    QVERIFY(Hijo<QPushButton>(w, "cmdExplorar")->isEnabled());
    QCOMPARE(Hijo<QLineEdit>(w, "txtCDROM")->text(), QString("MUSICA_2000"));

    Hijo<QPushButton>(w, "cmdExplorar")->click();
    QCOMPARE(p.elector.vistas.size(), 2);  // one question per folder
    QVERIFY(Hijo<QPushButton>(w, "cmdGraba")->isEnabled());
    const int exitos = FilaDe(w.Lista(), "Exitos 2000\\");
    QCOMPARE(w.Lista().SubItem(exitos, columna::kAutor), QString("<Varios Artistas>"));
    QCOMPARE(w.Lista().Tipo(FilaDe(w.Lista(), "Exitos 2000\\Luis-Final.mp3")), QString("v"));

    Hijo<QLineEdit>(w, "txtCDROM")->setText("Musica del 2000");
    Hijo<QPushButton>(w, "cmdGraba")->click();
    QVERIFY(p.avisos.textos.isEmpty());
    QCOMPARE(Hijo<QLabel>(w, "lblEstado")->text(), QString("Grabado el CD «Musica del 2000»: 2 discos, 5 canciones"));

    // The catalogue holds the CD, its authors, discs, songs and times.
    Consulta cds = p.bd.Abre("select dscd, sercd from tlcd");
    QCOMPARE(cds.RecordCount(), 1);
    QCOMPARE(cds.Texto("dscd"), QString("Musica del 2000"));
    QCOMPARE(cds.Texto("sercd"), QString("-559038737"));
    QCOMPARE(Columna(p.bd.Abre("select dsautor from tlautor order by dsautor_std"), "dsautor"),
             (QStringList{"Ana Belen", "Dover", "Luis", "<Varios Artistas>"}));
    Consulta canciones = p.bd.Abre(
        "select dscancion, wncancion, wntime, swvarios, dspath, dsautor, dsdisco from tlcancion, tlautor, tldisco "
        "where cdautor = idautor and cddisco = iddisco order by dspath");
    QCOMPARE(canciones.RecordCount(), 5);
    const QList<std::tuple<QString, int, int, bool, QString, QString>> esperadas = {
        {"Judas", 1, 2, false, "Dover", "Devil came to me"},
        {"Serenade", 2, 3, false, "Dover", "Devil came to me"},
        {"Love is lost", 3, 1, false, "Dover", "Devil came to me"},
        {"Intro", 0, 1, true, "Ana Belen", "Exitos 2000"},
        {"Final", 0, 2, true, "Luis", "Exitos 2000"},
    };
    for (const auto& [titulo, posicion, segundos, varios, autor, disco] : esperadas) {
        QCOMPARE(canciones.Texto("dscancion"), titulo);
        QCOMPARE(canciones.Entero("wncancion"), posicion);
        QCOMPARE(canciones.Entero("wntime"), segundos);
        QCOMPARE(canciones.SiNo("swvarios"), varios);
        QCOMPARE(canciones.Texto("dsautor"), autor);
        QCOMPARE(canciones.Texto("dsdisco"), disco);
        canciones.Siguiente();
    }
    // The compilation belongs to "<Varios Artistas>"; the cover was copied once.
    QCOMPARE(p.bd.Abre("select * from tldisco, tlautor where cdautord = idautor and dsautor = '<Varios Artistas>'")
                 .RecordCount(),
             1);
    QCOMPARE(Columna(p.bd.Abre("select dspath from tlobjetos"), "dspath"),
             QStringList{"Dover\\Devil came to me\\Portada.JPG"});
    QCOMPARE(QDir(w.DirPrograma() + "/imagenes").entryList(QDir::Files), QStringList{"1.jpg"});
    QCOMPARE(LeeFichero(w.DirPrograma() + "/imagenes/1.jpg"),
             LeeFichero(cd.path() + "/Dover/Devil came to me/Portada.JPG"));

    // Recording again adds nothing.
    Hijo<QPushButton>(w, "cmdGraba")->click();
    QCOMPARE(p.bd.Abre("select * from tlcancion").RecordCount(), 5);
    QCOMPARE(p.bd.Abre("select * from tlobjetos").RecordCount(), 1);

    // "Compara" sees every song recorded.
    Hijo<QPushButton>(w, "cmdCompara")->click();
    QCOMPARE(w.Lista().Fila(FilaDe(w.Lista(), "Dover\\Devil came to me\\01 Judas.mp3")).icono, QString("true"));

    // The browser shows it: by authors, Dover's disc with its cover.
    Hijo<QComboBox>(w, "cmbISort")->setCurrentIndex(0);
    emit Hijo<QComboBox>(w, "cmbISort")->activated(Hijo<QComboBox>(w, "cmbISort")->currentIndex());
    QTreeWidgetItem* raiz = Hijo<QTreeWidget>(w, "tvBD")->topLevelItem(0);
    QCOMPARE(raiz->childCount(), 4);
    QTreeWidgetItem* dover = Hijo(raiz, "Dover");
    QVERIFY(dover);
    Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(dover);
    QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 3);
    QTreeWidgetItem* disco = Hijo(dover, "Devil came to me(Musica del 2000)");
    QVERIFY(disco);
    Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(disco);
    QCOMPARE(Hijo<QLabel>(w, "imgBD")->property("Tag").toString(), QString("1"));
    QVERIFY(!Hijo<QLabel>(w, "imgBD")->pixmap().isNull());

    // A listing with songs and pictures is written beside the program.
    Hijo<QCheckBox>(w, "chkCanciones")->setChecked(true);
    Hijo<QCheckBox>(w, "chkImagenes")->setChecked(true);
    Hijo<QLineEdit>(w, "txtSalida")->setText("todo.htm");
    Hijo<QPushButton>(w, "cmdLstAutor")->click();
    const QString pagina = QString::fromUtf8(LeeFichero(w.DirPrograma() + "/todo.htm"));
    for (const QString& texto : {QString("Dover"), QString("Devil came to me"), QString("Judas(00:02)"),
                                 QString("Intro-Ana Belen(00:01)"), QString("imagenes/1.jpg")})
        QVERIFY2(pagina.contains(texto), qPrintable(texto));
}

void TestRecorridos::prepararUnCdParaGrabar()
{
    QTemporaryDir origen;
    CreaCd(origen.path());
    UnidadesFalsas unidades;  // no CD in any drive
    Programa p(unidades, "grabar");
    frmVaro& w = p.w;

    w.lstVBusca_OLEDragDrop({origen.path() + "/Dover", origen.path() + "/Exitos 2000"});
    QVERIFY(Hijo<QPushButton>(w, "cmdBusca")->isEnabled());
    Hijo<QPushButton>(w, "cmdBusca")->click();
    Hijo<QPushButton>(w, "cmdAnaliza")->click();
    Hijo<QPushButton>(w, "cmdGenera")->click();
    // Recording needs an explored CD, and the window says so.
    QVERIFY(!Hijo<QPushButton>(w, "cmdGraba")->isEnabled());
    QCOMPARE(Hijo<QLabel>(w, "lblEstado")->text(), QString("Explora el CD para poder grabarlo"));
    QCOMPARE(Hijo<QPushButton>(w, "cmdGraba")->statusTip(), QString("Explora el CD para poder grabarlo"));
    QVERIFY(Hijo<QTreeWidget>(w, "Tv")->topLevelItemCount() > 0);

    Hijo<QPushButton>(w, "cmdWriteTag")->click();
    QVERIFY(p.avisos.textos.isEmpty());
    QProcess id3;
    id3.start("id3v2", {"-l", origen.path() + "/Dover/Devil came to me/02 Serenade.mp3"});
    QVERIFY(id3.waitForFinished());
    const QString leido = QString::fromLatin1(id3.readAllStandardOutput());
    QVERIFY2(leido.contains("Title  : Serenade"), qPrintable(leido));
    QVERIFY2(leido.contains("Artist: Dover"), qPrintable(leido));
    QVERIFY2(leido.contains("Album  : Devil came to me"), qPrintable(leido));

    Hijo<QPushButton>(w, "cmdauto")->click();
    QVERIFY(Hijo<QPushButton>(w, "cmdVerAuto")->isEnabled());
    const QString autorun = QString::fromUtf8(LeeFichero(w.DirPrograma() + "/autorun.dat"));
    QVERIFY(autorun.contains("Devil came to me"));
    QVERIFY(autorun.contains("Portada.JPG"));

    // The viewer, as Vistel would show it from that folder.
    AvisosAnotados avisosVisor;
    frmAuto visor(w.DirPrograma(), 1, avisosVisor);
    QCOMPARE(visor.discosMostrados, 2);
    QStringList cajas;
    for (int d = 0; d < visor.discosMostrados; ++d)
        cajas << visor.txtdisco[d]->toPlainText();
    QVERIFY2(cajas.join("|").contains("Devil came to me"), qPrintable(cajas.join("|")));
    QVERIFY2(cajas.join("|").contains("Serenade"), qPrintable(cajas.join("|")));
}

void TestRecorridos::corregirFilasYCanciones()
{
    QTemporaryDir cd;
    CreaCd(cd.path());
    UnidadesFalsas unidades(cd.path(), "MUSICA_2000", 7);
    Programa p(unidades, "corregir");
    frmVaro& w = p.w;
    EntradaGuionada entrada;
    w.PonEntrada(&entrada);
    Hijo<QPushButton>(w, "cmdExplorar")->click();

    // F2 on the album's three songs: author and disc shared, songs differ.
    const int judas = FilaDe(w.Lista(), "Dover\\Devil came to me\\01 Judas.mp3");
    SeleccionaFilas(w, {judas, judas + 1, judas + 2});
    entrada.edita = [](DatosEntrada& d) { d.textos[0] = "The Dover Band"; };
    w.lstVBusca_KeyDown(Qt::Key_F2);
    QCOMPARE(entrada.vistas.size(), 1);
    QCOMPARE(entrada.vistas[0].habilitados, (std::array<bool, 4>{true, true, false, false}));
    QCOMPARE(entrada.vistas[0].etiqueta, QString("Pon datos para varios ficheros"));
    for (int f : {judas, judas + 1, judas + 2})
        QCOMPARE(w.Lista().SubItem(f, columna::kAutor), QString("The Dover Band"));
    QCOMPARE(w.Lista().SubItem(judas, columna::kCancion), QString("Judas"));
    Hijo<QPushButton>(w, "cmdGraba")->click();
    QVERIFY(p.bd.Abre("select * from tlautor where dsautor = 'The Dover Band'").RecordCount() == 1);

    // F2 on one catalogue song: its title and position change in the catalogue.
    Hijo<QComboBox>(w, "cmbISort")->setCurrentIndex(0);
    emit Hijo<QComboBox>(w, "cmbISort")->activated(Hijo<QComboBox>(w, "cmbISort")->currentIndex());
    QTreeWidgetItem* banda = Hijo(Hijo<QTreeWidget>(w, "tvBD")->topLevelItem(0), "The Dover Band");
    QVERIFY(banda);
    Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(banda);
    QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 3);
    QTreeWidgetItem* fila = nullptr;
    for (int i = 0; i < 3; ++i)
        if (Hijo<QTreeWidget>(w, "lstVBD")->topLevelItem(i)->text(columnaBD::kCancion) == "Serenade")
            fila = Hijo<QTreeWidget>(w, "lstVBD")->topLevelItem(i);
    QVERIFY(fila);
    fila->setSelected(true);
    entrada.edita = [](DatosEntrada& d) {
        d.textos[2] = "Serenade (en directo)";
        d.textos[3] = "12";
    };
    w.lstVBD_KeyDown(Qt::Key_F2);
    Consulta c = p.bd.Abre("select wncancion from tlcancion where dscancion = 'Serenade (en directo)'");
    QCOMPARE(c.RecordCount(), 1);
    QCOMPARE(c.Entero("wncancion"), 12);

    // Delete two catalogue songs: gone from the list and from the catalogue.
    Hijo<QTreeWidget>(w, "lstVBD")->clearSelection();
    Hijo<QTreeWidget>(w, "lstVBD")->topLevelItem(0)->setSelected(true);
    Hijo<QTreeWidget>(w, "lstVBD")->topLevelItem(1)->setSelected(true);
    w.lstVBD_KeyDown(Qt::Key_Delete);
    QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 1);
    QCOMPARE(p.bd.Abre("select * from tlcancion").RecordCount(), 3);
    // Deleting in the work list touches only the list.
    SeleccionaFilas(w, {judas});
    w.lstVBusca_KeyDown(Qt::Key_Delete);
    QCOMPARE(FilaDe(w.Lista(), "Dover\\Devil came to me\\01 Judas.mp3"), 0);
    QCOMPARE(p.bd.Abre("select * from tlcancion").RecordCount(), 3);
}

QTEST_MAIN(TestRecorridos)
#include "test_recorridos.moc"
