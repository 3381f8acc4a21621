#include "search/busqueda.h"

#include <QSet>
#include <algorithm>
#include <iterator>

#include "store/catalogo.h"
#include "store/motor.h"

namespace {

// The columns of a found song, named as the browser names them.
const QString kColumnas = QStringLiteral(
    "c.idcancion as idcancion, c.wncancion as wncancion, c.swvarios as swvarios, c.cdautor as cdautor,"
    " a.dsautor as dsautor, c.cddisco as cddisco, d.dsdisco as dsdisco, c.dscancion as dscancion, k.dscd as dscd,"
    " c.wntime as wntime");
const QString kUniones = QStringLiteral(
    " left join tlautor a on a.idautor = c.cdautor left join tldisco d on d.iddisco = c.cddisco"
    " left join tlcd k on k.idcd = c.cdcd");

CancionEncontrada encontrada(const Consulta& r)
{
    return {FilaDeCancion(r), r.Entero(QStringLiteral("cddisco")), r.Entero(QStringLiteral("wntime"))};
}

bool tieneTodas(const QString& texto, const QStringList& palabras)
{
    return std::all_of(palabras.begin(), palabras.end(), [&](const QString& p) { return texto.contains(p); });
}

void ordena(std::vector<CancionEncontrada>& filas, int columna)
{
    std::stable_sort(filas.begin(), filas.end(), [columna](const CancionEncontrada& a, const CancionEncontrada& b) {
        return FilaAntes(a.fila, b.fila, columna);
    });
}

// The first songs (at most limite) the index gives, in its order.
Consulta delIndice(Catalogo& bd, const QStringList& palabras, qint64 limite)
{
    QVariantList valores;
    const QString desde = bd.motor().CancionesConPalabras(palabras, valores, false, limite);
    return bd.Abre(QStringLiteral("select ") + kColumnas + QStringLiteral(" from ") + desde +
                       QStringLiteral(" join tlcancion c on c.idcancion = b.idcancion") + kUniones +
                       QStringLiteral(" order by c.idcancion"),
                   valores);
}

// The first songs found, in the index's order, then sorted as the list
// sorts: sorting every match of a common word to show a thousand of them
// would cost more than the search. The total is counted only when the page
// is full.
ResultadoBusqueda porIndice(Catalogo& bd, const QStringList& palabras, int columna, int limite)
{
    Consulta r = delIndice(bd, palabras, limite);
    ResultadoBusqueda res;
    res.filas.reserve(size_t(r.RecordCount()));
    for (; !r.Fin(); r.Siguiente())
        res.filas.push_back(encontrada(r));
    res.total = qint64(res.filas.size());
    if (res.total > 0 && res.total >= limite) {
        // Where the page ends among the songs tells how common the words
        // are: when more than a quarter of the songs hold them, reading every
        // text to count them costs less than going through the index.
        const qint64 ultima = IdCancion(res.filas.back().fila.clave);
        QVariantList cuenta;
        const QString todas = bd.motor().CancionesConPalabras(palabras, cuenta, res.total * 4 > ultima, -1);
        res.total = bd.PrimerEntero(QStringLiteral("select count(*) from ") + todas, cuenta);
    }
    ordena(res.filas, columna);
    return res;
}

// Without the index (a file that cannot be written and never had it, or one
// another program wrote since): every song is looked at.
ResultadoBusqueda mirandoTodas(Catalogo& bd, const QStringList& palabras, int columna, int limite)
{
    ResultadoBusqueda res;
    Consulta r = bd.Abre(QStringLiteral("select ") + kColumnas + QStringLiteral(" from tlcancion c") + kUniones +
                         QStringLiteral(" order by c.idcancion"));
    for (; !r.Fin(); r.Siguiente()) {
        if (!tieneTodas(TextoBusqueda(r.Texto(QStringLiteral("dsautor")), r.Texto(QStringLiteral("dsdisco")),
                                     r.Texto(QStringLiteral("dscancion")), r.Texto(QStringLiteral("dscd"))),
                        palabras))
            continue;
        if (++res.total <= limite)
            res.filas.push_back(encontrada(r));
    }
    ordena(res.filas, columna);
    return res;
}

// The index for every song but those another program wrote since it was
// last brought up to date: they are looked at one by one, and the index's
// entries for them are passed over.
ResultadoBusqueda conPendientes(Catalogo& bd, const QStringList& palabras, int columna, int limite)
{
    ResultadoBusqueda res;
    QSet<qint64> marcadas;
    std::vector<CancionEncontrada> nuevas;
    Consulta p = bd.Abre(QStringLiteral("select ") + kColumnas +
                         QStringLiteral(" from tlbusca_pendiente p join tlcancion c on c.idcancion = p.idcancion") +
                         kUniones + QStringLiteral(" order by c.idcancion"));
    for (; !p.Fin(); p.Siguiente()) {
        marcadas.insert(p.Entero(QStringLiteral("idcancion")));
        if (tieneTodas(TextoBusqueda(p.Texto(QStringLiteral("dsautor")), p.Texto(QStringLiteral("dsdisco")),
                                     p.Texto(QStringLiteral("dscancion")), p.Texto(QStringLiteral("dscd"))),
                        palabras))
            nuevas.push_back(encontrada(p));
    }
    // Up to as many more as are marked, since those are dropped.
    const qint64 pedidas = qint64(limite) + marcadas.size();
    Consulta r = delIndice(bd, palabras, pedidas);
    const qint64 leidas = r.RecordCount();
    std::vector<CancionEncontrada> indexadas;
    for (; !r.Fin(); r.Siguiente())
        if (!marcadas.contains(r.Entero(QStringLiteral("idcancion"))))
            indexadas.push_back(encontrada(r));
    res.total = qint64(indexadas.size() + nuevas.size());
    if (leidas >= pedidas) {
        QVariantList cuenta;
        const QString todas = bd.motor().CancionesConPalabras(palabras, cuenta, false, -1);
        res.total = qint64(nuevas.size()) +
                    bd.PrimerEntero(QStringLiteral("select count(*) from ") + todas +
                                        QStringLiteral(" where not exists (select 1 from tlbusca_pendiente p"
                                                       " where p.idcancion = b.idcancion)"),
                                    cuenta);
    }
    std::merge(indexadas.begin(), indexadas.end(), nuevas.begin(), nuevas.end(), std::back_inserter(res.filas),
               [](const CancionEncontrada& a, const CancionEncontrada& b) {
                   return IdCancion(a.fila.clave) < IdCancion(b.fila.clave);
               });
    if (res.filas.size() > size_t(limite))
        res.filas.resize(size_t(limite));
    ordena(res.filas, columna);
    return res;
}

QString conPuntos(qint64 n)
{
    QString t = QString::number(n < 0 ? -n : n);
    for (qsizetype i = t.size() - 3; i > 0; i -= 3)
        t.insert(i, QLatin1Char('.'));
    return n < 0 ? QLatin1Char('-') + t : t;
}

}  // namespace

