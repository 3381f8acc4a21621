#include "common/orden.h"

#include <QCollator>
#include <array>
#include <vector>

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

// The ranks of a plain ASCII text made into a key whose bytes compare as
// the collator compares the texts, numbers by their value: each run of
// digits loses its leading zeros and is written as its count of digits (a
// rank among the digits' own, so against any other character it weighs as a
// digit does), then, past nine, the count in two more bytes, then the digits.
// Sorting a long list then compares plain bytes.
QByteArray ConNumeros(const char* rangos, qsizetype n, char cero)
{
    const auto c = uchar(cero);
    auto digito = [c](char r) { return uchar(uchar(r) - c) <= 9; };
    // At most one byte more per character (a run of one digit after each).
    QByteArray clave(2 * n, Qt::Uninitialized);
    char* o = clave.data();
    for (qsizetype i = 0; i < n;) {
        if (!digito(rangos[i])) {
            *o++ = rangos[i++];
            continue;
        }
        qsizetype fin = i;
        while (fin < n && digito(rangos[fin]))
            ++fin;
        while (i < fin - 1 && uchar(rangos[i]) == c)
            ++i;
        const qsizetype cifras = qMin<qsizetype>(fin - i, 0xFFFF + 9);
        *o++ = char(c + qMin<qsizetype>(cifras, 9));
        if (cifras >= 9) {
            *o++ = char((cifras - 9) >> 8);
            *o++ = char((cifras - 9) & 0xFF);
        }
        while (i < fin)
            *o++ = rangos[i++];
    }
    clave.truncate(o - clave.data());
    return clave;
}

}  // namespace

int ComparaNombres(const QString& a, const QString& b) { return cotejo().collator.compare(a, b); }

ClaveNombre::ClaveNombre(const QString& texto) : texto_(texto)
{
    const Cotejo& c = cotejo();
    numeros_ = c.digitosSeguidos;
    // The ranks first in a buffer of the thread's, then the key made once.
    static thread_local std::vector<char> rangos;
    rangos.resize(size_t(texto.size()));
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t u = texto[i].unicode();
        const char r = u < 128 ? c.rangos[u] : 0;
        if (r == 0) {
            clave_ = c.collator.sortKey(texto);
            return;
        }
        rangos[size_t(i)] = r;
    }
    rangos_ = c.digitosSeguidos ? ConNumeros(rangos.data(), texto.size(), c.cero)
                                : QByteArray(rangos.data(), texto.size());
}

int ClaveNombre::Compara(const ClaveNombre& otra) const
{
    if (!clave_ && !otra.clave_)
        return numeros_ ? rangos_.compare(otra.rangos_) : ComparaNombres(texto_, otra.texto_);
    if (clave_ && otra.clave_)
        return clave_->compare(*otra.clave_);
    return ComparaNombres(texto_, otra.texto_);
}
