#include "catalogue/nombres.h"

#include "catalogue/catalogo.h"

namespace {

const QString kQuitar = QStringLiteral("-.@#$!%&/'()=?¡¿*+][^`¨´},._<> ");
const QString kAcentos = QStringLiteral("ÁÀÄÂÉÈÊÊÍÌÏÎÓÒÖÔÚÙÜÛ");
const QString kLlanas = QStringLiteral("AAAAEEEEIIIIOOOOUUUU");

}  // namespace

QString Estandariza(QString& nombre)
{
    QString guardado;
    QString citado;
    guardado.reserve(nombre.size());
    citado.reserve(nombre.size() + 2);
    bool visto = false;
    for (const QChar c : nombre) {
        if (!kQuitar.contains(c, Qt::CaseInsensitive))
            guardado += c;
        if (c != QLatin1Char(' '))
            visto = true;
        if (visto) {
            if (c == QLatin1Char('\''))
                citado += QStringLiteral("''");
            else
                citado += c;
        }
    }
    guardado = guardado.toUpper();
    for (QChar& c : guardado) {
        const int i = kAcentos.indexOf(c);
        if (i >= 0)
            c = kLlanas[i];
    }
    nombre = citado;
    return guardado;
}

qint64 DameAutor(Catalogo& bd, QString& nombre, bool crear)
{
    const QString std = Estandariza(nombre);
    const QString select = QStringLiteral("select idautor from tlautor ") +
                           QStringLiteral("where dsautor_std = '") + std + QStringLiteral("'");
    {
        Consulta r = bd.Abre(select);
        if (!r.Fin())
            return r.Entero(QStringLiteral("idautor"));
    }
    if (!crear)
        return bd.autoresNuevos().BuscaAutorNuevo(std);
    bd.Ejecuta(QStringLiteral("insert into tlautor (dsautor, dsautor_std, intautor) values ") +
               QStringLiteral("(") + QStringLiteral("'") + nombre + QStringLiteral("', '") + std +
               QStringLiteral("',0)"));
    Consulta r = bd.Abre(select);
    return r.Fin() ? 0 : r.Entero(QStringLiteral("idautor"));
}

qint64 DameDisco(Catalogo& bd, QString& nombre, qint64 idautor, bool crear)
{
    if (!crear && nombre == QLatin1String("<vacio>"))
        return -1;
    const QString std = Estandariza(nombre);
    const QString select = QStringLiteral("select iddisco from tldisco ") +
                           QStringLiteral("where dsdisco_std = '") + std + QStringLiteral("'") +
                           QStringLiteral(" and cdautord = ") + sql::Entero(idautor);
    {
        Consulta r = bd.Abre(select);
        if (!r.Fin())
            return r.Entero(QStringLiteral("iddisco"));
    }
    if (!crear)
        return 0;
    bd.Ejecuta(QStringLiteral("insert into tldisco (dsdisco, dsdisco_std,cdautord) values ") +
               QStringLiteral("(") + QStringLiteral("'") + nombre + QStringLiteral("', '") + std +
               QStringLiteral("',") + sql::Entero(idautor) + QStringLiteral(")"));
    Consulta r = bd.Abre(select);
    return r.Fin() ? 0 : r.Entero(QStringLiteral("iddisco"));
}

qint64 DameCd(Catalogo& bd, QString descripcion, QString serial, bool crear)
{
    descripcion = sql::Comillas(descripcion);
    serial = sql::Comillas(serial);
    const QString select = QStringLiteral("select idcd from tlcd where dscd = '") + descripcion +
                           QStringLiteral("'");
    {
        Consulta r = bd.Abre(select);
        if (!r.Fin())
            return r.Entero(QStringLiteral("idcd"));
    }
    if (!crear)
        return 0;
    bd.Ejecuta(QStringLiteral("insert into tlcd ") + QStringLiteral(" (dscd, sercd, lotienecd, dtcd) ") +
               QStringLiteral("values ") + QStringLiteral("(") + QStringLiteral("'") + descripcion +
               QStringLiteral("','") + serial + QStringLiteral("' , ' ', DATE())"));
    Consulta r = bd.Abre(select);
    return r.Fin() ? 0 : r.Entero(QStringLiteral("idcd"));
}

qint64 DameCancion(Catalogo& bd, QString& titulo, qint64 idautor, qint64 iddisco, qint64 idcd,
                   qint64 posicion, QString& ruta, bool varios, bool crear, qint64 segundos)
{
    Estandariza(titulo);
    Estandariza(ruta);
    QString select;
    if (crear)
        select = QStringLiteral("select idcancion from tlcancion ") + QStringLiteral("where (dscancion = '") +
                 titulo + QStringLiteral("' and ") + QStringLiteral("cdcd = ") + sql::Entero(idcd) +
                 QStringLiteral(" and cddisco = ") + sql::Entero(iddisco) + QStringLiteral(" and cdautor = ") +
                 sql::Entero(idautor) + QStringLiteral(")");
    else
        select = QStringLiteral("select idcancion from tlcancion ") + QStringLiteral("where (dscancion = '") +
                 titulo + QStringLiteral("' and ") + QStringLiteral(" cddisco = ") + sql::Entero(iddisco) +
                 QStringLiteral(" and cdautor = ") + sql::Entero(idautor) + QStringLiteral(")");
    {
        Consulta r = bd.Abre(select);
        if (!r.Fin())
            return r.Entero(QStringLiteral("idcancion"));
    }
    if (titulo.isEmpty() || !crear)
        return 0;
    bd.Ejecuta(QStringLiteral("insert into tlcancion ") +
               QStringLiteral(" (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios,wntime) ") +
               QStringLiteral("values ") + QStringLiteral("(") + QStringLiteral("'") + titulo +
               QStringLiteral("',") + sql::Entero(idcd) + QStringLiteral(",") + sql::Entero(iddisco) +
               QStringLiteral(", ") + sql::Entero(idautor) + QStringLiteral(",") + sql::Entero(posicion) +
               QStringLiteral(",'") + ruta + QStringLiteral("',") + sql::SiNo(varios) + QStringLiteral(",") +
               sql::Entero(segundos) + QStringLiteral(")"));
    Consulta r = bd.Abre(select);
    return r.Fin() ? 0 : r.Entero(QStringLiteral("idcancion"));
}
