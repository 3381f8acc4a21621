// What the engines share in keeping the search index: the folded text of
// each song, and putting the songs marked as changed into the index.
#include <algorithm>
#include <iterator>
#include <limits>

#include "store/catalogo.h"
#include "store/motor.h"
#include "store/pliegue.h"

namespace {

// The characters Unicode folds to more than one ("ß" -> "ss"), in order, with
// what they fold to; the toolkit folds one character to one only.
struct Multiple {
    char16_t de;
    char16_t a[3];
};
constexpr Multiple kMultiples[] = {
    {0x00DF, {0x0073,0x0073}}, {0x0130, {0x0069,0x0307}}, {0x0149, {0x02BC,0x006E}}, {0x01F0, {0x006A,0x030C}},
    {0x0390, {0x03B9,0x0308,0x0301}}, {0x03B0, {0x03C5,0x0308,0x0301}}, {0x0587, {0x0565,0x0582}},
    {0x1E96, {0x0068,0x0331}}, {0x1E97, {0x0074,0x0308}}, {0x1E98, {0x0077,0x030A}}, {0x1E99, {0x0079,0x030A}},
    {0x1E9A, {0x0061,0x02BE}}, {0x1E9E, {0x0073,0x0073}}, {0x1F50, {0x03C5,0x0313}},
    {0x1F52, {0x03C5,0x0313,0x0300}}, {0x1F54, {0x03C5,0x0313,0x0301}}, {0x1F56, {0x03C5,0x0313,0x0342}},
    {0x1F80, {0x1F00,0x03B9}}, {0x1F81, {0x1F01,0x03B9}}, {0x1F82, {0x1F02,0x03B9}}, {0x1F83, {0x1F03,0x03B9}},
    {0x1F84, {0x1F04,0x03B9}}, {0x1F85, {0x1F05,0x03B9}}, {0x1F86, {0x1F06,0x03B9}}, {0x1F87, {0x1F07,0x03B9}},
    {0x1F88, {0x1F00,0x03B9}}, {0x1F89, {0x1F01,0x03B9}}, {0x1F8A, {0x1F02,0x03B9}}, {0x1F8B, {0x1F03,0x03B9}},
    {0x1F8C, {0x1F04,0x03B9}}, {0x1F8D, {0x1F05,0x03B9}}, {0x1F8E, {0x1F06,0x03B9}}, {0x1F8F, {0x1F07,0x03B9}},
    {0x1F90, {0x1F20,0x03B9}}, {0x1F91, {0x1F21,0x03B9}}, {0x1F92, {0x1F22,0x03B9}}, {0x1F93, {0x1F23,0x03B9}},
    {0x1F94, {0x1F24,0x03B9}}, {0x1F95, {0x1F25,0x03B9}}, {0x1F96, {0x1F26,0x03B9}}, {0x1F97, {0x1F27,0x03B9}},
    {0x1F98, {0x1F20,0x03B9}}, {0x1F99, {0x1F21,0x03B9}}, {0x1F9A, {0x1F22,0x03B9}}, {0x1F9B, {0x1F23,0x03B9}},
    {0x1F9C, {0x1F24,0x03B9}}, {0x1F9D, {0x1F25,0x03B9}}, {0x1F9E, {0x1F26,0x03B9}}, {0x1F9F, {0x1F27,0x03B9}},
    {0x1FA0, {0x1F60,0x03B9}}, {0x1FA1, {0x1F61,0x03B9}}, {0x1FA2, {0x1F62,0x03B9}}, {0x1FA3, {0x1F63,0x03B9}},
    {0x1FA4, {0x1F64,0x03B9}}, {0x1FA5, {0x1F65,0x03B9}}, {0x1FA6, {0x1F66,0x03B9}}, {0x1FA7, {0x1F67,0x03B9}},
    {0x1FA8, {0x1F60,0x03B9}}, {0x1FA9, {0x1F61,0x03B9}}, {0x1FAA, {0x1F62,0x03B9}}, {0x1FAB, {0x1F63,0x03B9}},
    {0x1FAC, {0x1F64,0x03B9}}, {0x1FAD, {0x1F65,0x03B9}}, {0x1FAE, {0x1F66,0x03B9}}, {0x1FAF, {0x1F67,0x03B9}},
    {0x1FB2, {0x1F70,0x03B9}}, {0x1FB3, {0x03B1,0x03B9}}, {0x1FB4, {0x03AC,0x03B9}}, {0x1FB6, {0x03B1,0x0342}},
    {0x1FB7, {0x03B1,0x0342,0x03B9}}, {0x1FBC, {0x03B1,0x03B9}}, {0x1FC2, {0x1F74,0x03B9}},
    {0x1FC3, {0x03B7,0x03B9}}, {0x1FC4, {0x03AE,0x03B9}}, {0x1FC6, {0x03B7,0x0342}},
    {0x1FC7, {0x03B7,0x0342,0x03B9}}, {0x1FCC, {0x03B7,0x03B9}}, {0x1FD2, {0x03B9,0x0308,0x0300}},
    {0x1FD3, {0x03B9,0x0308,0x0301}}, {0x1FD6, {0x03B9,0x0342}}, {0x1FD7, {0x03B9,0x0308,0x0342}},
    {0x1FE2, {0x03C5,0x0308,0x0300}}, {0x1FE3, {0x03C5,0x0308,0x0301}}, {0x1FE4, {0x03C1,0x0313}},
    {0x1FE6, {0x03C5,0x0342}}, {0x1FE7, {0x03C5,0x0308,0x0342}}, {0x1FF2, {0x1F7C,0x03B9}},
    {0x1FF3, {0x03C9,0x03B9}}, {0x1FF4, {0x03CE,0x03B9}}, {0x1FF6, {0x03C9,0x0342}},
    {0x1FF7, {0x03C9,0x0342,0x03B9}}, {0x1FFC, {0x03C9,0x03B9}}, {0xFB00, {0x0066,0x0066}},
    {0xFB01, {0x0066,0x0069}}, {0xFB02, {0x0066,0x006C}}, {0xFB03, {0x0066,0x0066,0x0069}},
    {0xFB04, {0x0066,0x0066,0x006C}}, {0xFB05, {0x0073,0x0074}}, {0xFB06, {0x0073,0x0074}},
    {0xFB13, {0x0574,0x0576}}, {0xFB14, {0x0574,0x0565}}, {0xFB15, {0x0574,0x056B}}, {0xFB16, {0x057E,0x0576}},
    {0xFB17, {0x0574,0x056D}},
};

const Multiple* multiple(char16_t c)
{
    const auto it = std::lower_bound(std::begin(kMultiples), std::end(kMultiples), c,
                                     [](const Multiple& m, char16_t v) { return m.de < v; });
    return it != std::end(kMultiples) && it->de == c ? it : nullptr;
}

}  // namespace

QString Pliega(const QString& texto)
{
    const QString simple = texto.toCaseFolded();
    qsizetype i = 0;
    while (i < simple.size() && (simple[i].unicode() < kMultiples[0].de || !multiple(simple[i].unicode())))
        ++i;
    if (i == simple.size())
        return simple;
    QString t = simple.left(i);
    t.reserve(simple.size() + 8);
    for (; i < simple.size(); ++i) {
        const char16_t c = simple[i].unicode();
        const Multiple* m = c < kMultiples[0].de ? nullptr : multiple(c);
        if (!m) {
            t += QChar(c);
            continue;
        }
        for (const char16_t a : m->a)
            if (a)
                t += QChar(a);
    }
    return t;
}

QString PliegaBusqueda(const QString& texto)
{
    const QString descompuesto = texto.normalized(QString::NormalizationForm_KD);
    QString t;
    t.reserve(descompuesto.size());
    for (const QChar c : descompuesto)
        if (c.category() != QChar::Mark_NonSpacing)
            t += c;
    return Pliega(t);
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
