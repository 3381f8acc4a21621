#include "worklist/tagslista.h"

#include <functional>
#include <vector>

#include "common/avance.h"
#include "common/avisos.h"
#include "common/diario.h"
#include "common/lodrinerror.h"
#include "mp3info/etiquetas.h"
#include "worklist/listatrabajo.h"

namespace {

// Files are written in groups through the journal: the records of a group
// reach the disk together, then the files, so the disk is flushed a few
// times a group rather than per file.
constexpr std::size_t kPorGrupo = 64;
constexpr qint64 kPesoGrupo = qint64(128) << 20;

// Writes what prepara makes of every row that pasa, in list order, and
// tells once what was not done: the files that failed, with their reasons,
// and those a cancel left.
void Lote(const ListaTrabajo& lista, Avance& avance, Avisos& avisos, const QString& titulo,
          const std::function<bool(int)>& pasa, const std::function<EscrituraFichero(const QString&, int)>& prepara)
{
    QStringList fallidos, pendientes;
    int total = 0;
    Diario diario;
    std::vector<QString> grupo;  // the files noted in the journal, in order
    qint64 peso = 0;
    auto escribeGrupo = [&] {
        try {
            diario.Asegura();
            for (std::size_t k = 0; k < grupo.size(); ++k) {
                try {
                    diario.Aplica(k);
                } catch (const LodrinError& e) {
                    fallidos << FallaEtiquetas(grupo[k], e.message());
                }
            }
        } catch (const LodrinError& e) {
            for (const QString& f : grupo)
                fallidos << FallaEtiquetas(f, e.message());
        }
        diario.Termina();
        grupo.clear();
        peso = 0;
    };
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
            const EscrituraFichero e = prepara(fichero, i);
            if (!e.trozos.empty()) {
                try {
                    diario.Anota(e);
                } catch (const LodrinError& motivo) {
                    throw LodrinError(FallaEtiquetas(fichero, motivo.message()));
                }
                grupo.push_back(fichero);
                peso += e.Peso();
            }
        } catch (const LodrinError& e) {
            fallidos << e.message();
        }
        if (grupo.size() >= kPorGrupo || peso >= kPesoGrupo)
            escribeGrupo();
        avance.Avanza(i);
    }
    escribeGrupo();
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
             return EscrituraPonEtiquetas(fichero, {lista.SubItem(i, columna::kAutor), lista.SubItem(i, columna::kDisco),
                                    lista.SubItem(i, columna::kCancion), lista.SubItem(i, columna::kPosicion),
                                    lista.Clase(i) == ClaseFila::Varios});
         });
}

void BorraTagsLista(const ListaTrabajo& lista, Avance& avance, Avisos& avisos)
{
    Lote(lista, avance, avisos, QStringLiteral("Borrar tag's"), [&](int i) { return EsMp3(lista.Clase(i)); },
         [](const QString& fichero, int) { return EscrituraBorraEtiquetas(fichero); });
}
