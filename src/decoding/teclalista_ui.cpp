#include <QTreeWidget>

#include "catalogue/edicion.h"
#include "catalogue/navegador.h"
#include "catalogue/navegador_ui.h"
#include "decoding/dialog.h"
#include "decoding/teclalista.h"
#include "main_window/frmVaro.h"

namespace {

// The catalogue list seen as editable rows. Its fourth edited field is the
// song's position, which is the row text.
class FilasCatalogo : public FilasEditables {
public:
    explicit FilasCatalogo(QTreeWidget* lista) : lista_(lista) {}
    int Cuenta() const override { return lista_->topLevelItemCount(); }
    bool Seleccionada(int i) const override { return item(i)->isSelected(); }
    QString Texto(int i) const override { return item(i)->text(columnaBD::kPosicion); }
    QString Tipo(int i) const override { return item(i)->text(columnaBD::kAttrib); }
    int CuentaSubItems(int) const override { return 5; }
    QString Campo(int i, int c) const override { return item(i)->text(columna(c)); }
    void PonCampo(int i, int c, const QString& texto) override { item(i)->setText(columna(c), texto); }
    void Quita(int i) override { delete lista_->takeTopLevelItem(i - 1); }
    QTreeWidgetItem* item(int i) const { return lista_->topLevelItem(i - 1); }

private:
    static int columna(int c)
    {
        switch (c) {
        case 2: return columnaBD::kAutor;
        case 3: return columnaBD::kDisco;
        case 4: return columnaBD::kCancion;
        default: return columnaBD::kPosicion;
        }
    }
    QTreeWidget* lista_;
};

}  // namespace

void frmVaro::TeclaLista(int tecla, bool catalogo)
{
    if (tecla != Qt::Key_Delete && tecla != Qt::Key_F2)
        return;
    FilasCatalogo filasCatalogo(lstVBD);
    FilasTrabajo filasTrabajo(lista);
    FilasEditables& filas = catalogo ? static_cast<FilasEditables&>(filasCatalogo) : filasTrabajo;

    if (tecla == Qt::Key_Delete) {
        if (catalogo)
            BorraSeleccionadas(filas, [&](int i) { BorraCancion(bd, LeeFilaBD(filasCatalogo.item(i))); });
        else
            BorraSeleccionadas(filas);
    } else {
        DatosEntrada datos;
        datos.catalogo = catalogo;
        if (!RecogeDatos(filas, datos))
            return;
        GuardaEnCampos(datos, campos);
        EntradaDialogo dialogo(this);
        if (!(entrada ? entrada : &dialogo)->Pide(datos))
            return;
        GuardaEnCampos(datos, campos);
        if (catalogo) {
            // Rows must keep their places while they are written.
            lstVBD->setSortingEnabled(false);
            EscribeDatos(filas, datos, [&](int i) {
                QTreeWidgetItem* item = filasCatalogo.item(i);
                item->setText(columnaBD::kPosicion, ActualizaCancion(bd, LeeFilaBD(item)));
            });
            lstVBD->setSortingEnabled(true);
        } else {
            EscribeDatos(filas, datos);
        }
    }
    if (!catalogo)
        RefrescaLista();
}
