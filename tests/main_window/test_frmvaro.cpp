// What a person sees when Lodrin starts: texts, tooltips, columns, pictures
// and which commands are available.
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "common/controles.h"
#include "common/listasimagenes.h"
#include "common/lodrinerror.h"
#include "common/twips.h"
#include "main_window/frmVaro.h"
#include "store/catalogo.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

class TestFrmVaro : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pestanasYTextos();
    void ayudas();
    void cabecerasDeLasListas();
    void ordenesDelArbol();
    void botonesAlArrancar();
    void etiquetasNoSeEditan();
    void imagenesDeLasDosListas();
    void mascarasListadasYAnadidas();
    void catalogoAjenoParaElArranque();
    void ventanaQueCrece();
    void busquedaQueFallaSeDice();

private:
    QTemporaryDir* dir_ = nullptr;
    Catalogo* bd_ = nullptr;
    UnidadesFalsas unidades_;
    AvisosAnotados avisos_;
    frmVaro* w_ = nullptr;
};

void TestFrmVaro::init()
{
    dir_ = new QTemporaryDir;
    AjustesEn(dir_->filePath("config"));
    bd_ = new Catalogo(Catalogo::RutaCatalogo(dir_->path()), "ventana");
    w_ = new frmVaro(*bd_, unidades_, avisos_, dir_->path());
    w_->Form_Load();
}

void TestFrmVaro::cleanup()
{
    delete w_;
    delete bd_;
    delete dir_;
}

