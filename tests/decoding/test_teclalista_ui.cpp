#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "catalogue/catalogo_relleno.h"
#include "catalogue/edicion.h"
#include "catalogue/navegador.h"
#include "catalogue/navegador_ui.h"
#include "decoding/dialog.h"
#include "decoding/entradadatos.h"
#include "main_window/frmVaro.h"
#include "support/testsupport.h"
#include "support/ventana.h"
#include "support/unidadesfalsas.h"

namespace {

QString id(qint64 v) { return QString::number(v); }

// Answers the data entry as a test says, and keeps what it was shown.
class EntradaGuionizada : public EntradaDatos {
public:
    bool Pide(DatosEntrada& datos) override
    {
        mostrados << datos;
        if (!respuesta)
            return false;
        return respuesta(datos);
    }
    QList<DatosEntrada> mostrados;
    std::function<bool(DatosEntrada&)> respuesta;
};

int analizada(ListaTrabajo& l, const QString& texto, const QString& tipo, const QStringList& campos)
{
    const int i = l.Anade(texto, "/cd/" + texto, tipo, "mp3");
    for (int k = 0; k < campos.size(); ++k)
        l.PonSubItem(i, k + 2, campos[k]);
    return i;
}

int indiceDe(const ListaTrabajo& l, const QString& texto)
{
    for (int i = 1; i <= l.Cuenta(); ++i)
        if (l.Fila(i).texto == texto)
            return i;
    return 0;
}

// Selects rows of the work list view by their texts.
void seleccionaTrabajo(frmVaro& w, const QStringList& textos)
{
    QItemSelection s;
    for (const QString& t : textos) {
        const int fila = indiceDe(w.Lista(), t) - 1;
        QVERIFY(fila >= 0);
        const QModelIndex ix = Hijo<QTreeView>(w, "lstVBusca")->model()->index(fila, 0);
        s.select(ix, ix);
    }
    Hijo<QTreeView>(w, "lstVBusca")->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QTreeWidgetItem* filaCancion(QTreeWidget* lista, qint64 idcancion)
{
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        if (lista->topLevelItem(i)->data(0, rolBD::kClave).toString() == "ca#" + id(idcancion))
            return lista->topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* nodo(QTreeWidget* arbol, const QString& clave)
{
    for (QTreeWidgetItemIterator it(arbol); *it; ++it)
        if (ClaveNodo(*it) == clave)
            return *it;
    return nullptr;
}

}  // namespace

class TestTeclaListaVentana : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        bd_ = std::make_unique<Catalogo>(dir_->filePath("anterior.mdb"), "teclas");
        avisos_ = std::make_unique<AvisosAnotados>();
        entrada_ = std::make_unique<EntradaGuionizada>();
        w_ = std::make_unique<frmVaro>(*bd_, unidades_, *avisos_, dir_->path());
        w_->Form_Load();
        w_->PonEntrada(entrada_.get());
    }
    void cleanup()
    {
        w_.reset();
        entrada_.reset();
        bd_.reset();
        dir_.reset();
    }

