#include "catalogue/comparacion.h"

#include "catalogue/nombres.h"
#include "common/textos.h"
#include "store/catalogo.h"
#include "worklist/listatrabajo.h"

namespace {

bool Catalogada(Catalogo& bd, const ListaTrabajo& lista, int i, bool varios)
{
    const qint64 idautor = AutorCatalogado(bd, lista.SubItem(i, columna::kAutor));
    if (idautor < 1)
        return false;
    const qint64 propietario = varios ? AutorCatalogado(bd, kVariosArtistas) : idautor;
    if (propietario < 1)
        return false;
    QString disco = lista.SubItem(i, columna::kDisco);
    const qint64 iddisco = DameDisco(bd, disco, propietario, false);
    if (iddisco < 1)
        return false;
    QString titulo = lista.SubItem(i, columna::kCancion);
    QString ruta = QStringLiteral("False");
    return DameCancion(bd, titulo, idautor, iddisco, 0, 0, ruta, false, false, 0) >= 1;
}

}  // namespace

void ComparaCD(Catalogo& bd, ListaTrabajo& lista)
{
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        const ClaseFila clase = lista.Clase(i);
        const bool varios = clase == ClaseFila::Varios;
        if (!EsMp3(clase) || lista.CuentaSubItems(i) <= 1)
            continue;
        lista.Fila(i).icono = Catalogada(bd, lista, i, varios) ? QStringLiteral("true") : QStringLiteral("false");
        lista.Cambiada();
    }
}