void TestFrmVaro::pestanasYTextos()
{
    QCOMPARE(w_->windowTitle(), QString("Lodrin"));
    QStringList pestanas;
    for (int i = 0; i < Hijo<QTabWidget>(*w_, "SSTab2")->count(); ++i) {
        pestanas << Hijo<QTabWidget>(*w_, "SSTab2")->tabText(i);
        QVERIFY(!Hijo<QTabWidget>(*w_, "SSTab2")->tabIcon(i).isNull());
    }
    QCOMPARE(pestanas, (QStringList{"Ficheros", "Analiza CD", "Mascaras", "Base de datos", "Listados",
                                    "Preparar CD", "Acerca de,,,"}));
    // One row, every tab visible without scrolling, at the opening size.
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    QVERIFY2(Hijo<QTabWidget>(*w_, "SSTab2")->tabBar()->sizeHint().width() <= Hijo<QTabWidget>(*w_, "SSTab2")->width(), qPrintable(QString::number(Hijo<QTabWidget>(*w_, "SSTab2")->tabBar()->sizeHint().width())));
    const QList<std::tuple<const char*, QString, QString>> botones = {
        {"cmdNueva", "Nueva", "Borra la lista"},
        {"cmdBusca", "Busca", "Saca todos los ficheros mp3 de las carpetas de la lista"},
        {"cmdAnaliza", "Analiza", "Analiza el nombre del fichero para darnos Autor/disco/Cancion/Posicion"},
        {"cmdCompara", "Compara", "Analiza los ficheros de la lista para decirnos si estan en la base de datos"},
        {"cmdGenera", "Genera", "Nos hace el arbol por Autor/disco"},
        {"cmdVerAuto", "Ver Autorun", "Nos enseña como seria el Autorun"},
        {"cmdExplorar", "Explorar", "Una vez hemos metido el CD, vamos a sacar la informacion."},
        {"cmdGraba", "Graba", "Graba la informacion extraida en la BD"},
        {"cmdAñadir", "Añadir", "Añadir mascara"},
        {"cmbLimpia", "Limpia BD", ""},
        {"cmdLstAutor", "Generar listado", "Hace un listado, por la consulta que hemos puesto"},
        {"cmdWriteTag", "Poner Tag's", ""},
        {"cmdDeleteTag", "Borrar tag's", ""},
        {"cmdauto", "Autorun", ""},
    };
    for (const auto& [nombre, texto, ayuda] : botones) {
        auto* b = w_->findChild<QPushButton*>(QString::fromUtf8(nombre));
        QVERIFY2(b, nombre);
        QCOMPARE(QString(b->text()).remove('&'), texto);
        QCOMPARE(b->toolTip(), ayuda);
    }
    // Every button and box has its Alt+letter, none repeated on a tab nor
    // taken by a menu.
    QString letrasMenus;
    for (QAction* m : Hijo<QMenuBar>(*w_, "menuLodrin")->actions())
        letrasMenus += m->text().at(m->text().indexOf('&') + 1).toLower();
    QCOMPARE(letrasMenus, QString("aey"));
    for (int i = 0; i < Hijo<QTabWidget>(*w_, "SSTab2")->count(); ++i) {
        QString letras = letrasMenus;
        for (QAbstractButton* b : Hijo<QTabWidget>(*w_, "SSTab2")->widget(i)->findChildren<QAbstractButton*>()) {
            if (!qobject_cast<QPushButton*>(b) && !qobject_cast<QCheckBox*>(b))
                continue;  // the search box's clear button
            const qsizetype y = b->text().indexOf('&');
            QVERIFY2(y >= 0, qPrintable(b->objectName()));
            const QChar letra = b->text().at(y + 1).toLower();
            QVERIFY2(!letras.contains(letra), qPrintable(b->text()));
            letras += letra;
        }
    }
    QCOMPARE(w_->findChild<QLabel*>("Label2")->text(), QString("Serial: "));
    QCOMPARE(w_->findChild<QLabel*>("Label1")->text(), QString("Descripcion:"));
    QCOMPARE(Hijo<QLabel>(*w_, "lbserial")->text(), QString());
    QCOMPARE(Hijo<QLineEdit>(*w_, "txtCDROM")->toolTip(), QString("Pon la descripcion que quieres que identifique al Cd a catalogar"));
    QVERIFY(Hijo<QCheckBox>(*w_, "chkGrabImg")->isChecked());
    QCOMPARE(Hijo<QCheckBox>(*w_, "chkGrabImg")->text().remove('&'), QString("Grabar imagenes"));
    QCOMPARE(Hijo<QLineEdit>(*w_, "txtSalida")->text(), QString("listado.htm"));
    QVERIFY(!Hijo<QCheckBox>(*w_, "chkCanciones")->isChecked());
    QVERIFY(!Hijo<QCheckBox>(*w_, "chkImagenes")->isChecked());
    QCOMPARE(Hijo<QCheckBox>(*w_, "chkImagenes")->text().remove('&'), QString("Poner Imagenes"));
    QCOMPARE(w_->findChild<QLineEdit*>("txtAñadir")->toolTip(), QString("Mascara a añadir"));
    QCOMPARE(Hijo<ComboImagen>(*w_, "cmbCd")->placeholderText(), QString("<elegir cd>"));
    QCOMPARE(Hijo<ComboImagen>(*w_, "cmbAutor")->placeholderText(), QString("<elegir autor>"));
    QCOMPARE(Hijo<ComboImagen>(*w_, "cmbDisco")->placeholderText(), QString("<elegir disco>"));
    for (QObject* o : {static_cast<QObject*>(Hijo<ComboImagen>(*w_, "cmbCd")), static_cast<QObject*>(Hijo<ComboImagen>(*w_, "cmbAutor")),
                       static_cast<QObject*>(Hijo<ComboImagen>(*w_, "cmbDisco")), static_cast<QObject*>(Hijo<QLabel>(*w_, "imgBD"))})
        QCOMPARE(o->property("Tag").toString(), QString("0"));
    QCOMPARE(Hijo<QLabel>(*w_, "imgBD")->toolTip(), QString("Pulsa para ver la siguiente..."));
    QCOMPARE(Hijo<QTreeWidget>(*w_, "Tv")->toolTip(), QString("Arbol que nos muestra la exploracion"));
    QVERIFY(Hijo<QProgressBar>(*w_, "prgLoad")->isHidden());
    QVERIFY(w_->findChild<QLabel*>("lblAcerca")->text().startsWith("Lodrin "));
    QVERIFY(w_->findChild<QLabel*>("lblAcerca")->text().endsWith("\n\nCarpeta del catálogo: " + dir_->path()));
}

