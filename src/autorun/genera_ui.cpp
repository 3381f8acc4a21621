#include "autorun/genera_ui.h"

#include <QTreeWidget>
#include <vector>

#include "autorun/escribeautorun.h"
#include "common/avisos.h"
#include "common/listasimagenes.h"

namespace {

frmVaro::EstadoAutorun& estado(std::shared_ptr<frmVaro::EstadoAutorun>& e)
{
    if (!e)
        e = std::make_shared<frmVaro::EstadoAutorun>();
    return *e;
}

}  // namespace

void frmVaro::cmdGenera_Click()
{
    EstadoAutorun& e = estado(autorun);
    e.arbol = GeneraArbol(lista, campos);

    Tv->clear();
    std::vector<QTreeWidgetItem*> items(size_t(e.arbol.Cuenta()), nullptr);
    for (int i = 0; i < e.arbol.Cuenta(); ++i) {
        const NodoArbol& n = e.arbol.Nodo(i);
        auto* item = n.padre < 0 ? new QTreeWidgetItem(Tv) : new QTreeWidgetItem(items[size_t(n.padre)]);
        item->setText(0, n.texto);
        item->setIcon(0, imagenes->Pequena(n.imagen));
        item->setData(0, Qt::UserRole, n.clave);
        item->setData(0, Qt::UserRole + 1, n.tag);
        items[size_t(i)] = item;
    }
    // Root, authors and discs are brought into view: their parents open.
    for (int i = 0; i < e.arbol.Cuenta(); ++i)
        if (e.arbol.Nodo(i).asegurarVisible)
            for (QTreeWidgetItem* p = items[size_t(i)]->parent(); p; p = p->parent())
                p->setExpanded(true);
    if (!items.empty())
        Tv->scrollToItem(items.front());
    Aplica(Suceso::Genera);
}

bool frmVaro::EscribeAutorun(bool rutasRelativas)
{
    const QString fallo = ::EscribeAutorun(estado(autorun).arbol, rutasRelativas, dirPrograma);
    if (!fallo.isEmpty()) {
        avisos.Informa(QStringLiteral("No se ha podido escribir el fichero ") + fallo, QStringLiteral("Autorun"));
        return false;
    }
    Aplica(Suceso::Autorun);
    return true;
}

void frmVaro::cmdauto_Click() { EscribeAutorun(true); }

void frmVaro::cmdVerAuto_Click()
{
    if (!EscribeAutorun(false))
        return;
    EstadoAutorun& e = estado(autorun);
    // An open preview is brought forward as it is; a closed one is read anew.
    if (!e.vistaPrevia) {
        e.vistaPrevia = new frmAuto(dirPrograma, kRevisionLodrin, avisos, this);
        e.vistaPrevia->setAttribute(Qt::WA_DeleteOnClose);
    }
    e.vistaPrevia->show();
    e.vistaPrevia->raise();
    e.vistaPrevia->activateWindow();
}
