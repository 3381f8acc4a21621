#include "listing/pestanalistados.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>

#include "common/avance.h"
#include "common/avisos.h"
#include "common/controles.h"
#include "common/listasimagenes.h"
#include "listing/listado.h"
#include "store/sesion.h"

namespace {

// Opening a list shows the catch-all entry; the combo's tag keeps the last
// choice until the user picks another entry.
void llena(QComboBox* combo, const QVector<EntradaCombo>& entradas, const ListasImagenes& imagenes)
{
    combo->clear();
    for (const EntradaCombo& e : entradas)
        combo->addItem(imagenes.Pequena(e.imagen), e.texto, QString::number(e.id));
    combo->setCurrentIndex(0);
}

void eligeEntrada(QComboBox* combo)
{
    const int i = combo->currentIndex();
    if (i >= 0)
        combo->setProperty("Tag", combo->itemData(i).toString());
}

// A tag that is not a number restricts nothing.
qint64 filtro(const QWidget* combo) { return combo->property("Tag").toString().toLongLong(); }

}  // namespace

PestanaListados::PestanaListados(SesionCatalogo& sesion, const ListasImagenes& imagenes, Avance& avance,
                                 Avisos& avisos, QWidget* parent)
    : QWidget(parent), sesion_(sesion), imagenes_(imagenes), avance_(avance), avisos_(avisos)
{
    setObjectName(QStringLiteral("Listados"));
    cmbCd = Control<ComboImagen>(this, "cmbCd", QString(), "Seleccionar un CD");
    cmbCd->setPlaceholderText(QStringLiteral("<elegir cd>"));
    cmbAutor = Control<ComboImagen>(this, "cmbAutor", QString(), "Seleccionar un autor");
    cmbAutor->setPlaceholderText(QStringLiteral("<elegir autor>"));
    cmbDisco = Control<ComboImagen>(this, "cmbDisco", QString(), "Seleccionar un disco");
    cmbDisco->setPlaceholderText(QStringLiteral("<elegir disco>"));
    txtSalida = Control<QLineEdit>(this, "txtSalida", "listado.htm", "Fichero donde dejaremos el listado");
    chkCanciones = Control<QCheckBox>(this, "chkCanciones", "Poner canciones", "Poner las canciones en el listado?");
    chkImagenes = Control<QCheckBox>(this, "chkImagenes", "Poner Imagenes", "Poner las imagenes en el listado?");
    auto* cmdLstAutor = Control<QPushButton>(this, "cmdLstAutor", "Generar listado",
                                             "Hace un listado, por la consulta que hemos puesto");
    lblListado = Ayuda(this, "lblListado");

    auto* rejilla = new QGridLayout(this);
    rejilla->setContentsMargins(6, 6, 6, 6);
    const std::tuple<const char*, const char*, QWidget*> campos[] = {
        {"Label8", "Cd", cmbCd}, {"Label4", "Autor", cmbAutor}, {"Label7", "Disco", cmbDisco},
        {"Label9", "Salida", txtSalida}};
    int fila = 0;
    for (auto [nombre, texto, campo] : campos) {
        rejilla->addWidget(Control<QLabel>(this, nombre, QString::fromUtf8(texto)), fila, 0);
        rejilla->addWidget(campo, fila++, 1);
    }
    rejilla->addWidget(chkCanciones, fila++, 0, 1, 2);
    rejilla->addWidget(chkImagenes, fila++, 0, 1, 2);
    rejilla->addWidget(cmdLstAutor, fila++, 0, 1, 2, Qt::AlignLeft);
    rejilla->setRowStretch(fila, 1);
    rejilla->addWidget(lblListado, 0, 2, fila + 1, 1);
    rejilla->setColumnStretch(1, 2);
    rejilla->setColumnStretch(2, 3);

    connect(cmbCd, &ComboImagen::DropDown, this, [this] { Protege(avisos_, QStringLiteral("leer los CD's"), [this] { llena(cmbCd, EntradasCd(sesion_.bd()), imagenes_); }); });
    connect(cmbAutor, &ComboImagen::DropDown, this, [this] { Protege(avisos_, QStringLiteral("leer los autores"), [this] { llena(cmbAutor, EntradasAutor(sesion_.bd()), imagenes_); }); });
    connect(cmbDisco, &ComboImagen::DropDown, this, [this] {
        Protege(avisos_, QStringLiteral("leer los discos"), [this] { llena(cmbDisco, EntradasDisco(sesion_.bd(), filtro(cmbAutor)), imagenes_); });
    });
    for (QComboBox* c : {static_cast<QComboBox*>(cmbCd), static_cast<QComboBox*>(cmbAutor), static_cast<QComboBox*>(cmbDisco)})
        connect(c, &QComboBox::activated, this, [c] { eligeEntrada(c); });
    connect(cmdLstAutor, &QPushButton::clicked, this, &PestanaListados::cmdLstAutor_Click);
    // The filters name rows of the catalogue they were read from.
    connect(&sesion_, &SesionCatalogo::Cambiado, this, [this] {
        for (QComboBox* c : {static_cast<QComboBox*>(cmbCd), static_cast<QComboBox*>(cmbAutor),
                             static_cast<QComboBox*>(cmbDisco)})
            c->clear();
        Prepara();
    });
}

void PestanaListados::Prepara()
{
    for (QWidget* w : {static_cast<QWidget*>(cmbAutor), static_cast<QWidget*>(cmbDisco), static_cast<QWidget*>(cmbCd)})
        w->setProperty("Tag", QStringLiteral("0"));
}

void PestanaListados::PonAyuda(const QString& texto) { lblListado->setText(texto); }

void PestanaListados::cmdLstAutor_Click()
{
    if (txtSalida->text().isEmpty()) {
        avisos_.Informa(QStringLiteral("Has de poner el fichero de salida del listado"), QStringLiteral("Lodrin"));
        return;
    }
    OpcionesListado opciones;
    opciones.idcd = filtro(cmbCd);
    opciones.idautor = filtro(cmbAutor);
    opciones.iddisco = filtro(cmbDisco);
    opciones.canciones = chkCanciones->isChecked();
    opciones.imagenes = chkImagenes->isChecked();

    try {
        GeneraListado(sesion_.bd(), sesion_.carpeta(), txtSalida->text(), opciones, &avance_);
    } catch (const FalloSalida& e) {
        avance_.Termina();
        avisos_.Falla(e.message(), QStringLiteral("Lodrin"));
    } catch (...) {
        avance_.Termina();
        Protege(avisos_, QStringLiteral("hacer el listado %1").arg(txtSalida->text()), [] { throw; });
    }
}