const QString kDemasiadasPalabras =
    QStringLiteral("Se pueden buscar como mucho %1 palabras a la vez").arg(kMaximoPalabras);

QStringList PalabrasBusqueda(const QString& texto)
{
    // Control characters (NUL among them) part words as blanks do.
    QString t = PliegaBusqueda(texto);
    for (QChar& c : t)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    QStringList palabras = t.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    palabras.removeDuplicates();
    return palabras;
}

ResultadoBusqueda BuscaCanciones(Catalogo& bd, const QString& texto, int columnaOrden, int limite)
{
    const QStringList palabras = PalabrasBusqueda(texto);
    ResultadoBusqueda res;
    if (palabras.size() > kMaximoPalabras)
        throw LodrinError(kDemasiadasPalabras);
    if (!palabras.isEmpty()) {
        LecturaCatalogo lectura(bd);
        if (bd.motor().IndiceAlDia(bd)) {
            res = porIndice(bd, palabras, columnaOrden, limite);
        } else if (bd.motor().IndiceConPendientes(bd) &&
                   // With most songs waiting, reading them all costs less.
                   bd.PrimerEntero(QStringLiteral("select count(*) from tlbusca_pendiente"), {}) * 4 <
                       bd.PrimerEntero(QStringLiteral("select count(*) from tlcancion"), {})) {
            res = conPendientes(bd, palabras, columnaOrden, limite);
        } else {
            res = mirandoTodas(bd, palabras, columnaOrden, limite);
        }
    }
    res.texto = texto;
    return res;
}

QString TextoCuenta(qint64 mostradas, qint64 total)
{
    if (mostradas < total)
        return QStringLiteral("%1 de %2 canciones").arg(conPuntos(mostradas), conPuntos(total));
    return total == 1 ? QStringLiteral("1 canción") : QStringLiteral("%1 canciones").arg(conPuntos(total));
}

QString LineaBusqueda(const CancionEncontrada& c)
{
    const QLatin1Char cero('0');
    const QString tiempo =
        c.segundos > 0 ? QStringLiteral("%1:%2").arg(c.segundos / 60, 2, 10, cero).arg(c.segundos % 60, 2, 10, cero)
                       : QString();
    QStringList campos{c.fila.autor, c.fila.disco, c.fila.cancion, c.fila.posicion, tiempo, c.fila.cd};
    for (QString& f : campos)
        for (QChar& ch : f)
            if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
                ch = QLatin1Char(' ');
    return campos.join(QLatin1Char('\t')) + QLatin1Char('\n');
}
