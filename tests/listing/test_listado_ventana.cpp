// The "Listados" tab of the main window: the filter combos and the button.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "catalogoprueba.h"
#include "catalogue/nombres.h"
#include "common/controles.h"
#include "main_window/frmVaro.h"
#include "store/catalogo.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

class TestListadoVentana : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Catalogo* bd_ = nullptr;
    UnidadesFalsas unidades_;
    AvisosAnotados avisos_;
    frmVaro* w_ = nullptr;
    CatalogoPrueba c_;

    static QStringList textos(const QComboBox* combo)
    {
        QStringList t;
        for (int i = 0; i < combo->count(); ++i)
            t << combo->itemText(i);
        return t;
    }
    // Opens the list as the user does and picks the entry with that text.
    static void elige(ComboImagen* combo, const QString& texto)
    {
        combo->showPopup();
        const int i = combo->findText(texto);
        QVERIFY2(i >= 0, qPrintable(texto));
        combo->hidePopup();
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    QString pagina() const { return QString::fromUtf8(LeeFichero(dir_.filePath(QStringLiteral("listado.htm")))); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        bd_ = new Catalogo(dir_.filePath(QStringLiteral("anterior.mdb")), QStringLiteral("ventana"));
        w_ = new frmVaro(*bd_, unidades_, avisos_, dir_.path());
        w_->Form_Load();
        c_ = LlenaCatalogo(*bd_, dir_.path(), dir_.filePath(QStringLiteral("cd")));
    }
    void cleanupTestCase()
    {
        delete w_;
        delete bd_;
    }

    void combosSeLlenanAlAbrirse()
    {
        auto* cmbAutor = w_->findChild<ComboImagen*>(QStringLiteral("cmbAutor"));
        auto* cmbDisco = w_->findChild<ComboImagen*>(QStringLiteral("cmbDisco"));
        auto* cmbCd = w_->findChild<ComboImagen*>(QStringLiteral("cmbCd"));
        QVERIFY(cmbAutor && cmbDisco && cmbCd);
        QCOMPARE(cmbAutor->property("Tag").toString(), QStringLiteral("0"));

        cmbCd->showPopup();
        cmbCd->hidePopup();
        QCOMPARE(textos(cmbCd), (QStringList{QStringLiteral("Todos los Cd's"), QStringLiteral("CD1"),
                                              QStringLiteral("Música & más")}));
        QCOMPARE(cmbCd->currentIndex(), 0);
        QVERIFY(!cmbCd->itemIcon(0).isNull());
        QVERIFY(!cmbCd->itemIcon(1).isNull());

        // With no author chosen every disc is offered.
        cmbDisco->showPopup();
        cmbDisco->hidePopup();
        QCOMPARE(cmbDisco->count(), 8);

        elige(cmbAutor, QStringLiteral("Bruno"));
        QCOMPARE(cmbAutor->property("Tag").toString(), QString::number(c_.bruno));
        QCOMPARE(cmbAutor->itemData(0).toString(), QStringLiteral("0"));
        cmbDisco->showPopup();
        cmbDisco->hidePopup();
        QCOMPARE(textos(cmbDisco), (QStringList{QStringLiteral("Todos los discos"), QStringLiteral("Alfa"),
                                                 QStringLiteral("Zeta")}));

        // Opening the list again shows the catch-all entry; the choice stays.
        cmbAutor->showPopup();
        cmbAutor->hidePopup();
        QCOMPARE(cmbAutor->currentIndex(), 0);
        QCOMPARE(cmbAutor->property("Tag").toString(), QString::number(c_.bruno));

        // A new author appears the next time the list opens.
        QString nuevo = QStringLiteral("Zoe");
        DameAutor(*bd_, nuevo, true);
        cmbAutor->showPopup();
        cmbAutor->hidePopup();
        QCOMPARE(textos(cmbAutor).last(), QStringLiteral("Zoe"));

        elige(cmbAutor, QStringLiteral("Todos los autores"));
        QCOMPARE(cmbAutor->property("Tag").toString(), QStringLiteral("0"));
    }

    // The listing follows the choices kept in the tags.
    void generarSigueLosFiltros()
    {
        auto* cmbAutor = w_->findChild<ComboImagen*>(QStringLiteral("cmbAutor"));
        auto* cmbCd = w_->findChild<ComboImagen*>(QStringLiteral("cmbCd"));
        elige(cmbAutor, QStringLiteral("Bruno"));
        elige(cmbCd, QStringLiteral("Música & más"));
        cmbAutor->showPopup();
        cmbAutor->hidePopup();
        Hijo<QCheckBox>(*w_, "chkCanciones")->setChecked(true);
        Hijo<QLineEdit>(*w_, "txtSalida")->setText(QStringLiteral("listado.htm"));
        QTest::mouseClick(w_->findChild<QPushButton*>(QStringLiteral("cmdLstAutor")), Qt::LeftButton);
        const QString p = pagina();
        QVERIFY(p.contains(QStringLiteral("Listado  CD  Autor </big></p>")));
        QVERIFY(p.contains(QStringLiteral("Música &amp; más--Bruno--Cualquier disco")));
        QVERIFY(p.contains(QStringLiteral(" 1-Aurora(100:00)</pre>")));
        QVERIFY(!p.contains(QStringLiteral("Zumbido")));
        QVERIFY(Hijo<QProgressBar>(*w_, "prgLoad")->isHidden());
        // Only the disc holding Bruno's songs on that CD was looked at, not
        // his other disc nor the compilation.
        QCOMPARE(Hijo<QProgressBar>(*w_, "prgLoad")->maximum(), 1);
        QCOMPARE(Hijo<QProgressBar>(*w_, "prgLoad")->value(), 1);
        QVERIFY(avisos_.textos.isEmpty());
        elige(cmbAutor, QStringLiteral("Todos los autores"));
        elige(cmbCd, QStringLiteral("Todos los Cd's"));
    }

    void salidaVacia()
    {
        QFile::remove(dir_.filePath(QStringLiteral("listado.htm")));
        Hijo<QLineEdit>(*w_, "txtSalida")->clear();
        Pulsa(*w_, "cmdLstAutor");
        QCOMPARE(avisos_.textos, QStringList{QStringLiteral("Has de poner el fichero de salida del listado")});
        QCOMPARE(avisos_.titulos, QStringList{QStringLiteral("Lodrin")});
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("listado.htm"))));
        avisos_.textos.clear();
        avisos_.titulos.clear();
    }

    // A name that cannot be created is reported and the window carries on.
    void salidaQueNoSePuedeCrear()
    {
        Hijo<QLineEdit>(*w_, "txtSalida")->setText(QStringLiteral("no\\existe\\listado.htm"));
        Pulsa(*w_, "cmdLstAutor");
        QCOMPARE(avisos_.textos.size(), 1);
        QVERIFY(avisos_.textos[0].startsWith(QStringLiteral("No se puede crear el fichero")));
        QVERIFY(Hijo<QProgressBar>(*w_, "prgLoad")->isHidden());
        avisos_.textos.clear();
        avisos_.titulos.clear();

        Hijo<QLineEdit>(*w_, "txtSalida")->setText(QStringLiteral("listado.htm"));
        Pulsa(*w_, "cmdLstAutor");
        QVERIFY(avisos_.textos.isEmpty());
        QVERIFY(pagina().contains(QStringLiteral("Cualquier CD--Cualquier autor--Cualquier disco")));
    }
};

QTEST_MAIN(TestListadoVentana)
#include "test_listado_ventana.moc"
