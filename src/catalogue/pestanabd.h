#pragma once
#include <QWidget>

class QTreeWidget;
class Catalogo;
class EntradaDatos;
class ListasImagenes;
struct CamposLlevados;
struct ContenidoBD;

// The "Base de datos" tab: the catalogue list lstVBD that the browser fills,
// and "Limpia BD".
class PestanaBaseDatos : public QWidget {
    Q_OBJECT
public:
    PestanaBaseDatos(Catalogo& bd, const ListasImagenes& imagenes, QWidget* parent = nullptr);

    // Start-up: the list stays sorted by the column the browser sets.
    void Prepara();
    void Limpia();
    void OrdenaPor(int columna);
    // The songs of a node, in the list's sort order.
    void Muestra(const ContenidoBD& contenido);
    // Delete and F2 on the list: the songs are deleted or updated in the
    // catalogue as their rows go or change; a failure throws LodrinError and
    // the rows not yet done stay as they were.
    void Edita(int tecla, CamposLlevados& campos, EntradaDatos& entrada);

signals:
    void Tecla(int tecla);
    void Limpiar();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    Catalogo& bd_;
    const ListasImagenes& imagenes_;
    QTreeWidget* lstVBD;
};
