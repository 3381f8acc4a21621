// "Poner Tag's" and "Borrar tag's": the work list's MP3 files get or lose their ID3v1 tag.
#include "common/avisos.h"
#include "common/lodrinerror.h"
#include "main_window/frmVaro.h"
#include "mp3info/tagid3.h"

namespace {

bool EsMp3(const ListaTrabajo& lista, int i)
{
    const QString tipo = lista.Tipo(i);
    return tipo == QLatin1String("f") || tipo == QLatin1String("v");
}

}  // namespace

void frmVaro::cmdWriteTag_Click()
{
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        // A row the analysis never reached has nothing to say about the file:
        // it is left alone rather than tagged with blanks.
        if (!EsMp3(lista, i) || lista.CuentaSubItems(i) < columna::kAutor)
            continue;
        try {
            PonTag(lista.Fila(i).tag, lista.SubItem(i, columna::kCancion), lista.SubItem(i, columna::kAutor),
                   lista.SubItem(i, columna::kDisco), QStringLiteral("    "), kComentarioTag, QStringLiteral("0"));
        } catch (const LodrinError& e) {
            // The run stops here; files done before keep their tags.
            avisos.Informa(e.message(), QStringLiteral("Poner Tag's"));
            return;
        }
    }
}

void frmVaro::cmdDeleteTag_Click()
{
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        if (!EsMp3(lista, i))
            continue;
        try {
            BorraTag(lista.Fila(i).tag);
        } catch (const LodrinError& e) {
            avisos.Informa(e.message(), QStringLiteral("Borrar tag's"));
            return;
        }
    }
}
