#include "autorun/escribeautorun.h"

#include <QSaveFile>

#include "autorun/arbol.h"
#include "autorun/ficheroautorun.h"
#include "worklist/listatrabajo.h"

namespace {

class Salida {
public:
    // A control character in a name (Linux names may hold a line feed) would
    // break the file into lines of its own; it is written as a blank.
    void Linea(QString linea)
    {
        for (QChar& c : linea)
            if (c.category() == QChar::Other_Control)
                c = u' ';
        bytes_ += linea.toUtf8();
        bytes_ += autorun::kFinLinea.latin1();
    }
    // A name, never read back as a header.
    void Texto(const QString& texto) { Linea(autorun::LineaDeTexto(texto)); }
    QByteArray bytes_;
};

}  // namespace

QByteArray TextoAutorun(const ArbolDiscos& arbol, bool rutasRelativas)
{
    Salida t;
    if (arbol.Cuenta() == 0)
        return t.bytes_;
    for (int a : arbol.Nodo(0).hijos) {
        const NodoArbol& autor = arbol.Nodo(a);
        for (int d : autor.hijos) {
            const NodoArbol& disco = arbol.Nodo(d);
            // Pictures hanging right under the author have no children.
            if (disco.hijos.empty())
                continue;
            t.Linea(autorun::kLabel);
            t.Texto(autor.texto);
            t.Texto(disco.texto);
            t.Linea(autorun::kImg);
            for (int h : disco.hijos) {
                const NodoArbol& n = arbol.Nodo(h);
                // A cover inside an MP3 is no file the viewer could show.
                if (n.clave.startsWith(QLatin1String("p#")) && !PortadaDentroDeMp3(n.rutaCompleta))
                    t.Linea(rutasRelativas ? u'\\' + n.rutaRelativa : n.rutaCompleta);
            }
            t.Linea(autorun::kCanciones);
            for (int h : disco.hijos) {
                const NodoArbol& n = arbol.Nodo(h);
                if (n.clave.startsWith(QLatin1String("c#"))) {
                    t.Linea(u'\\' + n.tag.toString());
                    t.Texto(n.texto);
                }
            }
        }
    }
    return t.bytes_;
}

QString EscribeAutorun(const ArbolDiscos& arbol, bool rutasRelativas, const QString& carpeta)
{
    const QString ruta = autorun::RutaFichero(carpeta);
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly))
        return ruta;
    const QByteArray texto = TextoAutorun(arbol, rutasRelativas);
    if (f.write(texto) != texto.size() || !f.commit())
        return ruta;
    return QString();
}
