#include "mp3info/tags_ui.h"

#include "common/avisos.h"
#include "mp3info/etiquetas.h"
#include "mp3info/tagid3.h"
#include "worklist/listatrabajo.h"

void PonTagsLista(const ListaTrabajo& lista, Avisos& avisos)
{
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        // A row the analysis never reached has nothing to say about the file:
        // it is left alone rather than tagged with blanks.
        if (!EsMp3(lista.Clase(i)) || lista.CuentaSubItems(i) < columna::kAutor)
            continue;
        const QString& fichero = lista.Fila(i).tag;
        if (!Protege(avisos, QStringLiteral("poner el tag en el fichero %1").arg(fichero), [&] {
                PonEtiquetas(fichero, {lista.SubItem(i, columna::kAutor), lista.SubItem(i, columna::kDisco),
                                       lista.SubItem(i, columna::kCancion), lista.SubItem(i, columna::kPosicion),
                                       lista.Clase(i) == ClaseFila::Varios});
            }, QStringLiteral("Poner Tag's")))
            return;
    }
}

void BorraTagsLista(const ListaTrabajo& lista, Avisos& avisos)
{
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        if (!EsMp3(lista.Clase(i)))
            continue;
        const QString& fichero = lista.Fila(i).tag;
        if (!Protege(avisos, QStringLiteral("borrar el tag del fichero %1").arg(fichero),
                     [&] { BorraTag(fichero); }, QStringLiteral("Borrar tag's")))
            return;
    }
}
