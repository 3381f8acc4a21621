// What the engines share in keeping the search index: the folded text of
// each song, and putting the songs marked as changed into the index.
#include <limits>

#include "store/catalogo.h"
#include "store/motor.h"
#include "store/pliegue.h"

QString Pliega(const QString& texto) { return texto.toCaseFolded(); }

QString PliegaBusqueda(const QString& texto)
{
    const QString descompuesto = texto.normalized(QString::NormalizationForm_KD);
    QString t;
    t.reserve(descompuesto.size());
    for (const QChar c : descompuesto)
        if (c.category() != QChar::Mark_NonSpacing)
            t += c;
    return t.toCaseFolded();
}

// The fields are kept apart by a line break, which no typed word holds, so no
// word is found across two of them.
QString TextoBusqueda(const QString& autor, const QString& disco, const QString& cancion, const QString& cd)
{
    return PliegaBusqueda(autor + QLatin1Char('\n') + disco + QLatin1Char('\n') + cancion + QLatin1Char('\n') + cd);
}

void PonAlDiaIndice(Catalogo& bd, const std::function<void(const TextosBusqueda&)>& guarda)
{
    if (bd.PrimerEntero(QStringLiteral("select count(*) from (select 1 from tlbusca_pendiente limit 1) p"), {}) == 0)
        return;
    // The texts are folded in batches, so a large catalogue is never held in
    // memory at once; the engine stores each batch as it likes best.
    const QString select = QStringLiteral(
        "select p.idcancion as idcancion, c.dscancion as dscancion, a.dsautor as dsautor, d.dsdisco as dsdisco,"
        " k.dscd as dscd from tlbusca_pendiente p join tlcancion c on c.idcancion = p.idcancion"
        " left join tlautor a on a.idautor = c.cdautor left join tldisco d on d.iddisco = c.cddisco"
        " left join tlcd k on k.idcd = c.cdcd where p.idcancion > ? order by p.idcancion limit 5000");
    qint64 ultima = std::numeric_limits<qint64>::min();
    for (;;) {
        Consulta r = bd.Abre(select, {ultima});
        if (r.Fin())
            break;
        TextosBusqueda textos;
        textos.reserve(size_t(r.RecordCount()));
        for (; !r.Fin(); r.Siguiente()) {
            ultima = r.Entero(QStringLiteral("idcancion"));
            textos.emplace_back(ultima, TextoBusqueda(r.Texto(QStringLiteral("dsautor")), r.Texto(QStringLiteral("dsdisco")),
                                                      r.Texto(QStringLiteral("dscancion")), r.Texto(QStringLiteral("dscd"))));
        }
        guarda(textos);
    }
    bd.Ejecuta(QStringLiteral("delete from tlbusca_pendiente"));
}