    void f2EnLaListaDeTrabajoCambiaLoComun()
    {
        frmVaro& w = *w_;
        analizada(w.Lista(), "Dover\\", "#", {"Dover", "Devil"});
        analizada(w.Lista(), "Dover\\01-Judas.mp3", "f", {"Dover", "Devil", "Judas", "01", "a\\p-c"});
        analizada(w.Lista(), "Dover\\02-Cherry.mp3", "f", {"Dover", "Devil", "Cherry", "02", "a\\p-c"});
        analizada(w.Lista(), "Dover\\03-Late.mp3", "f", {"Dover", "Devil", "Late", "03", "a\\p-c"});
        analizada(w.Lista(), "Otro\\1.mp3", "f", {"Otro", "Disco", "Tema", "01", "a\\c"});
        w.RefrescaLista();
        seleccionaTrabajo(w, {"Dover\\01-Judas.mp3", "Dover\\02-Cherry.mp3", "Dover\\03-Late.mp3"});
        entrada_->respuesta = [](DatosEntrada& d) {
            d.textos[0] = "Dover Band";
            return true;
        };
        QTest::keyClick(Hijo<QTreeView>(w, "lstVBusca"), Qt::Key_F2);

        QCOMPARE(entrada_->mostrados.size(), 1);
        const DatosEntrada& visto = entrada_->mostrados[0];
        QCOMPARE(visto.textos, (std::array<QString, 4>{"Dover", "Devil", "", ""}));
        QCOMPARE(visto.habilitados, (std::array<bool, 4>{true, true, false, false}));
        QCOMPARE(visto.etiqueta, QString("Pon datos para varios ficheros"));
        QVERIFY(!visto.catalogo);

        for (const char* t : {"Dover\\01-Judas.mp3", "Dover\\02-Cherry.mp3", "Dover\\03-Late.mp3"}) {
            const int i = indiceDe(w.Lista(), t);
            QCOMPARE(w.Lista().SubItem(i, 2), QString("Dover Band"));
            QCOMPARE(w.Lista().SubItem(i, 3), QString("Devil"));
        }
        QCOMPARE(w.Lista().SubItem(indiceDe(w.Lista(), "Dover\\02-Cherry.mp3"), 4), QString("Cherry"));
        QCOMPARE(w.Lista().SubItem(indiceDe(w.Lista(), "Dover\\03-Late.mp3"), 5), QString("03"));
        QCOMPARE(w.Lista().SubItem(indiceDe(w.Lista(), "Dover\\"), 2), QString("Dover"));
        QCOMPARE(w.Lista().SubItem(indiceDe(w.Lista(), "Otro\\1.mp3"), 2), QString("Otro"));
        // The view shows the new text and the working values stay behind.
        const QModelIndex celda = Hijo<QTreeView>(w, "lstVBusca")->model()->index(indiceDe(w.Lista(), "Dover\\01-Judas.mp3") - 1, 2);
        QCOMPARE(celda.data().toString(), QString("Dover Band"));
        QCOMPARE(w.Campos().autor, QString("Dover Band"));
        QCOMPARE(w.Campos().disco, QString("Devil"));
    }

    void f2ConUnaFilaYCancelar()
    {
        frmVaro& w = *w_;
        analizada(w.Lista(), "a\\1.mp3", "f", {"Dover", "Devil", "Judas", "01", "m"});
        analizada(w.Lista(), "a\\2.mp3", "f", {"Dover", "Devil", "Late", "02", "m"});
        w.RefrescaLista();
        seleccionaTrabajo(w, {"a\\2.mp3"});
        entrada_->respuesta = [](DatosEntrada& d) {
            d.textos = {"X", "Y", "Z", "99"};
            return false;
        };
        w.lstVBusca_KeyDown(Qt::Key_F2);
        QCOMPARE(entrada_->mostrados.size(), 1);
        QCOMPARE(entrada_->mostrados[0].textos, (std::array<QString, 4>{"Dover", "Devil", "Late", "02"}));
        QCOMPARE(entrada_->mostrados[0].habilitados, (std::array<bool, 4>{true, true, true, true}));
        QCOMPARE(entrada_->mostrados[0].etiqueta, QString("a\\2.mp3"));
        QCOMPARE(w.Lista().SubItem(2, 2), QString("Dover"));
        QCOMPARE(w.Lista().SubItem(2, 5), QString("02"));
    }

    void f2SinFilasAnalizadasNoMuestraNada()
    {
        frmVaro& w = *w_;
        analizada(w.Lista(), "a\\", "#", {"Dover", "Devil"});
        analizada(w.Lista(), "a\\1.mp3", "f", {});
        w.RefrescaLista();
        seleccionaTrabajo(w, {"a\\", "a\\1.mp3"});
        QTest::keyClick(Hijo<QTreeView>(w, "lstVBusca"), Qt::Key_F2);
        QVERIFY(entrada_->mostrados.isEmpty());
        // Other keys do nothing either.
        w.lstVBusca_KeyDown(Qt::Key_F5);
        QCOMPARE(w.Lista().Cuenta(), 2);
    }

