#pragma once
#include <QHash>
#include <QString>
#include <QVariant>
#include <vector>

#include "common/textos.h"

class ListaTrabajo;
struct CamposLlevados;

// One node of the author/disc tree.
struct NodoArbol {
    QString clave;   // unique in the tree
    QString texto;
    QString imagen;  // key of the small image list
    QVariant tag;    // song: its row text; picture: its row index
    int padre = -1;
    std::vector<int> hijos;
    bool asegurarVisible = false;  // root, authors and discs are scrolled into view
    // A picture keeps its row's text and full path as they were when the tree
    // was built, so later changes to the work list cannot change what it names.
    QString rutaRelativa;
    QString rutaCompleta;
};

// The tree of the work list by author and disc: node 0 is the root "nuevo".
class ArbolDiscos {
public:
    int Cuenta() const { return int(nodos_.size()); }
    const NodoArbol& Nodo(int i) const { return nodos_.at(size_t(i)); }
    // Index of the node with that key (exact text), or -1.
    int Busca(const QString& clave) const { return indice_.value(clave, -1); }
    // Appends a node as the last child of padre (-1: a root); the key must be new.
    int Anade(int padre, const QString& clave, const QString& texto, const QString& imagen);
    NodoArbol& Nodo(int i) { return nodos_.at(size_t(i)); }

private:
    std::vector<NodoArbol> nodos_;
    QHash<QString, int> indice_;
};

// Author and disc before any row: a text no author or disc can be.
inline const QString kNingunoTodavia = QStringLiteral("<tengo!que!ser!algo!que!no!existe>");

// Builds the tree from the analysed rows of the work list. The current author
// and disc are carried in campos, as the other commands of the window share them.
// A row whose node is already in the tree (the same file listed twice) is skipped.
ArbolDiscos GeneraArbol(const ListaTrabajo& lista, CamposLlevados& campos);

// The label of a song node: title, or position-title, and for a various-artists
// row "#@#" and the performer.
QString EtiquetaCancion(const QString& posicion, const QString& titulo, bool varios = false,
                        const QString& interprete = QString());
