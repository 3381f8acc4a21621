#include "common/orden.h"

#include <QCollator>
#include <array>

namespace {

struct Cotejo {
    QCollator collator{QLocale(QLocale::Spanish, QLocale::Spain)};
    // The rank of each printable ASCII character, 0 for the others; equal
    // ranks for characters the collator does not tell apart (a and A).
    std::array<char, 128> rangos{};

    Cotejo()
    {
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setIgnorePunctuation(false);
        collator.setNumericMode(true);
        std::vector<QString> letras;
        for (char16_t c = 0x20; c < 0x7f; ++c)
            letras.push_back(QString(QChar(c)));
        std::stable_sort(letras.begin(), letras.end(),
                         [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
        int rango = 0;
        for (size_t i = 0; i < letras.size(); ++i) {
            // A character the collator ignores cannot be ranked.
            if (collator.compare(letras[i], QString()) == 0)
                continue;
            if (i == 0 || collator.compare(letras[i - 1], letras[i]) != 0)
                ++rango;
            rangos[size_t(letras[i][0].unicode())] = char(rango);
        }
    }
};

// One per thread: a collator is not to be shared between threads.
const Cotejo& cotejo()
{
    thread_local const Cotejo c;
    return c;
}

bool Digito(QChar c) { return c >= u'0' && c <= u'9'; }

// The ranks of two plain ASCII texts compared as the collator compares the
// texts: a run of digits against a run of digits by the number it writes.
int ComparaRangos(const QString& ta, const QByteArray& ra, const QString& tb, const QByteArray& rb)
{
    const qsizetype na = ra.size(), nb = rb.size();
    qsizetype i = 0, j = 0;
    while (i < na && j < nb) {
        if (Digito(ta[i]) && Digito(tb[j])) {
            qsizetype fi = i, fj = j;
            while (fi < na && Digito(ta[fi]))
                ++fi;
            while (fj < nb && Digito(tb[fj]))
                ++fj;
            // Leading zeros write no part of the number.
            while (i < fi - 1 && ta[i] == u'0')
                ++i;
            while (j < fj - 1 && tb[j] == u'0')
                ++j;
            if (fi - i != fj - j)
                return fi - i < fj - j ? -1 : 1;
            for (; i < fi; ++i, ++j)
                if (ta[i] != tb[j])
                    return ta[i] < tb[j] ? -1 : 1;
            j = fj;
            continue;
        }
        if (ra[i] != rb[j])
            return uchar(ra[i]) < uchar(rb[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    return (i < na) - (j < nb);
}

}  // namespace

int ComparaNombres(const QString& a, const QString& b) { return cotejo().collator.compare(a, b); }

ClaveNombre::ClaveNombre(const QString& texto) : texto_(texto)
{
    const Cotejo& c = cotejo();
    rangos_.resize(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t u = texto[i].unicode();
        const char r = u < 128 ? c.rangos[u] : 0;
        if (r == 0) {
            rangos_.clear();
            clave_ = c.collator.sortKey(texto);
            return;
        }
        rangos_[i] = r;
    }
}

int ClaveNombre::Compara(const ClaveNombre& otra) const
{
    if (!clave_ && !otra.clave_)
        return ComparaRangos(texto_, rangos_, otra.texto_, otra.rangos_);
    if (clave_ && otra.clave_)
        return clave_->compare(*otra.clave_);
    return ComparaNombres(texto_, otra.texto_);
}