    void suprimirEnLaListaDeTrabajo()
    {
        frmVaro& w = *w_;
        analizada(w.Lista(), "a\\", "#", {});
        analizada(w.Lista(), "a\\1.mp3", "f", {"A", "B", "C", "01"});
        analizada(w.Lista(), "a\\2.mp3", "f", {"A", "B", "D", "02"});
        analizada(w.Lista(), "a\\3.mp3", "f", {"A", "B", "E", "03"});
        w.RefrescaLista();
        seleccionaTrabajo(w, {"a\\", "a\\2.mp3"});
        QTest::keyClick(Hijo<QTreeView>(w, "lstVBusca"), Qt::Key_Delete);
        QCOMPARE(w.Lista().Cuenta(), 2);
        QCOMPARE(w.Lista().Fila(1).texto, QString("a\\1.mp3"));
        QCOMPARE(w.Lista().Fila(2).texto, QString("a\\3.mp3"));
        QCOMPARE(Hijo<QTreeView>(w, "lstVBusca")->model()->rowCount(), 2);
        QVERIFY(entrada_->mostrados.isEmpty());
    }

    void f2EnElCatalogoMueveLaCancion()
    {
        frmVaro& w = *w_;
        const auto a = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        const auto b = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Late", 2);
        const auto c = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Cherry", 3);
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        QTreeWidgetItem* dover = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(a.idautor));
        Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(dover);
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 3);
        filaCancion(Hijo<QTreeWidget>(w, "lstVBD"), a.idcancion)->setSelected(true);
        filaCancion(Hijo<QTreeWidget>(w, "lstVBD"), b.idcancion)->setSelected(true);

        entrada_->respuesta = [](DatosEntrada& d) {
            d.textos[0] = "Nuevo Autor";
            d.textos[1] = "Nuevo 'Disco'";
            return true;
        };
        QTest::keyClick(Hijo<QTreeWidget>(w, "lstVBD"), Qt::Key_F2);
        QCOMPARE(entrada_->mostrados.size(), 1);
        const DatosEntrada& visto = entrada_->mostrados[0];
        QVERIFY(visto.catalogo);
        QCOMPARE(visto.textos[0], QString("Dover"));
        QCOMPARE(visto.textos[1], QString("Devil"));
        // Songs and positions differ: the fourth box is the position.
        QCOMPARE(visto.habilitados, (std::array<bool, 4>{true, true, false, false}));

        QString nombre = "Nuevo Autor";
        const qint64 nuevo = DameAutor(*bd_, nombre, false);
        QVERIFY(nuevo > 0);
        QString disco = "Nuevo 'Disco'";
        const qint64 nuevoDisco = DameDisco(*bd_, disco, nuevo, false);
        QVERIFY(nuevoDisco > 0);
        for (const auto& s : {a, b}) {
            Consulta r = bd_->Abre("select * from tlcancion where idcancion = " + id(s.idcancion));
            QCOMPARE(r.Entero("cdautor"), nuevo);
            QCOMPARE(r.Entero("cddisco"), nuevoDisco);
            QCOMPARE(filaCancion(Hijo<QTreeWidget>(w, "lstVBD"), s.idcancion)->text(columnaBD::kAutor), QString("Nuevo Autor"));
        }
        Consulta r = bd_->Abre("select * from tlcancion where idcancion = " + id(c.idcancion));
        QCOMPARE(r.Entero("cdautor"), a.idautor);
        QCOMPARE(r.Entero("cddisco"), a.iddisco);
        QCOMPARE(bd_->Abre("select * from tlcancion where idcancion = " + id(a.idcancion)).Texto("dscancion"),
                 QString("Judas"));
        QCOMPARE(filaCancion(Hijo<QTreeWidget>(w, "lstVBD"), a.idcancion)->text(columnaBD::kPosicion), QString("1"));

        // A new ordering shows the songs under their new author.
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        QTreeWidgetItem* autorNuevo = nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(nuevo));
        QVERIFY(autorNuevo);
        Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(autorNuevo);
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 2);
    }

    void f2EnElCatalogoEditaLaPosicion()
    {
        frmVaro& w = *w_;
        const auto a = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(3);
        Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDcd#" + id(a.idcd)));
        QTreeWidgetItem* fila = filaCancion(Hijo<QTreeWidget>(w, "lstVBD"), a.idcancion);
        fila->setSelected(true);
        entrada_->respuesta = [](DatosEntrada& d) {
            d.textos[2] = "Judas <b>&</b> 'Co'";
            d.textos[3] = "12";
            return true;
        };
        w.lstVBD_KeyDown(Qt::Key_F2);
        QCOMPARE(entrada_->mostrados[0].etiqueta, QString("1"));
        QCOMPARE(entrada_->mostrados[0].textos[3], QString("1"));
        Consulta r = bd_->Abre("select * from tlcancion where idcancion = " + id(a.idcancion));
        QCOMPARE(r.Entero("wncancion"), qint64(12));
        QCOMPARE(r.Texto("dscancion"), QString("Judas <b>&</b> 'Co'"));
        QCOMPARE(fila->text(columnaBD::kPosicion), QString("12"));
        QCOMPARE(fila->text(columnaBD::kCd), QString("CD"));

        // A position that is no number is refused, told over the window: the
        // stored one stays.
        entrada_->respuesta = [](DatosEntrada& d) {
            d.textos[3] = "doce";
            return true;
        };
        w.lstVBD_KeyDown(Qt::Key_F2);
        QCOMPARE(avisos_->textos.size(), 1);
        QVERIFY2(avisos_->textos.first().startsWith("No se ha podido ") &&
                     avisos_->textos.first().count("No se ha podido") == 1 && avisos_->textos.first().endsWith("32767"),
                 qPrintable(avisos_->textos.first()));
        QCOMPARE(fila->text(columnaBD::kPosicion), QString("12"));
        QCOMPARE(bd_->Abre("select * from tlcancion where idcancion = " + id(a.idcancion)).Entero("wncancion"),
                 qint64(12));
    }

    void suprimirEnElCatalogo()
    {
        frmVaro& w = *w_;
        const auto a = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        const auto b = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Late", 2);
        const auto c = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Cherry", 3);
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(2);
        Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDdi#" + id(a.iddisco)));
        filaCancion(Hijo<QTreeWidget>(w, "lstVBD"), a.idcancion)->setSelected(true);
        filaCancion(Hijo<QTreeWidget>(w, "lstVBD"), c.idcancion)->setSelected(true);
        QTest::keyClick(Hijo<QTreeWidget>(w, "lstVBD"), Qt::Key_Delete);
        QCOMPARE(Hijo<QTreeWidget>(w, "lstVBD")->topLevelItemCount(), 1);
        QVERIFY(filaCancion(Hijo<QTreeWidget>(w, "lstVBD"), b.idcancion));
        QCOMPARE(bd_->Abre("select idcancion from tlcancion").RecordCount(), 1);
        QCOMPARE(bd_->Abre("select idcancion from tlcancion").Entero("idcancion"), b.idcancion);
        QCOMPARE(bd_->Abre("select * from tldisco").RecordCount(), 1);
        QVERIFY(entrada_->mostrados.isEmpty());
    }

    // The list is a view: what a search changed is read again when it ends,
    // and F2 on a row after it writes only what the person typed.
    void buscarEditarYVolver()
    {
        frmVaro& w = *w_;
        const auto judas = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        const auto late = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Late", 2);
        auto* lista = Hijo<QTreeWidget>(w, "lstVBD");
        auto* caja = Hijo<QLineEdit>(w, "txtBuscaBD");
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(judas.idautor)));
        QTest::keyClicks(caja, "devil");
        QTRY_COMPARE(lista->topLevelItemCount(), 2);
        filaCancion(lista, judas.idcancion)->setSelected(true);
        entrada_->respuesta = [](DatosEntrada& d) {
            d.textos[2] = "Judas II";
            return true;
        };
        QTest::keyClick(lista, Qt::Key_F2);
        QTRY_VERIFY(filaCancion(lista, judas.idcancion) &&
                    filaCancion(lista, judas.idcancion)->text(columnaBD::kCancion) == "Judas II");
        lista->clearSelection();
        filaCancion(lista, late.idcancion)->setSelected(true);
        QTest::keyClick(lista, Qt::Key_Delete);
        QTRY_COMPARE(lista->topLevelItemCount(), 1);

        QTest::keyClick(caja, Qt::Key_Escape);
        QCOMPARE(lista->topLevelItemCount(), 1);
        QTreeWidgetItem* fila = filaCancion(lista, judas.idcancion);
        QCOMPARE(fila->text(columnaBD::kCancion), QString("Judas II"));
        fila->setSelected(true);
        entrada_->respuesta = [](DatosEntrada& d) {
            d.textos[3] = "9";
            return true;
        };
        QTest::keyClick(lista, Qt::Key_F2);
        Consulta r = bd_->Abre("select * from tlcancion where idcancion = " + id(judas.idcancion));
        QCOMPARE(r.Texto("dscancion"), QString("Judas II"));
        QCOMPARE(r.Entero("wncancion"), qint64(9));
        QCOMPARE(avisos_->textos, QStringList());
    }

    // A row whose song another program changed or deleted since it was shown:
    // nothing is written, the person is told, and the row shows the song as
    // it is now.
    void filaQueYaNoEsLaCancion_data()
    {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("fuera");
        QTest::addColumn<QString>("queda");  // the title stored and shown; empty when the song is gone
        QTest::newRow("F2, título cambiado") << int(Qt::Key_F2) << "update tlcancion set dscancion = 'Otra'" << "Otra";
        QTest::newRow("F2, borrada") << int(Qt::Key_F2) << "delete from tlcancion" << "";
        QTest::newRow("Supr, título cambiado") << int(Qt::Key_Delete) << "update tlcancion set dscancion = 'Otra'" << "Otra";
        QTest::newRow("Supr, posición cambiada") << int(Qt::Key_Delete) << "update tlcancion set dscancion = 'Otra', wncancion = 4" << "Otra";
    }
    void filaQueYaNoEsLaCancion()
    {
        QFETCH(int, tecla);
        QFETCH(QString, fuera);
        QFETCH(QString, queda);
        frmVaro& w = *w_;
        const auto a = GrabaCancionPrueba(*bd_, "CD", "Dover", "Devil", "Judas", 1);
        auto* lista = Hijo<QTreeWidget>(w, "lstVBD");
        Hijo<AreaSuperior>(w, "AreaSuperior")->ArbolBD(1);
        Hijo<AreaSuperior>(w, "AreaSuperior")->NodeClick(nodo(Hijo<QTreeWidget>(w, "tvBD"), "BDau#" + id(a.idautor)));
        bd_->Ejecuta(fuera + " where idcancion = " + id(a.idcancion));
        filaCancion(lista, a.idcancion)->setSelected(true);
        entrada_->respuesta = [](DatosEntrada& d) {
            d.textos[3] = "7";
            return true;
        };
        w.lstVBD_KeyDown(tecla);
        QCOMPARE(avisos_->textos.size(), 1);
        QVERIFY(avisos_->textos.first().endsWith(kCancionCambiada));
        Consulta r = bd_->Abre("select * from tlcancion where idcancion = " + id(a.idcancion));
        QCOMPARE(r.Fin() ? QString() : r.Texto("dscancion"), queda);
        QVERIFY(r.Fin() || r.Entero("wncancion") != 7);
        QTreeWidgetItem* fila = filaCancion(lista, a.idcancion);
        QCOMPARE(fila ? fila->text(columnaBD::kCancion) : QString(), queda);
    }

    void elDialogoDeVerdad()
    {
        frmVaro& w = *w_;
        w.PonEntrada(nullptr);
        analizada(w.Lista(), "a\\1.mp3", "f", {"Dover", "Devil", "Judas", "01", "m"});
        analizada(w.Lista(), "a\\2.mp3", "f", {"Dover", "Otro", "Late", "02", "m"});
        w.RefrescaLista();
        seleccionaTrabajo(w, {"a\\1.mp3", "a\\2.mp3"});

        QStringList etiquetas;
        QList<bool> habilitadas;
        QString titulo, lbl;
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            visto = true;
            titulo = d->windowTitle();
            lbl = d->findChild<QLabel*>("lblCambia")->text();
            for (int i = 0; i < 4; ++i) {
                auto* caja = d->findChild<QLineEdit*>(QString("txtCambia%1").arg(i));
                habilitadas << caja->isEnabled();
                etiquetas << qobject_cast<QLabel*>(d->findChild<QLabel*>(QString("lblCampo%1").arg(i)))->text();
            }
            d->findChild<QLineEdit*>("txtCambia0")->setText("Otro Autor");
            QCOMPARE(d->findChild<QPushButton*>("OKButton")->text(), QString("Aceptar"));
            QCOMPARE(d->findChild<QPushButton*>("CancelButton")->text(), QString("Cancelar"));
            d->findChild<QPushButton*>("OKButton")->click();
        });
        w.lstVBusca_KeyDown(Qt::Key_F2);
        QVERIFY(visto);
        QCOMPARE(titulo, QString("Entra los datos"));
        QCOMPARE(lbl, QString("Pon datos para varios ficheros"));
        QCOMPARE(habilitadas, (QList<bool>{true, false, false, false}));
        QCOMPARE(etiquetas, (QStringList{"Autor.................", "Disco................", "Cancion............",
                                        "Posicion............"}));
        QCOMPARE(w.Lista().SubItem(1, 2), QString("Otro Autor"));
        QCOMPARE(w.Lista().SubItem(2, 2), QString("Otro Autor"));
        QCOMPARE(w.Lista().SubItem(2, 3), QString("Otro"));
        QVERIFY(!QApplication::activeModalWidget());

        // "Cancelar" writes nothing.
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                d->findChild<QLineEdit*>("txtCambia0")->setText("Tercero");
                d->findChild<QPushButton*>("CancelButton")->click();
            }
        });
        w.lstVBusca_KeyDown(Qt::Key_F2);
        QCOMPARE(w.Lista().SubItem(1, 2), QString("Otro Autor"));
    }

    void elDialogoGuardaTextoLargo()
    {
        Dialog d;
        DatosEntrada datos;
        datos.textos = {"a", "b", "c", "d"};
        datos.habilitados = {true, false, true, false};
        datos.etiqueta = "fila";
        d.Carga(datos);
        QVERIFY(d.txtCambia[0]->isEnabled() && !d.txtCambia[1]->isEnabled());
        QCOMPARE(d.lblCambia->text(), QString("fila"));
        const QString largo = QString("x'<y>").repeated(20000);
        d.txtCambia[2]->setText(largo);
        d.Lee(datos);
        QCOMPARE(datos.textos[2], largo);
        QCOMPARE(datos.textos[1], QString("b"));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Catalogo> bd_;
    UnidadesFalsas unidades_;
    std::unique_ptr<AvisosAnotados> avisos_;
    std::unique_ptr<EntradaGuionizada> entrada_;
    std::unique_ptr<frmVaro> w_;
};

QTEST_MAIN(TestTeclaListaVentana)
#include "test_teclalista_ui.moc"
