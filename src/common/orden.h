#pragma once
#include <QByteArray>
#include <QCollatorSortKey>
#include <QString>
#include <algorithm>
#include <optional>
#include <vector>

// Names are ordered as a Spanish reader expects: N < Ñ < O, an accented
// letter beside its plain one, case ignored, numbers by their value ("2
// Minutos" before "10 Años"); blanks and punctuation count and come before
// digits and letters, so a folder's text still comes right before the texts
// that begin with it. Names are ordered as they are shown; the standardised
// keys of the catalogue are for matching names, not for ordering them.

// Negative, zero or positive as a goes before, with or after b.
int ComparaNombres(const QString& a, const QString& b);
inline bool AntesQue(const QString& a, const QString& b) { return ComparaNombres(a, b) < 0; }

// The place of a text in that order, made once for a text that takes part in
// many comparisons. A text of plain printable ASCII (most file names) keeps
// the collator's rank of each character, which is much cheaper to make than
// the collator's own key and orders the same.
class ClaveNombre {
public:
    explicit ClaveNombre(const QString& texto);
    int Compara(const ClaveNombre& otra) const;
    bool operator<(const ClaveNombre& otra) const { return Compara(otra) < 0; }

private:
    QString texto_;
    QByteArray rangos_;                      // when every character has a rank
    std::optional<QCollatorSortKey> clave_;  // otherwise
    // The ranks carry the numbers' values (the digits' ranks follow one
    // another); when they cannot, the collator compares the texts.
    bool numeros_ = false;
};

// Orders v by the name each element gives, keeping the order of equal names;
// each name's key is made once.
template <class T, class Nombre>
void OrdenaPorNombre(std::vector<T>& v, Nombre nombre)
{
    std::vector<ClaveNombre> claves;
    claves.reserve(v.size());
    for (const T& e : v)
        claves.emplace_back(nombre(e));
    std::vector<size_t> orden(v.size());
    for (size_t i = 0; i < orden.size(); ++i)
        orden[i] = i;
    std::stable_sort(orden.begin(), orden.end(), [&](size_t a, size_t b) { return claves[a] < claves[b]; });
    std::vector<T> ordenado;
    ordenado.reserve(v.size());
    for (size_t i : orden)
        ordenado.push_back(std::move(v[i]));
    v = std::move(ordenado);
}
