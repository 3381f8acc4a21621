// The "Listados" tab: the three filter combos and "Generar listado".
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>

#include "common/avisos.h"
#include "listing/listado.h"
#include "main_window/frmVaro.h"
#include "common/listasimagenes.h"

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

void frmVaro::cmbCd_DropDown() { llena(cmbCd, EntradasCd(bd), *imagenes); }

void frmVaro::cmbAutor_DropDown() { llena(cmbAutor, EntradasAutor(bd), *imagenes); }

void frmVaro::cmbDisco_DropDown() { llena(cmbDisco, EntradasDisco(bd, filtro(cmbAutor)), *imagenes); }

void frmVaro::cmbCd_Click() { eligeEntrada(cmbCd); }

void frmVaro::cmbAutor_Click() { eligeEntrada(cmbAutor); }

void frmVaro::cmbDisco_Click() { eligeEntrada(cmbDisco); }

void frmVaro::cmdLstAutor_Click()
{
    if (txtSalida->text().isEmpty()) {
        avisos.Informa(QStringLiteral("Has de poner el fichero de salida del listado"), windowTitle());
        return;
    }
    OpcionesListado opciones;
    opciones.idcd = filtro(cmbCd);
    opciones.idautor = filtro(cmbAutor);
    opciones.iddisco = filtro(cmbDisco);
    opciones.canciones = chkCanciones->isChecked();
    opciones.imagenes = chkImagenes->isChecked();

    ProgresoListado progreso;
    progreso.Empieza = [this](int filas) {
        prgLoad->setMaximum(filas);
        prgLoad->setValue(0);
        prgLoad->show();
    };
    progreso.Avanza = [this] { prgLoad->setValue(prgLoad->value() + 1); };
    progreso.Termina = [this] { prgLoad->hide(); };
    try {
        GeneraListado(bd, dirPrograma, txtSalida->text(), opciones, progreso);
    } catch (const FalloSalida& e) {
        avisos.Informa(e.message(), windowTitle());
    }
}
