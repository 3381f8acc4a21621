#include "common/orden.h"

#include <QCollator>
#include <array>
#include <cstring>

namespace {

struct Cotejo {
    QCollator collator{QLocale(QLocale::Spanish, QLocale::Spain)};
    // The rank of each printable ASCII character, 0 for the others; equal
    // ranks for characters the collator does not tell apart (a and A).
    std::array<char, 128> rangos{};
    char cero = 0;
    bool digitosSeguidos = false;

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
        // Numbers are compared on the ranks alone when the digits' ranks
        // follow one another and no other character shares them.
        cero = rangos[size_t('0')];
        digitosSeguidos = true;
        for (int c = 0x20; c < 0x7f; ++c) {
            const bool esDigito = c >= '0' && c <= '9';
            const bool rangoDeDigito = rangos[size_t(c)] >= cero && rangos[size_t(c)] <= cero + 9;
            if (esDigito ? rangos[size_t(c)] != char(cero + (c - '0')) : rangoDeDigito)
                digitosSeguidos = false;
        }
    }
};

// One per thread: a collator is not to be shared between threads.
const Cotejo& cotejo()
{
    thread_local const Cotejo c;
    return c;
}

// The ranks of two plain ASCII texts compared as the collator compares the
// texts: a run of digits against a run of digits by the number it writes.
// Only the ranks are read (the digits' ranks follow one another from cero),
// and they byte by byte up to the first difference: sorting a list compares
// names that share long starts, and the texts themselves lie elsewhere in memory.
int ComparaRangos(const QByteArray& ra, const QByteArray& rb, char cero)
{
    const auto* a = reinterpret_cast<const uchar*>(ra.constData());
    const auto* b = reinterpret_cast<const uchar*>(rb.constData());
    auto digito = [c = uchar(cero)](uchar r) { return uchar(r - c) <= 9; };
    const qsizetype na = ra.size(), nb = rb.size();
    const qsizetype n = qMin(na, nb);
    qsizetype k = 0;
    // Eight bytes at a time while they agree.
    for (quint64 x, y; k + 8 <= n && (std::memcpy(&x, a + k, 8), std::memcpy(&y, b + k, 8), x == y);)
        k += 8;
    while (k < n && a[k] == b[k])
        ++k;
    // Equal ranks are equal characters: the start of the run of digits k is in.
    qsizetype i = k;
    while (i > 0 && digito(a[i - 1]))
        --i;
    if (i == k && !(k < n && digito(a[k]) && digito(b[k])))
        return k < n ? (a[k] < b[k] ? -1 : 1) : (k < na) - (k < nb);
    qsizetype j = i;
    while (i < na && j < nb) {
        if (digito(a[i]) && digito(b[j])) {
            qsizetype fi = i, fj = j;
            while (fi < na && digito(a[fi]))
                ++fi;
            while (fj < nb && digito(b[fj]))
                ++fj;
            // Leading zeros write no part of the number.
            while (i < fi - 1 && a[i] == uchar(cero))
                ++i;
            while (j < fj - 1 && b[j] == uchar(cero))
                ++j;
            if (fi - i != fj - j)
                return fi - i < fj - j ? -1 : 1;
            for (; i < fi; ++i, ++j)
                if (a[i] != b[j])
                    return a[i] < b[j] ? -1 : 1;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
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
    cero_ = c.digitosSeguidos ? int(uchar(c.cero)) : -1;
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
        return cero_ >= 0 ? ComparaRangos(rangos_, otra.rangos_, char(cero_)) : ComparaNombres(texto_, otra.texto_);
    if (clave_ && otra.clave_)
        return clave_->compare(*otra.clave_);
    return ComparaNombres(texto_, otra.texto_);
}