void TestFrmVaro::ayudas()
{
    const QStringList cd = Hijo<QLabel>(*w_, "lblInfoCD")->text().split("\r\n");
    QCOMPARE(cd.size(), 8);  // seven lines and a final line break
    QVERIFY(cd[2].endsWith(" una vez que haya acabado nos dejara pulsar al boton <Grabar> para añadir estos datos a la "
                           "Base de DATOS "));
    QCOMPARE(cd[7], QString());
    const QStringList masc = Hijo<QLabel>(*w_, "lblInfoMasc")->text().split("\r\n");
    QCOMPARE(masc.size(), 7);
    QCOMPARE(masc[4], QString("Dover(Devil come to me)\\Judas.mp3  --> mascara aplicable  a(d)\\c "));
    const QStringList lst = Hijo<QLabel>(*w_, "lblListado")->text().split("\r\n");
    QCOMPARE(lst.size(), 7);
    QCOMPARE(lst[6], QString("-Salida. Nombre del fichero de salida con extension, solo graba en formato HTML"));
}

void TestFrmVaro::cabecerasDeLasListas()
{
    QAbstractItemModel* m = Hijo<QTreeView>(*w_, "lstVBusca")->model();
    QStringList cabeceras;
    for (int c = 0; c < m->columnCount(); ++c)
        cabeceras << m->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(cabeceras, (QStringList{"Nombre fichero", "Attributos", "Autor", "disco", "cancion", "posicion",
                                     "mascara"}));
    QVERIFY(m->headerData(2, Qt::Horizontal, Qt::DecorationRole).isValid());
    QVERIFY(!m->headerData(1, Qt::Horizontal, Qt::DecorationRole).isValid());
    QVERIFY(Hijo<QTreeView>(*w_, "lstVBusca")->columnWidth(1) >= Twips(500));
    QCOMPARE(Hijo<QTreeView>(*w_, "lstVBusca")->selectionMode(), QAbstractItemView::ExtendedSelection);

    QStringList bd;
    for (int c = 0; c < Hijo<QTreeWidget>(*w_, "lstVBD")->columnCount(); ++c)
        bd << Hijo<QTreeWidget>(*w_, "lstVBD")->headerItem()->text(c);
    QCOMPARE(bd, (QStringList{"posicion", "", "autor", "disco", "cancion", "cd"}));
    QVERIFY(Hijo<QTreeWidget>(*w_, "lstVBD")->isColumnHidden(1));
    QCOMPARE(Hijo<QTreeWidget>(*w_, "lstMascaras")->headerItem()->text(0), QString("Mascara"));
}

void TestFrmVaro::ordenesDelArbol()
{
    QStringList entradas;
    for (int i = 0; i < Hijo<QComboBox>(*w_, "cmbISort")->count(); ++i)
        entradas << Hijo<QComboBox>(*w_, "cmbISort")->itemText(i);
    QCOMPARE(entradas, (QStringList{"Arbol por Autores", "Arbol por Discos", "Arbol por CD's"}));
    QCOMPARE(Hijo<QComboBox>(*w_, "cmbISort")->currentText(), QString("Arbol por CD's"));
    QCOMPARE(Hijo<QTreeWidget>(*w_, "tvBD")->topLevelItemCount(), 0);
}

void TestFrmVaro::botonesAlArrancar()
{
    QStringList activos;
    for (QPushButton* b : w_->findChildren<QPushButton*>())
        if (b->isEnabled())
            activos << b->objectName();
    activos.sort();
    QCOMPARE(activos, (QStringList{"cmbLimpia", "cmdAñadir", "cmdLstAutor", "cmdNueva"}));
}

