#include "mp3info/tags_ui.h"

#include <functional>

#include "common/avance.h"
#include "common/avisos.h"
#include "common/lodrinerror.h"
#include "mp3info/etiquetas.h"
#include "mp3info/tagid3.h"
#include "worklist/listatrabajo.h"

namespace {

// Runs hazlo on every row that pasa, in list order, and tells once what was
// not done: the files that failed, with their reasons, and those a cancel left.
void Lote(const ListaTrabajo& lista, Avance& avance, Avisos& avisos, const QString& titulo,
          const std::function<bool(int)>& pasa, const std::function<void(const QString&, int)>& hazlo)
{
    QStringList fallidos, pendientes;
    int total = 0;
    avance.Empieza(lista.Cuenta());
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        if (!pasa(i))
            continue;
        ++total;
        const QString& fichero = lista.Fila(i).tag;
        if (!pendientes.isEmpty() || avance.Cancelado()) {
            pendientes << fichero;
            continue;
        }
        try {
            hazlo(fichero, i);
        } catch (const LodrinError& e) {
            fallidos << e.message();
        }
        avance.Avanza(i);
    }
    avance.Termina();
    QStringList partes;
    if (!fallidos.isEmpty())
        partes << QStringLiteral("No se han podido hacer %1 de %2 ficheros; los demás están hechos.\n\n%3")
                      .arg(fallidos.size())
                      .arg(total)
                      .arg(fallidos.join(QStringLiteral("\n\n")));
    if (!pendientes.isEmpty())
        partes << QStringLiteral("Cancelado: quedan sin hacer %1 de %2 ficheros:\n%3")
                      .arg(pendientes.size())
                      .arg(total)
                      .arg(pendientes.join(QLatin1Char('\n')));
    if (!fallidos.isEmpty())
        avisos.Falla(partes.join(QStringLiteral("\n\n")), titulo);
    else if (!partes.isEmpty())
        avisos.Informa(partes.join(QStringLiteral("\n\n")), titulo);
}

}  // namespace

void PonTagsLista(const ListaTrabajo& lista, Avance& avance, Avisos& avisos)
{
    // A row the analysis never reached has nothing to say about the file:
    // it is left alone rather than tagged with blanks.
    Lote(lista, avance, avisos, QStringLiteral("Poner Tag's"),
         [&](int i) { return EsMp3(lista.Clase(i)) && lista.CuentaSubItems(i) >= columna::kAutor; },
         [&](const QString& fichero, int i) {
             PonEtiquetas(fichero, {lista.SubItem(i, columna::kAutor), lista.SubItem(i, columna::kDisco),
                                    lista.SubItem(i, columna::kCancion), lista.SubItem(i, columna::kPosicion),
                                    lista.Clase(i) == ClaseFila::Varios});
         });
}

void BorraTagsLista(const ListaTrabajo& lista, Avance& avance, Avisos& avisos)
{
    Lote(lista, avance, avisos, QStringLiteral("Borrar tag's"), [&](int i) { return EsMp3(lista.Clase(i)); },
         [](const QString& fichero, int) { BorraTag(fichero); });
}
