// Undo of the work list: each change that altered its rows is kept with the
// rows and buttons before and after it.
#include <QUndoCommand>
#include <QUndoStack>

#include "main_window/frmVaro.h"

namespace {

// A change of the work list: the rows and the buttons before and after it.
class CambioLista : public QUndoCommand {
public:
    CambioLista(frmVaro& ventana, const QString& texto, const ListaTrabajo& antes, const Habilitados& habAntes,
                const Habilitados& habDespues)
        : QUndoCommand(texto), ventana_(ventana), antes_(antes), despues_(ventana.Lista()), habAntes_(habAntes),
          habDespues_(habDespues)
    {
    }
    void undo() override { ventana_.PonLista(antes_, habAntes_); }
    void redo() override
    {
        // Pushed once the change is done: the first redo has nothing to do.
        if (hecho_)
            ventana_.PonLista(despues_, habDespues_);
        hecho_ = true;
    }

private:
    frmVaro& ventana_;
    const ListaTrabajo antes_, despues_;
    const Habilitados habAntes_, habDespues_;
    bool hecho_ = false;
};

}  // namespace

void frmVaro::recuerda(const QString& texto, const std::function<void()>& cambio)
{
    // A change made inside another (Explorar's own Nueva, Busca and Analiza)
    // belongs to that one's step.
    if (recordando_) {
        cambio();
        return;
    }
    const ListaTrabajo antes = lista_;
    const Habilitados habAntes = habilitados_;
    recordando_ = true;
    try {
        cambio();
    } catch (...) {
        recordando_ = false;
        throw;
    }
    recordando_ = false;
    if (!lista_.MismasFilas(antes))
        deshacer_->push(new CambioLista(*this, texto, antes, habAntes, habilitados_));
}
