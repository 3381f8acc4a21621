#include "store/filabd.h"

#include "common/textos.h"
#include "store/catalogo.h"

namespace {

// No author or disc: the row shows the catalogue's empty name.
bool sinId(qint64 id) { return id == 0 || id == -1; }

}  // namespace

FilaBD FilaDeCancion(const Consulta& r)
{
    FilaBD f;
    f.clave = QStringLiteral("ca#") + QString::number(r.Entero(QStringLiteral("idcancion")));
    f.posicion = QString::number(r.Entero(QStringLiteral("wncancion")));
    f.attrib = r.SiNo(QStringLiteral("swvarios")) ? QStringLiteral("v") : QStringLiteral("f");
    f.autor = sinId(r.Entero(QStringLiteral("cdautor"))) ? kVacio : r.Texto(QStringLiteral("dsautor"));
    f.disco = sinId(r.Entero(QStringLiteral("cddisco"))) ? kVacio : r.Texto(QStringLiteral("dsdisco"));
    f.cancion = r.Texto(QStringLiteral("dscancion"));
    f.cd = r.Texto(QStringLiteral("dscd"));
    return f;
}

QString TextoColumna(const FilaBD& f, int columna)
{
    switch (columna) {
    case columnaBD::kPosicion: return f.posicion;
    case columnaBD::kAttrib: return f.attrib;
    case columnaBD::kAutor: return f.autor;
    case columnaBD::kDisco: return f.disco;
    case columnaBD::kCancion: return f.cancion;
    default: return f.cd;
    }
}

bool FilaAntes(const FilaBD& a, const FilaBD& b, int columna)
{
    return TextoColumna(a, columna).compare(TextoColumna(b, columna), Qt::CaseInsensitive) < 0;
}

qint64 IdCancion(const QString& clave) { return clave.mid(3).toLongLong(); }