void TestFrmVaro::etiquetasNoSeEditan()
{
    // A person starts editing a label by a double click or F2; neither does anything.
    w_->show();
    w_->Lista().Anade("a.mp3", "/a.mp3", "f", "mp3");
    w_->RefrescaLista();
    const QModelIndex i = Hijo<QTreeView>(*w_, "lstVBusca")->model()->index(0, 0);
    QVERIFY(!(Hijo<QTreeView>(*w_, "lstVBusca")->model()->flags(i) & Qt::ItemIsEditable));
    const QPoint p = Hijo<QTreeView>(*w_, "lstVBusca")->visualRect(i).center();
    QTest::mouseDClick(Hijo<QTreeView>(*w_, "lstVBusca")->viewport(), Qt::LeftButton, {}, p);
    QVERIFY(Hijo<QTreeView>(*w_, "lstVBusca")->viewport()->findChildren<QLineEdit*>().isEmpty());
    QCOMPARE(Hijo<QTreeView>(*w_, "lstVBusca")->model()->data(i).toString(), QString("a.mp3"));
    for (QTreeWidget* t : {Hijo<QTreeWidget>(*w_, "Tv"), Hijo<QTreeWidget>(*w_, "tvBD"), Hijo<QTreeWidget>(*w_, "lstVBD")}) {
        auto* item = new QTreeWidgetItem(t, QStringList{"nodo"});
        item->setFlags(item->flags() | Qt::ItemIsEditable);  // even an editable item stays put
        t->setCurrentItem(item);
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(item).center());
        QTest::keyClick(t, Qt::Key_F2);
        QVERIFY2(t->viewport()->findChildren<QLineEdit*>().isEmpty(), qPrintable(t->objectName()));
        QCOMPARE(item->text(0), QString("nodo"));
    }
}

void TestFrmVaro::imagenesDeLasDosListas()
{
    QCOMPARE(ListasImagenes::ClavesPequenas().size(), 20);
    QCOMPARE(ListasImagenes::ClavesGrandes().size(), 20);
    for (const QString& c : ListasImagenes::ClavesPequenas()) {
        QVERIFY2(!ListasImagenes().Pequena(c).isNull(), qPrintable(c));
        QCOMPARE(ListasImagenes().Pequena(c).availableSizes().value(0), QSize(16, 16));
    }
    for (const QString& c : ListasImagenes::ClavesGrandes())
        QVERIFY2(!ListasImagenes().Grande(c).isNull(), qPrintable(c));
    QVERIFY(ListasImagenes().Grande("\"cdlibro\"").availableSizes().value(0) == QSize(32, 32));
    QVERIFY(ListasImagenes().Grande("mascara").isNull());  // keys are case-sensitive
}

void TestFrmVaro::mascarasListadasYAnadidas()
{
    QCOMPARE(Hijo<QTreeWidget>(*w_, "lstMascaras")->topLevelItemCount(), 19);
    QCOMPARE(Hijo<QTreeWidget>(*w_, "lstMascaras")->topLevelItem(0)->text(0), QString("a(x) -d\\p-c"));
    auto* txt = w_->findChild<QLineEdit*>("txtAñadir");
    auto* anadir = w_->findChild<QPushButton*>("cmdAñadir");
    QTest::mouseClick(anadir, Qt::LeftButton);  // empty box: nothing stored
    QCOMPARE(Hijo<QTreeWidget>(*w_, "lstMascaras")->topLevelItemCount(), 19);
    txt->setText("a-d-x-p-c (x)");
    QTest::keyClick(txt, Qt::Key_Return);  // Enter in the box adds it too
    QCOMPARE(Hijo<QTreeWidget>(*w_, "lstMascaras")->topLevelItemCount(), 20);
    QCOMPARE(Hijo<QTreeWidget>(*w_, "lstMascaras")->topLevelItem(0)->text(0), QString("a-d-x-p-c (x)"));  // longest first
    QCOMPARE(txt->text(), QString("a-d-x-p-c (x)"));
}

void TestFrmVaro::catalogoAjenoParaElArranque()
{
    QTemporaryDir dir;
    const QString ruta = EscribeFichero(Catalogo::RutaCatalogo(dir.path()), "no soy un catalogo");
    Catalogo bd(ruta, "ajeno");
    frmVaro w(bd, unidades_, avisos_, dir.path());
    QVERIFY_THROWS_EXCEPTION(LodrinError, w.Form_Load());
    QCOMPARE(LeeFichero(ruta), QByteArray("no soy un catalogo"));
}

