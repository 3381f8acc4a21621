#include "decoding/teclalista_ui.h"

#include <Qt>

#include "decoding/teclalista.h"

void EditaFilas(int tecla, FilasEditables& filas, CamposLlevados& campos, EntradaDatos& entrada, bool catalogo,
                const std::function<void(int)>& antesDeBorrar, const std::function<void(int)>& trasEscribir)
{
    if (tecla == Qt::Key_Delete) {
        BorraSeleccionadas(filas, antesDeBorrar);
        return;
    }
    if (tecla != Qt::Key_F2)
        return;
    DatosEntrada datos;
    datos.catalogo = catalogo;
    if (!RecogeDatos(filas, datos))
        return;
    GuardaEnCampos(datos, campos);
    if (!entrada.Pide(datos))
        return;
    GuardaEnCampos(datos, campos);
    EscribeDatos(filas, datos, trasEscribir);
}
