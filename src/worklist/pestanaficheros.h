#pragma once
#include <QWidget>

#include "worklist/habilitacion.h"

class QPushButton;
class QTreeView;
class ListaTrabajo;
class ListasImagenes;
class ModeloListaTrabajo;

// The "Ficheros" tab: the work list lstVBusca and its six buttons. The rows
// live in the list the window holds; the view follows them, and the view's
// selection is kept in the rows' mark.
class PestanaFicheros : public QWidget {
    Q_OBJECT
public:
    PestanaFicheros(ListaTrabajo& lista, const ListasImagenes& imagenes, QWidget* parent = nullptr);

    // Start-up: sorting on, the seven columns and their widths, or those the
    // person left (EstadoColumnas of the last run).
    void Prepara(const QByteArray& columnas = QByteArray());
    QByteArray EstadoColumnas() const;
    void Habilita(const Habilitados& h);
    // The view's selection into the rows' mark, and the rows into the view.
    void LeeSeleccion();
    void Refresca();

signals:
    void Nueva();
    void Busca();
    void Analiza();
    void Compara();
    void Genera();
    void VerAuto();
    void Soltadas(const QStringList& rutas);
    // Delete, F2 or F3 on the list (or from the menu "Podemos").
    void Tecla(int tecla);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // Author, disc and song share the list's room left of the name until
    // the person sizes a column or widths come from the last run.
    void reparte();
    bool repartir_ = false;
    bool repartiendo_ = false;
    ListaTrabajo& lista_;
    ModeloListaTrabajo* modelo_;
    QTreeView* lstVBusca;
    QPushButton* cmdNueva;
    QPushButton* cmdBusca;
    QPushButton* cmdAnaliza;
    QPushButton* cmdCompara;
    QPushButton* cmdGenera;
    QPushButton* cmdVerAuto;
};