void TestFrmVaro::ventanaQueCrece()
{
    const QSize diseno(Twips(10680), Twips(8355) + Hijo<QMenuBar>(*w_, "menuLodrin")->sizeHint().height() +
                                         Hijo<QWidget>(*w_, "barraEstado")->sizeHint().height() + Twips(90));
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    QCOMPARE(w_->size(), diseno);
    QCOMPARE(w_->minimumSize(), diseno);
    // At the opening size an analysed row shows the first 20 characters of
    // its name, author, disc and song; every column can be widened.
    const QStringList textos = {"Dover\\Devil came to me\\01 Judas.mp3", "", "Coro Añil del Sur", "Álbum del Ñandú",
                                "Canción de la Ola", "01", "a\\d\\p c"};
    w_->Lista().Anade(textos[0], "/cd/x.mp3", "f", "mp3");
    for (int c = 2; c <= 6; ++c)
        w_->Lista().PonSubItem(1, c, textos[c]);
    w_->RefrescaLista();
    auto* lista = Hijo<QTreeView>(*w_, "lstVBusca");
    QVERIFY(lista->header()->sectionViewportPosition(4) + lista->header()->sectionSize(4) <= lista->viewport()->width());
    for (int c : {0, 2, 3, 4}) {
        const int icono = c == 0 ? 16 : 0;
        QVERIFY2(lista->columnWidth(c) >= lista->fontMetrics().horizontalAdvance(textos[c].left(c == 0 ? 20 : 14)) +
                                              icono + 8,
                 qPrintable(textos[c]));
    }
    for (int c = 0; c < 7; ++c)
        QCOMPARE(lista->header()->sectionResizeMode(c), QHeaderView::Interactive);
    lista->setColumnWidth(0, 400);
    // The catalogue list's first header is never cut.
    auto* bd = Hijo<QTreeWidget>(*w_, "lstVBD");
    QVERIFY(bd->columnWidth(0) >= bd->header()->sectionSizeHint(0));
    QStringList podemos;
    for (QAction* a : w_->findChild<QMenu*>("Podemos")->actions())
        podemos << a->text();
    QCOMPARE(podemos, (QStringList{"Eliminar\tSupr", "Editar manualmente\tF2", "Volver a Analizar\tF3"}));

    // The extra room goes to the lists, the trees and the picture.
    const QList<QWidget*> crecen = {lista, Hijo<QTreeWidget>(*w_, "Tv"), Hijo<QTreeWidget>(*w_, "tvBD"),
                                    Hijo<QLabel>(*w_, "imgBD"), bd};
    auto* pestanas = Hijo<QTabWidget>(*w_, "SSTab2");
    auto tamano = [&](QWidget* c) {  // a tab is laid out when it shows
        for (int i = 0; i < pestanas->count(); ++i)
            if (pestanas->widget(i)->isAncestorOf(c))
                pestanas->setCurrentIndex(i);
        QCoreApplication::processEvents();
        return c->size();
    };
    QList<QSize> antes;
    for (QWidget* c : crecen)
        antes << tamano(c);
    w_->resize(diseno + QSize(400, 300));
    for (int i = 0; i < crecen.size(); ++i) {
        const QSize ahora = tamano(crecen[i]);
        QVERIFY2(ahora.width() > antes[i].width() && ahora.height() > antes[i].height(),
                 qPrintable(crecen[i]->objectName()));
    }
    // Size, place and widths are kept in the person's configuration for the
    // next run; lodrin.ini beside the catalogue is theirs and never written.
    w_->close();
    QVERIFY(!QFileInfo::exists(dir_->filePath("lodrin.ini")));
    QVERIFY(QFileInfo::exists(dir_->filePath("config/Lodrin/Lodrin.conf")));
    frmVaro otra(*bd_, unidades_, avisos_, dir_->path());
    otra.Form_Load();
    QCOMPARE(otra.size(), diseno + QSize(400, 300));
    QCOMPARE(Hijo<QTreeView>(otra, "lstVBusca")->columnWidth(0), 400);
}

// A search that fails is told through the window's one error boundary, not
// left in a label.
void TestFrmVaro::busquedaQueFallaSeDice()
{
    QStringList palabras;
    for (int i = 0; i < 40; ++i)
        palabras << "p" + QString::number(i);
    Hijo<QLineEdit>(*w_, "txtBuscaBD")->setText(palabras.join(' '));
    QTRY_COMPARE(avisos_.fallos.size(), 1);
    QVERIFY2(avisos_.fallos.last().contains("Se pueden buscar como mucho 32 palabras"), qPrintable(avisos_.fallos.last()));
    QCOMPARE(Hijo<QLabel>(*w_, "lblCuentaBD")->text(), QString());
}

QTEST_MAIN(TestFrmVaro)
#include "test_frmvaro.moc"
