#include "autorun/arbol.h"

#include "autorun/ficheroautorun.h"
#include "common/lodrinerror.h"
#include "decoding/campos.h"
#include "worklist/listatrabajo.h"

int ArbolDiscos::Anade(int padre, const QString& clave, const QString& texto, const QString& imagen)
{
    if (indice_.contains(clave))
        throw LodrinError(QStringLiteral("Clave repetida en el árbol: ") + clave);
    NodoArbol n;
    n.clave = clave;
    n.texto = texto;
    n.imagen = imagen;
    n.padre = padre;
    const int i = int(nodos_.size());
    nodos_.push_back(std::move(n));
    indice_.insert(clave, i);
    if (padre >= 0)
        nodos_.at(size_t(padre)).hijos.push_back(i);
    return i;
}

QString EtiquetaCancion(const QString& posicion, const QString& titulo, bool varios, const QString& interprete)
{
    const QString t = autorun::EscapaSeparador(titulo);
    QString etiqueta = (posicion.isEmpty() || posicion == QLatin1String("00")) ? t : posicion + u'-' + t;
    if (varios)
        etiqueta += autorun::kSeparadorInterprete + autorun::EscapaSeparador(interprete);
    return etiqueta;
}

namespace {

QString claveAutor(const QString& autor) { return QStringLiteral("a#") + autor; }
QString claveDisco(const QString& disco, const QString& autor) { return QStringLiteral("d#") + disco + claveAutor(autor); }

class Constructor {
public:
    Constructor(const ListaTrabajo& lista, CamposLlevados& campos) : lista_(lista), campos_(campos) {}

    ArbolDiscos Construye()
    {
        campos_.autor = kNingunoTodavia;
        campos_.disco = kNingunoTodavia;
        const int raiz = arbol_.Anade(-1, QStringLiteral("nuevo"), QStringLiteral("nuevo"), QStringLiteral("disco"));
        arbol_.Nodo(raiz).asegurarVisible = true;
        for (int i = 1; i <= lista_.Cuenta(); ++i) {
            const ClaseFila clase = lista_.Clase(i);
            if (lista_.CuentaSubItems(i) < 3)
                continue;
            if (EsMp3(clase))
                cancion(i, clase == ClaseFila::Varios);
            else if (clase == ClaseFila::Imagen)
                imagen(i);
        }
        return std::move(arbol_);
    }

private:
    // The author and disc nodes are found or added whenever a row needs them,
    // not only when the author or disc changed from the row before: a disc-less
    // picture followed by a song of the same author would otherwise leave the
    // song without its disc node.
    int autor(const QString& a)
    {
        int n = arbol_.Busca(claveAutor(a));
        if (n < 0) {
            n = arbol_.Anade(0, claveAutor(a), a, QStringLiteral("autor"));
            arbol_.Nodo(n).asegurarVisible = true;
        }
        return n;
    }

    int disco(const QString& d, const QString& a)
    {
        int n = arbol_.Busca(claveDisco(d, a));
        if (n < 0) {
            n = arbol_.Anade(autor(a), claveDisco(d, a), d, QStringLiteral("cd"));
            arbol_.Nodo(n).asegurarVisible = true;
        }
        return n;
    }

    void cancion(int fila, bool varios)
    {
        campos_.autor = lista_.SubItem(fila, columna::kAutor);
        campos_.disco = lista_.SubItem(fila, columna::kDisco);
        const QString titulo = lista_.SubItem(fila, columna::kCancion);
        const QString posicion = lista_.SubItem(fila, columna::kPosicion);
        QString interprete;
        if (varios) {
            interprete = campos_.autor;
            campos_.autor = kVariosArtistas;
        }
        const int padre = disco(campos_.disco, campos_.autor);
        const QString texto = lista_.Fila(fila).texto;
        const QString clave = QStringLiteral("c#") + texto + claveDisco(campos_.disco, campos_.autor);
        if (arbol_.Busca(clave) >= 0)
            return;
        const int n = arbol_.Anade(padre, clave, EtiquetaCancion(posicion, titulo, varios, interprete), QStringLiteral("cancion"));
        arbol_.Nodo(n).tag = texto;
    }

    void imagen(int fila)
    {
        campos_.autor = lista_.SubItem(fila, columna::kAutor);
        campos_.disco = lista_.SubItem(fila, columna::kDisco);
        if (campos_.autor.isEmpty())
            return;
        const int padre = campos_.disco.isEmpty() ? autor(campos_.autor) : disco(campos_.disco, campos_.autor);
        const FilaTrabajo& f = lista_.Fila(fila);
        const QString clave = QStringLiteral("p#") + f.tag;
        if (arbol_.Busca(clave) >= 0)
            return;
        const qsizetype barra = f.texto.lastIndexOf(u'\\');
        const QString nombre = barra < 0 ? f.texto : f.texto.mid(barra + 1);
        const int n = arbol_.Anade(padre, clave, nombre, QStringLiteral("img"));
        NodoArbol& nodo = arbol_.Nodo(n);
        nodo.tag = fila;
        nodo.rutaRelativa = f.texto;
        nodo.rutaCompleta = f.tag;
    }

    const ListaTrabajo& lista_;
    CamposLlevados& campos_;
    ArbolDiscos arbol_;
};

}  // namespace

ArbolDiscos GeneraArbol(const ListaTrabajo& lista, CamposLlevados& campos)
{
    return Constructor(lista, campos).Construye();
}
