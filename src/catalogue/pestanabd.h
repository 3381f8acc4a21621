#pragma once
#include <QWidget>
#include <vector>

#include "catalogue/navegador.h"

class BuscadorCatalogo;
class QLabel;
class QLineEdit;
class QTreeWidget;
class Catalogo;
class SesionCatalogo;
class EditorFilas;
class ListasImagenes;
struct ResultadoBusqueda;

// The "Base de datos" tab: the catalogue list lstVBD that the browser fills,
// the search box txtBuscaBD over it, and "Limpia BD".
class PestanaBaseDatos : public QWidget {
    Q_OBJECT
public:
    PestanaBaseDatos(SesionCatalogo& sesion, const ListasImagenes& imagenes, QWidget* parent = nullptr);

    // Start-up, once the catalogue is open: the list stays sorted by the
    // column the browser sets, and searches can be made.
    void Prepara();
    // Also ends a search, without reading the browsed node again.
    void Limpia();
    void OrdenaPor(int columna);
    // The songs of a node, in the list's sort order.
    void Muestra(const ContenidoBD& contenido);
    // Delete and F2 on the list: the songs are deleted or updated in the
    // catalogue as their rows go or change; a failure throws LodrinError and
    // the rows not yet done stay as they were. A song the catalogue no longer
    // holds as its row shows is left alone: the row shows it as it is now
    // (or goes) and kCancionCambiada is thrown.
    void Edita(int tecla, EditorFilas& editor);
    // The songs the list shows, top to bottom.
    std::vector<qint64> CancionesMostradas() const;
    // Makes the row of a song ("ca#" key) the current one, in view.
    void Selecciona(const QString& clave);

signals:
    void Tecla(int tecla);
    // A found row was clicked: its disc's cover goes in the picture.
    void DiscoElegido(qint64 iddisco);
    void Limpiar();
    // A listing or search failed: the window tells it through its one error
    // boundary.
    void Fallo(const QString& mensaje);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void busca(const QString& texto);
    void muestraEncontradas(const ResultadoBusqueda& r);
    void terminaBusqueda();
    void ponFilas(const std::vector<FilaBD>& filas);
    // Another catalogue: nothing of the old one is shown or searched.
    void otroCatalogo();
    Catalogo& bd() const;

    SesionCatalogo& sesion_;
    const ListasImagenes& imagenes_;
    QTreeWidget* lstVBD;
    QLineEdit* txtBuscaBD;
    QLabel* lblCuentaBD;
    BuscadorCatalogo* buscador_ = nullptr;  // a catalogue file only
    bool buscando_ = false;
    // The node whose songs the list shows when no search is made: leaving a
    // search reads it again, so the list never shows a stale copy.
    QString nodo_;
};
