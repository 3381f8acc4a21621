#include <QHeaderView>
#include <QImageReader>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "catalogue/catalogo_relleno.h"
#include "catalogue/navegador.h"
#include "catalogue/navegador_ui.h"
#include "main_window/frmVaro.h"
#include "support/motorprueba.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "support/ventana.h"
#include "support/unidadesfalsas.h"

namespace {

QString id(qint64 v) { return QString::number(v); }

QTreeWidgetItem* nodo(QTreeWidget* arbol, const QString& clave)
{
    for (QTreeWidgetItemIterator it(arbol); *it; ++it)
        if (ClaveNodo(*it) == clave)
            return *it;
    return nullptr;
}

QStringList textos(QTreeWidget* lista, int c)
{
    QStringList t;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        t << lista->topLevelItem(i)->text(c);
    return t;
}

QString tagImagen(frmVaro& w) { return Hijo<QLabel>(w, "imgBD")->property("Tag").toString(); }

void pulsa(frmVaro& w, QTreeWidgetItem* n)
{
    Hijo<QTreeWidget>(w, "tvBD")->setCurrentItem(n);
    Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(n);
}

}  // namespace

class TestNavegadorVentana : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        bd_ = std::make_unique<Catalogo>(CatalogoDePrueba(dir_->path()), "navui");
        avisos_ = std::make_unique<AvisosAnotados>();
        w_ = std::make_unique<frmVaro>(*bd_, unidades_, *avisos_, dir_->path());
        w_->Form_Load();
    }
    void cleanup()
    {
        w_.reset();
        bd_.reset();
        dir_.reset();
    }

    void elegirOrdenConstruyeElArbol()
    {
        frmVaro& w = *w_;
        const auto a = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        QCOMPARE(Hijo<QTreeWidget>(w, "tvBD")->topLevelItemCount(), 0);  // nothing until an ordering is chosen
        Hijo<QComboBox>(w, "cmbISort")->setCurrentIndex(0);
        emit Hijo<QComboBox>(w, "cmbISort")->activated(Hijo<QComboBox>(w, "cmbISort")->currentIndex());
        QCOMPARE(Hijo<QTreeWidget>(w, "tvBD")->topLevelItemCount(), 1);
        QTreeWidgetItem* raiz = Hijo<QTreeWidget>(w, "tvBD")->topLevelItem(0);
        QCOMPARE(ClaveNodo(raiz), QString("BD"));
        QCOMPARE(raiz->text(0), QString("GrupoAutor"));
        QCOMPARE(raiz->data(0, rolBD::kImagen).toString(), QString("GrupoAutor"));
        QVERIFY(raiz->isExpanded());
        QCOMPARE(raiz->childCount(), 1);
        QCOMPARE(ClaveNodo(raiz->child(0)), "BDau#" + id(a.idautor));
        QVERIFY(Hijo<QProgressBar>(w, "prgLoad")->isHidden());

        Hijo<QComboBox>(w, "cmbISort")->setCurrentIndex(2);
        emit Hijo<QComboBox>(w, "cmbISort")->activated(Hijo<QComboBox>(w, "cmbISort")->currentIndex());
        QCOMPARE(Hijo<QTreeWidget>(w, "tvBD")->topLevelItem(0)->text(0), QString("GrupoCD"));
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->sortColumn(), columnaBD::kCd);
        Hijo<QComboBox>(w, "cmbISort")->setCurrentIndex(1);
        emit Hijo<QComboBox>(w, "cmbISort")->activated(Hijo<QComboBox>(w, "cmbISort")->currentIndex());
        QCOMPARE(Hijo<QTreeWidget>(w, "tvBD")->topLevelItem(0)->text(0), QString("grupodisco"));
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->sortColumn(), columnaBD::kDisco);
        QCOMPARE(TagNodo(Hijo<QTreeWidget>(w, "tvBD")->topLevelItem(0)->child(0)), a.iddisco);

        Hijo<QComboBox>(w, "cmbISort")->setCurrentIndex(-1);
        emit Hijo<QComboBox>(w, "cmbISort")->activated(Hijo<QComboBox>(w, "cmbISort")->currentIndex());
        QCOMPARE(Hijo<QTreeWidget>(w, "tvBD")->topLevelItem(0)->text(0), QString("grupodisco"));
    }

    void pulsarAutorListaYCreceUnaVez()
    {
        frmVaro& w = *w_;
        const auto a = GrabaCancionPrueba(*bd_, "CD 1", "Dover", "Devil", "Judas", 2);
        GrabaCancionPrueba(*bd_, "CD 1", "Dover", "Devil", "Serenade", 1);
        const auto b = GrabaCancionPrueba(*bd_, "CD 2", "Mecano", "Descanso", "Hijo", 1);
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        QTreeWidgetItem* dover = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(a.idautor));
        pulsa(w, dover);
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 2);
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->sortColumn(), columnaBD::kAutor);
        QCOMPARE(dover->childCount(), 1);
        QVERIFY(dover->isExpanded());
        QTreeWidgetItem* devil = dover->child(0);
        QCOMPARE(ClaveNodo(devil), "BDau#" + id(a.idautor) + "di#" + id(a.iddisco));
        QCOMPARE(devil->text(0), QString("Devil(CD 1)"));
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItem(0)->data(0, rolBD::kClave).toString().left(3), QString("ca#"));
        QVERIFY(Hijo<QProgressBar>(w, "prgLoad")->isHidden());

        // Another node fills the list; going back to the expanded one changes
        // neither the tree nor the list, even after the catalogue grew.
        QTreeWidgetItem* mecano = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(b.idautor));
        pulsa(w, mecano);
        QCOMPARE(textos(Hijo<QTreeWidget>(w, "lstVBD"), columnaBD::kCancion), QStringList{"Hijo"});
        GrabaCancionPrueba(*bd_, "CD 3", "Dover", "Nuevo", "Tarde", 1);
        pulsa(w, dover);
        QCOMPARE(dover->childCount(), 1);
        QCOMPARE(textos(Hijo<QTreeWidget>(w, "lstVBD"), columnaBD::kCancion), QStringList{"Hijo"});

        // The root and the nodes below the first level do nothing.
        pulsa(w, Hijo<QTreeWidget>(w, "tvBD")->topLevelItem(0));
        pulsa(w, devil);
        QCOMPARE(textos(Hijo<QTreeWidget>(w, "lstVBD"), columnaBD::kCancion), QStringList{"Hijo"});
        QCOMPARE(devil->childCount(), 0);
    }

    void autorSinCancionesSeLeeCadaVez()
    {
        frmVaro& w = *w_;
        const auto v = GrabaCancionPrueba(*bd_, "Recop", "Ana", "Exitos", "c", 1, true);
        QString nombre = "<Varios Artistas>";
        const qint64 varios = DameAutor(*bd_, nombre, false);
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        QTreeWidgetItem* grupo = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(varios));
        QVERIFY(grupo);
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(v.idautor)));
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 1);
        pulsa(w, grupo);
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 0);
        QCOMPARE(grupo->childCount(), 0);
        pulsa(w, grupo);
        QCOMPARE(grupo->childCount(), 0);
    }

    void cdConVariosMuestraUnGrupo()
    {
        frmVaro& w = *w_;
        const auto x1 = GrabaCancionPrueba(*bd_, "Mezcla", "Xavi", "Primero", "a", 1);
        const auto x2 = GrabaCancionPrueba(*bd_, "Mezcla", "Xavi", "Segundo", "b", 1);
        const auto v1 = GrabaCancionPrueba(*bd_, "Mezcla", "Ana", "Exitos", "c", 1, true);
        GrabaCancionPrueba(*bd_, "Mezcla", "Zoe", "Exitos", "d", 2, true);
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(3);
        QTreeWidgetItem* cd = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDcd#" + id(x1.idcd));
        pulsa(w, cd);
        QCOMPARE(cd->childCount(), 2);
        QTreeWidgetItem* xavi = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDcd#" + id(x1.idcd) + "au#" + id(x1.idautor));
        QTreeWidgetItem* grupo = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDcd#" + id(x1.idcd) + "au#-98");
        QVERIFY(xavi && grupo);
        QCOMPARE(xavi->parent(), cd);
        QCOMPARE(grupo->text(0), QString("<Varios Artistas>"));
        QCOMPARE(grupo->data(0, rolBD::kImagen).toString(), QString("GrupoAutor"));
        QCOMPARE(xavi->childCount(), 2);
        QCOMPARE(grupo->childCount(), 1);
        QCOMPARE(TagNodo(grupo->child(0)), v1.iddisco);
        QVERIFY(xavi->isExpanded() && grupo->isExpanded());
        QStringList discos{ClaveNodo(xavi->child(0)), ClaveNodo(xavi->child(1))};
        discos.sort();
        QStringList esperados{ClaveNodo(xavi) + "di#" + id(x1.iddisco), ClaveNodo(xavi) + "di#" + id(x2.iddisco)};
        esperados.sort();
        QCOMPARE(discos, esperados);
        // Sorted by CD while the tree by CDs is shown; every row is on this CD.
        QCOMPARE(textos(Hijo<QTreeWidget>(w, "lstVBD"), columnaBD::kCd), QStringList(4, "Mezcla"));
        QStringList autores = textos(Hijo<QTreeWidget>(w, "lstVBD"), columnaBD::kAutor);
        autores.sort();
        QCOMPARE(autores, (QStringList{"Ana", "Xavi", "Xavi", "Zoe"}));
    }

    void portadasDeLosDiscos()
    {
        frmVaro& w = *w_;
        const auto con = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        const auto sin = GrabaCancionPrueba(*bd_, "CD", "Dover", "Late", "Cherry", 1);
        const auto una = GrabaCancionPrueba(*bd_, "CD", "Dover", "Uno", "Solo", 1);
        const QString jpg = CreaImagen(dir_->filePath("o/a.jpg"));
        const qint64 p1 = GrabaPortadaPrueba(*bd_, dir_->path(), con.iddisco, jpg, "Dover\\Devil\\a.jpg");
        const qint64 p2 = GrabaPortadaPrueba(*bd_, dir_->path(), con.iddisco, jpg, "Dover\\Devil\\b.jpg");
        const qint64 p3 = GrabaPortadaPrueba(*bd_, dir_->path(), una.iddisco, jpg, "Dover\\Uno\\c.jpg");
        QVERIFY(p1 > 0 && p2 > p1 && p3 > p2);

        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(2);
        QTreeWidgetItem* devil = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDdi#" + id(con.iddisco));
        pulsa(w, devil);
        QCOMPARE(tagImagen(w), id(p1));
        QVERIFY(!Hijo<QLabel>(w, "imgBD")->pixmap().isNull());
        // A disc node is expanded too, with its authors.
        QCOMPARE(devil->childCount(), 1);
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 1);

        // Clicking the picture steps through the disc's pictures and back.
        Hijo<AreaSuperior>(w, "AreaSuperior")->imgBD_Click();
        QCOMPARE(tagImagen(w), id(p2));
        Hijo<AreaSuperior>(w, "AreaSuperior")->imgBD_Click();
        QCOMPARE(tagImagen(w), id(p1));

        // An author node leaves the picture, and then a click changes nothing.
        QTreeWidgetItem* autor = devil->child(0);
        pulsa(w, autor);
        QCOMPARE(tagImagen(w), id(p1));
        QVERIFY(!Hijo<QLabel>(w, "imgBD")->pixmap().isNull());
        Hijo<AreaSuperior>(w, "AreaSuperior")->imgBD_Click();
        QCOMPARE(tagImagen(w), id(p1));

        // A disc with one picture: the click changes nothing.
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDdi#" + id(una.iddisco)));
        QCOMPARE(tagImagen(w), id(p3));
        Hijo<AreaSuperior>(w, "AreaSuperior")->imgBD_Click();
        QCOMPARE(tagImagen(w), id(p3));

        // A disc without pictures empties the box.
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDdi#" + id(sin.iddisco)));
        QCOMPARE(tagImagen(w), QString("0"));
        QVERIFY(Hijo<QLabel>(w, "imgBD")->pixmap().isNull());
        Hijo<AreaSuperior>(w, "AreaSuperior")->imgBD_Click();
        QCOMPARE(tagImagen(w), QString("0"));

        // A disc node under an author only shows its picture, with the "cd" image.
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(con.idautor)));
        const int filas = Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount();
        QTreeWidgetItem* hijo = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(con.idautor) + "di#" + id(con.iddisco));
        QCOMPARE(hijo->data(0, rolBD::kImagen).toString(), QString("cd"));
        QCOMPARE(nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(con.idautor) + "di#" + id(sin.iddisco))->data(0, rolBD::kImagen).toString(),
                 QString("disco"));
        pulsa(w, hijo);
        QCOMPARE(tagImagen(w), id(p1));
        QCOMPARE(hijo->childCount(), 0);
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), filas);
    }

    void portadaQueFaltaOQueNoSeLee()
    {
        frmVaro& w = *w_;
        const auto a = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        const auto b = GrabaCancionPrueba(*bd_, "CD", "Dover", "Gif", "Cherry", 1);
        const QString jpg = CreaImagen(dir_->filePath("o/a.jpg"));
        const qint64 p1 = GrabaPortadaPrueba(*bd_, dir_->path(), a.iddisco, jpg, "x\\a.jpg");
        const QString gif = CreaImagen(dir_->filePath("o/b.GIF"));
        const qint64 pg = GrabaPortadaPrueba(*bd_, dir_->path(), b.iddisco, gif, "x\\b.GIF");
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(2);

        // A cover stored from a GIF file is shown from its own copy.
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDdi#" + id(b.iddisco)));
        QCOMPARE(tagImagen(w), id(pg));
        if (QImageReader::supportedImageFormats().contains("gif"))
            QVERIFY(!Hijo<QLabel>(w, "imgBD")->pixmap().isNull());

        // A copy that cannot be decoded shows an empty picture.
        const QString copia = CopiaExistente(dir_->path(), p1);
        QVERIFY(!copia.isEmpty());
        EscribeFichero(copia, "esto no es una imagen");
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDdi#" + id(a.iddisco)));
        QCOMPARE(tagImagen(w), id(p1));
        QVERIFY(Hijo<QLabel>(w, "imgBD")->pixmap().isNull());

        // A missing copy shows nothing and leaves no picture to step from.
        if (PruebaEnServidor())
            return;  // the server keeps the bytes: a missing copy comes back from it
        QVERIFY(QFile::remove(copia));
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDdi#" + id(b.iddisco)));
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDdi#" + id(a.iddisco)));
        QCOMPARE(tagImagen(w), QString("0"));
        QVERIFY(Hijo<QLabel>(w, "imgBD")->pixmap().isNull());
    }

    void columnaPulsadaOrdenaAscendente()
    {
        frmVaro& w = *w_;
        GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "beta", 10);
        const auto a = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Alfa", 2);
        GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Gamma", 1);
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(a.idautor)));
        emit Hijo<QTreeWidget>(w, "lstVBD")->header()->sectionClicked(columnaBD::kCancion);
        const QStringList canciones = textos(Hijo<QTreeWidget>(w, "lstVBD"), columnaBD::kCancion);
        QCOMPARE(canciones.size(), 3);
        QCOMPARE(canciones.first(), QString("Alfa"));
        QCOMPARE(canciones.last(), QString("Gamma"));
        // A click on the header itself gives the same ascending order twice.
        for (int vez = 0; vez < 2; ++vez) {
            Hijo<QTreeWidget>(w, "lstVBD")->header()->sectionClicked(columnaBD::kPosicion);
            QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->header()->sortIndicatorOrder(), Qt::AscendingOrder);
            QCOMPARE(textos(Hijo<QTreeWidget>(w, "lstVBD"), columnaBD::kPosicion), (QStringList{"1", "2", "10"}));
        }
    }

    void buscarLlenaLaListaYEscapeLaDevuelve()
    {
        frmVaro& w = *w_;
        const auto dover = GrabaCancionPrueba(*bd_, "CD 1", "Dover", "Devil", "Judas", 1);
        const auto rio = GrabaCancionPrueba(*bd_, "CD 7", "Bea Ruiz", "Orillas", "Canción del Río", 3);
        GrabaCancionPrueba(*bd_, "CD 7", "Bea Ruiz", "Orillas", "Arena", 4);
        const qint64 portada = GrabaPortadaPrueba(*bd_, dir_->path(), rio.iddisco,
                                                  CreaImagen(dir_->filePath("o/r.jpg")), "Bea\\Orillas\\r.jpg");
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        pulsa(w, nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(dover.idautor)));
        auto* lista = Hijo<QTreeWidget>(w, "lstVBD");
        auto* caja = Hijo<QLineEdit>(w, "txtBuscaBD");
        QCOMPARE(caja->placeholderText(), QString("Busca en el catálogo: autor, disco, canción o CD"));

        QTest::keyClicks(caja, "rio cancion");
        QTRY_COMPARE(textos(lista, columnaBD::kCancion), QStringList{"Canción del Río"});
        QTreeWidgetItem* fila = lista->topLevelItem(0);
        QCOMPARE(fila->data(columnaBD::kPosicion, rolBD::kClave).toString(), "ca#" + id(rio.idcancion));
        QCOMPARE((QStringList{fila->text(columnaBD::kPosicion), fila->text(columnaBD::kAutor),
                              fila->text(columnaBD::kDisco), fila->text(columnaBD::kCd)}),
                 (QStringList{"3", "Bea Ruiz", "Orillas", "CD 7"}));
        QCOMPARE(Hijo<QLabel>(w, "lblCuentaBD")->text(), QString("1 canción"));
        // Clicking the found song shows its disc's cover.
        emit lista->itemClicked(fila, columnaBD::kCancion);
        QCOMPARE(tagImagen(w), id(portada));

        QTest::keyClick(caja, Qt::Key_Escape);
        QCOMPARE(caja->text(), QString());
        QCOMPARE(textos(lista, columnaBD::kCancion), QStringList{"Judas"});
        QCOMPARE(lista->topLevelItem(0)->data(columnaBD::kPosicion, rolBD::kClave).toString(), "ca#" + id(dover.idcancion));
        QCOMPARE(Hijo<QLabel>(w, "lblCuentaBD")->text(), QString());
    }

    void limpiaNoHaceNada()
    {
        frmVaro& w = *w_;
        GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        bd_->Ejecuta("insert into tlautor (dsautor, dsautor_std, intautor) values ('Suelto', 'SUELTO', 0)");
        QVERIFY(Hijo<QPushButton>(w, "cmbLimpia")->isEnabled());
        Hijo<QPushButton>(w, "cmbLimpia")->click();
        QCOMPARE(avisos_->textos, QStringList{"Opcion no implementada, jet "});
        QCOMPARE(bd_->Abre("select * from tlautor").RecordCount(), 2);
        QCOMPARE(bd_->Abre("select * from tlcancion").RecordCount(), 1);
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Catalogo> bd_;
    UnidadesFalsas unidades_;
    std::unique_ptr<AvisosAnotados> avisos_;
    std::unique_ptr<frmVaro> w_;
};

QTEST_MAIN(TestNavegadorVentana)
#include "test_navegador_ui.moc"
